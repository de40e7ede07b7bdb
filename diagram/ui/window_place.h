#pragma once
// Where the program's windows open: wholly on the screen that holds the main
// window, beside the main window where the screen has room (the rule is
// diagram::PlaceBeside; these apply it to Qt windows, frames included).

class QWidget;

namespace diagram::ui {

/// Moves `window` beside `main` on main's screen, wholly on it; a window
/// larger than the screen's free area is made smaller (down to its minimum).
/// Before its first showing the window's frame is taken to be as wide as
/// main's.
void PlaceBeside(QWidget& window, const QWidget& main);

/// PlaceBeside the first time it is called for `window`; later calls leave
/// it where the user put it, only brought back wholly onto a screen.
void PlaceBesideOnce(QWidget& window, const QWidget& main);

/// Moves a top-level window, and makes it smaller if need be (down to its
/// minimum), so that it lies wholly on the screen that holds it (or the
/// primary screen). A maximised, full-screen or minimised window is left
/// alone.
void KeepOnScreen(QWidget& window);

}  // namespace diagram::ui
