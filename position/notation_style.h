#pragma once
// The style fields that the notation operations read, handed in by the caller
// so that the position code stays free of the settings code.

#include <string>

#include "position/vet.h"

namespace position {

/// Board shape, piece letters and the English letter of every piece index.
struct NotationStyle {
    /// rows (`BORDERHEIGHT`), cols (`BORDERWIDTH`) and `PIECESLIST`.
    BoardShape shape;
    /// `ENGLISHNOTATION`: for each piece index the letter of its kind
    /// ("p", "n", "b", "r", "q", "k" and their upper-case forms), parallel to
    /// the pieces list.
    std::string englishNotation{kDefaultPiecesList};

    /// The kind letter of piece index v, or '\0' when v has none.
    char KindOf(int v) const {
        return v >= 1 && v <= static_cast<int>(englishNotation.size()) ? englishNotation[v - 1] : '\0';
    }
};

}  // namespace position
