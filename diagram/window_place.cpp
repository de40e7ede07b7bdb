#include "diagram/window_place.h"

#include <algorithm>

namespace diagram {

namespace {

// v kept in [low, high]; low wins when the range is empty.
int KeepIn(int v, int low, int high) {
    return std::max(low, std::min(v, high));
}

ScreenRect Fitted(int x, int y, int width, int height, const ScreenRect& screen) {
    return {KeepIn(x, screen.x, screen.right() - width), KeepIn(y, screen.y, screen.bottom() - height), width,
            height};
}

}  // namespace

ScreenRect PlaceBeside(const ScreenRect& owner, int width, int height, const ScreenRect& screen) {
    const int w = KeepIn(width, 1, std::max(1, screen.width));
    const int h = KeepIn(height, 1, std::max(1, screen.height));
    const int roomRight = screen.right() - owner.right();
    const int roomLeft = owner.x - screen.x;
    const int roomBelow = screen.bottom() - owner.bottom();
    const int roomAbove = owner.y - screen.y;
    if (roomRight >= w) {
        return Fitted(owner.right(), owner.y, w, h, screen);
    }
    if (roomLeft >= w) {
        return Fitted(owner.x - w, owner.y, w, h, screen);
    }
    if (roomBelow >= h) {
        return Fitted(owner.x, owner.bottom(), w, h, screen);
    }
    if (roomAbove >= h) {
        return Fitted(owner.x, owner.y - h, w, h, screen);
    }
    // Over the owner whatever happens: cover as little of it as the screen allows.
    return Fitted(roomRight >= roomLeft ? screen.right() - w : screen.x, owner.y, w, h, screen);
}

ScreenRect KeepOnScreen(const ScreenRect& frame, const ScreenRect& screen) {
    const int w = KeepIn(frame.width, 1, std::max(1, screen.width));
    const int h = KeepIn(frame.height, 1, std::max(1, screen.height));
    return Fitted(frame.x, frame.y, w, h, screen);
}

}  // namespace diagram
