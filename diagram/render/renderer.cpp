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

bool Renderer::DrawBoard(const settings::Style& given, int reversed) {
    // Everything is drawn from the computed geometry, kept for the repaints
    // and the drawings that follow; the style given is left as it is.
    m_style = Resolved(given);
    m_reversed = reversed;
    const settings::Style& style = m_style;
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
    const bool square = style.BORDERHEIGHT == style.BORDERWIDTH;
    m_font = style.IsFontStyle();
    m_strokes.clear();
    m_scaledPecas = QImage();
    m_cells.clear();
    m_svgHead.clear();
    m_svgSquares.clear();
    if (m_bitmapScale != 1) {
        const auto scaled = [this](const QImage& image) {
            const QSize size(std::max(1, static_cast<int>(std::lround(image.width() * m_bitmapScale))),
                             std::max(1, static_cast<int>(std::lround(image.height() * m_bitmapScale))));
            return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(QImage::Format_RGB32);
        };
        if (!border.isNull()) {
            border = scaled(border);
        }
        if (!m_font) {
            m_scaledPecas = scaled(m_pecas);
        }
    }
    m_border = border;
    // Bitmap styles stay pixel for pixel; only drawn squares gain from a
    // denser screen.
    const double ratio = m_font ? m_ratio : 1;

    const int width = std::max(1, static_cast<int>(std::lround(Px(style.WNDWIDTH))));
    const int height = std::max(1, static_cast<int>(std::lround(Px(style.WNDHEIGHT))));
    if (ratio == 1) {
        m_picture = QImage(width, height, QImage::Format_RGB32);
    } else {
        m_picture = QImage(static_cast<int>(std::lround(width * ratio)),
                           static_cast<int>(std::lround(height * ratio)), QImage::Format_RGB32);
        m_picture.setDevicePixelRatio(ratio);
    }
    m_picture.setDotsPerMeterX(kDotsPerMeter);
    m_picture.setDotsPerMeterY(kDotsPerMeter);
    m_picture.fill(ToQColor(style.BACKCOLOR));

    QPainter painter(&m_picture);
    if (!border.isNull()) {
        painter.drawImage(0, 0, border);
    }
    PaintFrame(painter, style);
    painter.end();
    DrawLettering(style, reversed);
    if (m_font) {
        MakeTiles(style);
    } else {
        m_tiles.clear();
        m_men = FontMen();
    }
    return square;
}

QSize Renderer::logicalSize() const {
    return m_picture.deviceIndependentSize().toSize();
}

void Renderer::PaintFrame(QPainter& painter, const settings::Style& style) const {
    const auto frame = FrameLines(style);
    if (frame.empty()) {
        return;
    }
    if (style.IsFontStyle()) {
        // Each line as the rectangle its square-ended pen covers: whole
        // pixels at any density, the same on a page as in the picture.
        const double half = style.FRAMEWIDTH / 2.0;
        for (const Line& line : frame) {
            const QRectF span =
                QRectF(QPointF(Px(line.from.x), Px(line.from.y)), QPointF(Px(line.to.x), Px(line.to.y)))
                    .normalized()
                    .adjusted(-half, -half, half, half);
            painter.fillRect(span, ToQColor(style.FRAMECOLOR));
        }
        return;
    }
    QPen pen(ToQColor(style.FRAMECOLOR));
    pen.setWidth(style.FRAMEWIDTH);
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    for (const Line& line : frame) {
        painter.drawLine(QPointF(Px(line.from.x), Px(line.from.y)), QPointF(Px(line.to.x), Px(line.to.y)));
    }
}

void Renderer::DrawLettering(const settings::Style& style, int reversed) {
    if (style.SHOWGRID != 1) {
        return;
    }
    QPainter painter(&m_picture);
    PaintLettering(painter, &m_picture, style, reversed);
}

