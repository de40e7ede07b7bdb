#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include <unistd.h>

#include "settings/app_dir.h"
#include "settings/settings_file.h"

using namespace settings;
namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class AppDirTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_root = fs::temp_directory_path() /
                 ("pandrel-appdir-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_root);
        fs::create_directories(m_root);
    }
    void TearDown() override { fs::remove_all(m_root); }

    void Write(const fs::path& relative, const std::string& text) {
        fs::create_directories((m_root / relative).parent_path());
        std::ofstream(m_root / relative, std::ios::binary) << text;
    }
    std::string Path(const std::string& relative) const { return (m_root / relative).string(); }

    fs::path m_root;
};

// An installed layout: prefix/bin beside prefix/share/pandrel with the shipped files.
TEST_F(AppDirTest, ChoosesTheFolderByLayout) {
    Write("usr/bin/pandrel", "");
    Write("usr/share/pandrel/Pandrel.ini", "shipped styles");
    Write("usr/share/pandrel/Py.dat", "shipped data");
    Write("portable/pandrel", "");
    Write("portable-ini/Pandrel.ini", "own styles");
    Write("build/bin/pandrel", "");  // a build folder: bin/ but no share/pandrel beside it
    Write("locked/Pandrel.ini", "locked styles");

    const std::string xdg = Path("xdg");
    const std::string home = Path("home");
    const auto writableExcept = [](std::string locked) {
        return [locked](const std::string& dir) { return dir.find(locked) == std::string::npos; };
    };
    struct Case {
        const char* what;
        std::string exeDir;
        std::string xdgDataHome;
        std::function<bool(const std::string&)> writable;
        std::string appDir;
        std::string seededIni;  // expected Pandrel.ini in appDir, "" for none
    };
    const Case cases[] = {
        {"installed, XDG_DATA_HOME set", Path("usr/bin"), xdg, {}, xdg + "/Pandrel/", "shipped styles"},
        {"installed, trailing slash", Path("usr/bin") + "/", xdg, {}, xdg + "/Pandrel/", "shipped styles"},
        {"installed, XDG_DATA_HOME unset",
         Path("usr/bin"),
         "",
         {},
         home + "/.local/share/Pandrel/",
         "shipped styles"},
        {"installed, XDG_DATA_HOME relative",
         Path("usr/bin"),
         "rel/data",
         {},
         home + "/.local/share/Pandrel/",
         "shipped styles"},
        {"own folder, no Pandrel.ini", Path("portable"), xdg, {}, Path("portable") + "/", ""},
        {"own folder with Pandrel.ini",
         Path("portable-ini"),
         xdg,
         {},
         Path("portable-ini") + "/",
         "own styles"},
        {"build folder", Path("build/bin"), xdg, {}, Path("build/bin") + "/", ""},
        {"own folder not writable", Path("locked"), xdg, writableExcept("locked"), xdg + "/Pandrel/",
         "locked styles"},
    };
    for (const Case& c : cases) {
        fs::remove_all(xdg);
        fs::remove_all(home);
        const std::string dir = ResolveAppDir(AppDirInput{c.exeDir, c.xdgDataHome, home, c.writable});
        EXPECT_EQ(dir, c.appDir) << c.what;
        EXPECT_TRUE(fs::is_directory(dir)) << c.what;
        const fs::path ini = fs::path(dir) / "Pandrel.ini";
        EXPECT_EQ(fs::exists(ini) ? ReadAll(ini) : "", c.seededIni) << c.what;
    }
    // Nothing was ever written beside an installed executable.
    std::set<std::string> bin;
    for (const auto& entry : fs::directory_iterator(m_root / "usr/bin")) {
        bin.insert(entry.path().filename().string());
    }
    EXPECT_EQ(bin, std::set<std::string>{"pandrel"});
}

TEST_F(AppDirTest, SeedsOnceAndNeverOverwrites) {
    Write("usr/share/pandrel/Pandrel.ini", "shipped styles");
    Write("usr/share/pandrel/Py.dat", "shipped data");
    fs::create_directories(m_root / "usr/bin");
    Write("xdg/Pandrel/Pandrel.ini", "the user's styles");
    const AppDirInput input{Path("usr/bin"), Path("xdg"), Path("home"), {}};

    const std::string dir = ResolveAppDir(input);
    EXPECT_EQ(ReadAll(fs::path(dir) / "Pandrel.ini"), "the user's styles");
    EXPECT_EQ(ReadAll(fs::path(dir) / "Py.dat"), "shipped data");  // the missing one is still given

    // A later release ships other files: the user's copies stay.
    Write("usr/share/pandrel/Py.dat", "newer data");
    ResolveAppDir(input);
    EXPECT_EQ(ReadAll(fs::path(dir) / "Py.dat"), "shipped data");
    EXPECT_FALSE(fs::exists(fs::path(dir) / "Py.dat.seed"));
}

TEST_F(AppDirTest, ManualLiesWithTheSharedData) {
    fs::create_directories(m_root / "usr/share/pandrel");
    fs::create_directories(m_root / "usr/bin");
    EXPECT_EQ(ManualPath(Path("usr/bin")), Path("usr/share/doc/pandrel") + "/pandrel.html");
    EXPECT_EQ(ManualPath(Path("usr/bin") + "/"), Path("usr/share/doc/pandrel") + "/pandrel.html");
    EXPECT_EQ(ManualPath(Path("portable")), Path("portable") + "/pandrel.html");
    EXPECT_EQ(InstalledDataDir(""), "");
}

