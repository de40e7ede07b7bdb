#pragma once
// Running pandrel-cli from a test, in a settings folder of the test's own.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace clitest {

/// What a run of pandrel-cli gave: its exit status (-1 when it did not
/// exit normally) and its standard output.
struct CliRun {
    int status = -1;
    std::string out;
};

/// Runs a shell command line: its exit status and standard output.
inline CliRun RunShell(const std::string& command) {
    CliRun run;
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

/// Runs pandrel-cli with the arguments (already quoted for the shell); its
/// messages on standard error are dropped.
inline CliRun Cli(const std::string& args) {
    return RunShell(std::string(CLI_PATH) + " " + args + " 2>/dev/null");
}

/// An empty folder for each test, named after it and removed after it;
/// `m_app` passes it to pandrel-cli as the settings folder.
class CliFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = std::filesystem::temp_directory_path() /
                ("pandrel-" + std::string(test->test_suite_name()) + "-" + test->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
        m_app = " --appdir " + m_dir.string() + " ";
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    /// Writes a file of the folder, byte for byte.
    void Write(const std::string& name, const std::string& text) {
        std::ofstream(m_dir / name, std::ios::binary) << text;
    }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    std::filesystem::path m_dir;
    std::string m_app;
};

}  // namespace clitest
