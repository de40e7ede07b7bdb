#pragma once
// A main window with the board editor and the book commands, started in a
// folder of its own with fake desktop services; books are written there.

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>

#include "books/ui/book_commands.h"
#include "books/ui/step_button.h"
#include "diagram/ui/book_panel.h"
#include "diagram/ui/fen_box.h"
#include "diagram/ui/main_window.h"
#include "diagram/ui/tests/window_fixture.h"
#include "editing/ui/board_editor.h"

namespace books::ui::testing {

inline constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

class BookWindowTest : public diagram::ui::testing::WindowTest {
  protected:
    /// Builds, attaches and starts the window with the command-line files.
    void Start(const QStringList& files = {}) {
        Create();
        editing::ui::Attach(window->host());
        commands = books::ui::Attach(window->host());
        diagram::ui::StartupOptions options;
        options.exeDir = dir.path().toStdString();
        options.files = files;
        window->Load(options);
        window->move(0, 0);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    /// Opens a book of the program folder as the recent files would.
    void Open(const QString& name) {
        program.book.BookFile = InDir(name).toStdString();
        window->CmdLoad();
    }

    QAction* Action(const char* name) const { return window->action(QString::fromLatin1(name)); }
    diagram::ui::BookPanel* Panel() const { return window->Frame2(); }
    QString Fen() const { return window->Text1()->text(); }
    QString Caption() const { return Panel()->Label1()->text(); }
    QString Side() const { return Panel()->Label5()->text(); }
    QStringList Listed() const {
        QStringList rows;
        for (int i = 0; i < Panel()->List1()->count(); ++i) {
            rows << Panel()->List1()->item(i)->text();
        }
        return rows;
    }
    void Click(int button) { QTest::mouseClick(commands->Image2(button), Qt::LeftButton); }
    void ShowGame(int n) { Panel()->HScroll1()->setValue(n); }
    QColor LabelColor() const { return Panel()->Label1()->palette().color(QPalette::WindowText); }

    books::ui::BookCommands* commands = nullptr;
};

}  // namespace books::ui::testing
