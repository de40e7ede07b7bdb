#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "settings/settings_file.h"
#include "settings/style_import.h"

using namespace settings;
namespace fs = std::filesystem;

namespace {

// Records what the import shows and answers its questions in turn (OK, or
// Yes for a replace question, when no answer is queued).
class FakeHost : public ImportHost {
  public:
    void Status(const std::string& text) override { statuses.push_back(text); }
    bool HasStyle(const std::string& name) override {
        for (const auto& listed : list) {
            if (Upper(listed) == Upper(name)) {
                return true;
            }
        }
        return false;
    }
    void AddStyle(const std::string& name) override { list.push_back(name); }
    ImportAnswer Ask(const std::string& text, ImportButtons buttons) override {
        asked.push_back(text);
        askedButtons.push_back(buttons);
        if (answers.empty()) {
            return buttons == ImportButtons::kYesNoCancel ? ImportAnswer::kYes : ImportAnswer::kOk;
        }
        const ImportAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<std::string> list;
    std::vector<std::string> statuses;
    std::vector<std::string> asked;
    std::vector<ImportButtons> askedButtons;
    std::deque<ImportAnswer> answers;
};

class StyleImport : public ::testing::Test {
  protected:
    void SetUp() override {
        m_root = fs::temp_directory_path() /
                 ("pandrel-import-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_root);
        fs::create_directories(m_root / "app");
        fs::create_directories(m_root / "styles");
        program.AppDir = (m_root / "app").string() + "/";
        program.PyDictionaryText = "dictionary in force";
        styles = (m_root / "styles").string() + "/";
    }
    void TearDown() override { fs::remove_all(m_root); }

    static void Write(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string Read(const std::string& path) {
        std::string text;
        ReadFile(path, text);
        return text;
    }
    std::string Ini() const { return Read(program.AppDir + "Pandrel.ini"); }
    // Block names in the settings file, in order.
    std::vector<std::string> Blocks() const {
        std::vector<std::string> names;
        std::istringstream in(Ini());
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("BeginStyle = ", 0) == 0) {
                names.push_back(line.substr(13, line.find_last_not_of("\r") - 12));
            }
        }
        return names;
    }
    ImportResult Import(const std::string& text, const std::string& folder = {}) {
        const std::string dir = folder.empty() ? styles : folder;
        Write(dir + "set.sty", text);
        return ImportStyles(dir + "set.sty", style, program, host);
    }

