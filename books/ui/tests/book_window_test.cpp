#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include "book_fixture.h"
#include "diagram/ui/style_list.h"
#include "diagram/ui/win_seek.h"
#include "editing/ui/history_window.h"
#include "settings/settings_file.h"
#include "tests/support/file_size_limit.h"

using namespace books::ui::testing;

namespace {

const char* const kAfterE4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR";
const char* const kAfterE5 = "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR";
const char* const kAfterNf3 = "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R";

// A tag line of exactly 80 characters.
const QByteArray kLongTag = "[Annotator \"" + QByteArray(66, 'x') + "\"]";

const QByteArray kPgn = "[Event \"Nav\"]\n[Site \"Somewhere\"]\n" + kLongTag +
                        "\n\n1. e4 e5 2. Nf3 *\n\n"
                        "[Event \"Second\"]\n\n1. d4 *\n";

// Records every text the label shows while it is painted.
class PaintRecorder : public QObject {
  public:
    explicit PaintRecorder(QLabel* label) : m_label(label) { label->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_label && event->type() == QEvent::Paint) {
            painted << m_label->text();
        }
        return false;
    }
    QStringList painted;

  private:
    QLabel* m_label;
};

TEST_F(BookWindowTest, OpenBookStepsThroughTheGameByButtonsAndKeys) {
    ASSERT_EQ(kLongTag.size(), 80);
    WriteFile("games.pgn", kPgn);
    Start();
    EXPECT_FALSE(Panel()->isVisible());
    EXPECT_FALSE(Action("MNCriteria")->isEnabled());
    EXPECT_FALSE(Action("MNClose")->isEnabled());

    diagram::ui::WinSeek& seek = diagram::ui::WinSeek::Of(window->host());
    ASSERT_TRUE(seek.setFolder(dir.path()));
    QTimer::singleShot(0, &seek, [&seek] {
        seek.Text2()->setText(QStringLiteral("games.pgn"));
        seek.OkCmd()->click();
    });
    Action("MNLoad")->trigger();

    const std::string path = InDir("games.pgn").toStdString();
    EXPECT_EQ(program.book.BookFile, path);
    EXPECT_TRUE(program.book.IsOpen());
    EXPECT_TRUE(Panel()->isVisible());
    EXPECT_TRUE(Action("MNCriteria")->isEnabled());
    EXPECT_TRUE(Action("MNClose")->isEnabled());
    EXPECT_FALSE(Action("MNCriteria")->isChecked());
    EXPECT_EQ(program.settings.RecentFiles[0], path);
    EXPECT_EQ(commands->Caption()->text().toStdString(), settings::CutName(path, 15));
    EXPECT_EQ(Caption(), "Game 1. (1 of 2)");
    EXPECT_EQ(LabelColor(), QColor(Qt::black));
    EXPECT_EQ(Listed(), (QStringList{"[Event \"Nav\"]", "[Site \"Somewhere\"]", kLongTag.left(33),
                                     " " + kLongTag.mid(33, 32), " " + kLongTag.mid(65)}));
    EXPECT_EQ(Fen(), kStart);
    EXPECT_EQ(Side(), "Move Control:");
    EXPECT_TRUE(Panel()->Picture1()->isVisible());

    struct Step {
        const char* what;
        int button;   // a step button, or -1 for a key
        Qt::Key key;  // key on the focus area
        Qt::KeyboardModifiers mods;
        const char* fen;
        const char* side;
    };
    const Step steps[] = {
        {"next", 2, {}, {}, kAfterE4, "Black moves..."},
        {"last", 3, {}, {}, kAfterNf3, "Black moves..."},
        {"next at the end", 2, {}, {}, kAfterNf3, "Black moves..."},
        {"previous", 1, {}, {}, kAfterE5, "White moves..."},
        {"first", 0, {}, {}, kStart, "Move Control:"},
        {"previous at the start", 1, {}, {}, kStart, "Move Control:"},
        {"Right", -1, Qt::Key_Right, {}, kAfterE4, "Black moves..."},
        {"Ctrl+Right", -1, Qt::Key_Right, Qt::ControlModifier, kAfterNf3, "Black moves..."},
        {"Left", -1, Qt::Key_Left, {}, kAfterE5, "White moves..."},
        {"Shift+Left does nothing", -1, Qt::Key_Left, Qt::ShiftModifier, kAfterE5, "White moves..."},
        {"Ctrl+Left", -1, Qt::Key_Left, Qt::ControlModifier, kStart, "Move Control:"},
    };
    for (const Step& s : steps) {
        if (s.button >= 0) {
            Click(s.button);
        } else {
            QTest::keyClick(Panel()->Picture1(), s.key, s.mods);
        }
        EXPECT_EQ(Fen(), s.fen) << s.what;
        EXPECT_EQ(Side(), s.side) << s.what;
        EXPECT_EQ(position::VetToFEN(program.vet, program.Shape()), s.fen) << s.what;
        EXPECT_EQ(window->Text1()->cursorPosition(), Fen().size()) << s.what;
    }
    // The first-position button lists the tags afresh rather than adding them.
    EXPECT_EQ(Listed().size(), 5);

    ShowGame(2);
    EXPECT_EQ(Caption(), "Game 2. (2 of 2)");
    EXPECT_EQ(Listed(), QStringList{"[Event \"Second\"]"});
}

