#pragma once
// Squares and men of a font style, drawn with any painter: the window's
// picture at the screen's resolution, an SVG or a PDF page.

#include <QColor>
#include <QPainterPath>
#include <QRectF>
#include <array>
#include <vector>

#include "diagram/image_formats.h"
#include "diagram/piece_glyphs.h"
#include "settings/style.h"

class QPainter;

namespace diagram {

/// The men of one font style as outlines, ready to be placed on squares.
class FontMen {
  public:
    FontMen() = default;
    /// Takes the font, glyph table and square colours of the style.
    explicit FontMen(const settings::Style& style);

    /// An outline filled in one colour.
    struct Fill {
        QPainterPath path;
        QColor colour;
    };
    /// What one square of the board is made of, in the order it is painted.
    struct Square {
        QColor ground;                  ///< The square filled in this first.
        std::vector<Segment> hatching;  ///< Then these lines over it (a hatched dark square).
        QColor hatchColour;
        int hatchWidth = 1;       ///< Pen width of the hatching, drawn crisp (not smoothed).
        std::vector<Fill> fills;  ///< Then the man's outlines.
    };

    /// The shapes of one square of the board at `square`: the light or dark
    /// ground (hatched when the style asks) and the man of piece index p, if any.
    Square SquareShapes(const QRectF& square, int p, bool dark) const;

    /// The outlines of the man of piece index p centred in `square`, none
    /// for the empty square.
    std::vector<Fill> ManFills(const QRectF& square, int p) const;

    /// Paints one square of the board at `square`, as SquareShapes gives it.
    void PaintSquare(QPainter& painter, const QRectF& square, int p, bool dark) const;

    /// Paints the man of piece index p centred in `square` without its ground.
    void PaintMan(QPainter& painter, const QRectF& square, int p) const;

    /// The outline of a glyph placed in `square`, as PaintMan fills it.
    QPainterPath ManPath(ManKind kind, bool solid, int angle, const QRectF& square) const;

    /// Colours the men are drawn in.
    static QColor LightMan() { return QColor(255, 255, 255); }
    static QColor DarkMan() { return QColor(0, 0, 0); }

  private:
    // Outlines at a reference size, by kind (index ManKind) and form.
    std::array<QPainterPath, 7> m_outline;
    std::array<QPainterPath, 7> m_solid;
    double m_extent = 1;  // the largest width or height of any solid glyph
    std::vector<Glyph> m_glyphs;
    QColor m_light, m_dark;
    bool m_hatch = false;
};

}  // namespace diagram
