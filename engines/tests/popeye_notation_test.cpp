#include "engines/popeye_notation.h"

#include <gtest/gtest.h>

#include <string>

#include "engines/solution_replay.h"
#include "engines/solution_tree.h"
#include "position/vet.h"

namespace engines {
namespace {

// The half-moves the solver writes, and where each takes its man.
TEST(HalfMoves, AsTheSolverWritesThem) {
    struct Case {
        const char* text;
        const char* walk;
        const char* attrs;
        const char* from;
        const char* to;
        size_t captures;
        size_t effects;
    } cases[] = {
        {"Qg1-g6", "Q", "", "g1", "g6", 0, 0},
        {"e6-e5", "", "", "e6", "e5", 0, 0},
        {"Kd8*c7", "K", "", "d8", "c7", 1, 0},
        {"LEd3-f5", "LE", "", "d3", "f5", 0, 0},
        {"nPe5-e6", "P", "n", "e5", "e6", 0, 0},
        {"hccGd8-d3", "G", "hcc", "d8", "d3", 0, 0},
        {"B/Rc1-h6", "B/R", "", "c1", "h6", 0, 0},
        {"Ld3*g3-h3", "L", "", "d3", "h3", 1, 0},
        {"Sc4*c4-d5", "S", "", "c4", "d5", 1, 0},
        {"b5*a4[+wRh1]", "", "", "b5", "a4", 1, 1},
        {"kRf1*e1[-wkRe1]", "R", "k", "f1", "e1", 1, 1},
        {"Qh4*b4=w", "Q", "", "h4", "b4", 1, 1},
        {"c2-c1=R", "", "", "c2", "c1", 0, 1},
        {"a7-a8=nQ[wPa7->a6]", "", "", "a7", "a8", 0, 2},
        {"Ke1-e2[d8=w][f6=rG]", "K", "", "e1", "e2", 0, 2},
        {"e5*d6 ep.", "", "", "e5", "d6", 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<HalfMove> move = ParseHalfMove(c.text);
        ASSERT_TRUE(move);
        EXPECT_EQ(move->man.walk, c.walk);
        EXPECT_EQ(move->man.attrs, c.attrs);
        EXPECT_EQ(move->man.square, ParseSquare(c.from));
        EXPECT_EQ(move->To(), ParseSquare(c.to));
        EXPECT_EQ(move->captures.size(), c.captures);
        EXPECT_EQ(move->effects.size(), c.effects);
    }
    EXPECT_EQ(ParseHalfMove("0-0")->type, HalfMove::Type::kCastling);
    EXPECT_TRUE(ParseHalfMove("0-0")->kingSide);
    EXPECT_FALSE(ParseHalfMove("0-0-0")->kingSide);
    const std::optional<HalfMove> partner = ParseHalfMove("0-0/wSb1-d1");
    ASSERT_TRUE(partner && partner->partner);
    EXPECT_EQ(partner->partnerTo, ParseSquare("d1"));
    EXPECT_EQ(ParseHalfMove("...")->type, HalfMove::Type::kNull);
    for (const char* bad : {"", "Q", "Qg1", "Qg1-", "g1-g9x", "1.Qg1-g6", "Qg1-g6[+wR", "threat:", "=Q"}) {
        EXPECT_FALSE(ParseHalfMove(bad)) << bad;
    }
}

TEST(TwinChanges, AsTheSolverWritesThem) {
    struct Case {
        const char* text;
        TwinChangeKind kind;
    } cases[] = {
        {"wKa1-->b1", TwinChangeKind::kMove},
        {"wSa5<-->bPc3", TwinChangeKind::kExchange},
        {"+bPd4", TwinChangeKind::kAdd},
        {"-sBc5", TwinChangeKind::kRemove},
        {"rotate 90", TwinChangeKind::kRotate},
        {"Drehung 180", TwinChangeKind::kRotate},
        {"mirror a1<-->h8", TwinChangeKind::kMirror},
        {"shift a1 ==> a2", TwinChangeKind::kShift},
        {"PolishType", TwinChangeKind::kPolish},
        {"S ==> B", TwinChangeKind::kSubstitute},
        {"h=2", TwinChangeKind::kText},
        {"Circe", TwinChangeKind::kText},
        {"rotate 45", TwinChangeKind::kText},
    };
    for (const Case& c : cases) {
        const std::vector<TwinChange> changes = ParseTwinChanges(c.text);
        ASSERT_EQ(changes.size(), 1u) << c.text;
        EXPECT_EQ(changes.front().kind, c.kind) << c.text;
    }
    const std::vector<TwinChange> two = ParseTwinChanges("wKa1-->b1  +bPd4  ");
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[1].kind, TwinChangeKind::kAdd);
}

std::string Replayed(const SolutionTree& tree, int node, const char* fen) {
    position::NotationStyle style;
    position::Vet vet;
    position::ParseFEN(vet, fen, style.shape);
    SolutionReplay replay(tree, vet, style, "&&N=wS&&n=bS&&");
    return position::VetToFEN(replay.After(node).vet, style.shape);
}

// Black castles from the position the line has reached; White's men are
// the other colour.
TEST(Replay, CastlingSideFollowsTheLine) {
    const SolutionTree tree = ParseSolution("  1.0-0 Ke1-d1   2.0-0-0 Kd1-c1\n");
    ASSERT_EQ(tree.nodes.size(), 5u);
    EXPECT_EQ(Replayed(tree, 1, "r3k2r/8/8/8/8/8/8/R3K2R"), "r4rk1/8/8/8/8/8/8/R3K2R");
    EXPECT_EQ(Replayed(tree, 2, "r3k2r/8/8/8/8/8/8/R3K2R"), "r4rk1/8/8/8/8/8/8/R2K3R");
    // The White castling of a "1..." line.
    const SolutionTree white = ParseSolution("  1...0-0-0   2.Ke8-d8 Rd1*d7 #\n");
    EXPECT_EQ(Replayed(white, 1, "r3k2r/3p4/8/8/8/8/8/R3K2R"), "r3k2r/3p4/8/8/8/8/8/2KR3R");
}

// Whatever the text, the reader keeps what it understood and marks the rest.
TEST(BadInput, GarbageCutOffAndHuge) {
    const SolutionTree garbage = ParseSolution(
        "\x01\xff garbage\n  1.Kd3-c2 Qc8-b7   2.Rd5-d2 Qb7-b1 #\nnonsense 1.x\n  1.Kd3-c2 Qc8");
    int unparsed = 0;
    int help = 0;
    for (const SolutionNode& node : garbage.nodes) {
        unparsed += node.kind == NodeKind::kUnparsed;
        help += node.kind == NodeKind::kHelp;
    }
    EXPECT_EQ(help, 4);
    EXPECT_EQ(unparsed, 3);  // the garbage, the nonsense and the cut line
    EXPECT_FALSE(garbage.finished);

    // A line of a megabyte without a line break, and ten thousand twins.
    std::string huge(1 << 20, 'x');
    huge += "\n";
    for (int i = 0; i < 10000; ++i) {
        huge += "+b) rotate 90  \n\n  1.Kd3-c2 Qc8-b7\n\n";
    }
    const SolutionTree many = ParseSolution(huge);
    // The long line stays with the first twin, as the line it was.
    ASSERT_EQ(many.twins.size(), 10000u);
    ASSERT_EQ(many.nodes[1].kind, NodeKind::kUnparsed);
    EXPECT_EQ(many.nodes[1].move.size(), size_t{1} << 20);
    position::NotationStyle style;
    position::Vet vet;
    position::ParseFEN(vet, "8/8/8/8/8/3k4/8/2Q5", style.shape);
    SolutionReplay replay(many, vet, style, "");
    // Continued rotations come round again every fourth twin.
    const SolutionTwin& last = many.twins.back();
    EXPECT_EQ(position::VetToFEN(replay.After(last.node).vet, style.shape), "8/8/8/8/8/3k4/8/2Q5");

    // An effect the replay does not know stops its line there.
    const SolutionTree unknown = ParseSolution("  1.Kd3-c2[I23] Qc8-b7\n");
    position::ParseFEN(vet, "2Q5/8/8/8/8/3k4/8/8", style.shape);
    SolutionReplay unknownReplay(unknown, vet, style, "");
    const ReplayResult after = unknownReplay.After(2);
    EXPECT_FALSE(after.ok);
    EXPECT_EQ(after.stoppedAt, 1);
    EXPECT_EQ(after.note, "[I23] not understood");
}

}  // namespace
}  // namespace engines
