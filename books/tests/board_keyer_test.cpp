// The index key worked out on the board must be the one the index reads
// back from the placement text written of that board: a conversion on
// workers and an index rebuilt from the work file must agree.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "books/board_keyer.h"
#include "position/placement_writer.h"

using namespace books;

namespace {

uint64_t KeyFromText(const position::Vet& vet, const position::BoardShape& shape) {
    std::string text(position::kMaxPlacement + 16, '\0');
    text.resize(static_cast<size_t>(position::WritePlacement(vet, shape, text.data())));
    const PlacementReader reader(shape);
    Placement placement;
    const uint32_t material = reader.ReadCellsMaterial(text, placement);
    return (PlacementHash(placement.cells) >> 32 << 32) | material;
}

TEST(BoardKeyer, SameKeyAsTheWrittenText) {
    struct Case {
        const char* name;
        int rows;
        int cols;
        const char* pieces;
        bool usable;
    };
    const Case cases[] = {
        {"chess", 8, 8, "KQRBNPkqrbnp", true},
        {"fairy men past the twelve slots", 8, 8, "KQRBNPGkqrbnpgAa", true},
        {"a letter twice", 8, 8, "KQRBNPkqrbnpQ", true},
        {"ten by ten", 10, 10, "KQRBNPkqrbnp", true},
        {"fifteen by seventeen", 15, 17, "KQRBNPkqrbnp", true},
        {"a digit for a man", 8, 8, "KQRBNPkqrbn1", false},
        {"a slash for a man", 8, 8, "KQRBNPkqrbn/", false},
        {"sixteen by sixteen", 16, 16, "KQRBNPkqrbnp", false},
    };
    std::mt19937 random(7);
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const position::BoardShape shape{k.rows, k.cols, k.pieces};
        const BoardKeyer keyer(shape);
        ASSERT_EQ(keyer.Usable(), k.usable);
        if (!k.usable) {
            continue;
        }
        const int n = shape.Pieces();
        // Boards of men only, few or many (more than 31, or of one kind),
        // and boards with men with the colour offset above n and values no
        // letter stands for.
        std::uniform_int_distribution<int> man(1, n);
        std::uniform_int_distribution<int> value(-2, 2 * n + 4);
        std::uniform_int_distribution<int> empty(0, 5);
        for (int trial = 0; trial < 300; ++trial) {
            const int kind = trial % 4;
            position::Vet vet{};
            for (int s = 0; s < shape.Squares(); ++s) {
                const bool filled = kind == 1 || kind == 3 ? empty(random) != 0 : empty(random) < 2;
                const int v = kind == 2 ? value(random) : kind == 3 ? 2 : man(random);
                vet(position::kPosition, s) = static_cast<int16_t>(filled ? v : 0);
            }
            ASSERT_EQ(keyer.Key(vet), KeyFromText(vet, shape)) << "trial " << trial;
        }
    }
}

}  // namespace
