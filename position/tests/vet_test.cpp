#include <gtest/gtest.h>

#include <random>

#include "position/vet.h"

using namespace position;

namespace {

BoardShape Shape(int rows, int cols, std::string pieces = std::string(kDefaultPiecesList)) {
    BoardShape b;
    b.rows = rows;
    b.cols = cols;
    b.piecesList = std::move(pieces);
    return b;
}

struct RoundTrip {
    int rows, cols;
    const char* in;
    const char* out;
    int white, black;
};

class ReadWrite : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(ReadWrite, ParsesThenWritesCanonicalText) {
    const auto& c = GetParam();
    Vet vet;
    const auto shape = Shape(c.rows, c.cols);
    const ParseResult r = ParseFEN(vet, c.in, shape);
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(VetToFEN(vet, shape), c.out);
    EXPECT_EQ(r.white, c.white);
    EXPECT_EQ(r.black, c.black);
}

INSTANTIATE_TEST_SUITE_P(
    Fen, ReadWrite,
    ::testing::Values(
        RoundTrip{8, 8, "", "8/8/8/8/8/8/8/8", 0, 0},
        RoundTrip{8, 8, "8/8/8/8/8/8/8/8", "8/8/8/8/8/8/8/8", 0, 0},
        RoundTrip{8, 8, "(16x16)rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR",
                  "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", 16, 16},
        // Side-to-move and counters spill past the last square: the "b" still counts.
        RoundTrip{8, 8, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b - - 0 1",
                  "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", 16, 17},
        // "10" is one empty square; the zero is ignored.
        RoundTrip{8, 8, "10K", "1K6/8/8/8/8/8/8/8", 1, 0},
        // Ranks are filled by count alone: a short rank shifts what follows.
        RoundTrip{8, 8, "rnbqkbnr/ppp/8", "rnbqkbnr/ppp5/8/8/8/8/8/8", 0, 11},
        RoundTrip{10, 10, "", "82/82/82/82/82/82/82/82/82/82", 0, 0},
        RoundTrip{9, 9, "", "9/9/9/9/9/9/9/9/9", 0, 0},
        // Nine empty squares inside a rank are written "81".
        RoundTrip{1, 12, "9K2", "81K2", 1, 0}, RoundTrip{2, 3, "kK/Qq", "kKQ/q2", 2, 2},
        RoundTrip{20, 20, "K",
                  "K883/884/884/884/884/884/884/884/884/884/884/884/884/884/884/884/884/884/884/884", 1, 0}));

TEST(VetToFEN, NineteenEmptySquaresBeforeRankEnd) {
    // The run resets at its ninth square, so long runs are several numbers.
    Vet vet;
    const auto shape = Shape(1, 20);
    ParseFEN(vet, "K", shape);
    EXPECT_EQ(VetToFEN(vet, shape), "K883");
}

TEST(VetToFEN, CellCodesAreReducedToPieces) {
    Vet vet;
    const auto shape = Shape(8, 8);
    ParseFEN(vet, "", shape);
    vet(kPosition, 1) = 13 + 1;   // piece 1 on a dark square
    vet(kPosition, 2) = 13 + 12;  // white king on a dark square
    EXPECT_EQ(VetToFEN(vet, shape), "1pK5/8/8/8/8/8/8/8");
}

TEST(ParseFEN, CustomPiecesList) {
    Vet vet;
    const auto custom = Shape(8, 8, "pPnNbBrRqQkKxX");
    auto r = ParseFEN(vet, "xX", custom);
    EXPECT_EQ(vet(kPosition, 0), 13);
    EXPECT_EQ(vet(kPosition, 1), 14);
    EXPECT_EQ(r.white, 1);
    EXPECT_EQ(r.black, 1);
    r = ParseFEN(vet, "xK", Shape(8, 8));
    EXPECT_EQ(vet(kPosition, 0), 12);
    EXPECT_EQ(r.black, 0);
}

TEST(ParseFEN, StopsAt401CellsAndReportsIt) {
    Vet vet;
    const auto shape = Shape(20, 20);
    std::string text(402, 'K');
    const ParseResult r = ParseFEN(vet, text, shape);
    EXPECT_FALSE(r.complete);
    std::string digits(45, '9');  // 405 cells
    EXPECT_FALSE(ParseFEN(vet, digits, shape).complete);
    EXPECT_TRUE(ParseFEN(vet, std::string(401, 'K'), shape).complete);
}

TEST(ParseFEN, PaintsEveryFilledSquare) {
    Vet vet;
    const auto shape = Shape(2, 2);
    std::vector<int> painted;
    ParseFEN(vet, "K", shape, [&](int s) { painted.push_back(s); });
    EXPECT_EQ(painted, (std::vector<int>{0, 1, 2, 3}));
}

struct FixCase {
    int cols;
    const char* in;
    const char* out;
};

class FixFen : public ::testing::TestWithParam<FixCase> {};

TEST_P(FixFen, CompletesRanksEndedBySlash) {
    const auto& c = GetParam();
    EXPECT_EQ(FixFEN(c.in, Shape(8, c.cols)), c.out);
}

INSTANTIATE_TEST_SUITE_P(Fen, FixFen,
                         ::testing::Values(FixCase{8, "rnbqk/", "rnbqk3/"}, FixCase{8, "//", "8/8/"},
                                           FixCase{12, "//", "93/93/"}, FixCase{8, "rnbqkbnr/", "rnbqkbnr/"},
                                           FixCase{8, "rnbqkbnrpp/", "rnbqkbnrpp6/"},
                                           FixCase{8, "rnbqkbnr/ppp/8", "rnbqkbnr/ppp5/8"},
                                           FixCase{8, "(3x2)kq/", "kq6/"}, FixCase{8, "k", "k"},
                                           FixCase{8, "x?/", "x?8/"}, FixCase{20, "/", "992/"}));

TEST(SqrColor, TopLeftIsLightAndColoursAlternate) {
    EXPECT_EQ(SqrColor(0, 8), 0);
    EXPECT_EQ(SqrColor(1, 8), 1);
    EXPECT_EQ(SqrColor(8, 8), 1);
    EXPECT_EQ(SqrColor(9, 8), 0);
    EXPECT_EQ(SqrColor(63, 8), 0);
    EXPECT_EQ(SqrColor(9, 9), 1);  // odd width: second row starts dark
}

TEST(ZeroSizedBoard, NeverDividesByZero) {
    Vet vet;
    for (auto shape : {Shape(0, 8), Shape(8, 0), Shape(0, 0), Shape(-3, 5)}) {
        EXPECT_EQ(SqrColor(5, shape.cols), shape.cols > 0 ? SqrColor(5, shape.cols) : 0);
        ResetVet(vet, shape);
        ParseFEN(vet, "rnbqk/8", shape);
        EXPECT_EQ(VetToFEN(vet, shape), "");
        EXPECT_NO_FATAL_FAILURE(FixFEN("rnbqk//", shape));
        Build2(vet, 0, "KK", shape);
    }
    EXPECT_EQ(FixFEN("k//", Shape(8, 0)), "k//");
}

TEST(Build2, PlacesOnEitherPlaneWithoutTouchingTheOther) {
    Vet vet;
    const auto shape = Shape(8, 8);
    Build2(vet, 1, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", shape);
    Build2(vet, 0, "8/8/8/8/8/8/8/7K", shape);
    EXPECT_EQ(VetToFEN(vet, shape), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
    EXPECT_EQ(vet(0, 63), 12);
    EXPECT_EQ(vet(0, 0), 0);
}

TEST(ResetVet, MarksOnlyBoardSquares) {
    Vet vet;
    ResetVet(vet, Shape(2, 3));
    for (int s = 0; s < 6; ++s)
        EXPECT_EQ(vet(kPainted, s), -1);
    EXPECT_EQ(vet(kPainted, 6), 0);
}

TEST(RandomText, NeverCrashesAndRoundTrips) {
    std::mt19937 rng(7);
    for (int i = 0; i < 2000; ++i) {
        std::string text(rng() % 600, '\0');
        for (auto& ch : text)
            ch = static_cast<char>(rng() % 256);
        const auto shape = Shape(1 + static_cast<int>(rng() % 20), 1 + static_cast<int>(rng() % 20));
        Vet vet;
        ParseFEN(vet, text, shape);
        FixFEN(text, shape);
        const std::string fen = VetToFEN(vet, shape);
        Vet again;
        ParseFEN(again, fen, shape);
        EXPECT_EQ(VetToFEN(again, shape), fen);
    }
}

}  // namespace
