// Two copies of the program share one settings file; a settings file may
// hold lines that are not text.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "settings/settings_file.h"
#include "settings/style.h"

using namespace settings;
namespace fs = std::filesystem;

namespace {

class SharedFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("pandrel-sharing-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_appDir = m_dir.string() + "/";
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Read(const std::string& name) const {
        std::string text;
        ReadFile(m_appDir + name, text);
        return text;
    }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(m_appDir + name, std::ios::binary) << text;
    }

    fs::path m_dir;
    std::string m_appDir;
};

// One copy of the program: saves its styles one by one and its recent lines
// after each, as a copy that is closed and started again would.
int RunCopy(const std::string& appDir, int copy, int styles) {
    ProgramSettings program;
    program.AppDir = appDir;
    Style style;
    ReadSettings(style, program);
    if (copy == 0) {
        program.RecentEngine = "Popeye";
    }
    AddRecentFile(program, "/books/copy" + std::to_string(copy) + ".pgn");
    for (int i = 0; i < styles; ++i) {
        Style s;
        ResetStyle(s, program);
        s.CurrentStyle = "Copy" + std::to_string(copy) + "-" + std::to_string(i);
        StyleWrite mode = StyleWrite::kSave;
        if (!WriteStyle(s, program, mode) || !SaveRecent(s, program)) {
            return 1;
        }
    }
    return 0;
}

TEST_F(SharedFolder, TwoCopiesNeverUndoEachOthersWrites) {
    constexpr int kStyles = 40;
    Write("Pandrel.ini", "RecentFile = /books/before.pgn\r\n");
    pid_t children[2];
    for (int copy = 0; copy < 2; ++copy) {
        children[copy] = ::fork();
        ASSERT_GE(children[copy], 0);
        if (children[copy] == 0) {
            ::_exit(RunCopy(m_appDir, copy, kStyles));
        }
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    ProgramSettings program;
    program.AppDir = m_appDir;
    Style style;
    const ReadResult read = ReadSettings(style, program);
    EXPECT_EQ(read.damagedLine, 0);
    std::vector<std::string> names = read.newStyles;
    std::sort(names.begin(), names.end());
    std::vector<std::string> expected;
    for (int copy = 0; copy < 2; ++copy) {
        for (int i = 0; i < kStyles; ++i) {
            expected.push_back("Copy" + std::to_string(copy) + "-" + std::to_string(i));
        }
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
    const auto& recent = program.RecentFiles;
    for (const char* name : {"/books/copy0.pgn", "/books/copy1.pgn", "/books/before.pgn"}) {
        EXPECT_NE(std::find(recent.begin(), recent.end(), name), recent.end()) << name;
    }
    // Copy 1 never chose an engine: it leaves copy 0's line alone.
    EXPECT_EQ(program.RecentEngine, "Popeye");
    // No half-written file is left behind.
    for (const auto& entry : fs::directory_iterator(m_dir)) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
    }
}

TEST_F(SharedFolder, LinesThatAreNotTextKeepTheirDefaultsAndTheFileIsKeptOnce) {
    struct Case {
        const char* what;
        std::string line;
    };
    const Case cases[] = {
        {"binary", std::string("\x00\x01\x02\xff junk \x00", 11)},
        {"overlong line", "  SqrWidth = 30 ; " + std::string(kMaxSettingsLine, 'x')},
        {"invalid UTF-8",
         "BeginStyle = D\xe9"
         "faut"},
        {"overlong UTF-8 form", "BeginStyle = \xc0\xaf"},
        {"surrogate", "BeginStyle = \xed\xa0\x80"},
        {"cut sequence", "BeginStyle = \xe2\x82"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(m_appDir + std::string(kBadCopyName));
        const std::string original =
            "RecentFile = /a.pgn\r\nRecentStyle = Alpha\r\nBeginStyle = Alpha\r\n"
            "  SqrWidth = 20\r\n" +
            c.line + "\r\n  SqrHeight = 99\r\nEndStyle\r\n";
        Write("Pandrel.ini", original);

        ProgramSettings program;
        program.AppDir = m_appDir;
        Style style;
        const ReadResult read = ReadSettings(style, program);
        EXPECT_EQ(read.damagedLine, 5);
        EXPECT_EQ(style.CurrentStyle, "Alpha");
        EXPECT_EQ(style.SQRWIDTH, 20 * 15);
        EXPECT_EQ(style.SQRHEIGHT, 225);  // after the damaged line: the default
        EXPECT_EQ(program.RecentFiles[0], "/a.pgn");

        // The first write keeps the file as it was; later writes leave that copy.
        Style other;
        ResetStyle(other, program);
        other.CurrentStyle = "Beta";
        StyleWrite mode = StyleWrite::kSave;
        ASSERT_TRUE(WriteStyle(other, program, mode));
        EXPECT_EQ(Read(std::string(kBadCopyName)), original);
        ASSERT_TRUE(SaveRecent(style, program));
        EXPECT_EQ(Read(std::string(kBadCopyName)), original);
        EXPECT_NE(Read("Pandrel.ini").find("BeginStyle = Beta"), std::string::npos);
    }
}

TEST(IsTextLine, TakesUtf8TextWithTabs) {
    for (const char* line :
         {"", "BeginStyle = Défaut", "a\tb", "\xf0\x9f\x98\x80 \xe2\x82\xac", "\xf4\x8f\xbf\xbf"}) {
        EXPECT_TRUE(IsTextLine(line)) << line;
    }
    for (const char* line : {"\x7f", "a\rb", "\xf4\x90\x80\x80", "\xf8\x88\x80\x80\x80", "\x80"}) {
        EXPECT_FALSE(IsTextLine(line)) << line;
    }
    EXPECT_TRUE(IsTextLine(std::string(kMaxSettingsLine, 'a')));
    EXPECT_FALSE(IsTextLine(std::string(kMaxSettingsLine + 1, 'a')));
}

}  // namespace
