#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "position/fairy_board.h"

namespace position {

// Readable boards in failure messages.
void PrintTo(const FairySquare& sq, std::ostream* os) {
    *os << static_cast<int>(sq.kind) << ":" << sq.man << sq.text << "/" << static_cast<int>(sq.color) << "/"
        << sq.turns << "/" << MarkerName(sq.marker);
}

void PrintTo(const FairyBoard& board, std::ostream* os) {
    *os << board.rows << "x" << board.cols << " " << WriteNotation(board, Notation::kFfen).text
        << WriteNotation(board, Notation::kYacpdb).text;
}

namespace {

using C = FairyColor;
using M = MarkerKind;

struct Placed {
    std::string square;  // "a8"
    FairySquare content;
};

FairySquare Man(const char* code, C color = C::kWhite, int turns = 0) {
    return FairySquare::Man(code, color, turns);
}

FairyBoard Board(int rows, int cols, const std::vector<Placed>& placed) {
    FairyBoard board(rows, cols);
    for (const Placed& p : placed) {
        const int col = p.square[0] - 'a';
        const int rank = std::stoi(p.square.substr(1));
        board.at(rows - rank, col) = p.content;
    }
    return board;
}

struct ReadCase {
    Notation notation;
    std::string text;
    int rows;
    int cols;
    std::vector<Placed> placed;
    int occupied = 0;  // squares taken when more than those listed
};

TEST(FairyRead, TextsGiveTheirBoards) {
    const std::vector<ReadCase> cases = {
        {Notation::kFfen, "*2Q7/8/8/8/8/8/8/8", 8, 8, {{"a8", Man("Q", C::kWhite, 2)}}},
        {Notation::kFfen, "-*2q/1/1", 3, 1, {{"a3", Man("Q", C::kNeutral, 2)}}},
        {Notation::kFfen, "~b1", 1, 2, {{"a1", Man("B", C::kNeutral)}}},
        {Notation::kFfen,
         "Nn/Ss",
         2,
         2,
         {{"a2", Man("S")},
          {"b2", Man("S", C::kBlack)},
          {"a1", FairySquare::Marker(M::kSquare, C::kWhite)},
          {"b1", FairySquare::Marker(M::kSquare, C::kBlack)}}},
        {Notation::kFfen,
         "cxstad/CXSTAD/-c-x-s-t-a-d",
         3,
         6,
         {{"a3", FairySquare::Marker(M::kCircle, C::kBlack)},
          {"b3", FairySquare::Marker(M::kCross, C::kBlack)},
          {"c3", FairySquare::Marker(M::kSquare, C::kBlack)},
          {"d3", FairySquare::Marker(M::kTriangle, C::kBlack)},
          {"e3", FairySquare::Marker(M::kAsterisk, C::kBlack)},
          {"f3", FairySquare::Marker(M::kDisc, C::kBlack)},
          {"a2", FairySquare::Marker(M::kCircle, C::kWhite)},
          {"b2", FairySquare::Marker(M::kCross, C::kWhite)},
          {"c2", FairySquare::Marker(M::kSquare, C::kWhite)},
          {"d2", FairySquare::Marker(M::kTriangle, C::kWhite)},
          {"e2", FairySquare::Marker(M::kAsterisk, C::kWhite)},
          {"f2", FairySquare::Marker(M::kDisc, C::kWhite)},
          {"a1", FairySquare::Marker(M::kCircle, C::kNeutral)},
          {"b1", FairySquare::Marker(M::kCross, C::kNeutral)},
          {"c1", FairySquare::Marker(M::kSquare, C::kNeutral)},
          {"d1", FairySquare::Marker(M::kTriangle, C::kNeutral)},
          {"e1", FairySquare::Marker(M::kAsterisk, C::kNeutral)},
          {"f1", FairySquare::Marker(M::kDisc, C::kNeutral)}}},
        {Notation::kFfen,
         "'A1''12/2'/",
         2,
         3,
         {{"a2", FairySquare::Text("A")}, {"c2", FairySquare::Text("12")}, {"c1", FairySquare::Text("/")}}},
        {Notation::kFfen,
         "K9/10/10/10/10/10/10/10/10/9k",
         10,
         10,
         {{"a10", Man("K")}, {"j1", Man("K", C::kBlack)}}},
        {Notation::kFfen, "K12/13", 2, 13, {{"a2", Man("K")}}},
        // One digit at a time, where only that makes the ranks agree.
        {Notation::kFfen, "K9/91/91/91/91/91/91/91/91/91", 10, 10, {{"a10", Man("K")}}},
        {Notation::kYacpdb, "91/91/91/91/91/91/91/91/91/9(!k)", 10, 10, {{"j1", Man("K", C::kNeutral)}}},
        {Notation::kPopeye, "K9/91/91/91/91/91/91/91/91/91", 10, 10, {{"a10", Man("K")}}},
        {Notation::kFfen,
         "(16x16)rnbqkbnr/8/8/8/8/8/8/8 w - - 0 1",
         8,
         8,
         {{"a8", Man("R", C::kBlack)}, {"b8", Man("S", C::kBlack)}, {"e8", Man("K", C::kBlack)}},
         8},
        {Notation::kYacpdb,
         "(!b2)7/(Q1)7/(!k)7/S7/8/8/8/(pa)N6",
         8,
         8,
         {{"a8", Man("B", C::kNeutral, 2)},
          {"a7", Man("Q", C::kWhite, 1)},
          {"a6", Man("K", C::kNeutral)},
          {"a5", Man("S")},
          {"a1", Man("PA", C::kBlack)},
          {"b1", Man("N")}}},
        {Notation::kYacpdb,
         "(G20)(15)/(!15)1",
         2,
         2,
         {{"a2", Man("G2", C::kWhite)}, {"b2", Man("15")}, {"a1", Man("15", C::kNeutral)}}},
        {Notation::kPopeye,
         "forsyth 1.PA6/8/1Q2.ma3/8/k1.pa.pa4/8/1P1K",
         8,
         8,
         {{"b8", Man("PA")},
          {"b6", Man("Q")},
          {"e6", Man("MA", C::kBlack)},
          {"a4", Man("K", C::kBlack)},
          {"c4", Man("PA", C::kBlack)},
          {"d4", Man("PA", C::kBlack)},
          {"b2", Man("P")},
          {"d2", Man("K")}}},
        {Notation::kPopeye,
         "48/5gPp/5K1k",
         8,
         8,
         {{"f2", Man("G", C::kBlack)},
          {"g2", Man("P")},
          {"h2", Man("P", C::kBlack)},
          {"f1", Man("K")},
          {"h1", Man("K", C::kBlack)}}},
        {Notation::kPopeye,
         "=.li+g-Q=p+.15",
         8,
         8,
         {{"a8", Man("LI", C::kNeutral)},
          {"b8", Man("G")},
          {"c8", Man("Q", C::kBlack)},
          {"d8", Man("P", C::kNeutral)},
          {"e8", Man("15")}}},
        {Notation::kPopeye,
         "rsbqkbsrpppppppp32PPPPPPPPRSBQKBSR",
         8,
         8,
         {{"b8", Man("S", C::kBlack)}, {"e1", Man("K")}, {"a2", Man("P")}},
         32},
        {Notation::kPopeye, "K/", 1, 1, {{"a1", Man("K")}}},
        {Notation::kPopeye, "K9/10/10", 3, 10, {{"a3", Man("K")}}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.text);
        const NotationRead r = ReadNotation(c.text, c.notation);
        ASSERT_TRUE(r.ok()) << r.error;
        const FairyBoard expected = Board(c.rows, c.cols, c.placed);
        ASSERT_EQ(r.board->rows, c.rows);
        ASSERT_EQ(r.board->cols, c.cols);
        int occupied = 0;
        for (size_t s = 0; s < expected.squares.size(); ++s) {
            const bool taken = r.board->squares[s].kind != SquareKind::kEmpty;
            occupied += taken ? 1 : 0;
            if (expected.squares[s].kind != SquareKind::kEmpty || c.occupied == 0) {
                EXPECT_EQ(r.board->squares[s], expected.squares[s]) << "square " << s;
            }
        }
        EXPECT_EQ(occupied, c.occupied > 0 ? c.occupied : static_cast<int>(c.placed.size()));
    }
}

TEST(FairyRead, KnightAsSMovesTheSquareMarkerToG) {
    const NotationRead r = ReadNotation("SsGg", Notation::kFfen, {true});
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(*r.board, Board(1, 4,
                              {{"a1", Man("S")},
                               {"b1", Man("S", C::kBlack)},
                               {"c1", FairySquare::Marker(M::kSquare, C::kWhite)},
                               {"d1", FairySquare::Marker(M::kSquare, C::kBlack)}}));
    const NotationWrite w = WriteNotation(*r.board, Notation::kFfen, {true});
    EXPECT_EQ(w.text, "SsGg");
    EXPECT_EQ(WriteNotation(*r.board, Notation::kFfen).text, "NnSs");
}

TEST(FairyRead, BadInputNamesTheFirstPlace) {
    const std::string huge(1 << 20, 'K');
    struct Case {
        Notation notation;
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases = {
        {Notation::kFfen, "", "the text is empty"},
        {Notation::kFfen, "   ", "the text is empty"},
        {Notation::kFfen, "8/8/8/8/8/9/8/8", "rank 3 has 9 squares, the others 8"},
        {Notation::kFfen, "8/7/6", "rank 2 has 7 squares, rank 3 has 8"},
        {Notation::kFfen, "K/Z", "unknown man or marker 'Z' at character 3"},
        {Notation::kFfen, "*4Q", "turn *4 is out of range (*1 to *3) at character 1"},
        {Notation::kFfen, "*Q", "\"*\" wants a digit 1 to 3 at character 1"},
        {Notation::kFfen, "*2c", "a marker cannot be turned at character 1"},
        {Notation::kFfen, "-", "a sign with no man after it at character 1"},
        {Notation::kFfen, "K''A", "the text of a square ends too soon at character 2"},
        {Notation::kFfen, "K?", "unknown sign '?' at character 2"},
        {Notation::kFfen, "21/21/21/21/21/21/21/21/21/21/21/21/21/21/21/21/21/21/21/21",
         "the board would have 20 x 21 = 420 squares, more than 400"},
        {Notation::kFfen, huge, "more than 400 squares at character 401"},
        {Notation::kFfen, std::string(500, '/') + "K", "more than 400 ranks at character 400"},
        {Notation::kYacpdb, "(Q1", "unbalanced '(' at character 1"},
        {Notation::kYacpdb, "Q1)", "unbalanced ')' at character 3"},
        {Notation::kYacpdb, "(Q(1)", "unbalanced '(' at character 1"},
        {Notation::kYacpdb, "(Q5)", "turn 5 is out of range (0 to 3) at character 3"},
        {Notation::kYacpdb, "(?)", "unknown man '(?)' at character 1"},
        {Notation::kPopeye, "K1x", "unknown piece 'x' at character 3"},
        {Notation::kPopeye, "K=", "a colour sign with no piece after it at character 2"},
        {Notation::kPopeye, ".q", "\".\" wants two letters or digits at character 1"},
        {Notation::kPopeye, ".15", "a leaper wants a colour sign (+, - or =) at character 1"},
        {Notation::kPopeye, "65K", "the text describes 66 squares, the board has 64"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 80));
        const NotationRead r = ReadNotation(c.text, c.notation);
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(r.error, c.message);
    }
}

TEST(FairyRead, AutoGuessesTheNotation) {
    const std::vector<std::pair<std::string, Notation>> cases = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", Notation::kFfen},
        {"rsbqkbsr/pppppppp/8/8/8/8/PPPPPPPP/RSBQKBSR", Notation::kYacpdb},
        {"rsbqkbsrpppppppp32PPPPPPPPRSBQKBSR", Notation::kPopeye},
        {"(!b2)7/8/8/8/8/8/8/8", Notation::kYacpdb},
        {"-*2q7/8/8/8/8/8/8/8", Notation::kFfen},
        {"1.PA6/8/1Q2.ma3/8/k1.pa.pa4/8/1P1K", Notation::kPopeye},
        {"forsyth 8/8/8/8/8/8/8/K", Notation::kPopeye},
        {"=p7/8/8/8/8/8/8/8", Notation::kPopeye},
        {"'A7/8", Notation::kFfen},
        // Not Fairy FEN, whatever it looks like first: the next guess reads it.
        {"G7/8", Notation::kYacpdb},
    };
    for (const auto& [text, notation] : cases) {
        SCOPED_TRACE(text);
        const NotationRead r = ReadAuto(text);
        ASSERT_TRUE(r.ok()) << r.error;
        EXPECT_EQ(r.notation, notation);
    }
    EXPECT_FALSE(ReadAuto("").ok());
}

// Everything a notation can write, spread over a board of rows x cols.
FairyBoard Filled(int rows, int cols, Notation notation) {
    std::vector<FairySquare> kinds;
    const std::vector<C> colors = {C::kWhite, C::kBlack, C::kNeutral};
    const std::vector<std::string> orthodox = {"K", "Q", "R", "B", "S", "P"};
    for (const C color : colors) {
        for (const std::string& code : orthodox) {
            for (int turns = 0; turns < (notation == Notation::kPopeye ? 1 : 4); ++turns) {
                kinds.push_back(FairySquare::Man(code, color, turns));
            }
        }
    }
    if (notation == Notation::kFfen) {
        for (const M marker : {M::kCircle, M::kCross, M::kSquare, M::kTriangle, M::kAsterisk, M::kDisc}) {
            for (const C color : colors) {
                kinds.push_back(FairySquare::Marker(marker, color));
            }
        }
        for (const char* text : {"A", "12", "\xc3\xa9", "/", "Z9"}) {
            kinds.push_back(FairySquare::Text(text));
        }
    } else {
        for (const char* code : {"G", "N", "PA", "LI", "G2", "15"}) {
            for (const C color : colors) {
                if (!(code[0] == '1' && color == C::kBlack)) {
                    kinds.push_back(FairySquare::Man(code, color));
                }
            }
        }
    }
    FairyBoard board(rows, cols);
    // Every third square stays empty so runs of every length come up.
    for (int s = 0, k = 0; s < rows * cols; ++s) {
        if ((s * 7 + rows) % 3 != 0) {
            board.squares[static_cast<size_t>(s)] = kinds[static_cast<size_t>(k++) % kinds.size()];
        }
    }
    return board;
}

TEST(FairyRoundTrip, EveryKindOnBoardsOfOneToFourHundredSquares) {
    for (const Notation notation : {Notation::kFfen, Notation::kYacpdb, Notation::kPopeye}) {
        for (int rows = 1; rows <= 20; ++rows) {
            for (int cols = 1; cols <= 20; ++cols) {
                for (const bool empty : {false, true}) {
                    SCOPED_TRACE(std::string(NotationName(notation)) + " " + std::to_string(rows) + "x" +
                                 std::to_string(cols));
                    const FairyBoard board = empty ? FairyBoard(rows, cols) : Filled(rows, cols, notation);
                    const NotationWrite w = WriteNotation(board, notation);
                    ASSERT_TRUE(w.ok()) << w.error;
                    const NotationRead r = ReadNotation(w.text, notation);
                    ASSERT_TRUE(r.ok()) << r.error << " in " << w.text;
                    ASSERT_EQ(*r.board, board) << w.text;
                }
            }
        }
    }
}

TEST(FairyWrite, WhatANotationCannotSayIsRefused) {
    FairyBoard board(8, 8);
    board.at(5, 2) = FairySquare::Marker(M::kCircle, C::kWhite);
    EXPECT_EQ(WriteNotation(board, Notation::kPopeye).error,
              "Popeye forsyth has no way to write the circle on c3");
    EXPECT_EQ(WriteNotation(board, Notation::kYacpdb).error, "YACPDB has no way to write the circle on c3");
    board.at(5, 2) = FairySquare::Man("G", C::kBlack, 0);
    EXPECT_EQ(WriteNotation(board, Notation::kFfen).error, "Fairy FEN has no letter for the man G on c3");
    board.at(5, 2) = FairySquare::Man("Q", C::kWhite, 1);
    EXPECT_EQ(WriteNotation(board, Notation::kPopeye).error,
              "Popeye forsyth has no way to write the man Q turned on c3");
    board.at(5, 2) = FairySquare::Text("it's");
    EXPECT_FALSE(WriteNotation(board, Notation::kFfen).ok());
}

TEST(FairyWrite, ExamplesAsComposersWriteThem) {
    const FairyBoard board = Board(8, 8,
                                   {{"a8", Man("Q", C::kNeutral, 2)},
                                    {"b8", Man("S")},
                                    {"h8", Man("PA", C::kBlack)},
                                    {"a1", Man("LI", C::kNeutral)},
                                    {"h1", Man("K")}});
    EXPECT_EQ(WriteNotation(board, Notation::kYacpdb).text, "(!q2)S5(pa)/8/8/8/8/8/8/(!li)6K");
    FairyBoard plain = board;
    plain.at(0, 0) = Man("Q", C::kNeutral);
    EXPECT_EQ(WriteNotation(plain, Notation::kPopeye).text, "=qS5.pa/8/8/8/8/8/8/=.li6K");
    FairyBoard wide(1, 120);
    wide.at(0, 119) = Man("K");
    EXPECT_EQ(WriteNotation(wide, Notation::kPopeye).text, "9920K/");
    EXPECT_EQ(WriteNotation(wide, Notation::kFfen).text, "119K");
}

}  // namespace
}  // namespace position