TEST_F(BookWindowTest, StepButtonsPressLookAndPanelKeys) {
    WriteFile("games.pgn", kPgn);
    Start();
    Open("games.pgn");
    books::ui::StepButton* next = commands->Image2(2);

    // A press shows the pressed picture and takes the focus to the buttons'
    // area; leaving the button shows the up picture and the release runs nothing.
    QTest::mousePress(next, Qt::LeftButton);
    EXPECT_TRUE(next->isDown());
    EXPECT_TRUE(Panel()->Picture1()->hasFocus());
    EXPECT_EQ(Panel()->Label5()->frameShape(), QFrame::Box);
    QTest::mouseMove(next, QPoint(60, 60));
    EXPECT_FALSE(next->isDown());
    QTest::mouseRelease(next, Qt::LeftButton, {}, QPoint(60, 60));
    EXPECT_EQ(Fen(), kStart);
    EXPECT_NE(next->Picture(true).toImage(), next->Picture(false).toImage());

    // A double click acts as two clicks: its second press is one more step.
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(Fen(), kAfterE4);
    QTest::mouseDClick(next, Qt::LeftButton);
    QTest::mouseRelease(next, Qt::LeftButton);
    EXPECT_EQ(Fen(), kAfterE5);

    // The tag list selects its first line while it has the focus; the scroll
    // bar frames the game label while it has it.
    Panel()->List1()->setFocus();
    ASSERT_EQ(Panel()->List1()->selectedItems().size(), 1);
    EXPECT_EQ(Panel()->List1()->row(Panel()->List1()->selectedItems()[0]), 0);
    Panel()->HScroll1()->setFocus();
    EXPECT_TRUE(Panel()->List1()->selectedItems().isEmpty());
    EXPECT_EQ(Panel()->Label1()->frameShape(), QFrame::Box);
    window->Text1()->setFocus();
    EXPECT_EQ(Panel()->Label1()->frameShape(), QFrame::NoFrame);

    // Enter in the list or on the scroll bar refreshes the text from the board.
    for (QWidget* w : {static_cast<QWidget*>(Panel()->List1()), static_cast<QWidget*>(Panel()->HScroll1())}) {
        program.vet(position::kPosition, 0) = 0;
        QTest::keyClick(w, Qt::Key_Return);
        EXPECT_EQ(Fen(), "1nbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR") << w->objectName().toStdString();
        window->Text1()->setText(kAfterE5);
    }
    EXPECT_EQ(Panel()->HScroll1()->value(), 1);
}

