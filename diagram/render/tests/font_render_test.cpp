#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTransform>
#include <QXmlStreamReader>

#include "diagram/render/export.h"
#include "diagram/render/tests/image_diff.h"

using namespace diagram;
using settings::Style;

namespace {

using testsupport::Differing;

const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

Style FontStyle(int squarePixels = 40) {
    Style s;
    s.PIECESFONT = "FreeSerif";
    s.SQRWIDTH = s.SQRHEIGHT = static_cast<int16_t>(squarePixels * 15);
    s.LIGHTCOLOR = 0x00C0E0F0;
    s.DARKCOLOR = 0x00408040;  // green, so neither men colour is a square colour
    return s;
}

struct Drawn {
    Renderer renderer;
    position::Vet vet;
    Style style;
    int reversed = 0;

    explicit Drawn(Style s, double ratio = 1) : style(std::move(s)) { renderer.setDevicePixelRatio(ratio); }
    const QImage& Draw(const std::string& fen) {
        renderer.Redraw(vet, fen, style, reversed);
        return renderer.picture();
    }
    // One square of the picture, in device pixels.
    QImage Square(int col, int row) const {
        const int w = style.SQRWIDTH / 15;
        const double r = renderer.picture().devicePixelRatio();
        return renderer.picture().copy(QRect(QPoint(col * w, row * w) * r, QSize(w, w) * r));
    }
};

// Share of a picture's pixels in a colour.
double Share(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
        }
    }
    return static_cast<double>(count) / (image.width() * image.height());
}

TEST(FontStyle, WhiteMenLightInsideBlackMenSolid) {
    Drawn d(FontStyle());
    d.Draw(kStart);
    EXPECT_EQ(d.renderer.logicalSize(), QSize(8 * 40 + 4, 8 * 40 + 4));
    const QRgb white = 0xFFFFFF, black = 0x000000;
    for (int col = 0; col < 8; ++col) {
        const QImage whiteMan = d.Square(col, 7);
        const QImage blackMan = d.Square(col, 0);
        EXPECT_GT(Share(whiteMan, white), 0.03) << col;  // the light inside
        EXPECT_GT(Share(whiteMan, black), 0.02) << col;  // its dark outline
        EXPECT_GT(Share(blackMan, black), 0.12) << col;
        // Only the light details the glyph draws inside, and the hollows
        // its outline all but closes.
        EXPECT_LT(Share(blackMan, white), 0.05) << col;
    }
    // Empty squares are the style's colours.
    EXPECT_EQ(d.Square(0, 2).pixelColor(20, 20), ToQColor(d.style.LIGHTCOLOR));
    EXPECT_EQ(d.Square(1, 2).pixelColor(20, 20), ToQColor(d.style.DARKCOLOR));
}

TEST(FontStyle, TurnedMenAreTheUprightOnesTurned) {
    Style s = FontStyle(48);
    s.PIECESLIST = "pPnNbBrRqQkKaAbBcC";
    s.ENGLISHNOTATION = s.PIECESLIST;
    s.PIECESGLYPHS = "A=N90 C=N180 c=N270";
    Drawn d(s);
    d.Draw("N1A1C1c1/8/8/8/8/8/8/8");  // all on light squares: a8, c8, e8, g8
    const QImage upright = d.Square(0, 0);
    const struct {
        int col;
        int angle;
    } turned[] = {{2, 90}, {4, 180}, {6, 270}};
    for (const auto& t : turned) {
        const QImage expected = upright.transformed(QTransform().rotate(t.angle));
        EXPECT_LT(Differing(d.Square(t.col, 0), expected), 0.03) << t.angle;
        EXPECT_GT(Differing(d.Square(t.col, 0), upright), 0.05) << t.angle;  // the turn shows
    }
}

