#include "position/position_state.h"

#include <gtest/gtest.h>

namespace position {
namespace {

BoardShape Shape(int rows, int cols) {
    BoardShape shape;
    shape.rows = rows;
    shape.cols = cols;
    return shape;
}

TEST(FenLine, ReadsPlacementAndStateOnAnyShape) {
    struct Case {
        int rows, cols;
        const char* text;
        const char* placement;  // VetToFEN of what was read
        const char* fields;     // StateFields of what was read
    };
    for (const Case& c : {
             Case{8, 8, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1",
                  "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR", "b KQkq e3"},
             Case{8, 8, "(2x1)4k3/8/8/8/8/8/8/4K2R", "4k3/8/8/8/8/8/8/4K2R", "w - -"},
             Case{8, 8, "4k3/8/8/8/8/8/8/4K2R w qK", "4k3/8/8/8/8/8/8/4K2R", "w Kq -"},
             Case{5, 4, "k3/4/4/4/3K b - d2", "k3/4/4/4/3K", "b - d2"},
         }) {
        const BoardShape shape = Shape(c.rows, c.cols);
        const FenLine line = ReadFenLine(c.text, shape);
        ASSERT_EQ(line.error, "") << c.text;
        Vet vet;
        vet.cells[kPosition] = line.placement;
        EXPECT_EQ(VetToFEN(vet, shape), c.placement) << c.text;
        EXPECT_EQ(StateFields(line.state, shape), c.fields) << c.text;
    }
}

TEST(FenLine, RefusesWithAReason) {
    struct Case {
        const char* text;
        const char* reason;
    };
    for (const Case& c : {
             Case{"  ", "empty"},
             Case{"4k3/8/8/8/8/8/8/4K3/8", "does not fit"},
             Case{"4k3/8/8/8/8/8/8/4K4", "does not fit"},
             Case{"4k3/7/8/8/8/8/8/4K3", "rank 7 does not hold 8 squares"},
             Case{"4k3/8/8/8/8/8/8", "8 ranks"},
             Case{"4k3/8/8/8/8/8/8/4K2G", "\"G\""},
             Case{"4k3/8/8/8/8/8/8/4K3 x", "w or b"},
             Case{"4k3/8/8/8/8/8/8/4K3 w KX", "castling"},
             Case{"4k3/8/8/8/8/8/8/4K3 w - i3", "en-passant"},
         }) {
        const FenLine line = ReadFenLine(c.text, Shape(8, 8));
        EXPECT_NE(line.error.find(c.reason), std::string::npos) << c.text << ": " << line.error;
    }
}

}  // namespace
}  // namespace position
