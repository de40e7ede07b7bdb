#include "platform/safe_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A folder per test, with a "victim" file outside the folder links point at.
class SafeFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_root = fs::temp_directory_path() / ("pandrel-safe-" + std::string(info->name()));
        fs::remove_all(m_root);
        fs::create_directories(m_root / "data");
        std::ofstream(m_root / "victim") << "precious";
    }
    void TearDown() override { fs::remove_all(m_root); }

    std::string Data(const std::string& name) const { return (m_root / "data" / name).string(); }
    std::string Victim() const { return (m_root / "victim").string(); }
    void Plant(const std::string& name, const fs::path& target) const {
        fs::create_symlink(target, m_root / "data" / name);
    }

    fs::path m_root;
};

TEST_F(SafeFiles, CreateNewNeverOpensWhatIsThere) {
    Plant("link", Victim());
    Plant("dangling", m_root / "made-through-link");
    std::ofstream(Data("file")) << "old";
    for (const char* name : {"link", "dangling", "file"}) {
        const platform::NewFile file = platform::CreateNew(Data(name));
        EXPECT_FALSE(file) << name;
        EXPECT_EQ(file.error, EEXIST) << name;
    }
    EXPECT_EQ(ReadAll(Victim()), "precious");
    EXPECT_FALSE(fs::exists(m_root / "made-through-link"));
    EXPECT_EQ(ReadAll(Data("file")), "old");

    const platform::NewFile fresh = platform::CreateNew(Data("fresh"));
    ASSERT_TRUE(fresh);
    EXPECT_TRUE(platform::WriteAll(fresh.fd, "new"));
    ::close(fresh.fd);
    EXPECT_EQ(ReadAll(Data("fresh")), "new");
}

TEST_F(SafeFiles, TakenNamesGiveAnotherOfThePattern) {
    Plant("F123456.tmp", Victim());
    const std::string wanted = Data("F123456.tmp");
    const platform::NewFile file = platform::CreateUnderFreeName(
        [&wanted](int attempt) { return platform::OtherNumber(wanted, attempt); });
    ASSERT_TRUE(file);
    ::close(file.fd);
    EXPECT_NE(file.path, wanted);
    EXPECT_TRUE(std::regex_match(fs::path(file.path).filename().string(), std::regex("F[0-9]{6}\\.tmp")))
        << file.path;
    EXPECT_EQ(ReadAll(Victim()), "precious");
}

TEST(OtherNumber, ReplacesTheLastSixDigitsOfTheName) {
    const struct {
        std::string path;
        std::regex other;  // every attempt after the first
        bool varies;
    } cases[] = {
        {"/d/F123456.tmp", std::regex("/d/F[0-9]{6}\\.tmp"), true},
        {"/d/F123456o.tmp", std::regex("/d/F[0-9]{6}o\\.tmp"), true},
        {"/d/F123456s.pgn", std::regex("/d/F[0-9]{6}s\\.pgn"), true},
        {"/d123456/Crafty.rc", std::regex("/d123456/Crafty\\.rc"), false},  // digits of a folder stay
        {"/d/F1234567.tmp", std::regex("/d/F1234567\\.tmp"), false},        // seven digits are no such run
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::OtherNumber(c.path, 0), c.path);
        bool varied = false;
        for (int attempt = 1; attempt < 5; ++attempt) {
            const std::string other = platform::OtherNumber(c.path, attempt);
            EXPECT_TRUE(std::regex_match(other, c.other)) << other;
            varied = varied || other != c.path;
        }
        EXPECT_EQ(varied, c.varies) << c.path;
    }
}

TEST_F(SafeFiles, ReplacingALinkLeavesItsTargetAlone) {
    Plant("Pandrel.ini", Victim());
    Plant("out.bmp", Victim());
    Plant("dangling.png", m_root / "made-through-link");
    const struct {
        const char* name;
        bool (*write)(const std::string& path);
    } cases[] = {
        {"Pandrel.ini",
         [](const std::string& path) {
             return platform::ReplaceFile(platform::FolderOf(path), path, "mine", "F0000000.tmp", 0644);
         }},
        {"out.bmp", [](const std::string& path) { return platform::WriteOutputFile(path, "mine"); }},
        {"dangling.png", [](const std::string& path) { return platform::ReplaceFile(path, "mine"); }},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(c.write(Data(c.name))) << c.name;
        EXPECT_FALSE(fs::is_symlink(Data(c.name))) << c.name;
        EXPECT_EQ(ReadAll(Data(c.name)), "mine") << c.name;
    }
    EXPECT_EQ(ReadAll(Victim()), "precious");
    EXPECT_FALSE(fs::exists(m_root / "made-through-link"));
    // No temporary file is left behind.
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(m_root / "data")) {
        ++files;
    }
    EXPECT_EQ(files, 3u);
}

