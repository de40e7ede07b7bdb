#include "editing/history.h"

#include <gtest/gtest.h>

#include "position/play_move.h"
#include "position/vet.h"

namespace editing {
namespace {

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

TEST(HistoryLineTest, FirstFieldEndsAfterThePlacement) {
    const struct {
        const char* line;
        const char* field;
    } cases[] = {
        {"8/8/8/8/8/8/8/K7", "8/8/8/8/8/8/8/K7 "},
        {"8/8/8/8/8/8/8/K7 w - - 0 0", "8/8/8/8/8/8/8/K7 "},
        {"(1x0)8/8/8/8/8/8/8/K7 b - - 0 0", "(1x0)8/8/8/8/8/8/8/K7 "},
        // A tally followed by a blank: the field goes on to the placement's end.
        {"(1x0) 8/8/8/8/8/8/8/K7 b - - 0 0", "(1x0) 8/8/8/8/8/8/8/K7 "},
        {"K", "K "},
        // A tally alone: the two blanks appended are both kept.
        {"(1x0)", "(1x0)  "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FirstField(c.line), c.field) << c.line;
    }
}

TEST(HistoryLineTest, InsertAllAlternatesAndRemoveAllTrims) {
    std::vector<std::string> lines = {"a1", "(1x0)a2 w - - 0 0", "a3 "};
    SetExtraFields(lines, "b");
    EXPECT_EQ(lines, (std::vector<std::string>{"a1 b - - 0 0", "(1x0)a2 w - - 0 0", "a3 b - - 0 0"}));
    SetExtraFields(lines, "w");
    EXPECT_EQ(lines, (std::vector<std::string>{"a1 w - - 0 0", "(1x0)a2 b - - 0 0", "a3 w - - 0 0"}));
    SetExtraFields(lines, "");
    EXPECT_EQ(lines, (std::vector<std::string>{"a1", "(1x0)a2", "a3"}));
}

TEST(HistoryLineTest, PlacementOfALine) {
    const struct {
        const char* line;
        const char* placement;
    } cases[] = {
        {"(16x16)rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", kStart},
        {"(16x16) rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b - - 0 0", kStart},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 0", kStart},
        {"K7", "K7"},
        {"(0x0)", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LinePlacement(c.line), c.placement) << c.line;
    }
}

TEST(HistoryUndoTest, StepsBackButKeepsTheFirstLine) {
    std::vector<std::string> lines = {"(1x0)K7 w - - 0 0", "(1x0)1K6 b - - 0 0", "2K5"};
    EXPECT_EQ(UndoRec(lines), std::optional<std::string>("1K6"));
    EXPECT_EQ(UndoRec(lines), std::optional<std::string>("K7"));
    EXPECT_EQ(UndoRec(lines), std::nullopt);
    EXPECT_EQ(lines, std::vector<std::string>{"(1x0)K7 w - - 0 0"});
    std::vector<std::string> none;
    EXPECT_EQ(UndoRec(none), std::nullopt);
}

// History lines for a game from the start position, one per move played.
std::vector<std::string> Game(const std::vector<const char*>& moves, const char* first = kStart,
                              position::Side side = position::Side::kWhite, const char* suffix = "") {
    const position::NotationStyle style;
    position::Vet vet{};
    position::Build2(vet, position::kPosition, first, style.shape);
    std::vector<std::string> lines = {std::string(first) + suffix};
    for (const char* move : moves) {
        EXPECT_TRUE(position::PlayMove(vet, style, side, move).Applied()) << move;
        side = position::Other(side);
        lines.push_back(position::VetToFEN(vet, style.shape));
    }
    return lines;
}

TEST(HistoryPgnTest, NumbersWhiteMovesAndFollowsTheFirstSide) {
    const position::NotationStyle style;
    const struct {
        std::vector<std::string> lines;
        const char* text;
    } cases[] = {
        {{}, ""},
        {{kStart}, ""},
        {{std::string(kStart) + " b - - 0 0"}, "1... "},
        {Game({"e4", "e5", "Nf3"}), "1. e4 e5 2. Nf3 "},
        {Game({"e4", "e5", "Nf3"}, kStart, position::Side::kWhite, " w - - 0 0"), "1. e4 e5 2. Nf3 "},
        // Black first: "1... " and White's moves numbered from 2.
        {Game({"e5", "Nf3", "Nc6"}, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR", position::Side::kBlack,
              " b - - 0 0"),
         "1... e5 2. Nf3 Nc6 "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PgnMoveText(c.lines, style), c.text) << (c.lines.empty() ? "" : c.lines[0]);
    }
}

TEST(HistoryPgnTest, TallyPrefixesAreRead) {
    std::vector<std::string> lines = Game({"d4", "d5"});
    for (std::string& line : lines) {
        line = "(16x16)" + line;
    }
    EXPECT_EQ(PgnMoveText(lines, position::NotationStyle{}), "1. d4 d5 ");
}

TEST(HistoryPgnTest, BreaksAfterTheMoveThatPassesSeventyCharacters) {
    // Knights out and back: the same four moves over and over.
    std::vector<const char*> moves;
    for (int i = 0; i < 10; ++i) {
        for (const char* m : {"Nf3", "Nf6", "Ng1", "Ng8"}) {
            moves.push_back(m);
        }
    }
    const std::string text = PgnMoveText(Game(moves), position::NotationStyle{});
    std::vector<std::string> rows;
    std::size_t from = 0;
    for (auto at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", from)) {
        rows.push_back(text.substr(from, at - from));
        from = at + 2;
    }
    rows.push_back(text.substr(from));
    ASSERT_GE(rows.size(), 3u);
    // The first row: "1. Nf3 Nf6 2. Ng1 Ng8 ..." up to the move that passes 70.
    EXPECT_EQ(rows[0].substr(0, 22), "1. Nf3 Nf6 2. Ng1 Ng8 ");
    EXPECT_GT(rows[0].size(), 70u);
    EXPECT_LE(rows[0].size(), 70u + 8);
    // Later rows are measured from their own start (the CR LF counts).
    for (std::size_t r = 1; r + 1 < rows.size(); ++r) {
        EXPECT_GT(rows[r].size() + 2, 70u) << r;
        EXPECT_LE(rows[r].size(), 70u + 8) << r;
    }
    EXPECT_EQ(text.back(), ' ');
}

}  // namespace
}  // namespace editing
