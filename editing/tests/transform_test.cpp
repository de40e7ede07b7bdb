#include <gtest/gtest.h>

#include "editing/transform.h"

using namespace editing;
using position::BoardShape;
using position::Vet;

namespace {

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

std::string After(const std::string& fen, std::initializer_list<Transform> ts, BoardShape shape = {}) {
    Vet vet;
    position::ParseFEN(vet, fen, shape);
    for (Transform t : ts) {
        EXPECT_TRUE(ApplyTransform(vet, shape, t).ok) << TransformName(t);
    }
    return position::VetToFEN(vet, shape);
}

TEST(Transform, ShiftsOnTheStartPosition) {
    struct Case {
        std::initializer_list<Transform> ts;
        const char* fen;
    };
    using enum Transform;
    for (const Case& c : {
             Case{{kLeft}, "nbqkbnr1/ppppppp1/8/8/8/8/PPPPPPP1/NBQKBNR1"},
             Case{{kLeft, kLeft}, "bqkbnr2/pppppp2/8/8/8/8/PPPPPP2/BQKBNR2"},
             Case{{kRight}, "1rnbqkbn/1ppppppp/8/8/8/8/1PPPPPPP/1RNBQKBN"},
             Case{{kUp}, "pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR/8"},
             Case{{kDown}, "8/rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP"},
             Case{{kUp, kDown}, "8/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR"},
         }) {
        EXPECT_EQ(After(kStart, c.ts), c.fen);
    }
}

TEST(Transform, TurnsAndMirrorsComeBackToTheStart) {
    using enum Transform;
    // Nothing symmetric about it, so any misplaced cell shows.
    const std::string fen = "r3k2r/1p3pp1/2n5/q7/4P3/1B6/PPP2PPP/R2QK1NR";
    EXPECT_EQ(After(fen, {kRotate, kRotate, kRotate, kRotate}), fen);
    EXPECT_EQ(After(fen, {kHMirror, kHMirror}), fen);
    EXPECT_EQ(After(fen, {kDMirror, kDMirror}), fen);
    EXPECT_NE(After(fen, {kRotate}), fen);
    EXPECT_NE(After(fen, {kDMirror}), fen);
    // The diagonal mirror followed by the horizontal one is the quarter turn.
    EXPECT_EQ(After(fen, {kRotate}), After(fen, {kDMirror, kHMirror}));
}

TEST(Transform, WhereCornersGo) {
    using enum Transform;
    struct Case {
        const char* fen;
        Transform t;
        const char* result;
    };
    for (const Case& c : {
             // a1 (bottom-left) goes to the top-left, a8 to the top-right: clockwise.
             Case{"k7/8/8/8/8/8/8/R7", kRotate, "R6k/8/8/8/8/8/8/8"},
             Case{"R6k/8/8/8/8/8/8/8", kRotate, "7R/8/8/8/8/8/8/7k"},
             // a8 goes to h1 and b8 to h2; a1 and h8 stay.
             Case{"q6K/8/8/8/8/8/8/R7", kDMirror, "7K/8/8/8/8/8/8/R6q"},
             Case{"1n6/8/8/8/8/8/8/8", kDMirror, "8/8/8/8/8/8/7n/8"},
             Case{"k7/8/8/8/8/8/8/7R", kHMirror, "7R/8/8/8/8/8/8/k7"},
         }) {
        EXPECT_EQ(After(c.fen, {c.t}), c.result) << c.fen << " " << TransformName(c.t);
    }
}

TEST(Transform, OddRowsKeepTheMiddleRow) {
    const BoardShape shape{5, 3};
    EXPECT_EQ(After("p2/1n1/2b/r2/2k", {Transform::kHMirror}, shape), "2k/r2/2b/1n1/p2");
}

TEST(Transform, TwentyByTwentyBringsNothingInFromOutside) {
    const BoardShape shape{20, 20};
    std::string full;
    for (int r = 0; r < 20; ++r) {
        full += std::string(20, r == 0 ? 'K' : 'p') + (r < 19 ? "/" : "");
    }
    Vet vet;
    position::ParseFEN(vet, full, shape);
    ASSERT_TRUE(ApplyTransform(vet, shape, Transform::kUp).ok);
    for (int s = 0; s < 400; ++s) {
        EXPECT_EQ(vet(position::kPosition, s), s < 380 ? 1 : 0) << s;
    }
    EXPECT_EQ(vet(position::kPosition, 400), 0);
    for (Transform t : {Transform::kLeft, Transform::kRight, Transform::kDown}) {
        position::ParseFEN(vet, full, shape);
        ASSERT_TRUE(ApplyTransform(vet, shape, t).ok);
        int pieces = 0;
        for (int s = 0; s < 400; ++s) {
            pieces += vet(position::kPosition, s) != 0;
        }
        EXPECT_EQ(pieces, 380) << TransformName(t);
    }
    EXPECT_EQ(
        After(full, {Transform::kRotate, Transform::kRotate, Transform::kRotate, Transform::kRotate}, shape),
        full);
}

TEST(Transform, EightByTenShiftsButDoesNotTurn) {
    const BoardShape shape{8, 10};
    const std::string fen = "r8k/82/82/82/82/82/82/K8R";
    EXPECT_EQ(After(fen, {Transform::kLeft}, shape), "8k1/82/82/82/82/82/82/8R1");
    EXPECT_EQ(After(fen, {Transform::kRight}, shape), "1r8/82/82/82/82/82/82/1K8");
    EXPECT_EQ(After(fen, {Transform::kHMirror}, shape), "K8R/82/82/82/82/82/82/r8k");
    for (Transform t : {Transform::kRotate, Transform::kDMirror}) {
        Vet vet;
        position::ParseFEN(vet, fen, shape);
        const TransformResult r = ApplyTransform(vet, shape, t);
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.reason.find("square board"), std::string::npos) << r.reason;
        EXPECT_EQ(position::VetToFEN(vet, shape), "r8k/82/82/82/82/82/82/K8R");
    }
}

