#include <gtest/gtest.h>

#include <string>

#include "position/fairy_style.h"

namespace position {
namespace {

// The solver's dictionary as its data file gives it for a few men.
constexpr std::string_view kBase = "&&N=wS&&n=bS&&G=wG&&g=bG&&A=wPA&&a=bPA&&";

FairyBoard Read(const std::string& text, Notation notation) {
    const NotationRead r = ReadNotation(text, notation);
    EXPECT_TRUE(r.ok()) << r.error;
    return r.ok() ? *r.board : FairyBoard(1, 1);
}

Vet PlaneOf(const PlacementImport& in) {
    Vet vet;
    Build2(vet, kPosition, in.placement, {in.style.rows, in.style.cols, in.style.piecesList});
    return vet;
}

FairySquare Turned(FairySquare sq, int turns) {
    sq.turns = turns;
    return sq;
}

TEST(FairyStyle, LooksOfLetters) {
    FairyStyle style;
    style.piecesList = "pPnNgGxXcmMt?uvw";
    style.englishNotation = "pPnNgGxXcmMt";
    style.piecesGlyphs =
        "g=q180 G=Q90 x=q~ X=Q45 c=circle m=CROSS~ M='AB t=bogus ?=''12 g=q270 u='G@90 v=U+1FA4E w='G@45";
    struct Case {
        int index;
        FairySquare look;
    };
    const Case cases[] = {
        {1, FairySquare::Man("P", FairyColor::kBlack)},
        {4, FairySquare::Man("S", FairyColor::kWhite)},
        {5, FairySquare::Man("Q", FairyColor::kBlack, 3)},  // the last entry counts
        {6, FairySquare::Man("Q", FairyColor::kWhite, 1)},
        {7, FairySquare::Man("Q", FairyColor::kNeutral)},
        {8, FairySquare()},  // turned by 45 degrees: no notation writes it
        {9, FairySquare::Marker(MarkerKind::kCircle, FairyColor::kBlack)},
        {10, FairySquare::Marker(MarkerKind::kCross, FairyColor::kNeutral)},
        {11, FairySquare::Text("AB")},
        {12, FairySquare()},  // a bad entry, and "t" is no kind
        {13, FairySquare::Text("12")},
        {14, Turned(FairySquare::Text("G"), 1)},
        {15, FairySquare()},  // a symbol
        {16, FairySquare()},  // letters turned by 45 degrees
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LookOf(style, c.index), c.look) << c.index;
    }
}

TEST(FairyStyle, SolverNamesFollowTheDictionary) {
    EXPECT_EQ(PopeyeNameOf('N', kBase).code, "S");
    EXPECT_EQ(PopeyeNameOf('g', kBase).color, FairyColor::kBlack);
    EXPECT_EQ(PopeyeNameOf('a', kBase).code, "PA");
    EXPECT_EQ(PopeyeNameOf('Q', kBase).code, "Q");
    EXPECT_FALSE(PopeyeNameOf('Q', kBase).fromEntry);
    EXPECT_EQ(PopeyeNameOf('x', "&&x=n lion &&").code, "LION");
    EXPECT_EQ(PopeyeNameOf('x', "&&x=n lion &&").color, FairyColor::kNeutral);
}

TEST(FairyStyle, OrthodoxPositionsNeedNoNewLetters) {
    const FairyStyle style;
    for (const auto& [text, notation] :
         {std::pair{"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", Notation::kFfen},
          std::pair{"rsbqkbsr/pppppppp/8/8/8/8/PPPPPPPP/RSBQKBSR", Notation::kYacpdb},
          std::pair{"rsbqkbsrpppppppp32PPPPPPPPRSBQKBSR", Notation::kPopeye}}) {
        const PlacementImport in = ToPlacement(Read(text, notation), notation, style, "");
        ASSERT_TRUE(in.ok()) << in.error;
        EXPECT_FALSE(in.lettersAdded);
        EXPECT_EQ(in.style, style);
        EXPECT_EQ(in.placement, kStandardStartPos);
    }
}

TEST(FairyStyle, EnglishLettersOfAnyLengthStayInStep) {
    // Shorter than the pieces list: left alone while no letter is added.
    FairyStyle style{8, 8, "pPnNbBrRqQkKxX", "pPnNbBrRqQkK", "", ""};
    PlacementImport in = ToPlacement(Read("K7/8/8/8/8/8/8/8", Notation::kFfen), Notation::kFfen, style, "");
    ASSERT_TRUE(in.ok()) << in.error;
    EXPECT_FALSE(in.lettersAdded);
    EXPECT_EQ(in.style, style);
    // Shorter or longer: the new letter's English letter stands at its place.
    for (const std::string english : {"pPnNbBrRqQkK", "pPnNbBrRqQkKxXyyy"}) {
        style.englishNotation = english;
        in = ToPlacement(Read("-*2q7/8/8/8/8/8/8/8", Notation::kFfen), Notation::kFfen, style, "");
        ASSERT_TRUE(in.ok()) << in.error;
        ASSERT_EQ(in.style.englishNotation.size(), in.style.piecesList.size());
        EXPECT_EQ(in.style.englishNotation.substr(0, 14), "pPnNbBrRqQkKxX");
        EXPECT_EQ(PopeyeNameOf(in.style.englishNotation.back(), in.style.pyDictionary).color,
                  FairyColor::kNeutral);
    }
}

TEST(FairyStyle, NewLettersShowWhatTheTextSays) {
    const FairyStyle style;
    const PlacementImport in =
        ToPlacement(Read("-*2q*1Q'A-c/K3", Notation::kFfen), Notation::kFfen, style, kBase);
    ASSERT_TRUE(in.ok()) << in.error;
    EXPECT_TRUE(in.lettersAdded);
    EXPECT_EQ(in.style.rows, 2);
    EXPECT_EQ(in.style.cols, 4);
    EXPECT_EQ(in.style.piecesList, "pPnNbBrRqQkKaAcd");
    ASSERT_EQ(in.style.englishNotation.size(), in.style.piecesList.size());
    EXPECT_EQ(in.style.piecesGlyphs, "a=q180~ A=Q90 c='A d=circle~");
    EXPECT_EQ(in.placement, "aAcd/K3");
    // The neutral queen is neutral for the solver too.
    const char neutralEnglish = in.style.englishNotation[12];
    EXPECT_EQ(PopeyeNameOf(neutralEnglish, std::string(kBase) + in.style.pyDictionary).color,
              FairyColor::kNeutral);
}

TEST(FairyStyle, LettersOfTheStyleAreFoundByLookOrName) {
    FairyStyle style;
    style.piecesList = "pPnNbBrRqQkKgGzZ";
    style.englishNotation = style.piecesList;
    style.piecesGlyphs = "g=q180 G=Q180 z=n90 Z=N90";
    // Fairy FEN finds the turned queen by its look ...
    PlacementImport in = ToPlacement(Read("*2Q*1n*2q", Notation::kFfen), Notation::kFfen, style, kBase);
    ASSERT_TRUE(in.ok()) << in.error;
    EXPECT_FALSE(in.lettersAdded);
    EXPECT_EQ(in.placement.substr(0, 3), "Gzg");
    // ... the solver's notation the grasshopper by its name.
    in = ToPlacement(Read("Gg/", Notation::kPopeye), Notation::kPopeye, style, kBase);
    ASSERT_TRUE(in.ok()) << in.error;
    EXPECT_FALSE(in.lettersAdded);
    EXPECT_EQ(in.placement, "Gg");
    // A pao the style lacks gets a letter that the solver calls a pao.
    in = ToPlacement(Read(".PA/", Notation::kPopeye), Notation::kPopeye, style, "");
    ASSERT_TRUE(in.ok()) << in.error;
    EXPECT_TRUE(in.lettersAdded);
    const NotationRead back = FromPlacement(PlaneOf(in), in.style, "", Notation::kPopeye);
    ASSERT_TRUE(back.ok()) << back.error;
    EXPECT_EQ(WriteNotation(*back.board, Notation::kPopeye).text, ".PA/");
}

TEST(FairyStyle, EveryNotationComesBackThroughTheStyle) {
    const std::pair<std::string, Notation> cases[] = {
        {"-*2q*1Q'A''12-c3/Ncxstad1/CXSTAD-d*3P/8", Notation::kFfen},
        {"(!b2)(Q1)(!k)S(pa)N(G20)(!15)/8/8/8/8/8/8/rsbqkbsr", Notation::kYacpdb},
        {"=.li+g-Q=p+.15.PAs1/8/8/8/8/8/8/rsbqkbsr", Notation::kPopeye},
    };
    for (const auto& [text, notation] : cases) {
        SCOPED_TRACE(text);
        const FairyBoard board = Read(text, notation);
        for (const FairyStyle& style : {FairyStyle{}, FairyStyle{8, 8, "pPsS", "pPnN", "", ""}}) {
            const PlacementImport in = ToPlacement(board, notation, style, kBase);
            ASSERT_TRUE(in.ok()) << in.error;
            const NotationRead back = FromPlacement(PlaneOf(in), in.style, kBase, notation);
            ASSERT_TRUE(back.ok()) << back.error;
            EXPECT_EQ(*back.board, board);
            // A second import of the same text adds nothing more.
            const PlacementImport again = ToPlacement(board, notation, in.style, kBase);
            EXPECT_FALSE(again.lettersAdded);
            EXPECT_EQ(again.placement, in.placement);
        }
    }
}

TEST(FairyStyle, ATurnedFairyManIsDrawnAsHisUprightLetterTurned) {
    struct Case {
        const char* name;
        FairyStyle style;
        const char* text;
        const char* glyphs;  // the entries the style gains
    };
    FairyStyle symbols;
    symbols.piecesList += "e";
    symbols.englishNotation += "e";
    symbols.piecesGlyphs = "e=U+1FA4E";
    symbols.pyDictionary = "&&e=wNH&&";
    const Case cases[] = {
        // Known only by name: his letters, turned.
        {"letters", FairyStyle{}, "(G1)(pa3)G5/8/8/8/8/8/8/8", "A='G@90 a='pa@270 C='G"},
        // The style draws the upright man with a symbol: the symbol turned.
        {"symbol", symbols, "(NH2)(NH)6/8/8/8/8/8/8/8", "e=U+1FA4E A=U+1FA4E@180"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FairyBoard board = Read(c.text, Notation::kYacpdb);
        const PlacementImport in = ToPlacement(board, Notation::kYacpdb, c.style, kBase);
        ASSERT_TRUE(in.ok()) << in.error;
        EXPECT_EQ(in.style.piecesGlyphs, c.glyphs);
        const NotationRead back = FromPlacement(PlaneOf(in), in.style, kBase, Notation::kYacpdb);
        ASSERT_TRUE(back.ok()) << back.error;
        EXPECT_EQ(*back.board, board);
        const PlacementImport again = ToPlacement(board, Notation::kYacpdb, in.style, kBase);
        EXPECT_FALSE(again.lettersAdded);
        // Fairy FEN writes no turned letters: refused, not written upright.
        EXPECT_FALSE(FromPlacement(PlaneOf(in), in.style, kBase, Notation::kFfen).ok());
    }
    FairyStyle turned;
    turned.piecesList += "x";
    turned.englishNotation += "x";
    turned.piecesGlyphs = "x='G@45";
    turned.pyDictionary = "&&x=wG&&";
    Vet vet;
    Build2(vet, kPosition, "x7/8/8/8/8/8/8/8", {8, 8, turned.piecesList});
    EXPECT_EQ(FromPlacement(vet, turned, kBase, Notation::kYacpdb).error,
              "YACPDB has no way to write the man 'x' on a8");
}

TEST(FairyStyle, WhatANotationCannotWriteIsNamed) {
    FairyStyle style;
    style.piecesList += "cX";
    style.englishNotation += "cX";
    style.piecesGlyphs = "c=circle X=Q45";
    Vet vet;
    Build2(vet, kPosition, "c7/8/8/8/8/8/8/X7", {8, 8, style.piecesList});
    EXPECT_EQ(FromPlacement(vet, style, kBase, Notation::kPopeye).error,
              "Popeye forsyth has no way to write the circle on a8");
    EXPECT_EQ(FromPlacement(vet, style, kBase, Notation::kYacpdb).error,
              "YACPDB has no way to write the circle on a8");
    EXPECT_EQ(FromPlacement(vet, style, kBase, Notation::kFfen).error,
              "Fairy FEN has no way to write the man 'X' on a1");
}

TEST(FairyStyle, LettersRunOutWithAMessage) {
    FairyBoard board(20, 20);
    for (int s = 0; s < 400; ++s) {
        board.squares[static_cast<size_t>(s)] =
            FairySquare::Text(std::string(1, static_cast<char>('!' + s % 90)) + std::to_string(s % 10));
    }
    const PlacementImport in = ToPlacement(board, Notation::kFfen, FairyStyle{}, "");
    EXPECT_FALSE(in.ok());
    EXPECT_NE(in.error.find("the style has no letter left for the text"), std::string::npos) << in.error;
}

}  // namespace
}  // namespace position
