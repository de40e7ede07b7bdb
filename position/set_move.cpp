#include "position/set_move.h"

#include <algorithm>
#include <vector>

namespace position {

const char* Describe(SetMoveFailure reason) {
    switch (reason) {
        case SetMoveFailure::kNone:
            return "no failure";
        case SetMoveFailure::kBadPlane:
            return "the earlier position must be on plane 0 or 1";
        case SetMoveFailure::kNoDestination:
            return "the positions do not differ by one move's destination";
        case SetMoveFailure::kNoCorner:
            return "two pieces arrived but no corner square was left";
        case SetMoveFailure::kNoOrigin:
            return "the positions do not differ by one move's origin";
        case SetMoveFailure::kUnknownKind:
            return "the moving piece is of no kind the writer knows";
    }
    return "unknown failure";
}

namespace {

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Upper-cased character at 1-based index v of text, '\0' when v is outside it.
char UpperAt(const std::string& text, int v) {
    return v >= 1 && v <= static_cast<int>(text.size()) ? Upper(text[v - 1]) : '\0';
}

SetMoveResult Fail(SetMoveFailure reason) {
    SetMoveResult r;
    r.reason = reason;
    return r;
}

void AppendSquare(std::string& out, int cell, int rows, int cols) {
    out += static_cast<char>(97 + cell % cols);
    out += std::to_string(rows - cell / cols);
}

}  // namespace

SetMoveResult SetMove(const Vet& vet, const NotationStyle& style, int prev) {
    if (prev != 0 && prev != 1) {
        return Fail(SetMoveFailure::kBadPlane);
    }
    return WriteMove(vet.cells[prev], vet.cells[prev == 0 ? 1 : 0], style);
}

SetMoveResult WriteMove(const Placement& before, const Placement& after, const NotationStyle& style) {
    const int rows = style.shape.rows;
    const int cols = style.shape.cols;
    if (rows <= 0 || cols <= 0) {
        return Fail(SetMoveFailure::kNoDestination);
    }
    const int squares = std::min(style.shape.Squares(), kCells);

    std::vector<int> to;
    std::vector<int> from;
    for (int s = 0; s < squares; ++s) {
        if (before[s] != after[s]) {
            (after[s] > 0 ? to : from).push_back(s);
        }
    }

    if (to.size() == 2) {
        // King and rook arrived: the corner the rook left tells the side.
        const int last = squares - 1;
        const char* castling = nullptr;
        for (int s : from) {
            if (s == 0 || s == (rows - 1) * cols) {
                castling = "O-O-O";
            } else if (s == cols - 1 || s == last) {
                castling = "O-O";
            }
        }
        if (castling == nullptr) {
            return Fail(SetMoveFailure::kNoCorner);
        }
        SetMoveResult r;
        r.move = castling;
        return r;
    }
    if (to.size() != 1) {
        return Fail(SetMoveFailure::kNoDestination);
    }
    const int d = to[0];
    bool capture = before[d] > 0;

    int o = -1;
    if (from.size() == 2) {
        // En passant empties two cells; the one on the destination's file is
        // the pawn taken.
        capture = true;
        o = (d - from[0]) % cols == 0 ? from[1] : from[0];
    } else if (from.size() == 1) {
        o = from[0];
    } else {
        return Fail(SetMoveFailure::kNoOrigin);
    }
    const int moving = before[o];
    if (moving <= 0) {
        return Fail(SetMoveFailure::kNoOrigin);
    }

    const auto& pieces = style.shape.piecesList;
    const auto& en = style.englishNotation;
    std::string promotion;
    char letter = UpperAt(pieces, after[d]);
    char kind = UpperAt(en, after[d]);
    if (moving != after[d]) {
        promotion = "=";
        if (letter != '\0') {
            promotion += letter;
        }
        letter = UpperAt(pieces, moving);
        kind = UpperAt(en, moving);
    }

    SetMoveResult r;
    std::string& m = r.move;
    switch (kind) {
        case 'P':
            if (capture) {
                m += static_cast<char>(97 + o % cols);
                m += 'x';
            }
            AppendSquare(m, d, rows, cols);
            m += promotion;
            return r;
        case 'K':
            if (letter != '\0') {
                m += letter;
            }
            if (capture) {
                m += 'x';
            }
            AppendSquare(m, d, rows, cols);
            return r;
        case 'N':
        case 'B':
        case 'R':
        case 'Q':
            break;
        default:
            return Fail(SetMoveFailure::kUnknownKind);
    }

    // Other pieces of the same index that could reach d in the earlier
    // position decide which part of the origin must be named.
    const int dr = d / cols;
    const int dc = d % cols;
    const int orow = o / cols;
    const int ocol = o % cols;
    bool ambiguous = false;
    bool needFile = false;
    bool needRank = false;
    // Returns whether a ray goes on past (row, col).
    auto examine = [&](int row, int col) {
        if (row < 0 || row >= rows || col < 0 || col >= cols) {
            return false;
        }
        const int s = row * cols + col;
        const int v = before[s];
        if (v == moving) {
            if (s != o) {
                ambiguous = true;
                if (col == ocol) {
                    needRank = true;
                }
                if (row == orow) {
                    needFile = true;
                }
            }
            return true;
        }
        return v <= 0;
    };
    auto ray = [&](int sr, int sc) {
        for (int k = 1; examine(dr + sr * k, dc + sc * k); ++k) {
        }
    };
    if (kind == 'N') {
        static constexpr int kJumps[8][2] = {{2, 1},   {2, -1}, {1, 2},   {1, -2},
                                             {-2, -1}, {-2, 1}, {-1, -2}, {-1, 2}};
        for (const auto& j : kJumps) {
            examine(dr + j[0], dc + j[1]);
        }
    }
    if (kind == 'B' || kind == 'Q') {
        for (int s : {1, -1}) {
            ray(s, s);
            ray(s, -s);
        }
    }
    if (kind == 'R' || kind == 'Q') {
        for (int s : {1, -1}) {
            ray(s, 0);
            ray(0, s);
        }
    }
    if (ambiguous && !needFile && !needRank) {
        needFile = true;
    }

    if (letter != '\0') {
        m += letter;
    }
    if (needFile) {
        m += static_cast<char>(97 + ocol);
    }
    if (needRank) {
        m += std::to_string(rows - orow);
    }
    if (capture) {
        m += 'x';
    }
    AppendSquare(m, d, rows, cols);
    return r;
}

}  // namespace position
