#include <signal.h>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTreeWidget>

#include "engines/ui/analysis_window.h"
#include "engines/ui/tests/engines_fixture.h"

namespace engines::ui::testing {
namespace {

class AnalysisTest : public EnginesTest {
  protected:
    void SetUp() override {
        EnginesTest::SetUp();
        if (!QFile::exists(QStringLiteral("/usr/games/stockfish")) &&
            QStandardPaths::findExecutable(QStringLiteral("stockfish")).isEmpty()) {
            GTEST_SKIP() << "stockfish is not installed";
        }
    }
    AnalysisWindow* Analysis() const {
        return qobject_cast<AnalysisWindow*>(window->SecondaryWindow(diagram::ui::Secondary::kAnalysis));
    }
    /// Ctrl+U on the main window, as the user opens the window.
    AnalysisWindow* Open() {
        QTest::keyClick(window.get(), Qt::Key_U, Qt::ControlModifier);
        return Analysis();
    }
    bool WaitReady(AnalysisWindow* w) {
        return WaitFor([w] { return w->session().state() == UciState::kReady; }, 8000);
    }
    static QString Cell(AnalysisWindow* w, int row, int column) {
        QTreeWidgetItem* item = w->ListLines()->topLevelItem(row);
        return item != nullptr ? item->text(column) : QString();
    }
};

TEST_F(AnalysisTest, MateInTwoShownLiveAndPlayedOnTheBoard) {
    Start();
    ASSERT_TRUE(Action("MNAnalysis")->isEnabled());
    EXPECT_EQ(Action("MNAnalysis")->shortcut().toString(), "Ctrl+U");
    EXPECT_EQ(window->menu("MNEngines")->actions().indexOf(Action("MNAnalysis")), 2);
    SetFen("2k5/8/1K6/8/8/8/8/3Q4");
    AnalysisWindow* w = Open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "Analysis");
    ASSERT_TRUE(WaitReady(w)) << w->LabelStatus()->text().toStdString();
    EXPECT_TRUE(w->LabelEngine()->text().contains("Stockfish"));
    EXPECT_EQ(program.settings.UciEngine.empty(), false);

    w->SpinLimit()->setValue(10);
    QTest::mouseClick(w->CommandStart(), Qt::LeftButton);
    EXPECT_EQ(w->CommandStart()->text(), "&Stop");
    ASSERT_TRUE(WaitFor([w] { return w->CommandStart()->text() == "&Start"; }, 20000));
    EXPECT_EQ(Cell(w, 0, 2), "#2");
    const QStringList moves = Cell(w, 0, 3).split(' ');
    ASSERT_EQ(moves.size(), 3);
    EXPECT_TRUE(moves[0].startsWith('Q') || moves[0].startsWith('K')) << moves[0].toStdString();
    EXPECT_TRUE(moves[2].endsWith('#'));

    QTest::mouseClick(w->CommandCopy(), Qt::LeftButton);
    EXPECT_TRUE(fakes.clipboard.text.startsWith("1: #2 (depth ")) << fakes.clipboard.text.toStdString();

    // Record mode records the move a double click plays.
    Action("MNRec")->trigger();
    const size_t before = program.editing.History.size();
    const QString fenBefore = window->Text1()->text();
    QTreeWidgetItem* row = w->ListLines()->topLevelItem(0);
    const QPoint at = w->ListLines()->visualItemRect(row).center();
    QTest::mouseClick(w->ListLines()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(w->ListLines()->viewport(), Qt::LeftButton, {}, at);
    EXPECT_NE(window->Text1()->text(), fenBefore);
    EXPECT_EQ(program.editing.History.size(), before + 1);
    EXPECT_TRUE(w->OptionBlack()->isChecked());
}

// The rows belong to the position they were computed for: a redraw keeps
// them, a new position, a board that cannot be analysed or the other side to
// move takes them down, and an engine still talking after its stop does not
// bring them back.
TEST_F(AnalysisTest, LinesGoWhenThePositionChanges) {
    Start();
    SetFen("2k5/8/1K6/8/8/8/8/3Q4");
    AnalysisWindow* w = Open();
    ASSERT_TRUE(WaitReady(w)) << w->LabelStatus()->text().toStdString();
    const auto search = [this, w] {
        w->SpinLimit()->setValue(6);
        QTest::mouseClick(w->CommandStart(), Qt::LeftButton);
        return WaitFor([w] { return w->LabelStatus()->text() == "Done."; }, 20000) &&
               w->ListLines()->topLevelItemCount() > 0;
    };
    ASSERT_TRUE(search());
    Action("MNReverse")->trigger();  // the same position, shown turned
    EXPECT_GT(w->ListLines()->topLevelItemCount(), 0);
    EXPECT_TRUE(w->LinesValid());

    SetFen("2k5/8/1K6/8/8/8/8/4Q3");
    EXPECT_EQ(w->ListLines()->topLevelItemCount(), 0);
    EXPECT_FALSE(w->LinesValid());
    EXPECT_TRUE(w->LabelStatus()->text().contains("changed")) << w->LabelStatus()->text().toStdString();

    // An endless search, then Black's king taken off: the search stops and
    // its last words are not shown.
    ASSERT_TRUE(search());
    w->ComboLimit()->setCurrentIndex(static_cast<int>(AnalysisWindow::LimitKind::kInfinite));
    QTest::mouseClick(w->CommandStart(), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([w] { return w->ListLines()->topLevelItemCount() > 0; }, 8000));
    SetFen("8/8/1K6/8/8/8/8/4Q3");
    EXPECT_EQ(w->ListLines()->topLevelItemCount(), 0);
    ASSERT_TRUE(WaitReady(w));
    QTest::mouseClick(w->CommandStart(), Qt::LeftButton);
    EXPECT_EQ(w->LabelStatus()->text(), "Black must have one king, not 0.");
    EXPECT_EQ(w->ListLines()->topLevelItemCount(), 0);
    EXPECT_TRUE(w->RowsText().isEmpty());

    // The other side to move.
    SetFen("2k5/8/1K6/8/8/8/8/4Q3");
    w->ComboLimit()->setCurrentIndex(static_cast<int>(AnalysisWindow::LimitKind::kDepth));
    ASSERT_TRUE(search());
    QTest::mouseClick(w->OptionBlack(), Qt::LeftButton);
    EXPECT_EQ(w->ListLines()->topLevelItemCount(), 0);
    EXPECT_TRUE(w->LabelStatus()->text().contains("side to move")) << w->LabelStatus()->text().toStdString();
}

TEST_F(AnalysisTest, StopEndsAnEndlessSearch) {
    Start();
    SetFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
    AnalysisWindow* w = Open();
    ASSERT_TRUE(WaitReady(w));
    w->ComboLimit()->setCurrentIndex(static_cast<int>(AnalysisWindow::LimitKind::kInfinite));
    w->SpinLines()->setValue(3);
    QTest::mouseClick(w->CommandStart(), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([w] { return w->ListLines()->topLevelItemCount() == 3; }, 8000));
    ASSERT_EQ(w->session().state(), UciState::kSearching);
    QTest::mouseClick(w->CommandStart(), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([w] { return w->session().state() == UciState::kReady; }, 30000));
    EXPECT_EQ(w->CommandStart()->text(), "&Start");
    EXPECT_EQ(w->ListLines()->topLevelItemCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Cell(w, i, 0), QString::number(i + 1));
        EXPECT_FALSE(Cell(w, i, 3).isEmpty());
    }

