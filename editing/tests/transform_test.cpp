#include <gtest/gtest.h>

#include "editing/transform.h"

using namespace editing;
using position::BoardShape;
using enum Transform;

namespace {

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

std::string After(const std::string& fen, std::initializer_list<Transform> ts, BoardShape shape = {}) {
    position::Vet vet;
    position::ParseFEN(vet, fen, shape);
    for (Transform t : ts) {
        EXPECT_TRUE(ApplyTransform(vet, shape, t).ok) << TransformName(t);
    }
    return position::VetToFEN(vet, shape);
}

TEST(Transform, Results) {
    struct Case {
        const char* fen;
        std::initializer_list<Transform> ts;
        const char* result;
    };
    for (const Case& c : {
             Case{kStart, {kLeft}, "nbqkbnr1/ppppppp1/8/8/8/8/PPPPPPP1/NBQKBNR1"},
             Case{kStart, {kLeft, kLeft}, "bqkbnr2/pppppp2/8/8/8/8/PPPPPP2/BQKBNR2"},
             Case{kStart, {kRight}, "1rnbqkbn/1ppppppp/8/8/8/8/1PPPPPPP/1RNBQKBN"},
             Case{kStart, {kUp}, "pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR/8"},
             Case{kStart, {kUp, kDown}, "8/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR"},
             // a1 goes to the top-left, a8 to the top-right: clockwise.
             Case{"k7/8/8/8/8/8/8/R7", {kRotate}, "R6k/8/8/8/8/8/8/8"},
             // a8 goes to h1 and b8 to h2; a1 and h8 stay.
             Case{"qn5K/8/8/8/8/8/8/R7", {kDMirror}, "7K/8/8/8/8/8/7n/R6q"},
             Case{"k7/8/8/8/8/8/8/7R", {kHMirror}, "7R/8/8/8/8/8/8/k7"},
         }) {
        EXPECT_EQ(After(c.fen, c.ts), c.result) << c.fen << " " << TransformName(*c.ts.begin());
    }
    // Odd number of rows: the middle one stays.
    EXPECT_EQ(After("p2/1n1/2b/r2/2k", {kHMirror}, {5, 3}), "2k/r2/2b/1n1/p2");
}

TEST(Transform, TurnsAndMirrorsComeBack) {
    // Nothing symmetric about it, so any misplaced cell shows.
    const std::string fen = "r3k2r/1p3pp1/2n5/q7/4P3/1B6/PPP2PPP/R2QK1NR";
    EXPECT_EQ(After(fen, {kRotate, kRotate, kRotate, kRotate}), fen);
    EXPECT_EQ(After(fen, {kHMirror, kHMirror}), fen);
    EXPECT_EQ(After(fen, {kDMirror, kDMirror}), fen);
    EXPECT_EQ(After(fen, {kRotate}), After(fen, {kDMirror, kHMirror}));
}

TEST(Transform, TwentyByTwentyBringsNothingInFromOutside) {
    const BoardShape shape{20, 20};
    std::string full;
    for (int r = 0; r < 20; ++r) {
        full += std::string(20, r == 0 ? 'K' : 'p') + (r < 19 ? "/" : "");
    }
    position::Vet vet;
    for (Transform t : {kUp, kDown, kLeft, kRight}) {
        position::ParseFEN(vet, full, shape);
        ASSERT_TRUE(ApplyTransform(vet, shape, t).ok);
        int pieces = 0;
        for (int s = 0; s < position::kCells; ++s) {
            pieces += vet(position::kPosition, s) != 0;
        }
        EXPECT_EQ(pieces, 380) << TransformName(t);
    }
    EXPECT_EQ(After(full, {kRotate, kRotate, kRotate, kRotate}, shape), full);
    EXPECT_FALSE(ApplyTransform(vet, BoardShape{21, 20}, kUp).ok);
}

TEST(Transform, EightByTenShiftsButDoesNotTurn) {
    const BoardShape shape{8, 10};
    const std::string fen = "r8k/82/82/82/82/82/82/K8R";
    EXPECT_EQ(After(fen, {kLeft}, shape), "8k1/82/82/82/82/82/82/8R1");
    EXPECT_EQ(After(fen, {kHMirror}, shape), "K8R/82/82/82/82/82/82/r8k");
    for (Transform t : {kRotate, kDMirror}) {
        position::Vet vet;
        position::ParseFEN(vet, fen, shape);
        const TransformResult r = ApplyTransform(vet, shape, t);
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.reason.find("square board"), std::string::npos) << r.reason;
        EXPECT_EQ(position::VetToFEN(vet, shape), fen);
    }
}

