#include "diagram/ui/window_place.h"

#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QVariant>
#include <QWidget>

#include "diagram/window_place.h"

namespace diagram::ui {

namespace {

// Marks a window PlaceBesideOnce has placed.
constexpr const char* kPlacedProperty = "pandrelPlaced";

ScreenRect ToRect(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

// The frame's parts outside the client area. A window not yet shown has
// none yet: it will get those of its sibling.
QMargins FrameMargins(const QWidget& window, const QWidget& like) {
    const auto margins = [](const QWidget& w) {
        const QRect frame = w.frameGeometry();
        const QRect inner = w.geometry();
        return QMargins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                        frame.bottom() - inner.bottom());
    };
    const QMargins own = margins(window);
    return own.isNull() && !window.isVisible() ? margins(like) : own;
}

// The size the window will show at: its own once shown or sized, else the
// one its layout asks for.
QSize ClientSize(const QWidget& window) {
    if (window.isVisible() || window.testAttribute(Qt::WA_Resized)) {
        return window.size();
    }
    return window.sizeHint().expandedTo(window.minimumSize()).expandedTo(QSize(1, 1));
}

const QScreen* ScreenOf(const QWidget& window) {
    if (const QScreen* at = QGuiApplication::screenAt(window.frameGeometry().center())) {
        return at;
    }
    return window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
}

// Gives the window the frame `placed` (as near as its minimum size allows).
void Apply(QWidget& window, const ScreenRect& placed, const QMargins& margins, const QSize& client) {
    const QSize inner(placed.width - margins.left() - margins.right(),
                      placed.height - margins.top() - margins.bottom());
    if (inner != client) {
        window.resize(inner.expandedTo(window.minimumSize()));
    }
    // A window's position is that of its frame.
    window.move(placed.x, placed.y);
}

}  // namespace

void PlaceBeside(QWidget& window, const QWidget& main) {
    const QScreen* screen = ScreenOf(main);
    if (screen == nullptr) {
        return;
    }
    const QMargins margins = FrameMargins(window, main);
    const QSize client = ClientSize(window);
    const QSize frame = client.grownBy(margins);
    Apply(window,
          diagram::PlaceBeside(ToRect(main.frameGeometry()), frame.width(), frame.height(),
                               ToRect(screen->availableGeometry())),
          margins, client);
}

void PlaceBesideOnce(QWidget& window, const QWidget& main) {
    if (!window.property(kPlacedProperty).toBool()) {
        window.setProperty(kPlacedProperty, true);
        PlaceBeside(window, main);
    } else {
        KeepOnScreen(window);
    }
}

void KeepOnScreen(QWidget& window) {
    const QScreen* screen = ScreenOf(window);
    if (screen == nullptr) {
        return;
    }
    const QMargins margins = FrameMargins(window, window);
    const QSize client = ClientSize(window);
    const QRect frame(window.frameGeometry().topLeft(), client.grownBy(margins));
    Apply(window, diagram::KeepOnScreen(ToRect(frame), ToRect(screen->availableGeometry())), margins, client);
}

}  // namespace diagram::ui
