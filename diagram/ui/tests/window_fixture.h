#pragma once
// A main window started in a folder of its own, with fake desktop services.
// The windows' tests of other folders build on it too (included by path).

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "diagram/ui/fen_box.h"
#include "diagram/ui/main_window.h"
#include "diagram/ui/program.h"
#include "platform/ui/fake_services.h"

/// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace diagram::ui::testing {

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_cwd = QDir::currentPath();
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override {
        window.reset();
        QDir::setCurrent(m_cwd);
    }

    /// The program folder, with its "/".
    std::string AppDir() const { return dir.path().toStdString() + "/"; }
    /// Path of a file in the program folder.
    QString InDir(const QString& name) const { return dir.filePath(name); }

    /// Writes a file of the program folder; executable lets its owner run it.
    void WriteFile(const QString& name, const QByteArray& text, bool executable = false) const {
        QFile file(InDir(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        if (executable) {
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        }
    }
    QByteArray ReadFile(const QString& name) const {
        QFile file(InDir(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    bool Exists(const QString& name) const { return QFile::exists(InDir(name)); }

    /// Builds the window, with the fake services or others; hooks may be set
    /// on it before Load().
    MainWindow& Create() { return Create(fakes.services()); }
    MainWindow& Create(const platform::Services& services) {
        window = std::make_unique<MainWindow>(program, services);
        return *window;
    }

    /// Loads the built window (building it first when there is none) with
    /// the given command-line files, and shows it.
    void Show(const QStringList& files = {}) {
        if (!window) {
            Create();
        }
        StartupOptions options;
        options.exeDir = dir.path().toStdString();
        options.files = files;
        options.manualPath = InDir(QStringLiteral("pandrel.html"));
        window->Load(options);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    /// Loads with the given command-line files and shows the window active,
    /// with the focus in the FEN text box.
    void Start(const QStringList& files = {}) {
        ASSERT_NO_FATAL_FAILURE(Show(files));
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->Text1()->setFocus();
    }

    FenBox* Text1() const { return window->Text1(); }

    QTemporaryDir dir;
    platform::FakeServices fakes;
    diagram::ui::Program program;
    std::unique_ptr<MainWindow> window;

  private:
    QString m_cwd;
};

}  // namespace diagram::ui::testing
