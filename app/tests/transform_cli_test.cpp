#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct CliOutput {
    int status = -1;
    std::string out;
};

// Runs pandrel-cli transform in an empty program folder, with stderr
// folded into the output so that messages can be checked.
CliOutput Transform(const std::string& dir, const std::string& args) {
    CliOutput run;
    const std::string command = std::string(CLI_PATH) + " transform --appdir " + dir + " " + args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0)
        run.out.append(buf, n);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

TEST(TransformCli, OperationsAndRefusals) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "pandrel-cli-transform";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "Pandrel.ini") << "BeginStyle = Wide\r\n  BorderWidth = 10\r\nEndStyle\r\n"
                                       << "BeginStyle = Plain\r\nEndStyle\r\n";
    const std::string d = dir.string();
    const std::string start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";
    struct Case {
        std::string args;
        int status;
        std::string out;
    };
    for (const Case& c : {
             Case{"--style plain left " + start, 0, "nbqkbnr1/ppppppp1/8/8/8/8/PPPPPPP1/NBQKBNR1\n"},
             Case{"--style plain up " + start, 0, "pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR/8\n"},
             Case{"--style plain rotate k7/8/8/8/8/8/8/R7", 0, "R6k/8/8/8/8/8/8/8\n"},
             Case{"--style plain dmirror q7/8/8/8/8/8/8/8", 0, "8/8/8/8/8/8/8/7q\n"},
             Case{"--style plain hmirror K7", 0, "8/8/8/8/8/8/8/K7\n"},
             Case{"--style wide right K9", 0, "1K8/82/82/82/82/82/82/82\n"},
             Case{"--style wide rotate K9", 2,
                  "pandrel-cli transform: Rotate 90 needs a square board, this one has 8 rows and 10 "
                  "columns\n"},
             Case{"--style wide dmirror K9", 2,
                  "pandrel-cli transform: Diagonal Mirror needs a square board, this one has 8 rows and 10 "
                  "columns\n"},
             Case{
                 "--style plain spin K", 2,
                 "pandrel-cli transform: unknown operation \"spin\" (left, right, up, down, rotate, hmirror, "
                 "dmirror)\n"},
             Case{"--style plain left", 2, "pandrel-cli transform: wrong number of arguments\n"},
         }) {
        const CliOutput r = Transform(d, c.args);
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_EQ(r.out, c.out) << c.args;
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
