#include <QAbstractItemView>
#include <QDir>
#include <QLineEdit>

#include "diagram/ui/style_list.h"

#include "engines/ui/tests/engines_fixture.h"

namespace engines::ui::testing {
namespace {

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

TEST_F(EnginesTest, NothingInstalledDisablesBothAndForgetsTheEngine) {
    WriteFile(QStringLiteral("Pandrel.ini"), "RecentEngine = Popeye\r\n");
    Start();
    EXPECT_FALSE(Action("MNpy")->isEnabled());
    EXPECT_FALSE(Action("MNCrafty")->isEnabled());
    EXPECT_FALSE(program.engines.engineButton);
    EXPECT_EQ(program.settings.RecentEngine, "");
    EXPECT_EQ(program.engines.PyDictionaryBase, "");
    // The toolbar's engine button has nothing to run.
    RunRecentEngine(window->host());
    EXPECT_EQ(Popeye(), nullptr);
}

TEST_F(EnginesTest, BothInstalledFillPickListsDictionaryAndDepths) {
    WriteFile(QStringLiteral("Pandrel.ini"),
              "BeginStyle = Fairy\r\n  PyDictionary = Z=wZebra&&\r\nEndStyle\r\nRecentStyle = Fairy\r\n");
    WriteFile(QStringLiteral("Py.exe"), "", true);
    WriteFile(QStringLiteral("Crafty.exe"), "", true);
    WriteFile(QStringLiteral("Py.dat"), "; fields\r\n0 #\r\n0 h# '#\r\n02Circe\r\n90&&N=wS\r\n");
    Start();
    EXPECT_TRUE(Action("MNpy")->isEnabled());
    EXPECT_TRUE(Action("MNCrafty")->isEnabled());
    EXPECT_TRUE(program.engines.engineButton);
    EXPECT_EQ(program.settings.RecentEngine, "Popeye");
    EXPECT_TRUE(Action("MNpy")->isChecked());
    EXPECT_FALSE(Action("MNCrafty")->isChecked());
    EXPECT_EQ(program.settings.PyDictionaryText, "&&N=wS&&Z=wZebra&&");

    ASSERT_NE(Popeye(), nullptr);  // created, hidden, for its pick lists
    EXPECT_FALSE(Popeye()->isVisible());
    EXPECT_EQ(ComboItems(Popeye()->Combo1(0)), (QStringList{"#", "h# '#"}));
    EXPECT_EQ(ComboItems(Popeye()->Combo1(2)), (QStringList{"Circe"}));
    EXPECT_EQ(Popeye()->Combo1(0)->currentText(), "");
    ASSERT_NE(Crafty(), nullptr);
    EXPECT_EQ(Crafty()->windowTitle(), "Crafty");
    EXPECT_EQ(ComboItems(Crafty()->Combo1()), (QStringList{"8", "9", "10", "11", "12", "13", "14"}));
    EXPECT_EQ(Crafty()->Combo1()->currentText(), "12");
}

TEST_F(EnginesTest, SecondCopyLeavesTheLogsOfTheFirst) {
    WriteFile(QStringLiteral("Crafty.exe"), "", true);
    WriteFile(QStringLiteral("log.001"), "old");
    WriteFile(QStringLiteral("game.001"), "old");
    Start();
    EXPECT_FALSE(engines->anotherCopyRunning());
    EXPECT_FALSE(Exists(QStringLiteral("log.001")));
    EXPECT_FALSE(Exists(QStringLiteral("game.001")));

    WriteFile(QStringLiteral("log.002"), "running analysis");
    diagram::ui::Program secondProgram;
    diagram::ui::MainWindow second(secondProgram, fakes.services());
    Engines* secondEngines = Attach(second.host());
    diagram::ui::StartupOptions options;
    options.exeDir = dir.path().toStdString();
    second.Load(options);
    EXPECT_TRUE(secondEngines->anotherCopyRunning());
    EXPECT_TRUE(Exists(QStringLiteral("log.002")));
}

TEST_F(EnginesTest, PopeyeCommandListsTheBoardsPieces) {
    WriteFile(QStringLiteral("py"), "", true);
    WriteFile(QStringLiteral("Py.dat"), "90&&N=wS&&n=bS&&q=nD\r\n");
    WriteFile(QStringLiteral("Crafty.exe"), "", true);
    Start();
    SetFen("4k3/8/8/8/8/8/4q3/1N2K1N1");
    program.engines.PopeyeFields[kStipulation] = "#";
    Crafty();
    Action("MNCrafty")->trigger();
    ASSERT_TRUE(Action("MNCrafty")->isChecked());

    Action("MNpy")->trigger();
    PopeyeWindow* popeye = Popeye();
    ASSERT_NE(popeye, nullptr);
    EXPECT_TRUE(popeye->isVisible());
    EXPECT_EQ(popeye->windowTitle(), "Popeye");
    EXPECT_EQ(popeye->Combo1(kWhitePieces)->currentText(), " Sg1b1 Ke1");
    EXPECT_EQ(popeye->Combo1(kBlackPieces)->currentText(), " Ke8");
    EXPECT_EQ(popeye->Combo1(kNeutralPieces)->currentText(), " De2");
    EXPECT_EQ(program.engines.PopeyeFields[kWhitePieces], "Sg1b1 Ke1");
    EXPECT_EQ(program.engines.PopeyeFields[kNeutralPieces], "De2");
    EXPECT_EQ(program.engines.PopeyeFields[kStipulation], "#");  // the other fields keep theirs
    EXPECT_EQ(program.settings.RecentEngine, "Popeye");
    EXPECT_TRUE(Action("MNpy")->isChecked());
    EXPECT_FALSE(Action("MNCrafty")->isChecked());
}

TEST_F(EnginesTest, CraftyCommandHandsOverTheFenInEnglishLetters) {
    WriteFile(QStringLiteral("Pandrel.ini"),
              "BeginStyle = French\r\n  PiecesList = pPcCfFtTdDrR\r\n  EnglishNotation = pPnNbBrRqQkK\r\n"
              "EndStyle\r\nRecentStyle = French\r\n");
    WriteFile(QStringLiteral("Crafty.exe"), "", true);
    Start();
    SetFen("tcfdrfct/pppppppp/8/8/8/8/PPPPPPPP/TCFDRFCT");
    Crafty()->Text1()->setText(QStringLiteral("old"));
    RunRecentEngine(window->host());  // the remembered engine is Crafty
    EXPECT_TRUE(Crafty()->isVisible());
    EXPECT_EQ(Crafty()->Text1()->text(), kStart);
    EXPECT_EQ(window->Text1()->text(), "tcfdrfct/pppppppp/8/8/8/8/PPPPPPPP/TCFDRFCT");
    EXPECT_TRUE(Action("MNCrafty")->isChecked());
    EXPECT_EQ(program.settings.RecentEngine, "Crafty");
}

TEST_F(EnginesTest, ForeignRememberedEngineIsForgotten) {
    struct Case {
        bool popeye;
        const char* recent;
    };
    for (const Case c : {Case{false, ""}, Case{true, "Popeye"}}) {
        WriteFile(QStringLiteral("Pandrel.ini"), "RecentEngine = Stockfish\r\n");
        if (c.popeye) {
            WriteFile(QStringLiteral("popeye"), "", true);
        }
        Start();
        EXPECT_EQ(program.settings.RecentEngine, c.recent) << c.popeye;
        // What start-up decided is what the exit writes back.
        window->close();
        const QByteArray ini = ReadFile(QStringLiteral("Pandrel.ini"));
        EXPECT_FALSE(ini.contains("Stockfish")) << ini.constData();
        EXPECT_EQ(ini.contains("RecentEngine = Popeye"), c.popeye) << ini.constData();
        window.reset();
        QFile::remove(InDir(QStringLiteral("popeye")));
    }
}

// The user runs Popeye from the menu, changes the style, then clicks the
// toolbar's engine button: Popeye comes again.
TEST_F(EnginesTest, EngineButtonKeepsTheEngineAcrossAStyleChange) {
    WriteFile(QStringLiteral("Pandrel.ini"),
              "BeginStyle = Alpha\r\nEndStyle\r\nBeginStyle = Zeta\r\nEndStyle\r\nRecentEngine = Crafty\r\n");
    WriteFile(QStringLiteral("py"), "", true);
    WriteFile(QStringLiteral("crafty"), "", true);
    Start();
    Action("MNpy")->trigger();
    Popeye()->hide();
    diagram::ui::StyleList* list = window->Combo1();
    list->showPopup();
    QAbstractItemView* view = list->view();
    const int zeta = list->FindStyle(QStringLiteral("Zeta"));
    ASSERT_GE(zeta, 0);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(zeta, 0)).center());
    ASSERT_EQ(program.style.CurrentStyle, "Zeta");
    EXPECT_EQ(program.settings.RecentEngine, "Popeye");
    RunRecentEngine(window->host());
    EXPECT_TRUE(Popeye()->isVisible());
    EXPECT_FALSE(Crafty()->isVisible());
}