TEST_F(BookWindowTest, ScrollBarReachesEveryGameAndStepsShowOnlyForSeveralPositions) {
    // 40000 games: far beyond a 16-bit scroll bar and beyond a six-character
    // index text of 64000 characters. Odd games have two positions.
    QByteArray book;
    for (int g = 1; g <= 40000; ++g) {
        book += "[Event \"G" + QByteArray::number(g) + "\"]\n";
        book += "8/8/8/8/8/8/8/K6k w\n";
        if (g % 2 == 1) {
            book += "8/8/8/8/8/8/8/1K5k b\n";
        }
    }
    WriteFile("many.fen", book);
    Start({InDir("many.fen")});
    EXPECT_EQ(program.book.NGames, 40000);
    QScrollBar* bar = Panel()->HScroll1();
    EXPECT_EQ(bar->minimum(), 1);
    EXPECT_EQ(bar->maximum(), 40000);
    EXPECT_EQ(bar->pageStep(), 4001);
    EXPECT_EQ(Caption(), "Game 1. (1 of 40000)");
    EXPECT_TRUE(Panel()->Picture1()->isVisible());

    struct Case {
        int game;
        bool steps;
    };
    for (const Case c : {Case{7, true}, Case{12000, false}, Case{39999, true}, Case{40000, false}}) {
        ShowGame(c.game);
        const QString n = QString::number(c.game);
        EXPECT_EQ(Caption(), "Game " + n + ". (" + n + " of 40000)");
        EXPECT_EQ(Listed(), QStringList{"[Event \"G" + n + "\"]"});
        EXPECT_EQ(Fen(), "8/8/8/8/8/8/8/K6k");
        EXPECT_EQ(Side(), "White moves...");
        EXPECT_EQ(Panel()->Picture1()->isVisible(), c.steps) << c.game;
    }
    // The page keys of the bar move a tenth of the book.
    ShowGame(1);
    QTest::keyClick(bar, Qt::Key_PageDown);
    EXPECT_EQ(Caption(), "Game 4002. (4002 of 40000)");
}

TEST_F(BookWindowTest, StyleTagSwitchesTheStyleUnlessItNamesTheStyleInForce) {
    WriteFile("Pandrel.ini",
              "RecentStyle = Alpha\r\n"
              "BeginStyle = Zeta\r\n  SqrWidth = 20\r\n  SqrHeight = 20\r\n  BorderHeight = 6\r\n"
              "  BorderWidth = 4\r\nEndStyle\r\n"
              "BeginStyle = Alpha\r\n  SqrWidth = 10\r\n  SqrHeight = 10\r\nEndStyle\r\n");
    WriteFile("styles.fen",
              "[Event \"Plain\"]\n[Style \"ALPHA\"]\nk7/8/8/8/8/8/8/K7 w\n"
              "[Event \"Small\"]\n[Style \"Zeta\"]\nk3/4/4/4/4/K3 b\n");
    Start();
    ASSERT_EQ(program.style.CurrentStyle, "Alpha");
    // Marks the record in memory: reading the style again would undo it.
    program.style.SQRWIDTH = 33;
    Open("styles.fen");
    EXPECT_EQ(program.style.SQRWIDTH, 33);
    EXPECT_EQ(Listed(), QStringList{"[Event \"Plain\"]"});
    EXPECT_EQ(Fen(), "k7/8/8/8/8/8/8/K7");

    ShowGame(2);
    EXPECT_EQ(program.style.CurrentStyle, "Zeta");
    EXPECT_EQ(program.style.BORDERHEIGHT, 6);
    EXPECT_EQ(program.style.BORDERWIDTH, 4);
    EXPECT_EQ(window->Combo1()->currentText(), "Zeta");
    EXPECT_EQ(Listed(), QStringList{"[Event \"Small\"]"});
    EXPECT_EQ(Fen(), "k3/4/4/4/4/K3");
    EXPECT_EQ(position::VetToFEN(program.vet, program.Shape()), "k3/4/4/4/4/K3");
    EXPECT_EQ(Side(), "Black moves...");
    EXPECT_EQ(Caption(), "Game 2. (2 of 2)");

    ShowGame(1);
    EXPECT_EQ(program.style.CurrentStyle, "Alpha");
    EXPECT_EQ(program.style.BORDERHEIGHT, 8);
}

