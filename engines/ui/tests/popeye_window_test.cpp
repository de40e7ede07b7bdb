#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include "engines/ui/tests/engines_fixture.h"
#include "engines/ui/window_helpers.h"

namespace engines::ui::testing {
namespace {

// Follows the input file to the protocol it names, writes the protocol in
// two goes with a pause between them, and records its arguments.
const QByteArray kFakePopeye =
    "#!/bin/sh\n"
    "echo \"$@\" > args.txt\n"
    "for input; do :; done\n"
    "proto=$(sed -n 's/^Protocol \\(.*\\)\\r$/\\1/p' \"$input\")\n"
    "printf 'Popeye fake\\r\\n\\r\\n' > \"$proto\"\n"
    "sleep 0.5\n"
    "sed -n 's/^Stipulation \\(.*\\)\\r$/stipulation \\1/p' \"$input\" >> \"$proto\"\n"
    "printf 'solution complete\\r\\n' >> \"$proto\"\n";

class PopeyeWindowTest : public EnginesTest {
  protected:
    void StartWithPopeye(bool realProcesses = false) {
        WriteFile(QStringLiteral("py"), kFakePopeye, true);
        WriteFile(QStringLiteral("Py.dat"),
                  "02Madrasi\r\n02Circe\r\n02none\r\n03Try '<\r\n03a '?\r\n06Ka1 ']\r\n00#\r\n"
                  "04rotate 90\r\n");
        Start(realProcesses);
        SetFen("4k3/8/8/8/8/8/8/3QK3");
        Action("MNpy")->trigger();
        popeye = Popeye();
        ASSERT_NE(popeye, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(popeye));
    }
    std::string& Field(int i) { return program.engines.PopeyeFields[static_cast<size_t>(i)]; }
    QString Shown(int i) const { return popeye->Combo1(i)->currentText(); }
    QString InputPath() const { return InDir(QString::fromStdString(program.WorkName) + "o.tmp"); }
    QString ProtocolName() const { return QString::fromStdString(program.WorkName) + "i.tmp"; }
    void Solve(const char* stipulation, const char* moves) {
        Field(kStipulation) = stipulation;
        Field(kMoves) = moves;
        QTest::mouseClick(popeye->Command2(), Qt::LeftButton);
    }

    PopeyeWindow* popeye = nullptr;
};

TEST_F(PopeyeWindowTest, TypingPickingAndTheFieldBeingEdited) {
    StartWithPopeye();
    QComboBox* conditions = popeye->Combo1(kConditions);
    conditions->setFocus();
    EXPECT_EQ(popeye->Label1(kConditions)->frameStyle(), QFrame::Box | QFrame::Plain);
    QTest::keyClicks(conditions, "  Anti ");
    EXPECT_EQ(Field(kConditions), "Anti");

    ChooseItem(conditions, 1);  // "Circe", appended
    EXPECT_EQ(popeye->fCombo(), kConditions);
    EXPECT_EQ(Field(kConditions), "Anti Circe");
    ASSERT_TRUE(WaitFor([&] { return popeye->fCombo() == -1; }));
    EXPECT_EQ(Shown(kConditions), " Anti Circe");
    EXPECT_EQ(conditions->lineEdit()->cursorPosition(), Shown(kConditions).size());

    ChooseItem(popeye->Combo1(kOptions), 0);      // "Try '<": in front
    ChooseItem(popeye->Combo1(kWhitePieces), 0);  // "Ka1 ']": appended directly
    ASSERT_TRUE(WaitFor([&] { return popeye->fCombo() == -1; }));
    EXPECT_EQ(Field(kOptions), "Try");
    EXPECT_EQ(Field(kWhitePieces), "Qd1 Ke1Ka1");
    ChooseItem(popeye->Combo1(kOptions), 1);  // unknown mode: no change, field rewritten
    ASSERT_TRUE(WaitFor([&] { return popeye->fCombo() == -1; }));
    EXPECT_EQ(Shown(kOptions), " Try");

    ChooseItem(conditions, 2);  // "none"
    EXPECT_EQ(Field(kConditions), "");
    EXPECT_EQ(Shown(kConditions), "");
    EXPECT_EQ(popeye->fCombo(), -1);

    popeye->Combo1(kMoves)->setFocus();
    EXPECT_EQ(popeye->Label1(kConditions)->frameStyle(), QFrame::NoFrame);
    EXPECT_EQ(popeye->Label1(kMoves)->frameStyle(), QFrame::Box | QFrame::Plain);

    QTest::mouseClick(popeye->Command1(), Qt::LeftButton);  // Clear All
    for (int i = 0; i < kPopeyeFieldCount; ++i) {
        EXPECT_EQ(Field(i), "");
        EXPECT_EQ(Shown(i), "");
    }
}

TEST_F(PopeyeWindowTest, MissingFieldsAreAskedFor) {
    StartWithPopeye();
    Solve("", "2");
    Solve("#", "");
    popeye->SetField(kWhitePieces, "");
    popeye->SetField(kBlackPieces, "");
    Solve("#", "2");
    ASSERT_EQ(fakes.messages.shown.size(), 3u);
    EXPECT_EQ(fakes.messages.shown[0].text, "Enter the stipulation!");
    EXPECT_EQ(fakes.messages.shown[1].text, "Enter the number of moves!");
    EXPECT_EQ(fakes.messages.shown[2].text, "Enter the pieces list!");
    EXPECT_EQ(fakes.messages.shown[2].icon, platform::Icon::kExclamation);
    EXPECT_TRUE(fakes.processes.started.empty());
    EXPECT_FALSE(QFile::exists(InputPath()));
}

TEST_F(PopeyeWindowTest, FailuresAreNotShownAsACalculation) {
    StartWithPopeye();
    fakes.processes.fail = true;
    Solve("#", "2");
    EXPECT_TRUE(popeye->List1()->count() == 0);
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0].text, "Popeye could not be started.");
    EXPECT_TRUE(popeye->Command2()->isEnabled());
    EXPECT_FALSE(popeye->run().LePy());