void Renderer::PaintLettering(QPainter& painter, const QPaintDevice* metricsDevice,
                              const settings::Style& style, int reversed) const {
    if (style.SHOWGRID != 1) {
        return;
    }
    // The painter's unit is a picture pixel, a 96th of an inch: on a device
    // of another resolution (a PDF page, a printer) the size in points is
    // put in the device's terms, so that the text keeps its size on the
    // diagram.
    QFont font = LetteringQFont(style);
    const int dpi = painter.device() != nullptr ? painter.device()->logicalDpiY() : 96;
    if (dpi > 0 && dpi != 96) {
        font.setPointSizeF(font.pointSizeF() * 96 / dpi);
    }
    painter.setFont(font);
    painter.setPen(ToQColor(style.FONTCOLOR));
    const QFontMetricsF metrics(painter.font(), const_cast<QPaintDevice*>(metricsDevice));
    const auto measure = [&](const std::string& text) {
        const QString label = QString::fromStdString(text);
        return TextSize{metrics.horizontalAdvance(label) * kTwipsPerPixel, metrics.height() * kTwipsPerPixel};
    };
    for (const Label& label : LetteringLabels(style, reversed, measure)) {
        painter.drawText(QPointF(Px(label.at.x), Px(label.at.y) + metrics.ascent()),
                         QString::fromLatin1(label.text.c_str()));
    }
}

void Renderer::MakeTiles(const settings::Style& style) {
    // The squares are drawn when first put on the board: a position shows
    // only some of the cell codes, and an exported drawing none.
    m_men = FontMen(style);
    m_tileCells = static_cast<int>(style.PIECESLIST.size()) + 1;
    m_tileRatio = m_ratio;
    m_tileSize =
        QSizeF(std::max(1L, std::lround(Px(style.SQRWIDTH))), std::max(1L, std::lround(Px(style.SQRHEIGHT))));
    m_tiles.assign(static_cast<size_t>(2 * m_tileCells), QImage());
}

const QImage& Renderer::Tile(int code) {
    QImage& tile = m_tiles[static_cast<size_t>(code)];
    if (tile.isNull()) {
        tile = QImage(static_cast<int>(std::lround(m_tileSize.width() * m_tileRatio)),
                      static_cast<int>(std::lround(m_tileSize.height() * m_tileRatio)), QImage::Format_RGB32);
        tile.setDevicePixelRatio(m_tileRatio);
        QPainter painter(&tile);
        painter.setRenderHint(QPainter::Antialiasing);
        m_men.PaintSquare(painter, QRectF(QPointF(0, 0), m_tileSize), code % m_tileCells,
                          code / m_tileCells == 1);
    }
    return tile;
}

void Renderer::DrawStroke(const OverlayStroke& stroke) {
    m_strokes.push_back(stroke);
    if (m_picture.isNull()) {
        return;
    }
    QPainter painter(&m_picture);
    PaintOverlayStroke(painter, stroke);
}

