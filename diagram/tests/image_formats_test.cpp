#include <gtest/gtest.h>

#include <cmath>

#include "diagram/image_formats.h"

using namespace diagram;

namespace {

TEST(ImageFormats, ByExtensionAndByWord) {
    const std::pair<const char*, ImageFormat> names[] = {
        {"board.bmp", ImageFormat::kBmp},    {"board.PNG", ImageFormat::kPng},
        {"/a/b.svg", ImageFormat::kSvg},     {"b.Pdf", ImageFormat::kPdf},
        {"board", ImageFormat::kBmp},        {"board.gif", ImageFormat::kBmp},
        {"my.dir/board", ImageFormat::kBmp}, {"x.png.bmp", ImageFormat::kBmp},
        {".svg", ImageFormat::kSvg}};
    for (const auto& [name, format] : names) {
        EXPECT_EQ(FormatOfName(name), format) << name;
    }
    EXPECT_EQ(ParseFormat("SVG"), ImageFormat::kSvg);
    EXPECT_EQ(ParseFormat("jpeg"), std::nullopt);
    EXPECT_EQ(ParseFormat(""), std::nullopt);
}

TEST(ScaleStyle, MultipliesEveryLengthInWholePixels) {
    settings::Style s;
    s.SQRWIDTH = s.SQRHEIGHT = 36 * 15;
    s.SQRHTAB = 0;  // follows the square: stays 0
    s.SQRHSPC = 2 * 15;
    s.XBASE = 15 * 15;
    s.FONTYBASE = 300 * 15;
    s.FRAMEWIDTH = 1;
    s.FONTSIZE = 9;
    s.WNDWIDTH = 0;               // computed afresh
    s.WNDHEIGHT = 100 * 15 + 60;  // written: scaled without its 4-pixel margin
    ASSERT_EQ(ScaleStyle(s, 3), std::nullopt);
    EXPECT_EQ(s.SQRWIDTH, 108 * 15);
    EXPECT_EQ(s.SQRHEIGHT, 108 * 15);
    EXPECT_EQ(s.SQRHTAB, 0);
    EXPECT_EQ(s.SQRHSPC, 6 * 15);
    EXPECT_EQ(s.XBASE, 45 * 15);
    EXPECT_EQ(s.FONTYBASE, 900 * 15);
    EXPECT_EQ(s.FRAMEWIDTH, 3);
    EXPECT_EQ(s.FONTSIZE, 27);
    EXPECT_EQ(s.WNDWIDTH, 0);
    EXPECT_EQ(s.WNDHEIGHT, 300 * 15 + 60);

    // Halving keeps what was there at least one pixel or point.
    settings::Style h;
    h.FRAMEWIDTH = 1;
    h.FONTSIZE = 1;
    ASSERT_EQ(ScaleStyle(h, 0.25), std::nullopt);
    EXPECT_EQ(h.SQRWIDTH, 4 * 15);  // 3.75 pixels
    EXPECT_EQ(h.FRAMEWIDTH, 1);
    EXPECT_EQ(h.FONTSIZE, 1);
}

TEST(ScaleStyle, RefusesBadFactorsAndOverflowLeavingTheStyle) {
    for (double k : {0.0, -1.0, std::nan(""), HUGE_VAL, 1000.0}) {
        settings::Style s;
        const settings::Style before = s;
        EXPECT_NE(ScaleStyle(s, k), std::nullopt) << k;
        EXPECT_EQ(s, before) << k;
    }
}

TEST(HatchLines, RiseToTheRightInsideTheSquare) {
    for (const auto& [w, h] : {std::pair{40.0, 40.0}, {15.0, 15.0}, {60.0, 30.0}, {8.0, 300.0}}) {
        const auto lines = HatchLines(w, h);
        ASSERT_FALSE(lines.empty()) << w << "x" << h;
        for (const Segment& s : lines) {
            for (const auto& [x, y] : {std::pair{s.x1, s.y1}, {s.x2, s.y2}}) {
                EXPECT_GE(x, 0);
                EXPECT_LE(x, w);
                EXPECT_GE(y, 0);
                EXPECT_LE(y, h);
            }
            EXPECT_LT(s.x1, s.x2);
            EXPECT_GT(s.y1, s.y2);  // y grows downwards: the line rises
        }
        // Evenly spread over the whole square: about (w + h) / pitch lines.
        EXPECT_NEAR(static_cast<double>(lines.size()), (w + h) / HatchPitch(w, h), 1.0);
    }
    EXPECT_TRUE(HatchLines(0, 10).empty());
}

}  // namespace
