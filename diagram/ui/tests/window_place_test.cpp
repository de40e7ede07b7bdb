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

}  // namespace

}  // namespace diagram::ui::testing
