// Start-up, command line, recent files, minimising and closing.

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTimer>

#include <QMenu>

#include "diagram/ui/about_dialog.h"
#include "diagram/ui/book_panel.h"
#include "diagram/ui/manual_window.h"
#include "diagram/ui/picture_view.h"
#include "diagram/ui/style_list.h"
#include "diagram/ui/tests/window_fixture.h"
#include "diagram/ui/working_files.h"

namespace diagram::ui::testing {
namespace {

const QByteArray kTwoStyles =
    "RecentFile = C:\\OLD.PGN\r\n"
    "RecentFile = /home/ann/new.fen\r\n"
    "RecentEngine = Popeye\r\n"
    "RecentStyle = Alpha\r\n"
    "BeginStyle = Zeta\r\n"
    "  SqrWidth = 20\r\n"
    "  SqrHeight = 20\r\n"
    "  BorderWidth = 6\r\n"
    "EndStyle\r\n"
    "BeginStyle = Alpha\r\n"
    "  SqrWidth = 10\r\n"
    "  SqrHeight = 10\r\n"
    "  CopyCounter = 1\r\n"
    "EndStyle\r\n";

QStringList Items(const StyleList* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) {
        items << list->itemText(i);
    }
    return items;
}

TEST_F(WindowTest, StartsWithoutSettingsFile) {
    Start();
    EXPECT_EQ(window->windowTitle(), "Pandrel - Pandrel.bmp");
    EXPECT_EQ(Items(window->Combo1()), QStringList{"CUSTOM"});
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(window->action(QStringLiteral("MNFileList%1").arg(i))->isVisible()) << i;
    }
    EXPECT_EQ(Text1()->text(), "");
    EXPECT_EQ(window->Label3()->text(), "(0x0)");
    EXPECT_EQ(position::VetToFEN(program.vet, program.Shape()), "8/8/8/8/8/8/8/8");
    // Default style: 8 squares of 15 pixels and a 4-pixel margin.
    EXPECT_EQ(window->PicMain()->size(), QSize(124, 124));
    EXPECT_TRUE(QRegularExpression("^F\\d{6}$").match(QString::fromStdString(program.WorkName)).hasMatch());
    EXPECT_EQ(program.settings.AppDir, AppDir());
    EXPECT_EQ(QDir::current(), QDir(dir.path()));
    EXPECT_TRUE(program.KeepWindows);
    EXPECT_FALSE(window->Frame2()->isVisible());
}

TEST_F(WindowTest, StartsWithTwoStyles) {
    WriteFile("Pandrel.ini", kTwoStyles);
    Start();
    EXPECT_EQ(Items(window->Combo1()), (QStringList{"CUSTOM", "Alpha", "Zeta"}));
    EXPECT_EQ(window->Combo1()->currentText(), "Alpha");
    EXPECT_EQ(program.style.SQRWIDTH, 150);
    EXPECT_EQ(window->PicMain()->size(), QSize(84, 84));
    EXPECT_TRUE(window->action("MNpy")->isChecked());
    EXPECT_FALSE(window->action("MNCrafty")->isChecked());
    EXPECT_EQ(window->action("MNFileList0")->text(), "&1 /home/ann/new.fen");
    EXPECT_EQ(window->action("MNFileList1")->text(), "&2 C:\\OLD.PGN");
    EXPECT_TRUE(window->action("MNFileList1")->isVisible());
    EXPECT_FALSE(window->action("MNFileList2")->isVisible());
}

TEST_F(WindowTest, StartUpRunsTheHooksInOrder) {
    std::vector<std::string> calls;
    MainWindow& w = Create();
    w.hooks().FindEngines = [&] {
        calls.push_back("engines");
        program.engines.PyDictionaryBase = "base ";  // as finding Popeye sets it
    };
    w.hooks().ToolbarPictures = [&] { calls.push_back("toolbars"); };
    w.hooks().CmdLoad = [&] { calls.push_back("load " + program.book.BookFile); };
    w.hooks().FillWindowLists = [&] { calls.push_back("lists"); };
    const std::string first = QDir::current().filePath("first.pgn").toStdString();
    Start({"first.pgn"});
    EXPECT_EQ(calls, (std::vector<std::string>{"engines", "toolbars", "load " + first, "lists"}));
    EXPECT_EQ(program.settings.PyDictionaryText, "base ");
}

