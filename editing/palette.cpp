#include "editing/palette.h"

#include <algorithm>
#include <cmath>

#include "editing/mouse_edit.h"
#include "editing/transform.h"

namespace editing {

namespace {

int Pieces(const settings::Style& style) {
    return static_cast<int>(style.PIECESLIST.size());
}

}  // namespace

PaletteLayout LayoutPalette(const settings::Style& style) {
    PaletteLayout l;
    l.rows = (Pieces(style) + kPaletteColumns - 1) / kPaletteColumns;
    // An empty piece list still gets a palette of one (empty) row.
    l.paletteHeight = std::max(l.rows - 1, 0) * style.SQRVTAB + style.SQRHEIGHT + 60;
    l.paletteWidth = (kPaletteColumns - 1) * style.SQRHTAB + style.SQRWIDTH + 60;
    l.windowHeight = l.paletteHeight + 380;
    l.windowWidth = l.paletteWidth + 90 + 2 * style.SQRWIDTH;
    l.preview = {l.paletteWidth + style.SQRWIDTH / 2.0, style.SQRWIDTH / 2.0};
    l.previewWidth = style.SQRWIDTH;
    l.previewHeight = style.SQRHEIGHT;
    return l;
}

std::vector<diagram::CellCopy> PaletteCopies(const settings::Style& style) {
    std::vector<diagram::CellCopy> copies;
    for (int i = 1; i <= Pieces(style); ++i) {
        diagram::CellCopy c;
        c.source = {static_cast<double>(i * style.SQRHTAB), 0};
        c.target = {static_cast<double>((i - 1) % kPaletteColumns * style.SQRHTAB),
                    static_cast<double>((i - 1) / kPaletteColumns * style.SQRVTAB)};
        c.width = style.SQRWIDTH;
        c.height = style.SQRHEIGHT;
        copies.push_back(c);
    }
    return copies;
}

std::optional<diagram::CellCopy> PreviewCopy(const settings::Style& style, int p) {
    if (p < 0) {
        return std::nullopt;
    }
    const int n = Pieces(style);
    diagram::CellCopy c;
    c.source = {static_cast<double>(p % (n + 1) * style.SQRHTAB),
                static_cast<double>(p / (n + 1) * style.SQRVTAB)};
    c.width = style.SQRWIDTH;
    c.height = style.SQRHEIGHT;
    return c;
}

int PaletteIndex(const settings::Style& style, double x, double y) {
    if (style.SQRHTAB <= 0 || style.SQRVTAB <= 0) {
        return 0;
    }
    const double col = std::floor(x / style.SQRHTAB);
    const double row = std::floor(y / style.SQRVTAB);
    const int rows = (Pieces(style) + kPaletteColumns - 1) / kPaletteColumns;
    if (col >= 0 && col < kPaletteColumns && row >= 0 && row < rows) {
        return static_cast<int>(col) + 1 + kPaletteColumns * static_cast<int>(row);
    }
    return 0;
}

PaletteRelease PaletteMouseUp(EditState& state, position::Vet& vet, const settings::Style& style, double x,
                              double y, int dropTarget) {
    PaletteRelease r;
    const int n = Pieces(style);
    const int u = PaletteIndex(style, x, y);
    const int d = PaletteIndex(style, state.MouseDownX, state.MouseDownY);
    if (d < 1 || d > n) {
        return r;
    }
    int target = dropTarget;
    if (d == u) {
        if (state.SelectedPiece >= 0 || state.SelectedSquare < 0) {
            state.SelectedPiece = static_cast<int16_t>(d);
            r.action = PaletteAction::kChosen;
            return r;
        }
        target = state.SelectedSquare;  // the square was marked first
    } else if (u > 0) {
        return r;  // from one palette cell to another
    }
    state.SelectedPiece = static_cast<int16_t>(d);
    r.action = PaletteAction::kChosen;
    if (target < 0) {
        target = state.SelectedSquare;
    }
    // A square marked on a larger board than the one shown now is no target.
    const position::BoardShape shape = style.Shape();
    if (target < 0 || target >= shape.Squares()) {
        return r;
    }
    const int v = VectorIndex(target, state.Reversed);
    if (v < 0 || v >= position::kCells) {
        return r;
    }
    state.SelectedSquare = static_cast<int16_t>(target);
    vet(position::kPosition, v) = CellCode(d, v, shape);
    r.action = PaletteAction::kPlaced;
    r.square = v;
    return r;
}

bool DropStaleChoice(EditState& state, const settings::Style& style) {
    if (state.SelectedPiece > Pieces(style)) {
        state.SelectedPiece = -1;
        return true;
    }
    return false;
}

}  // namespace editing
