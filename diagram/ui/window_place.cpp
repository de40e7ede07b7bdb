#include "diagram/ui/window_place.h"

#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QStyle>
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

QMargins OwnMargins(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
}

// The frame's parts outside the client area. The desktop tells them only
// once it has framed the window: until then those of `like` stand for them,
// or, when it has none either, a title bar as the style draws one.
struct Frame {
    QMargins margins;
    bool known = false;
};

Frame FrameOf(const QWidget& window, const QWidget& like) {
    const QMargins own = OwnMargins(window);
    if (!own.isNull()) {
        return {own, true};
    }
    const QMargins sibling = OwnMargins(like);
    if (!sibling.isNull()) {
        return {sibling, false};
    }
    const int title = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    return {QMargins(1, title + 1, 1, 1), false};
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
void Apply(QWidget& window, const ScreenRect& placed, const Frame& frame, const QSize& client) {
    const QMargins& m = frame.margins;
    const QSize inner(placed.width - m.left() - m.right(), placed.height - m.top() - m.bottom());
    if (inner != client) {
        window.resize(inner.expandedTo(window.minimumSize()));
    }
    // A window's position is its frame's. But a window made on the desktop
    // and not framed yet is put with its client area there: the frame it
    // will get goes around that.
    const bool clientPlaced = window.testAttribute(Qt::WA_WState_Created) && !frame.known;
    window.move(placed.x + (clientPlaced ? m.left() : 0), placed.y + (clientPlaced ? m.top() : 0));
}

}  // namespace

void PlaceBeside(QWidget& window, const QWidget& main) {
    const QScreen* screen = ScreenOf(main);
    if (screen == nullptr) {
        return;
    }
    const Frame frame = FrameOf(window, main);
    const QSize client = ClientSize(window);
    const QSize outer = client.grownBy(frame.margins);
    Apply(window,
          diagram::PlaceBeside(ToRect(main.frameGeometry()), outer.width(), outer.height(),
                               ToRect(screen->availableGeometry())),
          frame, client);
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
    // The desktop places a maximised or full-screen window itself.
    const QScreen* screen = ScreenOf(window);
    if (screen == nullptr || window.isMaximized() || window.isFullScreen() || window.isMinimized()) {
        return;
    }
    const Frame frame = FrameOf(window, window);
    const QSize client = ClientSize(window);
    const QPoint corner =
        frame.known ? window.frameGeometry().topLeft()
                    : window.geometry().topLeft() - QPoint(frame.margins.left(), frame.margins.top());
    const QRect outer(corner, client.grownBy(frame.margins));
    const ScreenRect kept = diagram::KeepOnScreen(ToRect(outer), ToRect(screen->availableGeometry()));
    if (kept != ToRect(outer)) {
        Apply(window, kept, frame, client);
    }
}

}  // namespace diagram::ui
