#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>

#include "engines/ui/tests/engines_fixture.h"

namespace engines::ui::testing {
namespace {

// Reads its command file from the folder it runs in, under the name the
// engine reads on Linux, opens the first free log with its number, writes the
// analysis in two goes, and the game file. With a file "hang" it stops after
// the first line and never ends by itself.
const QByteArray kFakeCrafty =
    "#!/bin/sh\n"
    "[ -f .craftyrc ] || exit 1\n"
    "n=1\n"
    "while [ -e \"log.$(printf %03d $n)\" ]; do n=$((n+1)); done\n"
    "num=$(printf %03d $n)\n"
    "printf 'Crafty fake\\r\\n' > log.$num\n"
    "[ -f hang ] && exec sleep 30\n"
    "sleep 0.5\n"
    "tr -d '\\r' < .craftyrc | grep -e '^sd' -e '^setboard' | sed 's/$/\\r/' >> log.$num\n"
    "printf 'analysis done\\r\\nunfinished' >> log.$num\n"
    "printf '[Event \"?\"]\\r\\n' > game.$num\n";

class CraftyWindowTest : public EnginesTest {
  protected:
    void StartWithCrafty(bool realProcesses = false) {
        WriteFile(QStringLiteral("crafty"), kFakeCrafty, true);
        Start(realProcesses);
        SetFen("4k3/8/8/8/8/8/8/3QK3");
        Action("MNCrafty")->trigger();
        crafty = Crafty();
        ASSERT_NE(crafty, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(crafty));
    }
    void Solve() { QTest::mouseClick(crafty->Command1(), Qt::LeftButton); }

    CraftyWindow* crafty = nullptr;
};

TEST_F(CraftyWindowTest, FieldBeingEditedAndResize) {
    StartWithCrafty();
    crafty->Combo1()->setFocus();
    EXPECT_EQ(crafty->Label3()->frameStyle(), QFrame::Box | QFrame::Plain);
    crafty->Text1()->setFocus();
    EXPECT_EQ(crafty->Label3()->frameStyle(), QFrame::NoFrame);
    EXPECT_EQ(crafty->Label1()->frameStyle(), QFrame::Box | QFrame::Plain);

    crafty->resize(700, 500);
    EXPECT_EQ(crafty->List1()->size(), QSize(700 - 8, 500 - 83));
}

TEST_F(CraftyWindowTest, EmptyFenIsAskedForAndClearAllKeepsDepthAndSide) {
    StartWithCrafty();
    crafty->List1()->addItem(QStringLiteral("old"));
    crafty->Option2()->setChecked(true);
    crafty->Combo1()->setCurrentText(QStringLiteral("9"));
    QTest::mouseClick(crafty->Command5(), Qt::LeftButton);
    EXPECT_EQ(crafty->Text1()->text(), "");
    EXPECT_EQ(crafty->List1()->count(), 0);
    EXPECT_EQ(crafty->Combo1()->currentText(), "9");
    EXPECT_TRUE(crafty->Option2()->isChecked());

    Solve();
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0].text, "Enter the FEN position!");
    EXPECT_FALSE(Exists(QStringLiteral("Crafty.rc")));
    EXPECT_FALSE(crafty->run().LeCrafty());
}

// Print Sol with no printer installed says so; with one, the lines go to it.
TEST_F(CraftyWindowTest, PrintSolWithoutAPrinterSaysSo) {
    StartWithCrafty();
    QTest::mouseClick(crafty->Command3(), Qt::LeftButton);  // an empty list prints nothing
    EXPECT_TRUE(fakes.messages.shown.empty());
    crafty->List1()->addItem(QStringLiteral("1. Qd8+ Kxd8"));
    QTest::mouseClick(crafty->Command3(), Qt::LeftButton);
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_TRUE(fakes.messages.shown[0].text.startsWith("No printer is installed"));

    fakes.printers.pdfFile = InDir(QStringLiteral("sol.pdf"));
    QTest::mouseClick(crafty->Command3(), Qt::LeftButton);
    EXPECT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_TRUE(ReadFile(QStringLiteral("sol.pdf")).startsWith("%PDF"));
}