// Vertical Mirror swaps the files on a board of any shape; twice it is the
// position again.
TEST(Transform, VerticalMirrorOnEveryBoardShape) {
    for (const BoardShape& shape :
         {BoardShape{1, 1}, BoardShape{8, 8}, BoardShape{3, 7}, BoardShape{20, 20}}) {
        SCOPED_TRACE(std::to_string(shape.rows) + "x" + std::to_string(shape.cols));
        const int squares = shape.Squares();
        position::Vet vet;
        // Every cell differs from its mirror image unless it is its own.
        for (int s = 0; s < squares; ++s) {
            vet(position::kPosition, s) = static_cast<int16_t>(1 + (s * 5 + s / shape.cols) % 12);
        }
        const position::Vet before = vet;
        ASSERT_TRUE(ApplyTransform(vet, shape, kVMirror).ok);
        for (int r = 0; r < shape.rows; ++r) {
            for (int c = 0; c < shape.cols; ++c) {
                ASSERT_EQ(vet(position::kPosition, r * shape.cols + c),
                          before(position::kPosition, r * shape.cols + shape.cols - 1 - c))
                    << "row " << r << " column " << c;
            }
        }
        ASSERT_TRUE(ApplyTransform(vet, shape, kVMirror).ok);
        for (int s = 0; s < squares; ++s) {
            ASSERT_EQ(vet(position::kPosition, s), before(position::kPosition, s)) << s;
        }
    }
    // The files swap, the ranks stay: the king goes from e1 to d1.
    EXPECT_EQ(After(kStart, {kVMirror}), "rnbkqbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBKQBNR");
    EXPECT_EQ(After("k7/8/8/8/8/8/8/6R1", {kVMirror}), "7k/8/8/8/8/8/8/1R6");
    EXPECT_EQ(After("r8k/82/82/82/82/82/82/K8R", {kVMirror}, {8, 10}), "k8r/82/82/82/82/82/82/R8K");
    // Half a turn is both mirrors.
    const std::string fen = "r3k2r/1p3pp1/2n5/q7/4P3/1B6/PPP2PPP/R2QK1NR";
    EXPECT_EQ(After(fen, {kRotate, kRotate}), After(fen, {kHMirror, kVMirror}));
    EXPECT_EQ(ParseTransform("vmirror"), kVMirror);
}

TEST(Transform, CellCodesBecomePlainPieces) {
    position::Vet vet;
    vet(position::kPosition, 1) = 2 + 13;  // P on the dark square b8, as an edit leaves it
    vet(position::kPosition, 2) = 13;      // the empty code of a dark square
    ASSERT_TRUE(ApplyTransform(vet, {}, kRight).ok);
    EXPECT_EQ(vet(position::kPosition, 2), 2);
    EXPECT_EQ(vet(position::kPosition, 3), 0);
}

TEST(Reverse, TogglesWithTheBoardSize) {
    EditState st;
    EXPECT_EQ(Reverse(st, {8, 10}).textColor, 0x0000FF);
    EXPECT_EQ(st.Reversed, 81);
    EXPECT_EQ(VectorIndex(0, 81), 79);
    EXPECT_FALSE(Reverse(st, {8, 10}).reversed);
    EXPECT_EQ(st.Reversed, 0);
    EXPECT_EQ(VectorIndex(10, 0), 10);
}

}  // namespace