TEST_F(BookWindowTest, PositionOfALargeBoardIsShownWholeAfterItsStyleTag) {
    // Opened in a style of 8 x 8: the game's Style tag brings the board of
    // 20 x 20 that its positions need.
    WriteFile("Pandrel.ini",
              "RecentStyle = Alpha\r\n"
              "BeginStyle = Big\r\n  SqrWidth = 10\r\n  SqrHeight = 10\r\n  BorderHeight = 20\r\n"
              "  BorderWidth = 20\r\nEndStyle\r\n"
              "BeginStyle = Alpha\r\n  SqrWidth = 10\r\n  SqrHeight = 10\r\nEndStyle\r\n");
    const QString men = QStringLiteral("pPnNbBrRqQkK");
    QStringList ranks;
    for (int r = 0; r < 20; ++r) {
        QString rank;
        for (int c = 0; c < 20; ++c) {
            rank += men[(r + c) % men.size()];
        }
        ranks << rank;
    }
    const QString full = ranks.join(QLatin1Char('/'));
    const QString emptied = QStringLiteral("1") + full.mid(1);
    WriteFile("big.fen", ("[Event \"Big\"]\n[Style \"Big\"]\n" + full + " w\n" + emptied + " b\n").toUtf8());
    Start();
    Open(QStringLiteral("big.fen"));
    EXPECT_EQ(program.style.CurrentStyle, "Big");
    EXPECT_EQ(Fen(), full);
    EXPECT_EQ(Side(), "White moves...");
    Click(2);
    EXPECT_EQ(Fen(), emptied);
    EXPECT_EQ(position::VetToFEN(program.vet, program.Shape()), emptied.toStdString());
    EXPECT_EQ(Side(), "Black moves...");
    Click(2);
    EXPECT_EQ(Fen(), emptied);
    Click(1);
    EXPECT_EQ(Fen(), full);
}

TEST_F(BookWindowTest, CloseBookHidesThePanelAndTheRecentFileOpensItAgain) {
    WriteFile("games.pgn", kPgn);
    WriteFile("probs.epd", "8/8/8/8/8/8/8/K6k w - - bm Kb2; id \"one\";\n");
    Start();
    // Record mode puts a line in the History window.
    Action("MNRec")->trigger();
    auto* history =
        qobject_cast<editing::ui::HistoryWindow*>(window->SecondaryWindow(diagram::ui::Secondary::kHistory));
    ASSERT_NE(history, nullptr);
    EXPECT_FALSE(history->Command7()->isEnabled());

    Open("games.pgn");
    EXPECT_TRUE(history->Command7()->isEnabled());
    EXPECT_GE(window->height() * 15, 5580);

    Action("MNClose")->trigger();
    EXPECT_FALSE(program.book.IsOpen());
    EXPECT_FALSE(Panel()->isVisible());
    EXPECT_FALSE(Action("MNCriteria")->isEnabled());
    EXPECT_FALSE(Action("MNClose")->isEnabled());
    EXPECT_FALSE(history->Command7()->isEnabled());

    // An EPD book is no book to add to.
    Open("probs.epd");
    EXPECT_TRUE(Panel()->isVisible());
    EXPECT_FALSE(history->Command7()->isEnabled());
    EXPECT_EQ(Listed(), (QStringList{"[bm Kb2]", "[id \"one\"]"}));
    EXPECT_FALSE(Panel()->Picture1()->isVisible());

    // The recent files list the PGN book second now; choosing it opens it.
    Action("MNFileList1")->trigger();
    EXPECT_EQ(program.book.BookFile, InDir("games.pgn").toStdString());
    EXPECT_TRUE(program.book.IsOpen());
    EXPECT_EQ(Caption(), "Game 1. (1 of 2)");
    EXPECT_TRUE(history->Command7()->isEnabled());

    // Closing the program closes the work file.
    window->close();
    EXPECT_FALSE(program.book.IsOpen());
}

TEST_F(BookWindowTest, BookLabelCountsGamesWhileConverting) {
    QByteArray book;
    for (int g = 1; g <= 35; ++g) {
        book += "[Event \"G" + QByteArray::number(g) + "\"]\n\n1. e4 *\n\n";
    }
    WriteFile("count.pgn", book);
    Start();
    PaintRecorder recorder(Panel()->Label1());
    Open("count.pgn");
    ASSERT_FALSE(recorder.painted.isEmpty());
    EXPECT_EQ(recorder.painted.first(), "10 games");
    EXPECT_EQ(Caption(), "Game 1. (1 of 35)");
}