TEST_F(CraftyWindowTest, EngineThatCannotStartIsTriedAgain) {
    StartWithCrafty();
    fakes.processes.fail = true;
    QSignalSpy ticks(crafty->Timer1(), &QTimer::timeout);
    Solve();
    // Ten ticks: each would start the engine if failed starts were not spaced.
    ASSERT_TRUE(WaitFor([&] { return ticks.count() >= 10; }));
    EXPECT_EQ(crafty->run().PollState(), 0);
    EXPECT_TRUE(crafty->run().LeCrafty());
    EXPECT_LE(fakes.processes.started.size(), 2u);  // not on every tick
    fakes.processes.fail = false;                   // starts, and is gone without a log
    ASSERT_TRUE(WaitFor([&] { return crafty->Command1()->isEnabled(); }));
    EXPECT_EQ(ListItems(crafty->List1()), QStringList{"Crafty ended without writing its log."});
}

// The fake engine writes its log in two goes: the window waits for the whole
// of it.
TEST_F(CraftyWindowTest, SolutionRunsTheEngineToItsWholeLog) {
    StartWithCrafty(true);
    WriteFile(QStringLiteral("log.001"), "");
    WriteFile(QStringLiteral("log.002"), "");
    crafty->Combo1()->setCurrentText(QStringLiteral("10"));
    crafty->Option2()->setChecked(true);
    Solve();
    const QByteArray rc =
        "log off\r\nponder off\r\nsd 10\r\nsetboard 4k3/8/8/8/8/8/8/3QK3 b - -\r\nblack\r\nlog on\r\n"
        "analyze\r\nexit\r\nquit\r\nexit\r\n";
    EXPECT_EQ(ReadFile(QStringLiteral("Crafty.rc")), rc);
    EXPECT_EQ(ReadFile(QStringLiteral(".craftyrc")), rc);
    EXPECT_EQ(program.engines.CraftyLogNumber, "003");
    // No hint at a taskbar: the log itself shows here.
    EXPECT_EQ(ListItems(crafty->List1()), QStringList{"Calculating..."});
    EXPECT_FALSE(crafty->Command1()->isEnabled());
    QTest::mouseClick(crafty->Command4(), Qt::LeftButton);  // Hide: the analysis goes on
    EXPECT_TRUE(crafty->isHidden());

    ASSERT_TRUE(WaitFor([&] { return crafty->Command1()->isEnabled(); }, 10000));
    EXPECT_TRUE(crafty->isVisible());
    EXPECT_EQ(ListItems(crafty->List1()),
              (QStringList{"Crafty fake", "sd 10", "setboard 4k3/8/8/8/8/8/8/3QK3 b - -", "analysis done"}));
    EXPECT_FALSE(Exists(QStringLiteral("log.003")));
    EXPECT_FALSE(Exists(QStringLiteral("game.003")));
    EXPECT_TRUE(Exists(QStringLiteral("Crafty.rc")));
    EXPECT_TRUE(Exists(QStringLiteral(".craftyrc")));
    EXPECT_EQ(crafty->Command4()->text(), "Cl&ose");
    EXPECT_EQ(crafty->Label2()->text(), "");
    EXPECT_FALSE(crafty->Command6()->isEnabled());
}

// An engine that hangs: its log shows while it runs, and Stop ends it.
TEST_F(CraftyWindowTest, LiveLogAndStop) {
    StartWithCrafty(true);
    WriteFile(QStringLiteral("hang"), "");
    EXPECT_FALSE(crafty->Command6()->isEnabled());
    Solve();
    EXPECT_TRUE(crafty->Command6()->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return ListItems(crafty->List1()) == QStringList{"Crafty fake"}; }));
    EXPECT_FALSE(crafty->Command1()->isEnabled());
    EXPECT_TRUE(Exists(QStringLiteral("log.001")));
    QTest::mouseClick(crafty->Command6(), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return crafty->Command1()->isEnabled(); }, 30000));
    EXPECT_EQ(ListItems(crafty->List1()), QStringList{"Crafty fake"});
    EXPECT_FALSE(Exists(QStringLiteral("log.001")));
    EXPECT_FALSE(crafty->Command6()->isEnabled());
    EXPECT_EQ(crafty->Command4()->text(), "Cl&ose");
}

}  // namespace
}  // namespace engines::ui::testing
