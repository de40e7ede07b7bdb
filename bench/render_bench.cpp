// Full repaints of the diagram: the cost of a style change or a reversal.

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "diagram/render/renderer.h"

namespace {

void FullRepaint(benchmark::State& state, int size, const char* fen) {
    settings::Style style;
    style.BORDERHEIGHT = static_cast<int16_t>(size);
    style.BORDERWIDTH = static_cast<int16_t>(size);
    diagram::Renderer renderer;
    renderer.DrawBoard(style, 0);
    position::Vet vet;
    for (auto _ : state) {
        position::ResetVet(vet, style.Shape());
        benchmark::DoNotOptimize(renderer.Build(vet, fen, style, 0));
    }
}

void BM_FullRepaint20x20(benchmark::State& state) {
    FullRepaint(state, 20,
                "rnbqkbnrrnbqkbnrrnbq/pppppppppppppppppppp/20/20/20/20/20/20/20/20/20/20/20/20/20/20/20/20/"
                "PPPPPPPPPPPPPPPPPPPP/RNBQKBNRRNBQKBNRRNBQ");
}
BENCHMARK(BM_FullRepaint20x20)->Unit(benchmark::kMicrosecond);

void BM_FullRepaint8x8(benchmark::State& state) {
    FullRepaint(state, 8, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
}
BENCHMARK(BM_FullRepaint8x8)->Unit(benchmark::kMicrosecond);

void BM_DrawBoardWithLettering(benchmark::State& state) {
    settings::Style style;
    style.SHOWGRID = 1;
    style.XBASE = 300;
    diagram::Renderer renderer;
    for (auto _ : state) {
        renderer.DrawBoard(style, 0);
    }
}
BENCHMARK(BM_DrawBoardWithLettering)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