    // A solver that stops without a protocol ends the run.
    fakes.processes.fail = false;
    Solve("#", "2");
    ASSERT_TRUE(WaitFor([&] { return popeye->Command2()->isEnabled(); }));
    EXPECT_EQ(ListItems(popeye->List1()), QStringList{"Popeye ended without writing its protocol."});
}

// Typing the text of an item and leaving the field keeps the text as typed:
// only a choice from the list applies an item.
// The fields a published problem shows go to the host as they change, once
// for each change; the pieces do not.
TEST_F(PopeyeWindowTest, ProblemFieldsAreToldToTheHost) {
    StartWithPopeye();
    QSignalSpy told(&window->host(), &diagram::ui::Host::solverFieldsChanged);
    popeye->Combo1(kStipulation)->setFocus();
    QTest::keyClicks(popeye->Combo1(kStipulation), "h#");
    popeye->Combo1(kMoves)->setFocus();
    QTest::keyClicks(popeye->Combo1(kMoves), "2");
    popeye->Combo1(kTwins)->setFocus();
    QTest::keyClicks(popeye->Combo1(kTwins), "b) +wPb2");
    ASSERT_GE(told.size(), 3);
    const QList<QVariant> last = told.last();
    EXPECT_EQ(last.value(0).toString(), "h#2");
    EXPECT_EQ(last.value(1).toString(), "");
    EXPECT_EQ(last.value(2).toString(), "b) +wPb2");

    told.clear();
    popeye->Combo1(kWhitePieces)->setFocus();
    QTest::keyClicks(popeye->Combo1(kWhitePieces), " Sb1");
    EXPECT_EQ(told.size(), 0);
    ChooseItem(popeye->Combo1(kConditions), 1);  // "Circe"
    ASSERT_EQ(told.size(), 1);
    EXPECT_EQ(told.last().value(1).toString(), "Circe");
    QTest::mouseClick(popeye->Command1(), Qt::LeftButton);  // Clear All
    ASSERT_EQ(told.size(), 2);
    EXPECT_EQ(told.last(), (QList<QVariant>{QString(), QString(), QString()}));
}

TEST_F(PopeyeWindowTest, TypedItemTextIsNotAppliedAgain) {
    StartWithPopeye();
    QComboBox* stipulation = popeye->Combo1(kStipulation);
    QComboBox* twins = popeye->Combo1(kTwins);
    stipulation->setFocus();
    QTest::keyClicks(stipulation, "#");
    QTest::keyClick(stipulation, Qt::Key_Tab);
    twins->setFocus();
    QTest::keyClicks(twins, "rotate 90");
    QTest::keyClick(twins, Qt::Key_Return);
    QTest::mouseClick(popeye->Combo1(kMoves), Qt::LeftButton);
    EXPECT_TRUE(WaitFor([&] { return popeye->fCombo() == -1 && Field(kTwins) == "rotate 90"; }));
    EXPECT_EQ(Field(kStipulation), "#");
    EXPECT_EQ(Field(kTwins), "rotate 90");
    EXPECT_EQ(Shown(kStipulation).trimmed(), "#");
    EXPECT_EQ(Shown(kTwins).trimmed(), "rotate 90");
    EXPECT_EQ(popeye->fCombo(), -1);

    // Chosen from the list, the item is added as its mode says.
    ChooseItem(twins, 0);
    EXPECT_EQ(Field(kTwins), "rotate 90 rotate 90");
}

// Writes its protocol a line at a time, a second apart; with a file "hang"
// it never ends by itself after the first line.
const QByteArray kSlowPopeye =
    "#!/bin/sh\n"
    "for input; do :; done\n"
    "proto=$(sed -n 's/^Protocol \\(.*\\)\\r$/\\1/p' \"$input\")\n"
    "printf 'first\\r\\n' > \"$proto\"\n"
    "[ -f hang ] && exec sleep 30\n"
    "sleep 1\n"
    "printf 'second\\r\\n' >> \"$proto\"\n"
    "sleep 1\n"
    "printf 'third\\r\\n' >> \"$proto\"\n";

