// Whole games replayed move by move, each move written back from the two
// positions around it.

#include <gtest/gtest.h>

#include <array>
#include <random>
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
    Side side = Side::kWhite;
    int ply = 0;
    while (in >> move) {
        ++ply;
        v.cells[kPainted] = v.cells[kPosition];
        const PlayResult r = PlayMove(v, st, side, move);
        ASSERT_TRUE(r.Applied()) << "ply " << ply << " " << move << ": " << Describe(r.reason);
        EXPECT_EQ(SetMove(v, st, kPainted).move, Plain(move)) << "ply " << ply;
        side = Other(side);
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

namespace {

// The squares a man on from can go to by its pattern of movement: empty ones
// and those of the other side. Pawns step one row forward or take one
// diagonally forward.
std::vector<int> Targets(const Vet& vet, int rows, int cols, int from, char letter) {
    std::vector<int> out;
    const int row = from / cols;
    const int col = from % cols;
    const bool white = letter < 'a';
    const auto at = [&](int r, int c) { return vet(kPosition, r * cols + c); };
    const auto on = [&](int r, int c) { return r >= 0 && r < rows && c >= 0 && c < cols; };
    const auto enemy = [&](int r, int c) {
        const int v = at(r, c);
        return v > 0 && ((v % 2 == 0) != white);  // even indexes are White's letters
    };
    const char kind = static_cast<char>(letter | 0x20);
    if (kind == 'p') {
        const int r = row + (white ? -1 : 1);
        if (on(r, col) && at(r, col) == 0) {
            out.push_back(r * cols + col);
        }
        for (const int c : {col - 1, col + 1}) {
            if (on(r, c) && enemy(r, c)) {
                out.push_back(r * cols + c);
            }
        }
        return out;
    }
    if (kind == 'n') {
        for (const auto& [dr, dc] :
             {std::pair{1, 2}, {2, 1}, {-1, 2}, {-2, 1}, {1, -2}, {2, -1}, {-1, -2}, {-2, -1}}) {
            const int r = row + dr;
            const int c = col + dc;
            if (on(r, c) && (at(r, c) == 0 || enemy(r, c))) {
                out.push_back(r * cols + c);
            }
        }
        return out;
    }
    std::vector<std::pair<int, int>> dirs;
    if (kind == 'r' || kind == 'q') {
        dirs.insert(dirs.end(), {{1, 0}, {-1, 0}, {0, 1}, {0, -1}});
    }
    if (kind == 'b' || kind == 'q') {
        dirs.insert(dirs.end(), {{1, 1}, {1, -1}, {-1, 1}, {-1, -1}});
    }
    for (const auto& [dr, dc] : dirs) {
        for (int r = row + dr, c = col + dc; on(r, c); r += dr, c += dc) {
            if (at(r, c) == 0 || enemy(r, c)) {
                out.push_back(r * cols + c);
            }
            if (at(r, c) != 0) {
                break;
            }
        }
    }
    return out;
}

// Random positions on boards of many shapes: every move a piece can make is
// written by the writer and replayed by the interpreter, which must reach the
// same position. Kings stay off these boards, so that the interpreter's
// pinned-piece rule, which the writer does not know, never decides.
TEST(RoundTrip, WrittenMovesReplayOnEveryBoardShape) {
    struct Shape {
        int rows, cols;
    };
    // Up to 23 columns: the file after "w" is "x", which a move text takes
    // for the capture sign.
    const Shape shapes[] = {{8, 8}, {3, 10}, {10, 3}, {10, 10}, {12, 6}, {5, 5}, {9, 9}, {20, 20}, {17, 23}};
    const std::string letters = "pPnNbBrRqQ";
    std::mt19937 random(5);
    for (const Shape& shape : shapes) {
        const auto st = Style(shape.rows, shape.cols);
        const int squares = shape.rows * shape.cols;
        int moves = 0;
        for (int round = 0; round < 60; ++round) {
            Vet before;
            const int men = std::uniform_int_distribution<int>(1, std::min(squares, 12))(random);
            // Two men of a letter at most: with three, a move may need both
            // the file and the rank of its origin, and the interpreter reads
            // only the file of such a hint.
            std::array<int, 16> count{};
            for (int k = 0; k < men; ++k) {
                const int s = std::uniform_int_distribution<int>(0, squares - 1)(random);
                const int piece = static_cast<int>(1 + random() % letters.size());
                if (before(kPosition, s) == 0 && count[static_cast<size_t>(piece)] < 2) {
                    before(kPosition, s) = static_cast<int16_t>(piece);
                    ++count[static_cast<size_t>(piece)];
                }
            }
            for (int from = 0; from < squares; ++from) {
                const int piece = before(kPosition, from);
                if (piece <= 0) {
                    continue;
                }
                const char letter = letters[static_cast<size_t>(piece - 1)];
                const bool white = letter < 'a';
                for (const int to : Targets(before, shape.rows, shape.cols, from, letter)) {
                    Vet v = before;
                    v.cells[kPainted] = before.cells[kPosition];
                    v(kPosition, to) = static_cast<int16_t>(piece);
                    v(kPosition, from) = 0;
                    const std::string text = SetMove(v, st, kPainted).move;
                    Vet replay = before;
                    const PlayResult r = PlayMove(replay, st, white ? Side::kWhite : Side::kBlack, text);
                    ASSERT_TRUE(r.Applied()) << shape.rows << "x" << shape.cols << " " << Fen(before, st)
                                             << " " << text << ": " << Describe(r.reason);
                    ASSERT_EQ(Fen(replay, st), Fen(v, st))
                        << shape.rows << "x" << shape.cols << " " << Fen(before, st) << " " << text;
                    ++moves;
                }
            }
        }
        EXPECT_GT(moves, 100) << shape.rows << "x" << shape.cols;
    }
}

}  // namespace
