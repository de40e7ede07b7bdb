#include "engines/uci.h"

#include <gtest/gtest.h>

namespace engines {
namespace {

using Kind = UciMessage::Kind;
using Bound = UciScore::Bound;
using ScoreKind = UciScore::Kind;

TEST(UciLine, Messages) {
    struct Case {
        const char* line;
        Kind kind;
        const char* text;
    };
    for (const Case c : {
             Case{"uciok", Kind::kUciOk, ""},
             Case{"uciok\r", Kind::kUciOk, ""},
             Case{"readyok", Kind::kReadyOk, ""},
             Case{"id name Stockfish 15.1", Kind::kIdName, "Stockfish 15.1"},
             Case{"id  name\tFairy  Stockfish  ", Kind::kIdName, "Fairy  Stockfish"},
             Case{"id author someone", Kind::kUnknown, ""},
             Case{"bestmove e2e4 ponder e7e5", Kind::kBestMove, "e2e4"},
             Case{"bestmove (none)", Kind::kBestMove, ""},
             Case{"bestmove 0000", Kind::kBestMove, ""},
             Case{"bestmove", Kind::kBestMove, ""},
             Case{"option name Hash type spin default 16 min 1 max 33554432", Kind::kUnknown, ""},
             Case{"", Kind::kUnknown, ""},
             Case{"Stockfish 15.1 by the Stockfish developers", Kind::kUnknown, ""},
         }) {
        const UciMessage m = ParseUciLine(c.line);
        EXPECT_EQ(m.kind, c.kind) << c.line;
        EXPECT_EQ(m.text, c.text) << c.line;
    }
}

TEST(UciLine, InfoFields) {
    struct Case {
        const char* line;
        std::optional<int> depth;
        int multipv;
        UciScore score;
        std::vector<std::string> pv;
    };
    const std::vector<Case> cases = {
        {"info depth 12 seldepth 16 multipv 1 score cp 35 nodes 1234 nps 100 hashfull 3 tbhits 0 time 12 pv "
         "e2e4 e7e5 g1f3",
         12,
         1,
         {ScoreKind::kCentipawns, 35, Bound::kExact},
         {"e2e4", "e7e5", "g1f3"}},
        {"info depth 5 multipv 3 score cp -120 pv d2d4",
         5,
         3,
         {ScoreKind::kCentipawns, -120, Bound::kExact},
         {"d2d4"}},
        {"info depth 3 score mate 2 pv d1d7 c8b8 d7b7",
         3,
         1,
         {ScoreKind::kMate, 2, Bound::kExact},
         {"d1d7", "c8b8", "d7b7"}},
        {"info depth 9 score mate -1", 9, 1, {ScoreKind::kMate, -1, Bound::kExact}, {}},
        {"info depth 20 score cp 51 lowerbound nodes 9 pv e2e4",
         20,
         1,
         {ScoreKind::kCentipawns, 51, Bound::kLower},
         {"e2e4"}},
        {"info depth 20 score cp 20 upperbound pv e2e4",
         20,
         1,
         {ScoreKind::kCentipawns, 20, Bound::kUpper},
         {"e2e4"}},
        {"info depth 14 score cp 10 wdl 300 500 200 pv c2c4",
         14,
         1,
         {ScoreKind::kCentipawns, 10, Bound::kExact},
         {"c2c4"}},
        {"info depth 0 score mate 0", 0, 1, {ScoreKind::kMate, 0, Bound::kExact}, {}},
        // Fields the analysis does not use, and values that do not read.
        {"info currmove e2e4 currmovenumber 1", std::nullopt, 1, {}, {}},
        {"info depth x multipv 0 score cp y", std::nullopt, 1, {}, {}},
        {"info string NNUE evaluation enabled", std::nullopt, 1, {}, {}},
    };
    for (const Case& c : cases) {
        const UciMessage m = ParseUciLine(c.line);
        ASSERT_EQ(m.kind, Kind::kInfo) << c.line;
        EXPECT_EQ(m.info.depth, c.depth) << c.line;
        EXPECT_EQ(m.info.multipv, c.multipv) << c.line;
        EXPECT_EQ(m.info.score, c.score) << c.line;
        EXPECT_EQ(m.info.pv, c.pv) << c.line;
    }
    EXPECT_EQ(ParseUciLine("info string NNUE evaluation enabled ").info.string, "NNUE evaluation enabled");
}

TEST(UciScoreText, FromWhitesSide) {
    struct Case {
        UciScore score;
        bool whiteToMove;
        const char* text;
    };
    for (const Case c : {
             Case{{ScoreKind::kCentipawns, 35}, true, "+0.35"},
             Case{{ScoreKind::kCentipawns, 35}, false, "-0.35"},
             Case{{ScoreKind::kCentipawns, -120}, true, "-1.20"},
             Case{{ScoreKind::kCentipawns, -120}, false, "+1.20"},
             Case{{ScoreKind::kCentipawns, 0}, false, "0.00"},
             Case{{ScoreKind::kCentipawns, 5}, true, "+0.05"},
             Case{{ScoreKind::kCentipawns, -1005}, true, "-10.05"},
             Case{{ScoreKind::kMate, 3}, true, "#3"},
             Case{{ScoreKind::kMate, 3}, false, "#-3"},
             Case{{ScoreKind::kMate, -2}, true, "#-2"},
             Case{{ScoreKind::kMate, -2}, false, "#2"},
             Case{{ScoreKind::kMate, 0}, true, "#-0"},
             Case{{ScoreKind::kMate, 0}, false, "#0"},
             // A bound turns round with the side.
             Case{{ScoreKind::kCentipawns, 51, Bound::kLower}, true, ">=+0.51"},
             Case{{ScoreKind::kCentipawns, 51, Bound::kLower}, false, "<=-0.51"},
             Case{{ScoreKind::kCentipawns, 20, Bound::kUpper}, false, ">=-0.20"},
             Case{{}, true, ""},
         }) {
        EXPECT_EQ(FormatScore(c.score, c.whiteToMove), c.text) << c.text;
    }
}

}  // namespace
}  // namespace engines
