// Matching record texts without reading whole placements, and the material
// the index keeps, against the plain reading of the placement.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "books/position_match.h"

namespace books {
namespace {

position::BoardShape Shape(int rows, int cols,
                           std::string pieces = std::string(position::kDefaultPiecesList)) {
    position::BoardShape s;
    s.rows = rows;
    s.cols = cols;
    s.piecesList = std::move(pieces);
    return s;
}

// A random text of the board's placement: men, runs of empty squares
// written as one or several digits, rank marks, and now and then men past
// the board, a tally prefix or the fields after the placement.
std::string RandomText(std::mt19937& rng, const position::BoardShape& shape, double density) {
    std::uniform_real_distribution<double> unit(0, 1);
    std::string text;
    if (unit(rng) < 0.2) {
        text += "(" + std::to_string(shape.rows) + "x" + std::to_string(shape.cols) + ") ";
    }
    int empty = 0;
    auto flushEmpty = [&] {
        while (empty > 0) {
            const int run = std::min(empty, unit(rng) < 0.3 ? 1 + static_cast<int>(unit(rng) * 3) : 9);
            text += static_cast<char>('0' + run);
            empty -= run;
        }
    };
    const int squares = shape.Squares() + (unit(rng) < 0.1 ? 3 : 0);
    for (int s = 0; s < squares; ++s) {
        if (s > 0 && s % shape.cols == 0) {
            flushEmpty();
            text += '/';
        }
        if (unit(rng) < density) {
            flushEmpty();
            text += shape.piecesList[static_cast<size_t>(unit(rng) *
                                                         static_cast<double>(shape.piecesList.size()))];
        } else {
            ++empty;
        }
    }
    if (unit(rng) < 0.5) {
        flushEmpty();  // otherwise the text stops short: the rest is empty
    }
    if (unit(rng) < 0.5) {
        text += " b KQkq - 0 1";  // letters of men after the placement do not count
    }
    return text;
}

TEST(TextMatcherTest, AgreesWithReadingThePlacement) {
    struct Case {
        const char* what;
        position::BoardShape shape;
        double density;
    };
    const Case cases[] = {
        {"chess board, sparse", Shape(8, 8), 0.15},
        {"chess board, full", Shape(8, 8), 0.6},
        {"narrow board", Shape(3, 5), 0.3},
        {"large board", Shape(16, 16), 0.1},
        {"many letters", Shape(10, 10, "pPnNbBrRqQkKaAcCeE"), 0.3},
    };
    std::mt19937 rng(11);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PlacementReader reader(c.shape);
        std::vector<std::string> texts;
        for (int i = 0; i < 300; ++i) {
            texts.push_back(RandomText(rng, c.shape, c.density));
        }
        int exactHits = 0;
        int onTheBoard = 0;  // queries without men past the board meet their own text
        int partialHits = 0;
        for (size_t q = 0; q < 40; ++q) {
            Placement query;
            reader.Read(texts[q], query);
            onTheBoard += query.outside == 0 ? 1 : 0;
            // The whole position and a part of it: its first men.
            Placement part = query;
            part.men.resize(std::min<size_t>(part.men.size(), 1 + q % 3));
            const TextMatcher exact(reader, query, false);
            const TextMatcher partial(reader, part, true);
            for (const std::string& t : texts) {
                Placement record;
                reader.ReadCells(t, record);
                const bool wantExact = MatchesInPlace(record, query, false, reader.Squares());
                const bool wantPartial = MatchesInPlace(record, part, true, reader.Squares());
                ASSERT_EQ(exact.Matches(t), wantExact) << texts[q] << " against " << t;
                ASSERT_EQ(partial.Matches(t), wantPartial) << texts[q] << " (part) against " << t;
                exactHits += wantExact ? 1 : 0;
                partialHits += wantPartial ? 1 : 0;
            }
        }
        EXPECT_GE(exactHits, onTheBoard);
        EXPECT_GT(partialHits, exactHits);
    }
}

TEST(MaterialTest, ReadingCountsWhatThePlacementHolds) {
    std::mt19937 rng(3);
    for (const position::BoardShape& shape :
         {Shape(8, 8), Shape(16, 16), Shape(5, 5, "pPnNbBrRqQkKaAcCeE"), Shape(20, 20)}) {
        const PlacementReader reader(shape);
        for (int i = 0; i < 200; ++i) {
            const std::string text = RandomText(rng, shape, i % 2 == 0 ? 0.2 : 0.97);
            Placement cells;
            const uint32_t material = reader.ReadCellsMaterial(text, cells);
            Placement full;
            reader.Read(text, full);
            ASSERT_EQ(cells.cells, full.cells) << text;
            ASSERT_EQ(material, MaterialOf(full)) << text;
        }
    }
}

TEST(MaterialTest, FilterPassesExactlyTheMaterialsThatMayMatch) {
    const position::BoardShape shape = Shape(8, 8);
    const PlacementReader reader(shape);
    std::mt19937 rng(8);
    std::vector<Placement> placements;
    for (int i = 0; i < 200; ++i) {
        Placement p;
        reader.Read(RandomText(rng, shape, 0.05 + 0.5 * (i % 5) / 5), p);
        placements.push_back(std::move(p));
    }
    for (size_t q = 0; q < 20; ++q) {
        const std::vector<uint32_t> wanted = {MaterialOf(placements[q]), MaterialOf(placements[q + 20])};
        const MaterialFilter exact(wanted, false);
        const MaterialFilter partial(wanted, true);
        for (const Placement& p : placements) {
            const uint32_t m = MaterialOf(p);
            bool holds = false;
            for (const uint32_t w : wanted) {
                bool all = true;
                for (int slot = 0; slot < kMaterialSlots; ++slot) {
                    all = all && ((m >> (2 * slot)) & 3) >= ((w >> (2 * slot)) & 3);
                }
                holds = holds || all;
            }
            EXPECT_EQ(exact.Passes(m), m == wanted[0] || m == wanted[1]);
            EXPECT_EQ(partial.Passes(m), holds);
            // A placement holding the men of a wanted one always passes.
            for (const size_t w : {q, q + 20}) {
                if (MatchesInPlace(p, placements[w], true, reader.Squares())) {
                    EXPECT_TRUE(partial.Passes(m));
                }
            }
        }
    }
}

}  // namespace
}  // namespace books
