#pragma once
// Adding the positions of the History list to the open book as a new game:
// appended to a ".FEN" book as tag and FEN lines, to a ".PGN" book as tags
// and move text, and to the work file and game index so that the new game
// can be shown at once.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "books/book.h"
#include "position/notation_style.h"

namespace books {

/// Number of tag boxes the add-to-book window asks for.
inline constexpr int kTagBoxes = 8;
/// Caption of each tag box, in box order; each ends with a blank and gives
/// the tag's name.
inline constexpr std::array<std::string_view, kTagBoxes> kTagCaptions = {
    "Event ", "Site ", "White ", "Black ", "ECO ", "Date ", "Result ", "Style "};
/// Index of the Result box: its text ends the PGN move text.
inline constexpr int kResultBox = 6;
/// Longest move-text line before it is broken.
inline constexpr std::size_t kMoveLineLength = 70;
/// The ordinary start position as a History line with White to move; a PGN
/// game from any other first line gets SetUp and FEN tags.
inline constexpr std::string_view kStandardFirstLine =
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 0";

/// The texts of the eight tag boxes, in box order.
using TagTexts = std::array<std::string, kTagBoxes>;

/// A tag line: "[" + caption + a double quote + text + a double quote + "]",
/// e.g. [Event "Club"]. Line breaks in the text become blanks.
std::string TagLine(std::string_view caption, std::string_view text);

/// One work-file record of a new game, before its game number is known.
struct NewRecord {
    char kind = kEntry;
    std::string text;
};

/// A new game as it goes to the book file and to the work file.
struct NewGame {
    /// Lines appended to the book, the leading empty line included.
    std::vector<std::string> lines;
    /// Its records: the tag lines of the boxes, then one per position.
    std::vector<NewRecord> records;
    /// One rank of the board may be too long for a record (LongRanks).
    bool longRanks = false;
};

/// A FEN book's new game: an empty line, the tag lines of the boxes that are
/// not empty, an empty line and the History lines as they are.
NewGame FENGame(const TagTexts& tags, const std::vector<std::string>& history);

/// A PGN book's new game: an empty line, the tag lines, SetUp and FEN tags
/// unless the first line is kStandardFirstLine, an empty line and the move
/// text ("1.e4 e5 2.Nf3 ..." or "1...e5 2.Nf3 ..." when the first line has
/// Black to move), broken after the move that makes a line longer than 70
/// characters and ended by the Result box's text or "*". The moves are
/// written by SetMove between consecutive lines.
NewGame PGNGame(const TagTexts& tags, const std::vector<std::string>& history,
                const position::NotationStyle& style);

/// How adding a game ended.
enum class AddStatus {
    kDone,                ///< Appended to the book, the work file and the index.
    kNotABook,            ///< The book is neither ".FEN" nor ".PGN": nothing done.
    kNothingToAdd,        ///< The History list is empty: nothing done.
    kNoWorkFile,          ///< No book is open: nothing done.
    kWorkFileNotWritten,  ///< The work file could not be written: nothing changed.
    kBookNotOpened,       ///< The book file could not be opened: nothing changed.
    kBookNotWritten,      ///< Writing the book failed: it was cut back to what it held.
};

/// Result of adding a game, with the reason when it failed.
struct AddResult {
    AddStatus status = AddStatus::kDone;
    std::string reason;

    bool ok() const { return status == AddStatus::kDone; }
};

/// Appends a game to the open book. The records go to the work file after
/// its last record (with a new end marker), then the lines are appended to
/// book.BookFile in the file's own line breaks and forced to disk; only then
/// do the counts and both indexes take the new game, which becomes the last
/// game of GameIndex (book.NGames). A failure leaves the book file as it was
/// and the book state unchanged.
AddResult AppendGame(Book& book, const NewGame& game);

/// Adds the History lines with the tags to a ".FEN" book.
AddResult AddToFEN(Book& book, const TagTexts& tags, const std::vector<std::string>& history,
                   bool longRanks = false);
/// Adds the History lines with the tags to a ".PGN" book as move text.
AddResult AddToPGN(Book& book, const TagTexts& tags, const std::vector<std::string>& history,
                   const position::NotationStyle& style);
/// AddToFEN or AddToPGN by the upper-cased last four characters of
/// book.BookFile; kNotABook for any other name.
AddResult AddToBook(Book& book, const TagTexts& tags, const std::vector<std::string>& history,
                    const position::NotationStyle& style);

}  // namespace books
