#pragma once
// The captions of a published problem drawn around the diagram: a layer
// around the board picture, which itself is drawn as always. Lines too
// wide for the diagram are elided with "…"; in SVG and PDF the captions are
// text, in the style's lettering font.

#include <QByteArray>
#include <QFont>
#include <QImage>

#include "diagram/caption_layout.h"
#include "diagram/image_formats.h"
#include "diagram/render/renderer.h"

class QPaintDevice;
class QPainter;

namespace diagram {

/// The captions' font: the style's lettering font, at least 9 points.
QFont CaptionFont(const settings::Style& style);

/// Where the captions go for a board of boardSize on device (its
/// resolution sets the font's pixel size).
struct CaptionGeometry {
    int width = 0;  ///< The diagram's width; captions never pass it.
    int above = 0;  ///< Height of the band over the board.
    int below = 0;  ///< Height of the band under it.
    int boardHeight = 0;
    int lineHeight = 0;
    int ascent = 0;
    int margin = 0;  ///< Room at the left and right edges.
    int Height() const { return above + boardHeight + below; }
};
CaptionGeometry MeasureCaptions(const CaptionText& captions, const QFont& font, QSize boardSize,
                                QPaintDevice* device);

/// A caption line as drawn: elided with "…" to fit the room.
QString FittedLine(const QString& text, const QFont& font, int room, QPaintDevice* device);

/// Paints the captions' bands (white, black text) around a board whose
/// top-left corner lies at (0, geometry.above).
void PaintCaptions(QPainter& painter, const CaptionText& captions, const QFont& font,
                   const CaptionGeometry& geometry);

/// The board picture with its captions; the picture itself when there are
/// none.
QImage CaptionedImage(const QImage& board, const CaptionText& captions, const settings::Style& style);

/// The SVG drawing of the board inside one with the captions as text.
QByteArray CaptionedSvg(const QByteArray& boardSvg, QSize boardSize, const CaptionText& captions,
                        const settings::Style& style);

/// EncodeDiagram with captions; exactly EncodeDiagram when there are none.
QByteArray EncodeCaptioned(const Renderer& renderer, const settings::Style& style, const position::Vet& vet,
                           int reversed, ImageFormat format, const CaptionText& captions);

/// WriteDiagram with captions; exactly WriteDiagram when there are none.
bool WriteCaptioned(const Renderer& renderer, const settings::Style& style, const position::Vet& vet,
                    int reversed, ImageFormat format, const QString& path, const CaptionText& captions,
                    QString* error = nullptr);

}  // namespace diagram
