#pragma once
// Stepping through the games and positions of the open book. The operations
// read the work file and say what the book panel shows; they touch no
// window.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "books/book.h"
#include "position/vet.h"

namespace books {

/// The displayable text of a record: trimmed, cut before a ";" or "{"
/// comment (for a tag record only after its first "]"), without the kind
/// and game number. Empty for a text shorter than nine characters.
std::string DelComment(std::string_view t);

/// A tag line as the book's list shows it: pieces of at most 33
/// characters, every continuation starting with one blank.
std::vector<std::string> ListPieces(std::string_view t);

/// What the first-position button found at the start of a game.
struct GameHead {
    /// Lines for the tag list (`List1`), in order.
    std::vector<std::string> list;
    /// Values of the game's Style tags, in order. The window switches to
    /// each one that differs, ignoring case, from the style in force.
    std::vector<std::string> styles;
    /// True when the first position is followed by another position of the
    /// same game: the step buttons (`Picture1`) are shown.
    bool showSteps = false;
};

/// The first-position button: reads the first record of game n (the
/// scroll bar's value) and steps over its tag records, which it lists,
/// to the game's first position. On failure the current record is blank.
GameHead FirstPosition(Book& book, int64_t n);

/// The other step buttons: 1 previous, 2 next, 3 last position. Returns
/// true when the position shown changes (the window then runs ShowRecord).
bool StepPosition(Book& book, int index);

/// What showing the current record puts in the window.
struct ShownRecord {
    /// Text for the FEN text box: the placement with its ranks completed.
    std::string fen;
    /// The side-to-move label (`Label5`): "White moves...", "Black
    /// moves..." or "Move Control:".
    std::string sideLabel;
    /// The placement as the record holds it.
    std::string placement;
    /// The character after the placement's blank ("-" when there is none).
    char side = '-';
};

/// Shows the current record: its placement and side to move.
ShownRecord ShowRecord(const Book& book, const position::BoardShape& shape);

/// The book label (`Label1`): "Game 7. (7 of 120)" from the current
/// record's game number, the scroll bar's value and the number of games.
std::string GameCaption(const Book& book, int64_t value);

/// Everything a change of the game scroll bar shows, once the window has
/// applied the style switches of head.
struct GameView {
    GameHead head;
    ShownRecord shown;
    std::string caption;
};

/// The scroll bar's change for game n, for a caller that applies no style
/// switch in between (the shape is the one in force).
GameView ShowGame(Book& book, int64_t n, const position::BoardShape& shape);

}  // namespace books
