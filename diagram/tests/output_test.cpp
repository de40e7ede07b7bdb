#include <gtest/gtest.h>

#include "diagram/geometry.h"
#include "diagram/output.h"

using namespace diagram;

namespace {

// The board as the window has it after showing `fen`: both planes filled.
position::Vet Shown(const std::string& fen, const settings::Style& style) {
    position::Vet vet;
    position::ResetVet(vet, style.Shape());
    Build(vet, fen, style, {});
    return vet;
}

std::string Tag(const std::string& name) {
    return "<img src=\"" + name + ".gif\">";
}

TEST(HtmlFragment, StartPositionRowByRow) {
    const settings::Style style;
    const std::string h = HtmlFragment(Shown(std::string(position::kStandardStartPos), style), style.Shape());
    const std::string first = Tag("rbw") + Tag("nbb") + Tag("bbw") + Tag("qbb") + Tag("kbw") + Tag("bbb") +
                              Tag("nbw") + Tag("rbb") + "<br>\r\n";
    EXPECT_EQ(h.substr(0, first.size()), first);
    const std::string last = Tag("Rwb") + Tag("Nww") + Tag("Bwb") + Tag("Qww") + Tag("Kwb") + Tag("Bww") +
                             Tag("Nwb") + Tag("Rww") + "<br>\r\n";
    ASSERT_GE(h.size(), last.size());
    EXPECT_EQ(h.substr(h.size() - last.size()), last);
    // Eight lines, each ended by CR LF, with no bare LF anywhere.
    size_t lines = 0;
    for (size_t i = 0; i < h.size(); ++i) {
        if (h[i] == '\n') {
            ++lines;
            EXPECT_EQ(h[i - 1], '\r');
        }
    }
    EXPECT_EQ(lines, 8u);
}

TEST(HtmlFragment, EmptyTenByTenAlternates) {
    settings::Style style;
    style.BORDERWIDTH = 10;
    style.BORDERHEIGHT = 10;
    const std::string h = HtmlFragment(Shown("", style), style.Shape());
    std::string expected;
    for (int r = 0; r < 10; ++r) {
        for (int c = 0; c < 10; ++c)
            expected += Tag((r + c) % 2 == 0 ? "sqw" : "sqb");
        expected += "<br>\r\n";
    }
    EXPECT_EQ(h, expected);
}

TEST(HtmlFragment, NonSquareBoardBreaksAfterEachRow) {
    settings::Style style;
    style.BORDERWIDTH = 3;
    style.BORDERHEIGHT = 2;
    EXPECT_EQ(HtmlFragment(Shown("K", style), style.Shape()), Tag("Kww") + Tag("sqb") + Tag("sqw") +
                                                                  "<br>\r\n" + Tag("sqb") + Tag("sqw") +
                                                                  Tag("sqb") + "<br>\r\n");
}

TEST(HtmlFragment, NeverReversedAndTakesThePaintedPlane) {
    settings::Style style;
    style.BORDERWIDTH = 2;
    style.BORDERHEIGHT = 1;
    position::Vet vet = Shown("K", style);
    // What the squares show is what the fragment describes, even when the
    // position plane has moved on and the board is not repainted yet.
    vet(position::kPosition, 0) = 0;
    vet(position::kPosition, 1) = 11;
    EXPECT_EQ(HtmlFragment(vet, style.Shape()), Tag("Kww") + Tag("sqb") + "<br>\r\n");
    // A square waiting for its repaint is described by what it will show.
    vet(position::kPainted, 1) = -1;
    EXPECT_EQ(HtmlFragment(vet, style.Shape()), Tag("Kww") + Tag("kbb") + "<br>\r\n");
}

TEST(HtmlImageName, LettersSidesAndSquares) {
    position::BoardShape custom{8, 8, "pPnNbBrRqQkKxX"};
    struct Case {
        int v, s;
        const char* name;
    };
    for (const Case c : {Case{13, 0, "xbw"}, Case{13, 1, "xbb"}, Case{14, 0, "Xww"}, Case{14, 1, "Xwb"},
                         Case{0, 0, "sqw"}, Case{0, 9, "sqw"}, Case{0, 8, "sqb"}, Case{12, 8, "Kwb"},
                         // A cell code (piece + (n + 1) * colour) names its piece.
                         Case{14 + 15, 1, "Xwb"},
                         // Values that name no piece show as empty squares.
                         Case{-1, 0, "sqw"}, Case{99, 1, "sqb"}}) {
        EXPECT_EQ(HtmlImageName(c.v, c.s, custom), c.name) << c.v << " on " << c.s;
    }
    // A caseless letter counts as White, as in the piece tally.
    EXPECT_EQ(HtmlImageName(1, 1, {8, 8, "1"}), "1wb");
}

TEST(CompleteImageName, PointRule) {
    struct Case {
        const char* in;
        const char* out;
    };
    for (const Case c :
         {Case{"", "Pandrel.bmp"}, Case{"board", "board.bmp"}, Case{"/tmp/diag/board", "/tmp/diag/board.bmp"},
          Case{"board.png", "board.png"}, Case{"C:\\MY.DIR\\board", "C:\\MY.DIR\\board"},
          Case{"/my.dir/board", "/my.dir/board"}, Case{"board.", "board."}}) {
        EXPECT_EQ(CompleteImageName(c.in), c.out) << c.in;
    }
}

TEST(OutputText, TitlePrintLineAndPrinterUnits) {
    EXPECT_EQ(SavedTitle("Pandrel.bmp"), "Pandrel - Pandrel.bmp");
    EXPECT_EQ(PrintLine("(16x16)", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR"),
              "(16x16)rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
    EXPECT_DOUBLE_EQ(TwipsToDevice(400, 1200), 1200.0 * 400 / 1440);
    EXPECT_DOUBLE_EQ(TwipsToDevice(1440, 96), 96);
}

}  // namespace
