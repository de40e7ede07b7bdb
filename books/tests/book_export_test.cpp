#include <gtest/gtest.h>

#include <filesystem>

#include "book_files.h"
#include "books/book_export.h"
#include "books/sheet_layout.h"
#include "settings/settings_file.h"
#include "tests/support/file_size_limit.h"

using namespace books;
using namespace books_test;

namespace {

TEST(BookExport, GameRanges) {
    struct Case {
        const char* text;
        bool ok;
        int64_t first;
        int64_t last;
    };
    const Case cases[] = {
        {"3-7", true, 3, 7},        {"5", true, 5, 5},
        {"4-", true, 4, INT64_MAX}, {"-9", true, 1, 9},
        {"2-2", true, 2, 2},        {"0-3", false, 0, 0},
        {"7-3", false, 0, 0},       {"-", false, 0, 0},
        {"", false, 0, 0},          {"a-b", false, 0, 0},
        {"3-4-5", false, 0, 0},     {" 3-4", false, 0, 0},
        {"-0", false, 0, 0},        {"99999999999999999999", false, 0, 0},
    };
    for (const Case& c : cases) {
        const auto range = ParseGameRange(c.text);
        ASSERT_EQ(range.has_value(), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(range->first, c.first) << c.text;
            EXPECT_EQ(range->last, c.last) << c.text;
        }
    }
    EXPECT_EQ(ClampRange({4, INT64_MAX}, 10).last, 10);
    const GameRange outside = ClampRange({12, 20}, 10);
    EXPECT_GT(outside.first, outside.last);
}

TEST(BookExport, FileNamesArePaddedToTheWidestNumber) {
    struct Case {
        int64_t game;
        int64_t games;
        int64_t position;
        int64_t positions;
        const char* name;
    };
    const Case cases[] = {
        {42, 12000, 0, 1, "00042.png"}, {42, 12000, 17, 150, "00042-017.png"},
        {7, 9, 0, 1, "7.png"},          {7, 10, 3, 9, "07-3.png"},
        {100, 100, 1, 1, "100-1.png"},  {1, 1000000, 0, 1, "0000001.png"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DiagramFileName(c.game, DigitCount(c.games), c.position, DigitCount(c.positions), "png"),
                  c.name);
    }
}

TEST(BookExport, CsvQuoting) {
    struct Case {
        const char* text;
        const char* field;
    };
    const Case cases[] = {
        {"Kasparov", "Kasparov"},
        {"Smith, J.", "\"Smith, J.\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"", ""},
        {" padded ", "\" padded \""},
        {"semi;colon", "semi;colon"},
        {"cr\r", "\"cr\r\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CsvField(c.text), c.field) << c.text;
    }
    EXPECT_EQ(CsvLine({"1", "a,b", ""}), "1,\"a,b\",\n");
}

TEST(BookExport, TagRecords) {
    struct Case {
        const char* text;
        bool ok;
        const char* name;
        const char* value;
    };
    const Case cases[] = {
        {"[White \"Kasparov, G.\"]", true, "White", "Kasparov, G."},
        {"[Event \"The \\\"Open\\\" \\\\ 2\"]", true, "Event", "The \"Open\" \\ 2"},
        {"[Comm1 \"a \"quoted\" word\"]", true, "Comm1", "a \"quoted\" word"},
        {"[Site \"cut short", true, "Site", "cut short"},
        {"[bm Nf3]", true, "bm", "Nf3"},
        {"[Date \"\"]", true, "Date", ""},
        {"not a tag", false, "", ""},
        {"[", false, "", ""},
        {"[\"x\"]", false, "", ""},
    };
    for (const Case& c : cases) {
        const auto tag = ParseTag(c.text);
        ASSERT_EQ(tag.has_value(), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(tag->name, c.name) << c.text;
            EXPECT_EQ(tag->value, c.value) << c.text;
        }
    }
}

const char* const kThreeGames =
    "[Event \"First\"]\n[White \"Smith, J.\"]\n\n1. e4 e5 2. Nf3 *\n\n"
    "[Event \"Tags only\"]\n[Black \"Nobody\"]\n\n"
    "[Event \"Third\"]\n[Style \"Ten\"]\n[FEN \"8/8/8/8/8/8/8/K6k w - - 0 1\"]\n\n1. Kb1 *\n";

TEST(BookExport, PositionsOfEachGame) {
    Converted c;
    Convert(c, "three.pgn", kThreeGames);
    ASSERT_EQ(c.book.GameIndex.size(), 3u);
    std::vector<std::vector<std::string>> styles;
    const StyleHook hook = [&](const std::vector<std::string>& s) {
        styles.push_back(s);
        return position::BoardShape{};
    };
    const std::string afterNf3 = "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R";
    struct Case {
        int64_t game;
        PositionChoice choice;
        std::vector<std::string> positions;
        int64_t count;
    };
    const Case cases[] = {
        {1, PositionChoice::kFirst, {kStart}, 4},
        {1, PositionChoice::kLast, {afterNf3}, 4},
        {1,
         PositionChoice::kAll,
         {kStart, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR",
          "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR", afterNf3},
         4},
        // Tags alone: the empty board, once, whatever is asked.
        {2, PositionChoice::kFirst, {""}, 0},
        {2, PositionChoice::kAll, {""}, 0},
        {3, PositionChoice::kLast, {"8/8/8/8/8/8/8/1K5k"}, 2},
        // Beyond the book: the empty board.
        {4, PositionChoice::kFirst, {""}, 0},
    };
    for (const Case& k : cases) {
        const GameDiagrams game = ReadGameDiagrams(c.book, k.game, k.choice, hook);
        EXPECT_EQ(game.positions, k.positions) << k.game;
        EXPECT_EQ(game.positionCount, k.count) << k.game;
    }
    const GameDiagrams third = ReadGameDiagrams(c.book, 3, PositionChoice::kFirst, hook);
    EXPECT_EQ(third.styles, std::vector<std::string>{"Ten"});
    EXPECT_EQ(third.TagValue("event"), "Third");
    EXPECT_EQ(ReadGameDiagrams(c.book, 1, PositionChoice::kFirst, hook).TagValue("White"), "Smith, J.");

    const PositionCounts counts = CountPositions(c.book, {1, INT64_MAX});
    EXPECT_EQ(counts.most, 4);
    EXPECT_EQ(counts.total, 4 + 1 + 2);
}

TEST(BookExport, NarrowedIndexKeepsTheBookNumbers) {
    Converted c;
    Convert(c, "three.pgn", kThreeGames);
    c.book.GameIndex = {c.book.FullIndex[2]};
    EXPECT_EQ(BookGameNumber(c.book, 1), 3);
    EXPECT_EQ(ReadGameDiagrams(c.book, 1, PositionChoice::kFirst, {}).game, 3);
}

TEST(BookExport, StyleTagsSwitchToKnownBlocksOnly) {
    const std::string dir = TempFolder();
    WriteFile(dir + "Pandrel.ini",
              "BeginStyle = Alpha\r\nEndStyle\r\nBeginStyle = Ten\r\n  BorderWidth = 10\r\nEndStyle\r\n");
    settings::Style style;
    settings::ProgramSettings program;
    program.AppDir = dir;
    const std::vector<std::string> names = settings::ReadSettings(style, program).newStyles;
    ASSERT_EQ(style.CurrentStyle, "Alpha");
    StyleSwitcher switcher(style, program, names);
    struct Step {
        std::vector<std::string> values;
        bool changed;
        const char* current;
        int cols;
    };
    const Step steps[] = {
        {{"Nope"}, false, "Alpha", 8}, {{"ALPHA"}, false, "Alpha", 8},        {{"ten"}, true, "Ten", 10},
        {{"Ten"}, false, "Ten", 10},   {{"Nope", "alpha"}, true, "Alpha", 8}, {{}, false, "Alpha", 8},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(switcher.Apply(s.values), s.changed);
        EXPECT_EQ(style.CurrentStyle, s.current);
        EXPECT_EQ(style.BORDERWIDTH, s.cols);
    }
}

TEST(BookExport, CompleteFilesOnly) {
    const std::string dir = TempFolder();
    std::string error;
    ASSERT_TRUE(WriteCompleteFile(dir + "a.png", "bytes", error));
    std::string text;
    ASSERT_TRUE(settings::ReadFile(dir + "a.png", text));
    EXPECT_EQ(text, "bytes");
    // A folder that is not there: nothing left behind, the reason given.
    EXPECT_FALSE(WriteCompleteFile(dir + "no/b.png", "bytes", error));
    EXPECT_NE(error.find("no/b.png"), std::string::npos);
    // The disk that fills up: nothing by the name, no temporary either.
    {
        const testsupport::FileSizeLimit limit(2);
        EXPECT_FALSE(WriteCompleteFile(dir + "full.png", "bytes", error));
    }
    EXPECT_FALSE(std::filesystem::exists(dir + "full.png"));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
    // A link found at the name is replaced, its target left as it was.
    settings::ReplaceFile(dir, dir + "victim", "precious");
    std::filesystem::create_symlink(dir + "victim", dir + "linked.png");
    ASSERT_TRUE(WriteCompleteFile(dir + "linked.png", "bytes", error));
    ASSERT_TRUE(settings::ReadFile(dir + "victim", text));
    EXPECT_EQ(text, "precious");
    EXPECT_FALSE(std::filesystem::is_symlink(dir + "linked.png"));
}

TEST(SheetLayout, CellsAndCaptionsNeverOverlap) {
    for (const Paper paper : {Paper::kA4, Paper::kLetter}) {
        for (const int perPage : kPerPageChoices) {
            const auto layout = LayoutSheet(perPage, paper, 8);
            ASSERT_TRUE(layout) << perPage;
            EXPECT_EQ(layout->columns * layout->rows, perPage);
            std::vector<Box> boxes;
            for (int k = 0; k < perPage; ++k) {
                const Box d = layout->DiagramBox(k);
                const Box t = layout->CaptionBox(k);
                EXPECT_GT(d.height, 0) << perPage;
                EXPECT_DOUBLE_EQ(d.width, t.width);
                EXPECT_LE(d.y + d.height, t.y + 1e-9) << "caption under its diagram";
                boxes.push_back(Box{d.x, d.y, d.width, t.y + t.height - d.y});
            }
            for (size_t a = 0; a < boxes.size(); ++a) {
                const Box& p = boxes[a];
                EXPECT_GE(p.x, 0);
                EXPECT_LE(p.x + p.width, layout->pageWidth);
                EXPECT_LE(p.y + p.height, layout->footer.y) << "above the page number";
                for (size_t b = a + 1; b < boxes.size(); ++b) {
                    const Box& q = boxes[b];
                    const bool apart = p.x + p.width <= q.x || q.x + q.width <= p.x ||
                                       p.y + p.height <= q.y || q.y + q.height <= p.y;
                    EXPECT_TRUE(apart) << perPage << ": cells " << a << " and " << b;
                }
            }
        }
    }
    EXPECT_FALSE(LayoutSheet(5, Paper::kA4, 8));
    EXPECT_FALSE(LayoutSheet(0, Paper::kA4, 8));
}

TEST(SheetLayout, Captions) {
    GameDiagrams game;
    game.game = 12;
    game.tags = {{"White", "Smith, J."}, {"Black", "?"}, {"Event", "Open"}, {"Site", ""}};
    struct Case {
        std::vector<std::string> tags;
        const char* caption;
    };
    const Case cases[] = {
        {{"White", "Black", "Event"}, "12. Smith, J., Open"},
        {{"Site"}, "12."},
        {{"event", "white"}, "12. Open, Smith, J."},
        {SplitTagList(" Event ,, White"), "12. Open, Smith, J."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SheetCaption(game, c.tags), c.caption);
    }
    game.tags[1].value = "Doe";
    EXPECT_EQ(SheetCaption(game, {"White", "Black", "Event"}), "12. Smith, J. \u2013 Doe, Open");
    EXPECT_EQ(SheetCaption(game, {"Black", "White"}), "12. Doe, Smith, J.");
}

}  // namespace
