#include <gtest/gtest.h>

#include "editing/graphic.h"

using namespace editing;

namespace {

// An 8 x 8 board of 450-twip squares from the picture's corner.
settings::Style BigSquares() {
    settings::Style style;
    style.SQRWIDTH = style.SQRHEIGHT = style.SQRHTAB = style.SQRVTAB = 450;
    return style;
}

TEST(Graphic, PenWidthFromTheWidthBox) {
    const struct {
        const char* text;
        int width;
    } cases[] = {
        {"3", 3},
        {"2.5", 2},
        {"3.5", 4},
        {" 7 px", 7},
        {"", 1},
        {"0", 1},
        {"-4", 1},
        {"x", 1},
        {"0.4", 1},
        {"&H10", 16},
        {"1000", kMaxPenWidth},
        {"1e400", kMaxPenWidth},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PenWidthOf(c.text), c.width) << '"' << c.text << '"';
    }
}

TEST(Graphic, SnapOrigins) {
    const struct {
        const char* what;
        SnapMode mode;
        int16_t xbase, ybase, hspc, vspc;
        SnapOrigin origin;
    } cases[] = {
        {"centre", SnapMode::kCenter, 0, 0, 0, 0, {225, 225}},
        {"centre with a margin", SnapMode::kCenter, 30, 45, 15, 15, {255, 270}},
        {"corner half a gap back", SnapMode::kCorner, 30, 60, 15, 30, {22, 45}},
        {"corner, halves to even", SnapMode::kCorner, 31, 31, 15, 15, {24, 24}},
        {"corner before the picture", SnapMode::kCorner, 0, 0, 15, 15, {-8, -8}},
        {"off", SnapMode::kOff, 30, 30, 0, 0, {-1, -1}},
    };
    for (const auto& c : cases) {
        settings::Style style = BigSquares();
        style.XBASE = c.xbase;
        style.YBASE = c.ybase;
        style.SQRHSPC = c.hspc;
        style.SQRVSPC = c.vspc;
        EXPECT_EQ(SnapOriginOf(c.mode, style), c.origin) << c.what;
    }
}

TEST(Graphic, SnapCoordinateTakesTheNearestGridPosition) {
    const struct {
        double v;
        int origin, pitch, count;
        double snapped;
    } cases[] = {
        {10, 225, 450, 8, 225},      // inside the first square
        {449, 225, 450, 8, 225},     //
        {450, 225, 450, 8, 675},     // a midpoint belongs to the next position
        {3599, 225, 450, 8, 3375},   // inside the last square
        {4000, 225, 450, 8, 3825},   // the extra position past the board
        {4050, 225, 450, 8, 4050},   // at the last midpoint: not moved
        {22, 0, 45, 8, 0},           // half a pitch keeps its fraction
        {22.5, 0, 45, 8, 45},        //
        {22.4999999, 0, 45, 8, 45},  // single precision makes this 22.5
        {-50, -8, 450, 8, -8},       // below the grid: the first position
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SnapCoordinate(c.v, c.origin, c.pitch, c.count), c.snapped) << c.v;
    }
}

TEST(Graphic, Release) {
    using enum GraphicObject;
    const struct {
        const char* what;
        GraphicObject object;
        SnapMode mode;
        int16_t xbase, hspc;
        bool left;
        double px, py, x, y;
        Stroke stroke;
    } cases[] = {
        {"unsnapped line",
         kLine,
         SnapMode::kOff,
         0,
         0,
         true,
         100,
         200,
         1000,
         2000,
         {Stroke::kLine, 100, 200, 1000, 2000, 0}},
        {"a1 to h8 centre to centre",
         kLine,
         SnapMode::kCenter,
         0,
         0,
         true,
         20,
         3580,
         3590,
         440,
         {Stroke::kLine, 225, 3375, 3375, 225, 0}},
        {"corners",
         kLine,
         SnapMode::kCorner,
         0,
         0,
         true,
         200,
         260,
         700,
         10,
         {Stroke::kLine, 0, 450, 900, 0, 0}},
        {"corner origin before the picture: no snapping",
         kLine,
         SnapMode::kCorner,
         7,
         30,
         true,
         200,
         260,
         700,
         10,
         {Stroke::kLine, 200, 260, 700, 10, 0}},
        {"circle: centre snaps, radius does not",
         kCircle,
         SnapMode::kCenter,
         0,
         0,
         true,
         100,
         100,
         370.5,
         900,
         {Stroke::kCircle, 225, 225, 0, 0, 270}},
        {"radius halves to even",
         kCircle,
         SnapMode::kOff,
         0,
         0,
         true,
         100,
         100,
         102.5,
         100,
         {Stroke::kCircle, 100, 100, 0, 0, 2}},
        {"free hand: a dot where released",
         kFreeHand,
         SnapMode::kCenter,
         0,
         0,
         true,
         100,
         100,
         333,
         444,
         {Stroke::kDot, 333, 444, 0, 0, 0}},
        {"right button", kLine, SnapMode::kOff, 0, 0, false, 100, 200, 1000, 2000, {}},
        {"no press armed", kLine, SnapMode::kOff, 0, 0, true, -1, 200, 1000, 2000, {}},
    };
    for (const auto& c : cases) {
        settings::Style style = BigSquares();
        style.XBASE = c.xbase;
        style.SQRHSPC = c.hspc;
        EXPECT_EQ(ReleaseStroke(c.object, c.mode, style, c.left, c.px, c.py, c.x, c.y), c.stroke) << c.what;
    }
}

TEST(Graphic, OnlyTheHorizontalOriginDecidesOnSnapping) {
    // The corner grid's vertical origin lies above the picture; the points
    // still snap to it, as the horizontal origin allows snapping.
    settings::Style style = BigSquares();
    style.XBASE = 30;
    style.SQRHSPC = 30;
    style.SQRVSPC = 30;
    const Stroke s = ReleaseStroke(GraphicObject::kLine, SnapMode::kCorner, style, true, 40, 40, 600, 600);
    EXPECT_EQ(s, (Stroke{Stroke::kLine, 15, -15, 495, 465, 0}));
}

}  // namespace
