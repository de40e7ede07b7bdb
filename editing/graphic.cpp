#include "editing/graphic.h"

#include <cmath>

namespace editing {

namespace {

int RoundHalfEvenInt(double v) {
    // Style lengths are 16-bit, so the halves below always fit.
    return settings::RoundHalfEven(v).value_or(-1);
}

}  // namespace

int PenWidthOf(std::string_view text) {
    const std::optional<double> value = settings::Val(text);
    if (!value) {
        // A number too long for any integer is certainly too wide a pen.
        return text.find('-') == std::string_view::npos ? kMaxPenWidth : kDefaultPenWidth;
    }
    if (*value >= kMaxPenWidth) {
        return kMaxPenWidth;
    }
    const int width = settings::RoundHalfEven(*value).value_or(kDefaultPenWidth);
    return width < 1 ? 1 : width;
}

SnapOrigin SnapOriginOf(SnapMode mode, const settings::Style& style) {
    switch (mode) {
        case SnapMode::kCorner:
            return {RoundHalfEvenInt(style.XBASE - style.SQRHSPC / 2.0),
                    RoundHalfEvenInt(style.YBASE - style.SQRVSPC / 2.0)};
        case SnapMode::kCenter:
            return {RoundHalfEvenInt(style.XBASE + style.SQRHTAB / 2.0),
                    RoundHalfEvenInt(style.YBASE + style.SQRVTAB / 2.0)};
        case SnapMode::kOff:
            break;
    }
    return {};
}

double SnapCoordinate(double v, int origin, int pitch, int count) {
    const float value = static_cast<float>(v);
    const float half = static_cast<float>(pitch) / 2.0f;
    for (int k = 0; k <= count; ++k) {
        const int p = origin + k * pitch;
        if (static_cast<float>(p) + half > value) {
            return p;
        }
    }
    return v;
}

Stroke MoveStroke(GraphicObject object, double pressX, double pressY, double x, double y) {
    Stroke s;
    switch (object) {
        case GraphicObject::kLine:
            s = {Stroke::kLine, pressX, pressY, x, y, 0};
            break;
        case GraphicObject::kCircle:
            s = {Stroke::kCircle, pressX, pressY, 0, 0, std::fabs(pressX - x)};
            break;
        case GraphicObject::kFreeHand:
            s = {Stroke::kDot, x, y, 0, 0, 0};
            break;
    }
    return s;
}

Stroke ReleaseStroke(GraphicObject object, SnapMode mode, const settings::Style& style, bool leftButton,
                     double pressX, double pressY, double x, double y) {
    if (!leftButton || pressX < 0 || pressY < 0) {
        return {};
    }
    // The radius is the drag as the hand made it, before any snapping.
    const double radius = std::nearbyint(std::fabs(pressX - x));
    if (object == GraphicObject::kFreeHand) {
        return {Stroke::kDot, x, y, 0, 0, 0};
    }
    const SnapOrigin origin = SnapOriginOf(mode, style);
    if (origin.x >= 0) {
        const int pitchX = style.SQRHTAB + style.SQRHSPC;
        const int pitchY = style.SQRVTAB + style.SQRVSPC;
        pressX = SnapCoordinate(pressX, origin.x, pitchX, style.BORDERWIDTH);
        x = SnapCoordinate(x, origin.x, pitchX, style.BORDERWIDTH);
        pressY = SnapCoordinate(pressY, origin.y, pitchY, style.BORDERHEIGHT);
        y = SnapCoordinate(y, origin.y, pitchY, style.BORDERHEIGHT);
    }
    if (object == GraphicObject::kCircle) {
        return {Stroke::kCircle, pressX, pressY, 0, 0, radius};
    }
    return {Stroke::kLine, pressX, pressY, x, y, 0};
}

}  // namespace editing
