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

void FontMen::PaintMan(QPainter& painter, const QRectF& square, int p) const {
    if (p < 1 || static_cast<size_t>(p) >= m_glyphs.size()) {
        return;
    }
    const Glyph& glyph = m_glyphs[static_cast<size_t>(p)];
    if (glyph.kind == ManKind::kNone) {
        return;
    }
    const QPainterPath solid = ManPath(glyph.kind, true, glyph.angle, square);
    const QPainterPath outline = ManPath(glyph.kind, false, glyph.angle, square);
    painter.setPen(Qt::NoPen);
    switch (glyph.side) {
        case ManSide::kWhite:
            // Light inside, dark outline on top.
            painter.fillPath(solid, LightMan());
            painter.fillPath(outline, DarkMan());
            break;
        case ManSide::kBlack:
            painter.fillPath(solid, DarkMan());
            break;
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
            painter.fillPath(solid.intersected(leftHalf), LightMan());
            painter.fillPath(outline.intersected(leftHalf), DarkMan());
            painter.fillPath(solid.intersected(rightHalf), DarkMan());
            painter.fillPath(outline.intersected(rightHalf), DarkMan());
            break;
        }
    }
}

void FontMen::PaintSquare(QPainter& painter, const QRectF& square, int p, bool dark) const {
    if (dark && m_hatch) {
        painter.fillRect(square, m_light);
        // Crisp lines of whole pixels, as a printed diagram's hatching.
        const bool smooth = painter.testRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::Antialiasing, false);
        QPen pen(m_dark);
        pen.setWidth(std::max(1, static_cast<int>(HatchPitch(square.width(), square.height()) / 4)));
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        for (const Segment& s : HatchLines(square.width(), square.height())) {
            painter.drawLine(QPointF(square.x() + s.x1, square.y() + s.y1),
                             QPointF(square.x() + s.x2, square.y() + s.y2));
        }
        painter.setRenderHint(QPainter::Antialiasing, smooth);
    } else {
        painter.fillRect(square, dark ? m_dark : m_light);
    }
    PaintMan(painter, square, p);
}

}  // namespace diagram
