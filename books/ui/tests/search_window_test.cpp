#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "book_fixture.h"
#include "books/ui/search_window.h"

using namespace books::ui::testing;
using books::ui::SearchWindow;

namespace {

const QByteArray kBook =
    "[Event \"Paris\"]\n[White \"Paul Morphy\"]\n\n1. e4 e5 *\n\n"
    "[Event \"London 2000\"]\n[White \"Kramnik\"]\n\n1. d4 *\n\n"
    "[Event \"Ending\"]\n[FEN \"4k3/8/8/8/8/8/8/4K3 w - - 0 1\"]\n\n1. Kd2 *\n";

class SearchTest : public BookWindowTest {
  protected:
    void SetUp() override {
        BookWindowTest::SetUp();
        WriteFile("three.pgn", kBook);
        Start();
        Open("three.pgn");
    }

    // Runs the criteria command; body acts on the window while it is up and
    // must close it. A window left open is closed so that the test goes on.
    void Criteria(const std::function<void(SearchWindow&)>& body) {
        bool ran = false;
        QTimer::singleShot(0, window.get(), [&] {
            SearchWindow& w = *commands->Search();
            ran = true;
            // Painting needs the window on screen.
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
            body(w);
            if (w.isVisible()) {
                ADD_FAILURE() << "the window stayed open";
                w.hide();
            }
        });
        Action("MNCriteria")->trigger();
        EXPECT_TRUE(ran);
    }
    // Types the texts into the boxes (the others emptied) and presses Enter
    // in the last one typed into.
    static void Search(SearchWindow& w, const std::vector<std::pair<int, QString>>& boxes) {
        QTest::mouseClick(w.Command3(), Qt::LeftButton);
        QLineEdit* last = w.Text1(0);
        for (const auto& [index, text] : boxes) {
            last = w.Text1(index);
            QTest::keyClicks(last, text);
        }
        QTest::keyClick(last, Qt::Key_Return);
    }
};

TEST_F(SearchTest, WindowHasItsBoxesFramesAndHints) {
    Criteria([](SearchWindow& w) {
        EXPECT_EQ(w.windowTitle(), "Search Criteria");
        const char* const captions[] = {"Words", "White", "Black", "Global", "Notations"};
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(w.Label3(i)->text(), captions[i]);
            EXPECT_TRUE(w.Text1(i)->isVisible());
        }
        EXPECT_EQ(w.Frame(0)->title(), "Any Identification");
        EXPECT_EQ(w.Frame(1)->title(), "Mens");
        EXPECT_EQ(w.Frame(2)->title(), "Pieces and Positions");
        QStringList texts;
        for (const QLabel* label : w.findChildren<QLabel*>()) {
            texts << label->text();
        }
        for (const char* hint :
             {"Enter words separated by commas or plus signs. For example: Paul, 2000",
              "Enter numbers and/or ranges separated by commas. For example: 1-6, 9",
              "Enter algebraic notations separated by commas or plus signs. For example: Ke1+ke8"}) {
            EXPECT_TRUE(texts.contains(hint)) << hint;
        }

        // A box with the focus has its whole text selected and its caption framed.
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        w.Text1(2)->setText("16");
        QTest::mouseClick(w.Text1(2), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return w.Text1(2)->selectedText() == "16"; }));
        EXPECT_EQ(w.Text1(2)->selectedText(), "16");
        EXPECT_EQ(w.Label3(2)->frameShape(), QFrame::Box);
        QTest::mouseClick(w.Text1(0), Qt::LeftButton);
        EXPECT_EQ(w.Label3(2)->frameShape(), QFrame::NoFrame);

        // Escape in a box closes the window and keeps the texts.
        QTest::keyClick(w.Text1(0), Qt::Key_Escape);
        EXPECT_FALSE(w.isVisible());
    });
    EXPECT_EQ(commands->Search()->Text1(2)->text(), "16");
    EXPECT_EQ(program.book.NGames, 3);
    EXPECT_FALSE(Action("MNCriteria")->isChecked());
}

