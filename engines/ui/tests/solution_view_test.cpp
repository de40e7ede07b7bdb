#include <QFile>
#include <QPushButton>
#include <QTreeWidget>

#include "engines/ui/solution_view.h"
#include "engines/ui/tests/engines_fixture.h"

namespace engines::ui::testing {
namespace {

const QString kPopeyeDir = QStringLiteral(POPEYE_DIR);

// The real solver, run from the program folder.
class SolutionViewTest : public EnginesTest {
  protected:
    void SetUp() override {
        EnginesTest::SetUp();
        if (!QFile::exists(kPopeyeDir + "/bin/py")) {
            GTEST_SKIP() << "the solver is not beside the project";
        }
        WriteFile(QStringLiteral("py"),
                  "#!/bin/sh\nexec '" + (kPopeyeDir + "/bin/py").toUtf8() + "' \"$@\"\n", true);
        WriteFile(QStringLiteral("Py.dat"), "90&&N=wS&&n=bS\r\n");
        Start(true);
    }

    void Solve(const char* fen, const char* stipulation, const char* moves, const char* options,
               const char* twins) {
        SetFen(fen);
        Action("MNpy")->trigger();
        popeye = Popeye();
        ASSERT_NE(popeye, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(popeye));
        popeye->SetField(kStipulation, stipulation);
        popeye->SetField(kMoves, moves);
        popeye->SetField(kOptions, options);
        popeye->SetField(kTwins, twins);
        QTest::mouseClick(popeye->Command2(), Qt::LeftButton);
        ASSERT_TRUE(WaitFor([&] { return popeye->Command2()->isEnabled(); }, 30000));
        tree = popeye->Solution()->TreeSolution();
    }

    // The item whose text starts with text, anywhere in the tree.
    QTreeWidgetItem* Find(const QString& text) const {
        QTreeWidgetItemIterator it(tree);
        for (; *it; ++it) {
            if ((*it)->text(0).startsWith(text)) {
                return *it;
            }
        }
        return nullptr;
    }
    void Click(QTreeWidgetItem* item) {
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
    }
    QString Board() const { return window->Text1()->text(); }

    PopeyeWindow* popeye = nullptr;
    QTreeWidget* tree = nullptr;
};

TEST_F(SolutionViewTest, DirectMateKeyThreatsAndTriesOnTheBoard) {
    const char* problem = "3n4/8/4p3/8/4k3/R3pN2/4B3/K5Q1";
    program.editing.History.clear();
    Action("MNRec")->setChecked(true);  // record mode: board edits would be copied
    Solve(problem, "#", "2", "Try Variation", "");
    QTreeWidgetItem* key = Find(QStringLiteral("1.Qg1-g5 ! threat:"));
    ASSERT_NE(key, nullptr);
    EXPECT_NE(Find(QStringLiteral("1.Qg1-g6 + ?")), nullptr);
    EXPECT_NE(Find(QStringLiteral("but 1...Ke4-d5 !")), nullptr);

    Click(key);
    EXPECT_EQ(Board(), "3n4/8/4p3/6Q1/4k3/R3pN2/4B3/K7");
    QTest::keyClick(tree, Qt::Key_Right);  // the first threat
    EXPECT_EQ(tree->currentItem()->text(0), "2.Qg5-e5 #");
    EXPECT_EQ(Board(), "3n4/8/4p3/4Q3/4k3/R3pN2/4B3/K7");
    QTest::keyClick(tree, Qt::Key_Left);
    EXPECT_EQ(Board(), "3n4/8/4p3/6Q1/4k3/R3pN2/4B3/K7");
    QTest::keyClick(tree, Qt::Key_Home);
    EXPECT_EQ(Board(), problem);
    EXPECT_TRUE(program.editing.History.empty());

    // Hiding the window takes a browsed position back, unless it is kept.
    Click(Find(QStringLiteral("1...Sd8-c6")));
    EXPECT_EQ(Board(), "8/8/2n1p3/6Q1/4k3/R3pN2/4B3/K7");
    QTest::mouseClick(popeye->Command3(), Qt::LeftButton);
    EXPECT_EQ(Board(), problem);
    Action("MNpy")->trigger();
    Click(key);
    QTest::mouseClick(popeye->Solution()->CommandKeep(), Qt::LeftButton);
    QTest::mouseClick(popeye->Command3(), Qt::LeftButton);
    EXPECT_EQ(Board(), "3n4/8/4p3/6Q1/4k3/R3pN2/4B3/K7");
    EXPECT_TRUE(program.editing.History.empty());

    // A board edited after browsing is the user's: hiding leaves it alone.
    Action("MNpy")->trigger();
    Click(Find(QStringLiteral("1.Qg1-g4 + ?")));
    SetFen("4k3/8/8/8/8/8/8/4K3");
    QTest::mouseClick(popeye->Command3(), Qt::LeftButton);
    EXPECT_EQ(Board(), "4k3/8/8/8/8/8/8/4K3");
}

TEST_F(SolutionViewTest, HelpmateTwinsStartFromTheirOwnPositions) {
    Solve("2Q5/8/3p4/N2r4/8/2pk4/8/K7", "h#", "2", "", "Move a1 b1");
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->topLevelItem(1)->text(0), "b) wKa1-->b1");
    Click(tree->topLevelItem(1));
    EXPECT_EQ(Board(), "2Q5/8/3p4/N2r4/8/2pk4/8/1K6");
    QTreeWidgetItem* mate = Find(QStringLiteral("2...Qc8-c4 #"));
    ASSERT_NE(mate, nullptr);
    Click(mate);
    EXPECT_EQ(Board(), "8/8/3p4/N7/2Q5/2pkr3/8/2K5");
}

TEST_F(SolutionViewTest, OpenedProtocolReplaysContinuedTwins) {
    SetFen("2Q5/8/3p4/N2r4/8/2pk4/8/K7");
    Action("MNpy")->trigger();
    popeye = Popeye();
    ASSERT_NE(popeye, nullptr);
    tree = popeye->Solution()->TreeSolution();
    popeye->Solution()->SetFileChooser([] { return kPopeyeDir + "/cases/05-help2-continued.out"; });
    QTest::mouseClick(popeye->Solution()->CommandOpen(), Qt::LeftButton);
    ASSERT_EQ(tree->topLevelItemCount(), 4);
    EXPECT_EQ(popeye->List1()->item(popeye->List1()->count() - 1)->text(),
              "solution finished. Time = 0.071 s");
    // +d) removes d6 from +c), which moved the king of b).
    Click(tree->topLevelItem(3));
    EXPECT_EQ(Board(), "2Q5/8/8/N2r4/8/2p1k3/8/1K6");

    // A protocol whose neutral men the board does not have: their moves are
    // greyed and say why; the board shows the line as far as it goes.
    QTest::keyClick(tree, Qt::Key_Home);
    SetFen("2k5/5K2/6p1/8/5B2/8/1pq5/8");
    popeye->Solution()->SetFileChooser([] { return kPopeyeDir + "/cases/16-neutral.out"; });
    QTest::mouseClick(popeye->Solution()->CommandOpen(), Qt::LeftButton);
    QTreeWidgetItem* neutral = Find(QStringLiteral("1...nPe5-e6"));
    ASSERT_NE(neutral, nullptr);
    EXPECT_EQ(neutral->toolTip(0), "no man on e5");
    EXPECT_EQ(Find(QStringLiteral("1.Kc8-d8"))->toolTip(0), "");
    Click(neutral);
    EXPECT_EQ(Board(), "3k4/5K2/6p1/8/5B2/8/1pq5/8");
}

}  // namespace
}  // namespace engines::ui::testing
