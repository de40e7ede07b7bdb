#pragma once
// The board as three algebraic piece lists (White, Black, neutral) in the
// solver's notation, with piece names taken from its dictionary text.

#include <string>
#include <string_view>

#include "position/notation_style.h"
#include "position/vet.h"

namespace position {

/// The three lists: each piece name once, followed by all its squares, the
/// square met last first; pieces separated by one blank.
struct PieceLists {
    std::string white;
    std::string black;
    std::string neutral;
};

/// Lists the pieces of the position plane. The English letter of each piece
/// is looked up in dictionary, a text of entries "&&" letter "=" colour name
/// (colour "B"/"b" Black, "N"/"n" neutral, anything else White) ended by the
/// next "&&"; an entry with no "&&" after it takes the rest of the text as its
/// name. A letter with no entry is its own name, White when upper case.
PieceLists FEN2ALG(const Vet& vet, const NotationStyle& style, std::string_view dictionary);

}  // namespace position
