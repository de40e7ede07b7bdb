#include <gtest/gtest.h>

#include "diagram/geometry.h"

using namespace diagram;
using settings::Style;

namespace {

Style Prepared(Style s = {}) {
    ApplyComputedGeometry(s);
    return s;
}

TEST(ApplyComputedGeometry, DefaultPictureIs124Pixels) {
    Style s = Prepared();
    EXPECT_EQ(s.WNDWIDTH, 1860);
    EXPECT_EQ(s.WNDHEIGHT, 1860);
    EXPECT_EQ(s.SQRHTAB, 225);
    EXPECT_EQ(s.SQRVTAB, 225);
}

TEST(ApplyComputedGeometry, OversizedAndEmptyBoardsBecomeEightByEight) {
    struct Case {
        int rows, cols;
        bool reset;
    };
    for (const Case c : {Case{21, 20, true}, Case{30, 30, true}, Case{20, 20, false}, Case{0, 8, true},
                         Case{8, 0, true}, Case{-1, -1, true}, Case{1, 400, false}, Case{2, 201, true}}) {
        Style s;
        s.BORDERHEIGHT = static_cast<int16_t>(c.rows);
        s.BORDERWIDTH = static_cast<int16_t>(c.cols);
        ApplyComputedGeometry(s);
        if (c.reset) {
            EXPECT_EQ(s.BORDERHEIGHT, 8) << c.rows << "x" << c.cols;
            EXPECT_EQ(s.BORDERWIDTH, 8);
            EXPECT_EQ(s.WNDWIDTH, 1860);
        } else {
            EXPECT_EQ(s.BORDERHEIGHT, c.rows);
            EXPECT_EQ(s.BORDERWIDTH, c.cols);
        }
    }
}

TEST(ApplyComputedGeometry, KeepsStoredSizesAndReportsSquareBoards) {
    Style s;
    s.WNDWIDTH = 3000;
    s.BORDERWIDTH = 10;
    EXPECT_FALSE(ApplyComputedGeometry(s));
    EXPECT_EQ(s.WNDWIDTH, 3000);
    EXPECT_EQ(s.WNDHEIGHT, 7 * 225 + 225 + 60);
    s.BORDERHEIGHT = 10;
    EXPECT_TRUE(ApplyComputedGeometry(s));
}

TEST(ApplyComputedGeometry, SpacingAndMarginsEnterTheSize) {
    Style s;
    s.SQRWIDTH = 300;
    s.SQRHSPC = 30;
    s.XBASE = 45;
    s.YBASE = 15;
    s.SQRVSPC = 15;
    ApplyComputedGeometry(s);
    EXPECT_EQ(s.SQRHTAB, 300);
    EXPECT_EQ(s.WNDWIDTH, 7 * 330 + 90 + 300 + 60);
    EXPECT_EQ(s.WNDHEIGHT, 7 * 240 + 30 + 225 + 60);
}

TEST(PixToInd, SpacingIsSharedByNeighbours) {
    Style s;
    s.SQRWIDTH = 300;
    s.SQRHSPC = 30;
    s = Prepared(s);
    struct Case {
        double x;
        int col;
    };
    for (const Case c : {Case{-16, -1}, Case{-15, 0}, Case{0, 0}, Case{314, 0}, Case{315, 1},
                         Case{7 * 330 + 314, 7}, Case{7 * 330 + 315, -1}}) {
        EXPECT_EQ(PixToInd(s, c.x, 10), c.col) << c.x;
    }
    EXPECT_EQ(PixToInd(s, 10, 225 * 3 + 1), 24);
    EXPECT_EQ(PixToInd(s, 10, -1), -1);
    EXPECT_EQ(PixToInd(s, 10, 225 * 8), -1);
}

TEST(PutPecaGeometry, SourceAtBitmapPitchTargetAtBoardPitch) {
    Style s;
    s.SQRWIDTH = 300;
    s.SQRHSPC = 30;
    s = Prepared(s);
    // Code of a white king (12) on a dark square: second row of the bitmap.
    const CellCopy c = PutPecaGeometry(s, 0, 12 + 13, 10);
    EXPECT_EQ(c.source, (Point{12 * 300.0, 225}));
    EXPECT_EQ(c.target, (Point{1 * 330.0, 225}));
    EXPECT_EQ(c.width, 300);
    // Reversed: square 9 (s1 = 10) shows at display position 64 - 10 = 54.
    const CellCopy r = PutPecaGeometry(s, 65, 0, 10);
    EXPECT_EQ(r.target, (Point{6 * 330.0, 6 * 225.0}));
}

TEST(FrameLines, CentredHalfTheWidthIn) {
    Style s;
    s.FRAMEWIDTH = 3;
    s = Prepared(s);
    const auto lines = FrameLines(s);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].from, (Point{22, 0}));
    EXPECT_EQ(lines[1].from, (Point{0, 22}));
    EXPECT_EQ(lines[2].from.x, 1860 - 88);
    EXPECT_EQ(lines[3].from.y, 1860 - 88);
    s.FRAMEWIDTH = 0;
    EXPECT_TRUE(FrameLines(s).empty());
}

