// The Problem window and Export LaTeX.

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>

#include "diagram/ui/output_commands.h"
#include "diagram/ui/problem_window.h"
#include "diagram/ui/tests/window_fixture.h"

namespace diagram::ui::testing {
namespace {

class ProblemTest : public WindowTest {
  protected:
    void Begin() {
        Create();
        commands = new ProblemCommands(window->host());
        Start();
    }
    ProblemWindow* Open() {
        window->findChild<QAction*>("MNProblem")->trigger();
        ProblemWindow* problem = nullptr;
        [&] {
            QTRY_VERIFY_WITH_TIMEOUT(
                (problem = window->findChild<ProblemWindow*>("Problem")) != nullptr && problem->isVisible(),
                5000);
        }();
        return problem;
    }
    void Type(QWidget* field, const QString& text) {
        field->setFocus();
        QTest::keyClicks(field, text);
    }
    ProblemCommands* commands = nullptr;
};

TEST_F(ProblemTest, TypedFieldsFillTheRecordAndTheCountIsChecked) {
    Begin();
    Text1()->setText("4k3/8/8/8/8/8/8/R3K3");
    ProblemWindow* problem = Open();
    ASSERT_NE(problem, nullptr);
    Type(problem->findChild<QPlainTextEdit*>("Authors"), "Sam Loyd");
    QTest::keyClick(problem->findChild<QPlainTextEdit*>("Authors"), Qt::Key_Return);
    // Key events carry only ASCII here: the Cyrillic name comes as typed text.
    problem->findChild<QPlainTextEdit*>("Authors")->insertPlainText(QString::fromUtf8("Вася Пупкин"));
    Type(problem->findChild<QLineEdit*>("Stipulation"), "#2");
    Type(problem->findChild<QLineEdit*>("Source"), "Chess & Co");
    Type(problem->findChild<QPlainTextEdit*>("Legend"), "G = Grasshopper");
    EXPECT_EQ(program.problem.authors, (std::vector<std::string>{"Sam Loyd", "Вася Пупкин"}));
    EXPECT_EQ(program.problem.stipulation, "#2");
    EXPECT_EQ(program.problem.source, "Chess & Co");
    EXPECT_EQ(program.problem.legend, (std::vector<position::LegendEntry>{{"G", "Grasshopper"}}));

    QLabel* check = problem->findChild<QLabel*>("CountCheck");
    EXPECT_EQ(check->text(), "The board: (2+1)");
    Type(problem->findChild<QLineEdit*>("Count"), "(2+2)");
    EXPECT_EQ(check->text(), "The board: (2+1)   The count (2+2) does not match the board (2+1)");
    // Putting the missing man on the board settles it.
    Text1()->setText("4k2p/8/8/8/8/8/8/R3K3");
    QTRY_COMPARE_WITH_TIMEOUT(check->text(), QString("The board: (2+2)"), 5000);

    // The preview is the diagram with its captions: taller than the board.
    const QLabel* preview = problem->findChild<QLabel*>("Preview");
    EXPECT_GT(preview->pixmap().height(), window->renderer().logicalSize().height());
    EXPECT_EQ(preview->pixmap().width(), window->renderer().logicalSize().width());

    // A record filled elsewhere shows at once.
    program.problem = {};
    program.problem.award = "1st Prize";
    emit window->host().problemChanged();
    EXPECT_EQ(problem->findChild<QLineEdit*>("Award")->text(), "1st Prize");
    EXPECT_TRUE(problem->findChild<QPlainTextEdit*>("Authors")->toPlainText().isEmpty());
}

// A secondary window like the others: one of it, placed beside the main
// window once and then left where the user puts it, hidden by its close box,
// closed with the main window.
TEST_F(ProblemTest, WindowIsASecondaryWindowOfTheMainWindow) {
    Begin();
    ProblemWindow* problem = Open();
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(window->SecondaryWindow(Secondary::kProblem), problem);
    EXPECT_FALSE(problem->frameGeometry().intersects(window->frameGeometry()));
    const QPoint moved = problem->pos() + QPoint(10, -10);
    problem->move(moved);
    problem->close();
    EXPECT_FALSE(problem->isVisible());
    EXPECT_EQ(Open(), problem);
    EXPECT_EQ(window->findChildren<ProblemWindow*>().size(), 1);
    // Where the user put it, only raised as far as its grown preview needs
    // to stay on the screen.
    EXPECT_EQ(problem->x(), moved.x());
    EXPECT_LE(problem->y(), moved.y());
    EXPECT_TRUE(problem->screen()->availableGeometry().contains(problem->frameGeometry()));

    // A stipulation the solver's window holds shows in the preview.
    const int plain = problem->findChild<QLabel*>("Preview")->pixmap().height();
    emit window->host().solverFieldsChanged("h#2", "Circe", "");
    EXPECT_EQ(program.solverProblem.stipulation, "h#2");
    EXPECT_GT(problem->findChild<QLabel*>("Preview")->pixmap().height(), plain);
    EXPECT_EQ(RecordForOutput(program).conditions, "Circe");
    program.problem.conditions = "Madrasi";  // the record's own wins
    EXPECT_EQ(RecordForOutput(program).conditions, "Madrasi");

    const QPointer<ProblemWindow> kept = problem;
    QTest::keyClick(Text1(), Qt::Key_X, Qt::ControlModifier);  // Exit
    EXPECT_TRUE(kept == nullptr || !kept->isVisible());
}

// A style of large squares: the filled-in preview scrolls instead of
// making the window taller than the screen.
TEST_F(ProblemTest, LargeDiagramKeepsTheWindowOnTheScreen) {
    WriteFile("Pandrel.ini",
              "Style = Big\r\nBeginStyle = Big\r\n  SqrWidth = 110\r\n  SqrHeight = 110\r\nEndStyle\r\n");
    Begin();
    ASSERT_EQ(program.style.CurrentStyle, "Big");
    ProblemWindow* problem = Open();
    ASSERT_NE(problem, nullptr);
    const QRect screen = problem->screen()->availableGeometry();
    ASSERT_GT(problem->findChild<QLabel*>("Preview")->pixmap().height(), screen.height());
    EXPECT_TRUE(screen.contains(problem->frameGeometry()));
}

TEST_F(ProblemTest, ExportLatexWritesThePositionWithItsRecord) {
    Begin();
    ASSERT_NE(window->findChild<QAction*>("MNExportLatex"), nullptr);
    Text1()->setText("4k3/8/8/8/8/8/8/R3K3");
    program.problem.authors = {"Sam Loyd"};
    // The solver window's fields, as it tells them, stand in for what the
    // record lacks.
    emit window->host().solverFieldsChanged("h#2", "", "");
    const QString path = InDir("p.tex");
    EXPECT_EQ(commands->ExportLatex(path), "");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains("\\author{Loyd, Sam}")) << text.toStdString();
    EXPECT_TRUE(text.contains("\\pieces{wTa1, wKe1, sKe8}")) << text.toStdString();
    EXPECT_TRUE(text.contains("\\stipulation{h\\#2}")) << text.toStdString();
    EXPECT_EQ(commands->ExportLatex(InDir("no/such/folder/p.tex")).left(13), "Cannot write ");
}

TEST_F(ProblemTest, CaptionsGoOnSaveAndCopyImageOnlyWhenAsked) {
    Begin();
    auto* output = new OutputCommands(*window);
    Text1()->setText("4k3/8/8/8/8/8/8/R3K3");
    program.problem.authors = {"Sam Loyd"};
    program.problem.stipulation = "#2";
    program.ImageName = "plain.png";
    ASSERT_TRUE(output->CmdSave());
    output->CopyImage();
    const QImage plain(InDir("plain.png"));
    EXPECT_EQ(fakes.clipboard.image.size(), plain.size());
    EXPECT_FALSE(fakes.clipboard.svg.contains("Sam Loyd"));

    QAction* captions = window->findChild<QAction*>("MNCaptions");
    ASSERT_NE(captions, nullptr);
    captions->trigger();
    EXPECT_TRUE(program.CaptionsOnOutput);
    program.ImageName = "captioned.png";
    ASSERT_TRUE(output->CmdSave());
    const QImage captioned(InDir("captioned.png"));
    EXPECT_EQ(captioned.width(), plain.width());
    EXPECT_GT(captioned.height(), plain.height());
    output->CopyImage();
    EXPECT_EQ(fakes.clipboard.image.size(), captioned.size());
    EXPECT_TRUE(fakes.clipboard.svg.contains(">Sam Loyd</text>"));
    EXPECT_TRUE(fakes.clipboard.svg.contains(">(2+1)</text>"));

    // With nothing in the record the diagram is the plain one.
    program.problem = {};
    program.ImageName = "empty.png";
    ASSERT_TRUE(output->CmdSave());
    EXPECT_EQ(QImage(InDir("empty.png")), plain);
}

}  // namespace
}  // namespace diagram::ui::testing
