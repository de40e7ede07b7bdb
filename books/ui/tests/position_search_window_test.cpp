// The Position part of the Search Criteria window: the board's position
// found in every position of the book, each match shown in its game, the
// search stopped by Escape, and the anticipations in another book.

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <functional>

#include "book_fixture.h"
#include "books/ui/search_window.h"

using namespace books::ui::testing;
using books::ui::SearchWindow;

namespace {

const QByteArray kBook =
    "[Event \"1\"]\n\n1. e4 e5 *\n\n"
    "[Event \"2\"]\n\n1. d4 *\n\n"
    "[Event \"3\"]\n[FEN \"4k3/8/8/8/8/8/8/4K3 w - - 0 1\"]\n\n1. Kd2 *\n\n"
    "[Event \"4\"]\n\n1. e4 c5 2. Nf3 *\n";
const QString kAfterE4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR";

class PositionSearchTest : public BookWindowTest {
  protected:
    void SetUp() override {
        BookWindowTest::SetUp();
        WriteFile("four.pgn", kBook);
        Start();
        Open("four.pgn");
    }

    // Runs the criteria command with body acting on the window; a window
    // left open is closed so that the test goes on.
    void Criteria(const std::function<void(SearchWindow&)>& body, bool mayStayOpen = false) {
        bool ran = false;
        QTimer::singleShot(0, window.get(), [&] {
            SearchWindow& w = *commands->Search();
            ran = true;
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
            body(w);
            if (w.isVisible()) {
                if (!mayStayOpen) {
                    ADD_FAILURE() << "the window stayed open";
                }
                QTest::mouseClick(w.Command2(), Qt::LeftButton);
            }
        });
        Action("MNCriteria")->trigger();
        EXPECT_TRUE(ran);
    }
    static void Options(SearchWindow& w, std::initializer_list<int> on) {
        for (int i = 0; i < 5; ++i) {
            w.Check1(i)->setChecked(std::find(on.begin(), on.end(), i) != on.end());
        }
    }
};

TEST_F(PositionSearchTest, TheBoardsPositionIsFoundAndEachMatchShown) {
    window->Text1()->setText(kAfterE4);
    Criteria([&](SearchWindow& w) {
        QTest::mouseClick(w.Command4(), Qt::LeftButton);
        EXPECT_EQ(w.Text2()->text(), kAfterE4);
        QTest::keyClick(w.Text2(), Qt::Key_Return);
    });
    ASSERT_EQ(program.book.NGames, 2);
    EXPECT_EQ(LabelColor(), QColor(255, 0, 0));
    EXPECT_TRUE(Action("MNCriteria")->isChecked());
    const char* captions[] = {"Game 1. (1 of 2)", "Game 4. (2 of 2)"};
    for (int i = 0; i < 2; ++i) {
        ShowGame(i + 1);
        EXPECT_EQ(Caption(), captions[i]);
        EXPECT_EQ(Fen(), kAfterE4);  // the matching position, not the game's first
        EXPECT_EQ(Side(), "Black moves...");
    }
    Click(2);  // and the steps go on from there
    EXPECT_EQ(Fen(), "rnbqkbnr/pp1ppppp/8/2p5/4P3/8/PPPP1PPP/RNBQKBNR");
}

TEST_F(PositionSearchTest, OptionsMatterAndBadPositionsAreSaid) {
    struct Case {
        const char* what;
        QString text;
        std::initializer_list<int> options;
        int games;            // matches, 0 when a message is expected
        const char* message;  // the message then
    };
    const Case cases[] = {
        {"mirrored, plain", "rnbkqbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBKQBNR", {}, 0, "Game not found!"},
        {"mirrored, with Mirror", "rnbkqbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBKQBNR", {1}, 2, nullptr},
        {"two kings, partial, first positions", "4k3/8/8/8/8/8/8/4K3", {0, 4}, 4, nullptr},
        {"a king shifted", "8/8/8/8/8/8/8/K7", {2}, 0, "Game not found!"},
        {"a king shifted, partial", "8/8/8/8/8/8/8/K7", {0, 2, 4}, 4, nullptr},
        {"no men", "8/8/8/8/8/8/8/8", {}, 0, "The position has no men."},
    };
    for (const Case& c : cases) {
        fakes.messages.shown.clear();
        Criteria(
            [&](SearchWindow& w) {
                Options(w, c.options);
                w.Text2()->setText(c.text);
                QTest::mouseClick(w.Command1(), Qt::LeftButton);
            },
            c.games == 0);
        if (c.games == 0) {
            ASSERT_EQ(fakes.messages.shown.size(), 1u) << c.what;
            EXPECT_EQ(fakes.messages.shown[0].text, c.message) << c.what;
        } else {
            EXPECT_EQ(program.book.NGames, c.games) << c.what;
        }
    }
}

TEST_F(PositionSearchTest, EscapeStopsTheSearchAndKeepsWhatWasFound) {
    Criteria([&](SearchWindow& w) {
        Options(w, {0});
        w.Text2()->setText("4k3");  // in every position
        // Escape arrives while the search lets events in at its first match.
        QTimer::singleShot(0, &w, [&] {
            EXPECT_TRUE(w.Searching());
            QTest::keyClick(w.Text2(), Qt::Key_Escape);
            EXPECT_TRUE(w.isVisible());
        });
        QTest::mouseClick(w.Command1(), Qt::LeftButton);
        EXPECT_FALSE(w.Searching());
    });
    EXPECT_EQ(program.book.NGames, 1);
    EXPECT_EQ(Fen(), kStart);
}

// A book of many problems, all with the two kings where a partial search
// for them finds every one.
QByteArray ManyProblems(int count) {
    QByteArray text;
    for (int i = 1; i <= count; ++i) {
        text += "[Event \"" + QByteArray::number(i) + "\"]\n" +
                (i % 2 != 0 ? "4k3/8/8/8/8/8/8/4K3\n" : "4k3/8/8/8/8/8/8/R3K3\n");
    }
    return text;
}

TEST_F(PositionSearchTest, MatchesStreamIntoTheListAndEscapeStopsThem) {
    constexpr int kProblems = 100000;
    WriteFile("many.fen", ManyProblems(kProblems));
    Open("many.fen");
    ASSERT_EQ(program.book.NGames, kProblems);
    Criteria([&](SearchWindow& w) {
        Options(w, {0});
        w.Text2()->setText("4k3/8/8/8/8/8/8/4K3");
        QAbstractItemModel* list = w.List3()->model();
        // Rows come in while the search runs; once a second batch has
        // come, Escape stops it.
        int batchesWhileSearching = 0;
        QObject::connect(list, &QAbstractItemModel::rowsInserted, &w, [&] {
            if (w.Searching() && ++batchesWhileSearching == 2) {
                EXPECT_TRUE(w.List3()->isVisible());
                QTest::keyClick(w.Text2(), Qt::Key_Escape);
            }
        });
        QTest::mouseClick(w.Command1(), Qt::LeftButton);
        EXPECT_FALSE(w.Searching());
        EXPECT_EQ(batchesWhileSearching, 2);
        EXPECT_GT(list->rowCount(), 0);
        EXPECT_LT(list->rowCount(), kProblems);  // stopped before the end
        EXPECT_EQ(list->index(0, 0).data().toString(), "Game 1, position 1: exact");
        EXPECT_EQ(program.book.GameIndex.size(), static_cast<size_t>(list->rowCount()));
    });
}

TEST_F(PositionSearchTest, AGreatManyMatchesAllReachTheList) {
    constexpr int kProblems = 100000;
    WriteFile("many.fen", ManyProblems(kProblems));
    Open("many.fen");
    Criteria([&](SearchWindow& w) {
        Options(w, {0});
        w.Text2()->setText("4k3/8/8/8/8/8/8/4K3");
        QSignalSpy batches(w.List3()->model(), &QAbstractItemModel::rowsInserted);
        QTest::mouseClick(w.Command1(), Qt::LeftButton);
        EXPECT_GT(batches.count(), 2);  // in batches, not all at the end
        EXPECT_EQ(w.List3()->model()->rowCount(), kProblems);
    });
    EXPECT_EQ(program.book.NGames, kProblems);
    EXPECT_EQ(Caption(), QString("Game 1. (1 of %1)").arg(kProblems));
}

TEST_F(PositionSearchTest, AnticipationsInAnotherBook) {
    WriteFile("other.fen",
              "8/8/8/8/8/8/8/K7\n[Event \"2\"]\n4k3/8/8/8/8/8/8/4K3\n[Event \"3\"]\n4k3/8/8/8/8/8/8/R3K3\n");
    struct Case {
        bool partial;
        QStringList lines;
    };
    for (const Case& c : {Case{false, {"3: 2"}}, Case{true, {"3: 2 3"}}}) {
        Criteria(
            [&](SearchWindow& w) {
                Options(w, c.partial ? std::initializer_list<int>{0} : std::initializer_list<int>{});
                w.FindAnticipationsIn(InDir("other.fen").toStdString());
                QStringList lines;
                for (int i = 0; i < w.List2()->count(); ++i) {
                    lines << w.List2()->item(i)->text();
                }
                EXPECT_EQ(lines, c.lines);
            },
            true);
        EXPECT_EQ(program.book.NGames, 1);
        EXPECT_EQ(Caption(), "Game 3. (1 of 1)");
    }
}

}  // namespace
