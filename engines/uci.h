#pragma once
// The lines a UCI engine writes, read one at a time, and the scores they
// carry as the analysis shows them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace engines {

/// A score as the engine gives it, from the side to move's point of view.
struct UciScore {
    enum class Kind { kNone, kCentipawns, kMate };
    /// A search that failed high or low reports a bound, not the score.
    enum class Bound { kExact, kLower, kUpper };
    Kind kind = Kind::kNone;
    int value = 0;  ///< Centipawns, or moves to mate (negative: being mated).
    Bound bound = Bound::kExact;

    bool operator==(const UciScore&) const = default;
};

/// The fields of an "info" line the analysis uses.
struct UciInfo {
    std::optional<int> depth;
    int multipv = 1;  ///< Which line, from 1; lines without the field are the first.
    UciScore score;
    std::vector<std::string> pv;  ///< Moves in the engine's notation ("e2e4", "e7e8q").
    std::string string;           ///< The free text of "info string ...".
};

/// What one line of the engine says.
struct UciMessage {
    enum class Kind {
        kUnknown,   ///< Anything else, ignored.
        kIdName,    ///< "id name NAME": text holds the name.
        kUciOk,     ///< "uciok"
        kReadyOk,   ///< "readyok"
        kInfo,      ///< "info ...": info holds the fields.
        kBestMove,  ///< "bestmove MOVE [ponder MOVE]": text holds MOVE, "" for "(none)".
    };
    Kind kind = Kind::kUnknown;
    std::string text;
    UciInfo info;
};

/// Reads one line of the engine's output (without its line end; a trailing
/// CR is dropped). Tokens are separated by blanks or tabs; unknown info
/// fields are skipped with their values, and numbers that do not read leave
/// their field unset.
UciMessage ParseUciLine(std::string_view line);

/// The score as the user reads it, from White's side: "+0.35", "-1.20",
/// "0.00", "#3" (White mates in 3), "#-2" (White is mated in 2). Bounds are
/// marked ">=" or "<=" in front, also turned to White's side. "" for no score.
std::string FormatScore(const UciScore& score, bool whiteToMove);

}  // namespace engines
