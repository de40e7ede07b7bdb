#pragma once
// The Crafty engine as the Crafty window drives it: its start-up command
// file, the number of the log it will write, and following one analysis
// through its log and game files.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engines/run_clock.h"

namespace engines {

/// The command file, written in the program folder and looked for under the
/// same name.
inline constexpr std::string_view kCraftyRcName = "Crafty.rc";

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

/// What one timer tick of an analysis gives the window.
struct CraftyTick {
    /// New text of the elapsed-time label.
    std::optional<std::string> elapsed;
    /// The log was read: show the window, items replace the list.
    bool logRead = false;
    std::vector<std::string> items;
    /// The analysis is over; the window is idle again.
    bool finished = false;
    /// It ended because the engine stopped without writing its log.
    bool noLog = false;
};

/// One analysis, followed tick by tick over the engine's files.
class CraftyRun {
  public:
    /// The command file was written: LeCrafty set, stages idle.
    void Start(std::string appDir, std::string logNumber);
    /// LeCrafty: an analysis is in progress.
    bool LeCrafty() const { return m_leCrafty; }
    /// Stage: 0 command file written, 1 engine started, 2 log seen, 3 log
    /// read, 4 log deleted.
    int PollState() const { return m_pollState; }

    /// One tick at now (seconds on a steady clock). engineRunning tells
    /// whether the engine still ran just before the call: while it does, its
    /// log is not complete and is left alone. startEngine starts the engine
    /// in the program folder and tells whether it could; it is called from
    /// stage 0 until it succeeds.
    CraftyTick Tick(double now, bool engineRunning, const std::function<bool()>& startEngine);

    std::string LogPath() const;
    std::string GamePath() const;

  private:
    void Finish(CraftyTick& tick);

    bool m_leCrafty = false;
    int m_pollState = 0;
    std::string m_appDir;
    std::string m_logNumber;
    RunClock m_clock;
};

}  // namespace engines