TEST(Transform, CellCodesBecomePlainPieces) {
    const BoardShape shape;
    Vet vet;
    vet(position::kPosition, 1) = 2 + 13;  // P on the dark square b8, as an edit leaves it
    vet(position::kPosition, 2) = 13;      // the empty code of a dark square
    ASSERT_TRUE(ApplyTransform(vet, shape, Transform::kRight).ok);
    EXPECT_EQ(vet(position::kPosition, 2), 2);
    EXPECT_EQ(vet(position::kPosition, 3), 0);
}

TEST(Transform, OversizedShapeIsRefused) {
    Vet vet;
    EXPECT_FALSE(ApplyTransform(vet, BoardShape{21, 20}, Transform::kUp).ok);
}

TEST(Transform, NamesRoundTrip) {
    for (const char* name : {"left", "right", "up", "down", "rotate", "hmirror", "dmirror"}) {
        const auto t = ParseTransform(name);
        ASSERT_TRUE(t) << name;
        EXPECT_EQ(TransformName(*t), name);
    }
    EXPECT_FALSE(ParseTransform("Left"));
    EXPECT_FALSE(ParseTransform(""));
}

TEST(Reverse, TogglesWithTheBoardSize) {
    EditState st;
    const ReverseView on = Reverse(st, BoardShape{8, 10});
    EXPECT_EQ(st.Reversed, 81);
    EXPECT_TRUE(on.reversed);
    EXPECT_EQ(on.textColor, 0x0000FF);
    const ReverseView off = Reverse(st, BoardShape{8, 10});
    EXPECT_EQ(st.Reversed, 0);
    EXPECT_FALSE(off.reversed);
    EXPECT_EQ(off.textColor, 0);
    // Display and vector indexes swap ends while turned.
    EXPECT_EQ(VectorIndex(0, 65), 63);
    EXPECT_EQ(VectorIndex(63, 65), 0);
    EXPECT_EQ(VectorIndex(10, 0), 10);
}

}  // namespace
