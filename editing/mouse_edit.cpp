#include "editing/mouse_edit.h"

#include "diagram/geometry.h"
#include "editing/transform.h"

namespace editing {

void MouseDown(EditState& state, double x, double y, int16_t button, int16_t shift) {
    state.MouseDownX = x;
    state.MouseDownY = y;
    state.MouseDownButton = button;
    state.MouseDownShift = shift;
}

bool IsGraphicGesture(const EditState& state) {
    return state.MouseDownShift == kShiftKey;
}

int16_t CellCode(int p, int v, const position::BoardShape& shape) {
    return static_cast<int16_t>(p + (shape.Pieces() + 1) * position::SqrColor(v, shape.cols));
}

void ApplyCell(position::Vet& vet, int v, const position::BoardShape& shape) {
    vet(position::kPosition, v) =
        CellCode(position::PieceOf(vet(position::kPosition, v), shape.Pieces()), v, shape);
}

BoardRelease MouseUp(EditState& state, position::Vet& vet, const settings::Style& style, double x, double y) {
    BoardRelease r;
    r.pressX = state.MouseDownX;
    r.pressY = state.MouseDownY;
    // Whatever happens below, the gesture ends here.
    state.MouseDownX = -1;
    state.MouseDownY = -1;
    if (IsGraphicGesture(state)) {
        r.action = BoardAction::kGraphic;
        return r;
    }
    if (r.pressX < 0 || r.pressY < 0) {
        return r;  // a release without a press on the picture
    }
    const int d1 = diagram::PixToInd(style, r.pressX, r.pressY);
    const int d2 = diagram::PixToInd(style, x, y);
    if (d1 < 0 || d2 < 0) {
        return r;
    }
    const int i1 = VectorIndex(d1, state.Reversed);
    const int i2 = VectorIndex(d2, state.Reversed);
    if (i1 >= position::kCells || i2 >= position::kCells) {
        return r;
    }
    r.from = i1;
    r.to = i2;
    const position::BoardShape shape = style.Shape();
    const int n = shape.Pieces();
    auto cell = [&](int v) -> int16_t& { return vet(position::kPosition, v); };

    if (state.MouseDownButton == kLeftButton && i1 == i2) {
        r.action = BoardAction::kSelected;
        if (state.SelectedPiece >= 0 && state.SelectedPiece <= n) {
            cell(i2) = state.SelectedPiece;
            ApplyCell(vet, i2, shape);
            r.action = BoardAction::kEdited;
        }
        state.SelectedSquare = static_cast<int16_t>(d2);
    } else if (state.MouseDownButton == kLeftButton) {
        cell(i2) = cell(i1);
        if (state.MouseDownShift != kCtrlKey) {
            cell(i1) = CellCode(0, i1, shape);
        }
        ApplyCell(vet, i2, shape);
        r.action = BoardAction::kEdited;
    } else if (state.MouseDownButton == kRightButton && i1 == i2) {
        cell(i1) = CellCode(0, i1, shape);
        r.action = BoardAction::kEdited;
    }
    return r;
}

bool ShouldShowView(const EditState& state, bool viewVisible) {
    return !viewVisible && state.SelectedSquare >= 0;
}

}  // namespace editing
