#pragma once
// The captions of a published problem drawn around the diagram: a layer
// around the board picture, which itself is drawn as always. Lines too
// wide for the diagram are wrapped at blanks (a word wider than the diagram
// is elided with "…") and the picture grows to hold them; in SVG and PDF the
// captions are text, in the style's lettering font.

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QStringList>
#include <vector>

#include "diagram/caption_layout.h"
#include "diagram/image_formats.h"
#include "diagram/render/renderer.h"

class QPaintDevice;
class QPainter;

namespace diagram {

/// The captions' font: the style's lettering font, at least 9 points.
QFont CaptionFont(const settings::Style& style);

/// One line of the captions as drawn.
struct CaptionLine {
    QString text;
    int x = 0;         ///< Left end, or right end when alignRight.
    int baseline = 0;  ///< From the top of the whole picture.
    bool alignRight = false;
};

/// Where the captions go for a board of boardSize on device (its
/// resolution sets the font's pixel size).
struct CaptionGeometry {
    int width = 0;  ///< The diagram's width; captions never pass it.
    int above = 0;  ///< Height of the band over the board.
    int below = 0;  ///< Height of the band under it.
    int boardHeight = 0;
    int lineHeight = 0;
    int ascent = 0;
    int margin = 0;                  ///< Room at the left and right edges.
    std::vector<CaptionLine> lines;  ///< Every line, wrapped to the width.
    int Height() const { return above + boardHeight + below; }
};
CaptionGeometry MeasureCaptions(const CaptionText& captions, const QFont& font, QSize boardSize,
                                QPaintDevice* device);

/// A caption text as lines no wider than room in font on device (whose
/// resolution sets the font's pixel size): broken at blanks, a word
/// wider than room alone on its line and elided with "…". Runs of blanks
/// count as one; a text of blanks gives no line.
QStringList WrapCaption(const QString& text, const QFont& font, QPaintDevice* device, qreal room);

/// The caption lines wrapped to a width: the count keeps its room at the
/// right of the first line under the board, the stipulation wraps beside
/// it, or under it when little room is left.
struct WrappedCaptions {
    QStringList above;
    QString count;  ///< "" for none.
    QStringList stipulation;
    bool stipulationBeside = true;  ///< The stipulation starts on the count's line.
    QStringList below;
    int LinesAbove() const { return static_cast<int>(above.size()); }
    /// Lines under the board, the count's line once.
    int LinesBelow() const;
};
/// How a caption line wider than its room is fitted.
enum class CaptionFit {
    kWrap,   ///< Over as many lines as it takes (WrapCaption).
    kElide,  ///< One line, ending in "…": where the room for lines is short.
};
WrappedCaptions WrapCaptions(const CaptionText& captions, const QFont& font, QPaintDevice* device, qreal room,
                             CaptionFit fit = CaptionFit::kWrap);

/// The same pixels with a palette when there are at most 256 colours (a
/// PNG of it is smaller and several times quicker to write); otherwise
/// image itself.
QImage PalettedImage(const QImage& image);

/// Paints the captions' bands (white, black text) around a board whose
/// top-left corner lies at (0, geometry.above).
void PaintCaptions(QPainter& painter, const QFont& font, const CaptionGeometry& geometry);

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
