#include "position/set_move.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "position/tests/notation_helpers.h"

using namespace position;
using namespace position::testing_support;

namespace {

struct Case {
    const char* name;
    const char* before;
    const char* after;
    const char* move;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

std::string Write(const NotationStyle& st, const std::string& before, const std::string& after,
                  int prev = 0) {
    Vet v;
    Build2(v, prev, before, st.shape);
    Build2(v, prev == 0 ? 1 : 0, after, st.shape);
    return SetMove(v, st, prev).move;
}

class Writer : public ::testing::TestWithParam<Case> {};

TEST_P(Writer, NamesTheMove) {
    const auto& c = GetParam();
    const auto st = Style();
    EXPECT_EQ(Write(st, c.before, c.after, 0), c.move);
    // The same pair with the planes swapped.
    EXPECT_EQ(Write(st, c.before, c.after, 1), c.move);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, Writer,
    ::testing::Values(Case{"RookNeedsFile", "8/8/8/8/8/8/8/R6R", "8/8/8/8/8/8/8/R2R4", "Rhd1"},
                      Case{"RookNeedsRank", "8/8/8/R7/8/8/8/R7", "8/8/8/8/8/R7/8/R7", "R5a3"},
                      Case{"Promotion", "8/4P3/8/8/8/8/8/8", "4Q3/8/8/8/8/8/8/8", "e8=Q"},
                      Case{"PromotionWithCapture", "3r4/4P3/8/8/8/8/8/8", "3Q4/8/8/8/8/8/8/8", "exd8=Q"},
                      Case{"BlackPromotion", "8/8/8/8/8/8/4p3/8", "8/8/8/8/8/8/8/4n3", "e1=N"},
                      Case{"WhiteShortCastling", "8/8/8/8/8/8/8/4K2R", "8/8/8/8/8/8/8/5RK1", "O-O"},
                      Case{"WhiteLongCastling", "8/8/8/8/8/8/8/R3K3", "8/8/8/8/8/8/8/2KR4", "O-O-O"},
                      Case{"BlackShortCastling", "4k2r/8/8/8/8/8/8/8", "5rk1/8/8/8/8/8/8/8", "O-O"},
                      Case{"BlackLongCastling", "r3k3/8/8/8/8/8/8/8", "2kr4/8/8/8/8/8/8/8", "O-O-O"},
                      Case{"EnPassant", "8/8/8/3pP3/8/8/8/8", "8/8/3P4/8/8/8/8/8", "exd6"},
                      Case{"BlackEnPassant", "8/8/8/8/3Pp3/8/8/8", "8/8/8/8/8/3p4/8/8", "exd3"},
                      Case{"KnightAloneCanReach", "8/8/8/8/8/8/8/1N4N1", "8/8/8/8/8/5N2/8/1N6", "Nf3"},
                      Case{"KnightsOnOneRank", "8/8/8/8/8/8/8/1N3N2", "8/8/8/8/8/8/3N4/5N2", "Nbd2"},
                      Case{"KnightsOnOneFile", "8/8/8/8/8/1N6/8/1N6", "8/8/8/8/8/1N6/3N4/8", "N1d2"},
                      Case{"KnightsApart", "8/8/8/8/8/5N2/8/1N6", "8/8/8/8/8/5N2/3N4/8", "Nbd2"},
                      Case{"ThreeKnights", "8/8/8/8/8/1N6/8/1N3N2", "8/8/8/8/8/1N6/3N4/5N2", "Nb1d2"},
                      // Another piece on the line stops the other rook.
                      Case{"BlockedRookNotAmbiguous", "8/8/8/8/8/8/8/RN3R2", "8/8/8/8/8/8/8/RN1R4", "Rd1"},
                      // Pieces of the other colour never make a move ambiguous.
                      Case{"OtherColourIgnored", "8/8/8/8/8/8/8/r6R", "8/8/8/8/8/8/8/r2R4", "Rd1"},
                      Case{"QueenCapture", "7k/6pp/8/8/8/8/8/7Q", "7k/6pQ/8/8/8/8/8/8", "Qxh7"},
                      Case{"BlackPieceUpperCased", "6n1/8/8/8/8/8/8/8", "8/8/5n2/8/8/8/8/8", "Nf6"},
                      Case{"KingCapture", "8/8/8/8/8/8/4p3/4K3", "8/8/8/8/8/8/4K3/8", "Kxe2"},
                      Case{"PawnCapture", "8/8/8/3p4/4P3/8/8/8", "8/8/8/3P4/8/8/8/8", "exd5"},
                      Case{"NothingChanged", "8/8/8/8/8/8/8/R7", "8/8/8/8/8/8/8/R7", ""},
                      // A piece put down from nowhere has no origin.
                      Case{"PieceAppears", "8/8/8/8/8/8/8/R7", "8/8/8/8/8/8/8/R2N4", ""},
                      Case{"TwoArrivalsNoCorner", "8/8/8/8/3NN3/8/8/8", "8/8/8/3NN3/8/8/8/8", ""},
                      Case{"ThreeArrivals", "8/8/8/8/8/8/8/8", "8/8/8/8/8/8/8/NNN5", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SetMove, UsesStyleLettersAndShape) {
    const auto german = Style(8, 8, "bBsSlLtTdDkK", "pPnNbBrRqQkK");
    EXPECT_EQ(Write(german, "8/8/8/8/8/8/8/1S4S1", "8/8/8/8/8/5S2/8/1S6"), "Sf3");
    EXPECT_EQ(Write(german, "8/8/8/8/8/8/4B3/8", "8/8/8/8/4B3/8/8/8"), "e4");
    EXPECT_EQ(Write(german, "8/4B3/8/8/8/8/8/8", "4D3/8/8/8/8/8/8/8"), "e8=D");
    // Ten rows: the top rank is 10.
    const auto tall = Style(10, 8);
    EXPECT_EQ(Write(tall, "8/4R3/8/8/8/8/8/8/8/8", "4R3/8/8/8/8/8/8/8/8/8"), "Re10");
    // A fairy kind has no notation here.
    const auto fairy = Style(8, 8, "pPnNbBrRqQkKzZ", "pPnNbBrRqQkKwW");
    Vet v;
    Build2(v, 0, "8/8/8/8/8/8/8/Z7", fairy.shape);
    Build2(v, 1, "8/8/8/8/8/8/8/1Z6", fairy.shape);
    const SetMoveResult r = SetMove(v, fairy, 0);
    EXPECT_EQ(r.move, "");
    EXPECT_EQ(r.reason, SetMoveFailure::kUnknownKind);
    EXPECT_EQ(SetMove(v, fairy, 2).reason, SetMoveFailure::kBadPlane);
}

TEST(SetMove, LeavesBothPlanesAlone) {
    const auto st = Style();
    Vet v;
    Build2(v, 0, "8/8/8/8/8/8/8/R6R", st.shape);
    Build2(v, 1, "8/8/8/8/8/8/8/R2R4", st.shape);
    const Vet copy = v;
    SetMove(v, st, 0);
    EXPECT_EQ(v.cells, copy.cells);
}

TEST(SetMove, RandomPairsNeverCrash) {
    std::mt19937 rng(77);
    const NotationStyle shapes[] = {Style(), Style(10, 10), Style(1, 1), Style(20, 20), Style(0, 3)};
    for (int i = 0; i < 20000; ++i) {
        const auto& st = shapes[rng() % std::size(shapes)];
        Vet v;
        for (int plane = 0; plane < 2; ++plane) {
            for (int s = 0; s < kCells; ++s) {
                v(plane, s) = static_cast<int16_t>(rng() % 3 == 0 ? rng() % 16 : 0);
            }
        }
        // Make most pairs differ in a few cells only.
        if (rng() % 2 == 0) {
            v.cells[1] = v.cells[0];
            for (int k = rng() % 4; k > 0; --k) {
                v(1, rng() % kCells) = static_cast<int16_t>(rng() % 16);
            }
        }
        const SetMoveResult r = SetMove(v, st, static_cast<int>(rng() % 3));
        if (!r.move.empty()) {
            EXPECT_EQ(r.reason, SetMoveFailure::kNone);
        }
    }
}

}  // namespace
