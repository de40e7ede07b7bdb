#include <gtest/gtest.h>

#include "diagram/piece_glyphs.h"

using namespace diagram;

namespace {

constexpr ManSide W = ManSide::kWhite;
constexpr ManSide B = ManSide::kBlack;
constexpr ManSide N = ManSide::kNeutral;

Glyph Marker(MarkerKind marker, ManSide side) {
    Glyph g;
    g.marker = marker;
    g.side = side;
    return g;
}

Glyph Text(const char* text) {
    Glyph g;
    g.text = text;
    return g;
}

Glyph Symbol(char32_t code) {
    Glyph g;
    g.symbol = code;
    return g;
}

Glyph Turned(Glyph g, int angle) {
    g.angle = angle;
    return g;
}

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
        GlyphsCase{"g=x z=n40 y=q~180 =q w= ww=q v=q90x u=Q0 t=q360 r=q045 s=Q90~",
                   {{'s', {ManKind::kQueen, N, 90}}},
                   {"g=x", "z=n40", "y=q~180", "=q", "w=", "ww=q", "v=q90x", "u=Q0", "t=q360", "r=q045"}},
        // Every eighth of a turn.
        GlyphsCase{"a=q45 b=N135~ c=r225 d=K315",
                   {{'a', {ManKind::kQueen, B, 45}},
                    {'b', {ManKind::kKnight, N, 135}},
                    {'c', {ManKind::kRook, B, 225}},
                    {'d', {ManKind::kKing, W, 315}}},
                   {}},
        // Markers: lower case black, upper case white, "~" neutral.
        GlyphsCase{"m=circle M=CIRCLE n=cross~ o=SQUARE~ t=triangle a=ASTERISK d=disc",
                   {{'m', Marker(MarkerKind::kCircle, B)},
                    {'M', Marker(MarkerKind::kCircle, W)},
                    {'n', Marker(MarkerKind::kCross, N)},
                    {'o', Marker(MarkerKind::kSquare, N)},
                    {'t', Marker(MarkerKind::kTriangle, B)},
                    {'a', Marker(MarkerKind::kAsterisk, W)},
                    {'d', Marker(MarkerKind::kDisc, B)}},
                   {}},
        GlyphsCase{"m=Circle n=circles o=circle90 p=~circle",
                   {},
                   {"m=Circle", "n=circles", "o=circle90", "p=~circle"}},
        // Texts of one or two characters, with one quote or two; UTF-8 counts
        // characters, not bytes.
        GlyphsCase{"a='A b='AB c=''12 d=''' e='\xC3\xA9\xC3\xA9",
                   {{'a', Text("A")},
                    {'b', Text("AB")},
                    {'c', Text("12")},
                    {'d', Text("'")},
                    {'e', Text("\xC3\xA9\xC3\xA9")}},
                   {}},
        GlyphsCase{"a=' b='ABC c=''ABC", {}, {"a='", "b='ABC", "c=''ABC"}},
        // Chess symbols of Unicode, and code points outside them.
        GlyphsCase{
            "e=U+1FA4E f=U+1fa00 g=U+2654 h=U+1FA53",
            {{'e', Symbol(0x1FA4E)}, {'f', Symbol(0x1FA00)}, {'g', Symbol(0x2654)}, {'h', Symbol(0x1FA53)}},
            {}},
        // Texts and symbols turned; an "@" that makes no turn belongs to the text.
        GlyphsCase{"a='G@90 b='pa@180 c=''AB@45 d=U+1FA4E@270 e='A@ f='@@90 g='@9",
                   {{'a', Turned(Text("G"), 90)},
                    {'b', Turned(Text("pa"), 180)},
                    {'c', Turned(Text("AB"), 45)},
                    {'d', Turned(Symbol(0x1FA4E), 270)},
                    {'e', Text("A@")},
                    {'f', Turned(Text("@"), 90)},
                    {'g', Text("@9")}},
                   {}},
        GlyphsCase{"a='G@0 b='G@100 c='G@360 d='ABC@90 e=U+1FA4E@ f=U+1FA4E@45~ g='@90",
                   {},
                   {"a='G@0", "b='G@100", "c='G@360", "d='ABC@90", "e=U+1FA4E@", "f=U+1FA4E@45~", "g='@90"}},
        GlyphsCase{"a=U+1FA54 b=U+0041 c=U+ d=U+1FA4E~ e=U+21FA4E f=u+1FA4E g=U+1FA4G",
                   {},
                   {"a=U+1FA54", "b=U+0041", "c=U+", "d=U+1FA4E~", "e=U+21FA4E", "f=u+1FA4E", "g=U+1FA4G"}},
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

// What GlyphLook writes, ParsePiecesGlyphs reads back as it was.
TEST(GlyphLook, WritesWhatIsReadBack) {
    const std::string entries =
        "a=q45~ b=N c=r270 d=CIRCLE e=disc~ f='A g='12 h=U+1FA4E i=U+2654 j=''' k=cross l='''A m='G@90 "
        "n=U+1FA4E@135 o='A@ p='@@45";
    const GlyphTable table = ParsePiecesGlyphs(entries);
    ASSERT_TRUE(table.rejected.empty());
    std::string written;
    for (const GlyphEntry& e : table.entries) {
        written += (written.empty() ? "" : " ") + std::string(1, e.letter) + "=" + GlyphLook(e.glyph);
    }
    EXPECT_EQ(written, entries);
    EXPECT_EQ(GlyphLook(Glyph{}), "");
}

TEST(TextCodePoints, Utf8AndStrayBytes) {
    EXPECT_EQ(TextCodePoints("AB"), U"AB");
    EXPECT_EQ(TextCodePoints("\xC3\xA9\xE2\x99\x94"), U"\u00E9\u2654");
    // A byte that starts no sequence is a Latin-1 character; an overlong
    // form or a cut sequence is read byte by byte.
    EXPECT_EQ(TextCodePoints("\xE9t\xE9"), U"\u00E9t\u00E9");
    EXPECT_EQ(TextCodePoints("\xC0\x80"), U"\u00C0\u0080");
    EXPECT_EQ(TextCodePoints("\xE2\x99"), U"\u00E2\u0099");
}

TEST(GlyphCodePoint, OutlineAndSolidForms) {
    EXPECT_EQ(GlyphCodePoint(ManKind::kKing, false), U'\u2654');
    EXPECT_EQ(GlyphCodePoint(ManKind::kPawn, false), U'\u2659');
    EXPECT_EQ(GlyphCodePoint(ManKind::kKing, true), U'\u265A');
    EXPECT_EQ(GlyphCodePoint(ManKind::kPawn, true), U'\u265F');
    EXPECT_EQ(GlyphCodePoint(ManKind::kNone, true), 0);
}

}  // namespace