TEST_F(SearchTest, FoundGamesNarrowTheBookAndNoCriteriaBringItBack) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, QString>> boxes;
        QStringList captions;  // the game label for each game of the list
    };
    const Case cases[] = {
        {"words, OR", {{0, "paul, 2000"}}, {"Game 1. (1 of 2)", "Game 2. (2 of 2)"}},
        {"quoted words", {{0, "\"Paul Morphy\""}}, {"Game 1. (1 of 1)"}},
        {"words, AND", {{0, "london+kramnik"}}, {"Game 2. (1 of 1)"}},
        {"men", {{1, "1"}, {2, "1-2"}}, {"Game 3. (1 of 1)"}},
        {"pieces", {{4, "Ke1+ke8"}, {3, "30-32"}}, {"Game 1. (1 of 2)", "Game 2. (2 of 2)"}},
    };
    for (const Case& c : cases) {
        Criteria([&](SearchWindow& w) { Search(w, c.boxes); });
        EXPECT_EQ(program.book.NGames, c.captions.size()) << c.what;
        EXPECT_EQ(Panel()->HScroll1()->maximum(), c.captions.size()) << c.what;
        EXPECT_EQ(LabelColor(), QColor(255, 0, 0)) << c.what;
        EXPECT_TRUE(Action("MNCriteria")->isChecked()) << c.what;
        EXPECT_EQ(window->focusWidget(), window->Text1()) << c.what;
        for (int i = 0; i < c.captions.size(); ++i) {
            ShowGame(i + 1);
            EXPECT_EQ(Caption(), c.captions[i]) << c.what;
        }
    }
    ShowGame(1);
    EXPECT_EQ(Fen(), kStart);

    // Nothing found: a message, the window stays, the list stays.
    Criteria([&](SearchWindow& w) {
        Search(w, {{0, "zzz"}});
        ASSERT_EQ(fakes.messages.shown.size(), 1u);
        EXPECT_EQ(fakes.messages.shown[0].text, "Game not found!");
        EXPECT_EQ(fakes.messages.shown[0].icon, platform::Icon::kExclamation);
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(w.Label4()->text(), " ");
        // Cl&ear All, then O&k with empty boxes: the whole book again.
        QTest::mouseClick(w.Command3(), Qt::LeftButton);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(w.Text1(i)->text(), "") << i;
        }
        QTest::mouseClick(w.Command1(), Qt::LeftButton);
    });
    EXPECT_EQ(program.book.NGames, 3);
    EXPECT_EQ(Caption(), "Game 1. (1 of 3)");
    EXPECT_EQ(LabelColor(), QColor(Qt::black));
    EXPECT_FALSE(Action("MNCriteria")->isChecked());
}

TEST_F(SearchTest, ProgressLabelCountsDuringTheSearch) {
    QByteArray book;
    for (int g = 1; g <= 250; ++g) {
        book += "[Event \"G" + QByteArray::number(g) + "\"]\n8/8/8/8/8/8/8/K6k w\n";
    }
    WriteFile("many.fen", book);
    Open("many.fen");
    QStringList painted;
    Criteria([&](SearchWindow& w) {
        QTest::mouseClick(w.Command3(), Qt::LeftButton);
        w.Text1(0)->setText("G2");
        // Every repaint of the label shows the count at that moment.
        struct Recorder : QObject {
            QStringList* out;
            QLabel* label;
            bool eventFilter(QObject*, QEvent* e) override {
                if (e->type() == QEvent::Paint) {
                    *out << label->text();
                }
                return false;
            }
        } recorder;
        recorder.out = &painted;
        recorder.label = w.Label4();
        w.Label4()->installEventFilter(&recorder);
        QTest::mouseClick(w.Command1(), Qt::LeftButton);
        w.Label4()->removeEventFilter(&recorder);
    });
    EXPECT_TRUE(painted.contains("0 found. Searching 0 of 250")) << painted.join('|').toStdString();
    EXPECT_TRUE(painted.contains("12 found. Searching 200 of 250")) << painted.join('|').toStdString();
    // G2, G20..G29, G200..G250: 1 + 10 + 51.
    EXPECT_EQ(program.book.NGames, 62);
}

}  // namespace
