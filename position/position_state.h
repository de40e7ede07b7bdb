#pragma once
// What a full FEN line says beside the placement (the side to move, the
// castling rights and the en-passant square), and the one reader of such
// lines: the placement goes onto a plane of the board vector, the rest into
// a small value beside it.

#include <array>
#include <string>
#include <string_view>

#include "position/vet.h"

namespace position {

/// The side a move is played for.
enum class Side : int {
    kWhite = 0,
    kBlack = 1,
};

/// The side that moves next after side.
constexpr Side Other(Side side) {
    return side == Side::kWhite ? Side::kBlack : Side::kWhite;
}

/// Castling rights in the order FEN writes them ("KQkq").
enum CastlingRight : int {
    kWhiteKingSide,
    kWhiteQueenSide,
    kBlackKingSide,
    kBlackQueenSide,
    kCastlingRights
};

/// The letters FEN writes the castling rights with, in CastlingRight order.
inline constexpr std::string_view kCastlingLetters = "KQkq";

/// The position's state beside its placement.
struct PositionState {
    Side toMove = Side::kWhite;
    std::array<bool, kCastlingRights> castling{};
    int epSquare = -1;  ///< Square a pawn may take en passant on, -1 when none.

    bool WhiteToMove() const { return toMove == Side::kWhite; }
    bool operator==(const PositionState&) const = default;
};

/// A full FEN line read, or the reason it could not be.
struct FenLine {
    Placement placement{};  ///< Piece indices of the shape's pieces list, 0 = empty.
    PositionState state;
    std::string error;  ///< "" when the line was read.
};

/// Reads a full FEN line for a board of the given shape: the placement (a
/// tally prefix up to ")" is skipped) must hold exactly rows ranks of cols
/// squares in letters of the pieces list; then optionally the side to move
/// ("w" or "b"), castling ("KQkq" letters or "-") and the en-passant square.
/// Missing fields read as "w - -"; move counters after them are ignored.
FenLine ReadFenLine(std::string_view text, const BoardShape& shape);

/// Square s of a board cols wide and rows high by name ("a1" bottom left).
std::string SquareName(int s, const BoardShape& shape);

/// The fields after the placement: side, castling and en-passant square
/// ("w KQkq e3"), with "-" for none.
std::string StateFields(const PositionState& state, const BoardShape& shape);

}  // namespace position