TEST_F(WindowTest, CommandLineOpensFirstFileAndStartsCopiesForTheOthers) {
    const QString startFolder = QDir::currentPath();
    int loads = 0;
    Create().hooks().CmdLoad = [&] { ++loads; };
    Start({" a.pgn ", "/games/b.pgn", "c d.fen"});
    EXPECT_EQ(loads, 1);
    // Relative names count from where the program was started.
    EXPECT_EQ(program.book.BookFile, QDir(startFolder).filePath("a.pgn").toStdString());
    ASSERT_EQ(fakes.processes.started.size(), 2u);
    EXPECT_EQ(fakes.processes.started[0].program, dir.filePath("pandrel"));
    EXPECT_EQ(fakes.processes.started[0].arguments, QStringList{"/games/b.pgn"});
    EXPECT_EQ(fakes.processes.started[1].arguments, QStringList{QDir(startFolder).filePath("c d.fen")});
}

TEST_F(WindowTest, NoCommandLineOpensNothing) {
    int loads = 0;
    Create().hooks().CmdLoad = [&] { ++loads; };
    Start({"  "});
    EXPECT_EQ(loads, 0);
    EXPECT_TRUE(fakes.processes.started.empty());
}

TEST_F(WindowTest, RecentFilesMoveUpAndDropTheOldest) {
    Start();
    auto captions = [&] {
        QStringList shown;
        for (int i = 0; i < 4; ++i) {
            QAction* item = window->action(QStringLiteral("MNFileList%1").arg(i));
            shown << (item->isVisible() ? item->text() : QString());
        }
        return shown;
    };
    window->AddRecentFile("a.pgn");
    window->AddRecentFile("b.pgn");
    EXPECT_EQ(captions(), (QStringList{"&1 b.pgn", "&2 a.pgn", "", ""}));
    window->AddRecentFile("a.pgn");  // the same file again moves up
    EXPECT_EQ(captions(), (QStringList{"&1 a.pgn", "&2 b.pgn", "", ""}));
    window->AddRecentFile("c.pgn");
    window->AddRecentFile("d.pgn");
    window->AddRecentFile("e.pgn");  // a fifth file drops the oldest
    EXPECT_EQ(captions(), (QStringList{"&1 e.pgn", "&2 d.pgn", "&3 c.pgn", "&4 a.pgn"}));
    window->AddRecentFile("C:\\GAMES\\OPENINGS\\SICILIAN\\NAJDORF.PGN");
    EXPECT_EQ(captions().first(), "&1 C:\\...\\OPENINGS\\SICILIAN\\NAJDORF.PGN");
    window->AddRecentFile("R&D.pgn");
    EXPECT_EQ(captions().first(), "&1 R&&D.pgn");
}

TEST_F(WindowTest, RecentFileCommandOpensThatBook) {
    std::vector<std::string> opened;
    Create().hooks().CmdLoad = [&] { opened.push_back(program.book.BookFile); };
    Start();
    window->AddRecentFile("x.pgn");
    window->AddRecentFile("y.fen");
    window->action("MNFileList1")->trigger();
    EXPECT_EQ(opened, std::vector<std::string>{"x.pgn"});
}

