#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/tests/cli_fixture.h"

namespace {

// Output and exit status of pandrel-cli with the arguments (quoted for the shell).
std::pair<int, std::string> RunCli(const std::string& args) {
    const clitest::CliRun run = clitest::Cli(args);
    return {run.status, run.out};
}

TEST(CliHtml, FragmentOfTheStyleInForce) {
    const auto dir = std::filesystem::temp_directory_path() / "pandrel-cli-html";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "Pandrel.ini") << "BeginStyle = Wide\r\n  BorderWidth = 3\r\n  BorderHeight = 2\r\n"
                                          "  PiecesList = pPnNbBrRqQkKxX\r\nEndStyle\r\n";
    const std::string app = " --appdir " + dir.string() + " ";

    // Squares fill by count: the "/" plays no part, so K lands on the fifth square.
    const auto [status, out] = RunCli("html" + app + "--style wide 'xX/2K'");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out,
              "<img src=\"xbw.gif\"><img src=\"Xwb.gif\"><img src=\"sqw.gif\"><br>\r\n"
              "<img src=\"sqb.gif\"><img src=\"Kww.gif\"><img src=\"sqb.gif\"><br>\r\n");

    EXPECT_EQ(RunCli("html" + app).first, 2);
    std::filesystem::remove_all(dir);
}

}  // namespace
