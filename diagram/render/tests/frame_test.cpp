// The frame of a font style: closed, its outer edge on the picture's edge,
// clean corners, in every output and at every scale.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "diagram/image_formats.h"
#include "diagram/render/export.h"

using namespace diagram;
using settings::Style;

namespace {

const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";
const QColor kWhite(255, 255, 255);
const QColor kFrame(0, 0, 255);

// The ready-made "Print" style, with a blue frame so that it stands apart
// from the black men and hatching.
Style PrintStyle() {
    Style s;
    s.PIECESFONT = "FreeSerif";
    s.LIGHTCOLOR = 0xFFFFFF;
    s.DARKCOLOR = 0;
    s.DARKHATCH = 1;
    s.SQRWIDTH = s.SQRHEIGHT = 60 * 15;
    s.XBASE = s.YBASE = 12 * 15;
    s.BACKCOLOR = 0xFFFFFF;
    s.FRAMEWIDTH = 3;
    s.FRAMECOLOR = 0xFF0000;
    return s;
}

// Where the parts of a diagram lie, in pixels of an image drawn at `ratio`
// device pixels a pixel.
struct Layout {
    int width = 0, height = 0;  // the picture
    int frame = 0;              // frame width
    QRect board;                // the squares

    Layout(const Style& prepared, double ratio) {
        const auto px = [ratio](double twips) { return static_cast<int>(std::lround(twips / 15 * ratio)); };
        width = px(prepared.WNDWIDTH);
        height = px(prepared.WNDHEIGHT);
        frame = static_cast<int>(std::lround(prepared.FRAMEWIDTH * ratio));
        board = QRect(px(prepared.XBASE), px(prepared.YBASE), px(8 * prepared.SQRWIDTH),
                      px(8 * prepared.SQRHEIGHT));
    }
    bool InFrame(int x, int y) const {
        return x < frame || y < frame || x >= width - frame || y >= height - frame;
    }
};

// Every pixel of the frame's band is the frame's colour and everything
// between the frame and the board is the ground: no strip outside the
// frame, no line inside it, no tails at the corners.
void ExpectClosedFrame(const QImage& image, const Layout& l, const std::string& what) {
    ASSERT_EQ(image.size(), QSize(l.width, l.height)) << what;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    int wrongFrame = 0, wrongGround = 0;
    QPoint firstFrame(-1, -1), firstGround(-1, -1);
    for (int y = 0; y < l.height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < l.width; ++x) {
            const QRgb c = line[x];
            if (l.InFrame(x, y)) {
                if (c != kFrame.rgb() && wrongFrame++ == 0) {
                    firstFrame = {x, y};
                }
            } else if (c != kWhite.rgb() && !l.board.contains(x, y) && wrongGround++ == 0) {
                firstGround = {x, y};
            }
        }
    }
    EXPECT_EQ(wrongFrame, 0) << what << ": first at " << firstFrame.x() << "," << firstFrame.y();
    EXPECT_EQ(wrongGround, 0) << what << ": first at " << firstGround.x() << "," << firstGround.y();
}

struct ScaleCase {
    double scale;
    int frame;  // the scaled frame width in pixels
};
const ScaleCase kScales[] = {{1, 3}, {2, 6}, {0.5, 2}, {1.5, 4}};

TEST(FontFrame, PngAtEveryScaleAndDensity) {
    QTemporaryDir dir;
    for (const ScaleCase& c : kScales) {
        const std::string what = "scale " + std::to_string(c.scale);
        Style scaled = PrintStyle();
        ASSERT_FALSE(ScaleStyle(scaled, c.scale).has_value());
        ASSERT_EQ(scaled.FRAMEWIDTH, c.frame) << what;

        // As pandrel-cli render writes it.
        DiagramRequest request{PrintStyle(), kStart, false, c.scale, ImageFormat::kPng};
        const QString path = dir.filePath(QStringLiteral("print.png"));
        QString error;
        ASSERT_TRUE(RenderDiagramFile(request, path, &error)) << error.toStdString();
        Style prepared = scaled;
        ApplyComputedGeometry(prepared);
        ExpectClosedFrame(QImage(path).convertToFormat(QImage::Format_RGB32), Layout(prepared, 1),
                          what + " png");

        // On a screen of twice the density, and drawn afresh from there (as
        // Save Image, a PDF page and the book sheet draw it).
        Renderer dense;
        dense.setDevicePixelRatio(2);
        position::Vet vet;
        Style style = scaled;
        dense.Redraw(vet, kStart, style, 0);
        ExpectClosedFrame(dense.picture(), Layout(dense.style(), 2), what + " on a dense screen");
        ExpectClosedFrame(DiagramImage(dense, style, vet, 0), Layout(dense.style(), 1),
                          what + " drawn again");
    }
}

TEST(FontFrame, SvgFrameIsTheBandAtTheEdge) {
    QTemporaryDir dir;
    for (const ScaleCase& c : kScales) {
        const std::string what = "scale " + std::to_string(c.scale);
        DiagramRequest request{PrintStyle(), kStart, false, c.scale, ImageFormat::kSvg};
        const QString path = dir.filePath(QStringLiteral("print.svg"));
        QString error;
        ASSERT_TRUE(RenderDiagramFile(request, path, &error)) << error.toStdString();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        double width = 0, height = 0;
        QImage covered;
        int lines = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) {
                continue;
            }
            const QXmlStreamAttributes a = xml.attributes();
            if (xml.name() == QLatin1String("svg")) {
                width = a.value("width").toDouble();
                height = a.value("height").toDouble();
                covered = QImage(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
                covered.fill(kWhite);
            } else if (xml.name() == QLatin1String("line") && a.value("stroke") == QLatin1String("#0000ff")) {
                // The area a square-ended line covers, marked pixel by pixel.
                ++lines;
                const double half = a.value("stroke-width").toDouble() / 2;
                ASSERT_EQ(a.value("stroke-linecap"), QLatin1String("square")) << what;
                const QRectF span = QRectF(QPointF(a.value("x1").toDouble(), a.value("y1").toDouble()),
                                           QPointF(a.value("x2").toDouble(), a.value("y2").toDouble()))
                                        .normalized()
                                        .adjusted(-half, -half, half, half);
                const QRect pixels = span.toAlignedRect().intersected(covered.rect());
                for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
                    for (int x = pixels.left(); x <= pixels.right(); ++x) {
                        if (span.contains(x + 0.5, y + 0.5)) {
                            covered.setPixel(x, y, kFrame.rgb());
                        }
                    }
                }
            }
        }
        ASSERT_FALSE(xml.hasError()) << what << ": " << xml.errorString().toStdString();
        EXPECT_EQ(lines, 4) << what;
        Style prepared = PrintStyle();
        ASSERT_FALSE(ScaleStyle(prepared, c.scale).has_value());
        ApplyComputedGeometry(prepared);
        // Only the frame was marked: nowhere else, not even on the board,
        // is there a frame line.
        Layout frameOnly(prepared, 1);
        frameOnly.board = QRect();
        ExpectClosedFrame(covered, frameOnly, what + " svg");
    }
}

}  // namespace