TEST_F(WindowTest, ExitWritesTheRecentLinesOldestFirst) {
    WriteFile("Pandrel.ini", "RecentStyle = Alpha\r\nBeginStyle = Alpha\r\n  SqrWidth = 10\r\nEndStyle\r\n");
    Start();
    window->AddRecentFile("one.pgn");
    window->AddRecentFile("two.pgn");
    window->AddRecentFile("three.pgn");
    QTest::keyClick(Text1(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_FALSE(window->isVisible());
    const QByteArray saved = ReadFile("Pandrel.ini");
    EXPECT_TRUE(
        saved.startsWith("RecentFile = one.pgn\r\nRecentFile = two.pgn\r\nRecentFile = three.pgn\r\n"))
        << saved.toStdString();
    EXPECT_TRUE(saved.contains("BeginStyle = Alpha")) << saved.toStdString();
}

TEST_F(WindowTest, SettingsFileThatIsNotTextIsToldOnceAndKept) {
    QByteArray junk = "RecentStyle = Alpha\r\nBeginStyle = Alpha\r\n  SqrWidth = 10\r\n";
    junk +=
        QByteArray("\x00\x01\xfe\xff", 4) + QByteArray(200, '\x00') + "\r\n  SqrHeight = 99\r\nEndStyle\r\n";
    WriteFile("Pandrel.ini", junk);
    Start();
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(
        fakes.messages.shown[0].text,
        "Pandrel.ini could not be read whole: line 4 is not text. What it could not read keeps its default, "
        "and the file is kept as " +
            InDir("Pandrel.ini.bad") + " before it is written again.");
    EXPECT_EQ(program.style.SQRWIDTH, 150);
    EXPECT_EQ(program.style.SQRHEIGHT, 225);
    window->AddRecentFile("one.pgn");
    QTest::keyClick(Text1(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(ReadFile("Pandrel.ini.bad"), junk);
    EXPECT_TRUE(ReadFile("Pandrel.ini").startsWith("RecentFile = one.pgn\r\n"));

    // The next start has been told already.
    fakes.messages.shown.clear();
    window.reset();
    Start();
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(WindowTest, ClosingRemovesOnlyThisCopysWorkingFiles) {
    Start();
    const QString own = QString::fromStdString(program.WorkName);
    const QString other = own == "F999999" ? "F999998" : "F999999";
    for (const QString& name : {own + ".tmp", own + "o.tmp", own + "i.tmp", other + ".tmp", other + "o.tmp",
                                QStringLiteral("position.bin"), QStringLiteral("book.lrn")}) {
        WriteFile(name, "x");
    }
    program.engines.craftyFound = false;
    window->close();
    EXPECT_FALSE(QFile::exists(InDir(own + ".tmp")));
    EXPECT_FALSE(QFile::exists(InDir(own + "o.tmp")));
    EXPECT_FALSE(QFile::exists(InDir(own + "i.tmp")));
    EXPECT_TRUE(QFile::exists(InDir(other + ".tmp")));
    EXPECT_TRUE(QFile::exists(InDir(other + "o.tmp")));
    // Without Crafty its learning files are none of our business.
    EXPECT_TRUE(QFile::exists(InDir("position.bin")));
}

TEST_F(WindowTest, ClosingRemovesCraftysLearningFilesWhenCraftyWasFound) {
    Start();
    for (const char* name : kCraftyLearningFiles) {
        WriteFile(QString::fromLatin1(name), "x");
    }
    program.engines.craftyFound = true;
    window->close();
    for (const char* name : kCraftyLearningFiles) {
        EXPECT_FALSE(QFile::exists(InDir(QString::fromLatin1(name)))) << name;
    }
}

TEST(WorkingFiles, OwnNames) {
    struct Case {
        const char* file;
        bool own;
    } cases[] = {
        {"F123456.tmp", true},   {"F123456o.tmp", true}, {"F123456i.tmp", true}, {"F1234567.tmp", false},
        {"F123457.tmp", false},  {"F123456.txt", false}, {"f123456.tmp", false}, {"F123456", false},
        {"XF123456.tmp", false}, {"F12345.tmp", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsOwnWorkingFile(c.file, "F123456"), c.own) << c.file;
    }
    EXPECT_FALSE(IsOwnWorkingFile("F123456.tmp", ""));
}

// A window that records when it was closed and whether it could still hide.
class Recorder : public QWidget {
  public:
    Recorder(std::vector<std::pair<int, bool>>& log, int number, const diagram::ui::Program& program)
        : m_log(log), m_number(number), m_program(program) {}

  protected:
    void closeEvent(QCloseEvent*) override { m_log.emplace_back(m_number, m_program.KeepWindows); }

  private:
    std::vector<std::pair<int, bool>>& m_log;
    int m_number;
    const diagram::ui::Program& m_program;
};

TEST_F(WindowTest, ClosingUnloadsSecondaryWindowsInOrder) {
    Start();
    std::vector<std::pair<int, bool>> log;
    std::vector<std::unique_ptr<Recorder>> windows;
    for (int number : {10, 3, 8, 1, 6}) {
        windows.push_back(std::make_unique<Recorder>(log, number, program));
        window->RegisterWindow(static_cast<Secondary>(number), windows.back().get());
    }
    bool stepRan = false;
    window->hooks().unloadSteps.push_back([&] { throw std::runtime_error("file already closed"); });
    window->hooks().unloadSteps.push_back([&] { stepRan = true; });
    window->close();
    EXPECT_EQ(log, (std::vector<std::pair<int, bool>>{
                       {1, false}, {3, false}, {6, false}, {8, false}, {10, false}}));
    EXPECT_TRUE(stepRan);
    EXPECT_TRUE(QFile::exists(InDir("Pandrel.ini")));
}

TEST_F(WindowTest, MinimisingHidesTheVisibleSecondaryWindowsAndRestoringShowsThem) {
    Start();
    QWidget history, view, popeye, crafty;
    window->RegisterWindow(Secondary::kHistory, &history);
    window->RegisterWindow(Secondary::kView, &view);
    window->RegisterWindow(Secondary::kPopeye, &popeye);
    window->RegisterWindow(Secondary::kCrafty, &crafty);
    history.show();
    popeye.show();
    window->setWindowState(Qt::WindowMinimized);
    EXPECT_FALSE(history.isVisible());
    EXPECT_FALSE(popeye.isVisible());
    window->setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(history.isVisible());
    EXPECT_TRUE(popeye.isVisible());
    EXPECT_FALSE(view.isVisible());
    EXPECT_FALSE(crafty.isVisible());
}

// Help > Contents shows the manual in the program's own window, so a desktop
// without a web browser shows it too; a missing manual is named.
TEST_F(WindowTest, HelpShowsTheManualOrNamesTheMissingFile) {
    Start();
    window->action("MNContents")->trigger();  // no manual in the folder
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_TRUE(fakes.messages.shown[0].text.startsWith("Help not available!"));
    EXPECT_TRUE(fakes.messages.shown[0].text.contains(QDir::toNativeSeparators(InDir("pandrel.html"))));
    EXPECT_EQ(fakes.messages.shown[0].buttons, platform::Buttons::kOk);
    EXPECT_EQ(fakes.messages.shown[0].icon, platform::Icon::kExclamation);

    WriteFile("pandrel.html",
              "<html><body><p>Effects <a href=\"https://example.org/\">web</a></p>"
              "<h2 id=\"keys\">Keys</h2></body></html>");
    fakes.desktop.fail = true;  // no web browser on this desktop
    window->action("MNContents")->trigger();
    auto* manual = qobject_cast<ManualWindow*>(window->SecondaryWindow(Secondary::kManual));
    ASSERT_NE(manual, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(manual));
    EXPECT_TRUE(manual->TextManual()->toPlainText().contains("Effects"));
    EXPECT_TRUE(fakes.desktop.opened.empty());
    EXPECT_EQ(fakes.messages.shown.size(), 1u);

    // A link out of the manual goes to the browser; without one, a box says so.
    QTextBrowser* text = manual->TextManual();
    const QTextCursor link = text->document()->find(QStringLiteral("web"));
    ASSERT_FALSE(link.isNull());
    QTextCursor inside(text->document());
    inside.setPosition(link.selectionStart() + 1);
    QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, text->cursorRect(inside).center());
    ASSERT_EQ(fakes.desktop.opened.size(), 1u);
    EXPECT_EQ(fakes.desktop.opened[0], QUrl("https://example.org/"));
    ASSERT_EQ(fakes.messages.shown.size(), 2u);
    EXPECT_TRUE(fakes.messages.shown[1].text.contains("https://example.org/"));
    EXPECT_TRUE(text->toPlainText().contains("Effects")) << "the page went blank";

    // Escape hides it; Help brings the same window back.
    QTest::keyClick(text, Qt::Key_Escape);
    EXPECT_FALSE(manual->isVisible());
    window->action("MNContents")->trigger();
    EXPECT_EQ(window->SecondaryWindow(Secondary::kManual), manual);
    EXPECT_TRUE(manual->isVisible());
}

TEST(About, VersionLine) {
    EXPECT_EQ(VersionLine("3.0.2"), "Pandrel v3.02");
    EXPECT_EQ(VersionLine("3.1.12"), "Pandrel v3.112");
    EXPECT_EQ(VersionLine("4"), "Pandrel v4.00");
}

TEST_F(WindowTest, AboutShowsTheProgramAndClosesWithEscape) {
    Start();
    QStringList texts;
    QString title;
    bool closed = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        for (const QLabel* label : dialog->findChildren<QLabel*>()) {
            texts << label->text();
        }
        QTest::keyClick(dialog, Qt::Key_Escape);
        closed = !dialog->isVisible();
    });
    window->action("MNAbout")->trigger();
    EXPECT_TRUE(closed);
    EXPECT_EQ(title, "About Pandrel");
    EXPECT_TRUE(texts.contains("Chess Diagram Editor"));
    EXPECT_TRUE(texts.contains("for Linux"));
    EXPECT_TRUE(texts.contains("Pandrel v3.02"));
}

TEST_F(WindowTest, MenuTableStates) {
    Start();
    struct Item {
        const char* name;
        const char* caption;
        const char* key;
        bool enabled;
    } items[] = {
        {"MNNew", "&New", "Ctrl+N", true},
        {"MNCriteria", "&Criteria", "Ctrl+F", false},
        {"MNClose", "Cl&ose book", "Ctrl+O", false},
        {"MNUndo", "&Undo Rec", "Ctrl+Z", false},
        {"MNRefresh", "Refre&sh = <Enter>", "", true},
        {"MNRotate", "R&otate 90\u00b0", "F4", true},
        {"MNDown", "Move &Down", "F8", true},
        {"MNstyle", "Styl&e", "Ctrl+E", true},
        {"MNCrafty", "&Crafty", "Ctrl+K", true},
        {"MNAbout", "&About...", "", true},
    };
    for (const Item& item : items) {
        QAction* action = window->action(item.name);
        ASSERT_NE(action, nullptr) << item.name;
        EXPECT_EQ(action->text(), QString::fromUtf8(item.caption)) << item.name;
        EXPECT_EQ(action->shortcut().toString(QKeySequence::PortableText), item.key) << item.name;
        EXPECT_EQ(action->isEnabled(), item.enabled) << item.name;
    }
    EXPECT_EQ(window->menu("MNEffects")->actions().size(), 9);
    EXPECT_EQ(window->menu("MNCopy")->actions().size(), 3);
}

}  // namespace
}  // namespace diagram::ui::testing
