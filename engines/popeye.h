#pragma once
// The Popeye solver as the Popeye window drives it: pick-list items, the
// input file, the command line, and following one run through its protocol
// file.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engines/engine_run.h"
#include "engines/engine_state.h"

namespace engines {

using PopeyeFieldTexts = std::array<std::string, kPopeyeFieldCount>;

/// What choosing a pick-list item does to its field.
struct PickResult {
    /// The element takes value.
    bool changed = false;
    std::string value;
    /// The item was "NONE": the field is emptied and nothing else happens.
    bool none = false;
};

/// Applies a chosen pick-list item to the field's old text. An item may end
/// in a mode mark, a blank, an apostrophe and one character: ">" appends with
/// a blank (also without a mark), "]" appends directly, "<" puts in front
/// with a blank, "[" puts in front directly, "#" replaces; any other mode
/// leaves the field as it was.
PickResult ApplyPickItem(std::string_view item, std::string_view old);

/// The warning that keeps the fields from being solved ("" when they can be).
std::string CheckPopeyeFields(const PopeyeFieldTexts& fields);

/// The text of the "Option " line and the time limit it sets.
struct PopeyeOptions {
    std::string text;
    double maxTime = 0;
};

/// "NoBoard " and the options field; a MaxTime option there gives the limit,
/// otherwise "MaxTime 60 " is put in front.
PopeyeOptions MakePopeyeOptions(std::string_view optionsField);

/// The two files of a run, named after this copy's working name so that they
/// are cleaned up with its other working files.
struct PopeyeRunFiles {
    std::string input;     ///< written here, read by the solver
    std::string protocol;  ///< written by the solver, read and deleted here
};
PopeyeRunFiles MakePopeyeRunFiles(const std::string& appDir, const std::string& workName);

/// How the input file names the protocol file: its full path, or its bare
/// name when the path holds blanks the solver would split it at (the solver
/// runs in the program folder).
std::string ProtocolName(const PopeyeRunFiles& files);

/// The input file's text, lines ended by CR LF. A line break inside a field
/// becomes a blank, so no field can add lines of its own.
std::string PopeyeInput(const PopeyeFieldTexts& fields, const std::string& optionsText,
                        const std::string& protocolName);

/// The solver's arguments: "-maxmem" and the Maxmem field when it is set,
/// then the input file.
std::vector<std::string> PopeyeArguments(const PopeyeFieldTexts& fields, const std::string& inputPath);

/// The Solution command's preparation of a run.
struct PopeyeJob {
    /// Warning to show instead; nothing is written or started.
    std::string message;
    double maxTime = 0;
    std::string inputText;
    std::vector<std::string> arguments;
};
PopeyeJob PreparePopeye(const PopeyeFieldTexts& fields, const PopeyeRunFiles& files);

/// The solution list's items from a protocol text: empty lines are skipped,
/// lines of 51 characters or more are cut before the first blank at or after
/// position 45 (or at 45 when there is none).
std::vector<std::string> ProtocolItems(std::string_view text);

/// The countdown: the limit less the elapsed seconds, rounded, not below 0.
std::string Countdown(double maxTime, long long elapsed);

/// Stages of following the solver's protocol file.
enum class PopeyeStage {
    kWaiting = 0,       ///< Waiting for the protocol to be written.
    kProtocolSeen = 1,  ///< The protocol grows; it is shown as it does.
    kProtocolRead = 2,  ///< Read whole after the solver ended; being deleted.
};

/// One run of the solver, followed tick by tick over its protocol file.
class PopeyeRun : public EngineRun {
  public:
    /// A run was started: LePy set, stages at their idle values.
    void Start(std::string protocolPath, double maxTime);
    /// LePy: a run is in progress.
    bool LePy() const { return Active(); }
    PopeyeStage Stage() const { return m_stage; }
    /// Stage as a number: 0 waiting for the protocol, 1 protocol seen, 2 read.
    int PollState() const { return static_cast<int>(m_stage); }
    double MaxTime() const { return m_maxTime; }

    /// One tick at now (seconds on a steady clock). solverRunning tells
    /// whether the solver still ran just before the call: while it does, the
    /// protocol is shown as far as it is written and is not deleted.
    RunTick Tick(double now, bool solverRunning);
    /// The protocol's text as far as it was read.
    const std::string& ProtocolText() const { return m_text; }

  private:
    PopeyeStage m_stage = PopeyeStage::kWaiting;
    std::string m_text;
    double m_maxTime = 0;
    std::string m_protocol;
};

/// Blanks removed at both ends (tabs stay, as in the fields).
std::string TrimBlanks(std::string_view text);

}  // namespace engines