TEST_F(AppDirTest, WithoutHomeTheUsersOwnHomeOrNone) {
    // HOME unset or relative: the password database's home, never /tmp.
    const char* kept = std::getenv("HOME");
    const std::string keptHome = kept != nullptr ? kept : "";
    for (const char* home : {static_cast<const char*>(nullptr), "", "relative/home"}) {
        if (home == nullptr) {
            ::unsetenv("HOME");
        } else {
            ::setenv("HOME", home, 1);
        }
        const std::string found = AppDirInput::FromEnvironment("/usr/bin").home;
        EXPECT_FALSE(found.empty());
        EXPECT_EQ(found.front(), '/');
        EXPECT_NE(found.rfind("/tmp", 0), 0u) << found;
    }
    if (kept != nullptr) {
        ::setenv("HOME", keptHome.c_str(), 1);
    }

    // No home at all: no folder, and the reason.
    EXPECT_EQ(UserDataDir("", ""), "");
    EXPECT_EQ(UserDataDir("", "relative"), "");
    fs::create_directories(m_root / "usr/bin");
    std::string why;
    EXPECT_EQ(
        ResolveAppDir(AppDirInput{Path("usr/bin"), "", "", [](const std::string&) { return false; }}, &why),
        "");
    EXPECT_NE(why.find("no home folder"), std::string::npos) << why;
}

TEST_F(AppDirTest, NeverAFolderOthersCouldChange) {
    Write("usr/share/pandrel/Pandrel.ini", "shipped styles");
    fs::create_directories(m_root / "usr/bin");
    fs::create_directories(m_root / "shared");
    ::chmod(Path("shared").c_str(), 0777);  // writable by all, no sticky bit
    fs::create_directories(m_root / "portable-open");
    ::chmod(Path("portable-open").c_str(), 0777);
    fs::create_directories(m_root / "home");

    std::string why;
    EXPECT_EQ(ResolveAppDir(AppDirInput{Path("usr/bin"), Path("shared/data"), Path("home"), {}}, &why), "");
    EXPECT_NE(why.find("shared"), std::string::npos) << why;
    EXPECT_FALSE(fs::exists(m_root / "shared/data"));
    // A portable folder open to all: the user's own folder instead.
    EXPECT_EQ(ResolveAppDir(AppDirInput{Path("portable-open"), "", Path("home"), {}}),
              Path("home") + "/.local/share/Pandrel/");
    // A folder the program makes is the user's alone.
    struct stat st {};
    ASSERT_EQ(::stat(Path("home/.local/share/Pandrel").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(AppDirTest, SeedingNeverWritesThroughAPlantedLink) {
    Write("usr/share/pandrel/Pandrel.ini", "shipped styles");
    Write("usr/share/pandrel/Py.dat", "shipped data");
    Write("victim", "precious");
    fs::create_directories(m_root / "usr/bin");
    fs::create_directories(m_root / "xdg/Pandrel");
    // Every name the seeding could write: the files and their temporaries.
    fs::create_symlink(m_root / "victim", m_root / "xdg/Pandrel/Pandrel.ini");
    fs::create_symlink(m_root / "victim", m_root / "xdg/Pandrel/Pandrel.ini.seed");
    fs::create_symlink(m_root / "made-through-link", m_root / "xdg/Pandrel/Py.dat.seed");

    const std::string dir = ResolveAppDir(AppDirInput{Path("usr/bin"), Path("xdg"), Path("home"), {}});
    EXPECT_EQ(dir, Path("xdg") + "/Pandrel/");
    EXPECT_EQ(ReadAll(m_root / "victim"), "precious");
    EXPECT_FALSE(fs::exists(m_root / "made-through-link"));
    EXPECT_TRUE(fs::is_symlink(m_root / "xdg/Pandrel/Pandrel.ini"));  // not the program's to replace
    EXPECT_EQ(ReadAll(m_root / "xdg/Pandrel/Py.dat"), "shipped data");
}

TEST_F(AppDirTest, SavingSettingsReplacesPlantedLinks) {
    Write("victim", "precious");
    fs::create_directories(m_root / "app");
    fs::create_symlink(m_root / "victim", m_root / "app/Pandrel.ini");
    fs::create_symlink(m_root / "victim", m_root / ("app/" + std::string(kLockName)));
    fs::create_symlink(m_root / "victim", m_root / ("app/" + std::string(kTempName)));
    ProgramSettings program;
    program.AppDir = Path("app") + "/";
    program.RecentEngine = "Popeye";
    Style style;
    style.CurrentStyle = "Alpha";
    EXPECT_TRUE(SaveRecent(style, program));
    StyleWrite mode = StyleWrite::kSave;
    WriteStyle(style, program, mode);
    EXPECT_EQ(ReadAll(m_root / "victim"), "precious");
    EXPECT_FALSE(fs::is_symlink(m_root / "app/Pandrel.ini"));
    EXPECT_NE(ReadAll(m_root / "app/Pandrel.ini").find("RecentEngine = Popeye"), std::string::npos);
}

}  // namespace
