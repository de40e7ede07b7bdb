#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "settings/settings_file.h"
#include "settings/style.h"

using namespace settings;

namespace {

struct ValCase {
    const char* text;
    std::optional<double> value;
};

class ValTest : public ::testing::TestWithParam<ValCase> {};

TEST_P(ValTest, ReadsLeadingNumber) {
    const auto& c = GetParam();
    EXPECT_EQ(Val(c.text), c.value) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Settings, ValTest,
                         ::testing::Values(ValCase{"20", 20.0}, ValCase{" 20 ", 20.0}, ValCase{"1 2", 12.0},
                                           ValCase{"2\t5x", 25.0}, ValCase{"-7", -7.0}, ValCase{"2.5", 2.5},
                                           ValCase{"1e3", 1000.0}, ValCase{"abc", 0.0}, ValCase{"", 0.0},
                                           ValCase{"Yes", 0.0}, ValCase{"&HFF", 255.0},
                                           ValCase{"&hff", 255.0}, ValCase{"&HFFFF", -1.0},
                                           ValCase{"&H8000", -32768.0}, ValCase{"&HFFFFFF", 16777215.0},
                                           ValCase{"&HFFFFFFFF", -1.0}, ValCase{"&H", 0.0},
                                           ValCase{"&H FF", 255.0}, ValCase{"&HFF FF FF", 16777215.0},
                                           ValCase{" &H\t7F FF", 32767.0}, ValCase{"&H1 x2", 1.0},
                                           ValCase{"&H123456789", std::nullopt},
                                           ValCase{"1e999", std::nullopt}, ValCase{"Arial, Bold", 0.0}));

TEST(RoundHalfEven, HalvesGoToEven) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.6), 3);
    EXPECT_EQ(RoundHalfEven(3e9), std::nullopt);
}

TEST(TwipsToPixels, RoundsDownAfterATenth) {
    EXPECT_EQ(TwipsToPixels(223), 14);
    EXPECT_EQ(TwipsToPixels(224), 15);
    EXPECT_EQ(TwipsToPixels(225), 15);
    EXPECT_EQ(TwipsToPixels(8), 0);
    EXPECT_EQ(TwipsToPixels(14), 1);
}

TEST(ResetStyle, DefaultsKeepName) {
    Style s;
    ProgramSettings p;
    s.CurrentStyle = "Alpha";
    s.PIECESLIST = "xX";
    s.SQRWIDTH = 1;
    p.PyDictionaryText = "&&X=Foo";
    ResetStyle(s, p);
    EXPECT_EQ(s.CurrentStyle, "Alpha");
    EXPECT_EQ(s.ENGLISHNOTATION, "pPnNbBrRqQkK");
    EXPECT_EQ(s.FONTPOS, "Left Up");
    EXPECT_EQ(s.SQRWIDTH, 225);
    EXPECT_TRUE(p.PyDictionaryText.empty());
}

struct StoreCase {
    const char* line;
    int32_t Style::*field32;
    int16_t Style::*field16;
    int64_t expect;
};

// Reads one style line inside a block and checks the numeric field it sets.
TEST(StoreStyleValue, ConvertsByKind) {
    const StoreCase cases[] = {
        {"SqrWidth = 20", nullptr, &Style::SQRWIDTH, 300},
        {"SQRHEIGHT=2.5", nullptr, &Style::SQRHEIGHT, 30},
        {"XBase = 3", nullptr, &Style::XBASE, 45},
        {"BorderWidth = 10", nullptr, &Style::BORDERWIDTH, 10},
        {"FontSize = -3", nullptr, &Style::FONTSIZE, -3},
        {"BackColor = &HFFFF", &Style::BACKCOLOR, nullptr, 65535},
        {"BackColor = &HFFFFFF", &Style::BACKCOLOR, nullptr, 16777215},
        {"FrameColor = -1", &Style::FRAMECOLOR, nullptr, 65535},
        {"WndWidth = 100000", &Style::WNDWIDTH, nullptr, 1500000},
        {"ShowGrid = yes", nullptr, &Style::SHOWGRID, 1},
        {"ShowGrid = No", nullptr, &Style::SHOWGRID, 0},
        {"CopyCounter = YES ; comment", nullptr, &Style::COPYCOUNTER, 1},
        {"SqrWidth = 20 ; a comment", nullptr, &Style::SQRWIDTH, 300},
        {"; SqrWidth = 20", nullptr, &Style::SQRWIDTH, 225},
        {"SqrWidth = 2184", nullptr, &Style::SQRWIDTH, 32760},
        {"SqrWidth = 2185", nullptr, &Style::SQRWIDTH, 225},  // too large: reading stops
    };
    for (const auto& c : cases) {
        Style s;
        ProgramSettings p;
        ReadSettingsText(std::string("BeginStyle = A\r\n") + c.line + "\r\n", s, p);
        const int64_t got = c.field32 ? s.*(c.field32) : s.*(c.field16);
        EXPECT_EQ(got, c.expect) << c.line;
    }
}

