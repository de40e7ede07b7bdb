#include "engines/chess_position.h"

#include <gtest/gtest.h>

namespace engines {
namespace {

ChessPosition Read(const std::string& fen) {
    const PositionResult r = PositionFromFen(fen);
    EXPECT_TRUE(r.position) << fen << ": " << r.error;
    return r.position.value_or(ChessPosition{});
}

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    size_t pos = 0;
    while ((pos = text.find_first_not_of(' ', pos)) != std::string::npos) {
        const size_t end = std::min(text.find(' ', pos), text.size());
        words.push_back(text.substr(pos, end - pos));
        pos = end;
    }
    return words;
}

std::string Joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& w : words) {
        text += (text.empty() ? "" : " ") + w;
    }
    return text;
}

TEST(EngineLine, ShortAlgebraic) {
    struct Case {
        const char* fen;
        const char* line;
        const char* san;
    };
    for (const Case c : {
             Case{"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", "e2e4 e7e5 g1f3 b8c6", "e4 e5 Nf3 Nc6"},
             Case{"r3k2r/8/8/8/8/8/8/R3K2R w KQkq", "e1g1 e8c8", "O-O O-O-O"},
             Case{"r3k2r/8/8/8/8/8/8/R3K2R b KQkq", "e8g8 e1c1", "O-O O-O-O"},
             // Promotion, with and without a capture, to a man other than a queen.
             Case{"3r3k/4P3/8/8/8/8/8/K7 w", "e7e8q", "e8=Q+"},
             Case{"3r3k/4P3/8/8/8/8/8/K7 w", "e7d8n", "exd8=N"},
             Case{"4k3/8/8/3pP3/8/8/8/4K3 w - d6", "e5d6", "exd6"},
             Case{"4k3/8/8/8/3pP3/8/8/4K3 b - e3", "d4e3", "dxe3"},
             // Check and mate signs.
             Case{"2k5/8/1K6/8/8/8/8/3Q4 w", "d1d7 c8b8 d7b7", "Qd7+ Kb8 Qb7#"},
             Case{"r3k2r/8/8/8/8/8/8/R3K2R b KQkq", "h8h1 e1f2 h1a1", "Rxh1+ Kf2 Rhxa1"},
             Case{"4k3/8/8/8/8/8/4K3/R6R w", "h1d1", "Rhd1"},
             // The line stops before a move that is not legal there.
             Case{"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", "e2e4 e2e4 d7d5", "e4"},
             Case{"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", "e1g1", ""},
             Case{"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", "e2e5 x", ""},
             // Castling through an attacked square is not legal.
             Case{"4kr2/8/8/8/8/8/8/4K2R w K", "e1g1", ""},
         }) {
        const std::vector<std::string> san = LineToSan(Read(c.fen), Words(c.line), position::NotationStyle{});
        EXPECT_EQ(Joined(san), c.san) << c.fen << " / " << c.line;
    }
}

TEST(EngineLine, StyleLetters) {
    position::NotationStyle german;
    german.shape.piecesList = "bBsSlLtTdDkK";
    german.englishNotation = "pPnNbBrRqQkK";
    const ChessPosition start = Read("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
    EXPECT_EQ(Joined(LineToSan(start, Words("g1f3 d7d5 f3e5 d8d6"), german)), "Sf3 d5 Se5 Dd6");
}

TEST(EnginePosition, ReadAndWritten) {
    struct Case {
        const char* fen;
        const char* uci;
    };
    for (const Case c : {
             Case{"(16x16)rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR",
                  "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 1"},
             Case{"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq -",
                  "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1"},
             // Rights without their men at home, and an en-passant square no
             // pawn crossed, are dropped.
             Case{"4k3/8/8/8/8/8/8/R3K3 w KQkq", "4k3/8/8/8/8/8/8/R3K3 w Q - 0 1"},
             Case{"4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1"},
             Case{"4k3/8/8/3pP3/8/8/8/4K3 w - c6", "4k3/8/8/3pP3/8/8/8/4K3 w - - 0 1"},
         }) {
        EXPECT_EQ(UciFen(Read(c.fen)), c.uci) << c.fen;
    }
}

TEST(EnginePosition, Refused) {
    for (const char* fen : {
             "",
             "8/8/8/8/8/8/8/8",
             "4k3/8/8/8/8/8/8/4K2K",
             "4k3/8/8/8/8/8/8/4K3/8",
             "4k3/8/8/8/8/8/8/4K3x",
             "4k3/8/8/8/8/8/8/4K4",
             "4k3/8/8/8/8/8/8",
             "P3k3/8/8/8/8/8/8/4K3",
             "4k3/8/8/8/8/8/8/4K3 x",
             "4k3/8/8/8/8/8/8/4K3 w KX",
             "4k3/8/8/8/8/8/8/4K3 w - z9",
             // Black in check with White to move.
             "4k3/8/8/8/8/8/8/4RK2 w",
             // More men than a game can give.
             "QQQQkQQQ/QQQQQQQQ/Q7/8/8/8/8/4K3 w",
             "4k3/8/8/8/8/PPPPPPPP/P7/4K3 w",
         }) {
        const PositionResult r = PositionFromFen(fen);
        EXPECT_FALSE(r.position) << fen;
        EXPECT_FALSE(r.error.empty()) << fen;
    }
}

TEST(EnginePosition, FromBoard) {
    position::NotationStyle style;
    position::Vet vet;
    position::ParseFEN(vet, "r3k3/8/8/8/8/8/8/4K2R", style.shape);
    const PositionResult r = PositionFromBoard(vet, style, false);
    ASSERT_TRUE(r.position) << r.error;
    EXPECT_EQ(UciFen(*r.position), "r3k3/8/8/8/8/8/8/4K2R b Kq - 0 1");

    // A fairy man, and a board that is not 8 x 8, are refused with the reason.
    position::NotationStyle fairy = style;
    fairy.shape.piecesList = "pPnNbBrRqQkKgG";
    fairy.englishNotation = "pPnNbBrRqQkKgG";
    position::ParseFEN(vet, "4k3/8/8/8/8/8/8/4K1G1", fairy.shape);
    const PositionResult f = PositionFromBoard(vet, fairy, true);
    EXPECT_FALSE(f.position);
    EXPECT_NE(f.error.find("\"G\" on g1"), std::string::npos) << f.error;

    position::NotationStyle big = style;
    big.shape.rows = 10;
    big.shape.cols = 10;
    EXPECT_NE(PositionFromBoard(vet, big, true).error.find("8 x 8"), std::string::npos);
}

TEST(EnginePosition, MateAndStalemateHaveNoMoves) {
    EXPECT_TRUE(LegalMoves(Read("k7/1Q6/1K6/8/8/8/8/8 b")).empty());
    EXPECT_TRUE(InCheck(Read("k7/1Q6/1K6/8/8/8/8/8 b"), false));
    EXPECT_TRUE(LegalMoves(Read("k7/8/1Q6/8/8/8/8/7K b")).empty());
    EXPECT_EQ(LegalMoves(Read("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR")).size(), 20u);
}

}  // namespace
}  // namespace engines
