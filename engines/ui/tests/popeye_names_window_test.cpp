// What the Popeye window writes for the solver, and what it tells when the
// solver is missing or refuses the input.

#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <filesystem>

#include "engines/ui/tests/engines_fixture.h"

namespace engines::ui::testing {
namespace {

std::string RealSolver() {
    return (std::filesystem::path(TEST_DATA_DIR) / "../../../../../shared/popeye/bin/py")
        .lexically_normal()
        .string();
}

class PopeyeNamesTest : public EnginesTest {
  protected:
    void OpenPopeye(bool realProcesses = false) {
        Start(realProcesses);
        SetFen("4k3/8/8/8/8/8/8/3QK3");
        Action("MNpy")->trigger();
        popeye = Popeye();
        ASSERT_NE(popeye, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(popeye));
    }
    std::string& Field(int i) { return program.engines.PopeyeFields[static_cast<size_t>(i)]; }

    PopeyeWindow* popeye = nullptr;
};

TEST_F(PopeyeNamesTest, MissingEnginesSayWhereTheyWereLookedFor) {
    Start();
    const QString appDir = QString::fromStdString(program.settings.AppDir);
    for (const char* name : {"MNpy", "MNCrafty"}) {
        QAction* action = Action(name);
        EXPECT_FALSE(action->isEnabled()) << name;
        EXPECT_TRUE(action->toolTip().contains(appDir)) << action->toolTip().toStdString();
        EXPECT_TRUE(action->toolTip().contains(QStringLiteral("start Pandrel again"))) << name;
        EXPECT_EQ(action->statusTip(), action->toolTip()) << name;
        for (QObject* menu : action->associatedObjects()) {
            if (auto* m = qobject_cast<QMenu*>(menu)) {
                EXPECT_TRUE(m->toolTipsVisible()) << name;
            }
        }
    }
    EXPECT_TRUE(Action("MNpy")->toolTip().contains(QStringLiteral("search path")));
    window.reset();

    WriteFile(QStringLiteral("popeye"), "", true);
    WriteFile(QStringLiteral("crafty"), "", true);
    Start();
    EXPECT_EQ(Action("MNpy")->toolTip(), QStringLiteral("Popeye: ") + InDir(QStringLiteral("popeye")));
    EXPECT_EQ(Action("MNCrafty")->toolTip(), QStringLiteral("Crafty: ") + InDir(QStringLiteral("crafty")));
}

// A template chosen from the pick list must be completed: Solution says
// which placeholder is left, selects it, and starts nothing.
TEST_F(PopeyeNamesTest, SolutionRefusesATemplateLeftAsItIs) {
    WriteFile(QStringLiteral("py"), "", true);
    WriteFile(QStringLiteral("Py.dat"), "04Move <from> <to>\r\n04Continued\r\n");
    OpenPopeye();
    Field(kStipulation) = "h#";
    Field(kMoves) = "2";
    QComboBox* twins = popeye->Combo1(kTwins);
    ChooseItem(twins, 0);
    ASSERT_TRUE(WaitFor([&] { return popeye->fCombo() == -1; }));
    ChooseItem(twins, 1);
    ASSERT_TRUE(WaitFor([&] { return popeye->fCombo() == -1; }));
    EXPECT_EQ(twins->currentText(), " Move <from> <to> Continued");

    QTest::mouseClick(popeye->Command2(), Qt::LeftButton);
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0].text,
              "Replace <from> in the Twins field by what it stands for before solving!");
    EXPECT_TRUE(fakes.processes.started.empty());
    EXPECT_TRUE(twins->hasFocus());
    EXPECT_EQ(twins->lineEdit()->selectedText(), "<from>");

    // Typed over, the twin goes to the solver with Continued first.
    QTest::keyClicks(twins->lineEdit(), "d1");
    twins->lineEdit()->setSelection(twins->currentText().indexOf(QStringLiteral("<to>")), 4);
    QTest::keyClicks(twins->lineEdit(), "d2");
    EXPECT_EQ(Field(kTwins), "Move d1 d2 Continued");
    QTest::mouseClick(popeye->Command2(), Qt::LeftButton);
    ASSERT_EQ(fakes.processes.started.size(), 1u);
    const QString input = QString::fromLatin1(ReadFile(QString::fromStdString(program.WorkName) + "o.tmp"));
    EXPECT_TRUE(input.contains(QStringLiteral("\r\nTwin Continued Move d1 d2\r\n"))) << input.toStdString();
}

// The real solver: a piece name it does not know is shown in the solution,
// not lost.
TEST_F(PopeyeNamesTest, AnUnknownPieceNameReachesTheSolution) {
    if (!QFile::exists(QString::fromStdString(RealSolver()))) {
        GTEST_SKIP() << "the Popeye solver is not at " << RealSolver();
    }
    ASSERT_TRUE(QFile::link(QString::fromStdString(RealSolver()), InDir(QStringLiteral("py"))));
    OpenPopeye(true);
    popeye->SetField(kWhitePieces, "Ke1 XYe2 Qd1");
    Field(kStipulation) = "#2";  // typed with its number: no moves needed
    Field(kMoves).clear();
    QTest::mouseClick(popeye->Command2(), Qt::LeftButton);
    ASSERT_TRUE(fakes.messages.shown.empty());
    ASSERT_TRUE(WaitFor([&] { return popeye->Command2()->isEnabled(); }, 20000));
    const QStringList items = ListItems(popeye->List1());
    EXPECT_TRUE(items.join('\n').contains(QStringLiteral("offending item: XYe2")))
        << items.join('\n').toStdString();
}

}  // namespace
}  // namespace engines::ui::testing
