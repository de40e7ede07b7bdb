#pragma once
// A main window with the engines attached, started in a program folder of
// its own. Outside programs are fakes: recorded starts, or small shell
// scripts the tests write into the folder and really start.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include "app/program.h"
#include "diagram/ui/fen_box.h"
#include "diagram/ui/main_window.h"
#include "engines/ui/crafty_window.h"
#include "engines/ui/engines.h"
#include "engines/ui/popeye_window.h"
#include "platform/ui/fake_services.h"
#include "platform/ui/qt_services.h"

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace engines::ui::testing {

class EnginesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_cwd = QDir::currentPath();
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override {
        window.reset();
        QDir::setCurrent(m_cwd);
    }

    QString InDir(const QString& name) const { return dir.filePath(name); }
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

    /// Starts the program; with realProcesses the engines really run.
    void Start(bool realProcesses = false) {
        platform::Services services = fakes.services();
        if (realProcesses) {
            services.processes = &processes;
        }
        window = std::make_unique<diagram::ui::MainWindow>(program, services);
        engines = Attach(*window);
        diagram::ui::StartupOptions options;
        options.exeDir = dir.path().toStdString();
        options.manualPath = InDir(QStringLiteral("pandrel.html"));
        window->Load(options);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    QAction* Action(const char* name) const { return window->action(QString::fromLatin1(name)); }
    PopeyeWindow* Popeye() const {
        return qobject_cast<PopeyeWindow*>(window->SecondaryWindow(diagram::ui::Secondary::kPopeye));
    }
    CraftyWindow* Crafty() const {
        return qobject_cast<CraftyWindow*>(window->SecondaryWindow(diagram::ui::Secondary::kCrafty));
    }
    void SetFen(const char* fen) { window->Text1()->setText(QString::fromLatin1(fen)); }

    static QStringList ListItems(const QListWidget* list) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i) {
            items << list->item(i)->text();
        }
        return items;
    }
    static QStringList ComboItems(const QComboBox* combo) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i) {
            items << combo->itemText(i);
        }
        return items;
    }
    /// Chooses item row of the field's pick list with the mouse.
    static void ChooseItem(QComboBox* combo, int row) {
        combo->showPopup();
        QAbstractItemView* view = combo->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
        const QRect item = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    }
    static bool WaitFor(const std::function<bool()>& condition, int ms = 5000) {
        return QTest::qWaitFor(condition, ms);
    }

    QTemporaryDir dir;
    platform::FakeServices fakes;
    platform::QtProcesses processes;
    app::Program program;
    std::unique_ptr<diagram::ui::MainWindow> window;
    Engines* engines = nullptr;

  private:
    QString m_cwd;
};

}  // namespace engines::ui::testing
