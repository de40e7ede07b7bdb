#pragma once
// A main window started in a temporary program folder with the board
// editor attached, for the editing windows' tests.

#include <gtest/gtest.h>

#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "diagram/ui/fen_box.h"
#include "diagram/ui/main_window.h"
#include "editing/ui/board_editor.h"
#include "platform/ui/fake_services.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

class StartedWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = std::filesystem::temp_directory_path() /
                ("pandrel-" + std::string(info->test_suite_name()) + "-" + info->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override {
        m_main.reset();
        std::filesystem::remove_all(m_dir);
    }

    // Starts the program with an optional settings file and waits until its
    // window is shown.
    void StartShown(const std::string& ini = {}) {
        if (!ini.empty()) {
            std::ofstream(m_dir / "Pandrel.ini") << ini;
        }
        m_main = std::make_unique<diagram::ui::MainWindow>(m_program, m_services.services());
        m_editor = editing::ui::Attach(m_main->host());
        diagram::ui::StartupOptions options;
        options.exeDir = m_dir.string();
        m_main->Load(options);
        m_main->move(0, 0);
        m_main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_main.get()));
    }
    // The same, and waits until the window is the active one.
    void Start(const std::string& ini = {}) {
        ASSERT_NO_FATAL_FAILURE(StartShown(ini));
        ASSERT_TRUE(Active(m_main.get()));
    }

    // Waits until window is the active window (the activation of a window
    // comes through the event loop).
    static bool Active(QWidget* window) {
        return QTest::qWaitFor([window] { return window->isActiveWindow(); });
    }

    // A double click as the window system sends it: press, release, double
    // click, release.
    static void DoubleClick(QWidget* widget) {
        QTest::mousePress(widget, Qt::LeftButton);
        QTest::mouseRelease(widget, Qt::LeftButton);
        QTest::mouseDClick(widget, Qt::LeftButton);
        QTest::mouseRelease(widget, Qt::LeftButton);
    }

    void SetFen(const char* fen) { m_main->Text1()->setText(QString::fromLatin1(fen)); }
    QString Fen() const { return m_main->Text1()->text(); }

    std::filesystem::path m_dir;
    platform::FakeServices m_services;
    diagram::ui::Program m_program;
    std::unique_ptr<diagram::ui::MainWindow> m_main;
    editing::ui::BoardEditor* m_editor = nullptr;
};
