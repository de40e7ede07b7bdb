#include "engines/popeye.h"

#include <gtest/gtest.h>

#include <random>

#include "temp_folder.h"
#include "tests/support/counting_new.h"

namespace engines {
namespace {

using testing::TempFolder;

TEST(PickItems, ModesNoneAndUnknown) {
    struct Case {
        const char* item;
        const char* old;
        bool changed;
        const char* value;
    } cases[] = {
        {"Circe", "Madrasi", true, "Madrasi Circe"},
        {"Circe '>", "", true, "Circe"},
        {" Circe  '>", "Madrasi", true, "Madrasi Circe"},
        {"a1 ']", "Kb", true, "Kba1"},
        {"Anti '<", "Circe", true, "Anti Circe"},
        {"S '[", "e4", true, "Se4"},
        {"h#", "#", true, "# h#"},
        {"ser-h# '#", "#", true, "ser-h#"},
        {"x '?", "keep", false, ""},
        {"x '", "keep", false, ""},
        {"nOnE", "anything", true, ""},
    };
    for (const Case& c : cases) {
        const PickResult r = ApplyPickItem(c.item, c.old);
        EXPECT_EQ(r.changed, c.changed) << c.item;
        if (r.changed) {
            EXPECT_EQ(r.value, c.value) << c.item;
        }
    }
    EXPECT_TRUE(ApplyPickItem("None", "x").none);
    EXPECT_FALSE(ApplyPickItem("Nonet", "x").none);
}

TEST(PopeyeOptions, MaxTimeFromTheFieldOrSixty) {
    struct Case {
        const char* field;
        const char* text;
        double maxTime;
    } cases[] = {
        {"", "MaxTime 60 NoBoard", 60},
        {"maxtime 30", "NoBoard maxtime 30", 30},
        {"Intelligent MAXTIME 30 Try", "NoBoard Intelligent MAXTIME 30 Try", 30},
        {"Try MaxTime", "MaxTime 60 NoBoard Try MaxTime", 60},
        {"MaxTime x", "NoBoard MaxTime x", 0},
        {"MaxTime 6000", "NoBoard MaxTime 6000", 6000},
    };
    for (const Case& c : cases) {
        const PopeyeOptions o = MakePopeyeOptions(c.field);
        EXPECT_EQ(o.text, c.text) << c.field;
        EXPECT_EQ(o.maxTime, c.maxTime) << c.field;
    }
}

TEST(PopeyeInput, LinesInOrderOnlySetOnes) {
    PopeyeFieldTexts f;
    f[kStipulation] = "#";
    f[kMoves] = "2";
    f[kWhitePieces] = "Ke1 Qd1";
    f[kBlackPieces] = "Ke8";
    f[kTwins] = "Move e1 e2";
    f[kCommand] = "Remark test";
    f[kMaxmem] = "64M";
    const PopeyeRunFiles files = MakePopeyeRunFiles("/app/", "F123456");
    EXPECT_EQ(files.input, "/app/F123456o.tmp");
    EXPECT_EQ(files.protocol, "/app/F123456i.tmp");
    const PopeyeJob job = PreparePopeye(f, files);
    EXPECT_EQ(job.message, "");
    EXPECT_EQ(job.maxTime, 60);
    EXPECT_EQ(job.inputText,
              "BeginProblem\r\nProtocol /app/F123456i.tmp\r\nPieces\r\nWhite Ke1 Qd1\r\nBlack Ke8\r\n"
              "Stipulation #2\r\nOption MaxTime 60 NoBoard\r\nTwin Move e1 e2\r\nRemark test\r\n"
              "EndProblem\r\n");
    EXPECT_EQ(job.arguments, (std::vector<std::string>{"-maxmem", "64M", "/app/F123456o.tmp"}));

    f[kMaxmem].clear();
    f[kConditions] = "Circe\r\nEndProblem";  // cannot become a line of its own
    f[kZeroPosition] = "rotate 90";
    const PopeyeJob second = PreparePopeye(f, MakePopeyeRunFiles("/my app/", "F000001"));
    EXPECT_NE(second.inputText.find("\r\nProtocol F000001i.tmp\r\n"), std::string::npos);
    EXPECT_NE(second.inputText.find("\r\nCondition Circe  EndProblem\r\nOption "), std::string::npos);
    // The zero position comes before the twins, which the solver would
    // otherwise take it for.
    EXPECT_NE(
        second.inputText.find("\r\nZeroPosition rotate 90\r\nTwin Move e1 e2\r\nRemark test\r\nEndProblem"),
        std::string::npos);
    EXPECT_EQ(second.arguments, (std::vector<std::string>{"/my app/F000001o.tmp"}));
}

TEST(ProtocolItems, EmptyLinesSkippedLongLinesCut) {
    const std::string longLine =
        "1.Qd1-d8+ Ke8*d8 2.Bc1-g5+ Kd8-e8 3.Ra1-d1 threat: 4.Rd1-d8 # but 3... f7-f6 !";
    const std::vector<std::string> items = ProtocolItems("\r\nPopeye\r\n\r\n" + longLine + "\r\nend");
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0], "Popeye");
    EXPECT_EQ(items[1], "1.Qd1-d8+ Ke8*d8 2.Bc1-g5+ Kd8-e8 3.Ra1-d1 threat:");
    EXPECT_EQ(items[2], "4.Rd1-d8 # but 3... f7-f6 !");
    EXPECT_EQ(items[3], "end");

