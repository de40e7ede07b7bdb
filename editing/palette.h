#pragma once
// The piece palette: every piece of the piece list as it looks on a light
// square, six to a row, with a preview of the chosen piece beside the grid.

#include <optional>
#include <vector>

#include "diagram/geometry.h"
#include "editing/edit_state.h"
#include "position/vet.h"
#include "settings/style.h"

namespace editing {

/// Pieces in one palette row.
inline constexpr int kPaletteColumns = 6;

/// The palette's cells, in twips: the size of one man's picture and the
/// pitch the cells are laid out at.
struct PaletteGrid {
    int width = 0;
    int height = 0;
    int hPitch = 0;
    int vPitch = 0;
    bool operator==(const PaletteGrid&) const = default;
};

/// Smallest cell of a drawn palette, in twips (16 pixels).
inline constexpr int kLeastPaletteCell = 16 * diagram::kTwipsPerPixel;

/// The cells of the palette for a style. A bitmap style's are the pieces
/// bitmap's cells: square size and pitch as they are. A font style's men are
/// drawn, each on a cell of the square's size without gaps, made smaller
/// (in whole pixels, keeping the square's proportions, never below
/// kLeastPaletteCell) when the window would be wider than maxWindowWidth or
/// higher than maxWindowHeight twips; a limit of 0 or less is none.
PaletteGrid PaletteGridOf(const settings::Style& style, int maxWindowWidth = 0, int maxWindowHeight = 0);

/// Where the palette window's parts go, in twips.
struct PaletteLayout {
    int rows = 0;          ///< Palette rows: n / 6 rounded up.
    int paletteWidth = 0;  ///< The palette picture, at the window's top-left corner.
    int paletteHeight = 0;
    int windowWidth = 0;  ///< The whole window.
    int windowHeight = 0;
    diagram::Point preview;  ///< Top-left corner of the preview picture.
    int previewWidth = 0;
    int previewHeight = 0;
};

/// Lays the palette window out for a style with cells of the given grid.
PaletteLayout LayoutPalette(const settings::Style& style, const PaletteGrid& grid);
/// The same with the style's own cells (PaletteGridOf without limits).
PaletteLayout LayoutPalette(const settings::Style& style);

/// Top-left corner of the palette cell of piece i (1-based), in twips.
diagram::Point PaletteCellOrigin(const PaletteGrid& grid, int i);

/// The copies from the pieces bitmap that paint the palette, piece 1 first:
/// each piece's light-square picture at its palette cell.
std::vector<diagram::CellCopy> PaletteCopies(const settings::Style& style);

/// The copy that paints the preview of piece p at (0, 0); none when p < 0.
std::optional<diagram::CellCopy> PreviewCopy(const settings::Style& style, int p);

/// Palette index (1-based) of a point of the palette picture in twips, or 0
/// outside the grid. Indexes above n fall in the empty cells of the last row.
int PaletteIndex(const settings::Style& style, const PaletteGrid& grid, double x, double y);
/// The same with the style's own cells.
int PaletteIndex(const settings::Style& style, double x, double y);

/// What a release on the palette did.
enum class PaletteAction {
    kNothing,  ///< No piece under the press, or released on another piece.
    kChosen,   ///< A piece became the chosen one; the board is unchanged.
    kPlaced,   ///< The piece was put on a square; commit with PicMove.
};

/// Release of a gesture on the palette.
struct PaletteRelease {
    PaletteAction action = PaletteAction::kNothing;
    int square = -1;  ///< Vector index the piece was put on.
};

/// The release of a press on the palette at (x, y) of the palette picture,
/// in twips. dropTarget is the display index of the board square under the
/// release point, or -1. A click on a piece chooses it, or puts it on the
/// marked square when no piece was chosen yet; a drag that leaves the grid
/// puts the piece on the drop target (or the marked square). A target that
/// is not on the current board places nothing.
PaletteRelease PaletteMouseUp(EditState& state, position::Vet& vet, const settings::Style& style,
                              const PaletteGrid& grid, double x, double y, int dropTarget);
/// The same with the style's own cells.
PaletteRelease PaletteMouseUp(EditState& state, position::Vet& vet, const settings::Style& style, double x,
                              double y, int dropTarget);

/// Forgets a chosen piece that the current piece list does not have, as
/// after a change of style. Returns true when the choice was dropped.
bool DropStaleChoice(EditState& state, const settings::Style& style);

}  // namespace editing
