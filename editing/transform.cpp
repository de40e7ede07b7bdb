#include "editing/transform.h"

#include <array>
#include <cstdlib>

namespace editing {

namespace {

struct Named {
    Transform t;
    std::string_view name;
};

constexpr std::array<Named, 8> kNames{{{Transform::kLeft, "left"},
                                       {Transform::kRight, "right"},
                                       {Transform::kUp, "up"},
                                       {Transform::kDown, "down"},
                                       {Transform::kRotate, "rotate"},
                                       {Transform::kHMirror, "hmirror"},
                                       {Transform::kDMirror, "dmirror"},
                                       {Transform::kVMirror, "vmirror"}}};

}  // namespace

std::string_view TransformName(Transform t) {
    for (const Named& n : kNames) {
        if (n.t == t) {
            return n.name;
        }
    }
    return {};
}

std::optional<Transform> ParseTransform(std::string_view name) {
    for (const Named& n : kNames) {
        if (n.name == name) {
            return n.t;
        }
    }
    return std::nullopt;
}

bool NeedsSquareBoard(Transform t) {
    return t == Transform::kRotate || t == Transform::kDMirror;
}

TransformResult ApplyTransform(position::Vet& vet, const position::BoardShape& shape, Transform t) {
    const int rows = shape.rows;
    const int cols = shape.cols;
    if (shape.Squares() == 0) {
        return {};
    }
    // A style that was never checked could name more squares than the vector holds.
    if (shape.Squares() > position::kMaxSquares) {
        return {false, "the board has more than 400 squares"};
    }
    if (NeedsSquareBoard(t) && rows != cols) {
        return {false, std::string(t == Transform::kRotate ? "Rotate 90" : "Diagonal Mirror") +
                           " needs a square board, this one has " + std::to_string(rows) + " rows and " +
                           std::to_string(cols) + " columns"};
    }

    // Work from a copy so that no cell is read after it was written; cell
    // codes left by an edit become plain piece indexes.
    const int n = shape.Pieces();
    std::array<int16_t, position::kCells> old{};
    for (int s = 0; s < rows * cols; ++s) {
        old[s] = static_cast<int16_t>(position::PieceOf(vet(position::kPosition, s), n));
    }
    auto from = [&](int r, int c) -> int16_t {
        return r >= 0 && r < rows && c >= 0 && c < cols ? old[r * cols + c] : int16_t{0};
    };
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            int16_t v = 0;
            switch (t) {
                case Transform::kLeft:
                    v = from(r, c + 1);
                    break;
                case Transform::kRight:
                    v = from(r, c - 1);
                    break;
                case Transform::kUp:
                    v = from(r + 1, c);
                    break;
                case Transform::kDown:
                    v = from(r - 1, c);
                    break;
                case Transform::kRotate:
                    v = from(rows - 1 - c, r);
                    break;
                case Transform::kHMirror:
                    v = from(rows - 1 - r, c);
                    break;
                case Transform::kDMirror:
                    v = from(rows - 1 - c, cols - 1 - r);
                    break;
                case Transform::kVMirror:
                    v = from(r, cols - 1 - c);
                    break;
            }
            vet(position::kPosition, r * cols + c) = v;
        }
    }
    return {};
}

int32_t FenTextColor(int16_t reversed) {
    return reversed != 0 ? 0x0000FF : 0;
}

ReverseView Reverse(EditState& state, const position::BoardShape& shape) {
    if (state.Reversed != 0) {
        state.Reversed = 0;
    } else {
        state.Reversed = static_cast<int16_t>(shape.Squares() + 1);
    }
    return {state.Reversed != 0, FenTextColor(state.Reversed)};
}

int VectorIndex(int d, int16_t reversed) {
    return reversed > 0 ? std::abs(reversed - 2 - d) : d;
}

}  // namespace editing
