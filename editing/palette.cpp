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

int Rows(const settings::Style& style) {
    return (Pieces(style) + kPaletteColumns - 1) / kPaletteColumns;
}

// Window size the layout gives for cells of w x h twips at a pitch of their
// own size (see LayoutPalette).
int WindowWidthFor(int w) {
    return (kPaletteColumns - 1) * w + w + 60 + 90 + 2 * w;
}
int WindowHeightFor(int h, int rows) {
    return std::max(rows - 1, 0) * h + h + 60 + 380;
}

}  // namespace

PaletteGrid PaletteGridOf(const settings::Style& style, int maxWindowWidth, int maxWindowHeight) {
    if (!style.IsFontStyle()) {
        return {style.SQRWIDTH, style.SQRHEIGHT, style.SQRHTAB, style.SQRVTAB};
    }
    constexpr int kPx = diagram::kTwipsPerPixel;
    // Whole pixels, so that the drawn men and the click mapping agree to the pixel.
    const auto wholePixels = [](double twips) {
        // A hair over, so that a product meant to be whole is not a pixel short.
        return std::max(1, static_cast<int>(std::floor(twips / kPx + 1e-6))) * kPx;
    };
    int w = wholePixels(style.SQRWIDTH);
    int h = wholePixels(style.SQRHEIGHT);
    const int rows = std::max(Rows(style), 1);
    double k = 1;
    if (maxWindowWidth > 0 && WindowWidthFor(w) > maxWindowWidth) {
        k = std::min(k, static_cast<double>(maxWindowWidth - WindowWidthFor(0)) /
                            (WindowWidthFor(w) - WindowWidthFor(0)));
    }
    if (maxWindowHeight > 0 && WindowHeightFor(h, rows) > maxWindowHeight) {
        k = std::min(k, static_cast<double>(maxWindowHeight - WindowHeightFor(0, rows)) /
                            (WindowHeightFor(h, rows) - WindowHeightFor(0, rows)));
    }
    if (k < 1) {
        // Never so small that the men cannot be told apart.
        k = std::max(k, std::min(1.0, static_cast<double>(kLeastPaletteCell) / std::min(w, h)));
        w = wholePixels(w * k);
        h = wholePixels(h * k);
    }
    return {w, h, w, h};
}

PaletteLayout LayoutPalette(const settings::Style& style, const PaletteGrid& grid) {
    PaletteLayout l;
    l.rows = Rows(style);
    // An empty piece list still gets a palette of one (empty) row.
    l.paletteHeight = std::max(l.rows - 1, 0) * grid.vPitch + grid.height + 60;
    l.paletteWidth = (kPaletteColumns - 1) * grid.hPitch + grid.width + 60;
    l.windowHeight = l.paletteHeight + 380;
    l.windowWidth = l.paletteWidth + 90 + 2 * grid.width;
    l.preview = {l.paletteWidth + grid.width / 2.0, grid.width / 2.0};
    l.previewWidth = grid.width;
    l.previewHeight = grid.height;
    return l;
}

PaletteLayout LayoutPalette(const settings::Style& style) {
    return LayoutPalette(style, PaletteGridOf(style));
}

diagram::Point PaletteCellOrigin(const PaletteGrid& grid, int i) {
    return {static_cast<double>((i - 1) % kPaletteColumns * grid.hPitch),
            static_cast<double>((i - 1) / kPaletteColumns * grid.vPitch)};
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

int PaletteIndex(const settings::Style& style, const PaletteGrid& grid, double x, double y) {
    if (grid.hPitch <= 0 || grid.vPitch <= 0) {
        return 0;
    }
    const double col = std::floor(x / grid.hPitch);
    const double row = std::floor(y / grid.vPitch);
    if (col >= 0 && col < kPaletteColumns && row >= 0 && row < Rows(style)) {
        return static_cast<int>(col) + 1 + kPaletteColumns * static_cast<int>(row);
    }
    return 0;
}

int PaletteIndex(const settings::Style& style, double x, double y) {
    return PaletteIndex(style, PaletteGridOf(style), x, y);
}

PaletteRelease PaletteMouseUp(EditState& state, position::Vet& vet, const settings::Style& style, double x,
                              double y, int dropTarget) {
    return PaletteMouseUp(state, vet, style, PaletteGridOf(style), x, y, dropTarget);
}

PaletteRelease PaletteMouseUp(EditState& state, position::Vet& vet, const settings::Style& style,
                              const PaletteGrid& grid, double x, double y, int dropTarget) {
    PaletteRelease r;
    const int n = Pieces(style);
    const int u = PaletteIndex(style, grid, x, y);
    const int d = PaletteIndex(style, grid, state.MouseDownX, state.MouseDownY);
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
