#pragma once
// The Crafty engine as the Crafty window drives it: its start-up command
// file, the number of the log it will write, and following one analysis
// through its log and game files.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engines/engine_run.h"

namespace engines {

/// The command file, written in the program folder and looked for under the
/// same name.
inline constexpr std::string_view kCraftyRcName = "Crafty.rc";
/// The same commands under the name the engine reads on Linux.
inline constexpr std::string_view kCraftyRcLinuxName = ".craftyrc";

/// The command file's text, lines ended by CR LF: depth, position with the
/// side to move, analysis, and the commands that end the engine. A line
/// break in the depth or the FEN text becomes a blank.
std::string CraftyRc(std::string_view depth, std::string_view fen, bool whiteToMove);

/// The three digits of the first "log.001" to "log.999" not in appDir;
/// "000" when all exist.
std::string PredictLogNumber(const std::string& appDir);

/// The log's lines: CR or LF ends a line, empty lines are left out, and a
/// last line without a line end is not taken.
std::vector<std::string> LogItems(std::string_view text);

/// Stages of following one analysis.
enum class CraftyStage {
    kCommandFile = 0,  ///< The command file is written; the engine is to be started.
    kStarted = 1,      ///< Started; waiting for its log.
    kLogSeen = 2,      ///< The log grows; it is shown as it does.
    kLogRead = 3,      ///< Read whole after the engine ended; being deleted.
    kLogDeleted = 4,   ///< The game file is being deleted.
};

/// One analysis, followed tick by tick over the engine's files.
class CraftyRun : public EngineRun {
  public:
    /// The command file was written: LeCrafty set, stages idle.
    void Start(std::string appDir, std::string logNumber);
    /// LeCrafty: an analysis is in progress.
    bool LeCrafty() const { return Active(); }
    CraftyStage Stage() const { return m_stage; }
    /// Stage as a number, 0 to 4.
    int PollState() const { return static_cast<int>(m_stage); }

    /// One tick at now (seconds on a steady clock). engineRunning tells
    /// whether the engine still ran just before the call: while it does, its
    /// log is shown as far as it is written and is not deleted. startEngine
    /// starts the engine in the program folder and tells whether it could;
    /// it is called from the first stage until it succeeds.
    RunTick Tick(double now, bool engineRunning, const std::function<bool()>& startEngine);

    std::string LogPath() const;
    std::string GamePath() const;

  private:
    CraftyStage m_stage = CraftyStage::kCommandFile;
    std::string m_appDir;
    std::string m_logNumber;
};

}  // namespace engines
