#pragma once
// Editing the board with the mouse on the diagram picture: drag to move or
// copy, right click to clear, left click to place the palette's piece or to
// mark a square for it.

#include <cstdint>

#include "editing/edit_state.h"
#include "position/vet.h"
#include "settings/style.h"

namespace editing {

/// Records a press (on the diagram or on the palette): point in twips,
/// button (MouseButton) and shift state (sum of ShiftBit).
void MouseDown(EditState& state, double x, double y, int16_t button, int16_t shift);

/// True while the recorded press is a drawing gesture: Shift alone.
bool IsGraphicGesture(const EditState& state);

/// What a release on the diagram did.
enum class BoardAction {
    kNothing,   ///< Off the board, a right drag, another button, or no press armed.
    kGraphic,   ///< A Shift gesture: it belongs to the graphic overlay.
    kSelected,  ///< A left click with no palette piece: only the square was marked.
    kEdited,    ///< The position plane changed; commit it with PicMove.
};

/// Release of a gesture on the diagram.
struct BoardRelease {
    BoardAction action = BoardAction::kNothing;
    double pressX = -1;  ///< Where the gesture started, in twips.
    double pressY = -1;
    int from = -1;  ///< Vector index of the press square (-1 off the board).
    int to = -1;    ///< Vector index of the release square (-1 off the board).
};

/// The release of a press on the diagram at (x, y) twips: maps both points
/// to squares, through the reversed view, and edits the position plane with
/// cell codes (piece + (n + 1) * square colour). Always disarms the press.
/// A chosen palette piece that the current piece list no longer has places
/// nothing.
BoardRelease MouseUp(EditState& state, position::Vet& vet, const settings::Style& style, double x, double y);

/// Cell code of piece p (0 = empty) on vector square v.
int16_t CellCode(int p, int v, const position::BoardShape& shape);

/// Rewrites cell v as the cell code of the piece it holds.
void ApplyCell(position::Vet& vet, int v, const position::BoardShape& shape);

/// The common finish of a release opens the palette when it is hidden and a
/// square is marked.
bool ShouldShowView(const EditState& state, bool viewVisible);

}  // namespace editing
