#include <gtest/gtest.h>

#include "diagram/geometry.h"
#include "editing/mouse_edit.h"
#include "editing/palette.h"

using namespace editing;

namespace {

settings::Style Prepared(const char* pieces = "pPnNbBrRqQkK") {
    settings::Style s;
    s.PIECESLIST = pieces;
    diagram::ApplyComputedGeometry(s);
    return s;
}

// Middle of palette cell i (1-based), in twips.
diagram::Point Cell(int i) {
    return {(i - 1) % 6 * 225 + 112.0, (i - 1) / 6 * 225 + 112.0};
}

TEST(Palette, LayoutAndIndexes) {
    const settings::Style s = Prepared();
    const PaletteLayout l = LayoutPalette(s);
    EXPECT_EQ(l.rows, 2);
    EXPECT_EQ(l.paletteHeight, 225 + 225 + 60);
    EXPECT_EQ(l.windowWidth, 5 * 225 + 225 + 60 + 90 + 450);
    EXPECT_EQ(PaletteIndex(s, 5 * 225 + 224, 10), 6);
    EXPECT_EQ(PaletteIndex(s, 10, 225), 7);
    EXPECT_EQ(PaletteIndex(s, 6 * 225 + 1, 10), 0);
    EXPECT_EQ(PaletteIndex(s, 10, 450), 0);
    EXPECT_EQ(PaletteIndex(Prepared("pPnNbBrRqQkKx"), 300, 460), 14);  // empty cell of row 2
}

TEST(Palette, Releases) {
    struct Case {
        const char* what;
        const char* pieces;
        bool reversed;
        int16_t piece, square;  // chosen piece and marked square before
        int from, to;           // palette cells of press and release; 0 = off the grid
        int drop;               // board square under the release point, or -1
        PaletteAction action;
        int16_t pieceAfter, squareAfter;
        int placedAt;  // vector index, or -1
    };
    using enum PaletteAction;
    const char* def = "pPnNbBrRqQkK";
    const Case cases[] = {
        {"piece first", def, false, -1, -1, 10, 10, -1, kChosen, 10, -1, -1},
        {"another piece only chooses", def, false, 10, 36, 4, 4, -1, kChosen, 4, 36, -1},
        {"square first", def, false, -1, 36, 4, 4, -1, kPlaced, 4, 36, 36},
        {"square first, reversed", def, true, -1, 0, 12, 12, -1, kPlaced, 12, 0, 63},
        {"drag beats the marked square", def, false, 3, 36, 12, 0, 60, kPlaced, 12, 60, 60},
        {"drag to nowhere, square marked", def, false, -1, 36, 9, 0, -1, kPlaced, 9, 36, 36},
        {"drag to nowhere", def, false, -1, -1, 9, 0, -1, kChosen, 9, -1, -1},
        {"drag between palette cells", def, false, -1, 36, 9, 3, -1, kNothing, -1, 36, -1},
        {"empty cell of the last row", "pPnNbBrRqQkKx", false, -1, 36, 14, 14, -1, kNothing, -1, 36, -1},
        {"marked square off a smaller board", def, false, -1, 99, 4, 4, -1, kChosen, 4, 99, -1},
    };
    for (const Case& c : cases) {
        const settings::Style style = Prepared(c.pieces);
        position::Vet vet;
        EditState st;
        st.Reversed = c.reversed ? 65 : 0;
        st.SelectedPiece = c.piece;
        st.SelectedSquare = c.square;
        const diagram::Point p = Cell(c.from), q = c.to > 0 ? Cell(c.to) : diagram::Point{2000, 3000};
        MouseDown(st, p.x, p.y, kLeftButton, 0);
        const PaletteRelease r = PaletteMouseUp(st, vet, style, q.x, q.y, c.drop);
        EXPECT_EQ(r.action, c.action) << c.what;
        EXPECT_EQ(st.SelectedPiece, c.pieceAfter) << c.what;
        EXPECT_EQ(st.SelectedSquare, c.squareAfter) << c.what;
        EXPECT_EQ(r.square, c.placedAt) << c.what;
        if (c.placedAt >= 0) {
            EXPECT_EQ(vet(position::kPosition, c.placedAt), CellCode(c.from, c.placedAt, style.Shape()))
                << c.what;
        }
    }
}

// A font style's palette: cells of the square's size in whole pixels, made
// smaller to keep the window within the room given, never below the least
// cell; a bitmap style's cells are its own whatever the room.
TEST(Palette, GridFitsTheRoom) {
    struct Case {
        const char* what;
        const char* font;
        int square;  // square side in pixels
        const char* pieces;
        int roomWidth, roomHeight;  // pixels; 0 = no limit
        int cell;                   // cell side in pixels
    };
    const char* def = "pPnNbBrRqQkK";
    const char* fairy = "pPnNbBrRqQkKgGzZxXaA";
    const Case cases[] = {
        {"font, room enough", "FreeSerif", 36, def, 0, 0, 36},
        {"font, room exactly", "FreeSerif", 36, def, 8 * 36 + 10, 2 * 36 + 30, 36},
        {"font, too wide", "FreeSerif", 56, def, 400, 300, 48},
        {"font, too high", "FreeSerif", 36, fairy, 800, 4 * 20 + 30, 20},
        {"font, tiny room", "FreeSerif", 36, def, 100, 100, 16},
        {"font, small square stays", "FreeSerif", 12, def, 100, 100, 12},
        {"bitmap keeps its cells", "", 36, def, 100, 100, 36},
    };
    for (const Case& c : cases) {
        settings::Style s;
        s.PIECESFONT = c.font;
        s.PIECESLIST = c.pieces;
        s.SQRWIDTH = s.SQRHEIGHT = static_cast<int16_t>(c.square * 15);
        diagram::ApplyComputedGeometry(s);
        const PaletteGrid g = PaletteGridOf(s, c.roomWidth * 15, c.roomHeight * 15);
        EXPECT_EQ(g, (PaletteGrid{c.cell * 15, c.cell * 15, c.cell * 15, c.cell * 15})) << c.what;
        const PaletteLayout l = LayoutPalette(s, g);
        if (c.roomWidth > 0 && *c.font != 0 && c.cell > 16) {
            EXPECT_LE(l.windowWidth, c.roomWidth * 15) << c.what;
            EXPECT_LE(l.windowHeight, c.roomHeight * 15) << c.what;
        }
        // Every man's cell lies in the palette and is read back as that man.
        const int n = static_cast<int>(s.PIECESLIST.size());
        for (int i = 1; i <= n; ++i) {
            const diagram::Point at = PaletteCellOrigin(g, i);
            EXPECT_LE(at.x + g.width, l.paletteWidth) << c.what << " " << i;
            EXPECT_LE(at.y + g.height, l.paletteHeight) << c.what << " " << i;
            EXPECT_EQ(PaletteIndex(s, g, at.x, at.y), i) << c.what;
            EXPECT_EQ(PaletteIndex(s, g, at.x + g.width - 1, at.y + g.height - 1), i) << c.what;
        }
    }
}

// Clicks are read by the cells the palette is drawn with, not by the squares.
TEST(Palette, ReleasesFollowTheGrid) {
    settings::Style s = Prepared();
    s.PIECESFONT = "FreeSerif";
    const PaletteGrid g{300, 300, 300, 300};
    position::Vet vet;
    EditState st;
    st.SelectedSquare = 36;
    MouseDown(st, 3 * 300 + 150, 300 + 150, kLeftButton, 0);  // the white queen's cell
    const PaletteRelease r = PaletteMouseUp(st, vet, s, g, 3 * 300 + 150, 300 + 150, -1);
    EXPECT_EQ(r.action, PaletteAction::kPlaced);
    EXPECT_EQ(vet(position::kPosition, 36), CellCode(10, 36, s.Shape()));
}

TEST(Palette, StaleChoiceIsDropped) {
    EditState st;
    st.SelectedPiece = 14;
    EXPECT_FALSE(DropStaleChoice(st, Prepared("pPnNbBrRqQkKxX")));
    EXPECT_TRUE(DropStaleChoice(st, Prepared()));
    EXPECT_EQ(st.SelectedPiece, -1);
}

}  // namespace
