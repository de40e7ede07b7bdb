// Whole games replayed move by move, each move written back from the two
// positions around it.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "position/play_move.h"
#include "position/set_move.h"
#include "position/tests/notation_helpers.h"

using namespace position;
using namespace position::testing_support;

namespace {

struct Game {
    const char* name;
    const char* moves;  // move text without numbers
    const char* final;  // placement after the last move
};

void PrintTo(const Game& g, std::ostream* os) {
    *os << g.name;
}

// What the writer gives back: the move without check and comment signs.
std::string Plain(std::string move) {
    std::string out;
    for (char c : move) {
        if (c != '+' && c != '#' && c != '!' && c != '?') {
            out += c;
        }
    }
    return out;
}

class Replay : public ::testing::TestWithParam<Game> {};

TEST_P(Replay, EveryMoveAppliesAndRoundTrips) {
    const auto& g = GetParam();
    const auto st = Style();
    Vet v = Board(std::string(kStandardStartPos), st);
    std::istringstream in(g.moves);
    std::string move;
    int side = 0;
    int ply = 0;
    while (in >> move) {
        ++ply;
        v.cells[kPainted] = v.cells[kPosition];
        const PlayResult r = PlayMove(v, st, side, move);
        ASSERT_TRUE(r.Applied()) << "ply " << ply << " " << move << ": " << Describe(r.reason);
        EXPECT_EQ(SetMove(v, st, kPainted).move, Plain(move)) << "ply " << ply;
        side = 1 - side;
    }
    EXPECT_EQ(Fen(v, st), g.final);
}

INSTANTIATE_TEST_SUITE_P(
    Games, Replay,
    ::testing::Values(
        Game{"Opera",
             "e4 e5 Nf3 d6 d4 Bg4 dxe5 Bxf3 Qxf3 dxe5 Bc4 Nf6 Qb3 Qe7 Nc3 c6 Bg5 b5 Nxb5 cxb5 Bxb5+ Nbd7 "
             "O-O-O "
             "Rd8 Rxd7 Rxd7 Rd1 Qe6 Bxd7+ Nxd7 Qb8+ Nxb8 Rd8#",
             "1n1Rkb1r/p4ppp/4q3/4p1B1/4P3/8/PPP2PPP/2K5"},
        Game{"Immortal",
             "e4 e5 f4 exf4 Bc4 Qh4+ Kf1 b5 Bxb5 Nf6 Nf3 Qh6 d3 Nh5 Nh4 Qg5 Nf5 c6 g4 Nf6 Rg1 cxb5 h4 Qg6 h5 "
             "Qg5 Qf3 Ng8 Bxf4 Qf6 Nc3 Bc5 Nd5 Qxb2 Bd6 Bxg1 e5 Qxa1+ Ke2 Na6 Nxg7+ Kd8 Qf6+ Nxf6 Be7#",
             "r1bk3r/p2pBpNp/n4n2/1p1NP2P/6P1/3P4/P1P1K3/q5b1"},
        // Promotions for both sides, an en-passant capture and a move that
        // needs its file because a second queen could reach the square.
        Game{"Promotions",
             "h4 g5 hxg5 h6 gxh6 Bg7 hxg7 Nf6 gxh8=Q+ Ng8 Rh7 a5 Nc3 a4 Nb5 a3 Nc3 axb2 Nd5 bxa1=Q Nc3 Qxc3 "
             "dxc3 e5 e3 e4 f4 exf3 Qxg8+ Ke7 Qxf7+ Kd6 Qfxf3",
             "rnbq4/1ppp3R/3k4/8/8/2P1PQ2/P1P3P1/2BQKBN1"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
