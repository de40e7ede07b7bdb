// Node counts of the legal-move code against positions whose counts are
// known: every castling, en-passant, promotion and pin rule shows up in them.
#include <gtest/gtest.h>

#include <cstdint>

#include "engines/chess_position.h"

namespace engines {
namespace {

uint64_t Perft(const ChessPosition& pos, int depth) {
    const std::vector<ChessMove> moves = LegalMoves(pos);
    if (depth == 1) {
        return moves.size();
    }
    uint64_t nodes = 0;
    for (const ChessMove& move : moves) {
        nodes += Perft(Play(pos, move), depth - 1);
    }
    return nodes;
}

TEST(EnginePerft, KnownNodeCounts) {
    struct Case {
        const char* fen;
        std::vector<uint64_t> nodes;  // depth 1, 2, ...
    };
    for (const Case& c : {
             Case{"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", {20, 400, 8902, 197281}},
             Case{"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", {48, 2039, 97862}},
             Case{"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", {14, 191, 2812, 43238}},
         }) {
        const PositionResult read = PositionFromFen(c.fen);
        ASSERT_TRUE(read.position) << c.fen << ": " << read.error;
        for (size_t depth = 1; depth <= c.nodes.size(); ++depth) {
            EXPECT_EQ(Perft(*read.position, static_cast<int>(depth)), c.nodes[depth - 1])
                << c.fen << " at depth " << depth;
        }
    }
}

}  // namespace
}  // namespace engines
