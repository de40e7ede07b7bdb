#pragma once
// The move writer: names, in short algebraic notation, the move that leads
// from the position on one plane of the board vector to the position on the
// other.

#include <cstdint>
#include <string>

#include "position/notation_style.h"
#include "position/vet.h"

namespace position {

/// Why no move text could be written.
enum class SetMoveFailure : uint8_t {
    kNone,
    kBadPlane,       ///< prev is neither 0 nor 1.
    kNoDestination,  ///< No square gained a piece, or more than two did.
    kNoCorner,       ///< Two squares gained a piece but no corner was left.
    kNoOrigin,       ///< No square, or more than two, lost a piece; or the origin was empty.
    kUnknownKind,    ///< The piece's English letter is not one the writer knows.
};

/// Result of `SetMove`: the move text ("" when none), and why it is empty.
struct SetMoveResult {
    std::string move;
    SetMoveFailure reason = SetMoveFailure::kNone;
};

/// A short English description of a failure reason.
const char* Describe(SetMoveFailure reason);

/// Names the move from the position on plane prev (0 or 1) of vet to the
/// position on the other plane: castling as "O-O" or "O-O-O", pawn moves as
/// "e4", "exd6", "e8=Q", other pieces with the upper-cased letter of the
/// pieces list, a capture "x" and the file or rank of the origin when another
/// piece of the same index could reach the destination. Check signs are
/// never written. Both planes are left as they were.
SetMoveResult SetMove(const Vet& vet, const NotationStyle& style, int prev);

/// Names the move that leads from the placement before to the placement
/// after, as SetMove does for two planes.
SetMoveResult WriteMove(const Placement& before, const Placement& after, const NotationStyle& style);

}  // namespace position