TEST(ReadSettings, TextFieldsAndFiles) {
    Style s;
    ProgramSettings p;
    p.AppDir = "/opt/pandrel/";
    ReadSettingsText(
        "BeginStyle = A\n"
        "  PiecesFile = set1.bmp\n"
        "  BorderFile = D:\\art\\b.bmp\n"
        "  FontPos = right down\n"
        "  FontStyle = caps bold\n"
        "  FontName = Arial, Bold\n"
        "  PiecesList = pPnNbBrRqQkKxX\n"
        "  StartPos = 8/8/8/8/8/8/8/K7\n",
        s, p);
    EXPECT_EQ(s.PIECESFILE, "/opt/pandrel/set1.bmp");
    EXPECT_EQ(s.BORDERFILE, "D:\\art\\b.bmp");
    EXPECT_EQ(s.FONTPOS, "RIGHT DOWN");
    EXPECT_EQ(s.FONTSTYLE, "CAPS BOLD");
    EXPECT_EQ(s.FONTNAME, "Arial");  // an unquoted comma ends the record
    EXPECT_EQ(s.PIECESLIST, "pPnNbBrRqQkKxX");
    EXPECT_EQ(s.ENGLISHNOTATION, "pPnNbBrRqQkK");
    EXPECT_EQ(s.STARTPOS, "8/8/8/8/8/8/8/K7");
}

const char* kExample =
    "RecentFile = C:\\DIAGRAMS\\OLD.PGN\r\n"
    "RecentFile = C:\\DIAGRAMS\\NEW.FEN\r\n"
    "RecentEngine = POPEYE\r\n"
    "RecentStyle = Alpha\r\n"
    "\r\n"
    "BeginStyle = Alpha\r\n"
    "  PiecesFile = C:\\ART\\ALPHA.BMP\r\n"
    "  SqrWidth = 20 \r\n"
    "  SqrHeight = 20 \r\n"
    "  ShowGrid = Yes\r\n"
    "    FontName = Arial\r\n"
    "    FontSize = 8 \r\n"
    "EndStyle\r\n";

TEST(ReadSettings, ExampleFile) {
    Style s;
    ProgramSettings p;
    const auto r = ReadSettingsText(kExample, s, p);
    EXPECT_EQ(r.stoppedAtLine, 0);
    EXPECT_EQ(s.CurrentStyle, "Alpha");
    EXPECT_EQ(r.newStyles, std::vector<std::string>{"Alpha"});
    EXPECT_EQ(p.RecentFiles[0], "C:\\DIAGRAMS\\NEW.FEN");
    EXPECT_EQ(p.RecentFiles[1], "C:\\DIAGRAMS\\OLD.PGN");
    EXPECT_EQ(p.RecentEngine, "POPEYE");
    EXPECT_EQ(s.PIECESFILE, "C:\\ART\\ALPHA.BMP");
    EXPECT_EQ(s.SQRWIDTH, 300);
    EXPECT_EQ(s.SHOWGRID, 1);
    EXPECT_EQ(s.FONTNAME, "Arial");
}