TEST(FontStyle, NeutralManAndUnknownLettersAndHatching) {
    Style s = FontStyle(40);
    s.PIECESLIST = "pPnNbBrRqQkKxXy";
    s.ENGLISHNOTATION = "pPnNbBrRqQkKxXy";
    s.PIECESGLYPHS = "x=q~";
    s.DARKHATCH = 1;
    s.LIGHTCOLOR = 0xFFFFFF;
    s.DARKCOLOR = 0;
    Drawn d(s);
    d.Draw("x1y5/X7/8/8/8/8/8/8");
    const QImage neutral = d.Square(0, 0);
    const QImage left = neutral.copy(0, 0, 20, 40);
    const QImage right = neutral.copy(20, 0, 20, 40);
    EXPECT_GT(Share(right, 0x000000) - Share(left, 0x000000), 0.1);  // dark right half
    // "y" has no kind and no entry; "X" no kind either: bare squares.
    EXPECT_EQ(Share(d.Square(2, 0), 0xFFFFFF), 1.0);
    const QImage hatched = d.Square(0, 1);  // "X" on a dark square: hatching only
    EXPECT_GT(Share(hatched, 0x000000), 0.1);
    EXPECT_GT(Share(hatched, 0xFFFFFF), 0.3);
    EXPECT_EQ(Differing(d.Square(2, 1), hatched), 0.0);  // an empty dark square looks the same
}

TEST(FontStyle, ScaleGivesTheStyleWrittenLarger) {
    Style base = FontStyle(20);
    base.XBASE = base.YBASE = 6 * 15;
    base.FRAMEWIDTH = 1;
    base.SHOWGRID = 1;
    base.FONTNAME = "DejaVu Sans";
    base.FONTSIZE = 7;
    QTemporaryDir dir;
    DiagramRequest request{base, kStart, false, 3, ImageFormat::kPng};
    ASSERT_TRUE(RenderDiagramFile(request, dir.filePath("scaled.png")));
    Style large = base;
    large.SQRWIDTH = large.SQRHEIGHT = 60 * 15;
    large.XBASE = large.YBASE = 18 * 15;
    large.FRAMEWIDTH = 3;
    large.FONTSIZE = 21;
    request = DiagramRequest{large, kStart, false, 1, ImageFormat::kPng};
    ASSERT_TRUE(RenderDiagramFile(request, dir.filePath("large.png")));
    const QImage scaled(dir.filePath("scaled.png"));
    EXPECT_EQ(scaled.size(), QSize(8 * 60 + 2 * 18 + 4, 8 * 60 + 2 * 18 + 4));
    EXPECT_TRUE(scaled == QImage(dir.filePath("large.png")));

    request.scale = -2;
    QString error;
    EXPECT_FALSE(RenderDiagramFile(request, dir.filePath("bad.png"), &error));
    EXPECT_FALSE(error.isEmpty());
}

// Elements of an SVG document by name.
std::map<QString, int> SvgElements(const QByteArray& svg) {
    std::map<QString, int> counts;
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            ++counts[xml.name().toString()];
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return counts;
}

TEST(VectorOutput, SvgHasSquaresMenLetteringAndStrokes) {
    Style s = FontStyle(30);
    s.SHOWGRID = 1;
    s.FONTNAME = "DejaVu Sans";
    Drawn d(s);
    d.Draw(kStart);
    d.renderer.DrawStroke({OverlayStroke::kLine, 0, 0, 300, 300, 0, 2, 0xFF});
    d.renderer.DrawStroke({OverlayStroke::kCircle, 450, 450, 0, 0, 200, 1, 0xFF});
    auto counts = SvgElements(DiagramSvg(d.renderer, d.style, d.vet, 0));
    EXPECT_EQ(counts["rect"], 1 + 64);  // the ground and the squares
    EXPECT_EQ(counts["path"], 32 * 2);  // every man's inside and lines
    EXPECT_EQ(counts["text"], 16);      // eight numbers, eight letters
    EXPECT_GE(counts["polyline"] + counts["line"], 1);
    EXPECT_GE(counts["circle"] + counts["ellipse"], 1);

    // A bitmap style's squares are its pieces bitmap's cells.
    Drawn bitmap{Style{}};
    bitmap.Draw(kStart);
    counts = SvgElements(DiagramSvg(bitmap.renderer, bitmap.style, bitmap.vet, 0));
    EXPECT_EQ(counts["image"], 64);
    EXPECT_EQ(counts["path"], 0);
}

