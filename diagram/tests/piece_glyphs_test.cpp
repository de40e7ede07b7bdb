#include <gtest/gtest.h>

#include "diagram/piece_glyphs.h"

using namespace diagram;

namespace {

constexpr ManSide W = ManSide::kWhite;
constexpr ManSide B = ManSide::kBlack;
constexpr ManSide N = ManSide::kNeutral;

struct GlyphsCase {
    const char* text;
    std::vector<GlyphEntry> entries;
    std::vector<std::string> rejected;
};

class PiecesGlyphsTest : public ::testing::TestWithParam<GlyphsCase> {};

TEST_P(PiecesGlyphsTest, ReadsEntriesAndSkipsBadOnes) {
    const GlyphsCase& c = GetParam();
    const GlyphTable table = ParsePiecesGlyphs(c.text);
    EXPECT_EQ(table.entries, c.entries) << c.text;
    EXPECT_EQ(table.rejected, c.rejected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Glyphs, PiecesGlyphsTest,
    ::testing::Values(
        GlyphsCase{"", {}, {}}, GlyphsCase{" \t ", {}, {}},
        GlyphsCase{"g=q180 G=Q180 z=n90 Z=N90 x=q~",
                   {{'g', {ManKind::kQueen, B, 180}},
                    {'G', {ManKind::kQueen, W, 180}},
                    {'z', {ManKind::kKnight, B, 90}},
                    {'Z', {ManKind::kKnight, W, 90}},
                    {'x', {ManKind::kQueen, N, 0}}},
                   {}},
        GlyphsCase{"a=K270~\tb=p", {{'a', {ManKind::kKing, N, 270}}, {'b', {ManKind::kPawn, B, 0}}}, {}},
        // Bad ones one by one: wrong kind, angle, order of marks, missing parts.
        GlyphsCase{"g=x z=n45 y=q~180 =q w= ww=q v=q90x u=Q0 t=q360 s=Q90~",
                   {{'s', {ManKind::kQueen, N, 90}}},
                   {"g=x", "z=n45", "y=q~180", "=q", "w=", "ww=q", "v=q90x", "u=Q0", "t=q360"}},
        GlyphsCase{"g", {}, {"g"}}, GlyphsCase{"==q", {}, {"==q"}},
        // A later entry for a letter replaces the earlier one.
        GlyphsCase{"g=q g=B90", {{'g', {ManKind::kBishop, W, 90}}}, {}}));

TEST(StyleGlyphs, KindFromNotationColourFromLetterEntriesWin) {
    settings::Style style;
    style.PIECESLIST = "pPnNgGxXeE";
    style.ENGLISHNOTATION = "pPsSgGxXeE";  // German knights: no kind; g, x, e no kind either
    style.PIECESGLYPHS = "g=q180 G=Q180 x=r~ bad";
    const std::vector<Glyph> glyphs = StyleGlyphs(style);
    ASSERT_EQ(glyphs.size(), 11u);
    EXPECT_EQ(glyphs[0].kind, ManKind::kNone);
    EXPECT_EQ(glyphs[1], (Glyph{ManKind::kPawn, B, 0}));
    EXPECT_EQ(glyphs[2], (Glyph{ManKind::kPawn, W, 0}));
    EXPECT_EQ(glyphs[3].kind, ManKind::kNone);  // "s" is no English letter
    EXPECT_EQ(glyphs[5], (Glyph{ManKind::kQueen, B, 180}));
    EXPECT_EQ(glyphs[6], (Glyph{ManKind::kQueen, W, 180}));
    EXPECT_EQ(glyphs[7], (Glyph{ManKind::kRook, N, 0}));
    EXPECT_EQ(glyphs[8].kind, ManKind::kNone);
    EXPECT_EQ(glyphs[9].kind, ManKind::kNone);

    style.ENGLISHNOTATION = "pP";  // shorter than the pieces list
    EXPECT_EQ(StyleGlyphs(style)[3].kind, ManKind::kNone);
}

TEST(GlyphCodePoint, OutlineAndSolidForms) {
    EXPECT_EQ(GlyphCodePoint(ManKind::kKing, false), U'\u2654');
    EXPECT_EQ(GlyphCodePoint(ManKind::kPawn, false), U'\u2659');
    EXPECT_EQ(GlyphCodePoint(ManKind::kKing, true), U'\u265A');
    EXPECT_EQ(GlyphCodePoint(ManKind::kPawn, true), U'\u265F');
    EXPECT_EQ(GlyphCodePoint(ManKind::kNone, true), 0);
}

}  // namespace
