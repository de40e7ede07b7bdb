#pragma once
// Shared set-up for the notation tests.

#include <string>

#include "position/notation_style.h"
#include "position/vet.h"

namespace position::testing_support {

inline NotationStyle Style(int rows = 8, int cols = 8, std::string pieces = std::string(kDefaultPiecesList),
                           std::string english = {}) {
    NotationStyle st;
    st.shape.rows = rows;
    st.shape.cols = cols;
    st.shape.piecesList = pieces;
    st.englishNotation = english.empty() ? pieces : english;
    return st;
}

// A vector with fen on the position plane and nothing on the other plane.
inline Vet Board(const std::string& fen, const NotationStyle& st) {
    Vet v;
    Build2(v, kPosition, fen, st.shape);
    return v;
}

inline std::string Fen(const Vet& v, const NotationStyle& st) {
    return VetToFEN(v, st.shape);
}

}  // namespace position::testing_support
