#include "engines/solution_tree.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "engines/solution_replay.h"
#include "position/vet.h"

namespace engines {
namespace {

const std::string kCases = std::string(POPEYE_DIR) + "/cases/";
// Knights are S to the solver, nightriders N; G is a grasshopper.
const std::string kDictionary = "&&N=wS&&n=bS&&H=wN&&h=bN&&G=wG&&g=bG&&";

std::string ReadCase(const std::string& name) {
    std::ifstream in(kCases + name + ".out", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

position::NotationStyle Style(const char* pieces = "pPnNbBrRqQkK") {
    position::NotationStyle style;
    style.shape.piecesList = pieces;
    style.englishNotation = pieces;
    return style;
}

// A tree with the board it was solved for.
struct Solved {
    SolutionTree tree;
    position::NotationStyle style;
    position::Vet diagram;

    int Find(const std::string& twin, NodeKind kind, const std::string& move) const {
        for (size_t i = 0; i < tree.nodes.size(); ++i) {
            const SolutionNode& n = tree.nodes[i];
            if (tree.twins[static_cast<size_t>(n.twin)].label == twin && n.kind == kind && n.move == move) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    int Count(const std::string& twin, NodeKind kind, int depth = -1) const {
        int count = 0;
        for (const SolutionNode& n : tree.nodes) {
            count += tree.twins[static_cast<size_t>(n.twin)].label == twin && n.kind == kind &&
                     (depth < 0 || n.depth == depth);
        }
        return count;
    }
    // Lines of play: nodes with nothing after them.
    int Lines(const std::string& twin) const {
        int count = 0;
        for (const SolutionNode& n : tree.nodes) {
            count += tree.twins[static_cast<size_t>(n.twin)].label == twin && n.children.empty() &&
                     (n.kind == NodeKind::kHelp || n.kind == NodeKind::kSeries);
        }
        return count;
    }
};

Solved Solve(const std::string& name, const char* fen, const position::NotationStyle& style = Style()) {
    Solved s{ParseSolution(ReadCase(name)), style, {}};
    position::ParseFEN(s.diagram, fen, style.shape);
    return s;
}

class SolutionCases : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::ifstream(kCases + "01-direct2-tries.out")) {
            GTEST_SKIP() << "the solver's protocols are not beside the project";
        }
    }
};

// Counts per twin, and the board after chosen nodes; every node of these
// protocols replays on the problem's diagram.
TEST_F(SolutionCases, CountsAndBoards) {
    struct Count {
        const char* twin;
        NodeKind kind;
        int depth;
        int expected;
    };
    struct Board {
        const char* twin;
        NodeKind kind;
        const char* move;
        const char* placement;
    };
    struct Case {
        const char* name;
        const char* fen;
        std::vector<Count> counts;
        std::vector<Board> boards;
        std::map<std::string, int> lines;
    } cases[] = {
        {"01-direct2-tries",
         "3n4/8/4p3/8/4k3/R3pN2/4B3/K5Q1",
         {{"a", NodeKind::kKey, 1, 1},
          {"a", NodeKind::kTry, 1, 5},
          {"a", NodeKind::kRefutation, 2, 5},
          {"a", NodeKind::kThreat, 3, 4},
          {"a", NodeKind::kDefence, 2, 7}},
         {{"a", NodeKind::kKey, "Qg1-g5", "3n4/8/4p3/6Q1/4k3/R3pN2/4B3/K7"},
          {"a", NodeKind::kThreat, "Ra3*e3 #", "3n4/8/4p3/6Q1/4k3/4RN2/4B3/K7"},
          {"a", NodeKind::kRefutation, "Ke4-d5", "3n4/8/4p1Q1/3k4/8/R3pN2/4B3/K7"}},
         {}},
        {"02-direct2-setplay-board",
         "3K4/2n5/8/8/1Q2B3/8/k7/8",
         {{"a", NodeKind::kSet, 1, 1}, {"a", NodeKind::kSet, 2, 2}, {"a", NodeKind::kKey, 1, 1}},
         {{"a", NodeKind::kSet, "Qb4-b1 #", "3K4/2n5/8/8/4B3/8/8/kQ6"},
          {"a", NodeKind::kKey, "Kd8*c7", "8/2K5/8/8/1Q2B3/8/k7/8"}},
         {}},
        {"03-direct3-threats",
         "3Q4/3r4/p5kN/2K3p1/3N2p1/2N5/8/8",
         {{"a", NodeKind::kThreat, -1, 10}, {"a", NodeKind::kDefence, 2, 3}, {"a", NodeKind::kDefence, 4, 2}},
         {{"a", NodeKind::kThreat, "Qd7-f7 #", "8/5Q2/p5kN/2K2Np1/6p1/2N5/8/8"}},
         {}},
        {"04-help2-twins-move-add",
         "2Q5/8/3p4/N2r4/8/2pk4/8/K7",
         {},
         {{"e", NodeKind::kTwin, "e) wSa5<-->bPc3", "2Q5/8/3p4/p2r4/8/2Nk4/8/K7"},
          {"d", NodeKind::kTwin, "d) +bPd4", "2Q5/8/3p4/N2r4/3p4/2pk4/8/K7"}},
         {{"a", 2}, {"b", 1}, {"c", 1}, {"d", 1}, {"e", 10}}},
        {"05-help2-continued",
         "2Q5/8/3p4/N2r4/8/2pk4/8/K7",
         {},
         {{"d", NodeKind::kTwin, "+d) -bPd6", "2Q5/8/8/N2r4/8/2p1k3/8/1K6"}},
         {{"a", 2}, {"b", 1}, {"c", 1}, {"d", 1}}},
        {"06-help2-exchange-rotate", "8/4p1R1/5Bp1/3pn3/5k2/8/6N1/2K5", {}, {}, {{"d", 1}, {"e", 2}}},
        {"07-help2-rotate-mirror-shift",
         "8/4p1R1/5Bp1/3pn3/5k2/8/6N1/2K5",
         {},
         {{"g", NodeKind::kTwin, "g) shift a1 ==> a2", "4p1R1/5Bp1/3pn3/5k2/8/6N1/2K5/8"}},
         {{"b", 2}, {"c", 1}, {"d", 2}, {"e", 1}, {"f", 1}, {"g", 2}}},
        {"08-help2-polish-substitute-stipulation",
         "8/p5n1/8/8/2Nk4/8/K1QP4/b7",
         {},
         {{"b", NodeKind::kTwin, "b) PolishType", "8/P5N1/8/8/2nK4/8/k1qp4/B7"}},
         {{"a", 1}, {"b", 26}}},
        {"09-help25-zeroposition-castling",
         "8/5p2/8/8/P4P2/6k1/8/4K2R",
         {},
         {{"a", NodeKind::kHelp, "0-0", "8/5p2/8/7b/P4P2/6k1/8/5RK1"}},
         {{"a", 3}, {"b", 3}}},
        {"10-series-mate",
         "1r6/8/7K/8/4r2k/8/1b6/R7",
         {{"a", NodeKind::kSeries, 5, 1}},
         {{"a", NodeKind::kSeries, "Ra1-h1 #", "1r6/8/8/8/5K1k/8/1b6/7R"}},
         {{"a", 1}}},
        {"11-series-helpmate-promotion",
         "1R6/8/8/8/6K1/2R5/2p5/3rk3",
         {{"a", NodeKind::kSeries, 6, 1}},
         {{"a", NodeKind::kSeries, "c2-c1=R", "1R6/8/8/8/6K1/2R5/8/2rrk3"}},
         {{"a", 1}}},
        {"12-help2-duplex", "8/3k4/Qr6/8/5N2/1n3K2/2r5/8", {}, {}, {{"a", 4}}},
        {"17-circe",
         "8/8/1pk1K3/8/R7/R7/8/8",
         {},
         {{"a", NodeKind::kHelp, "b5*a4[+wRh1]", "8/8/2k1K3/8/p7/1R6/8/7R"}},
         {{"a", 3}}},
        {"18-andernach",
         "8/7P/8/1K3b2/1P5q/5p2/2k5/2q5",
         {},
         {{"a", NodeKind::kHelp, "Qh4*b4=w", "7Q/8/8/1K3b2/1Q6/5p2/2k5/3q4"}},
         {{"a", 2}}},
        {"20-castling",
         "1r2R3/8/8/8/5P2/5k2/b7/R3K3",
         {},
         {{"a", NodeKind::kHelp, "0-0-0 #", "1r6/8/8/8/5P2/8/b3R3/2KR3k"}},
         {{"a", 2}}},
        {"21-en-passant",
         "1N2k3/3p4/8/4P3/5K2/n4R2/7R/5n2",
         {},
         {{"a", NodeKind::kHelp, "e5*d6 ep.", "1N2k3/8/3P4/8/5K2/n4R2/7R/5n2"}},
         {{"a", 2}}},
        {"22-german",
         "4R2K/8/3p4/1pp3k1/7p/R1N1b3/8/8",
         {},
         {{"b", NodeKind::kTwin, "b) -sBc5", "4R2K/8/3p4/1p4k1/7p/R1N1b3/8/8"}},
         {{"a", 2}, {"b", 2}, {"c", 2}, {"d", 2}}},
        {"23-french",
         "B7/1p2p3/2N3p1/2Bk4/8/2KN4/3P4/1R6",
         {{"a", NodeKind::kKey, 1, 1}, {"a", NodeKind::kTry, 1, 3}, {"b", NodeKind::kKey, 1, 3}},
         {{"b", NodeKind::kTwin, "b) -nPb7", "B7/4p3/2N3p1/2Bk4/8/2KN4/3P4/1R6"}},
         {}},
        {"27-fairy-kamikaze",
         "8/1K6/6R1/8/4p3/2bB4/8/2k2R2",
         {},
         {{"a", NodeKind::kHelp, "kRf1*e1[-wkRe1]", "8/1K6/6R1/8/4p3/3B4/8/2k5"}},
         {{"a", 3}}},
        {"28-fairy-locust",
         "1K6/8/4R3/7n/8/3B4/7p/6k1",
         {},
         {{"a", NodeKind::kHelp, "Ld3*g3-h3", "1K6/8/4R3/8/8/7B/7p/6k1"}},
         {{"a", 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Solved s = Solve(c.name, c.fen);
        EXPECT_TRUE(s.tree.finished);
        EXPECT_EQ(s.Count("a", NodeKind::kUnparsed) + s.Count("b", NodeKind::kUnparsed), 0);
        for (const Count& count : c.counts) {
            EXPECT_EQ(s.Count(count.twin, count.kind, count.depth), count.expected)
                << count.twin << " " << NodeKindName(count.kind) << " at " << count.depth;
        }
        for (const auto& [twin, lines] : c.lines) {
            EXPECT_EQ(s.Lines(twin), lines) << twin;
        }
        SolutionReplay replay(s.tree, s.diagram, s.style, kDictionary);
        for (const Board& board : c.boards) {
            const int node = s.Find(board.twin, board.kind, board.move);
            ASSERT_GE(node, 0) << board.move;
            EXPECT_EQ(position::VetToFEN(replay.After(node).vet, s.style.shape), board.placement)
                << board.move;
        }
        for (size_t i = 0; i < s.tree.nodes.size(); ++i) {
            const ReplayResult after = replay.After(static_cast<int>(i));
            EXPECT_TRUE(after.ok) << s.tree.nodes[i].move << ": " << after.note;
        }
    }
}

TEST_F(SolutionCases, StatesLanguagesAndMessages) {
    EXPECT_EQ(ParseSolution(ReadCase("22-german")).language, PopeyeLanguage::kGerman);
    EXPECT_EQ(ParseSolution(ReadCase("23-french")).language, PopeyeLanguage::kFrench);
    EXPECT_EQ(ParseSolution(ReadCase("01-direct2-tries")).language, PopeyeLanguage::kEnglish);

    const SolutionTree interrupted = ParseSolution(ReadCase("24-interrupted"));
    EXPECT_TRUE(interrupted.interrupted);
    EXPECT_FALSE(interrupted.finished);

    // Progress lines of MoveNumbers are no nodes.
    const SolutionTree numbers = ParseSolution(ReadCase("25-movenumbers"));
    for (const SolutionNode& node : numbers.nodes) {
        EXPECT_NE(node.kind, NodeKind::kUnparsed) << node.move;
    }

    // The solver's complaints stay, as lines it wrote, with their twin.
    const SolutionTree errors = ParseSolution(ReadCase("29-input-errors"));
    ASSERT_EQ(errors.twins.size(), 2u);
    EXPECT_EQ(errors.twins[1].changes.front().kind, TwinChangeKind::kPolish);
    int unparsed = 0;
    for (const SolutionNode& node : errors.nodes) {
        unparsed += node.kind == NodeKind::kUnparsed;
    }
    EXPECT_EQ(unparsed, 16);
    EXPECT_EQ(errors.nodes[static_cast<size_t>(errors.twins[1].node)].children.size(), 1u);

    // The duplex's second half is kept apart.
    const SolutionTree duplex = ParseSolution(ReadCase("12-help2-duplex"));
    int second = 0;
    for (const SolutionNode& node : duplex.nodes) {
        second += node.section == 1 && node.depth == 1;
    }
    EXPECT_EQ(second, 1);
}

TEST_F(SolutionCases, MenTheStyleCannotShow) {
    // Without a grasshopper in the style the promotion has nothing to become.
    Solved plain = Solve("19-promotions-fairy", "8/2P5/8/r7/6R1/7p/3p3k/3K4");
    SolutionReplay replay(plain.tree, plain.diagram, plain.style, kDictionary);
    const int promotion = plain.Find("a", NodeKind::kHelp, "c7-c8=G");
    ASSERT_GE(promotion, 0);
    ReplayResult after = replay.After(promotion);
    EXPECT_FALSE(after.ok);
    EXPECT_EQ(after.note, "no letter for G in this style");
    EXPECT_EQ(after.stoppedAt, promotion);

    // With one it comes back as the style's own letter.
    Solved fairy = Solve("19-promotions-fairy", "8/2P5/8/r7/6R1/7p/3pX2k/3K4", Style("pPnNbBrRqQkKxX"));
    SolutionReplay fairyReplay(fairy.tree, fairy.diagram, fairy.style, "&&X=wG&&x=bG&&");
    after = fairyReplay.After(fairy.Find("a", NodeKind::kHelp, "Gc8-h3 #"));
    EXPECT_TRUE(after.ok) << after.note;
    EXPECT_EQ(position::VetToFEN(after.vet, fairy.style.shape), "8/8/8/r7/6R1/7X/3pX2p/3K3k");

    // Neutral men of another position: the line stops where a man is missing.
    Solved neutral = Solve("16-neutral", "2k5/5K2/6p1/8/5B2/8/1pq5/8");
    SolutionReplay neutralReplay(neutral.tree, neutral.diagram, neutral.style, kDictionary);
    after = neutralReplay.After(neutral.Find("a", NodeKind::kHelp, "Bf4-g5 #"));
    EXPECT_FALSE(after.ok);
    EXPECT_EQ(after.note, "no man on e5");
}

// Growing text read piece by piece gives the tree read at once.
TEST_F(SolutionCases, ReadingPieceByPieceGivesTheSameTree) {
    for (const char* name :
         {"01-direct2-tries", "06-help2-exchange-rotate", "23-french", "29-input-errors"}) {
        SCOPED_TRACE(name);
        const std::string text = ReadCase(name);
        const SolutionTree whole = ParseSolution(text);
        SolutionParser parser;
        for (size_t pos = 0; pos < text.size(); pos += 7) {
            parser.Feed(std::string_view(text).substr(pos, 7));
        }
        parser.Finish();
        const SolutionTree& pieces = parser.Tree();
        ASSERT_EQ(pieces.nodes.size(), whole.nodes.size());
        for (size_t i = 0; i < whole.nodes.size(); ++i) {
            EXPECT_EQ(pieces.nodes[i].move, whole.nodes[i].move);
            EXPECT_EQ(pieces.nodes[i].kind, whole.nodes[i].kind);
            EXPECT_EQ(pieces.nodes[i].parent, whole.nodes[i].parent);
        }
        EXPECT_EQ(pieces.language, whole.language);
    }
}

}  // namespace
}  // namespace engines
