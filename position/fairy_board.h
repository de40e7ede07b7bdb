#pragma once
// Fairy positions as composers exchange them: what stands on each square
// (man, turned man, neutral man, marker, letters), and the readers and
// writers of the three text notations for them: Fairy FEN, the bracket FEN
// of the YACPDB problem database and the solver's own "forsyth" notation.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace position {

/// Colour of a man or marker.
enum class FairyColor { kWhite, kBlack, kNeutral };

/// Markers a square may carry.
enum class MarkerKind { kCircle, kCross, kSquare, kTriangle, kAsterisk, kDisc };

/// What a square holds.
enum class SquareKind { kEmpty, kMan, kMarker, kText };

/// The content of one square.
struct FairySquare {
    SquareKind kind = SquareKind::kEmpty;
    /// kMan: the solver's code of the man, upper case, one or two characters
    /// ("K", "S" for the knight, "G", "PA", "15").
    std::string man;
    /// kMan, kMarker: colour.
    FairyColor color = FairyColor::kWhite;
    /// kMan: quarter turns clockwise, 0 to 3; kText: the same for a man
    /// drawn as his letters (a style's look; the notations write no turned text).
    int turns = 0;
    /// kMarker: which one.
    MarkerKind marker = MarkerKind::kCircle;
    /// kText: one or two characters (UTF-8).
    std::string text;

    bool operator==(const FairySquare&) const = default;

    static FairySquare Man(std::string code, FairyColor color, int turns = 0);
    static FairySquare Marker(MarkerKind marker, FairyColor color);
    static FairySquare Text(std::string text);
};

/// A board of rows x cols squares (at most kMaxSquares), top-left first.
struct FairyBoard {
    int rows = 0;
    int cols = 0;
    std::vector<FairySquare> squares;

    FairyBoard() = default;
    FairyBoard(int r, int c) : rows(r), cols(c), squares(static_cast<size_t>(r * c)) {}
    FairySquare& at(int row, int col) { return squares[static_cast<size_t>(row * cols + col)]; }
    const FairySquare& at(int row, int col) const { return squares[static_cast<size_t>(row * cols + col)]; }
    bool operator==(const FairyBoard&) const = default;
};

/// The notations.
enum class Notation { kFfen, kYacpdb, kPopeye };

/// Options of the readers and writers.
struct NotationOptions {
    /// Fairy FEN only: "S" is the knight and "G" the square marker.
    bool knightS = false;
};

/// What a reader gave: the board, or the reason it gave none.
struct NotationRead {
    std::optional<FairyBoard> board;
    std::string error;    ///< Names the first place that could not be read.
    Notation notation{};  ///< The notation read (the guess, for ReadAuto).
    bool ok() const { return board.has_value(); }
};

/// What a writer gave: the text, or the reason it gave none.
struct NotationWrite {
    std::string text;
    std::string error;
    bool ok() const { return error.empty(); }
};

/// Reads text in the given notation. Only the first blank-separated word is
/// the placement (FEN's other fields may follow); a piece tally such as
/// "(16x16)" in front is skipped, and so is "forsyth" in front of the
/// solver's notation.
NotationRead ReadNotation(std::string_view text, Notation notation, const NotationOptions& options = {});

/// Guesses the notation of text, reads it and says which one it took.
NotationRead ReadAuto(std::string_view text, const NotationOptions& options = {});

/// Writes board in the given notation; fails when the notation has no way
/// to write something on it (a marker in the solver's notation).
NotationWrite WriteNotation(const FairyBoard& board, Notation notation, const NotationOptions& options = {});

/// "ffen", "yacpdb", "popeye".
const char* NotationName(Notation notation);
/// The notation of a name (any case); "auto" and unknown words give none.
std::optional<Notation> NotationOfName(std::string_view name);

/// The name of square (row, col) of board: "c3", or "column 30, rank 2"
/// on boards wider than the alphabet.
std::string SquareName(const FairyBoard& board, int row, int col);

/// Marker names as the glyph table writes them: "circle", "cross", ...
const char* MarkerName(MarkerKind marker);

/// True for a code the solver knows ("K", "S", "G", "PA", "15" ...).
bool IsPopeyeCode(std::string_view code);
/// True for the six orthodox codes K Q R B S P.
bool IsOrthodoxCode(std::string_view code);

}  // namespace position
