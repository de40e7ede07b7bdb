#pragma once
// The board vector and the FEN piece-placement text it is exchanged as.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace position {

/// Number of cells in each plane of the board vector (squares 0..400).
inline constexpr int kCells = 401;
/// Largest number of squares a board may have.
inline constexpr int kMaxSquares = 400;
/// Piece letters of the standard set, in piece-index order.
inline constexpr std::string_view kDefaultPiecesList = "pPnNbBrRqQkK";
/// The standard start position.
inline constexpr std::string_view kStandardStartPos = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

/// Plane indexes of the board vector.
enum Plane : int { kPainted = 0, kPosition = 1 };

/// One plane of the board vector: a piece index per square (0 = empty).
using Placement = std::array<int16_t, kCells>;

/// Two planes of 401 signed 16-bit cells: plane 1 holds the position (piece
/// indexes, 0 = empty), plane 0 what was last painted on each square (-1 =
/// must be repainted). Square s = row * cols + col, top-left square first.
struct Vet {
    std::array<Placement, 2> cells{};

    int16_t& operator()(int plane, int s) { return cells[plane][s]; }
    int16_t operator()(int plane, int s) const { return cells[plane][s]; }
};

/// The board's shape and piece letters, as the current style gives them.
struct BoardShape {
    int rows = 8;
    int cols = 8;
    std::string piecesList{kDefaultPiecesList};

    /// Number of squares on the board (0 when either side is 0 or negative).
    int Squares() const { return rows > 0 && cols > 0 ? rows * cols : 0; }
    /// Number of piece letters.
    int Pieces() const { return static_cast<int>(piecesList.size()); }
};

/// Colour of square s: 0 light, 1 dark; the top-left square is light.
/// A board of no columns has only light squares.
int SqrColor(int s, int cols);

/// Reduces a position-plane value to a piece index: cell codes above n
/// (piece + (n + 1) * colour) give back the piece.
int PieceOf(int v, int n);

/// Marks every square of the board as needing a repaint.
void ResetVet(Vet& vet, const BoardShape& shape);

/// Writes the position plane as a FEN piece-placement field.
std::string VetToFEN(const Vet& vet, const BoardShape& shape);

/// What reading a FEN text into the position plane gave.
struct ParseResult {
    int white = 0;         ///< White piece letters read.
    int black = 0;         ///< Black piece letters read.
    bool complete = true;  ///< False when the text needed more than 401 cells.
};

/// Called for every square the reader filled, so the caller can repaint it.
using PaintFn = std::function<void(int s)>;

/// The reading half of the board update: parses FEN text (anything up to the
/// first ")" is skipped) into the position plane, calling paint for each cell
/// it sets, then empties the rest of the board. Parsing stops at 401 cells.
ParseResult ParseFEN(Vet& vet, std::string_view text, const BoardShape& shape, const PaintFn& paint = {});

/// Formats the piece tally as the tally label shows it, e.g. "(16x16)".
std::string Tally(int white, int black);

/// Completes every rank that ends in "/" with empty squares.
std::string FixFEN(std::string_view text, const BoardShape& shape);

/// Places the placement of a FEN text on one plane, without painting.
void Build2(Vet& vet, int plane, std::string_view text, const BoardShape& shape);

/// Drops everything up to and including the first ")" (a tally prefix).
std::string_view SkipTally(std::string_view text);

}  // namespace position