TEST_F(PopeyeWindowTest, ProtocolShowsAsItGrows) {
    StartWithPopeye(true);
    WriteFile(QStringLiteral("py"), kSlowPopeye, true);
    Solve("#", "2");
    ASSERT_TRUE(WaitFor([&] { return ListItems(popeye->List1()) == QStringList{"first"}; }));
    EXPECT_FALSE(popeye->Command2()->isEnabled());
    EXPECT_TRUE(Exists(ProtocolName()));  // not deleted while the solver writes
    ASSERT_TRUE(WaitFor([&] { return popeye->Command2()->isEnabled(); }, 10000));
    EXPECT_EQ(ListItems(popeye->List1()), (QStringList{"first", "second", "third"}));
    EXPECT_FALSE(Exists(ProtocolName()));
}

TEST_F(PopeyeWindowTest, StopEndsAHungSolver) {
    StartWithPopeye(true);
    WriteFile(QStringLiteral("py"), kSlowPopeye, true);
    WriteFile(QStringLiteral("hang"), "");
    EXPECT_FALSE(popeye->Command6()->isEnabled());
    Solve("#", "2");
    EXPECT_TRUE(popeye->Command6()->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return ListItems(popeye->List1()) == QStringList{"first"}; }));
    QTest::mouseClick(popeye->Command6(), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return popeye->Command2()->isEnabled(); }, 30000));
    EXPECT_EQ(ListItems(popeye->List1()), QStringList{"first"});
    EXPECT_FALSE(Exists(ProtocolName()));
    EXPECT_FALSE(popeye->Command6()->isEnabled());
    EXPECT_EQ(popeye->Command3()->text(), "Cl&ose");

    // The solver can be run again at once.
    QFile::remove(InDir(QStringLiteral("hang")));
    Solve("#", "2");
    EXPECT_TRUE(WaitFor([&] { return popeye->Command2()->isEnabled(); }, 10000));
}

// The fake solver writes its protocol in two goes: the window shows it as it
// comes and ends with the whole of it.
TEST_F(PopeyeWindowTest, SolutionRunsTheSolverToItsWholeProtocol) {
    StartWithPopeye(true);
    Field(kMaxmem) = "64M";
    Field(kOptions) = "MaxTime 30";
    Solve("h#", "3");
    EXPECT_EQ(QString::fromLatin1(ReadFile(QFileInfo(InputPath()).fileName())),
              "BeginProblem\r\nProtocol " + InDir(ProtocolName()) +
                  "\r\nPieces\r\nWhite Qd1 Ke1\r\nBlack Ke8\r\nStipulation h#3\r\nOption NoBoard MaxTime "
                  "30\r\nEndProblem\r\n");
    EXPECT_EQ(ListItems(popeye->List1()), QStringList{"Calculating..."});
    EXPECT_FALSE(popeye->Command2()->isEnabled());
    EXPECT_EQ(popeye->Command3()->text(), "&Hide");
    QTest::mouseClick(popeye->Command3(), Qt::LeftButton);  // Hide: the run goes on
    EXPECT_TRUE(popeye->isHidden());

    ASSERT_TRUE(WaitFor([&] { return popeye->Command2()->isEnabled(); }, 10000));
    EXPECT_TRUE(popeye->isVisible());
    EXPECT_EQ(ListItems(popeye->List1()),
              (QStringList{"Popeye fake", "stipulation h#3", "solution complete"}));
    EXPECT_EQ(ReadFile(QStringLiteral("args.txt")).trimmed(), "-maxmem 64M " + InputPath().toUtf8());
    EXPECT_FALSE(Exists(ProtocolName()));
    EXPECT_EQ(popeye->Command3()->text(), "Cl&ose");
    EXPECT_EQ(popeye->Label2()->text(), "");
    EXPECT_FALSE(popeye->Timer1()->isActive());
}

TEST_F(PopeyeWindowTest, CopyResizeAndDeactivate) {
    StartWithPopeye();
    popeye->List1()->addItems({"1.Qd8#", "solution finished."});
    fakes.clipboard.text = QStringLiteral("old");
    QTest::mouseClick(popeye->Command4(), Qt::LeftButton);
    EXPECT_EQ(fakes.clipboard.text, "1.Qd8#\r\nsolution finished.\r\n");
    popeye->List1()->clear();
    QTest::mouseClick(popeye->Command4(), Qt::LeftButton);
    EXPECT_EQ(fakes.clipboard.text, "");

    popeye->resize(900, 500);
    EXPECT_EQ(popeye->List1()->size(), QSize(900 - 312, 500 - 31));

    popeye->Label2()->setText(QStringLiteral("00:10"));
    popeye->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(popeye));
    window->activateWindow();
    ASSERT_TRUE(WaitFor([&] { return popeye->Label2()->text().isEmpty(); }));
}

TEST(PrintLines, OneLinePerItemOnPages) {
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("out.pdf")));
    QStringList lines;
    for (int i = 0; i < 200; ++i) {
        lines << QStringLiteral("line %1").arg(i);
    }
    EXPECT_TRUE(PrintLines(printer, lines));
    EXPECT_GT(QFileInfo(printer.outputFileName()).size(), 0);
}

}  // namespace
}  // namespace engines::ui::testing
