#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "diagram/geometry.h"
#include "diagram/ui/book_panel.h"
#include "diagram/ui/fen_box.h"
#include "diagram/ui/main_window.h"
#include "diagram/ui/picture_view.h"
#include "editing/ui/board_editor.h"
#include "editing/ui/history_window.h"
#include "editing/ui/tests/started_window.h"

using editing::ui::HistoryWindow;

namespace {

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";
constexpr const char* kAfterE4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR";
constexpr const char* kAfterE5 = "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR";

class HistoryWindowTest : public StartedWindow {
  protected:
    void SetUp() override {
        StartedWindow::SetUp();
        ASSERT_NO_FATAL_FAILURE(StartShown());
        SetFen(kStart);
    }

    QAction* Action(const char* name) const { return window->action(QString::fromLatin1(name)); }
    HistoryWindow* History() const {
        return qobject_cast<HistoryWindow*>(window->SecondaryWindow(diagram::ui::Secondary::kHistory));
    }
    std::vector<std::string>& Lines() { return program.editing.History; }
    QStringList Listed() const {
        QStringList rows;
        for (int i = 0; i < History()->List1()->count(); ++i) {
            rows << History()->List1()->item(i)->text();
        }
        return rows;
    }

    QPoint Square(const char* name) const {
        const auto& s = program.style;
        const int d = (s.BORDERHEIGHT - (name[1] - '0')) * s.BORDERWIDTH + (name[0] - 'a');
        const diagram::Point at = diagram::SquareOrigin(s, d);
        return {static_cast<int>((at.x + s.SQRWIDTH / 2) / diagram::kTwipsPerPixel),
                static_cast<int>((at.y + s.SQRHEIGHT / 2) / diagram::kTwipsPerPixel)};
    }
    void Drag(const char* from, const char* to) {
        QTest::mousePress(window->PicMain(), Qt::LeftButton, {}, Square(from));
        QTest::mouseRelease(window->PicMain(), Qt::LeftButton, {}, Square(to));
    }

    // Shows the History window with the given lines and selects row (-1: none).
    void ShowWith(const std::vector<std::string>& lines, int row = -1) {
        Action("MNHistory")->trigger();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(History()));
        Lines() = lines;
        History()->Reload();
        if (row >= 0) {
            History()->List1()->setCurrentRow(row);
        }
    }
    void Type(char ch) { QTest::keyClick(History()->List1(), ch); }
};

// Enter acts on the line the focus frame shows, even before any click.
TEST_F(HistoryWindowTest, FocusSelectsTheFirstLineWhenNoneIs) {
    const struct {
        int selected;  // -1: none
        const char* loaded;
    } cases[] = {{-1, kStart}, {1, kAfterE4}};
    for (const auto& c : cases) {
        ShowWith({kStart, kAfterE4, kAfterE5}, c.selected);
        History()->findChild<QPushButton*>(QStringLiteral("Command1"))->setFocus();
        History()->List1()->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([this] { return History()->List1()->hasFocus(); }));
        EXPECT_EQ(History()->SelectedRow(), c.selected < 0 ? 0 : c.selected);
        SetFen("8/8/8/8/8/8/8/8");
        QTest::keyClick(History()->List1(), Qt::Key_Return);
        EXPECT_EQ(Fen(), c.loaded);
    }
}

TEST_F(HistoryWindowTest, RecordModeRecordsMouseMovesAndUndoStepsBack) {
    EXPECT_FALSE(Action("MNUndo")->isEnabled());
    Action("MNRec")->trigger();
    EXPECT_TRUE(program.editing.RecMode);
    ASSERT_NE(History(), nullptr);  // made hidden by the first Copy FEN
    EXPECT_FALSE(History()->isVisible());
    Drag("e2", "e4");
    Drag("e7", "e5");
    Drag("g1", "f3");
    ASSERT_EQ(Lines().size(), 4u);
    EXPECT_EQ(Lines()[0], kStart);
    EXPECT_EQ(Lines()[2], kAfterE5);
    EXPECT_EQ(Listed().size(), 4);
    EXPECT_EQ(fakes.clipboard.text.toStdString(), Lines()[3]);
    EXPECT_TRUE(Action("MNUndo")->isEnabled());

    Action("MNUndo")->trigger();
    Action("MNUndo")->trigger();
    EXPECT_EQ(Lines().size(), 2u);
    EXPECT_EQ(Listed(), QStringList({kStart, kAfterE4}));
    EXPECT_EQ(Fen(), kAfterE4);
    EXPECT_EQ(window->Text1()->cursorPosition(), Fen().size());
    Action("MNUndo")->trigger();
    Action("MNUndo")->trigger();  // the first line stays
    EXPECT_EQ(Lines(), std::vector<std::string>{kStart});
    EXPECT_EQ(Fen(), kStart);

    Action("MNRec")->trigger();  // off: edits no longer record
    EXPECT_FALSE(program.editing.RecMode);
    Drag("d2", "d4");
    EXPECT_EQ(Lines().size(), 1u);
}

