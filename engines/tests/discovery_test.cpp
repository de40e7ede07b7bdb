#include "engines/discovery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engines/popeye.h"

#include "temp_folder.h"

namespace engines {
namespace {

using testing::TempFolder;

TEST(PyDat, LineNumbersPickListsAndDictionary) {
    const PyData data = ParsePyDat(
        "; comment\r\n"
        "\r\n"
        "07Ka1\r\n"
        "7 Kb1\r\n"
        " 0#\r\n"
        "xxnumberless\r\n"
        "10 512M\r\n"
        "11ignored\r\n"
        "89ignored\r\n"
        "91ignored\r\n"
        "-1ignored\r\n"
        "90&&S=wS\r\n"
        "90&&T=bT\n"
        "3 keep  blanks  ");
    EXPECT_EQ(data.pickLists[7], (std::vector<std::string>{"Ka1", "Kb1"}));
    EXPECT_EQ(data.pickLists[0], (std::vector<std::string>{"#", "numberless"}));
    EXPECT_EQ(data.pickLists[10], (std::vector<std::string>{" 512M"}));
    EXPECT_EQ(data.pickLists[3], (std::vector<std::string>{"keep  blanks  "}));
    EXPECT_EQ(data.dictionary, "&&S=wS&&T=bT&&");
}

TEST(PyDat, ShortLineEndsReadingAndMissingFileStillEndsDictionary) {
    const PyData data = ParsePyDat("0 first\r\n5\r\n0 after\r\n90&&X=wY\r\n");
    EXPECT_EQ(data.pickLists[0], (std::vector<std::string>{"first"}));
    EXPECT_EQ(data.dictionary, "&&");
    EXPECT_EQ(ParsePyDat(";only\r\n;comments\r\n").dictionary, "&&");
    EXPECT_EQ(ReadPyDat("/nonexistent/Py.dat").dictionary, "&&");
}

TEST(FindEngines, RecentEngineAndFlagsByWhatIsInstalled) {
    struct Case {
        bool popeye, crafty;
        const char* recent;
        const char* expected;
    } cases[] = {
        {false, false, "Popeye", ""},
        {false, false, "crafty", ""},
        {false, true, "Popeye", "Crafty"},
        {true, true, "", "Popeye"},
        {true, true, "CRAFTY", "CRAFTY"},
        {false, true, "", "Crafty"},
        {true, false, "Crafty", ""},
        {true, false, "", "Popeye"},
        // Only the two engines are remembered.
        {false, false, "Stockfish", ""},
        {true, false, "Stockfish", "Popeye"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        if (c.popeye) {
            folder.Write("py", "#!/bin/sh\n");
        }
        if (c.crafty) {
            folder.Write("CRAFTY.EXE", "#!/bin/sh\n");
        }
        EngineState state;
        std::string recent = c.recent;
        FindPopeye(state, recent, folder.dir());
        FindCrafty(state, recent, folder.dir(), false);
        SCOPED_TRACE(std::string(c.recent) + (c.popeye ? " popeye" : "") + (c.crafty ? " crafty" : ""));
        EXPECT_EQ(recent, c.expected);
        EXPECT_EQ(state.popeyeFound, c.popeye);
        EXPECT_EQ(state.craftyFound, c.crafty);
        EXPECT_EQ(state.engineButton, c.popeye || c.crafty);
        EXPECT_EQ(state.PyDictionaryBase, c.popeye ? "&&" : "");
        EXPECT_EQ(state.craftyProgram, c.crafty ? folder.file("CRAFTY.EXE") : "");
    }
}

TEST(FindEngines, OldCraftyLogsGoUnlessAnotherCopyRuns) {
    for (bool another : {false, true}) {
        TempFolder folder;
        folder.Write("Crafty.exe", "");
        for (const char* name : {"log.001", "game.001", "log.017", "game.017", "game.002", "logbook"}) {
            folder.Write(name, "x");
        }
        EngineState state;
        std::string recent;
        FindCrafty(state, recent, folder.dir(), another);
        for (const char* name : {"log.001", "game.001", "log.017", "game.017"}) {
            EXPECT_EQ(folder.Has(name), another) << name;
        }
        EXPECT_TRUE(folder.Has("game.002"));  // no log of its number
        EXPECT_TRUE(folder.Has("logbook"));
    }
}

TEST(CraftyLogs, OddNamesDoNotHoldUpStartUp) {
    TempFolder folder;
    folder.Write("log.1234", "x");
    folder.Write("log.234", "x");
    folder.Write("game.234", "x");
    const std::vector<std::string> removed = RemoveOldCraftyLogs(folder.dir());
    EXPECT_EQ(removed.size(), 2u);
    EXPECT_TRUE(folder.Has("log.1234"));
}

TEST(CraftyFen, PieceLettersBecomeEnglish) {
    struct Case {
        const char* fen;
        const char* pieces;
        const char* english;
        const char* expected;
    } cases[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", "pPnNbBrRqQkK", "pPnNbBrRqQkK",
         "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR"},
        {"tcfdrfct/8/8/8/8/8/PPPPPPPP/TCFDRFCT", "pPcCfFtTdDrR", "pPnNbBrRqQkK",
         "rnbqkbnr/8/8/8/8/8/PPPPPPPP/RNBQKBNR"},
        // A letter without an English counterpart stays as it is.
        {"4Z3/8", "pPZ", "pP", "4Z3/8"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CraftyFen(c.fen, c.pieces, c.english), c.expected);
    }
}

}  // namespace
}  // namespace engines

