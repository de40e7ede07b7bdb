#include "diagram/render/captions.h"

#include <QBuffer>
#include <QFile>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>
#include <QtMath>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>
#include <vector>

#include "diagram/render/export.h"
#include "platform/safe_files.h"

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

// A line's text between its blanks, as the wrap reads it.
QStringList Words(const QString& text) {
    return text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// Adds text as lines no wider than room: wrapped, or as one line elided.
void AppendWrapped(QStringList& lines, const std::string& text, const QFont& font, QPaintDevice* device,
                   qreal room, CaptionFit fit) {
    if (fit == CaptionFit::kWrap) {
        lines.append(WrapCaption(Q(text), font, device, room));
        return;
    }
    const QString line =
        QFontMetricsF(font, device).elidedText(Words(Q(text)).join(QLatin1Char(' ')), Qt::ElideRight, room);
    if (!line.isEmpty()) {
        lines.append(line);
    }
}

}  // namespace

QFont CaptionFont(const settings::Style& style) {
    QFont font(Q(style.FONTNAME));
    font.setPointSize(std::max<int>(style.FONTSIZE, kMinimumPoints));
    return font;
}

int WrappedCaptions::LinesBelow() const {
    int lines = static_cast<int>(below.size() + stipulation.size());
    if (!count.isEmpty() && (!stipulationBeside || stipulation.isEmpty())) {
        ++lines;
    }
    return lines;
}

WrappedCaptions WrapCaptions(const CaptionText& captions, const QFont& font, QPaintDevice* device, qreal room,
                             CaptionFit fit) {
    const QFontMetricsF metrics(font, device);
    WrappedCaptions w;
    for (const std::string& text : captions.above) {
        AppendWrapped(w.above, text, font, device, room, fit);
    }
    w.count = metrics.elidedText(Q(captions.count), Qt::ElideRight, room);
    qreal left = room;
    if (!w.count.isEmpty()) {
        left = room - metrics.horizontalAdvance(w.count) - metrics.horizontalAdvance(QStringLiteral("  "));
    }
    w.stipulationBeside = w.count.isEmpty() || left >= room / 3;
    AppendWrapped(w.stipulation, captions.stipulation, font, device, w.stipulationBeside ? left : room, fit);
    for (const std::string& text : captions.below) {
        AppendWrapped(w.below, text, font, device, room, fit);
    }
    return w;
}

CaptionGeometry MeasureCaptions(const CaptionText& captions, const QFont& font, QSize boardSize,
                                QPaintDevice* device) {
    const QFontMetricsF metrics(font, device);
    CaptionGeometry g;
    g.width = boardSize.width();
    g.boardHeight = boardSize.height();
    g.lineHeight = qCeil(metrics.lineSpacing());
    g.ascent = qCeil(metrics.ascent());
    g.margin = std::max(2, qRound(metrics.averageCharWidth() / 2));
    const WrappedCaptions w = WrapCaptions(captions, font, device, std::max(0, g.width - 2 * g.margin));
    const auto band = [&g](int lines) { return lines == 0 ? 0 : lines * g.lineHeight + g.margin; };
    g.above = band(w.LinesAbove());
    g.below = band(w.LinesBelow());

    int y = g.ascent + g.margin / 2;
    const auto add = [&g, &y](const QStringList& lines) {
        for (const QString& line : lines) {
            g.lines.push_back({line, g.margin, y, false});
            y += g.lineHeight;
        }
    };
    add(w.above);
    y = g.above + g.boardHeight + g.margin / 2 + g.ascent;
    if (!w.count.isEmpty()) {
        g.lines.push_back({w.count, g.width - g.margin, y, true});
        if (!w.stipulationBeside || w.stipulation.isEmpty()) {
            y += g.lineHeight;
        }
    }
    add(w.stipulation);
    add(w.below);
    return g;
}

