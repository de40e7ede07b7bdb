// Font styles on the screen: the full repaint of a 20 x 20 board at 40-pixel
// squares (DrawBoard, the painted plane reset, the board update), and its
// parts. The men are drawn from an outline font, so DrawBoard pays for them.

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "diagram/render/font_men.h"
#include "diagram/render/renderer.h"

namespace {

constexpr const char* kBoard20 =
    "rnbqkbnrrnbqkbnrrnbq/pppppppppppppppppppp/20/20/20/20/20/20/20/20/20/20/20/20/20/20/20/20/"
    "PPPPPPPPPPPPPPPPPPPP/RNBQKBNRRNBQKBNRRNBQ";

settings::Style FontStyle40() {
    settings::Style style;
    style.PIECESFONT = "FreeSerif";
    style.BORDERHEIGHT = 20;
    style.BORDERWIDTH = 20;
    style.SQRWIDTH = style.SQRHEIGHT = 40 * settings::kTwipsPerPixel;
    style.XBASE = style.YBASE = 10 * settings::kTwipsPerPixel;
    style.BACKCOLOR = 0xFFFFFF;
    return style;
}

// What the window does when the look changes: the whole picture afresh.
void BM_FontRedraw20x20(benchmark::State& state) {
    settings::Style style = FontStyle40();
    diagram::Renderer renderer;
    position::Vet vet;
    for (auto _ : state) {
        benchmark::DoNotOptimize(renderer.Redraw(vet, kBoard20, style, 0));
    }
}
BENCHMARK(BM_FontRedraw20x20)->Unit(benchmark::kMicrosecond);

// The same with the hatched dark squares of a print style.
void BM_FontRedraw20x20Hatched(benchmark::State& state) {
    settings::Style style = FontStyle40();
    style.DARKHATCH = 1;
    diagram::Renderer renderer;
    position::Vet vet;
    for (auto _ : state) {
        benchmark::DoNotOptimize(renderer.Redraw(vet, kBoard20, style, 0));
    }
}
BENCHMARK(BM_FontRedraw20x20Hatched)->Unit(benchmark::kMicrosecond);

// Only the squares, once the picture is prepared (a reversal, a new position).
void BM_FontRepaintSquares20x20(benchmark::State& state) {
    settings::Style style = FontStyle40();
    diagram::Renderer renderer;
    renderer.DrawBoard(style, 0);
    position::Vet vet;
    for (auto _ : state) {
        position::ResetVet(vet, style.Shape());
        benchmark::DoNotOptimize(renderer.Build(vet, kBoard20, style, 0));
    }
}
BENCHMARK(BM_FontRepaintSquares20x20)->Unit(benchmark::kMicrosecond);

// Only the picture's preparation, the drawn squares of every cell code included.
void BM_FontDrawBoard20x20(benchmark::State& state) {
    settings::Style style = FontStyle40();
    diagram::Renderer renderer;
    for (auto _ : state) {
        benchmark::DoNotOptimize(renderer.DrawBoard(style, 0));
    }
}
BENCHMARK(BM_FontDrawBoard20x20)->Unit(benchmark::kMicrosecond);

// A font style's men made ready: the outlines of the six kinds in both
// colours, their insides and the gaps they close when drawn small.
void BM_FontMenPrepare(benchmark::State& state) {
    const settings::Style style = FontStyle40();
    for (auto _ : state) {
        diagram::FontMen men(style);
        benchmark::DoNotOptimize(&men);
    }
}
BENCHMARK(BM_FontMenPrepare)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
