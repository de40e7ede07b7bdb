#pragma once
// An orthodox 8 x 8 position as a UCI engine takes it: the men in English
// letters, the side to move, castling rights and the en-passant square, with
// the rules needed to follow an engine's line move by move.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "position/notation_style.h"
#include "position/vet.h"

namespace engines {

/// Squares 0 (a8) to 63 (h1), in the board vector's order on 8 x 8.
inline constexpr int kChessSquares = 64;

struct ChessPosition {
    /// "PNBRQK" White, "pnbrqk" Black, '.' empty.
    std::array<char, kChessSquares> board{};
    bool whiteToMove = true;
    /// White king's side, White queen's side, Black king's side, Black queen's side.
    std::array<bool, 4> castling{};
    int epSquare = -1;  ///< Square a pawn may take en passant on, -1 when none.

    ChessPosition() { board.fill('.'); }
};

/// A move from one square to another; promotion is the upper-case English
/// letter of the new man, or '\0'.
struct ChessMove {
    int from = -1;
    int to = -1;
    char promotion = '\0';

    bool operator==(const ChessMove&) const = default;
};

/// A position, or the reason there is none.
struct PositionResult {
    std::optional<ChessPosition> position;
    std::string error;
};

/// Reads FEN text: the placement (a tally prefix up to ")" is skipped), then
/// optionally the side to move ("w" or "b"), castling ("KQkq" or "-") and
/// the en-passant square; missing fields read as "w - -". Castling rights
/// whose king or rook is not at home, and an en-passant square no pawn could
/// have crossed, are dropped. The position must pass CheckLegal.
PositionResult PositionFromFen(std::string_view text);

/// The position on plane 1 of vet: the board must be 8 x 8 and every man
/// one whose English letter is an orthodox one. Castling is allowed where
/// king and rook stand at home. The position must pass CheckLegal.
PositionResult PositionFromBoard(const position::Vet& vet, const position::NotationStyle& style,
                                 bool whiteToMove);

/// Why an engine must not be given the position ("" when it may): one king
/// each, at most 16 men and 8 pawns a side, no pawn on the first or last
/// rank, and the side that has just moved not in check.
std::string CheckLegal(const ChessPosition& pos);

/// The position as a full FEN line for the engine's "position fen" command.
std::string UciFen(const ChessPosition& pos);

/// Whether the king of that side is attacked.
bool InCheck(const ChessPosition& pos, bool white);

/// Every legal move of the side to move (each promotion once per man).
std::vector<ChessMove> LegalMoves(const ChessPosition& pos);

/// The move written the engine's way ("e2e4", "e7e8q", "e1g1" for castling),
/// when it is legal here.
std::optional<ChessMove> ParseUciMove(const ChessPosition& pos, std::string_view text);

/// The position after a legal move.
ChessPosition Play(const ChessPosition& pos, const ChessMove& move);

/// Both positions on the two planes of vet (before on plane 0), with the
/// style's piece indices, so that the move writer can name the move. False
/// when the style has no piece for one of the men.
bool PutOnPlanes(position::Vet& vet, const position::NotationStyle& style, const ChessPosition& before,
                 const ChessPosition& after);

/// The engine's line in short algebraic notation with the style's piece
/// letters, written by the program's move writer, with "+" for check and
/// "#" for mate. It stops before the first move that is not legal.
std::vector<std::string> LineToSan(const ChessPosition& pos, const std::vector<std::string>& line,
                                   const position::NotationStyle& style);

}  // namespace engines