    const std::vector<std::string> solid = ProtocolItems(std::string(100, 'x'));
    EXPECT_EQ(solid,
              (std::vector<std::string>{std::string(44, 'x'), std::string(44, 'x'), std::string(12, 'x')}));
    EXPECT_EQ(ProtocolItems(std::string(50, 'y')).size(), 1u);
}

// The items as the solution list has always cut them, a copy of the rest of
// the line at every cut: the reference the one-pass reader must match.
std::vector<std::string> CutByCopies(const std::string& line) {
    std::vector<std::string> items;
    std::string rest = line;
    while (rest.size() >= 51) {
        const size_t blank = rest.find(' ', 44);
        const size_t cut = blank == std::string::npos ? 44 : blank;
        items.push_back(rest.substr(0, cut));
        rest = TrimBlanks(std::string_view(rest).substr(cut));
    }
    items.push_back(rest);
    return items;
}

TEST(ProtocolItems, OnePassCutsAsTheCopiesDid) {
    std::mt19937 random(17);
    // Lines rich in blanks and runs of blanks, around the cut positions.
    const char alphabet[] = {'x', 'x', 'x', ' ', ' ', '.'};
    for (int round = 0; round < 3000; ++round) {
        std::string line(std::uniform_int_distribution<int>(1, 400)(random), 'x');
        const int blankRate = std::uniform_int_distribution<int>(0, 60)(random);
        for (char& c : line) {
            c = std::uniform_int_distribution<int>(0, 99)(random) < blankRate
                    ? ' '
                    : alphabet[std::uniform_int_distribution<int>(0, 5)(random)];
        }
        if (line.find_first_not_of(' ') == std::string::npos) {
            line.front() = 'x';
        }
        ASSERT_EQ(ProtocolItems(line), CutByCopies(line)) << "\"" << line << "\"";
    }
}

TEST(ProtocolItems, LongLineWithoutBlanksCostsItsOwnSize) {
    // A solver's line of several MB: memory (and with it the time) stays a
    // small multiple of the line instead of the line's square.
    for (const size_t size : {size_t{1} << 20, size_t{4} << 20}) {
        const std::string line(size, 'a');
        testsupport::AllocatedBytes allocated;
        const std::vector<std::string> items = ProtocolItems(line);
        EXPECT_LT(allocated.Count(), 8 * size) << size;
        size_t cuts = 0;
        for (size_t rest = size; rest >= 51; rest -= 44) {
            ++cuts;
        }
        EXPECT_EQ(items.size(), cuts + 1) << size;
    }
    std::string spaced;
    for (int i = 0; i < 20000; ++i) {
        spaced += "word" + std::string(static_cast<size_t>(i % 3), ' ');
    }
    EXPECT_EQ(ProtocolItems(spaced), CutByCopies(spaced));
}

