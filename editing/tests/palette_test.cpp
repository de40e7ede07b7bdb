#include <gtest/gtest.h>

#include "diagram/geometry.h"
#include "editing/mouse_edit.h"
#include "editing/palette.h"

using namespace editing;

namespace {

settings::Style Prepared(const char* pieces = "pPnNbBrRqQkK") {
    settings::Style s;
    s.PIECESLIST = pieces;
    diagram::PrepareStyle(s);
    return s;
}

// Middle of palette cell i (1-based).
diagram::Point Cell(int i) {
    return {(i - 1) % 6 * 225 + 112.0, (i - 1) / 6 * 225 + 112.0};
}

TEST(Palette, LayoutAndCells) {
    const settings::Style s = Prepared();
    const PaletteLayout l = LayoutPalette(s);
    EXPECT_EQ(l.rows, 2);
    EXPECT_EQ(l.paletteHeight, 225 + 225 + 60);
    EXPECT_EQ(l.paletteWidth, 5 * 225 + 225 + 60);
    EXPECT_EQ(l.windowHeight, l.paletteHeight + 380);
    EXPECT_EQ(l.windowWidth, l.paletteWidth + 90 + 450);
    EXPECT_EQ(l.preview, (diagram::Point{l.paletteWidth + 112.5, 112.5}));

    // Row 0: p P n N b B; row 1: r R q Q k K.
    const auto copies = PaletteCopies(s);
    ASSERT_EQ(copies.size(), 12u);
    EXPECT_EQ(copies[0].source, (diagram::Point{225, 0}));
    EXPECT_EQ(copies[0].target, (diagram::Point{0, 0}));
    EXPECT_EQ(copies[5].target, (diagram::Point{5 * 225, 0}));
    EXPECT_EQ(copies[6].source, (diagram::Point{7 * 225, 0}));
    EXPECT_EQ(copies[6].target, (diagram::Point{0, 225}));
    EXPECT_EQ(copies[11].target, (diagram::Point{5 * 225, 225}));

    EXPECT_FALSE(PreviewCopy(s, -1));
    EXPECT_EQ(PreviewCopy(s, 12)->source, (diagram::Point{12 * 225, 0}));
    EXPECT_EQ(LayoutPalette(Prepared("pPnNbBrRqQkKx")).rows, 3);
}

TEST(Palette, IndexOfAPoint) {
    struct Case {
        const char* pieces;
        double x, y;
        int index;
    };
    for (const Case c : {Case{"pPnNbBrRqQkK", 10, 10, 1}, Case{"pPnNbBrRqQkK", 5 * 225 + 224, 10, 6},
                         Case{"pPnNbBrRqQkK", 10, 225, 7}, Case{"pPnNbBrRqQkK", 5 * 225 + 10, 300, 12},
                         Case{"pPnNbBrRqQkK", 6 * 225 + 1, 10, 0}, Case{"pPnNbBrRqQkK", 10, 450, 0},
                         Case{"pPnNbBrRqQkK", -1, 10, 0}, Case{"pPnNbBrRqQkKx", 10, 460, 13},
                         Case{"pPnNbBrRqQkKx", 300, 460, 14}}) {
        EXPECT_EQ(PaletteIndex(Prepared(c.pieces), c.x, c.y), c.index)
            << c.pieces << " " << c.x << "," << c.y;
    }
}

struct Release {
    const char* what;
    const char* pieces;
    bool reversed;
    int16_t piece, square;  // chosen piece and marked square before
    int from;               // palette cell of the press
    int to;                 // palette cell of the release, or 0 for off the grid
    int drop;               // board square under the release point, or -1
    PaletteAction action;
    int16_t pieceAfter, squareAfter;
    int placedAt;  // vector index, or -1
};

TEST(Palette, Releases) {
    using enum PaletteAction;
    const Release cases[] = {
        {"piece first", "pPnNbBrRqQkK", false, -1, -1, 10, 10, -1, kChosen, 10, -1, -1},
        {"another piece only changes the choice", "pPnNbBrRqQkK", false, 10, 36, 4, 4, -1, kChosen, 4, 36,
         -1},
        {"square first", "pPnNbBrRqQkK", false, -1, 36, 4, 4, -1, kPlaced, 4, 36, 36},
        {"square first, reversed", "pPnNbBrRqQkK", true, -1, 0, 12, 12, -1, kPlaced, 12, 0, 63},
        {"drag onto the board", "pPnNbBrRqQkK", false, -1, -1, 12, 0, 60, kPlaced, 12, 60, 60},
        {"drag beats the marked square", "pPnNbBrRqQkK", false, 3, 36, 12, 0, 60, kPlaced, 12, 60, 60},
        {"drag onto a reversed board", "pPnNbBrRqQkK", true, -1, -1, 2, 0, 63, kPlaced, 2, 63, 0},
        {"drag to nowhere, square marked", "pPnNbBrRqQkK", false, -1, 36, 9, 0, -1, kPlaced, 9, 36, 36},
        {"drag to nowhere", "pPnNbBrRqQkK", false, -1, -1, 9, 0, -1, kChosen, 9, -1, -1},
        {"drag between palette cells", "pPnNbBrRqQkK", false, -1, 36, 9, 3, -1, kNothing, -1, 36, -1},
        {"empty cell of the last row", "pPnNbBrRqQkKx", false, -1, 36, 14, 14, -1, kNothing, -1, 36, -1},
        {"press off the grid", "pPnNbBrRqQkK", false, 2, 36, 0, 0, 36, kNothing, 2, 36, -1},
        {"marked square off a smaller board", "pPnNbBrRqQkK", false, -1, 99, 4, 4, -1, kChosen, 4, 99, -1},
    };
    for (const Release& c : cases) {
        const settings::Style style = Prepared(c.pieces);
        const int n = static_cast<int>(style.PIECESLIST.size());
        position::Vet vet;
        EditState st;
        st.Reversed = c.reversed ? 65 : 0;
        st.SelectedPiece = c.piece;
        st.SelectedSquare = c.square;
        const diagram::Point p = c.from > 0 ? Cell(c.from) : diagram::Point{-50, -50};
        const diagram::Point q = c.to > 0 ? Cell(c.to) : diagram::Point{2000, 3000};
        MouseDown(st, p.x, p.y, kLeftButton, 0);
        const PaletteRelease r = PaletteMouseUp(st, vet, style, q.x, q.y, c.drop);
        EXPECT_EQ(r.action, c.action) << c.what;
        EXPECT_EQ(st.SelectedPiece, c.pieceAfter) << c.what;
        EXPECT_EQ(st.SelectedSquare, c.squareAfter) << c.what;
        EXPECT_EQ(r.square, c.placedAt) << c.what;
        for (int s = 0; s < position::kCells; ++s) {
            const int v = vet(position::kPosition, s);
            if (s == c.placedAt) {
                EXPECT_EQ(position::PieceOf(v, n), c.from) << c.what;
                EXPECT_EQ(v, c.from + (n + 1) * position::SqrColor(s, 8)) << c.what;
            } else {
                EXPECT_EQ(v, 0) << c.what << " square " << s;
            }
        }
    }
}

TEST(Palette, StaleChoiceIsDropped) {
    EditState st;
    st.SelectedPiece = 14;
    EXPECT_FALSE(DropStaleChoice(st, Prepared("pPnNbBrRqQkKxX")));
    EXPECT_TRUE(DropStaleChoice(st, Prepared()));
    EXPECT_EQ(st.SelectedPiece, -1);
}

}  // namespace