TEST_F(SafeFiles, DevicesInSystemFoldersAreWrittenAsTheyAre) {
    EXPECT_TRUE(platform::WriteOutputFile("/dev/null", "nothing"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_F(SafeFiles, RenameIfFreeNeverTakesATakenName) {
    Plant("Pandrel.ini", m_root / "made-through-link");
    for (const char* name : {"Pandrel.ini", "Py.dat"}) {
        const platform::NewFile temp = platform::CreateTemporary(Data(""), std::string(name) + ".seed");
        ASSERT_TRUE(temp);
        platform::WriteAll(temp.fd, "seed");
        ::close(temp.fd);
        EXPECT_EQ(platform::RenameIfFree(temp.path, Data(name)), std::string(name) == "Py.dat") << name;
        EXPECT_FALSE(fs::exists(temp.path));
    }
    EXPECT_TRUE(fs::is_symlink(Data("Pandrel.ini")));
    EXPECT_FALSE(fs::exists(m_root / "made-through-link"));
    EXPECT_EQ(ReadAll(Data("Py.dat")), "seed");
}

TEST_F(SafeFiles, FoldersOthersCouldChangeAreNotSafe) {
    const fs::path open = m_root / "open";
    const fs::path sticky = m_root / "sticky";
    const fs::path theirs = m_root / "theirs";
    fs::create_directories(open / "inner");
    fs::create_directories(sticky / "mine");
    fs::create_directories(theirs);
    ::chmod(open.c_str(), 0777);
    ::chmod(sticky.c_str(), 01777);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(theirs.c_str(), 4242, 4242), 0);
    }
    const struct {
        fs::path path;
        bool safe;
    } cases[] = {
        {m_root / "data", true},
        {m_root / "data/not/made/yet", true},
        {open / "inner", false},    // anyone may rename "inner" away
        {open, false},              // the folder itself is open to all
        {sticky / "mine", true},    // as the user's folder in /tmp
        {sticky / "mine/x", true},  //
        {sticky, false},            // a data folder must be closed to others
    };
    for (const auto& c : cases) {
        std::string why;
        EXPECT_EQ(platform::IsSafeFolderPath(c.path.string(), &why), c.safe) << c.path << ": " << why;
        EXPECT_EQ(why.empty(), c.safe) << c.path;
    }
    EXPECT_EQ(platform::IsSafeFolderPath("relative/path"),
              platform::IsSafeFolderPath(fs::absolute("relative/path").string()));
    EXPECT_FALSE(platform::IsSafeFolderPath(""));
    if (root) {
        // A link of another user's in a shared folder, pointing at a folder
        // of the user's own: its owner could point it elsewhere.
        fs::create_symlink(m_root / "data", sticky / "their-link");
        ASSERT_EQ(::lchown((sticky / "their-link").c_str(), 4242, 4242), 0);
        EXPECT_FALSE(platform::IsSafeFolderPath((sticky / "their-link/Pandrel").string()));
        EXPECT_FALSE(platform::IsSafeFolderPath((theirs / "Pandrel").string()));
        EXPECT_FALSE(platform::IsPrivateFolder(theirs.string()));
    }
}

TEST_F(SafeFiles, ProgramsAndLocksOnlyInPrivateFolders) {
    const fs::path data = m_root / "data";
    const struct {
        mode_t mode;
        bool privateFolder;
    } cases[] = {{0700, true}, {0755, true}, {0775, false}, {0757, false}, {01777, false}};
    for (const auto& c : cases) {
        ::chmod(data.c_str(), c.mode);
        EXPECT_EQ(platform::IsPrivateFolder(data.string()), c.privateFolder) << std::oct << c.mode;
        EXPECT_EQ(platform::RuntimeFolder(data.string(), "fallback/"),
                  c.privateFolder ? data.string() + "/" : "fallback/")
            << std::oct << c.mode;
    }
    EXPECT_FALSE(platform::IsPrivateFolder(Victim()));  // not a folder
    EXPECT_EQ(platform::RuntimeFolder("", "fallback/"), "fallback/");
    EXPECT_EQ(platform::RuntimeFolder("relative", "fallback/"), "fallback/");
}

}  // namespace