void PaintOverlayStroke(QPainter& painter, const OverlayStroke& stroke) {
    painter.setPen(QPen(ToQColor(stroke.color), stroke.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    const QPointF from(Px(stroke.fromX), Px(stroke.fromY));
    switch (stroke.kind) {
        case OverlayStroke::kLine:
            painter.drawLine(from, QPointF(Px(stroke.toX), Px(stroke.toY)));
            break;
        case OverlayStroke::kCircle: {
            const double r = Px(stroke.radius);
            painter.drawEllipse(from, r, r);
            break;
        }
        case OverlayStroke::kDot:
            painter.drawPoint(from);
            break;
    }
}

void Renderer::PaintCell(QPainter& painter, const settings::Style& style, int reversed, int code,
                         int s1) const {
    const CellCopy copy = PutPecaGeometry(style, reversed, code, s1);
    const QRectF target(std::lround(Px(copy.target.x)), std::lround(Px(copy.target.y)),
                        std::lround(Px(copy.width)), std::lround(Px(copy.height)));
    if (m_font) {
        const int n = static_cast<int>(style.PIECESLIST.size());
        if (code >= 0 && code < 2 * (n + 1)) {
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing);
            m_men.PaintSquare(painter, target, code % (n + 1), code / (n + 1) == 1);
            painter.restore();
        }
        return;
    }
    // The source rectangle is the one PutPeca copies (in the scaled bitmap
    // when the bitmaps are scaled, the style's lengths being scaled too).
    const QRect source(static_cast<int>(std::lround(Px(copy.source.x))),
                       static_cast<int>(std::lround(Px(copy.source.y))), static_cast<int>(target.width()),
                       static_cast<int>(target.height()));
    const QRect available = source.intersected(Cells().rect());
    if (available.isEmpty()) {
        return;
    }
    // Each cell is cut from the bitmap once and drawn whole: a PDF page
    // then holds one picture of it, however often the board shows it.
    const auto key = std::make_tuple(available.x(), available.y(), available.width(), available.height());
    auto cell = m_cells.find(key);
    if (cell == m_cells.end()) {
        cell = m_cells.emplace(key, Cells().copy(available)).first;
    }
    painter.drawImage(target.topLeft() + QPointF(available.x() - source.x(), available.y() - source.y()),
                      cell->second);
}

void Renderer::PaintDiagram(QPainter& painter, const settings::Style& given, const position::Vet& vet,
                            int reversed) const {
    const settings::Style style = Resolved(given);
    const QSize size = logicalSize();
    painter.fillRect(QRectF(0, 0, size.width(), size.height()), ToQColor(style.BACKCOLOR));
    if (!m_border.isNull()) {
        painter.drawImage(0, 0, m_border);
    }
    PaintFrame(painter, style);
    // Text is measured as on the screen, whatever the page's resolution.
    QImage screen(1, 1, QImage::Format_RGB32);
    screen.setDotsPerMeterX(kDotsPerMeter);
    screen.setDotsPerMeterY(kDotsPerMeter);
    PaintLettering(painter, &screen, style, reversed);
    ForEachShownCell(style, vet, [&](int code, int s1) { PaintCell(painter, style, reversed, code, s1); });
    for (const OverlayStroke& stroke : m_strokes) {
        PaintOverlayStroke(painter, stroke);
    }
}

void Renderer::PutPeca(const settings::Style& style, int reversed, int code, int s1) {
    const CellCopy copy = PutPecaGeometry(style, reversed, code, s1);
    if (m_font) {
        PutTile(copy, code);
        return;
    }
    const QImage& cells = Cells();
    const QRect source(
        static_cast<int>(std::lround(Px(copy.source.x))), static_cast<int>(std::lround(Px(copy.source.y))),
        static_cast<int>(std::lround(Px(copy.width))), static_cast<int>(std::lround(Px(copy.height))));
    const QRect available = source.intersected(cells.rect());
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
        const uchar* from = cells.constScanLine(sy + row) + static_cast<size_t>(sx) * 4;
        uchar* to = m_picture.scanLine(target.y() + row) + static_cast<size_t>(target.x()) * 4;
        std::memcpy(to, from, bytes);
    }
}

void Renderer::PutTile(const CellCopy& copy, int code) {
    if (code < 0 || static_cast<size_t>(code) >= m_tiles.size() || m_picture.isNull()) {
        return;
    }
    const QImage& tile = Tile(code);
    // At the density of the picture, which a new ratio changes only at the next DrawBoard.
    const int tx = static_cast<int>(std::lround(std::lround(Px(copy.target.x)) * m_tileRatio));
    const int ty = static_cast<int>(std::lround(std::lround(Px(copy.target.y)) * m_tileRatio));
    const QRect target = QRect(tx, ty, tile.width(), tile.height()).intersected(m_picture.rect());
    if (target.isEmpty()) {
        return;
    }
    const size_t bytes = static_cast<size_t>(target.width()) * 4;
    for (int row = 0; row < target.height(); ++row) {
        const uchar* from =
            tile.constScanLine(target.y() - ty + row) + static_cast<size_t>(target.x() - tx) * 4;
        uchar* to = m_picture.scanLine(target.y() + row) + static_cast<size_t>(target.x()) * 4;
        std::memcpy(to, from, bytes);
    }
}

position::ParseResult Renderer::Build(position::Vet& vet, std::string_view text, const settings::Style& given,
                                      int reversed) {
    const settings::Style style = Resolved(given);
    return diagram::Build(vet, text, style, [&](int code, int s1) { PutPeca(style, reversed, code, s1); });
}

position::ParseResult Renderer::Redraw(position::Vet& vet, std::string_view text,
                                       const settings::Style& style, int reversed) {
    DrawBoard(style, reversed);
    position::ResetVet(vet, m_style.Shape());
    return Build(vet, text, m_style, reversed);
}

}  // namespace diagram
