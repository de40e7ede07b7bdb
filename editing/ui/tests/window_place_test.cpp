// The editing windows open wholly on the main window's screen, beside the
// main window where the screen has room.

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include "diagram/ui/host.h"
#include "editing/ui/tests/started_window.h"

namespace {

class EditingWindowPlaceTest : public StartedWindow {};

TEST_F(EditingWindowPlaceTest, OpenBesideTheMainWindowOnTheScreen) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    struct Case {
        const char* what;
        diagram::ui::Secondary window;
        std::function<void()> open;
    };
    const Case cases[] = {
        {"History (Ctrl+H)", diagram::ui::Secondary::kHistory,
         [this] { QTest::keyClick(window->Text1(), Qt::Key_H, Qt::ControlModifier); }},
        {"Graphic (Ctrl+G)", diagram::ui::Secondary::kGraphic,
         [this] { QTest::keyClick(window->Text1(), Qt::Key_G, Qt::ControlModifier); }},
        {"View button", diagram::ui::Secondary::kView,
         [this] { QTest::mouseClick(window->Command9(), Qt::LeftButton); }},
    };
    // The main window at the screen's right edge, low on it: below and right
    // of it is off the screen.
    const QRect main = window->frameGeometry();
    window->move(screen.right() + 1 - main.width(), screen.bottom() + 1 - main.height());
    QApplication::processEvents();
    for (const Case& c : cases) {
        c.open();
        QWidget* opened = window->host().SecondaryWindow(c.window);
        ASSERT_NE(opened, nullptr) << c.what;
        QTRY_VERIFY(opened->isVisible());
        const QRect frame = opened->frameGeometry();
        EXPECT_TRUE(screen.contains(frame)) << c.what << ": " << frame.x() << "," << frame.y() << " "
                                            << frame.width() << "x" << frame.height();
        if (frame.width() + window->frameGeometry().width() <= screen.width()) {
            EXPECT_FALSE(frame.intersects(window->frameGeometry())) << c.what;
        }
        opened->hide();
    }
}

}  // namespace
