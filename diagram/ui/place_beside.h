#pragma once
// Where a window goes so that it does not hide another: beside it on the
// screen.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace diagram::ui {

/// The top-left corner for a window of frame size `size` next to the frame
/// `owner`: right of it when the screen has room there, else left of it;
/// without room on either side, on the roomier side as far out as the screen
/// allows. Tops are aligned. The window is kept on `screen` (a window larger
/// than the screen keeps its top-left corner on it).
QPoint PlaceBeside(const QRect& owner, const QSize& size, const QRect& screen);

}  // namespace diagram::ui