QStringList WrapCaption(const QString& text, const QFont& font, QPaintDevice* device, qreal room) {
    const QStringList words = Words(text);
    const QString whole = words.join(QLatin1Char(' '));
    if (whole.isEmpty()) {
        return {};
    }
    // The text is shaped once, on one line; a run of words is as wide as
    // the distance between its ends there, kerning and all.
    QTextLayout layout(whole, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine one = layout.createLine();
    one.setLineWidth(std::numeric_limits<int>::max() / 4);
    layout.endLayout();
    if (one.naturalTextWidth() <= room) {
        return {whole};
    }
    // Where each word starts and ends on that line.
    std::vector<qsizetype> starts;
    std::vector<qreal> left;
    std::vector<qreal> right;
    for (qsizetype at = 0; const QString& word : words) {
        starts.push_back(at);
        left.push_back(one.cursorToX(static_cast<int>(at)));
        right.push_back(one.cursorToX(static_cast<int>(at + word.size())));
        at += word.size() + 1;
    }
    QStringList lines;
    qsizetype first = -1;  // the first word of the line being filled; -1 for none
    qsizetype last = 0;
    const auto finish = [&] {
        if (first >= 0) {
            lines.append(whole.mid(starts[first], starts[last] + words[last].size() - starts[first]));
            first = -1;
        }
    };
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (first >= 0 && right[i] - left[first] <= room) {
            last = i;
            continue;
        }
        finish();
        if (right[i] - left[i] <= room) {
            first = last = i;
        } else {
            // Elided where a whole character ends, never inside one.
            const QString elided = QFontMetricsF(font, device).elidedText(words[i], Qt::ElideRight, room);
            if (!elided.isEmpty()) {
                lines.append(elided);
            }
        }
    }
    finish();
    return lines;
}

QImage PalettedImage(const QImage& image) {
    if (image.format() != QImage::Format_RGB32 || image.isNull()) {
        return image;
    }
    // An open-addressed table of the colours met so far: entries holds the
    // colour's index + 1, 0 when free.
    constexpr int kSlots = 1024;
    std::array<QRgb, kSlots> keys{};
    std::array<uint16_t, kSlots> entries{};
    QList<QRgb> table;
    table.reserve(256);
    QImage out(image.size(), QImage::Format_Indexed8);
    QRgb last = 0;
    uchar lastIndex = 0;
    bool haveLast = false;
    const int width = image.width();
    const int height = image.height();
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uchar* dst = out.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const QRgb color = row[x] | 0xff000000u;
            if (!haveLast || color != last) {
                unsigned slot = (color * 2654435761u) >> 22;
                while (entries[slot] != 0 && keys[slot] != color) {
                    slot = (slot + 1) % kSlots;
                }
                if (entries[slot] == 0) {
                    if (table.size() == 256) {
                        return image;
                    }
                    table.append(color);
                    keys[slot] = color;
                    entries[slot] = static_cast<uint16_t>(table.size());
                }
                last = color;
                lastIndex = static_cast<uchar>(entries[slot] - 1);
                haveLast = true;
            }
            dst[x] = lastIndex;
        }
    }
    out.setColorTable(table);
    out.setDotsPerMeterX(image.dotsPerMeterX());
    out.setDotsPerMeterY(image.dotsPerMeterY());
    return out;
}

void PaintCaptions(QPainter& painter, const QFont& font, const CaptionGeometry& g) {
    painter.save();
    painter.fillRect(QRect(0, 0, g.width, g.above), Qt::white);
    painter.fillRect(QRect(0, g.above + g.boardHeight, g.width, g.below), Qt::white);
    painter.setPen(Qt::black);
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    for (const CaptionLine& line : g.lines) {
        const qreal x = line.alignRight ? line.x - metrics.horizontalAdvance(line.text) : line.x;
        painter.drawText(QPointF(x, line.baseline), line.text);
    }
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
    PaintCaptions(painter, font, g);
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
    for (const CaptionLine& line : g.lines) {
        svg += "<text x=\"" + QByteArray::number(line.x) + "\" y=\"" + QByteArray::number(line.baseline) +
               "\" " + look + (line.alignRight ? " text-anchor=\"end\"" : "") + ">" + Xml(line.text) +
               "</text>\n";
    }
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
            const QImage image =
                CaptionedImage(DiagramImage(renderer, style, vet, reversed), captions, style);
            if (!writer.write(format == ImageFormat::kPng ? PalettedImage(image) : image)) {
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
            PaintCaptions(painter, font, g);
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
    if (bytes.isEmpty()) {
        if (error != nullptr) {
            *error = QStringLiteral("the diagram could not be drawn as %1").arg(FormatName(format));
        }
        return false;
    }
    // As for the diagram without captions: a file or link found at the name
    // is replaced, never written through.
    if (!platform::WriteOutputFile(QFile::encodeName(path).toStdString(),
                                   std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())))) {
        if (error != nullptr) {
            *error = QString::fromLocal8Bit(std::strerror(errno));
        }
        return false;
    }
    return true;
}

}  // namespace diagram
