#pragma once
// A main window with the engines attached, started in a program folder of
// its own. Outside programs are fakes: recorded starts, or small shell
// scripts the tests write into the folder and really start.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QTest>
#include <functional>

#include "diagram/ui/fen_box.h"
#include "diagram/ui/main_window.h"
#include "diagram/ui/tests/window_fixture.h"
#include "engines/ui/crafty_window.h"
#include "engines/ui/engines.h"
#include "engines/ui/popeye_window.h"
#include "platform/ui/qt_services.h"

namespace engines::ui::testing {

class EnginesTest : public diagram::ui::testing::WindowTest {
  protected:
    /// Starts the program; with realProcesses the engines really run.
    void Start(bool realProcesses = false) {
        platform::Services services = fakes.services();
        if (realProcesses) {
            services.processes = &processes;
        }
        Create(services);
        engines = Attach(window->host());
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

    platform::QtProcesses processes;
    Engines* engines = nullptr;
};

}  // namespace engines::ui::testing
