#pragma once
// Where a window opens: wholly on the screen that holds the main window, and
// beside the main window where the screen has room. Plain rectangles in
// logical pixels, frames included.

namespace diagram {

/// A rectangle of the desktop in logical pixels.
struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int right() const { return x + width; }    ///< First column past it.
    int bottom() const { return y + height; }  ///< First row past it.
    bool operator==(const ScreenRect&) const = default;
};

/// The frame of a window of `width` x `height` opened next to the frame
/// `owner` on `screen`: right of the owner when the screen has room there,
/// else left, else below, else above, tops (or lefts) aligned; without room
/// on any side, on the roomier of left and right as far out as the screen
/// allows. The result always lies wholly on the screen: a window larger
/// than the screen is made as large as the screen.
ScreenRect PlaceBeside(const ScreenRect& owner, int width, int height, const ScreenRect& screen);

/// `frame` moved onto `screen` by as little as it takes, and made no larger
/// than the screen, so that it lies wholly on it.
ScreenRect KeepOnScreen(const ScreenRect& frame, const ScreenRect& screen);

}  // namespace diagram
