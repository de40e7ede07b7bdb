#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "book_fixture.h"
#include "books/ui/add_to_book_window.h"
#include "editing/ui/history_window.h"
#include "settings/settings_file.h"

using namespace books::ui::testing;
using books::ui::AddToBookWindow;

namespace {

const std::string kE4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR";
const std::string kE5 = "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR";
const std::vector<std::string> kHistory = {std::string(kStart) + " w - - 0 0", kE4 + " b - - 0 0",
                                           kE5 + " w - - 0 0"};

// A book, what Ok with Event and Result typed appends to it, and the
// caption of the new game.
struct OkCase {
    const char* name;
    QByteArray bytes;
    QByteArray appended;
    QString caption;  // of the new game
};

class AddToBookTest : public BookWindowTest {
  protected:
    // Opens the book and fills the History list with kHistory.
    void OpenWithHistory(const QString& name, const QByteArray& bytes) {
        WriteFile(name, bytes);
        Start();
        Open(name);
        program.editing.History = kHistory;
        Action("MNHistory")->trigger();
        history = qobject_cast<editing::ui::HistoryWindow*>(
            window->SecondaryWindow(diagram::ui::Secondary::kHistory));
        ASSERT_NE(history, nullptr);
        history->Reload();
        history->UpdateAddToBook();
        ASSERT_TRUE(history->Command7()->isEnabled());
    }

    // Clicks "A&dd to Book"; body acts on the window while it is up. A window
    // left open is closed so that the test goes on.
    void AddToBook(const std::function<void(AddToBookWindow&)>& body) {
        bool ran = false;
        QTimer::singleShot(0, window.get(), [&] {
            auto* w =
                qobject_cast<AddToBookWindow*>(window->SecondaryWindow(diagram::ui::Secondary::kAddToBook));
            ASSERT_NE(w, nullptr);
            ran = true;
            EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
            body(*w);
            if (w->isVisible()) {
                w->hide();
            }
        });
        QTest::mouseClick(history->Command7(), Qt::LeftButton);
        EXPECT_TRUE(ran);
    }

    QByteArray Book(const QString& name) const {
        QFile file(InDir(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Ok with Event and Result typed, then the new game on show.
    void RunOk(const OkCase& c);

    editing::ui::HistoryWindow* history = nullptr;
};

void AddToBookTest::RunOk(const OkCase& c) {
    OpenWithHistory(c.name, c.bytes);
    AddToBook([&](AddToBookWindow& w) {
        EXPECT_EQ(w.windowTitle().toStdString(),
                  "Add to " + settings::CutName(InDir(c.name).toStdString(), 30));
        QTest::keyClicks(w.Text1(0), "Club");
        QTest::keyClicks(w.Text1(6), "1-0");
        QTest::keyClick(w.Text1(6), Qt::Key_Return);
        EXPECT_FALSE(w.isVisible());
    });
    EXPECT_EQ(Book(c.name), c.bytes + c.appended);
    EXPECT_TRUE(fakes.messages.shown.empty());

    // The new game is on show, from its first position.
    EXPECT_EQ(Caption(), c.caption);
    EXPECT_EQ(Panel()->HScroll1()->maximum(), program.book.NGames);
    EXPECT_EQ(Listed(), (QStringList{"[Event \"Club\"]", "[Result \"1-0\"]"}));
    EXPECT_EQ(Fen(), kStart);
    Click(3);
    EXPECT_EQ(Fen().toStdString(), kE5);
}

TEST_F(AddToBookTest, OkAppendsMovesToAPgnBookAndShowsTheGame) {
    RunOk({"games.pgn", "[Event \"Old\"]\r\n\r\n1. d4 *\r\n",
           "\r\n[Event \"Club\"]\r\n[Result \"1-0\"]\r\n\r\n1.e4 e5  1-0\r\n", "Game 2. (2 of 2)"});
}

TEST_F(AddToBookTest, OkAppendsPositionsToAFenBookWithoutGames) {
    RunOk({"empty.FEN", "",
           "\r\n[Event \"Club\"]\r\n[Result \"1-0\"]\r\n\r\n" + QByteArray(kStart) + " w - - 0 0\r\n" +
               QByteArray::fromStdString(kE4) + " b - - 0 0\r\n" + QByteArray::fromStdString(kE5) +
               " w - - 0 0\r\n",
           "Game 1. (1 of 1)"});
}

TEST_F(AddToBookTest, BookThatCannotBeWrittenGivesAWarningAndStaysAsItWas) {
    const QByteArray bytes = "[Event \"Old\"]\n\n1. d4 *\n";
    OpenWithHistory("gone.pgn", bytes);
    const QString caption = Caption();
    ASSERT_TRUE(QFile::remove(InDir("gone.pgn")));
    AddToBook([&](AddToBookWindow& w) {
        QTest::keyClicks(w.Text1(0), "Club");
        QTest::mouseClick(w.Command1(), Qt::LeftButton);
        ASSERT_EQ(fakes.messages.shown.size(), 1u);
        EXPECT_TRUE(fakes.messages.shown[0].text.startsWith("The game was not added to " + InDir("gone.pgn")))
            << fakes.messages.shown[0].text.toStdString();
        // Still up, with the tag typed, for another try.
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(w.Text1(0)->text(), "Club");
        QTest::mouseClick(w.Command2(), Qt::LeftButton);
        EXPECT_FALSE(w.isVisible());
    });
    EXPECT_FALSE(QFile::exists(InDir("gone.pgn")));
    EXPECT_EQ(program.book.NGames, 1);
    EXPECT_EQ(Caption(), caption);
}

TEST_F(AddToBookTest, BoxesFocusClearEscapeAndClose) {
    OpenWithHistory("games.pgn", "[Event \"Old\"]\n\n1. d4 *\n");
    AddToBook([&](AddToBookWindow& w) {
        // A box with the focus has its whole text selected and its label framed.
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        w.Text1(3)->setText("Tal");
        QTest::mouseClick(w.Text1(3), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return w.Text1(3)->selectedText() == "Tal"; }));
        EXPECT_EQ(w.Text1(3)->selectedText(), "Tal");
        EXPECT_EQ(w.Label1(3)->frameShape(), QFrame::Box);
        QTest::mouseClick(w.Text1(5), Qt::LeftButton);
        EXPECT_EQ(w.Label1(3)->frameShape(), QFrame::NoFrame);

        // Clear All empties every box and goes to the first.
        w.Text1(7)->setText("Alpha");
        QTest::mouseClick(w.Command3(), Qt::LeftButton);
        EXPECT_TRUE(w.Text1(3)->text().isEmpty());
        EXPECT_TRUE(w.Text1(7)->text().isEmpty());
        EXPECT_TRUE(w.Text1(0)->hasFocus());

        // The close box hides while the program runs; the texts stay.
        QTest::keyClicks(w.Text1(2), "Kept");
        w.close();
        EXPECT_FALSE(w.isVisible());
    });
    AddToBook([&](AddToBookWindow& w) {
        EXPECT_EQ(w.Text1(2)->text(), "Kept");
        QTest::keyClick(w.Text1(2), Qt::Key_Escape);
        EXPECT_FALSE(w.isVisible());
    });
    // Nothing was added.
    EXPECT_EQ(program.book.NGames, 1);
    EXPECT_EQ(Book("games.pgn"), "[Event \"Old\"]\n\n1. d4 *\n");
}

}  // namespace
