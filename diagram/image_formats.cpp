#include "diagram/image_formats.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

namespace diagram {

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& ch : out) {
        if (ch >= 'A' && ch <= 'Z') {
            ch = static_cast<char>(ch - 'A' + 'a');
        }
    }
    return out;
}

}  // namespace

std::optional<ImageFormat> ParseFormat(std::string_view word) {
    const std::string w = Lower(word);
    if (w == "bmp")
        return ImageFormat::kBmp;
    if (w == "png")
        return ImageFormat::kPng;
    if (w == "svg")
        return ImageFormat::kSvg;
    if (w == "pdf")
        return ImageFormat::kPdf;
    return std::nullopt;
}

ImageFormat FormatOfName(std::string_view name) {
    const size_t dot = name.rfind('.');
    const size_t slash = name.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return ImageFormat::kBmp;
    }
    return ParseFormat(name.substr(dot + 1)).value_or(ImageFormat::kBmp);
}

const char* FormatName(ImageFormat format) {
    switch (format) {
        case ImageFormat::kPng:
            return "png";
        case ImageFormat::kSvg:
            return "svg";
        case ImageFormat::kPdf:
            return "pdf";
        case ImageFormat::kBmp:
            break;
    }
    return "bmp";
}

std::optional<std::string> ScaleStyle(settings::Style& style, double k) {
    if (!std::isfinite(k) || k <= 0) {
        return std::string("the scale must be a positive number");
    }
    settings::Style scaled = style;
    bool fits = true;
    // Whole pixels, so the squares stay on the pixel grid at any scale.
    const auto pixels = [&](auto& field, int unit, int least) {
        if (field == 0) {
            return;
        }
        double v = std::nearbyint(static_cast<double>(field) / unit * k);
        if (field > 0) {
            v = std::max(v, static_cast<double>(least));
        }
        const double stored = v * unit;
        using Field = std::remove_reference_t<decltype(field)>;
        if (stored < static_cast<double>(std::numeric_limits<Field>::min()) ||
            stored > static_cast<double>(std::numeric_limits<Field>::max())) {
            fits = false;
            return;
        }
        field = static_cast<Field>(stored);
    };
    for (int16_t* twips :
         {&scaled.SQRWIDTH, &scaled.SQRHEIGHT, &scaled.SQRHTAB, &scaled.SQRVTAB, &scaled.SQRHSPC,
          &scaled.SQRVSPC, &scaled.XBASE, &scaled.YBASE, &scaled.FONTXBASE, &scaled.FONTYBASE}) {
        pixels(*twips, 15, 1);
    }
    // A picture size written in the style is scaled without its margin.
    for (int32_t* twips : {&scaled.WNDWIDTH, &scaled.WNDHEIGHT}) {
        if (*twips > 60) {
            int32_t inner = *twips - 60;
            pixels(inner, 15, 1);
            if (inner > INT32_MAX - 60) {
                fits = false;
            } else {
                *twips = inner + 60;
            }
        } else {
            pixels(*twips, 15, 1);
        }
    }
    pixels(scaled.FRAMEWIDTH, 1, 1);
    pixels(scaled.FONTSIZE, 1, 1);
    if (!fits) {
        return std::string("the scale makes the diagram too large");
    }
    style = scaled;
    return std::nullopt;
}

double HatchPitch(double width, double height) {
    return std::max(3.0, std::round(std::min(width, height) / 9.0));
}

std::vector<Segment> HatchLines(double width, double height) {
    std::vector<Segment> lines;
    if (width <= 0 || height <= 0) {
        return lines;
    }
    const double pitch = HatchPitch(width, height);
    // Lines x + y = c for c at the pitch, from the top-left corner outwards,
    // each cut to the square.
    for (double c = pitch / 2; c < width + height; c += pitch) {
        const double xa = std::max(0.0, c - height);
        const double xb = std::min(width, c);
        if (xb <= xa) {
            continue;
        }
        lines.push_back({xa, c - xa, xb, c - xb});
    }
    return lines;
}

}  // namespace diagram