TEST_F(HistoryWindowTest, UndoShowsOnlyThePlacementOfALineWithExtraFields) {
    ShowWith({std::string("(16x16)") + kStart + " w - - 0 0", std::string(kAfterE4) + " b - - 0 0"});
    Action("MNUndo")->trigger();
    EXPECT_EQ(Fen(), kStart);
    EXPECT_EQ(window->Label3()->text(), "(16x16)");
}

TEST_F(HistoryWindowTest, CounterPrefixAndLoadingALine) {
    program.style.COPYCOUNTER = 1;
    Action("MNPandrel")->trigger();
    ASSERT_EQ(Lines().size(), 1u);
    EXPECT_EQ(Lines()[0], std::string("(16x16)") + kStart);

    SetFen("8/8/8/8/8/8/8/8");
    ShowWith(Lines(), 0);
    // The book panel hears of it through the host and shows "Move Controls:".
    QSignalSpy shown(&window->host(), &diagram::ui::Host::historyLineShown);
    QTest::keyClick(History()->List1(), Qt::Key_Return);
    EXPECT_EQ(Fen(), kStart);
    EXPECT_EQ(window->Text1()->cursorPosition(), Fen().size());
    EXPECT_EQ(shown.count(), 1);

    // A double click loads too.
    ShowWith({std::string(kAfterE4) + " b - - 0 0"});
    QListWidget* list = History()->List1();
    list->doItemsLayout();
    const QPoint at = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(Fen(), kAfterE4);
}

