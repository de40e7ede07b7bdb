#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/tests/cli_fixture.h"

namespace {

struct CliResult {
    int status = -1;
    std::string out;
};

// Runs pandrel-cli analyse; stderr joins stdout when withErrors.
CliResult Analyse(const std::string& args, bool withErrors = false) {
    const clitest::CliRun run =
        clitest::RunShell(std::string(CLI_PATH) + " analyse --appdir /nonexistent-appdir " + args +
                          (withErrors ? " 2>&1" : " 2>/dev/null"));
    CliResult result;
    result.status = run.status;
    result.out = run.out;
    return result;
}

bool HaveStockfish() {
    for (const char* path : {"/usr/games/stockfish", "/usr/bin/stockfish", "/usr/local/bin/stockfish"}) {
        if (std::filesystem::exists(path)) {
            return true;
        }
    }
    return false;
}

TEST(AnalyseCli, Lines) {
    if (!HaveStockfish()) {
        GTEST_SKIP() << "stockfish is not installed";
    }
    const CliResult mate = Analyse("--depth 12 '2k5/8/1K6/8/8/8/8/3Q4 w'");
    EXPECT_EQ(mate.status, 0);
    EXPECT_EQ(mate.out.substr(0, 6), "1: #2 ") << mate.out;

    const CliResult three = Analyse(
        "--engine stockfish --multipv 3 --movetime 300 "
        "'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR'");
    EXPECT_EQ(three.status, 0);
    EXPECT_NE(three.out.find("\n2: "), std::string::npos) << three.out;
    EXPECT_NE(three.out.find("\n3: "), std::string::npos) << three.out;
    EXPECT_EQ(three.out.find("\n4: "), std::string::npos) << three.out;

    // Black to move, mated already: White's side has mated.
    const CliResult mated = Analyse("--depth 5 'k7/1Q6/1K6/8/8/8/8/8 b'");
    EXPECT_EQ(mated.status, 0);
    EXPECT_EQ(mated.out, "1: #0\n");
}

TEST(AnalyseCli, Failures) {
    struct Case {
        const char* args;
        int status;
        const char* message;
    };
    for (const Case c : {
             Case{"'8/8/8/8/8/8/8/8'", 1, "illegal position: White must have one king"},
             Case{"'4k3/8/8/8/8/8/8/4K3 x'", 1, "side to move"},
             Case{"--engine /nonexistent/engine '4k3/8/8/8/8/8/8/4K3'", 1, "no engine"},
             Case{"--depth 0 '4k3/8/8/8/8/8/8/4K3'", 2, "--depth"},
             Case{"--depth 3 --movetime 10 '4k3/8/8/8/8/8/8/4K3'", 2, "not both"},
             Case{"--multipv 6 '4k3/8/8/8/8/8/8/4K3'", 2, "--multipv"},
             Case{"", 2, "wrong number of arguments"},
         }) {
        const CliResult r = Analyse(c.args, true);
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << c.args << ": " << r.out;
    }
}

TEST(AnalyseCli, EngineThatDies) {
    const auto dir = std::filesystem::temp_directory_path() / "pandrel-analyse-dies";
    std::filesystem::create_directories(dir);
    const auto script = dir / "engine";
    std::ofstream(script)
        << "#!/bin/sh\nread line\necho uciok\nread line\necho readyok\nread line\nread line\n"
           "read line\necho 'info depth 1 score cp 3 pv e2e4'\nexit 3\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    const CliResult r =
        Analyse("--engine " + script.string() + " 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR'", true);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("stopped unexpectedly"), std::string::npos) << r.out;
    std::filesystem::remove_all(dir);
}

}  // namespace
