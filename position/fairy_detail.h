#pragma once
// What the three notation readers share: a text cut into ranks of squares
// and runs of empty squares, laid out on a board by one rule for all.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "position/fairy_board.h"

namespace position::fairy_detail {

/// A run of empty squares or one square, as read.
struct Item {
    bool run = false;
    std::string digits;   ///< run: the digits as written.
    int groupDigits = 0;  ///< run: digits that form one number (0 = all of them).
    FairySquare square;   ///< not run: the square.
    size_t offset = 0;    ///< Where the item starts in the text (0-based).
};

/// The ranks of a text.
struct Tokens {
    std::vector<std::vector<Item>> ranks{1};
    bool slashes = false;
    int squares = 0;  ///< Squares (not runs) read so far.
};

/// The placement word of text: blanks around it and anything after it
/// dropped, a tally "(16x16)" in front skipped, and for the solver's
/// notation its "forsyth" keyword. base is set to where the word starts.
std::string_view PlacementWord(std::string_view text, bool popeye, size_t& base);

/// " at character N" for a 0-based offset.
std::string At(size_t offset);

/// Adds a square to the current rank; false (with error set) past the
/// largest board.
bool AddSquare(Tokens& tokens, FairySquare square, size_t offset, std::string& error);
/// Starts a new rank; false (with error set) past the largest board.
bool NewRank(Tokens& tokens, size_t offset, std::string& error);
/// Reads a run of digits starting at i into the current rank; moves i past it.
void AddRun(Tokens& tokens, std::string_view word, size_t& i, size_t base, int groupDigits);

/// Where a square's reader stands: the placement word, the place of the
/// word in the whole text, and the reader's place in the word.
struct Cursor {
    std::string_view word;
    size_t base = 0;
    size_t i = 0;

    /// message, naming the place of the word's character at.
    std::string Fail(const std::string& message, size_t at) const { return message + At(base + at); }
    /// "unknown sign 'x'" for the character at i.
    std::string UnknownSign() const;
};

/// Reads one square at cursor.i and moves past it; gives the reason it
/// cannot, or "".
using SquareReader = std::function<std::string(Cursor& cursor, FairySquare& square)>;

/// Reads the placement word of text: "/" and runs of digits (read in
/// numbers of groupDigits digits, 0 for all) itself, every other square
/// through readSquare; then lays the ranks on a board.
NotationRead ReadRanks(std::string_view text, Notation notation, int groupDigits,
                       const SquareReader& readSquare);

/// Lays the ranks on a board. The solver's notation (popeye) may leave out
/// the empty squares at its end and need not cut its ranks where the board
/// does: such a text fills a board of 8 x 8 square by square.
NotationRead Layout(Tokens tokens, Notation notation);

/// Length of the UTF-8 character starting at text[i] (1 for a broken one).
size_t Utf8Length(std::string_view text, size_t i);

/// Characters a square's text may hold: printable, not blank, not a quote.
bool IsTextCharacter(std::string_view character);

/// The upper-case form of an ASCII letter, others unchanged.
char Upper(char ch);
/// True for an ASCII letter.
bool IsLetter(char ch);
/// True for an ASCII digit.
bool IsDigit(char ch);

/// The readers and writers of each notation.
NotationRead ReadFfen(std::string_view text, const NotationOptions& options);
NotationWrite WriteFfen(const FairyBoard& board, const NotationOptions& options);
NotationRead ReadYacpdb(std::string_view text);
NotationWrite WriteYacpdb(const FairyBoard& board);
NotationRead ReadPopeye(std::string_view text);
NotationWrite WritePopeye(const FairyBoard& board);

/// Appends the decimal digits of a run of n empty squares, or in groups of
/// at most 99 (the solver reads two digits at a time).
void WriteRun(std::string& out, int n, bool twoDigits);

/// Writes the board rank by rank from the top, "/" between ranks and runs of
/// empty squares as WriteRun does; writeSquare appends one square that is not
/// empty (s its index) and returns why it cannot, or "" when it could.
NotationWrite WriteRanks(
    const FairyBoard& board, bool twoDigitRuns,
    const std::function<std::string(const FairySquare& sq, int s, std::string& out)>& writeSquare);

/// What a board holds that a notation cannot write: "the circle on c3".
std::string Describe(const FairyBoard& board, int s);

}  // namespace position::fairy_detail
