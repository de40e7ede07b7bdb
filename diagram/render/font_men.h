#pragma once
// Squares and men of a font style, drawn with any painter: the window's
// picture at the screen's resolution, an SVG or a PDF page.

#include <QColor>
#include <QPainterPath>
#include <QRectF>
#include <array>
#include <map>
#include <tuple>
#include <vector>

#include "diagram/image_formats.h"
#include "diagram/piece_glyphs.h"
#include "diagram/render/glyph_outline.h"
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
    /// for the empty square: a man's inside in the light colour, then its
    /// lines in the dark one, so that nothing of the square shows through it;
    /// markers, texts and chess symbols likewise.
    std::vector<Fill> ManFills(const QRectF& square, int p) const;

    /// Paints one square of the board at `square`, as SquareShapes gives it.
    void PaintSquare(QPainter& painter, const QRectF& square, int p, bool dark) const;

    /// Paints the man of piece index p centred in `square` without its ground.
    void PaintMan(QPainter& painter, const QRectF& square, int p) const;

    /// Colours the men are drawn in.
    static QColor LightMan() { return QColor(255, 255, 255); }
    static QColor DarkMan() { return QColor(0, 0, 0); }

  private:
    // A drawing at a reference size: `inside` filled light, then `ink`
    // dark. `centre` goes to the square's centre and `size` to the share of
    // the square the largest man fills.
    struct Figure {
        QPainterPath inside;
        QPainterPath ink;
        QPointF centre;
        double size = 1;
    };
    // A figure turned clockwise by angle and fitted into square; id tells
    // the figures apart for the cache of sealed ground.
    std::vector<Fill> Placed(const Figure& figure, int id, int angle, const QRectF& square) const;
    // The left half of a white drawing and the right half of a black one.
    std::vector<Fill> Neutral(const std::vector<Fill>& white, const std::vector<Fill>& black,
                              const QRectF& square) const;
    std::vector<Fill> MarkerFills(const Glyph& glyph, const QRectF& square) const;

    // Men at a reference size, by kind (index ManKind): the font's outline
    // (white) and solid (black) forms.
    std::array<Figure, 7> m_white;
    std::array<Figure, 7> m_black;
    // Texts and chess symbols by piece index (empty for the other glyphs).
    std::vector<Figure> m_special;
    std::vector<Glyph> m_glyphs;
    QColor m_light, m_dark;
    bool m_hatch = false;
    // The ground each figure seals in (SealedGround) by figure, turn, scale
    // and the square's size and place within a pixel, relative to the
    // square's pixel: a board draws the same few again and again.
    using SealKey = std::tuple<int, int, long long, int, int, int, int>;
    mutable std::map<SealKey, QPainterPath> m_sealed;
};

}  // namespace diagram
