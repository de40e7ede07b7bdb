#include "engines/crafty.h"

#include <gtest/gtest.h>

#include "temp_folder.h"

namespace engines {
namespace {

using testing::TempFolder;

TEST(CraftyRc, DepthPositionAndSide) {
    EXPECT_EQ(CraftyRc("10", "8/8/8/8/8/8/8/K6k", false),
              "log off\r\nponder off\r\nsd 10\r\nsetboard 8/8/8/8/8/8/8/K6k b - -\r\nblack\r\nlog on\r\n"
              "analyze\r\nexit\r\nquit\r\nexit\r\n");
    const std::string white = CraftyRc("", "k7/8/8/8/8/8/8/7K", true);
    EXPECT_EQ(white.substr(0, white.find("log on")),
              "log off\r\nponder off\r\nsd \r\nsetboard k7/8/8/8/8/8/8/7K w - -\r\nwhite\r\n");
    // Typed text cannot slip in commands of its own.
    EXPECT_NE(CraftyRc("12\nquit", "8\r8", true).find("sd 12 quit\r\nsetboard 8 8 w - -\r\n"),
              std::string::npos);
}

TEST(CraftyLogs, PredictedNumberIsTheFirstFree) {
    TempFolder folder;
    EXPECT_EQ(PredictLogNumber(folder.dir()), "001");
    folder.Write("log.001", "");
    folder.Write("log.002", "x");
    folder.Write("game.003", "x");
    EXPECT_EQ(PredictLogNumber(folder.dir()), "003");
}

TEST(CraftyLogs, LinesByCrOrLfWithoutEmptyOrUnfinished) {
    EXPECT_EQ(LogItems("one\r\ntwo\r\n\r\nthree\rfour\nhalf"),
              (std::vector<std::string>{"one", "two", "three", "four"}));
    EXPECT_TRUE(LogItems("").empty());
}

TEST(CraftyLogs, LongLinesAreReadWhole) {
    const std::string line(4 << 20, 'e');
    const std::vector<std::string> items = LogItems(line + "\n" + line + "\r\nhalf");
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0], line);
    EXPECT_EQ(items[1], line);
}

TEST(CraftyRun, StagesFromCommandFileToIdle) {
    TempFolder folder;
    CraftyRun run;
    int starts = 0;
    bool startWorks = false;
    const auto start = [&] {
        ++starts;
        return startWorks;
    };
    run.Start(folder.dir(), "004");
    EXPECT_EQ(run.LogPath(), folder.file("log.004"));

    run.Tick(10, false, start);  // no command file yet
    EXPECT_EQ(starts, 0);
    folder.Write("Crafty.rc", "log off\r\n");
    run.Tick(10.5, false, start);  // cannot be started: tried again next tick
    EXPECT_EQ(run.PollState(), 0);
    startWorks = true;
    RunTick t = run.Tick(11, false, start);
    EXPECT_EQ(t.clock, "00:01");
    EXPECT_EQ(starts, 2);
    EXPECT_EQ(run.PollState(), 1);

    run.Tick(12, true, start);
    EXPECT_EQ(run.PollState(), 1);
    folder.Write("log.004", "depth 1\r\n");
    folder.Write("game.004", "[Event]\r\n");
    run.Tick(13, true, start);
    EXPECT_EQ(run.PollState(), 2);
    // While the engine writes, the log shows as far as it goes.
    t = run.Tick(14, true, start);
    EXPECT_TRUE(t.showWindow);
    EXPECT_EQ(t.items, (std::vector<std::string>{"depth 1"}));
    EXPECT_EQ(run.Stage(), CraftyStage::kLogSeen);
    EXPECT_TRUE(folder.Has("log.004"));
    folder.Write("log.004", "depth 1\r\ndepth 2\r\n");
    t = run.Tick(75 * 60 + 10, false, start);
    EXPECT_EQ(t.clock, "75:00");
    EXPECT_TRUE(t.itemsChanged);
    EXPECT_EQ(t.items, (std::vector<std::string>{"depth 1", "depth 2"}));

    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(run.Tick(4600, false, start).finished);
    }
    EXPECT_FALSE(folder.Has("log.004"));
    EXPECT_FALSE(folder.Has("game.004"));
    t = run.Tick(4600, false, start);
    EXPECT_TRUE(t.finished);
    EXPECT_EQ(t.clock, "");
    EXPECT_FALSE(run.LeCrafty());
    EXPECT_TRUE(folder.Has("Crafty.rc"));  // stays for the next analysis
}

TEST(CraftyRun, EngineGoneWithoutLogEndsTheAnalysis) {
    TempFolder folder;
    folder.Write("Crafty.rc", "x");
    CraftyRun run;
    run.Start(folder.dir(), "001");
    run.Tick(0, false, [] { return true; });
    const RunTick t = run.Tick(0, false, [] { return true; });
    EXPECT_TRUE(t.finished);
    EXPECT_EQ(t.message, "Crafty ended without writing its log.");
}

}  // namespace
}  // namespace engines