    // Closing the window stops a search too.
    QTest::mouseClick(w->CommandStart(), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([w] { return w->session().state() == UciState::kSearching; }, 3000));
    QTest::mouseClick(w->CommandClose(), Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(WaitFor([w] { return w->session().state() == UciState::kReady; }, 3000));
}

TEST_F(AnalysisTest, KilledEngineIsReportedAndStartTriesAgain) {
    Start();
    SetFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
    AnalysisWindow* w = Open();
    ASSERT_TRUE(WaitReady(w));
    w->ComboLimit()->setCurrentIndex(static_cast<int>(AnalysisWindow::LimitKind::kInfinite));
    QTest::mouseClick(w->CommandStart(), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([w] { return w->session().state() == UciState::kSearching; }, 30000));
    ASSERT_GT(w->session().EnginePid(), 0);
    kill(w->session().EnginePid(), SIGKILL);
    ASSERT_TRUE(WaitFor([w] { return w->session().state() == UciState::kFailed; }, 3000));
    EXPECT_TRUE(w->LabelStatus()->text().contains("stopped unexpectedly"));
    EXPECT_EQ(w->CommandStart()->text(), "&Start");
    EXPECT_TRUE(w->CommandStart()->isEnabled());
    // Start brings the engine back and searches.
    w->ComboLimit()->setCurrentIndex(static_cast<int>(AnalysisWindow::LimitKind::kDepth));
    w->SpinLimit()->setValue(4);
    QTest::mouseClick(w->CommandStart(), Qt::LeftButton);
    EXPECT_TRUE(WaitFor([w] { return w->LabelStatus()->text() == "Done."; }, 8000))
        << w->LabelStatus()->text().toStdString();
}

TEST_F(AnalysisTest, PositionsItCannotTakeSayWhy) {
    struct Case {
        const char* ini;
        const char* fen;
        const char* says;
    };
    for (const Case c : {
             Case{"", "8/8/8/8/8/8/8/8", "must have one king"},
             Case{"BeginStyle = Big\r\n  BorderWidth = 10\r\n  BorderHeight = 10\r\nEndStyle\r\n", "k/K",
                  "8 x 8"},
             Case{"BeginStyle = Fairy\r\n  PiecesList = pPnNbBrRqQkKgG\r\n  EnglishNotation = "
                  "pPnNbBrRqQkKgG\r\n"
                  "EndStyle\r\n",
                  "4k3/8/8/8/8/8/8/4K1G1", "not an orthodox one"},
         }) {
        SCOPED_TRACE(c.says);
        WriteFile(QStringLiteral("Pandrel.ini"), c.ini);
        Start();
        SetFen(c.fen);
        fakes.messages.shown.clear();
        EXPECT_EQ(Open(), nullptr);
        ASSERT_EQ(fakes.messages.shown.size(), 1u);
        EXPECT_TRUE(fakes.messages.shown[0].text.contains(c.says))
            << fakes.messages.shown[0].text.toStdString();
        window.reset();
    }
}

TEST_F(AnalysisTest, SilentEngineOfTheSettingIsReportedAndTheNextOneUsed) {
    WriteFile(QStringLiteral("silent"), "#!/bin/sh\nexec sleep 30\n", true);
    WriteFile(QStringLiteral("Pandrel.ini"), "UciEngine = " + InDir("silent").toUtf8() + "\r\n");
    Start();
    SetFen("2k5/8/1K6/8/8/8/8/3Q4");
    AnalysisWindow* w = Open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->LabelEngine()->text(), InDir("silent"));
    ASSERT_TRUE(WaitFor([w] { return w->LabelStatus()->text().contains("within 5 seconds"); }, 8000));
    ASSERT_TRUE(WaitReady(w));
    EXPECT_TRUE(w->LabelEngine()->text().contains("Stockfish"));
    EXPECT_NE(program.settings.UciEngine, InDir("silent").toStdString());
}

}  // namespace
}  // namespace engines::ui::testing
