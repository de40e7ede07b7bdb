#include "position/vet.h"

#include <cctype>

#include "position/placement_writer.h"

namespace position {

int SqrColor(int s, int cols) {
    if (cols <= 0) {
        return 0;
    }
    return ((s / cols) % 2 + s % cols) % 2;
}

int PieceOf(int v, int n) {
    return v > n ? v - (n + 1) : v;
}

void ResetVet(Vet& vet, const BoardShape& shape) {
    const int squares = std::min(shape.Squares(), kCells);
    for (int s = 0; s < squares; ++s) {
        vet(kPainted, s) = -1;
    }
}

std::string VetToFEN(const Vet& vet, const BoardShape& shape) {
    char out[kMaxPlacement];
    return std::string(out, static_cast<size_t>(WritePlacement(vet, shape, out)));
}

std::string_view SkipTally(std::string_view text) {
    const auto p = text.find(')');
    return p == std::string_view::npos ? text : text.substr(p + 1);
}

namespace {

// Index of ch in "123456789" followed by the piece letters, 1-based; 0 when absent.
int LookUp(char ch, const std::string& piecesList) {
    if (ch >= '1' && ch <= '9') {
        return ch - '0';
    }
    const auto p = piecesList.find(ch);
    return p == std::string::npos ? 0 : static_cast<int>(p) + 10;
}

bool IsWhiteLetter(char ch) {
    return std::toupper(static_cast<unsigned char>(ch)) == static_cast<unsigned char>(ch);
}

}  // namespace

ParseResult ParseFEN(Vet& vet, std::string_view text, const BoardShape& shape, const PaintFn& paint) {
    ParseResult r;
    const std::string_view t = SkipTally(text);
    int s = 0;
    auto put = [&](int v) {
        vet(kPosition, s) = static_cast<int16_t>(v);
        if (paint) {
            paint(s);
        }
        ++s;
    };
    for (char ch : t) {
        const int k = LookUp(ch, shape.piecesList);
        if (k == 0) {
            continue;
        }
        if (k <= 9) {
            for (int i = 0; i < k; ++i) {
                if (s >= kCells) {
                    r.complete = false;
                    return r;
                }
                put(0);
            }
        } else {
            if (s >= kCells) {
                r.complete = false;
                return r;
            }
            put(k - 9);
            if (IsWhiteLetter(ch)) {
                ++r.white;
            } else {
                ++r.black;
            }
        }
    }
    const int squares = std::min(shape.Squares(), kCells);
    while (s < squares) {
        put(0);
    }
    return r;
}

std::string Tally(int white, int black) {
    return "(" + std::to_string(white) + "x" + std::to_string(black) + ")";
}

std::string FixFEN(std::string_view text, const BoardShape& shape) {
    const std::string_view in = SkipTally(text);
    const int cols = shape.cols;
    std::string out;
    out.reserve(in.size() + 16);
    long cnt = 0;
    for (char ch : in) {
        if (ch >= '1' && ch <= '9') {
            cnt += ch - '0';
        } else if (ch == '/') {
            // A board without columns has no ranks to complete.
            if (cols > 0) {
                if (cnt == 0) {
                    cnt = cols;
                } else if (cnt >= cols) {
                    cnt %= cols;
                }
                if (cnt > 0) {
                    long pad = cols - (cnt % cols);
                    while (pad > 9) {
                        out += '9';
                        pad -= 9;
                    }
                    out += std::to_string(pad);
                }
            }
            cnt = 0;
        } else if (shape.piecesList.find(ch) != std::string::npos) {
            ++cnt;
        }
        out += ch;
    }
    return out;
}

void Build2(Vet& vet, int plane, std::string_view text, const BoardShape& shape) {
    const std::string_view t = SkipTally(text);
    int s = 0;
    for (char ch : t) {
        const int k = LookUp(ch, shape.piecesList);
        if (k == 0) {
            continue;
        }
        const int count = k <= 9 ? k : 1;
        const int v = k <= 9 ? 0 : k - 9;
        for (int i = 0; i < count && s < kCells; ++i) {
            vet(plane, s++) = static_cast<int16_t>(v);
        }
        if (s >= kCells) {
            break;
        }
    }
    const int squares = std::min(shape.Squares(), kCells);
    while (s < squares) {
        vet(plane, s++) = 0;
    }
}

}  // namespace position
