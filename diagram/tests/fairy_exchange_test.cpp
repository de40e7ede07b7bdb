#include "diagram/fairy_exchange.h"

#include <gtest/gtest.h>

namespace diagram {
namespace {

using position::Notation;

TEST(FairyExchange, TheStyleIsCopiedOnlyWhenItMustChange) {
    settings::Style style;
    style.CurrentStyle = "Print";
    style.WNDWIDTH = 1234;
    style.WNDHEIGHT = 1234;
    const settings::Style before = style;

    // What the style shows already: the style itself.
    FairyImport in = ImportFairyText("rsbqkbsrpppppppp32PPPPPPPPRSBQKBSR", Notation::kPopeye, {}, style, "");
    ASSERT_TRUE(in.ok()) << in.error;
    EXPECT_FALSE(in.styleChanged);
    EXPECT_EQ(in.style, before);
    EXPECT_EQ(in.placement, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");

    // Another board size: a copy named CUSTOM, its picture sized anew.
    in = ImportFairyText("K9/10", std::nullopt, {}, style, "");
    ASSERT_TRUE(in.ok()) << in.error;
    EXPECT_TRUE(in.styleChanged);
    EXPECT_EQ(in.notation, Notation::kFfen);
    EXPECT_EQ(in.style.CurrentStyle, "CUSTOM");
    EXPECT_EQ(in.style.BORDERHEIGHT, 2);
    EXPECT_EQ(in.style.BORDERWIDTH, 10);
    EXPECT_NE(in.style.WNDWIDTH, 1234);
    EXPECT_EQ(in.style.PIECESLIST, before.PIECESLIST);
    EXPECT_TRUE(in.style.PIECESFONT.empty());  // no new men: the pieces picture serves

    // New men in a picture style are drawn from a font in the copy; a font
    // style keeps its font.
    in = ImportFairyText("-*2q7/8/8/8/8/8/8/8", Notation::kFfen, {}, style, "");
    ASSERT_TRUE(in.ok()) << in.error;
    EXPECT_EQ(in.style.PIECESFONT, "FreeSerif");
    EXPECT_EQ(in.style.PIECESGLYPHS, "a=q180~");
    style.PIECESFONT = "DejaVu Sans";
    in = ImportFairyText("-*2q7/8/8/8/8/8/8/8", Notation::kFfen, {}, style, "");
    EXPECT_EQ(in.style.PIECESFONT, "DejaVu Sans");

    // The style handed in is never touched; a bad text gives no board.
    EXPECT_EQ(style.PIECESLIST, before.PIECESLIST);
    in = ImportFairyText("(Q", Notation::kYacpdb, {}, style, "");
    EXPECT_FALSE(in.ok());
    EXPECT_EQ(in.error, "unbalanced '(' at character 1");
    EXPECT_TRUE(in.placement.empty());
}

TEST(FairyExchange, TheBoardGoesOutInEachNotation) {
    settings::Style style;
    const FairyImport in =
        ImportFairyText("(!b2)7/(Q1)7/8/8/8/8/8/S6(pa)", Notation::kYacpdb, {}, style, "&&A=wPA&&a=bPA&&");
    ASSERT_TRUE(in.ok()) << in.error;
    position::Vet vet;
    position::Build2(vet, position::kPosition, in.placement, in.style.Shape());
    EXPECT_EQ(ExportFairyText(vet, in.style, "&&A=wPA&&a=bPA&&", Notation::kYacpdb, {}).text,
              "(!b2)7/(Q1)7/8/8/8/8/8/S6(pa)");
    // Fairy FEN writes what the squares show (the pao as its letters), the
    // solver's notation what the solver calls each man.
    EXPECT_EQ(ExportFairyText(vet, in.style, "&&A=wPA&&a=bPA&&", Notation::kFfen, {true}).text,
              "-*2b7/*1Q7/8/8/8/8/8/S6''pa");
    EXPECT_EQ(ExportFairyText(vet, in.style, "&&A=wPA&&a=bPA&&", Notation::kPopeye, {}).text,
              "=b7/Q7/8/8/8/8/8/S6.pa");

    // A fairy man turned, in a picture style: drawn from the font, his
    // letters turned; back out with his turn, except where no turn is written.
    const FairyImport turned = ImportFairyText("(pa1)7/8/8/8/8/8/8/8", Notation::kYacpdb, {}, style, "");
    ASSERT_TRUE(turned.ok()) << turned.error;
    EXPECT_EQ(turned.style.PIECESFONT, "FreeSerif");
    EXPECT_EQ(turned.style.PIECESGLYPHS, "a='pa@90");
    position::Vet plane;
    position::Build2(plane, position::kPosition, turned.placement, turned.style.Shape());
    EXPECT_EQ(ExportFairyText(plane, turned.style, "", Notation::kYacpdb, {}).text, "(pa1)7/8/8/8/8/8/8/8");
    EXPECT_EQ(ExportFairyText(plane, turned.style, "", Notation::kFfen, {}).error,
              "Fairy FEN has no way to write the text 'pa' turned on a8");
    EXPECT_EQ(ExportFairyText(plane, turned.style, "", Notation::kPopeye, {}).text, ".pa7/8/8/8/8/8/8/8");
}

}  // namespace
}  // namespace diagram
