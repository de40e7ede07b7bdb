#include <QGuiApplication>
#include <QScreen>

#include "diagram/ui/tests/window_fixture.h"

namespace diagram::ui::testing {

namespace {

// The main window comes back where the last run left it, unless that place
// is off every screen now.
TEST_F(WindowTest, PlaceIsKeptBetweenRuns) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const struct {
        const char* ini;
        bool moved;  // the window stands at the saved place
    } cases[] = {
        {"", true},
        {"WindowLeft = 30000\r\nWindowTop = 30000\r\n", false},
    };
    for (const auto& c : cases) {
        WriteFile("Pandrel.ini", c.ini);
        Start();
        const QPoint place = c.moved ? screen.topLeft() + QPoint(37, 23) : QPoint(30000, 30000);
        if (c.moved) {
            window->move(place);
            QTest::keyClick(Text1(), Qt::Key_X, Qt::ControlModifier);  // Exit
            const QByteArray saved = ReadFile("Pandrel.ini");
            EXPECT_TRUE(saved.contains(QStringLiteral("WindowLeft = %1\r\n").arg(place.x()).toLatin1()))
                << saved.toStdString();
            EXPECT_TRUE(saved.contains(QStringLiteral("WindowTop = %1\r\n").arg(place.y()).toLatin1()));
        }
        window.reset();
        program = diagram::ui::Program{};
        Start();
        if (c.moved) {
            EXPECT_EQ(window->pos(), place);
        } else {
            EXPECT_NE(window->pos(), place) << "a place off the screens is not used";
        }
        window.reset();
        program = diagram::ui::Program{};
    }
}

// A saved place whose corner is on the screen but whose window would run off
// it (a larger board or scale since): the window opens wholly on the screen
// all the same.
TEST_F(WindowTest, OpensWhollyOnTheScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const struct {
        const char* what;
        QByteArray ini;
    } cases[] = {
        {"saved near the bottom right corner", QStringLiteral("WindowLeft = %1\r\nWindowTop = %2\r\n")
                                                   .arg(screen.right() - 60)
                                                   .arg(screen.bottom() - 40)
                                                   .toLatin1()},
        {"saved near the right edge", QStringLiteral("WindowLeft = %1\r\nWindowTop = %2\r\n")
                                          .arg(screen.right() - 200)
                                          .arg(screen.top() + 10)
                                          .toLatin1()},
    };
    for (const auto& c : cases) {
        WriteFile("Pandrel.ini", c.ini);
        Start();
        QTRY_VERIFY2(screen.contains(window->frameGeometry()), c.what);
        window.reset();
        program = diagram::ui::Program{};
    }
}

}  // namespace

}  // namespace diagram::ui::testing
