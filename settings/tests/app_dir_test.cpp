#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "settings/app_dir.h"

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
    EXPECT_EQ(ManualPath(Path("usr/bin")), Path("usr/share/pandrel") + "/pandrel.html");
    EXPECT_EQ(ManualPath(Path("portable")), Path("portable") + "/pandrel.html");
    EXPECT_EQ(InstalledDataDir(""), "");
}

}  // namespace
