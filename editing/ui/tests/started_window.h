#pragma once
// The main window of the shared window fixture, with the board editor
// attached, for the editing windows' tests.

#include <QByteArray>
#include <string>

#include "diagram/ui/tests/window_fixture.h"
#include "editing/ui/board_editor.h"

class StartedWindow : public diagram::ui::testing::WindowTest {
  protected:
    // Starts the program with an optional settings file and waits until its
    // window is shown.
    void StartShown(const std::string& ini = {}) {
        if (!ini.empty()) {
            WriteFile(QStringLiteral("Pandrel.ini"), QByteArray::fromStdString(ini));
        }
        Create();
        m_editor = editing::ui::Attach(window->host());
        window->move(0, 0);
        ASSERT_NO_FATAL_FAILURE(Show());
    }
    // The same, and waits until the window is the active one.
    void Start(const std::string& ini = {}) {
        ASSERT_NO_FATAL_FAILURE(StartShown(ini));
        ASSERT_TRUE(Active(window.get()));
    }

    // Waits until widget is the active window (the activation of a window
    // comes through the event loop).
    static bool Active(QWidget* widget) {
        return QTest::qWaitFor([widget] { return widget->isActiveWindow(); });
    }

    // A double click as the window system sends it: press, release, double
    // click, release.
    static void DoubleClick(QWidget* widget) {
        QTest::mousePress(widget, Qt::LeftButton);
        QTest::mouseRelease(widget, Qt::LeftButton);
        QTest::mouseDClick(widget, Qt::LeftButton);
        QTest::mouseRelease(widget, Qt::LeftButton);
    }

    void SetFen(const char* fen) { window->Text1()->setText(QString::fromLatin1(fen)); }
    QString Fen() const { return window->Text1()->text(); }

    editing::ui::BoardEditor* m_editor = nullptr;
};
