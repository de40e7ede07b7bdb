#include "diagram/render/captions.h"

#include <QBuffer>
#include <QFile>
#include <QFontMetrics>
#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

#include "diagram/render/export.h"

namespace diagram {

namespace {

constexpr int kScreenDpi = 96;
constexpr int kMinimumPoints = 9;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QByteArray Xml(const QString& text) {
    return text.toHtmlEscaped().toUtf8();
}

// Runs fn over every caption line as drawn: its text, its baseline and
// whether it stands at the right edge. One set of metrics serves all.
template <typename Fn>
void ForEachLine(const CaptionText& c, const QFontMetrics& metrics, const CaptionGeometry& g, Fn fn) {
    const int room = std::max(0, g.width - 2 * g.margin);
    const auto fitted = [&metrics](const std::string& text, int width) {
        return metrics.elidedText(Q(text), Qt::ElideRight, width);
    };
    int y = g.ascent + g.margin / 2;
    for (const std::string& line : c.above) {
        fn(fitted(line, room), g.margin, y, false);
        y += g.lineHeight;
    }
    y = g.above + g.boardHeight + g.margin / 2 + g.ascent;
    if (!c.stipulation.empty() || !c.count.empty()) {
        // The count keeps its room; the stipulation takes what is left.
        const QString count = fitted(c.count, room);
        const int countWidth = metrics.horizontalAdvance(count);
        const int left = std::max(0, room - countWidth - metrics.horizontalAdvance(QStringLiteral("  ")));
        fn(fitted(c.stipulation, left), g.margin, y, false);
        fn(count, g.width - g.margin, y, true);
        y += g.lineHeight;
    }
    for (const std::string& line : c.below) {
        fn(fitted(line, room), g.margin, y, false);
        y += g.lineHeight;
    }
}

}  // namespace

QFont CaptionFont(const settings::Style& style) {
    QFont font(Q(style.FONTNAME));
    font.setPointSize(std::max<int>(style.FONTSIZE, kMinimumPoints));
    return font;
}

CaptionGeometry MeasureCaptions(const CaptionText& captions, const QFont& font, QSize boardSize,
                                QPaintDevice* device) {
    const QFontMetrics metrics(font, device);
    CaptionGeometry g;
    g.width = boardSize.width();
    g.boardHeight = boardSize.height();
    g.lineHeight = metrics.lineSpacing();
    g.ascent = metrics.ascent();
    g.margin = std::max(2, metrics.averageCharWidth() / 2);
    const auto band = [&g](int lines) { return lines == 0 ? 0 : lines * g.lineHeight + g.margin; };
    g.above = band(captions.LinesAbove());
    g.below = band(captions.LinesBelow());
    return g;
}

QString FittedLine(const QString& text, const QFont& font, int room, QPaintDevice* device) {
    return QFontMetrics(font, device).elidedText(text, Qt::ElideRight, room);
}

void PaintCaptions(QPainter& painter, const CaptionText& captions, const QFont& font,
                   const CaptionGeometry& g) {
    painter.save();
    painter.fillRect(QRect(0, 0, g.width, g.above), Qt::white);
    painter.fillRect(QRect(0, g.above + g.boardHeight, g.width, g.below), Qt::white);
    painter.setPen(Qt::black);
    painter.setFont(font);
    const QFontMetrics metrics(font, painter.device());
    ForEachLine(captions, metrics, g, [&](const QString& text, int x, int y, bool right) {
        painter.drawText(right ? x - metrics.horizontalAdvance(text) : x, y, text);
    });
    painter.restore();
}

QImage CaptionedImage(const QImage& board, const CaptionText& captions, const settings::Style& style) {
    if (captions.Empty()) {
        return board;
    }
    const QFont font = CaptionFont(style);
    QImage image(1, 1, QImage::Format_RGB32);
    image.setDotsPerMeterX(board.dotsPerMeterX());
    image.setDotsPerMeterY(board.dotsPerMeterY());
    const QSize size = board.size() / board.devicePixelRatio();
    const CaptionGeometry g = MeasureCaptions(captions, font, size, &image);
    QImage out(g.width, g.Height(), QImage::Format_RGB32);
    out.setDotsPerMeterX(board.dotsPerMeterX());
    out.setDotsPerMeterY(board.dotsPerMeterY());
    QPainter painter(&out);
    PaintCaptions(painter, captions, font, g);
    painter.drawImage(QRect(QPoint(0, g.above), size), board);
    painter.end();
    return out;
}

QByteArray CaptionedSvg(const QByteArray& boardSvg, QSize boardSize, const CaptionText& captions,
                        const settings::Style& style) {
    if (captions.Empty()) {
        return boardSvg;
    }
    const QFont font = CaptionFont(style);
    QImage probe(1, 1, QImage::Format_RGB32);
    const CaptionGeometry g = MeasureCaptions(captions, font, boardSize, &probe);
    const QByteArray w = QByteArray::number(g.width);
    const QByteArray h = QByteArray::number(g.Height());
    QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n<svg width=\"" + w +
                     "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h +
                     "\" version=\"1.1\" xmlns=\"http://www.w3.org/2000/svg\" "
                     "xmlns:xlink=\"http://www.w3.org/1999/xlink\">\n<title>Pandrel diagram</title>\n"
                     "<rect x=\"0\" y=\"0\" width=\"" +
                     w + "\" height=\"" + h + "\" fill=\"#ffffff\"/>\n";
    const QByteArray look = "font-family=\"" + Xml(QFontInfo(font).family()) + "\" font-size=\"" +
                            QByteArray::number(QFontMetrics(font, &probe).height() * 0.8, 'f', 1) +
                            "px\" fill=\"#000000\"";
    ForEachLine(captions, QFontMetrics(font, &probe), g, [&](const QString& text, int x, int y, bool right) {
        svg += "<text x=\"" + QByteArray::number(x) + "\" y=\"" + QByteArray::number(y) + "\" " + look +
               (right ? " text-anchor=\"end\"" : "") + ">" + Xml(text) + "</text>\n";
    });
    // The board's own drawing, as it is, moved under the upper band.
    QByteArray board = boardSvg;
    if (board.startsWith("<?xml")) {
        board.remove(0, board.indexOf('\n') + 1);
    }
    svg += "<g transform=\"translate(0 " + QByteArray::number(g.above) + ")\">\n" + board + "</g>\n</svg>\n";
    return svg;
}

QByteArray EncodeCaptioned(const Renderer& renderer, const settings::Style& style, const position::Vet& vet,
                           int reversed, ImageFormat format, const CaptionText& captions) {
    if (captions.Empty()) {
        return EncodeDiagram(renderer, style, vet, reversed, format);
    }
    switch (format) {
        case ImageFormat::kBmp:
        case ImageFormat::kPng: {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            QImageWriter writer(&buffer, FormatName(format));
            if (!writer.write(
                    CaptionedImage(DiagramImage(renderer, style, vet, reversed), captions, style))) {
                return {};
            }
            return bytes;
        }
        case ImageFormat::kSvg:
            return CaptionedSvg(DiagramSvg(renderer, style, vet, reversed), renderer.logicalSize(), captions,
                                style);
        case ImageFormat::kPdf: {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            QPdfWriter pdf(&buffer);
            pdf.setResolution(kScreenDpi);
            pdf.setCreator(QStringLiteral("Pandrel"));
            const QFont font = CaptionFont(style);
            const CaptionGeometry g = MeasureCaptions(captions, font, renderer.logicalSize(), &pdf);
            const QSizeF points(g.width * 72.0 / kScreenDpi, g.Height() * 72.0 / kScreenDpi);
            pdf.setPageLayout(
                QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                            QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
            QPainter painter;
            if (!painter.begin(&pdf)) {
                return {};
            }
            PaintCaptions(painter, captions, font, g);
            painter.translate(0, g.above);
            renderer.PaintDiagram(painter, style, vet, reversed);
            if (!painter.end()) {
                return {};
            }
            return bytes;
        }
    }
    return {};
}

bool WriteCaptioned(const Renderer& renderer, const settings::Style& style, const position::Vet& vet,
                    int reversed, ImageFormat format, const QString& path, const CaptionText& captions,
                    QString* error) {
    if (captions.Empty()) {
        return WriteDiagram(renderer, style, vet, reversed, format, path, error);
    }
    const QByteArray bytes = EncodeCaptioned(renderer, style, vet, reversed, format, captions);
    QFile file(path);
    if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        if (error != nullptr) {
            *error = bytes.isEmpty() ? QStringLiteral("the diagram could not be drawn") : file.errorString();
        }
        return false;
    }
    return true;
}

}  // namespace diagram