TEST(VectorOutput, PdfIsOnePageOfTheDiagramsSize) {
    Drawn d(FontStyle(45));
    d.Draw(kStart);
    QTemporaryDir dir;
    const QString path = dir.filePath("board.pdf");
    QString error;
    ASSERT_TRUE(WriteDiagram(d.renderer, d.style, d.vet, 0, ImageFormat::kPdf, path, &error))
        << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString pdf = QString::fromLatin1(file.readAll());
    EXPECT_EQ(pdf.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))), 1);
    const auto box =
        QRegularExpression(QStringLiteral("/MediaBox\\s*\\[\\s*0\\s+0\\s+([0-9.]+)\\s+([0-9.]+)")).match(pdf);
    ASSERT_TRUE(box.hasMatch());
    const double side = (8 * 45 + 4) * 72.0 / 96.0;  // pixels at 96 dpi in points
    EXPECT_NEAR(box.captured(1).toDouble(), side, 1.0);
    EXPECT_NEAR(box.captured(2).toDouble(), side, 1.0);

    EXPECT_FALSE(
        WriteDiagram(d.renderer, d.style, d.vet, 0, ImageFormat::kPdf, "/nonexistent/x.pdf", &error));
    EXPECT_FALSE(
        WriteDiagram(d.renderer, d.style, d.vet, 0, ImageFormat::kSvg, "/nonexistent/x.svg", &error));
}

TEST(RasterOutput, BitmapStylesAsDrawnDenseScreensDrawnAgain) {
    // A bitmap style ignores the screen's ratio and is written as drawn.
    Drawn bitmap(Style{}, 2);
    const QImage& picture = bitmap.Draw(kStart);
    EXPECT_EQ(picture.size(), QSize(124, 124));
    EXPECT_TRUE(DiagramImage(bitmap.renderer, bitmap.style, bitmap.vet, 0) == picture);

    // A font style is drawn at the screen's density, and written at one
    // pixel a pixel, as on a plain screen.
    Drawn dense(FontStyle(30), 2);
    dense.Draw(kStart);
    EXPECT_EQ(dense.renderer.picture().size(), QSize(2 * 244, 2 * 244));
    EXPECT_EQ(dense.renderer.logicalSize(), QSize(244, 244));
    Drawn plain(FontStyle(30), 1);
    plain.Draw(kStart);
    const QImage written = DiagramImage(dense.renderer, dense.style, dense.vet, 0);
    EXPECT_EQ(written.size(), QSize(244, 244));
    EXPECT_LT(Differing(written, plain.renderer.picture()), 0.001);
}

}  // namespace

namespace {

// The squares of a font style are drawn when first put on the board, at the
// density of the picture they go into: a ratio set after DrawBoard, or
// squares put one by one after a full board, give the same picture.
TEST(FontStyle, SquaresDrawnOnDemandMatchThePicture) {
    Drawn whole(FontStyle(30), 2);
    const QImage& full = whole.Draw(kStart);

    Drawn late(FontStyle(30), 2);
    late.renderer.DrawBoard(late.style, 0);
    late.renderer.setDevicePixelRatio(1);  // for the next DrawBoard only
    position::ResetVet(late.vet, late.style.Shape());
    late.renderer.Build(late.vet, "8/8/8/8/8/8/8/8", late.style, 0);
    late.renderer.Build(late.vet, kStart, late.style, 0);
    ASSERT_EQ(late.renderer.picture().size(), full.size());
    EXPECT_EQ(Differing(late.renderer.picture(), full), 0);
    // A white king on a light square and a black one on a dark square differ.
    EXPECT_GT(Differing(whole.Square(4, 7), whole.Square(4, 0)), 0.05);
}

}  // namespace