TEST(ReadSettings, StyleChoice) {
    const char* twoBlocks =
        "BeginStyle = Alpha\nSqrWidth = 10\nEndStyle\nBeginStyle = beta\nSqrWidth = 30\nEndStyle\n";
    Style s;
    ProgramSettings p;
    auto r = ReadSettingsText(twoBlocks, s, p);
    EXPECT_EQ(s.CurrentStyle, "Alpha");
    EXPECT_EQ(s.SQRWIDTH, 150);
    EXPECT_EQ(r.newStyles, (std::vector<std::string>{"Alpha", "beta"}));

    // A later pick: the name is matched in any case and the list is not refilled.
    s.CurrentStyle = "BETA";
    r = ReadSettingsText(std::string("Style = Alpha\n") + twoBlocks, s, p);
    EXPECT_EQ(s.CurrentStyle, "BETA");
    EXPECT_EQ(s.SQRWIDTH, 450);
    EXPECT_TRUE(r.newStyles.empty());

    // A block runs on past "EndStyle" until the next "BeginStyle".
    s = Style{};
    r = ReadSettingsText(
        "BeginStyle = A\nEndStyle\nRecentEngine = Crafty\nSqrWidth = 40\nBeginStyle = B\n"
        "SqrWidth = 50\n",
        s, p);
    EXPECT_EQ(s.SQRWIDTH, 600);
    EXPECT_EQ(p.RecentEngine, "Crafty");
}

TEST(ReadSettings, OverflowStopsAtThatLine) {
    Style s;
    ProgramSettings p;
    const auto r =
        ReadSettingsText("BeginStyle = A\nSqrWidth = 10\nPiecesList = 999999999999\nSqrHeight = 10\n", s, p);
    EXPECT_EQ(r.stoppedAtLine, 3);
    EXPECT_EQ(s.SQRWIDTH, 150);
    EXPECT_EQ(s.SQRHEIGHT, 225);
    EXPECT_EQ(s.PIECESLIST, "pPnNbBrRqQkK");
}

