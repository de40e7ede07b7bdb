// File > Save as Popeye Input.

#include <QFile>

#include "engines/ui/popeye_input_command.h"
#include "engines/ui/tests/engines_fixture.h"

namespace engines::ui {
namespace {

class PopeyeInputTest : public testing::EnginesTest {};

QString Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST_F(PopeyeInputTest, WritesTheRecordOverThePopeyeFields) {
    Start();
    auto* command = new PopeyeInputCommand(window->host());
    ASSERT_NE(window->findChild<QAction*>("MNPopeyeInput"), nullptr);
    SetFen("6k1/8/6K1/8/8/8/8/Q7");
    // Nothing to solve yet: the window's own warning.
    EXPECT_EQ(command->SavePopeyeInput(InDir("p.inp")), "Enter the stipulation!");
    EXPECT_FALSE(QFile::exists(InDir("p.inp")));

    program.engines.PopeyeFields[kStipulation] = "#";
    program.engines.PopeyeFields[kMoves] = "2";
    program.engines.PopeyeFields[kOptions] = "Try";
    program.problem.authors = {"Sam Loyd"};
    program.problem.source = "Le Sphinx";
    program.problem.stipulation = "#1";
    EXPECT_EQ(command->SavePopeyeInput(InDir("p.inp")), "");
    EXPECT_EQ(
        Read(InDir("p.inp")),
        "BeginProblem\r\nAuthor Sam Loyd\r\nOrigin Le Sphinx\r\nPieces\r\nWhite Kg6 Qa1\r\nBlack Kg8\r\n"
        "Stipulation #1\r\nOption Try\r\nEndProblem\r\n");
}

}  // namespace
}  // namespace engines::ui
