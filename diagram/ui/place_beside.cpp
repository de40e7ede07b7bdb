#include "diagram/ui/place_beside.h"

#include <algorithm>

namespace diagram::ui {

namespace {

// v kept in [low, high]; when the range is empty, low wins.
int KeepIn(int v, int low, int high) {
    return std::max(low, std::min(v, high));
}

}  // namespace

QPoint PlaceBeside(const QRect& owner, const QSize& size, const QRect& screen) {
    const int screenRight = screen.x() + screen.width();
    const int ownerRight = owner.x() + owner.width();
    const int roomRight = screenRight - ownerRight;
    const int roomLeft = owner.x() - screen.x();
    int x;
    if (roomRight >= size.width()) {
        x = ownerRight;
    } else if (roomLeft >= size.width()) {
        x = owner.x() - size.width();
    } else {
        x = roomRight >= roomLeft ? screenRight - size.width() : screen.x();
    }
    x = KeepIn(x, screen.x(), screenRight - size.width());
    const int y = KeepIn(owner.y(), screen.y(), screen.y() + screen.height() - size.height());
    return {x, y};
}

}  // namespace diagram::ui
