#pragma once
// Whole-board transformations (shifts, quarter turn, mirrors) and the
// reversed view.

#include <optional>
#include <string>
#include <string_view>

#include "editing/edit_state.h"
#include "position/vet.h"

namespace editing {

/// The transformations of the Effects menu that change the position.
/// kHMirror swaps top and bottom (ranks); kVMirror swaps left and right
/// (files, a and h on an 8 x 8 board), on a board of any shape.
enum class Transform { kLeft, kRight, kUp, kDown, kRotate, kHMirror, kDMirror, kVMirror };

/// The command-line word of a transformation ("left", "rotate", ...).
std::string_view TransformName(Transform t);

/// The transformation a command-line word names, if any.
std::optional<Transform> ParseTransform(std::string_view name);

/// True for the transformations only square boards offer (Rotate 90 and
/// Diagonal Mirror).
bool NeedsSquareBoard(Transform t);

/// Outcome of a transformation: ok, or the reason nothing was changed.
struct TransformResult {
    bool ok = true;
    std::string reason;
};

/// Transforms the position plane of the board in place. Every cell is
/// computed from a copy of the position taken first and written as a plain
/// piece index. Rotate 90 and Diagonal Mirror on a board that is not square,
/// or a board of no squares, change nothing and give the reason.
TransformResult ApplyTransform(position::Vet& vet, const position::BoardShape& shape, Transform t);

/// What the Reverse command leaves for the window to show.
struct ReverseView {
    bool reversed = false;  ///< The menu item's check mark.
    int32_t textColor = 0;  ///< FEN text colour, 0x00BBGGRR: black, or red while reversed.
};

/// FEN text colour for a value of `Reversed`: black (0) or red (0x0000FF).
int32_t FenTextColor(int16_t reversed);

/// Toggles `Reversed` between 0 and rows * cols + 1 of the current board.
ReverseView Reverse(EditState& state, const position::BoardShape& shape);

/// Vector index of the square shown at display index d: d itself, or
/// |Reversed - 2 - d| while the board is shown turned.
int VectorIndex(int d, int16_t reversed);

}  // namespace editing
