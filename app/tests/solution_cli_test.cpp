#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/tests/cli_fixture.h"

namespace {

struct Result {
    int status;
    std::string out;
};

Result RunSolution(const std::string& args) {
    const std::string command = std::string(CLI_PATH) + " solution " + args + " 2>&1";
    const clitest::CliRun run = clitest::RunShell(command);
    return {run.status, run.out};
}

TEST(SolutionCli, NodesKindsDepthsAndBoards) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "pandrel-cli-solution";
    std::filesystem::create_directories(dir);
    const std::string appdir = " --appdir " + dir.string() + " ";
    std::ofstream(dir / "Pandrel.ini") << "BeginStyle = Plain\r\nEndStyle\r\n";
    std::ofstream(dir / "Py.dat") << "90&&N=wS&&n=bS\r\n";
    std::ofstream(dir / "direct.out") << "Popeye Linux v4.104 (1024 MB)\n\n"
                                         "      1...Ka2-a1\n          2.Qb4-a3 #\n\n"
                                         "   1.Kd8*c7 ! zugzwang.\n      1...Ka2-a1\n          2.Qb4-b1 #\n\n"
                                         "   1.Qb4-b3 + ?\n    but\n      1...Ka2*b3 !\n\n"
                                         "solution finished. Time = 0.015 s\n";
    std::ofstream(dir / "help.out") << "a) \n\n  1.Kd3-c2 Qc8-b7   2.Rd5-d2 Qb7-b1 #\n\n"
                                       "+b) bKd3-->e3  \n\n  1.Rd5-d3 Qc8-e6 +   2.Ke3-d4 Sa5-b3 #\n"
                                       "garbage line\n";
    std::ofstream(dir / "series.out") << "  1.Kh6-g6   2.Kg6-f5 #\n";

    Result r = RunSolution(appdir + "--fen 3K4/2n5/8/8/1Q2B3/8/k7/8 " + (dir / "direct.out").string());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "a\t0\ttwin\t\t3K4/2n5/8/8/1Q2B3/8/k7/8\n"
              "a\t1\tset\tKa2-a1\t3K4/2n5/8/8/1Q2B3/8/8/k7\n"
              "a\t2\tset\tQb4-a3 #\t3K4/2n5/8/8/4B3/Q7/8/k7\n"
              "a\t1\tkey\tKd8*c7\t8/2K5/8/8/1Q2B3/8/k7/8\n"
              "a\t2\tdefence\tKa2-a1\t8/2K5/8/8/1Q2B3/8/8/k7\n"
              "a\t3\tcontinuation\tQb4-b1 #\t8/2K5/8/8/4B3/8/8/kQ6\n"
              "a\t1\ttry\tQb4-b3 +\t3K4/2n5/8/8/4B3/1Q6/k7/8\n"
              "a\t2\trefutation\tKa2*b3\t3K4/2n5/8/8/4B3/1k6/8/8\n");

    // Twins: a continued twin starts from the twin before; a line the
    // reader does not know is kept, with the twin's board.
    r = RunSolution(appdir + "--fen 2Q5/8/3p4/N2r4/8/2pk4/8/K7 " + (dir / "help.out").string());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "a\t0\ttwin\t\t2Q5/8/3p4/N2r4/8/2pk4/8/K7\n"
              "a\t1\thelp\tKd3-c2\t2Q5/8/3p4/N2r4/8/2p5/2k5/K7\n"
              "a\t2\thelp\tQc8-b7\t8/1Q6/3p4/N2r4/8/2p5/2k5/K7\n"
              "a\t3\thelp\tRd5-d2\t8/1Q6/3p4/N7/8/2p5/2kr4/K7\n"
              "a\t4\thelp\tQb7-b1 #\t8/8/3p4/N7/8/2p5/2kr4/KQ6\n"
              "b\t0\ttwin\tbKd3-->e3\t2Q5/8/3p4/N2r4/8/2p1k3/8/K7\n"
              "b\t1\thelp\tRd5-d3\t2Q5/8/3p4/N7/8/2prk3/8/K7\n"
              "b\t2\thelp\tQc8-e6 +\t8/8/3pQ3/N7/8/2prk3/8/K7\n"
              "b\t3\thelp\tKe3-d4\t8/8/3pQ3/N7/3k4/2pr4/8/K7\n"
              "b\t4\thelp\tSa5-b3 #\t8/8/3pQ3/8/3k4/1Npr4/8/K7\n"
              "b\t0\tunparsed\tgarbage line\t2Q5/8/3p4/N2r4/8/2p1k3/8/K7\n");

    // Standard input.
    r = RunSolution(appdir + "--fen 8/8/7K/8/8/8/8/8 - < " + (dir / "series.out").string());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "a\t0\ttwin\t\t8/8/7K/8/8/8/8/8\n"
              "a\t1\tseries\tKh6-g6\t8/8/6K1/8/8/8/8/8\n"
              "a\t2\tseries\tKg6-f5 #\t8/8/8/5K2/8/8/8/8\n");

    r = RunSolution(appdir + "--fen 8 " + (dir / "missing.out").string());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "pandrel-cli solution: cannot read " + (dir / "missing.out").string() + "\n");
    EXPECT_EQ(RunSolution(appdir + (dir / "help.out").string()).status, 2);
    EXPECT_EQ(RunSolution(appdir + "--fen 8 a b").status, 2);
    EXPECT_EQ(RunSolution(appdir + "--fen").status, 2);
}

}  // namespace
