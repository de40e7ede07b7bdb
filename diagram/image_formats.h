#pragma once
// Diagram files beyond BMP: the format a file name or option asks for, a
// style scaled to another size, and the hatching of dark squares.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/style.h"

namespace diagram {

/// File formats a diagram is written in.
enum class ImageFormat { kBmp, kPng, kSvg, kPdf };

/// The format of a file name's extension (".bmp", ".png", ".svg", ".pdf" in
/// any case); BMP for a name with none of the four.
ImageFormat FormatOfName(std::string_view name);

/// The format a word names ("bmp", "png", "svg", "pdf" in any case).
std::optional<ImageFormat> ParseFormat(std::string_view word);

/// Lower-case name of a format, as the command line and extensions write it.
const char* FormatName(ImageFormat format);

/// Multiplies every length of a style by k: squares, pitches, spacing,
/// offsets, a picture size written in the style (0 stays 0: it is computed
/// afresh, with its margin of 4 pixels), frame width and lettering size.
/// Lengths are kept in whole pixels (rounded halves to even), a frame or
/// lettering that was there stays at least 1. Returns a reason when k is
/// not a positive number or a length no longer fits its field; the style is
/// then unchanged.
std::optional<std::string> ScaleStyle(settings::Style& style, double k);

/// A straight segment in pixels.
struct Segment {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool operator==(const Segment&) const = default;
};

/// Pitch in pixels of the hatching on a square of the given size: about a
/// ninth of the square, never below 3 pixels.
double HatchPitch(double width, double height);

/// Hatching of one dark square of width x height pixels with its top-left
/// corner at the origin: parallel lines rising from lower left to upper right
/// at the hatch pitch, cut to the square.
std::vector<Segment> HatchLines(double width, double height);

}  // namespace diagram