TEST(SplitRecords, QuotesAndCommas) {
    EXPECT_EQ(SplitRecords("a = 1, b = 2"), (std::vector<std::string>{"a = 1", "b = 2"}));
    EXPECT_EQ(SplitRecords("  \"FontName = Arial, Bold\""),
              (std::vector<std::string>{"FontName = Arial, Bold"}));
    EXPECT_EQ(SplitRecords("\"x\" junk, y"), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(SplitRecords("\"open"), (std::vector<std::string>{"open"}));
    EXPECT_EQ(SplitRecords(""), (std::vector<std::string>{""}));
}

TEST(StyleBlock, WritesLineFormats) {
    Style s;
    s.CurrentStyle = "Alpha";
    s.SQRWIDTH = 300;
    s.SQRHEIGHT = 300;
    s.SQRHTAB = 300;
    s.SQRVTAB = 300;
    s.SQRHSPC = 30;
    s.BACKCOLOR = 0xFFFF;
    s.FRAMEWIDTH = 3;
    s.SHOWGRID = 1;
    s.FONTNAME = "Arial, Bold";
    s.FONTSTYLE = "CAPS";
    s.FONTPOS = "LEFT UP";
    s.BORDERWIDTH = 10;
    const PictureSize computed = ComputedPictureSize(s);
    s.WNDWIDTH = computed.width;
    s.WNDHEIGHT = 3000;
    EXPECT_EQ(StyleBlock(s),
              "BeginStyle = Alpha\r\n"
              "  SqrWidth = 20 \r\n"
              "  SqrHeight = 20 \r\n"
              "  SqrHSpc = 2 \r\n"
              "  BorderWidth = 10 \r\n"
              "  BackColor = &HFFFF\r\n"
              "  FrameWidth = 3 \r\n"
              "  FrameColor = &H0\r\n"
              "  WndHeight = 200 \r\n"
              "  ShowGrid = Yes\r\n"
              "    \"FontName = Arial, Bold\"\r\n"
              "    FontSize = 8 \r\n"
              "    FontStyle = CAPS\r\n"
              "    FontPos = LEFT UP\r\n"
              "EndStyle\r\n");
}

TEST(WriteStyle, RoundTripsThroughTheReader) {
    Style s;
    s.CurrentStyle = "Round";
    s.SQRWIDTH = s.SQRHEIGHT = s.SQRHTAB = s.SQRVTAB = 450;
    s.YBASE = 30;
    s.PIECESLIST = "pPnNbBrRqQkKxX";
    s.ENGLISHNOTATION = "pPsSbBrRqQkKxX";
    s.PIECESFILE = "/art/set, one.bmp";
    s.FONTCOLOR = 0x123456;
    s.SHOWGRID = 1;
    s.COPYCOUNTER = 1;
    s.STARTPOS = "8/8/8/8/8/8/8/K7";
    s.FONTPOS = "LEFT UP";  // read back upper-cased
    StyleWrite mode = StyleWrite::kSave;
    const std::string text = WriteStyleText(s, nullptr, mode);
    EXPECT_EQ(mode, StyleWrite::kDelete);
    Style back;
    ProgramSettings p;
    ReadSettingsText(text, back, p);
    ComputedPictureSize(s);  // the reader leaves computed sizes to the renderer
    back.WNDWIDTH = s.WNDWIDTH;
    back.WNDHEIGHT = s.WNDHEIGHT;
    back.SQRHTAB = back.SQRWIDTH;  // pitches equal to the square are not stored
    back.SQRVTAB = back.SQRHEIGHT;
    EXPECT_EQ(back, s) << text;
}

// The keys of font styles go through the writer and back; a bitmap style's
// block carries none of them, so older copies read it as before.
TEST(WriteStyle, FontStyleKeysRoundTripAndStayOutOfBitmapBlocks) {
    Style s;
    s.CurrentStyle = "Fairy";
    s.PIECESFONT = "DejaVu Sans, Book";  // a comma: written as one quoted record
    s.PIECESGLYPHS = "g=q180 G=Q180 x=q~";
    s.LIGHTCOLOR = 0xFFFFFF;
    s.DARKCOLOR = 0;
    s.DARKHATCH = 1;
    StyleWrite mode = StyleWrite::kSave;
    const std::string text = WriteStyleText(s, nullptr, mode);
    Style back;
    ProgramSettings p;
    ReadSettingsText(text, back, p);
    EXPECT_EQ(back.PIECESFONT, s.PIECESFONT) << text;
    EXPECT_EQ(back.PIECESGLYPHS, s.PIECESGLYPHS);
    EXPECT_EQ(back.LIGHTCOLOR, 0xFFFFFF);
    EXPECT_EQ(back.DARKCOLOR, 0);
    EXPECT_EQ(back.DARKHATCH, 1);
    EXPECT_TRUE(back.IsFontStyle());

    Style bitmap;
    bitmap.CurrentStyle = "Plain";
    mode = StyleWrite::kSave;
    const std::string plain = WriteStyleText(bitmap, nullptr, mode);
    for (const char* key : {"PiecesFont", "PiecesGlyphs", "LightColor", "DarkColor", "DarkHatch"}) {
        EXPECT_EQ(plain.find(key), std::string::npos) << key;
    }
    // Unknown to the reader of a key it does not know: skipped, the rest read.
    Style old;
    ReadSettingsText("BeginStyle = A\r\n  PiecesFont = FreeSerif\r\n  SqrWidth = 20\r\nEndStyle\r\n", old, p);
    EXPECT_EQ(old.SQRWIDTH, 300);
}

// A style as the renderer leaves it: pitches and picture size filled in.
Style Drawn(const std::string& name, int16_t width = 225) {
    Style s;
    s.CurrentStyle = name;
    s.SQRWIDTH = s.SQRHTAB = width;
    s.SQRVTAB = s.SQRHEIGHT;
    const PictureSize size = ComputedPictureSize(s);
    s.WNDWIDTH = size.width;
    s.WNDHEIGHT = size.height;
    return s;
}

std::string Block(const std::string& name) {
    return "BeginStyle = " + name + "\r\n  SqrWidth = 15 \r\n  SqrHeight = 15 \r\nEndStyle\r\n";
}

TEST(WriteStyle, KeepsBlocksSortedAndReplacesInPlace) {
    const std::string old = "RecentStyle = Alpha\r\n\r\n" + Block("Alpha") + "\r\n" + Block("Gamma");
    Style s = Drawn("Beta");
    StyleWrite mode = StyleWrite::kSave;
    EXPECT_EQ(WriteStyleText(s, &old, mode), "RecentStyle = Alpha\r\n\r\n" + Block("Alpha") + "\r\n" +
                                                 Block("Beta") + "\r\n" + Block("Gamma"));

    s = Drawn("alpha", 300);
    s.SQRHTAB = 225;
    const PictureSize size = ComputedPictureSize(s);
    s.WNDWIDTH = size.width;
    mode = StyleWrite::kSave;
    const std::string replaced = WriteStyleText(s, &old, mode);
    EXPECT_EQ(replaced, "RecentStyle = Alpha\r\n\r\n" +
                            std::string("BeginStyle = alpha\r\n  SqrWidth = 20 \r\n  SqrHeight = 15 \r\n"
                                        "  SqrHTab = 15 \r\nEndStyle\r\n") +
                            "\r\n" + Block("Gamma"));

    // Deleting drops the block and whatever follows it up to the next block.
    const std::string withTail = Block("Alpha") + "RecentEngine = POPEYE\r\n" + Block("Gamma");
    s.CurrentStyle = "ALPHA";
    mode = StyleWrite::kDelete;
    EXPECT_EQ(WriteStyleText(s, &withTail, mode), Block("Gamma"));

    // A new last block goes at the end.
    s = Drawn("Zeta");
    mode = StyleWrite::kSave;
    EXPECT_EQ(WriteStyleText(s, &old, mode), old + "\r\n" + Block("Zeta"));
}

class TempDir : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                ("pandrel-settings-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                 "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
        m_program.AppDir = m_dir.string() + "/";
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    std::string Ini() const {
        std::string text;
        ReadFile(m_program.AppDir + "Pandrel.ini", text);
        return text;
    }
    std::filesystem::path m_dir;
    ProgramSettings m_program;
};

TEST_F(TempDir, SaveRecentPutsRecentLinesFirst) {
    {
        std::ofstream(m_program.AppDir + "Pandrel.ini", std::ios::binary)
            << "RecentFile = OLD\r\nStyle = Beta\r\n"
            << Block("Beta") << "RecentEngine = CRAFTY\r\n";
    }
    AddRecentFile(m_program, "/b/one.pgn");
    AddRecentFile(m_program, "/b/two.pgn");
    m_program.RecentEngine = "POPEYE";
    Style s;
    s.CurrentStyle = "Gamma";
    ASSERT_TRUE(SaveRecent(s, m_program));
    // The file's own recent file (another copy's) stays below this copy's.
    EXPECT_EQ(
        Ini(),
        "RecentFile = OLD\r\nRecentFile = /b/one.pgn\r\nRecentFile = /b/two.pgn\r\nRecentEngine = POPEYE\r\n"
        "RecentStyle = Gamma\r\n" +
            Block("Beta"));
    for (const auto& entry : std::filesystem::directory_iterator(m_dir)) {
        EXPECT_EQ(entry.path().filename().string().rfind("F0000000.tmp", 0), std::string::npos);
    }

    // Reading it back restores the order.
    ProgramSettings again;
    again.AppDir = m_program.AppDir;
    Style t;
    ReadSettings(t, again);
    EXPECT_EQ(again.RecentFiles, (std::array<std::string, 4>{"/b/two.pgn", "/b/one.pgn", "OLD", ""}));
    EXPECT_EQ(t.CurrentStyle, "Gamma");
}

// The engine line after an exit: this copy's engine when it has one; else
// the file's only when another copy saved it after this copy read the file.
TEST_F(TempDir, SaveRecentKeepsTheEngineStartUpDecided) {
    struct Case {
        const char* what;
        const char* onFile;  // the file's line at exit ("" = none)
        const char* read;    // what this copy read at start-up
        const char* engine;  // this copy's engine at exit
        const char* written;
    };
    const Case cases[] = {
        {"forgotten at start-up", "Stockfish", "Stockfish", "", ""},
        {"forgotten, other case", "POPEYE", "Popeye", "", ""},
        {"another copy chose one", "Crafty", "", "", "Crafty"},
        {"another copy changed it", "Crafty", "Popeye", "", "Crafty"},
        {"this copy's own wins", "Crafty", "Crafty", "Popeye", "Popeye"},
        {"none anywhere", "", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string old = "RecentStyle = Beta\r\n";
        if (*c.onFile != 0) {
            old = "RecentEngine = " + std::string(c.onFile) + "\r\n" + old;
        }
        std::ofstream(m_program.AppDir + "Pandrel.ini", std::ios::binary) << old;
        m_program.RecentEngineRead = c.read;
        m_program.RecentEngine = c.engine;
        Style s;
        s.CurrentStyle = "Beta";
        ASSERT_TRUE(SaveRecent(s, m_program));
        const std::string expected =
            (*c.written != 0 ? "RecentEngine = " + std::string(c.written) + "\r\n" : std::string()) +
            "RecentStyle = Beta\r\n";
        EXPECT_EQ(Ini(), expected);
    }
}

TEST_F(TempDir, WriteStyleWithoutSettingsFileWritesTheBlockAlone) {
    Style s = Drawn("Solo");
    StyleWrite mode = StyleWrite::kSave;
    ASSERT_TRUE(WriteStyle(s, m_program, mode));
    EXPECT_EQ(mode, StyleWrite::kDelete);
    EXPECT_EQ(Ini(), Block("Solo"));
}

TEST_F(TempDir, WritersLeaveTheOldFileWhenTheFolderIsGone) {
    m_program.AppDir = m_dir.string() + "/missing/";
    Style s;
    s.CurrentStyle = "X";
    StyleWrite mode = StyleWrite::kSave;
    EXPECT_FALSE(WriteStyle(s, m_program, mode));
    EXPECT_EQ(mode, StyleWrite::kSave);
    EXPECT_FALSE(SaveRecent(s, m_program));
}

// Names with a comma are written as quoted records; the writers must still
// know those lines as their own, and the reader must get the names back whole.
TEST_F(TempDir, NamesWithCommasSurviveBothWriters) {
    const std::vector<std::string> names = {"Plain", "Art, Deco", "a,b,c"};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        std::ofstream(m_program.AppDir + "Pandrel.ini", std::ios::binary) << "RecentStyle = Other\r\n";
        m_program.RecentFiles = {};
        m_program.RecentEngine = "POPEYE";
        Style s = Drawn(name);
        StyleWrite mode = StyleWrite::kSave;
        ASSERT_TRUE(WriteStyle(s, m_program, mode));
        s.SQRWIDTH = s.SQRHTAB = 300;
        const PictureSize size = ComputedPictureSize(s);
        s.WNDWIDTH = size.width;
        mode = StyleWrite::kSave;
        ASSERT_TRUE(WriteStyle(s, m_program, mode));  // replaces, never adds a second block

        AddRecentFile(m_program, "/games/" + name + ".pgn");
        ASSERT_TRUE(SaveRecent(s, m_program));
        ASSERT_TRUE(SaveRecent(s, m_program));  // the old recent lines are dropped again

        Style back;
        ProgramSettings again;
        again.AppDir = m_program.AppDir;
        const ReadResult r = ReadSettings(back, again);
        EXPECT_EQ(r.newStyles, std::vector<std::string>{name}) << Ini();
        EXPECT_EQ(back.CurrentStyle, name);
        EXPECT_EQ(back.SQRWIDTH, 300);
        EXPECT_EQ(again.RecentFiles, m_program.RecentFiles) << Ini();

        mode = StyleWrite::kDelete;
        ASSERT_TRUE(WriteStyle(s, m_program, mode));
        EXPECT_EQ(Ini().find("BeginStyle"), std::string::npos) << Ini();
    }
}

TEST_F(TempDir, MissingFileKeepsDefaultsAndName) {
    Style s;
    s.CurrentStyle = "Kept";
    s.SQRWIDTH = 1;
    const auto r = ReadSettings(s, m_program);
    EXPECT_FALSE(r.found);
    EXPECT_EQ(s.CurrentStyle, "Kept");
    EXPECT_EQ(s.SQRWIDTH, 225);
}

TEST(AddRecentFile, MovesUpOrPushesOut) {
    ProgramSettings p;
    for (const char* f : {"a", "b", "c", "d"})
        AddRecentFile(p, f);
    EXPECT_EQ(p.RecentFiles, (std::array<std::string, 4>{"d", "c", "b", "a"}));
    AddRecentFile(p, "b");
    EXPECT_EQ(p.RecentFiles, (std::array<std::string, 4>{"b", "d", "c", "a"}));
    AddRecentFile(p, "e");
    EXPECT_EQ(p.RecentFiles, (std::array<std::string, 4>{"e", "b", "d", "c"}));
    AddRecentFile(p, "e");
    EXPECT_EQ(p.RecentFiles, (std::array<std::string, 4>{"e", "b", "d", "c"}));
}

TEST(CutName, Shortens) {
    EXPECT_EQ(CutName("C:\\GAMES\\OPENINGS\\SICILIAN\\NAJDORF.PGN", 30),
              "C:\\...\\OPENINGS\\SICILIAN\\NAJDORF.PGN");
    EXPECT_EQ(CutName("C:\\SHORT.PGN", 30), "C:\\SHORT.PGN");
    EXPECT_EQ(CutName("/home/composer/problems/twomovers/2024.pbm", 30), "/.../problems/twomovers/2024.pbm");
    EXPECT_EQ(CutName("averyveryverylongfilenamewithoutfolders.pgn", 10), "ave.../olders.pgn");
    EXPECT_EQ(RecentCaption(0, "C:\\GAMES\\OPENINGS\\SICILIAN\\NAJDORF.PGN"),
              "&1 C:\\...\\OPENINGS\\SICILIAN\\NAJDORF.PGN");
}

TEST(RandomBytes, SettingsReaderNeverCrashes) {
    std::mt19937 rng(11);
    const std::string alphabet = "=;,\"&H \t\r\nSqrWidthBeginStyleRecentFile0123456789-.eE";
    for (int i = 0; i < 3000; ++i) {
        std::string text(rng() % 300, '\0');
        for (auto& ch : text) {
            ch = (rng() % 3 == 0) ? static_cast<char>(rng() % 256) : alphabet[rng() % alphabet.size()];
        }
        Style s;
        ProgramSettings p;
        ReadSettingsText(text, s, p);
        StyleWrite mode = StyleWrite::kSave;
        s.CurrentStyle = "Z";
        WriteStyleText(s, &text, mode);
        SaveRecentText(s, p, &text);
    }
}

}  // namespace

