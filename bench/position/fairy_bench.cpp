// Reading and writing a full 20 x 20 fairy position in each notation, and
// putting it into the style's letters and back: each well under a
// millisecond.

#include <benchmark/benchmark.h>

#include <string>

#include "position/fairy_style.h"

namespace {

using position::FairyColor;
using position::FairySquare;
using position::Notation;

// Every square taken: men of every kind, colour and turn the notation
// writes, and for Fairy FEN markers and texts too.
position::FairyBoard FullBoard(Notation notation) {
    std::vector<FairySquare> kinds;
    for (const FairyColor color : {FairyColor::kWhite, FairyColor::kBlack, FairyColor::kNeutral}) {
        for (const char* code : {"K", "Q", "R", "B", "S", "P"}) {
            for (int turns = 0; turns < (notation == Notation::kPopeye ? 1 : 4); ++turns) {
                kinds.push_back(FairySquare::Man(code, color, turns));
            }
        }
        if (notation == Notation::kFfen) {
            kinds.push_back(FairySquare::Marker(position::MarkerKind::kCircle, color));
        } else {
            // A fairy man, turned as well where the notation writes turns.
            for (int turns = 0; turns < (notation == Notation::kYacpdb ? 4 : 1); ++turns) {
                kinds.push_back(FairySquare::Man("PA", color, turns));
            }
        }
    }
    if (notation == Notation::kFfen) {
        kinds.push_back(FairySquare::Text("12"));
    }
    position::FairyBoard board(20, 20);
    for (size_t s = 0; s < board.squares.size(); ++s) {
        board.squares[s] = kinds[s % kinds.size()];
    }
    return board;
}

void ReadWrite(benchmark::State& state, Notation notation) {
    const std::string text = position::WriteNotation(FullBoard(notation), notation).text;
    for (auto _ : state) {
        const position::NotationRead r = position::ReadNotation(text, notation);
        benchmark::DoNotOptimize(position::WriteNotation(*r.board, notation).text);
    }
}

void BM_FfenReadWrite20x20(benchmark::State& state) {
    ReadWrite(state, Notation::kFfen);
}
BENCHMARK(BM_FfenReadWrite20x20)->Unit(benchmark::kMicrosecond);

void BM_YacpdbReadWrite20x20(benchmark::State& state) {
    ReadWrite(state, Notation::kYacpdb);
}
BENCHMARK(BM_YacpdbReadWrite20x20)->Unit(benchmark::kMicrosecond);

void BM_PopeyeReadWrite20x20(benchmark::State& state) {
    ReadWrite(state, Notation::kPopeye);
}
BENCHMARK(BM_PopeyeReadWrite20x20)->Unit(benchmark::kMicrosecond);

// Text to the FEN box's letters (gaining every letter it needs) and back.
void ThroughTheStyle(benchmark::State& state, Notation notation) {
    const std::string text = position::WriteNotation(FullBoard(notation), notation).text;
    for (auto _ : state) {
        const position::NotationRead r = position::ReadNotation(text, notation);
        const position::PlacementImport in = position::ToPlacement(*r.board, notation, {}, "");
        position::Vet vet;
        position::Build2(vet, position::kPosition, in.placement, {20, 20, in.style.piecesList});
        const position::NotationRead out = position::FromPlacement(vet, in.style, "", notation);
        benchmark::DoNotOptimize(position::WriteNotation(*out.board, notation).text);
    }
}

void BM_FfenThroughTheStyle20x20(benchmark::State& state) {
    ThroughTheStyle(state, Notation::kFfen);
}
BENCHMARK(BM_FfenThroughTheStyle20x20)->Unit(benchmark::kMicrosecond);

void BM_YacpdbThroughTheStyle20x20(benchmark::State& state) {
    ThroughTheStyle(state, Notation::kYacpdb);
}
BENCHMARK(BM_YacpdbThroughTheStyle20x20)->Unit(benchmark::kMicrosecond);

void BM_PopeyeThroughTheStyle20x20(benchmark::State& state) {
    ThroughTheStyle(state, Notation::kPopeye);
}
BENCHMARK(BM_PopeyeThroughTheStyle20x20)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
