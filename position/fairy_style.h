#pragma once
// Between a fairy board and the program's own placement (one letter of the
// style's pieces list per man): which letter shows what a square holds, and
// the letters a style gains when it has none for something.

#include <string>
#include <string_view>

#include "position/fairy_board.h"
#include "position/vet.h"

namespace position {

/// The style fields the mapping reads, and extends in its copy.
struct FairyStyle {
    int rows = 8;
    int cols = 8;
    std::string piecesList{kDefaultPiecesList};       ///< PIECESLIST
    std::string englishNotation{kDefaultPiecesList};  ///< ENGLISHNOTATION
    std::string piecesGlyphs;                         ///< PIECESGLYPHS
    std::string pyDictionary;                         ///< the style's own PYDICTIONARY
    bool operator==(const FairyStyle&) const = default;
};

/// How a letter of the style looks, from its PIECESGLYPHS entry ("q180~",
/// "circle", "'AB", "'G@90") or else from its ENGLISHNOTATION kind, White for an
/// upper-case or caseless PIECESLIST letter. An empty square means a look no
/// notation can write (a picture of its own, a symbol, a turn by 45 degrees).
FairySquare LookOf(const FairyStyle& style, int index);

/// The solver's name of a letter of ENGLISHNOTATION, as the piece lists
/// take it from the dictionary; a knight "N" with no entry is the solver's
/// "S".
struct PopeyeName {
    FairyColor color = FairyColor::kWhite;
    std::string code;
    bool fromEntry = false;  ///< The dictionary had an entry for the letter.
};
PopeyeName PopeyeNameOf(char english, std::string_view dictionary);

/// A board put into the program's placement.
struct PlacementImport {
    std::string placement;  ///< The FEN box's text, in the letters of style.
    FairyStyle style;       ///< The style with the board's size and any new letters.
    bool lettersAdded = false;
    std::string error;
    bool ok() const { return error.empty(); }
};

/// Finds a letter of style for every square of board (read in notation
/// from): men of the solver's notation, and its fairy men in the others, by
/// their solver's name; the rest by their look. Where style has none, it
/// gains one: a letter, its English letter, a glyph entry and, for a man
/// the solver must know, a dictionary entry. dictionaryBase is the part of
/// the dictionary in force before the style's own entries.
PlacementImport ToPlacement(const FairyBoard& board, Notation from, const FairyStyle& style,
                            std::string_view dictionaryBase);

/// The board of the position plane as notation to sees it: the solver's
/// notation by the solver's names, Fairy FEN by the looks, YACPDB by the
/// looks and the solver's names of fairy men. Fails naming the first square
/// the notation cannot write.
NotationRead FromPlacement(const Vet& vet, const FairyStyle& style, std::string_view dictionaryBase,
                           Notation to);

}  // namespace position
