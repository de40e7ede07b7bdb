#include "diagram/render/renderer.h"

#include <QFontMetricsF>
#include <QImageReader>
#include <QPainter>
#include <QPen>
#include <cmath>
#include <cstring>

// Resources compiled into a static library must be registered by hand.
static void InitDiagramResources() {
    Q_INIT_RESOURCE(diagram);
}

namespace diagram {

namespace {

// Screen resolution the twip lengths stand for: 15 twips to a pixel is 96 dpi.
constexpr int kDotsPerMeter = 3780;
constexpr double kPointsPerPixel = 72.0 / 96.0;

double Px(double twips) {
    return twips / kTwipsPerPixel;
}

QImage BuiltInPieces() {
    InitDiagramResources();
    QImage image(QStringLiteral(":/diagram/pieces.bmp"));
    return image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

QColor ToQColor(int32_t bgr) {
    const auto v = static_cast<uint32_t>(bgr);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

QImage LoadBitmap(const QString& path) {
    if (path.isEmpty()) {
        return {};
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull()) {
        return {};
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

Renderer::Renderer() : m_pecas(BuiltInPieces()) {}

QFont Renderer::LetteringQFont(const settings::Style& style) {
    const LetteringFont wanted = LetteringFontOf(style);
    QFont font;
    if (!wanted.name.empty()) {
        font.setFamily(QString::fromStdString(wanted.name));
    }
    font.setPointSizeF(wanted.size > 0 ? wanted.size : 8);
    font.setBold(wanted.bold);
    font.setItalic(wanted.italic);
    font.setUnderline(wanted.underline);
    font.setStrikeOut(wanted.strikeOut);
    return font;
}

bool Renderer::DrawBoard(settings::Style& style, int reversed) {
    // Step order matters: the border and pieces bitmaps come before the size
    // fields are filled in, the frame and lettering after.
    QImage border;
    if (!style.BORDERFILE.empty()) {
        border = LoadBitmap(QString::fromStdString(style.BORDERFILE));
    }
    if (!style.PIECESFILE.empty()) {
        QImage pieces = LoadBitmap(QString::fromStdString(style.PIECESFILE));
        if (!pieces.isNull()) {
            m_pecas = pieces;
        }
    }
    const bool square = PrepareStyle(style);

    const int width = std::max(1, static_cast<int>(std::lround(Px(style.WNDWIDTH))));
    const int height = std::max(1, static_cast<int>(std::lround(Px(style.WNDHEIGHT))));
    m_picture = QImage(width, height, QImage::Format_RGB32);
    m_picture.setDotsPerMeterX(kDotsPerMeter);
    m_picture.setDotsPerMeterY(kDotsPerMeter);
    m_picture.fill(ToQColor(style.BACKCOLOR));

    QPainter painter(&m_picture);
    if (!border.isNull()) {
        painter.drawImage(0, 0, border);
    }
    const auto frame = FrameLines(style);
    if (!frame.empty()) {
        QPen pen(ToQColor(style.FRAMECOLOR));
        pen.setWidth(style.FRAMEWIDTH);
        pen.setCapStyle(Qt::SquareCap);
        painter.setPen(pen);
        for (const Line& line : frame) {
            painter.drawLine(QPointF(Px(line.from.x), Px(line.from.y)),
                             QPointF(Px(line.to.x), Px(line.to.y)));
        }
    }
    painter.end();
    DrawLettering(style, reversed);
    return square;
}

void Renderer::DrawLettering(const settings::Style& style, int reversed) {
    if (style.SHOWGRID != 1) {
        return;
    }
    const QFont font = LetteringQFont(style);
    QPainter painter(&m_picture);
    painter.setFont(font);
    painter.setPen(ToQColor(style.FONTCOLOR));
    const QFontMetricsF metrics(painter.font(), &m_picture);
    const auto measure = [&](const std::string& text) {
        const QString label = QString::fromStdString(text);
        return TextSize{metrics.horizontalAdvance(label) * kTwipsPerPixel, metrics.height() * kTwipsPerPixel};
    };
    for (const Label& label : LetteringLabels(style, reversed, measure)) {
        painter.drawText(QPointF(Px(label.at.x), Px(label.at.y) + metrics.ascent()),
                         QString::fromLatin1(label.text.c_str()));
    }
}

void Renderer::PutPeca(const settings::Style& style, int reversed, int code, int s1) {
    const CellCopy copy = PutPecaGeometry(style, reversed, code, s1);
    const QRect source(
        static_cast<int>(std::lround(Px(copy.source.x))), static_cast<int>(std::lround(Px(copy.source.y))),
        static_cast<int>(std::lround(Px(copy.width))), static_cast<int>(std::lround(Px(copy.height))));
    const QRect available = source.intersected(m_pecas.rect());
    if (available.isEmpty() || m_picture.isNull()) {
        return;
    }
    const int tx = static_cast<int>(std::lround(Px(copy.target.x))) + (available.x() - source.x());
    const int ty = static_cast<int>(std::lround(Px(copy.target.y))) + (available.y() - source.y());
    // Both pictures are 32-bit RGB: a row-by-row copy is all an unscaled
    // copy needs, and it keeps a full repaint of a large board cheap.
    const QRect target = QRect(tx, ty, available.width(), available.height()).intersected(m_picture.rect());
    if (target.isEmpty()) {
        return;
    }
    const int sx = available.x() + (target.x() - tx);
    const int sy = available.y() + (target.y() - ty);
    const size_t bytes = static_cast<size_t>(target.width()) * 4;
    for (int row = 0; row < target.height(); ++row) {
        const uchar* from = m_pecas.constScanLine(sy + row) + static_cast<size_t>(sx) * 4;
        uchar* to = m_picture.scanLine(target.y() + row) + static_cast<size_t>(target.x()) * 4;
        std::memcpy(to, from, bytes);
    }
}

position::ParseResult Renderer::Build(position::Vet& vet, std::string_view text, const settings::Style& style,
                                      int reversed) {
    return diagram::Build(vet, text, style, [&](int code, int s1) { PutPeca(style, reversed, code, s1); });
}

position::ParseResult Renderer::Redraw(position::Vet& vet, std::string_view text, settings::Style& style,
                                       int reversed) {
    DrawBoard(style, reversed);
    position::ResetVet(vet, style.Shape());
    return Build(vet, text, style, reversed);
}

}  // namespace diagram