TEST_F(TempDir, SaveRecentKeepsRememberedChoicesOnce) {
    struct Case {
        const char* key;
        std::string ProgramSettings::*field;
        const char* old;
        const char* chosen;
    };
    const Case cases[] = {
        {"UciEngine", &ProgramSettings::UciEngine, "/old/engine", "/usr/games/stockfish"},
        {"ExportPositions", &ProgramSettings::ExportPositions, "first", "last"},
    };
    for (const Case& c : cases) {
        {
            std::ofstream(m_program.AppDir + "Pandrel.ini", std::ios::binary)
                << c.key << " = " << c.old << "\r\n"
                << Block("Beta");
        }
        Style s;
        ReadSettings(s, m_program);
        EXPECT_EQ(m_program.*c.field, c.old) << c.key;
        m_program.*c.field = c.chosen;
        ASSERT_TRUE(SaveRecent(s, m_program)) << c.key;
        EXPECT_EQ(Ini(), std::string(c.key) + " = " + c.chosen + "\r\n" + Block("Beta")) << c.key;
        ProgramSettings again;
        again.AppDir = m_program.AppDir;
        Style t;
        ReadSettings(t, again);
        EXPECT_EQ(again.*c.field, c.chosen) << c.key;
        m_program.*c.field = "";
    }
}
