#include "diagram/render/render.h"

#include <QBuffer>
#include <QImageWriter>
#include <cerrno>
#include <cstring>

#include "diagram/render/captions.h"
#include "diagram/render/export.h"
#include "platform/safe_files.h"

namespace diagram {

namespace {

bool IsPicture(ImageFormat format) {
    return format == ImageFormat::kBmp || format == ImageFormat::kPng;
}

}  // namespace

std::optional<std::string> RenderStyle(const settings::Style& style, double scale, settings::Style& drawn) {
    drawn = style;
    // Scaled as given, then filled in: a style whose picture size is left
    // to the program gets the size of its scaled squares.
    if (scale != 1) {
        if (auto reason = ScaleStyle(drawn, scale)) {
            return reason;
        }
    }
    ApplyComputedGeometry(drawn);
    return std::nullopt;
}

RenderResult Render(std::string_view text, const settings::Style& style, const RenderOptions& options) {
    settings::Style drawn;
    if (auto reason = RenderStyle(style, options.scale, drawn)) {
        RenderResult failed;
        failed.error = std::move(*reason);
        return failed;
    }
    Renderer renderer;
    renderer.setBitmapScale(options.scale);
    renderer.setDevicePixelRatio(options.devicePixelRatio);
    // The turned view counts from the far corner of the board in force.
    const int reversed = FollowBoardSize(options.reversed ? 1 : 0, drawn);
    renderer.DrawBoard(drawn, reversed);
    position::Vet vet;
    position::ResetVet(vet, drawn.Shape());
    if (IsPicture(options.format)) {
        renderer.Build(vet, text, drawn, reversed);
    } else {
        // Drawings are painted afresh from the board vector: the picture's
        // squares would be painted for nothing.
        diagram::Build(vet, text, drawn, {});
    }
    for (const OverlayStroke& stroke : options.strokes) {
        renderer.DrawStroke(stroke);
    }
    return EncodeDrawn(renderer, vet, options);
}

RenderResult EncodeDrawn(const Renderer& renderer, const position::Vet& vet, const RenderOptions& options) {
    const settings::Style& style = renderer.style();
    const int reversed = renderer.reversed();
    RenderResult result;
    result.boardSize = renderer.logicalSize();
    if (IsPicture(options.format)) {
        result.image = CaptionedImage(DiagramImage(renderer, style, vet, reversed), options.captions, style);
        QBuffer buffer(&result.bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, FormatName(options.format));
        if (options.format == ImageFormat::kPng && options.pngCompression >= 0) {
            writer.setCompression(options.pngCompression);
        }
        // A captioned picture's bands add many rows of few colours: with a
        // palette (kept exact, at most 256 colours) the file is smaller and
        // written several times faster. Plain diagrams stay as they were.
        const bool paletted = options.format == ImageFormat::kPng && !options.captions.Empty();
        if (!writer.write(paletted ? PalettedImage(result.image) : result.image)) {
            result.bytes.clear();
        }
    } else {
        result.bytes = EncodeCaptioned(renderer, style, vet, reversed, options.format, options.captions);
    }
    if (result.bytes.isEmpty()) {
        result.error = std::string("the diagram could not be drawn as ") + FormatName(options.format);
    }
    return result;
}

bool WriteRendered(const RenderResult& result, const std::string& path, std::string* error) {
    const auto fail = [&](std::string reason) {
        if (error != nullptr) {
            *error = std::move(reason);
        }
        return false;
    };
    if (!result.ok()) {
        return fail(result.error);
    }
    if (!platform::WriteOutputFile(
            path, std::string_view(result.bytes.constData(), static_cast<size_t>(result.bytes.size())))) {
        return fail(std::strerror(errno));
    }
    return true;
}

}  // namespace diagram
