#include "engines/uci_session.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "engines/tests/temp_folder.h"
#include "engines/uci_discovery.h"

namespace engines {
namespace {

double Now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

std::string Stockfish() {
    const char* path = std::getenv("PATH");
    return ResolveUciEngine("stockfish", "", path != nullptr ? path : "");
}

ChessPosition Position(const char* fen) {
    return PositionFromFen(fen).position.value();
}

// Polls until what must come has come, or seconds have passed.
template <typename Done>
bool PollUntil(UciSession& session, double seconds, Done done) {
    const double end = Now() + seconds;
    while (Now() < end) {
        const UciTick tick = session.Poll(Now(), 20);
        if (done(tick)) {
            return true;
        }
        if (tick.failed) {
            return false;
        }
    }
    return false;
}

class StockfishSession : public ::testing::Test {
  protected:
    void SetUp() override {
        m_path = Stockfish();
        if (m_path.empty()) {
            GTEST_SKIP() << "stockfish is not installed";
        }
        ASSERT_TRUE(m_session.Start(m_path, Now())) << m_session.Error();
        ASSERT_TRUE(PollUntil(m_session, 5, [](const UciTick& t) { return t.ready; })) << m_session.Error();
    }

    std::string m_path;
    UciSession m_session{position::NotationStyle{}};
};

TEST_F(StockfishSession, FindsTheMateInTwo) {
    EXPECT_NE(m_session.Name().find("Stockfish"), std::string::npos);
    ASSERT_TRUE(m_session.Go(Position("2k5/8/1K6/8/8/8/8/3Q4 w"), {12, 0, 1}));
    ASSERT_TRUE(PollUntil(m_session, 30, [](const UciTick& t) { return t.finished; })) << m_session.Error();
    ASSERT_EQ(m_session.Lines().size(), 1u);
    const AnalysisLine& line = m_session.Lines()[0];
    EXPECT_EQ(line.scoreText, "#2");
    ASSERT_EQ(line.moves.size(), 3u);
    EXPECT_EQ(line.moves.back().back(), '#');
    EXPECT_FALSE(m_session.BestMove().empty());
    EXPECT_EQ(m_session.state(), UciState::kReady);
}

TEST_F(StockfishSession, ThreeLinesFromBlacksSide) {
    ASSERT_TRUE(m_session.Go(Position("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3"), {8, 0, 3}));
    ASSERT_TRUE(PollUntil(m_session, 30, [](const UciTick& t) { return t.finished; })) << m_session.Error();
    ASSERT_EQ(m_session.Lines().size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const AnalysisLine& line = m_session.Lines()[static_cast<size_t>(i)];
        EXPECT_EQ(line.multipv, i + 1);
        EXPECT_FALSE(line.moves.empty());
        EXPECT_EQ(line.moves.size(), line.uci.size()) << "every move of the line is written";
    }
    EXPECT_NE(m_session.Lines()[0].moves[0], m_session.Lines()[1].moves[0]);
}

TEST_F(StockfishSession, StopEndsAnEndlessSearch) {
    ASSERT_TRUE(m_session.Go(Position("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR"), {}));
    ASSERT_TRUE(PollUntil(m_session, 30, [this](const UciTick&) { return !m_session.Lines().empty(); }));
    EXPECT_EQ(m_session.state(), UciState::kSearching);
    m_session.Stop(Now());
    ASSERT_TRUE(PollUntil(m_session, 30, [](const UciTick& t) { return t.finished; })) << m_session.Error();
    EXPECT_EQ(m_session.state(), UciState::kReady);
    EXPECT_FALSE(m_session.Lines().empty());
    // The engine takes the next search.
    EXPECT_TRUE(m_session.Go(Position("2k5/8/1K6/8/8/8/8/3Q4 w"), {4, 0, 1}));
}

TEST_F(StockfishSession, AnEngineKilledInTheSearchIsReported) {
    ASSERT_TRUE(m_session.Go(Position("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR"), {}));
    ASSERT_TRUE(PollUntil(m_session, 30, [this](const UciTick&) { return !m_session.Lines().empty(); }));
    // The engine dies from outside, as when the system ends it.
    ASSERT_GT(m_session.EnginePid(), 0);
    kill(m_session.EnginePid(), SIGKILL);
    ASSERT_TRUE(PollUntil(m_session, 30, [](const UciTick& t) { return t.failed; }) ||
                m_session.state() == UciState::kFailed);
    EXPECT_EQ(m_session.state(), UciState::kFailed);
    EXPECT_NE(m_session.Error().find("stopped unexpectedly"), std::string::npos) << m_session.Error();
    EXPECT_FALSE(m_session.Go(Position("2k5/8/1K6/8/8/8/8/3Q4 w"), {4, 0, 1}));
}

// Stand-ins for engines that misbehave.
class FakeEngine : public ::testing::Test {
  protected:
    std::string Script(const std::string& body) {
        const std::string path = m_folder.file("engine.sh");
        m_folder.Write("engine.sh", "#!/bin/sh\n" + body);
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        return path;
    }
    testing::TempFolder m_folder;
};

TEST_F(FakeEngine, SilentEngineIsGivenUpAfterFiveSeconds) {
    UciSession session{position::NotationStyle{}};
    ASSERT_TRUE(session.Start(Script("exec sleep 30\n"), 100.0));
    EXPECT_FALSE(session.Poll(104.0).failed);
    const UciTick tick = session.Poll(105.5);
    EXPECT_TRUE(tick.failed);
    EXPECT_NE(session.Error().find("within 5 seconds"), std::string::npos) << session.Error();
}

TEST_F(FakeEngine, DialogueInOrder) {
    // Answers the hand-shake, then one search, and logs what it was sent.
    const std::string log = m_folder.file("sent.txt");
    UciSession session{position::NotationStyle{}};
    ASSERT_TRUE(session.Start(Script("while read line; do echo \"$line\" >> " + log +
                                     "\n case \"$line\" in\n"
                                     " uci) echo 'id name Stand-in 1'; echo uciok;;\n"
                                     " isready) echo readyok;;\n"
                                     " go*) echo 'info depth 1 score cp 20 upperbound pv e2e4';"
                                     " echo 'info depth 2 multipv 1 score cp -15 pv d2d4 d7d5';"
                                     " echo 'info depth 2 multipv 1 score cp 90 lowerbound pv c2c4';"
                                     " echo 'bestmove d2d4 ponder d7d5';;\n"
                                     " quit) exit 0;;\n esac\ndone\n"),
                              Now()));
    ASSERT_TRUE(PollUntil(session, 5, [](const UciTick& t) { return t.ready; })) << session.Error();
    EXPECT_EQ(session.Name(), "Stand-in 1");
    ASSERT_TRUE(session.Go(Position("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR"), {3, 0, 2}));
    ASSERT_TRUE(PollUntil(session, 5, [](const UciTick& t) { return t.finished; })) << session.Error();
    const std::vector<std::string> sent = {
        "uci", "isready", "setoption name MultiPV value 2",
        "position fen rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 1", "go depth 3"};
    EXPECT_EQ(session.Sent(), sent);
    ASSERT_EQ(session.Lines().size(), 1u);
    // The lower bound after an exact score does not replace it.
    EXPECT_EQ(session.Lines()[0].scoreText, "-0.15");
    EXPECT_EQ(session.Lines()[0].moves, (std::vector<std::string>{"d4", "d5"}));
    EXPECT_EQ(session.BestMove(), "d2d4");
}

TEST_F(FakeEngine, ProgramThatCannotRun) {
    UciSession session{position::NotationStyle{}};
    EXPECT_FALSE(session.Start(m_folder.file("missing"), Now()));
    EXPECT_EQ(session.state(), UciState::kFailed);
    EXPECT_NE(session.Error().find("could not be started"), std::string::npos);
}

}  // namespace
}  // namespace engines
