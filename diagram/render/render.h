#pragma once
// The one way a diagram becomes a file's content: a position in a style,
// drawn and encoded as the output options ask. Nothing given is changed.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "diagram/caption_layout.h"
#include "diagram/image_formats.h"
#include "diagram/render/renderer.h"
#include "position/vet.h"
#include "settings/style.h"

namespace diagram {

/// How a diagram is drawn and encoded.
struct RenderOptions {
    bool reversed = false;        ///< Shown turned by 180 degrees.
    double scale = 1;             ///< Every length of the style multiplied by this.
    double devicePixelRatio = 1;  ///< Density font styles are drawn at; pictures are written at 1.
    ImageFormat format = ImageFormat::kBmp;
    int pngCompression = -1;             ///< Qt's 0 to 100 scale for PNG; -1 its default.
    std::vector<OverlayStroke> strokes;  ///< Lasting strokes, drawn over the squares.
    CaptionText captions;                ///< Around the board; none: the diagram alone.
};

/// A drawn diagram.
struct RenderResult {
    QByteArray bytes;   ///< The file's content in the format; empty when it failed.
    QImage image;       ///< BMP and PNG: the picture encoded (with its captions).
    QSize boardSize;    ///< The diagram's size in pixels, without captions.
    std::string error;  ///< Why nothing was drawn; empty on success.
    bool ok() const { return error.empty(); }
};

/// The style a diagram is drawn in at a scale: lengths multiplied, then the
/// computed fields filled in (Resolved). A reason when the scale does not fit.
std::optional<std::string> RenderStyle(const settings::Style& style, double scale, settings::Style& drawn);

/// Draws FEN text (a placement, with or without the tally) in the style as
/// the options ask, and encodes it. Needs a QGuiApplication when the style
/// draws text or font men, or for SVG and PDF.
RenderResult Render(std::string_view text, const settings::Style& style, const RenderOptions& options);

/// Encodes the diagram a renderer keeps, as Render encodes a fresh one: its
/// picture as last drawn (with the strokes drawn into it) for BMP and PNG,
/// vet's squares drawn afresh for SVG and PDF, in renderer.style(), turned
/// as it was drawn. Of the options only the format, the PNG compression and
/// the captions count. For the window and the book export, which keep their
/// picture from one position to the next.
RenderResult EncodeDrawn(const Renderer& renderer, const position::Vet& vet, const RenderOptions& options);

/// Writes a result's bytes to path; a file or link found there is replaced,
/// never written through. False with a reason when it cannot be written.
bool WriteRendered(const RenderResult& result, const std::string& path, std::string* error = nullptr);

}  // namespace diagram
