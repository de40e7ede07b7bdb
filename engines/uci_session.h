#pragma once
// One UCI engine followed through its dialogue: the hand-shake, a search of
// a position with one or more lines, Stop, and the end of the engine. It is
// polled: each Poll takes in what the engine has written and tells what
// changed, so a window timer and a command-line loop drive it alike.

#include <memory>
#include <string>
#include <vector>

#include "engines/chess_position.h"
#include "engines/child_process.h"
#include "engines/uci.h"
#include "position/notation_style.h"

namespace engines {

/// Seconds an engine has to answer "uci" with "uciok" (and "isready").
inline constexpr double kUciHandshakeSeconds = 5.0;
/// Seconds an engine has to answer "stop" with "bestmove" before it is ended.
inline constexpr double kUciStopSeconds = 2.0;
/// Lines to show at most.
inline constexpr int kMaxMultiPv = 5;

/// How long to search: depth wins over movetime; neither searches until Stop.
struct UciLimits {
    int depth = 0;
    int movetimeMs = 0;
    int multipv = 1;
};

/// One line of the analysis as last reported.
struct AnalysisLine {
    int multipv = 1;
    int depth = 0;
    UciScore score;
    std::string scoreText;           ///< FormatScore from White's side.
    std::vector<std::string> uci;    ///< The moves as the engine wrote them.
    std::vector<std::string> moves;  ///< The same in short algebraic notation.
};

enum class UciState {
    kIdle,       ///< No engine started.
    kStarting,   ///< "uci" sent, waiting for "uciok" and "readyok".
    kReady,      ///< Waiting for a search.
    kSearching,  ///< "go" sent.
    kStopping,   ///< "stop" sent, waiting for "bestmove".
    kFailed,     ///< The engine did not answer or ended; see Error().
};

/// What one Poll brought.
struct UciTick {
    bool ready = false;         ///< The hand-shake has just completed.
    bool linesChanged = false;  ///< Lines() changed.
    bool finished = false;      ///< The search has just ended ("bestmove" came).
    bool failed = false;        ///< The engine has just failed; Error() says how.
};

class UciSession {
  public:
    /// style gives the piece letters of the moves shown.
    explicit UciSession(position::NotationStyle style);
    ~UciSession();

    /// Starts the engine at path and sends "uci". now is in seconds on a
    /// clock that never goes back. False (state kFailed) when it cannot run.
    bool Start(const std::string& path, double now);
    /// The piece letters of the moves shown from the next search on.
    void SetStyle(position::NotationStyle style) { m_style = std::move(style); }
    /// Searches pos; only while kReady.
    bool Go(const ChessPosition& pos, const UciLimits& limits);
    /// Asks the searching engine to stop; the search ends when "bestmove" comes.
    void Stop(double now);
    /// Takes in what the engine wrote, waiting up to waitMs for it.
    UciTick Poll(double now, int waitMs = 0);
    /// Ends the engine: "quit", and a kill when it does not go at once.
    void Quit();

    UciState state() const { return m_state; }
    const std::string& Name() const { return m_name; }
    const std::string& Error() const { return m_error; }
    /// The lines by number, first line first.
    const std::vector<AnalysisLine>& Lines() const { return m_lines; }
    /// The move "bestmove" named, "" for none.
    const std::string& BestMove() const { return m_bestMove; }
    /// The engine's process id, -1 when none runs.
    int EnginePid() const { return m_process ? m_process->pid() : -1; }
    /// Everything sent to the engine, one command a line; for tests.
    const std::vector<std::string>& Sent() const { return m_sent; }

    /// Takes in one line of the engine's output as Poll does.
    void Take(const std::string& line, UciTick& tick);

  private:
    void Send(const std::string& command);
    void Fail(const std::string& error, UciTick& tick);

    position::NotationStyle m_style;
    std::unique_ptr<ChildProcess> m_process;
    UciState m_state = UciState::kIdle;
    bool m_uciOk = false;
    double m_deadline = 0;
    std::string m_path;
    std::string m_name;
    std::string m_error;
    std::string m_bestMove;
    ChessPosition m_position;
    int m_multipv = 1;
    std::vector<AnalysisLine> m_lines;
    std::vector<std::string> m_sent;
};

}  // namespace engines
