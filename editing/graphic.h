#pragma once
// Geometry of the graphic overlay: what a Shift gesture on the diagram draws
// while the pointer moves and at the release, with snapping to the squares'
// corners or centres. Everything here is in twips (15 to a pixel).

#include <optional>
#include <string_view>

#include "settings/style.h"

namespace editing {

/// The object the Graphic window's "Object" frame asks for.
enum class GraphicObject { kLine, kCircle, kFreeHand };

/// The Graphic window's "Mode" frame.
enum class SnapMode { kCorner, kCenter, kOff };

/// Ten swatch colours of the Graphic window (0x00BBGGRR), by swatch index.
inline constexpr int kSwatchCount = 10;
inline constexpr int32_t kSwatchColors[kSwatchCount] = {0x000000, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000,
                                                        0xFF00FF, 0xFFFF00, 0xC0C0C0, 0x0080FF, 0xFFFFFF};
/// Pen of a program that never touched the Graphic window: width 1, red.
inline constexpr int kDefaultPenWidth = 1;
inline constexpr int32_t kDefaultPenColor = 0x0000FF;
/// Widest pen the width box accepts; wider values are cut to it.
inline constexpr int kMaxPenWidth = 99;

/// Pen width for a text typed into the width box: its leading number,
/// rounded halves to even and kept within 1..kMaxPenWidth. A text without a
/// number, or a number below 1, gives 1.
int PenWidthOf(std::string_view text);

/// What to draw: a line, a circle around `from`, or one dot at `from`.
struct Stroke {
    enum Kind { kNone, kLine, kCircle, kDot };
    Kind kind = kNone;
    double fromX = 0, fromY = 0;  ///< Start of a line, centre of a circle, the dot.
    double toX = 0, toY = 0;      ///< End of a line.
    double radius = 0;            ///< Radius of a circle.
    bool operator==(const Stroke&) const = default;
};

/// Origin of the snapping grid; x < 0 means no snapping.
struct SnapOrigin {
    int x = -1;
    int y = -1;
    bool operator==(const SnapOrigin&) const = default;
};

/// Corner snapping starts half a gap before the first square, centre
/// snapping half a square into it; both rounded halves to even. Snap Off
/// gives x = -1.
SnapOrigin SnapOriginOf(SnapMode mode, const settings::Style& style);

/// Moves v to the first of the count + 1 grid positions origin + k * pitch
/// whose midpoint to the next one (p + pitch / 2) lies beyond v; a value at
/// or past the last midpoint stays where it is. Compared in single precision.
double SnapCoordinate(double v, int origin, int pitch, int count);

/// The temporary drawing while the pointer moves with an armed Shift press
/// at (pressX, pressY): a rubber-band line or circle (radius: horizontal
/// distance only), or for free hand a dot at the pointer that is drawn into
/// the picture at once.
Stroke MoveStroke(GraphicObject object, double pressX, double pressY, double x, double y);

/// The lasting drawing of a Shift gesture released at (x, y). Nothing unless
/// the left button was released and the press is armed (both coordinates
/// >= 0). Lines snap both ends; circles snap the centre and keep the
/// unsnapped horizontal drag distance, rounded, as their radius; free hand
/// sets one dot at the release point.
Stroke ReleaseStroke(GraphicObject object, SnapMode mode, const settings::Style& style, bool leftButton,
                     double pressX, double pressY, double x, double y);

}  // namespace editing
