#pragma once
// Paints the diagram picture from the style and the board vector.

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QSizeF>
#include <QString>
#include <map>
#include <tuple>
#include <vector>

#include "diagram/geometry.h"
#include "diagram/render/font_men.h"
#include "position/vet.h"
#include "settings/style.h"

namespace diagram {

/// Converts a style colour (0x00BBGGRR) to a Qt colour.
QColor ToQColor(int32_t bgr);

/// Loads a BMP or GIF picture; a null image when it cannot be read.
QImage LoadBitmap(const QString& path);

/// A lasting stroke of the graphic overlay, in twips, with its pen.
struct OverlayStroke {
    enum Kind { kLine, kCircle, kDot };
    Kind kind = kLine;
    double fromX = 0, fromY = 0;  ///< Start of a line, centre of a circle, the dot.
    double toX = 0, toY = 0;      ///< End of a line.
    double radius = 0;            ///< Radius of a circle.
    int width = 1;                ///< Pen width in pixels.
    int32_t color = 0;            ///< 0x00BBGGRR.
};

/// Paints a stroke with its pen (round ends), in pixels of the painter.
void PaintOverlayStroke(QPainter& painter, const OverlayStroke& stroke);

/// The diagram picture that persists between paints, with the pieces bitmap
/// it cuts squares from. Everything Save Image, Copy Image and Print take
/// comes from picture().
class Renderer {
  public:
    Renderer();

    /// Prepares the picture: background colour and bitmap, pieces bitmap,
    /// size, frame and lettering, all from Resolved(style), which style()
    /// keeps. Draws no squares; follow it with a reset of the painted plane
    /// (for style().Shape()) and a board update. Returns true for a square
    /// board. The style given is left as it is.
    bool DrawBoard(const settings::Style& style, int reversed);

    /// The style the picture was last drawn for, its computed fields filled
    /// in (Resolved); a default style's before the first DrawBoard.
    const settings::Style& style() const { return m_style; }
    /// The Reversed value the picture was last drawn for.
    int reversed() const { return m_reversed; }

    /// Paints cell `code` of the pieces bitmap on square s1 - 1 (for a font
    /// style, the drawn square of that code). The style is a resolved one
    /// (style(), or one ApplyComputedGeometry filled in): this runs for every
    /// square and takes the geometry as it is.
    void PutPeca(const settings::Style& style, int reversed, int code, int s1);

    /// Reads FEN text into the board vector and repaints the changed squares,
    /// in the geometry computed from the style (Resolved).
    position::ParseResult Build(position::Vet& vet, std::string_view text, const settings::Style& style,
                                int reversed);

    /// DrawBoard, reset of the painted plane, Build: the full redraw.
    position::ParseResult Redraw(position::Vet& vet, std::string_view text, const settings::Style& style,
                                 int reversed);

    /// The persistent picture.
    const QImage& picture() const { return m_picture; }
    /// The persistent picture to draw on (the graphic overlay's lasting
    /// strokes); the next repaint of a square paints over its part.
    QImage& canvas() { return m_picture; }
    /// The pieces bitmap in use (the built-in one until a style loads another).
    const QImage& pieces() const { return m_pecas; }
    /// Replaces the pieces bitmap.
    void setPieces(const QImage& pieces) {
        m_pecas = pieces.convertToFormat(QImage::Format_RGB32);
        m_cells.clear();
        m_svgSquares.clear();
    }

    /// The lettering font a style asks for, at screen resolution.
    static QFont LetteringQFont(const settings::Style& style);

    /// Device pixels per picture pixel for font styles from the next
    /// DrawBoard on (a high-density screen's ratio); bitmap styles always
    /// draw at 1, pixel for pixel.
    void setDevicePixelRatio(double ratio) { m_ratio = ratio > 0 ? ratio : 1; }
    double devicePixelRatio() const { return m_ratio; }
    /// Factor the pieces and border bitmaps of bitmap styles are scaled by
    /// (smoothly) from the next DrawBoard on, for a style whose lengths were
    /// scaled; 1 copies them as they are.
    void setBitmapScale(double k) { m_bitmapScale = k > 0 ? k : 1; }

    /// True when the last DrawBoard drew a font style.
    bool fontStyle() const { return m_font; }
    /// Size of the picture in picture pixels, whatever its device ratio.
    QSize logicalSize() const;

    /// Draws a lasting stroke into the picture and keeps it for the vector
    /// formats. DrawBoard forgets the strokes, as it clears the picture.
    void DrawStroke(const OverlayStroke& stroke);
    const std::vector<OverlayStroke>& strokes() const { return m_strokes; }

    /// Paints the whole diagram afresh with any painter whose unit is a
    /// picture pixel (an SVG or PDF page, an image): ground, border, frame,
    /// lettering, the squares the board shows and the strokes. Squares and
    /// men of font styles are drawn as shapes, lettering as text. Call after
    /// DrawBoard for the same style.
    void PaintDiagram(QPainter& painter, const settings::Style& style, const position::Vet& vet,
                      int reversed) const;

    /// Writes the whole diagram, as PaintDiagram paints it, as an SVG
    /// document onto out: squares as rectangles (a bitmap style's as its
    /// cells), men as paths, lettering as text, strokes as lines and
    /// circles. Call after DrawBoard for the same style.
    void WriteSvg(QByteArray& out, const settings::Style& style, const position::Vet& vet,
                  int reversed) const;

  private:
    void SvgSquare(QByteArray& out, const settings::Style& style, int code, const CellCopy& copy) const;
    void DrawLettering(const settings::Style& style, int reversed);
    void PaintFrame(QPainter& painter, const settings::Style& style) const;
    void PaintLettering(QPainter& painter, const QPaintDevice* metricsDevice, const settings::Style& style,
                        int reversed) const;
    void PaintCell(QPainter& painter, const settings::Style& style, int reversed, int code, int s1) const;
    void MakeTiles(const settings::Style& style);
    void PutTile(const CellCopy& copy, int code);
    const QImage& Tile(int code);
    const QImage& Cells() const { return m_scaledPecas.isNull() ? m_pecas : m_scaledPecas; }

    settings::Style m_style;  // resolved: the geometry the picture was drawn with
    int m_reversed = 0;
    QImage m_picture;
    QImage m_pecas;
    QImage m_scaledPecas;  // the pieces bitmap at the bitmap scale, when not 1
    QImage m_border;       // the border bitmap as drawn, for PaintDiagram
    double m_ratio = 1;
    double m_bitmapScale = 1;
    bool m_font = false;
    FontMen m_men;
    std::vector<QImage> m_tiles;  // font style: one drawn square per cell code, once drawn
    QSizeF m_tileSize;            // their size in picture pixels
    int m_tileCells = 1;          // cell codes of one square colour
    double m_tileRatio = 1;       // the picture's device pixels per pixel
    std::vector<OverlayStroke> m_strokes;
    // Bitmap style: the cells PaintDiagram has drawn, cut from the pieces
    // bitmap, by their rectangle in it (x, y, width, height).
    mutable std::map<std::tuple<int, int, int, int>, QImage> m_cells;
    // WriteSvg's parts that stay from one position to the next: the head
    // (ground, border, frame, lettering) and each cell code's square.
    mutable QByteArray m_svgHead;
    mutable int m_svgHeadReversed = 0;  // the lettering of the head follows the turn
    mutable std::vector<QByteArray> m_svgSquares;
};

}  // namespace diagram