TEST(Countdown, RemainingSecondsRoundedAndClipped) {
    EXPECT_EQ(Countdown(60, 1), "00:59");
    EXPECT_EQ(Countdown(30, 45), "00:00");
    EXPECT_EQ(Countdown(6000, 0), "00:00");  // 100 minutes shown modulo 100
    EXPECT_EQ(Countdown(6125, 0), "02:05");
    EXPECT_EQ(Countdown(90.5, 0), "01:30");
    EXPECT_EQ(ClockText(75 * 60), "75:00");
}

// The run's stages, driven by hand over a protocol file in a real folder.
TEST(PopeyeRun, StagesFromStartToIdle) {
    TempFolder folder;
    const std::string protocol = folder.file("F1i.tmp");
    PopeyeRun run;
    EXPECT_FALSE(run.Tick(0, false).finished);  // idle: nothing happens
    run.Start(protocol, 30);
    EXPECT_TRUE(run.LePy());

    RunTick t = run.Tick(100.0, true);
    EXPECT_FALSE(t.clock);  // second 0 is not shown
    EXPECT_EQ(run.Stage(), PopeyeStage::kWaiting);
    t = run.Tick(101.2, true);
    EXPECT_EQ(t.clock, "00:29");
    EXPECT_FALSE(run.Tick(101.9, true).clock);

    folder.Write("F1i.tmp", "");  // opened, nothing written yet
    run.Tick(102, true);
    EXPECT_EQ(run.Stage(), PopeyeStage::kWaiting);
    folder.Write("F1i.tmp", "part\r\n");
    run.Tick(102, true);
    EXPECT_EQ(run.Stage(), PopeyeStage::kProtocolSeen);
    // While the solver writes, the protocol shows as far as it goes.
    t = run.Tick(103, true);
    EXPECT_TRUE(t.showWindow);
    EXPECT_TRUE(t.itemsChanged);
    EXPECT_EQ(t.items, (std::vector<std::string>{"part"}));
    EXPECT_FALSE(run.Tick(103.5, true).itemsChanged);  // nothing new
    EXPECT_EQ(run.Stage(), PopeyeStage::kProtocolSeen);
    EXPECT_TRUE(folder.Has("F1i.tmp"));
    folder.Write("F1i.tmp", "part\r\nrest\r\n");
    t = run.Tick(104, false);
    EXPECT_FALSE(t.showWindow);
    EXPECT_TRUE(t.itemsChanged);
    EXPECT_EQ(t.items, (std::vector<std::string>{"part", "rest"}));
    EXPECT_EQ(run.Stage(), PopeyeStage::kProtocolRead);
    run.Tick(104, false);
    EXPECT_FALSE(folder.Has("F1i.tmp"));
    t = run.Tick(104, false);
    EXPECT_TRUE(t.finished);
    EXPECT_EQ(t.clock, "");
    EXPECT_TRUE(t.message.empty());
    EXPECT_FALSE(run.LePy());
    EXPECT_EQ(run.PollState(), 0);
}

TEST(PopeyeRun, SolverGoneWithoutProtocolEndsTheRun) {
    TempFolder folder;
    PopeyeRun run;
    run.Start(folder.file("F1i.tmp"), 60);
    EXPECT_FALSE(run.Tick(0, true).finished);
    const RunTick t = run.Tick(1, false);
    EXPECT_TRUE(t.finished);
    EXPECT_EQ(t.message, "Popeye ended without writing its protocol.");
    EXPECT_FALSE(run.LePy());

    // Stopped before it wrote anything.
    run.Start(folder.file("F1i.tmp"), 60);
    run.RequestStop();
    EXPECT_EQ(run.Tick(2, false).message, "Popeye was stopped.");
    EXPECT_FALSE(run.LePy());
}

}  // namespace
}  // namespace engines
