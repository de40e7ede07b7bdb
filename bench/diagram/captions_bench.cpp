// Captions around a diagram against the diagram itself: the captions' share
// of a PNG diagram's time is to stay under 10 % (compare BM_CaptionsLayer
// with BM_DiagramPng; BM_CaptionedPng adds the writing of the taller
// picture).

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImageWriter>

#include "diagram/render/captions.h"
#include "diagram/render/export.h"
#include "diagram/render/tests/caption_samples.h"

namespace {

constexpr const char* kFen = "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR";

// 0: the program's own style (small bitmap men, as render-book draws by
// default); 1: a font style of 40-pixel squares.
settings::Style BenchStyle(int64_t which) {
    settings::Style style;
    style.FONTNAME = "DejaVu Sans";
    if (which == 1) {
        style.PIECESFONT = "FreeSerif";
        style.SQRWIDTH = style.SQRHEIGHT = 40 * 15;
    }
    return style;
}

diagram::CaptionText Captions() {
    return diagram::CaptionsOf(testsupport::CaptionRecord(), {16, 16, 0});
}

QByteArray Png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setCompression(11);
    writer.write(image);
    return bytes;
}

// A diagram as render-book makes it: the board drawn and written as PNG.
void BM_DiagramPng(benchmark::State& state) {
    settings::Style style = BenchStyle(state.range(0));
    diagram::Renderer renderer;
    renderer.DrawBoard(style, 0);
    position::Vet vet;
    for (auto _ : state) {
        renderer.Build(vet, kFen, style, 0);
        benchmark::DoNotOptimize(Png(diagram::DiagramImage(renderer, style, vet, 0)));
    }
}
BENCHMARK(BM_DiagramPng)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The same with captions, written as render-book writes them.
void BM_CaptionedPng(benchmark::State& state) {
    settings::Style style = BenchStyle(state.range(0));
    const diagram::CaptionText captions = Captions();
    diagram::Renderer renderer;
    renderer.DrawBoard(style, 0);
    position::Vet vet;
    for (auto _ : state) {
        renderer.Build(vet, kFen, style, 0);
        benchmark::DoNotOptimize(Png(diagram::PalettedImage(
            diagram::CaptionedImage(diagram::DiagramImage(renderer, style, vet, 0), captions, style))));
    }
}
BENCHMARK(BM_CaptionedPng)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The captions' layer alone, around a board already drawn.
void BM_CaptionsLayer(benchmark::State& state) {
    settings::Style style = BenchStyle(state.range(0));
    const diagram::CaptionText captions = Captions();
    diagram::Renderer renderer;
    renderer.DrawBoard(style, 0);
    position::Vet vet;
    renderer.Build(vet, kFen, style, 0);
    const QImage board = diagram::DiagramImage(renderer, style, vet, 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(diagram::CaptionedImage(board, captions, style));
    }
}
BENCHMARK(BM_CaptionsLayer)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
