#pragma once
// The diagram as a file or clipboard content in any of the formats: BMP and
// PNG pictures, SVG and PDF drawings.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <string_view>

#include "diagram/caption_layout.h"
#include "diagram/image_formats.h"
#include "diagram/render/renderer.h"

namespace diagram {

/// The picture as BMP and PNG files take it: the renderer's picture itself
/// (pixel for pixel what the window shows), or, for a font style drawn for
/// a denser screen, the diagram drawn again at one device pixel a pixel.
QImage DiagramImage(const Renderer& renderer, const settings::Style& style, const position::Vet& vet,
                    int reversed);

/// The diagram as SVG text: squares as rectangles (or the pieces bitmap's
/// cells as images), men as paths, lettering as text, overlay strokes as lines.
QByteArray DiagramSvg(const Renderer& renderer, const settings::Style& style, const position::Vet& vet,
                      int reversed);

/// The diagram the renderer last drew (DrawBoard and the board update for
/// this style) encoded in a format, as the file of that format holds it;
/// empty when it cannot be drawn.
QByteArray EncodeDiagram(const Renderer& renderer, const settings::Style& style, const position::Vet& vet,
                         int reversed, ImageFormat format);

/// Writes the diagram the renderer last drew (DrawBoard and the board update
/// for this style) to path in a format; PDF gets one page the size of the
/// diagram. False with a reason when the file cannot be written.
bool WriteDiagram(const Renderer& renderer, const settings::Style& style, const position::Vet& vet,
                  int reversed, ImageFormat format, const QString& path, QString* error = nullptr);

/// One diagram to draw from scratch: a position in a style, at a scale.
struct DiagramRequest {
    settings::Style style;  ///< The style as read from the settings file.
    std::string text;       ///< FEN text (a placement, with or without the tally).
    bool reversed = false;  ///< Shown turned by 180 degrees.
    double scale = 1;       ///< Every length of the style multiplied by this.
    ImageFormat format = ImageFormat::kBmp;
};

/// Draws a request with Render and writes it to path; a file or link found
/// there is replaced, never written through. Needs a QGuiApplication when
/// the style draws text or font men. False with a reason for a bad scale or
/// a file that cannot be written. captions go around the board (none: the
/// diagram alone).
bool RenderDiagramFile(const DiagramRequest& request, const QString& path, QString* error = nullptr,
                       const CaptionText& captions = {});

}  // namespace diagram