TEST_F(BookWindowTest, BookLabelCountRisesWhileConvertingAndTheBookIsUsableAtTheEnd) {
    QByteArray book;
    for (int g = 1; g <= 4000; ++g) {
        book += "[Event \"G" + QByteArray::number(g) + "\"]\n\n1. e4 e5 2. Nf3 *\n\n";
    }
    WriteFile("rising.pgn", book);
    Start();
    PaintRecorder recorder(Panel()->Label1());
    Open("rising.pgn");
    // Every count painted while converting names more games than the one
    // before it, and no more than the book holds.
    ASSERT_FALSE(recorder.painted.isEmpty());
    int last = 0;
    for (const QString& text : recorder.painted) {
        ASSERT_TRUE(text.endsWith(" games")) << text.toStdString();
        const int n = text.chopped(6).toInt();
        EXPECT_GT(n, last) << text.toStdString();
        EXPECT_LE(n, 4000);
        last = n;
    }
    // Once Open Book returns, the book is there: the caption, the last game
    // and its moves.
    EXPECT_EQ(Caption(), "Game 1. (1 of 4000)");
    ShowGame(4000);
    EXPECT_EQ(Caption(), "Game 4000. (4000 of 4000)");
    EXPECT_EQ(Listed(), QStringList{"[Event \"G4000\"]"});
    Click(3);
    EXPECT_EQ(Fen(), kAfterNf3);
}

TEST_F(BookWindowTest, BookCutShortByAFullDiskIsSaidInAWarningAndStaysUsable) {
    QByteArray book;
    for (int g = 1; g <= 20000; ++g) {
        book += "[Event \"G" + QByteArray::number(g) + "\"]\n8/8/8/8/8/8/8/K7 w\n";
    }
    WriteFile("big.fen", book);
    Start();
    {
        const testsupport::FileSizeLimit limit(books::kRecordLength * 2500);
        Open("big.fen");
    }
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    const QString text = fakes.messages.shown[0].text;
    EXPECT_TRUE(text.startsWith("Only 1000 games of " + InDir("big.fen") + " could be read ("))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith("File too large).")) << text.toStdString();
    EXPECT_EQ(Caption(), "Game 1. (1 of 1000)");
    ShowGame(1000);
    EXPECT_EQ(Caption(), "Game 1000. (1000 of 1000)");
    EXPECT_EQ(Fen(), "8/8/8/8/8/8/8/K7");

    // A whole book says nothing.
    fakes.messages.shown.clear();
    Open("big.fen");
    EXPECT_TRUE(fakes.messages.shown.empty());
    EXPECT_EQ(Caption(), "Game 1. (1 of 20000)");
}

TEST_F(BookWindowTest, FirstPositionAlreadyInTheTextBoxStillShowsOnTheBoard) {
    // The conversion replays on the board; game 1's position must replace
    // the last position replayed even when the text box holds it already.
    WriteFile("games.pgn", kPgn);
    Start();
    window->Text1()->setText(QString::fromLatin1(kStart));
    Open("games.pgn");
    EXPECT_EQ(Fen(), kStart);
    EXPECT_EQ(position::VetToFEN(program.vet, program.Shape()), kStart);
}

TEST_F(BookWindowTest, UnreadableBookShowsAnEmptyBoard) {
    Start();
    window->Text1()->setText(QString::fromLatin1(kStart));
    Open("missing.pgn");
    EXPECT_TRUE(Panel()->isVisible());
    EXPECT_EQ(Caption(), "Game . (1 of 1)");
    EXPECT_EQ(Fen(), "8/8/8/8/8/8/8/8");
    EXPECT_EQ(Side(), "Move Control:");
    EXPECT_EQ(position::VetToFEN(program.vet, program.Shape()), "8/8/8/8/8/8/8/8");
    Click(2);
    Click(1);
    EXPECT_EQ(Fen(), "8/8/8/8/8/8/8/8");
}

}  // namespace
