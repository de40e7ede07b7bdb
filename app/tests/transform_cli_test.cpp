#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/tests/cli_fixture.h"

namespace {

TEST(TransformCli, OperationsAndRefusals) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "pandrel-cli-transform";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "Pandrel.ini") << "BeginStyle = Plain\r\nEndStyle\r\n"
                                       << "BeginStyle = Wide\r\n  BorderWidth = 10\r\nEndStyle\r\n";
    struct Case {
        std::string args;
        int status;
        std::string out;  // stdout and stderr
    };
    for (const Case& c : {
             Case{"left rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", 0,
                  "nbqkbnr1/ppppppp1/8/8/8/8/PPPPPPP1/NBQKBNR1\n"},
             Case{"rotate k7/8/8/8/8/8/8/R7", 0, "R6k/8/8/8/8/8/8/8\n"},
             Case{"--style wide right K9", 0, "1K8/82/82/82/82/82/82/82\n"},
             // Files swap on any board: a8 to h8, and a 10-file row end to end.
             Case{"vmirror k7/8/8/8/8/8/8/6R1", 0, "7k/8/8/8/8/8/8/1R6\n"},
             Case{"--style wide vmirror K8q", 0, "q8K/82/82/82/82/82/82/82\n"},
             Case{"--style wide dmirror K9", 2,
                  "pandrel-cli transform: Diagonal Mirror needs a square board, this one has 8 rows and 10 "
                  "columns\n"},
             Case{
                 "spin K", 2,
                 "pandrel-cli transform: unknown operation \"spin\" (left, right, up, down, rotate, hmirror, "
                 "dmirror, vmirror)\n"},
         }) {
        const std::string command =
            std::string(CLI_PATH) + " transform --appdir " + dir.string() + " " + c.args + " 2>&1";
        const clitest::CliRun run = clitest::RunShell(command);
        EXPECT_EQ(run.status, c.status) << c.args;
        EXPECT_EQ(run.out, c.out) << c.args;
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