    fs::path m_root;
    std::string styles;
    Style style;
    ProgramSettings program;
    FakeHost host;
};

std::string Block(const std::string& name, const std::string& pieces, const std::string& more = {}) {
    return "BeginStyle = " + name + "\r\n  PiecesFile = " + pieces + "\r\n" + more + "EndStyle\r\n";
}

TEST_F(StyleImport, SavesCompleteBlocksAndCopiesTheirBitmaps) {
    Write(styles + "a.bmp", "pieces");
    Write(styles + "frame.bmp", "border");
    const ImportResult result = Import(
        "SqrWidth = 40\r\n"  // outside any block
        "EndStyle\r\n"       // without a block
        + Block("Beta", "a.bmp", "  BorderFile = frame.bmp\r\n  SqrWidth = 20 ; pixels\r\n") +
        "SqrHeight = 30\r\n" + Block("custom", "a.bmp") + Block("", "a.bmp") +
        "BeginStyle = Unfinished\r\n  PiecesFile = a.bmp\r\n" +
        Block("Alpha", "a.bmp", "  ShowGrid = yes\r\n"));
    EXPECT_EQ(result.saved, 2);
    EXPECT_FALSE(result.failed);
    EXPECT_TRUE(host.asked.empty());
    EXPECT_EQ(Blocks(), (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(host.list, (std::vector<std::string>{"Beta", "Alpha"}));
    EXPECT_NE(Ini().find("  PiecesFile = a.bmp\r\n  BorderFile = frame.bmp\r\n  SqrWidth = 20 \r\n"),
              std::string::npos);
    EXPECT_EQ(Ini().find("SqrHeight = 30"), std::string::npos);
    EXPECT_EQ(Read(program.AppDir + "a.bmp"), "pieces");
    EXPECT_EQ(Read(program.AppDir + "frame.bmp"), "border");
    // The record holds the last block; the dictionary in force stays.
    EXPECT_EQ(style.CurrentStyle, "Alpha");
    EXPECT_EQ(style.SHOWGRID, 1);
    EXPECT_EQ(style.PIECESFILE, "a.bmp");
    EXPECT_EQ(program.PyDictionaryText, "dictionary in force");
    EXPECT_EQ(host.statuses, (std::vector<std::string>{"Style Beta", "Style custom", "Style ",
                                                       "Style Unfinished", "Style Alpha", "Import OK!"}));
}

// A font style draws its men: it needs no pieces bitmap, and a bitmap
// style without one is still refused.
TEST_F(StyleImport, FontStyleNeedsNoPiecesFile) {
    const ImportResult result = Import(
        "BeginStyle = Classic\r\n  PiecesFont = FreeSerif\r\n  DarkHatch = Yes\r\nEndStyle\r\n"
        "BeginStyle = NoMen\r\n  SqrWidth = 20\r\nEndStyle\r\n");
    EXPECT_EQ(result.saved, 1);
    EXPECT_EQ(Blocks(), (std::vector<std::string>{"Classic"}));
    ASSERT_EQ(host.asked.size(), 1u);
    EXPECT_EQ(host.asked[0], "PiecesFile " + styles + " not found!");
    EXPECT_NE(Ini().find("  PiecesFont = FreeSerif\r\n"), std::string::npos);
    EXPECT_NE(Ini().find("  DarkHatch = Yes\r\n"), std::string::npos);
}

TEST_F(StyleImport, AnswersDecideEachBlock) {
    Write(styles + "a.bmp", "new");
    struct Case {
        const char* what;
        std::vector<std::string> listed;
        std::deque<ImportAnswer> answers;
        std::string text;
        std::vector<std::string> asked;
        std::vector<std::string> blocks;
    };
    const std::string missing = "PiecesFile " + styles + "gone.bmp not found!";
    const std::string noBorder = "BorderFile " + styles + "gone.bmp not found!";
    const std::string replace =
        "This file already contains a style called alpha.\r\nWhould you like to replace the existing style?";
    const Case cases[] = {
        {"missing pieces, OK goes on",
         {},
         {ImportAnswer::kOk},
         Block("Lost", "gone.bmp") + Block("Kept", "a.bmp"),
         {missing},
         {"Alpha", "Kept"}},
        {"missing pieces, Cancel stops",
         {},
         {ImportAnswer::kCancel},
         Block("Lost", "gone.bmp") + Block("Kept", "a.bmp"),
         {missing},
         {"Alpha"}},
        {"no pieces file at all",
         {},
         {ImportAnswer::kOk},
         "BeginStyle = Bare\r\nEndStyle\r\n",
         {"PiecesFile " + styles + " not found!"},
         {"Alpha"}},
        {"missing border",
         {},
         {ImportAnswer::kOk},
         Block("Lost", "a.bmp", "  BorderFile = gone.bmp\r\n"),
         {noBorder},
         {"Alpha"}},
        {"listed name, Yes replaces",
         {"Alpha"},
         {ImportAnswer::kYes},
         Block("alpha", "a.bmp"),
         {replace},
         {"alpha"}},
        {"listed name, No keeps",
         {"Alpha"},
         {ImportAnswer::kNo},
         Block("alpha", "a.bmp"),
         {replace},
         {"Alpha"}},
        {"listed name, Cancel stops",
         {"Alpha"},
         {ImportAnswer::kCancel},
         Block("alpha", "a.bmp") + Block("Kept", "a.bmp"),
         {replace},
         {"Alpha"}},
    };
    for (const Case& c : cases) {
        Write(program.AppDir + "Pandrel.ini", "BeginStyle = Alpha\r\n  PiecesFile = old.bmp\r\nEndStyle\r\n");
        host = FakeHost{};
        host.list = c.listed;
        host.answers = c.answers;
        const ImportResult result = Import(c.text);
        EXPECT_FALSE(result.failed) << c.what;
        EXPECT_EQ(host.asked, c.asked) << c.what;
        EXPECT_EQ(Blocks(), c.blocks) << c.what;
        EXPECT_EQ(host.statuses.back(), "Import OK!") << c.what;
    }
    EXPECT_EQ(host.askedButtons, (std::vector<ImportButtons>{ImportButtons::kYesNoCancel}));
}

TEST_F(StyleImport, StyleFileInTheProgramFolderCopiesNothing) {
    Write(program.AppDir + "a.bmp", "pieces");
    const ImportResult result = Import(Block("Home", "a.bmp"), program.AppDir);
    EXPECT_EQ(result.saved, 1);
    EXPECT_TRUE(host.asked.empty());
    EXPECT_EQ(Read(program.AppDir + "a.bmp"), "pieces");
    EXPECT_EQ(Blocks(), (std::vector<std::string>{"Home"}));
}

// Found by the style file fuzz target: a bitmap named with a folder part
// was copied to the same relative name from the program folder, outside it.
TEST_F(StyleImport, BitmapNamesWithAFolderPartAreNotInTheImportFolder) {
    fs::create_directories(m_root / "lib" / "src");
    const std::string src = (m_root / "lib" / "src").string() + "/";
    Write(src + "a.bmp", "pieces");
    Write((m_root / "lib" / "up.bmp").string(), "outside");
    struct Case {
        const char* pieces;
        const char* border;
        const char* message;
    };
    const Case cases[] = {
        {"../up.bmp", "", "PiecesFile {src}../up.bmp not found!"},
        {"a.bmp", "../up.bmp", "BorderFile {src}../up.bmp not found!"},
        {"..", "", "PiecesFile {src}.. not found!"},
        {"sub\\a.bmp", "", "PiecesFile {src}sub\\a.bmp not found!"},
    };
    for (const Case& c : cases) {
        host = FakeHost{};
        const std::string border =
            *c.border ? std::string("  BorderFile = ") + c.border + "\r\n" : std::string();
        const ImportResult result = Import(Block("Up", c.pieces, border), src);
        std::string message = c.message;
        message.replace(message.find("{src}"), 5, src);
        EXPECT_EQ(result.saved, 0) << c.pieces;
        EXPECT_EQ(host.asked, (std::vector<std::string>{message}));
        EXPECT_FALSE(fs::exists(m_root / "up.bmp")) << c.pieces;
        EXPECT_FALSE(fs::exists(program.AppDir + "Pandrel.ini")) << c.pieces;
    }
}

TEST_F(StyleImport, FailedCopyAsksWhetherToGoOn) {
    Write(styles + "a.bmp", "pieces");
    Write(styles + "b.bmp", "border");
    fs::create_directories(program.AppDir + "a.bmp");  // the copy cannot replace a folder
    const std::string text = Block("One", "a.bmp", "  BorderFile = b.bmp\r\n") + Block("Two", "a.bmp");
    const std::string message =
        "Error on copy:\r\nfrom " + styles + "a.bmp\r\nto " + program.AppDir + "a.bmp";

    host.answers = {ImportAnswer::kOk, ImportAnswer::kOk};
    ImportResult result = Import(text);
    EXPECT_FALSE(result.failed);
    EXPECT_EQ(host.asked, (std::vector<std::string>{message, message}));
    EXPECT_EQ(Read(program.AppDir + "b.bmp"), "border");  // the border copy still ran
    EXPECT_EQ(Blocks(), (std::vector<std::string>{"One", "Two"}));

    fs::remove(program.AppDir + "Pandrel.ini");
    host = FakeHost{};
    host.answers = {ImportAnswer::kCancel};
    result = Import(text);
    EXPECT_TRUE(result.failed);
    EXPECT_EQ(host.asked, (std::vector<std::string>{message}));
    EXPECT_EQ(result.saved, 0);
    EXPECT_FALSE(fs::exists(program.AppDir + "Pandrel.ini"));
    EXPECT_EQ(host.statuses.back(), "Import failed!");
}

TEST_F(StyleImport, ReadErrorsEndTheImportAsFailed) {
    Write(styles + "a.bmp", "pieces");
    struct Case {
        const char* what;
        std::string path;  // "" = the written style file
        std::string text;
        int saved;
    };
    const Case cases[] = {
        {"no such file", styles + "none.sty", "", 0},
        {"a value too large", "", Block("First", "a.bmp") + Block("Second", "a.bmp", "  SqrWidth = 3000\r\n"),
         1},
        {"a number whose 15-fold does not fit", "",
         Block("First", "a.bmp") + "BeginStyle = Second\r\n  Comment = 200000000\r\n", 1},
    };
    for (const Case& c : cases) {
        host = FakeHost{};
        fs::remove(program.AppDir + "Pandrel.ini");
        ImportResult result;
        std::string path = c.path;
        if (path.empty()) {
            result = Import(c.text);
            path = styles + "set.sty";
        } else {
            result = ImportStyles(path, style, program, host);
        }
        EXPECT_TRUE(result.failed) << c.what;
        EXPECT_EQ(result.saved, c.saved) << c.what;
        EXPECT_EQ(host.asked, (std::vector<std::string>{"Error reading " + path})) << c.what;
        EXPECT_EQ(host.askedButtons, (std::vector<ImportButtons>{ImportButtons::kOk})) << c.what;
        EXPECT_EQ(host.statuses.back(), "Import failed!") << c.what;
    }
}

TEST_F(StyleImport, UnwritableSettingsFileIsReported) {
    Write(styles + "a.bmp", "pieces");
    fs::create_directories(program.AppDir + "Pandrel.ini");  // cannot be replaced
    const ImportResult result = Import(Block("One", "a.bmp") + Block("Two", "a.bmp"));
    EXPECT_TRUE(result.failed);
    EXPECT_EQ(result.saved, 0);
    EXPECT_EQ(host.asked, (std::vector<std::string>{"Error writing " + program.AppDir + "Pandrel.ini"}));
}

}  // namespace

namespace {

// A style file names its bitmaps; whatever it names, the import reads only
// files of its own folder and writes only files of the program folder.
TEST_F(StyleImport, BitmapNamesNeverReachOutsideTheirFolders) {
    const std::string outside = (m_root / "outside.bmp").string();
    const std::string secret = (m_root / "secret.bmp").string();
    Write(styles + "a.bmp", "pieces");
    Write(program.AppDir + "Pandrel.ini", "BeginStyle = Alpha\r\n  PiecesFile = old.bmp\r\nEndStyle\r\n");
    const std::string ini = Ini();
    fs::create_symlink(secret, styles + "link.bmp");
    fs::create_directories(styles + "sub");
    Write(styles + "sub/a.bmp", "pieces");
    Write(styles + "Pandrel.ini", "a settings file of somebody else");

    struct Case {
        const char* what;
        std::string pieces;
        std::string border;
        std::string asked;
    };
    const std::string folder = styles;
    const Case cases[] = {
        {"relative escape", "../outside.bmp", "", "PiecesFile " + folder + "../outside.bmp not found!"},
        {"deep escape", "../../../../../../.." + outside, "",
         "PiecesFile " + folder + "../../../../../../.." + outside + " not found!"},
        {"absolute path", outside, "", "PiecesFile " + folder + outside + " not found!"},
        {"a folder part", "sub/a.bmp", "", "PiecesFile " + folder + "sub/a.bmp not found!"},
        {"trailing slash", "a.bmp/", "", "PiecesFile " + folder + "a.bmp/ not found!"},
        {"parent alone", "..", "", "PiecesFile " + folder + ".. not found!"},
        {"the settings file", "Pandrel.ini", "", "PiecesFile " + folder + "Pandrel.ini not found!"},
        {"border escape", "a.bmp", "../outside.bmp", "BorderFile " + folder + "../outside.bmp not found!"},
        {"link out of the folder", "link.bmp", "", "PiecesFile " + folder + "link.bmp not found!"},
        {"border link out of the folder", "a.bmp", "link.bmp",
         "BorderFile " + folder + "link.bmp not found!"},
    };
    for (const Case& c : cases) {
        Write(secret, "secret");
        fs::remove(outside);
        host = FakeHost{};
        const std::string more = c.border.empty() ? "" : "  BorderFile = " + c.border + "\r\n";
        const ImportResult result = Import(Block("Evil", c.pieces, more) + Block("Good", "a.bmp"));
        EXPECT_EQ(host.asked, (std::vector<std::string>{c.asked})) << c.what;
        EXPECT_EQ(host.askedButtons, (std::vector<ImportButtons>{ImportButtons::kOkCancel})) << c.what;
        EXPECT_EQ(result.saved, 1) << c.what;  // OK skips the block and goes on
        EXPECT_FALSE(fs::exists(outside)) << c.what;
        EXPECT_EQ(Read(secret), "secret") << c.what;
        EXPECT_EQ(Blocks(), (std::vector<std::string>{"Alpha", "Good"})) << c.what;
        Write(program.AppDir + "Pandrel.ini", ini);
    }
}

TEST_F(StyleImport, CopyReplacesALinkInTheProgramFolderInsteadOfWritingThroughIt) {
    const std::string victim = (m_root / "victim.txt").string();
    Write(victim, "keep me");
    Write(styles + "a.bmp", "pieces");
    fs::create_symlink(victim, program.AppDir + "a.bmp");
    // A link inside the style folder to a file beside it is followed.
    Write(styles + "real.bmp", "border");
    fs::create_symlink("real.bmp", styles + "frame.bmp");

    const ImportResult result = Import(Block("One", "a.bmp", "  BorderFile = frame.bmp\r\n"));
    EXPECT_EQ(result.saved, 1);
    EXPECT_TRUE(host.asked.empty());
    EXPECT_EQ(Read(victim), "keep me");
    EXPECT_FALSE(fs::is_symlink(program.AppDir + "a.bmp"));
    EXPECT_EQ(Read(program.AppDir + "a.bmp"), "pieces");
    EXPECT_EQ(Read(program.AppDir + "frame.bmp"), "border");
}

}  // namespace
