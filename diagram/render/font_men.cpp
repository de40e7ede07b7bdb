#include "diagram/render/font_men.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QRawFont>
#include <QTransform>
#include <algorithm>
#include <cmath>

#include "diagram/image_formats.h"
#include "diagram/render/glyph_outline.h"
#include "diagram/render/renderer.h"

namespace diagram {

namespace {

// Size the outlines are taken at; they are scaled to each square.
constexpr double kReferencePixels = 200;
// Share of the square the largest man fills.
constexpr double kFill = 0.86;
// Share of the square a man turned off its axes may reach across.
constexpr double kTurnedFill = 0.96;
// Height of a capital of a square's text, as a share of the square.
constexpr double kTextHeight = 0.55;
// Width of the light rim around a text, as a share of its capitals' height.
constexpr double kTextRim = 0.14;
// Width of a marker's edge, as a share of the square, and its least width
// in pixels.
constexpr double kMarkerEdge = 0.025;
constexpr double kLeastMarkerEdge = 0.8;
// Squares up to this many pixels across are looked over for ground their
// man seals in; on larger ones his edges do not come that close.
constexpr int kLargestSealed = 320;
// Ids of the figures: white kinds, black kinds, then the piece indexes of
// texts and symbols.
constexpr int kBlackIds = 7;
constexpr int kSpecialIds = 14;
// The font the chess symbols of Unicode are drawn from (Debian's
// fonts-noto-core).
constexpr const char* kSymbolFont = "Noto Sans Symbols2";

// The outline of one character, its baseline on y = 0. Taken from the font
// file directly: laying out a one-letter text would cost more than all the
// drawing of a diagram.
QPainterPath GlyphOutline(const QRawFont& font, char32_t codePoint) {
    if (codePoint == 0 || !font.isValid()) {
        return {};
    }
    const QList<quint32> glyphs = font.glyphIndexesForString(QString::fromUcs4(&codePoint, 1));
    if (glyphs.size() != 1 || glyphs[0] == 0) {
        return {};
    }
    return font.pathForGlyph(glyphs[0]);
}

QRawFont RawFont(const QString& family) {
    QFont wanted(family);
    wanted.setPixelSize(static_cast<int>(kReferencePixels));
    wanted.setStyleStrategy(QFont::PreferOutline);
    return QRawFont::fromFont(wanted);
}

// The largest width or height of the chess men of a font; 0 when it has none.
double MenExtent(const QRawFont& font) {
    double extent = 0;
    for (char32_t c = 0x2654; c <= 0x265F; ++c) {
        const QRectF box = GlyphOutline(font, c).boundingRect();
        extent = std::max({extent, box.width(), box.height()});
    }
    return extent;
}

QPainterPath HalfOf(const QRectF& square, bool left) {
    QRectF half = square;
    if (left) {
        half.setRight(square.center().x());
    } else {
        half.setLeft(square.center().x());
    }
    QPainterPath path;
    path.addRect(half);
    return path;
}

}  // namespace

FontMen::FontMen(const settings::Style& style)
    : m_glyphs(StyleGlyphs(style)),
      m_light(ToQColor(style.LIGHTCOLOR)),
      m_dark(ToQColor(style.DARKCOLOR)),
      m_hatch(style.DARKHATCH == 1) {
    const QString family = QString::fromStdString(style.PIECESFONT);
    const QRawFont font = RawFont(family);
    // Insides are found only for the forms the style shows: finding one
    // costs more than the rest of a drawing.
    std::array<bool, 7> white{};
    std::array<bool, 7> black{};
    for (const Glyph& glyph : m_glyphs) {
        const auto k = static_cast<size_t>(glyph.kind);
        white[k] = white[k] || glyph.side != ManSide::kBlack;
        black[k] = black[k] || glyph.side != ManSide::kWhite;
    }
    double extent = 0;
    for (ManKind kind : {ManKind::kPawn, ManKind::kKnight, ManKind::kBishop, ManKind::kRook, ManKind::kQueen,
                         ManKind::kKing}) {
        const auto k = static_cast<size_t>(kind);
        m_white[k].ink = GlyphOutline(font, GlyphCodePoint(kind, false));
        m_black[k].ink = GlyphOutline(font, GlyphCodePoint(kind, true));
        const QRectF box = m_black[k].ink.boundingRect().united(m_white[k].ink.boundingRect());
        extent = std::max({extent, box.width(), box.height()});
    }
    extent = extent > 0 ? extent : kReferencePixels * kFill;
    for (size_t k = 1; k < m_white.size(); ++k) {
        // Both forms of a kind are centred on the solid one's box, so the
        // outline lies exactly on the filled inside.
        const QPointF centre =
            (m_black[k].ink.isEmpty() ? m_white[k].ink : m_black[k].ink).boundingRect().center();
        for (Figure* figure : {&m_white[k], &m_black[k]}) {
            figure->centre = centre;
            figure->size = extent;
        }
        if (white[k]) {
            m_white[k].inside = Inside(m_white[k].ink);
        }
        if (black[k]) {
            m_black[k].inside = Inside(m_black[k].ink);
        }
    }

    m_special.resize(m_glyphs.size());
    QRawFont symbols;
    double symbolsExtent = 0;
    for (size_t p = 0; p < m_glyphs.size(); ++p) {
        const Glyph& glyph = m_glyphs[p];
        Figure& figure = m_special[p];
        if (glyph.symbol != 0) {
            if (!symbols.isValid()) {
                symbols = RawFont(QString::fromLatin1(kSymbolFont));
                symbolsExtent = MenExtent(symbols);
            }
            figure.ink = GlyphOutline(symbols, glyph.symbol);
            double size = symbolsExtent > 0 ? symbolsExtent : extent;
            if (figure.ink.isEmpty()) {
                figure.ink = GlyphOutline(font, glyph.symbol);
                size = extent;
            }
            const QRectF box = figure.ink.boundingRect();
            figure.centre = box.center();
            figure.size = std::max({size, box.width(), box.height()});
            figure.inside = Inside(figure.ink);
        } else if (!glyph.text.empty()) {
            QFont textFont(family);
            textFont.setPixelSize(static_cast<int>(kReferencePixels));
            const std::u32string codes = TextCodePoints(glyph.text);
            figure.ink.addText(0, 0, textFont,
                               QString::fromUcs4(codes.data(), static_cast<qsizetype>(codes.size())));
            double cap = QFontMetricsF(textFont).capHeight();
            cap = cap > 0 ? cap : 0.7 * kReferencePixels;
            const QRectF box = figure.ink.boundingRect();
            figure.inside = Inside(figure.ink).united(EdgeBand(figure.ink, kTextRim * cap));
            figure.centre = QPointF(box.center().x(), -cap / 2);
            figure.size = std::max({cap * kFill / kTextHeight, box.width() * (1 + kTextRim),
                                    box.height() * kFill / kTurnedFill});
        }
    }
}

std::vector<FontMen::Fill> FontMen::Placed(const Figure& figure, int id, int angle,
                                           const QRectF& square) const {
    if (figure.ink.isEmpty()) {
        return {};
    }
    const double side = std::min(square.width(), square.height());
    double scale = kFill * side / figure.size;
    if (angle % 90 != 0) {
        // Turned off the square's axes a man reaches further: kept within
        // the square.
        QTransform turn;
        turn.rotate(angle);
        turn.translate(-figure.centre.x(), -figure.centre.y());
        const QRectF box = turn.map(figure.ink).boundingRect();
        const double reach = 2 * std::max({-box.left(), box.right(), -box.top(), box.bottom()});
        if (reach * scale > kTurnedFill * side) {
            scale = kTurnedFill * side / reach;
        }
    }
    QTransform t;
    t.translate(square.center().x(), square.center().y());
    t.rotate(angle);
    t.scale(scale, scale);
    t.translate(-figure.centre.x(), -figure.centre.y());
    std::vector<Fill> fills;
    if (!figure.inside.isEmpty()) {
        QPainterPath inside = t.map(figure.inside);
        // Found once for each figure, turn, size and place within a pixel,
        // and moved to the square's pixel.
        const QPointF pixel(std::floor(square.x()), std::floor(square.y()));
        const auto fraction = [](double v) {
            return static_cast<int>(std::lround((v - std::floor(v)) * 256));
        };
        const SealKey key{id,
                          angle,
                          std::llround(scale * 1e6),
                          fraction(square.x()),
                          fraction(square.y()),
                          static_cast<int>(std::lround(square.width() * 256)),
                          static_cast<int>(std::lround(square.height() * 256))};
        auto found = m_sealed.find(key);
        if (found == m_sealed.end()) {
            const QPainterPath sealed = SealedGround(inside, t.map(figure.ink), square, kLargestSealed);
            found =
                m_sealed.emplace(key, QTransform::fromTranslate(-pixel.x(), -pixel.y()).map(sealed)).first;
        }
        if (!found->second.isEmpty()) {
            // One outline with the inside, so that each man stays two paths
            // in vector output. The pixels turn as the inside's outlines do
            // and may overlap them by a sliver: the winding rule fills both.
            inside.setFillRule(Qt::WindingFill);
            inside.addPath(QTransform::fromTranslate(pixel.x(), pixel.y()).map(found->second));
        }
        fills.push_back({inside, LightMan()});
    }
    fills.push_back({t.map(figure.ink), DarkMan()});
    return fills;
}

std::vector<FontMen::Fill> FontMen::Neutral(const std::vector<Fill>& white, const std::vector<Fill>& black,
                                            const QRectF& square) const {
    // Cut as paths, so vector output needs no clipping.
    const QPainterPath left = HalfOf(square, true);
    const QPainterPath right = HalfOf(square, false);
    std::vector<Fill> fills;
    for (const Fill& fill : white) {
        fills.push_back({fill.path.intersected(left), fill.colour});
    }
    for (const Fill& fill : black) {
        fills.push_back({fill.path.intersected(right), fill.colour});
    }
    return fills;
}

std::vector<FontMen::Fill> FontMen::MarkerFills(const Glyph& glyph, const QRectF& square) const {
    const QPainterPath area = MarkerArea(glyph.marker, square);
    const double edge = std::max(kLeastMarkerEdge, kMarkerEdge * std::min(square.width(), square.height()));
    const QPainterPath band = EdgeBand(area, edge);
    // A white marker is light with a dark edge, a black one dark, as men.
    const std::vector<Fill> white = {{area, LightMan()}, {band, DarkMan()}};
    const std::vector<Fill> black = {{area, DarkMan()}};
    switch (glyph.side) {
        case ManSide::kWhite:
            return white;
        case ManSide::kBlack:
            return black;
        case ManSide::kNeutral:
            return Neutral(white, black, square);
    }
    return {};
}

std::vector<FontMen::Fill> FontMen::ManFills(const QRectF& square, int p) const {
    if (p < 1 || static_cast<size_t>(p) >= m_glyphs.size()) {
        return {};
    }
    const Glyph& glyph = m_glyphs[static_cast<size_t>(p)];
    if (glyph.marker != MarkerKind::kNone) {
        return MarkerFills(glyph, square);
    }
    if (glyph.symbol != 0 || !glyph.text.empty()) {
        return Placed(m_special[static_cast<size_t>(p)], kSpecialIds + p, glyph.angle, square);
    }
    if (glyph.kind == ManKind::kNone) {
        return {};
    }
    const auto k = static_cast<size_t>(glyph.kind);
    switch (glyph.side) {
        case ManSide::kWhite:
            return Placed(m_white[k], static_cast<int>(k), glyph.angle, square);
        case ManSide::kBlack:
            return Placed(m_black[k], kBlackIds + static_cast<int>(k), glyph.angle, square);
        case ManSide::kNeutral:
            return Neutral(Placed(m_white[k], static_cast<int>(k), glyph.angle, square),
                           Placed(m_black[k], kBlackIds + static_cast<int>(k), glyph.angle, square), square);
    }
    return {};
}
void FontMen::PaintMan(QPainter& painter, const QRectF& square, int p) const {
    painter.setPen(Qt::NoPen);
    for (const Fill& fill : ManFills(square, p)) {
        painter.fillPath(fill.path, fill.colour);
    }
}

FontMen::Square FontMen::SquareShapes(const QRectF& square, int p, bool dark) const {
    Square shapes;
    if (dark && m_hatch) {
        shapes.ground = m_light;
        shapes.hatchColour = m_dark;
        shapes.hatchWidth = std::max(1, static_cast<int>(HatchPitch(square.width(), square.height()) / 4));
        for (Segment s : HatchLines(square.width(), square.height())) {
            s.x1 += square.x();
            s.x2 += square.x();
            s.y1 += square.y();
            s.y2 += square.y();
            shapes.hatching.push_back(s);
        }
    } else {
        shapes.ground = dark ? m_dark : m_light;
    }
    shapes.fills = ManFills(square, p);
    return shapes;
}

void FontMen::PaintSquare(QPainter& painter, const QRectF& square, int p, bool dark) const {
    const Square shapes = SquareShapes(square, p, dark);
    painter.fillRect(square, shapes.ground);
    if (!shapes.hatching.empty()) {
        // Crisp lines of whole pixels, as a printed diagram's hatching. A
        // line's width reaches past the square at its ends: kept inside,
        // or it would mark the neighbour or the margin.
        painter.save();
        painter.setClipRect(square, Qt::IntersectClip);
        painter.setRenderHint(QPainter::Antialiasing, false);
        QPen pen(shapes.hatchColour);
        pen.setWidth(shapes.hatchWidth);
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        for (const Segment& s : shapes.hatching) {
            painter.drawLine(QPointF(s.x1, s.y1), QPointF(s.x2, s.y2));
        }
        painter.restore();
    }
    painter.setPen(Qt::NoPen);
    for (const Fill& fill : shapes.fills) {
        painter.fillPath(fill.path, fill.colour);
    }
}

}  // namespace diagram