namespace engines {
namespace {

using testing::TempFolder;

TEST(FindEngines, ShippedDataFileWhenTheUserHasNone) {
    TempFolder user;
    std::filesystem::create_directories(user.file("shipped"));
    const std::string shipped = user.file("shipped") + "/";
    user.Write("popeye", "#!/bin/sh\n");
    user.Write("shipped/Py.dat", "0 # '#\r\n90&&N=wS\r\n");
    EngineState state;
    std::string recent;
    FindPopeye(state, recent, user.dir(), "", shipped);
    EXPECT_EQ(state.pickLists[kStipulation], std::vector<std::string>{"# '#"});
    EXPECT_EQ(state.PyDictionaryBase, "&&N=wS&&");

    // The user's own file wins.
    user.Write("Py.dat", "0 h#\r\n");
    EngineState own;
    FindPopeye(own, recent, user.dir(), "", shipped);
    EXPECT_EQ(own.pickLists[kStipulation], std::vector<std::string>{"h#"});
    EXPECT_EQ(own.PyDictionaryBase, "&&");
}

// The data file shipped with the program: every stipulation replaces the
// field, and the knight reaches the solver under its own letter.
TEST(FindEngines, TheShippedDataFile) {
    const std::filesystem::path engines = std::filesystem::path(TEST_DATA_DIR).parent_path().parent_path();
    const PyData data = ReadPyDat((engines / "data" / "Py.dat").string());
    const auto& stipulations = data.pickLists[kStipulation];
    ASSERT_GE(stipulations.size(), 14u);
    for (const std::string& item : stipulations) {
        if (item != "NONE") {
            EXPECT_EQ(ApplyPickItem(item, "h#").value, item.substr(0, item.find(" '"))) << item;
        }
    }
    for (const char* wanted :
         {"Circe", "Madrasi", "Andernach", "Anticirce", "Patrouille", "Isardam", "Messigny", "Einstein",
          "MonochromChess", "BichromChess", "Maximummer", "AlphabeticChess", "Koeko"}) {
        EXPECT_NE(std::find(data.pickLists[kConditions].begin(), data.pickLists[kConditions].end(), wanted),
                  data.pickLists[kConditions].end())
            << wanted;
    }
    EXPECT_EQ(ApplyPickItem("Try", "SetPlay").value, "SetPlay Try");
    EXPECT_EQ(data.dictionary.substr(0, 16), "&&N=wS&&n=bS&&G=");
    EXPECT_EQ(data.dictionary.substr(data.dictionary.size() - 2), "&&");
}

}  // namespace
}  // namespace engines
