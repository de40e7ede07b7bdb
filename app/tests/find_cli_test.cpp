// pandrel-cli find, duplicates and anticipations: output lines, exit
// statuses, and a kept conversion that follows changes of its book.

#include <chrono>
#include <filesystem>

#include "app/tests/cli_fixture.h"

namespace {

using clitest::CliRun;

class FindCliTest : public clitest::CliFolderTest {
  protected:
    void SetUp() override {
        CliFolderTest::SetUp();
        Write("games.pgn",
              "[Event \"1\"]\n\n1. e4 e5 *\n\n[Event \"2\"]\n\n1. d4 *\n\n[Event \"3\"]\n\n1. e4 c5 *\n");
        Write("a.fen",
              "4k3/8/8/8/8/8/3P4/4K3\n[Event \"2\"]\n2k5/8/8/8/8/8/8/R3K3\n[Event \"3\"]\n"
              "4k3/8/8/8/8/8/3P4/4K3 b\n[Event \"4\"]\n3k4/8/8/8/8/8/4P3/3K4\n");
        Write("b.fen", "2k5/8/8/8/8/8/8/R3K3\n[Event \"2\"]\n4k3/8/8/8/8/8/3P3p/4K3\n");
    }
    CliRun In(const std::string& args) { return clitest::Cli(m_app + args); }
};

TEST_F(FindCliTest, FindPrintsGamePositionAndHow) {
    const std::string book = Path("games.pgn");
    struct Case {
        std::string args;
        int status;
        std::string out;
    };
    const Case cases[] = {
        {book + " rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR", 0, "1\t2\texact\n3\t2\texact\n"},
        {"--mirror " + book + " rnbkqbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBKQBNR", 0,
         "1\t2\tmirror\n3\t2\tmirror\n"},
        {"--colours " + book + " rnbqkbnr/pppp1ppp/8/4p3/8/8/PPPPPPPP/RNBQKBNR", 0,
         "1\t2\tcolours\n3\t2\tcolours\n"},
        {"--partial --first " + book + " 8/8/8/8/8/8/8/4K3", 0, "1\t1\texact\n2\t1\texact\n3\t1\texact\n"},
        {"--shift --partial " + book + " 8/8/8/8/8/8/8/BK6", 0, ""},
        {"--shift --partial " + book + " 8/8/8/8/8/8/8/3KB3", 0,
         "1\t1\tshift+1,+0\n1\t2\tshift+1,+0\n1\t3\tshift+1,+0\n2\t1\tshift+1,+0\n2\t2\tshift+1,+0\n"
         "3\t1\tshift+1,+0\n3\t2\tshift+1,+0\n3\t3\tshift+1,+0\n"},
        {book + " 8/8/8/8/8/8/8/K7", 0, ""},
        {Path("missing.pgn") + " 8/8/8/8/8/8/8/K7", 1, ""},
        {book, 2, ""},
        {"--fuzzy " + book + " K", 2, ""},
        {book + " 8/8/8/8/8/8/8/8", 2, ""},
    };
    for (const Case& c : cases) {
        const CliRun r = In("find " + c.args);
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_EQ(r.out, c.out) << c.args;
    }
}

TEST_F(FindCliTest, TheKeptConversionFollowsItsBook) {
    const std::string args = "find " + Path("games.pgn") + " rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR";
    EXPECT_EQ(In(args).out, "2\t2\texact\n");
    int kept = 0;
    for (const auto& e : std::filesystem::directory_iterator(m_dir)) {
        kept += e.path().extension() == ".tmp";
    }
    EXPECT_EQ(kept, 2);  // the work file and its index
    EXPECT_EQ(In(args).out, "2\t2\texact\n");
    // The new book gets a later time stamp than the kept conversion even on
    // a file system whose clock ticks coarsely.
    const auto stamp = std::filesystem::last_write_time(Path("games.pgn"));
    Write("games.pgn", "[Event \"1\"]\n\n1. d4 *\n");
    std::filesystem::last_write_time(Path("games.pgn"), stamp + std::chrono::seconds(2));
    EXPECT_EQ(In(args).out, "1\t2\texact\n");
    std::filesystem::remove(Path("games.pgn"));
    EXPECT_EQ(In(args).status, 1);
}

TEST_F(FindCliTest, DuplicatesAndAnticipations) {
    EXPECT_EQ(In("duplicates " + Path("a.fen")).out, "1 3\n");
    EXPECT_EQ(In("duplicates --mirror " + Path("a.fen")).out, "1 3 4\n");
    EXPECT_EQ(In("anticipations " + Path("a.fen") + " " + Path("b.fen")).out, "2\t1\n");
    EXPECT_EQ(In("anticipations --partial " + Path("a.fen") + " " + Path("b.fen")).out, "1\t2\n2\t1\n3\t2\n");
    EXPECT_EQ(In("anticipations " + Path("a.fen")).status, 2);
    EXPECT_EQ(In("duplicates " + Path("none.fen")).status, 1);
}

}  // namespace
