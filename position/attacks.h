#pragma once
// The attack test that the move interpreter and the engines' legal-move code
// share: whether a square is attacked by the men of one side, by the moves
// of their English kinds.

#include "position/notation_style.h"

namespace position {

/// Whether the square (row, col) is attacked by a man of the enemy side.
/// at(s) gives the piece index on square s (0 or less when empty); the
/// style gives the board's shape and each index's English letter.
template <typename At>
bool SquareAttacked(const NotationStyle& style, At at, int row, int col, bool enemyIsBlack) {
    const int rows = style.shape.rows;
    const int cols = style.shape.cols;
    auto enemyKind = [&](int r, int c) -> char {
        if (r < 0 || r >= rows || c < 0 || c >= cols) {
            return '\0';
        }
        const char k = style.KindOf(at(r * cols + c));
        const bool black = k >= 'a' && k <= 'z';
        const bool white = k >= 'A' && k <= 'Z';
        return (enemyIsBlack ? black : white) ? static_cast<char>(k | 0x20) : '\0';
    };
    static constexpr int kDirs[8][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};
    for (int d = 0; d < 8; ++d) {
        const bool straight = d < 4;
        for (int k = 1;; ++k) {
            const int r = row + kDirs[d][0] * k;
            const int c = col + kDirs[d][1] * k;
            if (r < 0 || r >= rows || c < 0 || c >= cols) {
                break;
            }
            if (at(r * cols + c) <= 0) {
                continue;
            }
            const char e = enemyKind(r, c);
            if (e == 'q' || (e == 'r' && straight) || (e == 'b' && !straight) || (e == 'k' && k == 1)) {
                return true;
            }
            break;
        }
    }
    static constexpr int kJumps[8][2] = {{2, 1}, {2, -1}, {-2, 1}, {-2, -1},
                                         {1, 2}, {1, -2}, {-1, 2}, {-1, -2}};
    for (const auto& j : kJumps) {
        if (enemyKind(row + j[0], col + j[1]) == 'n') {
            return true;
        }
    }
    // Pawns take one square diagonally forward: Black's toward the bottom,
    // White's toward the top.
    const int pawnRow = enemyIsBlack ? row - 1 : row + 1;
    return enemyKind(pawnRow, col - 1) == 'p' || enemyKind(pawnRow, col + 1) == 'p';
}

}  // namespace position