TEST_F(EnginesTest, PopeyeOnTheSearchPath) {
    const QString bin = InDir(QStringLiteral("bin"));
    QDir().mkpath(bin);
    WriteFile(QStringLiteral("bin/popeye"), "", true);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.toUtf8() + ":" + path);
    Start();
    qputenv("PATH", path);
    EXPECT_TRUE(Action("MNpy")->isEnabled());
    EXPECT_EQ(program.engines.popeyeProgram, (bin + "/popeye").toStdString());
}

TEST_F(EnginesTest, EngineWindowsHideWhileTheProgramRunsAndCloseWithIt) {
    WriteFile(QStringLiteral("Py.exe"), "", true);
    WriteFile(QStringLiteral("Crafty.exe"), "", true);
    Start();
    Action("MNpy")->trigger();
    Action("MNCrafty")->trigger();
    for (QWidget* w : {static_cast<QWidget*>(Popeye()), static_cast<QWidget*>(Crafty())}) {
        EXPECT_FALSE(w->close());
        EXPECT_TRUE(w->isHidden());
        w->show();
    }
    program.KeepWindows = false;
    EXPECT_TRUE(Popeye()->close());
    EXPECT_TRUE(Crafty()->close());
}

}  // namespace
}  // namespace engines::ui::testing