TextSize Fixed(const std::string&) {
    return {90, 150};
}

TEST(Lettering, PlacementWordsAndReversedView) {
    Style s;
    s.SHOWGRID = 1;
    s.BORDERHEIGHT = 6;
    s.FONTXBASE = 15;
    s.FONTYBASE = 30;
    s = Prepared(s);
    auto labels = LetteringLabels(s, 0, Fixed);
    ASSERT_EQ(labels.size(), 14u);
    EXPECT_EQ(labels[0].text, "6");
    EXPECT_EQ(labels[0].at, (Point{15, 0}));
    EXPECT_EQ(labels[6].text, "a");
    EXPECT_EQ(labels[6].at, (Point{0, 30}));
    EXPECT_EQ(labels[13].text, "h");
    EXPECT_EQ(labels[13].at.x, 7 * 225);

    // Reversed: numbers 1..6 from the top, letters h..a from the left.
    labels = LetteringLabels(s, 6 * 8 + 1, Fixed);
    EXPECT_EQ(labels[5].text, "1");
    EXPECT_EQ(labels[5].at.y, 0);
    EXPECT_EQ(labels[0].at.y, 5 * 225);
    EXPECT_EQ(labels[13].at.x, 0);

    s.FONTPOS = "RIGHT DOWN";
    s.SQRHSPC = 30;
    s.FONTSTYLE = "CAPS";
    labels = LetteringLabels(s, 0, Fixed);
    EXPECT_EQ(labels[0].at.y, 225 - 150);
    EXPECT_EQ(labels[6].text, "A");
    EXPECT_EQ(labels[6].at.x, 255 - 90 - 30);

    s.FONTPOS = "CENTER MIDDLE";
    labels = LetteringLabels(s, 0, Fixed);
    EXPECT_EQ(labels[0].at.y, (225 - 150) / 2.0);
    EXPECT_EQ(labels[6].at.x, (225 - 90) / 2.0);

    s.SHOWGRID = 0;
    EXPECT_TRUE(LetteringLabels(s, 0, Fixed).empty());
}

TEST(MainWindowSize, BookPanelNeedsRoom) {
    Style s = Prepared();
    EXPECT_EQ(MainWindowSize(s, false).height, 1860 + 1350);
    EXPECT_EQ(MainWindowSize(s, true).height, 5580);
    EXPECT_EQ(MainWindowSize(s, false).width, 6645);
    s.WNDWIDTH = 4000;
    EXPECT_EQ(MainWindowSize(s, false).width, 7300);
}

TEST(Build, PaintsOnlyChangedSquares) {
    Style s = Prepared();
    position::Vet vet;
    position::ResetVet(vet, s.Shape());
    std::vector<std::pair<int, int>> painted;
    auto record = [&](int code, int s1) { painted.emplace_back(code, s1); };
    Build(vet, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", s, record);
    EXPECT_EQ(painted.size(), 64u);
    EXPECT_EQ(painted[0], (std::pair{7, 1}));       // black rook on a light square
    EXPECT_EQ(painted[1], (std::pair{3 + 13, 2}));  // black knight on a dark square
    EXPECT_EQ(painted[20], (std::pair{0, 21}));     // empty light square (e6)
    painted.clear();
    Build(vet, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR", s, record);
    ASSERT_EQ(painted.size(), 2u);
    EXPECT_EQ(painted[0], (std::pair{2, 37}));
    EXPECT_EQ(painted[1], (std::pair{0, 53}));
}

}  // namespace
