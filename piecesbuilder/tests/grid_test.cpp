#include "grid.h"

#include <gtest/gtest.h>

namespace piecesbuilder {
namespace {

Grid Squares(int pixelsHigh, int pixelsWide, int cols = 13, int offsetPixels = 0) {
    Grid grid;
    grid.AtualHeight = TwipsOf(pixelsHigh);
    grid.AtualWidth = TwipsOf(pixelsWide);
    grid.AtualCols = static_cast<int16_t>(cols);
    grid.Offset = static_cast<int16_t>(TwipsOf(offsetPixels));
    return grid;
}

TEST(StatusText, ShowsColumnsThenHeightByWidthInPixels) {
    EXPECT_EQ(StatusText(Grid{}), "Area (in squares): 2 x 13      Square (in pixels): 25 x 25");
    EXPECT_EQ(StatusText(Squares(30, 40, 1)), "Area (in squares): 2 x 1      Square (in pixels): 30 x 40");
    Grid odd;
    odd.AtualHeight = 457;  // 30.47 pixels shows 30
    odd.AtualWidth = 458;   // 30.53 pixels shows 31
    EXPECT_EQ(StatusText(odd), "Area (in squares): 2 x 13      Square (in pixels): 30 x 31");
}

TEST(ZoomedLength, GoesToTheNextWholePixelAbove) {
    struct Case {
        int pixels;
        double factor;
        int expectedPixels;
    };
    const Case cases[] = {
        {30, 1.1, 34},  // 33 exactly still moves on to 34
        {10, 0.9, 10},  // 9 goes up to 10: zooming out stops here
        {30, 0.9, 28},  // 27 up to 28
        {25, 1.1, 28},  // 27.5 pixels -> 413 twips -> 28
        {1, 0.9, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ZoomedLength(TwipsOf(c.pixels), c.factor), TwipsOf(c.expectedPixels))
            << c.pixels << " x " << c.factor;
    }
    const Grid zoomed = Zoomed(Squares(30, 10, 5, 2), 1.1);
    EXPECT_EQ(zoomed.AtualHeight, TwipsOf(34));
    EXPECT_EQ(zoomed.AtualWidth, TwipsOf(12));
    EXPECT_EQ(zoomed.Offset, TwipsOf(2));
    EXPECT_EQ(zoomed.AtualCols, 5);
}

TEST(SquareAt, MapsPointsByTheStepOfSizeLessOffset) {
    struct Case {
        Grid grid;
        int xPixels;
        int yPixels;
        std::optional<Square> expected;
    };
    const Grid plain = Squares(25, 25);
    const Grid overlapped = Squares(25, 25, 13, 2);  // step 23 pixels, set 301 x 48
    const Case cases[] = {
        {plain, 0, 0, Square{0, 0}},          {plain, 24, 24, Square{0, 0}},
        {plain, 25, 25, Square{1, 1}},        {plain, 324, 49, Square{1, 12}},
        {plain, 325, 10, std::nullopt},  // right margin
        {plain, 10, 50, std::nullopt},   // bottom margin
        {plain, -1, 10, std::nullopt},        {overlapped, 22, 22, Square{0, 0}},
        {overlapped, 23, 23, Square{1, 1}},   {overlapped, 275, 45, Square{1, 11}},
        {overlapped, 276, 46, Square{1, 12}},  // far strip of the last square: still its own
        {overlapped, 300, 47, Square{1, 12}}, {overlapped, 301, 10, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SquareAt(c.grid, TwipsOf(c.xPixels), TwipsOf(c.yPixels)), c.expected)
            << c.xPixels << "," << c.yPixels << " offset " << c.grid.Offset;
    }
    // Squares that do not advance cannot be clicked, rather than dividing by zero.
    EXPECT_EQ(SquareAt(Squares(25, 25, 13, 25), 0, 0), std::nullopt);
    EXPECT_EQ(SquareAt(Squares(25, 25, 13, 30), 15, 15), std::nullopt);
}

TEST(Legend, LabelsColumnsWithThePieceLettersUpTo117) {
    EXPECT_EQ(Legend().size(), 117u);
    const std::pair<int, std::string> cases[] = {
        {0, " "},  {1, "p"},   {2, "P"},  {12, "K"}, {13, " "},
        {14, "p"}, {116, "K"}, {117, ""}, {500, ""}, {-1, ""},
    };
    for (const auto& [col, letter] : cases) {
        EXPECT_EQ(LegendLetter(col), letter) << col;
    }
}

TEST(PlanSquarePaste, FirstPasteAfterNewSetsTheSizeLaterOnesMustMatch) {
    Grid armed;
    armed.fReset = 1;

    const PastePlan first = PlanSquarePaste(armed, 30, 30);
    EXPECT_EQ(first.kind, PasteKind::kResizeAndPaint);
    EXPECT_EQ(first.grid.AtualHeight, TwipsOf(30));
    EXPECT_EQ(first.grid.AtualWidth, TwipsOf(30));
    EXPECT_EQ(first.grid.fReset, 0);

    EXPECT_EQ(PlanSquarePaste(first.grid, 30, 31).kind, PasteKind::kMismatch);
    EXPECT_EQ(PlanSquarePaste(first.grid, 31, 30).kind, PasteKind::kMismatch);
    EXPECT_EQ(PlanSquarePaste(first.grid, 30, 30).kind, PasteKind::kPaint);

    // A first square that already has the size fixes it too: the next of another size is refused
    // instead of wiping the grid.
    const PastePlan same = PlanSquarePaste(armed, 25, 25);
    EXPECT_EQ(same.kind, PasteKind::kPaint);
    EXPECT_EQ(same.grid.fReset, 0);
    EXPECT_EQ(PlanSquarePaste(same.grid, 30, 30).kind, PasteKind::kMismatch);

    // Unusable sizes change nothing, even while armed.
    Grid armedOffset = armed;
    armedOffset.Offset = TwipsOf(10);
    EXPECT_EQ(PlanSquarePaste(armedOffset, 10, 40).kind, PasteKind::kRefused);
    EXPECT_EQ(PlanSquarePaste(armed, 5000, 5000).kind, PasteKind::kRefused);
    EXPECT_EQ(PlanSquarePaste(armed, 5000, 5000).grid.fReset, 1);
}

TEST(Columns, AddAndRemoveKeepAtLeastOne) {
    EXPECT_EQ(WithColumnAdded(Grid{}).AtualCols, 14);
    EXPECT_EQ(WithColumnRemoved(Grid{}).AtualCols, 12);
    EXPECT_EQ(WithColumnRemoved(Squares(25, 25, 1)).AtualCols, 1);
    // Growing past the largest picture is refused.
    Grid wide = Squares(25, 25, kMaxPictureSide / 25);
    EXPECT_FALSE(CheckGrid(WithColumnAdded(wide)).ok);
    Grid full = Squares(1, 1, 32767);
    EXPECT_FALSE(CheckGrid(WithColumnAdded(full)).ok);
}

TEST(Shrink, CutsTwoPixelsAndCopiesFromTheShiftedSquare) {
    const Grid grid = Squares(30, 20, 2, 1);
    const Grid shrunk = Shrunk(grid);
    EXPECT_EQ(StatusText(shrunk), "Area (in squares): 2 x 2      Square (in pixels): 28 x 18");

    struct Case {
        int shift;
        int firstTopPixels;
    };
    for (const Case c : {Case{15, 1}, Case{30, 2}}) {
        const std::vector<SquareMove> moves = ShrinkMoves(grid, c.shift);
        ASSERT_EQ(moves.size(), 4u);
        // Square (1, 1): from (19 + 1, 29 + shift) in the old picture to (17, 27) in the new one.
        const SquareMove& last = moves[3];
        EXPECT_EQ(last.from.x, TwipsOf(19 + 1));
        EXPECT_EQ(last.from.y, TwipsOf(29 + c.firstTopPixels));
        EXPECT_EQ(last.to.x, TwipsOf(17));
        EXPECT_EQ(last.to.y, TwipsOf(27));
        EXPECT_EQ(last.size.width, TwipsOf(18));
        EXPECT_EQ(last.size.height, TwipsOf(28));
    }
    // Squares no larger than the offset plus two pixels cannot shrink.
    EXPECT_FALSE(CheckGrid(Shrunk(Squares(2, 2))).ok);
    EXPECT_FALSE(CheckGrid(Shrunk(Squares(5, 5, 13, 3))).ok);
    EXPECT_TRUE(CheckGrid(Shrunk(Squares(3, 3))).ok);
}

TEST(FromWholeSet, DerivesSquaresFromTheBitmapColumnsAndOffset) {
    struct Case {
        int cols;
        int offsetPixels;
        int width;
        int height;
        int32_t expectedWidth;
        int32_t expectedHeight;
    };
    const Case cases[] = {
        {13, 0, 195, 30, TwipsOf(15), TwipsOf(15)},
        {13, 2, 301, 48, TwipsOf(25), TwipsOf(25)},
        {13, 0, 200, 61, 231, 458},  // not a whole set: nearest whole twip
        {1, 0, 40, 80, TwipsOf(40), TwipsOf(40)},
    };
    for (const Case& c : cases) {
        Grid grid = Squares(25, 25, c.cols, c.offsetPixels);
        grid.fReset = 1;
        const Grid set = FromWholeSet(grid, c.width, c.height);
        EXPECT_EQ(set.AtualWidth, c.expectedWidth) << c.width;
        EXPECT_EQ(set.AtualHeight, c.expectedHeight) << c.height;
        EXPECT_EQ(set.AtualCols, c.cols);
        EXPECT_EQ(set.fReset, 0);
    }
    EXPECT_FALSE(CheckGrid(FromWholeSet(Grid{}, 10, 30)).ok);  // squares under a pixel wide
}

TEST(OffsetFromAnswer, TakesTheWholePartOfTheLeadingNumber) {
    const std::pair<std::string, std::optional<int16_t>> cases[] = {
        {"", std::nullopt},
        {"0", 0},
        {"2", 30},
        {" 2.9", 30},
        {"-1", -15},
        {"3px", 45},
        {"abc", 0},
        {"+4", 60},
        {"2184", 32760},
        {"2185", std::nullopt},
        {"-2185", std::nullopt},
        {"99999999999999", std::nullopt},
    };
    for (const auto& [answer, expected] : cases) {
        EXPECT_EQ(OffsetFromAnswer(answer), expected) << '"' << answer << '"';
    }
    Grid grid;
    grid.Offset = 30;
    EXPECT_EQ(OffsetCaption(grid), "S&quare Offset: 2");
    grid.Offset = -30;
    EXPECT_EQ(OffsetCaption(grid), "S&quare Offset: -2");
    grid.Offset = kStartSquare;
    EXPECT_FALSE(CheckGrid(grid).ok);
}

// Which squares the finished set takes from the work picture, through the commands that
// move or drop squares.
TEST(Filling, FollowsPastesDuplicateAndColumns) {
    Filling f;
    f.Reset(13);
    f.Mark({0, 2});
    f.Mark({1, 12});
    f.Mark({2, 0});   // no third row
    f.Mark({0, 13});  // beyond the columns
    EXPECT_TRUE(f.IsFilled({0, 2}));
    EXPECT_TRUE(f.IsFilled({1, 12}));
    EXPECT_FALSE(f.IsFilled({1, 2}));
    EXPECT_FALSE(f.IsFilled({0, 13}));
    EXPECT_FALSE(f.IsFilled({-1, 0}));

    f.DuplicateRow();  // the second row is the first one's, its own pictures gone
    EXPECT_TRUE(f.IsFilled({1, 2}));
    EXPECT_FALSE(f.IsFilled({1, 12}));

    f.Resize(2);  // columns removed take their squares along
    f.Resize(4);  // and come back empty
    EXPECT_FALSE(f.IsFilled({0, 2}));
    f.FillAll(4);
    EXPECT_TRUE(f.IsFilled({1, 3}));
    f.Reset(4);
    EXPECT_FALSE(f.IsFilled({1, 3}));
}

TEST(SquarePixels, StepsBySizeLessOffset) {
    Grid grid;
    grid.AtualWidth = TwipsOf(30);
    grid.AtualHeight = TwipsOf(20);
    EXPECT_EQ(SquarePixels(grid, 1, 12), (PixelRect{360, 20, 30, 20}));
    grid.Offset = static_cast<int16_t>(TwipsOf(2));
    EXPECT_EQ(SquarePixels(grid, 1, 1), (PixelRect{28, 18, 30, 20}));
    // The last square ends where the set does.
    const PixelRect last = SquarePixels(grid, 1, grid.AtualCols - 1);
    EXPECT_EQ(last.x + last.width, PixelsOf(SetExtent(grid).width));
    EXPECT_EQ(last.y + last.height, PixelsOf(SetExtent(grid).height));
}

}  // namespace
}  // namespace piecesbuilder