TEST_F(HistoryWindowTest, ExtraFieldButtonsAndKeys) {
    ShowWith({"K7/8", "1K6/8", "2K5/8"});
    History()->Command6()->click();
    EXPECT_EQ(Listed(), QStringList({"K7/8 b - - 0 0", "1K6/8 w - - 0 0", "2K5/8 b - - 0 0"}));
    History()->Command5()->click();
    EXPECT_EQ(Lines()[0], "K7/8 w - - 0 0");
    History()->Command4()->click();
    EXPECT_EQ(Listed(), QStringList({"K7/8", "1K6/8", "2K5/8"}));

    const struct {
        char key;
        const char* line;
    } keys[] = {
        {'-', "1K6/8 - - - 0 0"}, {'B', "1K6/8 b - - 0 0"}, {'w', "1K6/8 w - - 0 0"},
        {'R', "1K6/8 "},          {'x', "1K6/8 "},          {'5', "1K6/8 "},
    };
    History()->List1()->setCurrentRow(1);
    for (const auto& k : keys) {
        Type(k.key);
        EXPECT_EQ(Lines()[1], k.line) << k.key;
        EXPECT_EQ(History()->List1()->item(1)->text().toStdString(), k.line) << k.key;
        EXPECT_EQ(History()->SelectedRow(), 1) << k.key;
    }
    // Without a selected line the keys do nothing.
    History()->List1()->clearSelection();
    Type('b');
    Type(' ');
    EXPECT_EQ(Lines()[1], "1K6/8 ");
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(HistoryWindowTest, RemovingALineAsksFirst) {
    ShowWith({"a", "b", "c"}, 1);
    fakes.messages.answer = platform::Answer::kCancel;
    Type(' ');
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0].text, "Remove the selected line from History");
    EXPECT_EQ(fakes.messages.shown[0].buttons, platform::Buttons::kOkCancel);
    EXPECT_EQ(Lines().size(), 3u);

    fakes.messages.answer = platform::Answer::kOk;
    QTest::mousePress(History()->List1()->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(Lines(), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(Listed(), QStringList({"a", "c"}));
    // Nothing is selected afterwards, so a second press asks nothing.
    QTest::mousePress(History()->List1()->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(fakes.messages.shown.size(), 2u);
}

TEST_F(HistoryWindowTest, AddToBookFollowsTheOpenBook) {
    int added = 0;
    window->hooks().AddToBook = [&] { ++added; };
    QAction* closeBook = Action("MNClose");
    const struct {
        const char* book;
        bool open;
        bool enabled;
    } cases[] = {
        {"/books/games.pgn", true, true},
        {"/books/POS.FEN", true, true},
        {"/books/games.pgn", false, false},
        {"/books/games.epd", true, false},
    };
    for (const auto& c : cases) {
        program.book.BookFile = c.book;
        closeBook->setEnabled(c.open);
        Action("MNPandrel")->trigger();
        EXPECT_EQ(History()->Command7()->isEnabled(), c.enabled) << c.book << c.open;
    }

    program.book.BookFile = "/books/games.pgn";
    closeBook->setEnabled(true);
    Action("MNPandrel")->trigger();
    History()->Command7()->click();
    EXPECT_EQ(added, 1);
    // The book was closed since: the button no longer runs the window.
    closeBook->setEnabled(false);
    History()->Command7()->click();
    EXPECT_EQ(added, 1);
    EXPECT_FALSE(History()->Command7()->isEnabled());

    closeBook->setEnabled(true);
    Action("MNPandrel")->trigger();
    History()->Command2()->click();
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(History()->List1()->count(), 0);
    EXPECT_FALSE(History()->Command7()->isEnabled());
    EXPECT_FALSE(Action("MNUndo")->isEnabled());
}

TEST_F(HistoryWindowTest, CopyCommandsOfTheWindow) {
    fakes.clipboard.text = "old";
    ShowWith({});
    History()->Command1()->click();
    EXPECT_EQ(fakes.clipboard.text, "");
    fakes.clipboard.text = "old";
    History()->Command8()->click();
    EXPECT_EQ(fakes.clipboard.text, "");

    ShowWith({std::string(kStart) + " w - - 0 0", kAfterE4, kAfterE5});
    History()->Command1()->click();
    EXPECT_EQ(fakes.clipboard.text.toStdString(),
              std::string(kStart) + " w - - 0 0\r\n" + kAfterE4 + "\r\n" + kAfterE5 + "\r\n");
    EXPECT_TRUE(History()->List1()->hasFocus());

    SetFen("4k3/8/8/8/8/8/8/4K3");
    const position::Vet before = program.vet;
    History()->Command8()->click();
    EXPECT_EQ(fakes.clipboard.text, "1. e4 e5 ");
    EXPECT_EQ(program.vet.cells, before.cells);  // both planes as they were
    EXPECT_EQ(Fen(), "4k3/8/8/8/8/8/8/4K3");

    ShowWith({std::string(kAfterE4) + " b - - 0 0", kAfterE5});
    History()->Command8()->click();
    EXPECT_EQ(fakes.clipboard.text, "1... e5 ");
}

TEST_F(HistoryWindowTest, HidingKeepsTheListUntilTheProgramCloses) {
    ShowWith({"a", "b"});
    EXPECT_EQ(History()->windowTitle(), "History");
    EXPECT_EQ(History()->Frame1()->title(), "FEN Extra Fields");
    History()->close();
    EXPECT_FALSE(History()->isVisible());
    Action("MNHistory")->trigger();
    EXPECT_TRUE(History()->isVisible());
    EXPECT_EQ(Listed(), QStringList({"a", "b"}));
    QTest::keyClick(History()->List1(), Qt::Key_Escape);
    EXPECT_FALSE(History()->isVisible());
    Action("MNHistory")->trigger();
    History()->Command3()->click();
    EXPECT_FALSE(History()->isVisible());

    Action("MNHistory")->trigger();
    QPointer<HistoryWindow> history = History();
    window->close();
    EXPECT_TRUE(history == nullptr || !history->isVisible());
}

}  // namespace
