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
#include "position/position_state.h"
#include "position/vet.h"

namespace engines {

/// Squares 0 (a8) to 63 (h1), in the board vector's order on 8 x 8.
inline constexpr int kChessSquares = 64;

/// The position as the board vector holds one: the placement in the piece
/// indices of the standard pieces list ("pPnNbBrRqQkK") on 8 x 8, and the
/// state beside it.
struct ChessPosition {
    position::Placement placement{};
    position::PositionState state;

    /// "PNBRQK" White, "pnbrqk" Black, '.' empty.
    char At(int s) const;
    /// Puts the man with that English letter ('.' to empty) on square s.
    void Put(int s, char man);
    bool WhiteToMove() const { return state.WhiteToMove(); }
    bool operator==(const ChessPosition&) const = default;
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

/// Reads a full FEN line (position::ReadFenLine on an 8 x 8 board of the
/// standard men); missing fields read as "w - -". Castling rights
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

/// The placement in the style's piece indices (the first index whose
/// English letter is the man's), for the board and the move writer; nothing
/// when the style has no piece for one of the men.
std::optional<position::Placement> PlacementInStyle(const ChessPosition& pos,
                                                    const position::NotationStyle& style);

/// The engine's line in short algebraic notation with the style's piece
/// letters, written by the program's move writer, with "+" for check and
/// "#" for mate. It stops before the first move that is not legal.
std::vector<std::string> LineToSan(const ChessPosition& pos, const std::vector<std::string>& line,
                                   const position::NotationStyle& style);

}  // namespace engines
