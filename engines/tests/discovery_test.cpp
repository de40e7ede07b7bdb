#include "engines/discovery.h"

#include <gtest/gtest.h>

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
        {false, false, "Popeye", ""}, {false, false, "crafty", ""},     {false, true, "Popeye", "Crafty"},
        {true, true, "", "Popeye"},   {true, true, "CRAFTY", "CRAFTY"}, {false, true, "", "Crafty"},
        {true, false, "Crafty", ""},  {true, false, "", "Popeye"},
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
