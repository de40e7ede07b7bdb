#include <gtest/gtest.h>

#include <random>

#include "position/placement_writer.h"

using namespace position;

namespace {

// The placement written the plain way, square by square, as the reference
// the rank-by-rank writer must agree with.
std::string Plain(const Vet& vet, const BoardShape& shape) {
    std::string w;
    const int n = shape.Pieces();
    const int squares = std::min(shape.Squares(), kCells);
    int col = 0;
    int run = 0;
    for (int s = 0; s < squares; ++s) {
        int v = vet(kPosition, s);
        v = v > n ? v - (n + 1) : v;
        if (v < 1 || v > n) {
            ++col;
            ++run;
            if (col >= shape.cols) {
                w += std::to_string(run) + "/";
                run = col = 0;
            }
            if (run > 8) {
                w += '8';
                run = 1;
            }
        } else {
            if (run > 0) {
                w += std::to_string(run);
                run = 0;
            }
            w += shape.piecesList[static_cast<size_t>(v - 1)];
            if (++col >= shape.cols) {
                w += '/';
                col = 0;
            }
        }
    }
    if (!w.empty() && w.back() == '/') {
        w.pop_back();
    }
    return w;
}

int16_t RandomCell(std::mt19937& rng) {
    const int pick = static_cast<int>(rng() % 10);
    // Empty squares, pieces, and cell codes and junk values outside 1..n.
    return static_cast<int16_t>(pick < 5   ? 0
                                : pick < 8 ? 1 + static_cast<int>(rng() % 12)
                                           : static_cast<int>(rng() % 60) - 10);
}

TEST(PlacementWriter, AgreesWithThePlainWriterOnAnyBoard) {
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        BoardShape shape;
        shape.cols = 1 + static_cast<int>(rng() % 20);
        shape.rows = 1 + static_cast<int>(rng() % (400 / shape.cols));
        if (round % 3 == 0) {
            shape.rows = shape.cols = 8;
        }
        if (round % 7 == 0) {
            // More squares than the vector holds: the last rank is cut.
            shape.rows = 21;
            shape.cols = 20;
        }
        if (round % 5 == 0) {
            shape.piecesList = "pPnNbBrRqQkKxX";
        }
        PlacementWriter writer(shape);
        Vet vet;
        char out[kMaxPlacement + 32];
        // The same writer over a board that changes a little at a time.
        for (int step = 0; step < 20; ++step) {
            for (int k = 0; k < 1 + static_cast<int>(rng() % 6); ++k) {
                vet(kPosition, static_cast<int>(rng() % kCells)) = RandomCell(rng);
            }
            const int len = writer.Write(vet, out);
            ASSERT_EQ(std::string(out, static_cast<size_t>(len)), Plain(vet, shape))
                << shape.rows << "x" << shape.cols << " step " << step;
            ASSERT_EQ(VetToFEN(vet, shape), Plain(vet, shape));
        }
    }
}

TEST(PlacementWriter, RewritesOnlyTheRanksItIsToldOf) {
    // On 8 x 8 the caller names the ranks that changed; the others are
    // taken from the last text, even when the board says otherwise.
    std::mt19937 rng(11);
    const BoardShape shape;
    PlacementWriter writer(shape);
    ASSERT_TRUE(writer.Eight());
    Vet vet;
    char out[kMaxPlacement];
    EXPECT_EQ(std::string(out, static_cast<size_t>(writer.Write(vet, out, 0))), "8/8/8/8/8/8/8/8")
        << "the first call writes every rank whatever it is told";
    for (int step = 0; step < 500; ++step) {
        uint32_t changed = 0;
        for (int k = 0; k < 1 + static_cast<int>(rng() % 3); ++k) {
            const int s = static_cast<int>(rng() % 64);
            vet(kPosition, s) = RandomCell(rng);
            changed |= 1u << (s / 8);
        }
        const int len = writer.Write(vet, out, changed);
        ASSERT_EQ(std::string(out, static_cast<size_t>(len)), Plain(vet, shape)) << step;
    }
    const Vet before = vet;
    vet(kPosition, 0) = 12;
    const int stale = writer.Write(vet, out, 0);
    EXPECT_EQ(std::string(out, static_cast<size_t>(stale)), Plain(before, shape));
}

}  // namespace
