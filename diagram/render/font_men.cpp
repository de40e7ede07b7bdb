#include "diagram/render/font_men.h"

#include <QFont>
#include <QPainter>
#include <QPen>
#include <QRawFont>
#include <QTransform>
#include <algorithm>

#include "diagram/image_formats.h"
#include "diagram/render/renderer.h"

namespace diagram {

namespace {

// Size the outlines are taken at; they are scaled to each square.
constexpr double kReferencePixels = 200;
// Share of the square the largest man fills.
constexpr double kFill = 0.86;

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

}  // namespace

FontMen::FontMen(const settings::Style& style)
    : m_glyphs(StyleGlyphs(style)),
      m_light(ToQColor(style.LIGHTCOLOR)),
      m_dark(ToQColor(style.DARKCOLOR)),
      m_hatch(style.DARKHATCH == 1) {
    QFont wanted(QString::fromStdString(style.PIECESFONT));
    wanted.setPixelSize(static_cast<int>(kReferencePixels));
    wanted.setStyleStrategy(QFont::PreferOutline);
    const QRawFont font = QRawFont::fromFont(wanted);
    double extent = 0;
    for (ManKind kind : {ManKind::kPawn, ManKind::kKnight, ManKind::kBishop, ManKind::kRook, ManKind::kQueen,
                         ManKind::kKing}) {
        const auto k = static_cast<size_t>(kind);
        m_outline[k] = GlyphOutline(font, GlyphCodePoint(kind, false));
        m_solid[k] = GlyphOutline(font, GlyphCodePoint(kind, true));
        const QRectF box = m_solid[k].boundingRect().united(m_outline[k].boundingRect());
        extent = std::max({extent, box.width(), box.height()});
    }
    m_extent = extent > 0 ? extent : 1;
}

QPainterPath FontMen::ManPath(ManKind kind, bool solid, int angle, const QRectF& square) const {
    const auto k = static_cast<size_t>(kind);
    if (k >= m_solid.size()) {
        return {};
    }
    const QPainterPath& path = solid ? m_solid[k] : m_outline[k];
    if (path.isEmpty()) {
        return {};
    }
    // Both forms of a kind are centred on the solid one's box, so the
    // outline lies exactly on the filled inside.
    const QRectF box = m_solid[k].isEmpty() ? path.boundingRect() : m_solid[k].boundingRect();
    const double scale = kFill * std::min(square.width(), square.height()) / m_extent;
    QTransform t;
    t.translate(square.center().x(), square.center().y());
    t.rotate(angle);
    t.scale(scale, scale);
    t.translate(-box.center().x(), -box.center().y());
    return t.map(path);
}

std::vector<FontMen::Fill> FontMen::ManFills(const QRectF& square, int p) const {
    if (p < 1 || static_cast<size_t>(p) >= m_glyphs.size()) {
        return {};
    }
    const Glyph& glyph = m_glyphs[static_cast<size_t>(p)];
    if (glyph.kind == ManKind::kNone) {
        return {};
    }
    const QPainterPath solid = ManPath(glyph.kind, true, glyph.angle, square);
    const QPainterPath outline = ManPath(glyph.kind, false, glyph.angle, square);
    switch (glyph.side) {
        case ManSide::kWhite:
            // Light inside, dark outline on top.
            return {{solid, LightMan()}, {outline, DarkMan()}};
        case ManSide::kBlack:
            return {{solid, DarkMan()}};
        case ManSide::kNeutral: {
            // Left half as a white man, right half as a black one; cut as
            // paths so vector output needs no clipping.
            QRectF left = square;
            left.setRight(square.center().x());
            QRectF right = square;
            right.setLeft(square.center().x());
            QPainterPath leftHalf;
            leftHalf.addRect(left);
            QPainterPath rightHalf;
            rightHalf.addRect(right);
            return {{solid.intersected(leftHalf), LightMan()},
                    {outline.intersected(leftHalf), DarkMan()},
                    {solid.intersected(rightHalf), DarkMan()},
                    {outline.intersected(rightHalf), DarkMan()}};
        }
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
