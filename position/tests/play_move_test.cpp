#include "position/play_move.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "position/tests/notation_helpers.h"

using namespace position;
using namespace position::testing_support;

namespace {

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

struct Case {
    const char* name;
    const char* before;
    int side;
    const char* move;
    const char* result;  // the text the interpreter hands back
    const char* after;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

void Check(const Case& c, const NotationStyle& st) {
    Vet v = Board(c.before, st);
    const PlayResult r = PlayMove(v, st, static_cast<Side>(c.side), c.move);
    EXPECT_EQ(r.Text(c.move), c.result) << Describe(r.reason);
    EXPECT_EQ(Fen(v, st), c.after);
}

class Standard : public ::testing::TestWithParam<Case> {};

TEST_P(Standard, AppliesMove) {
    Check(GetParam(), Style());
}

INSTANTIATE_TEST_SUITE_P(
    Castling, Standard,
    ::testing::Values(
        Case{"WhiteShortWithCheckSign", "r3k2r/8/8/8/8/8/8/R3K2R", 0, "O-O+", "O-O+",
             "r3k2r/8/8/8/8/8/8/R4RK1"},
        Case{"WhiteLongZeros", "r3k2r/8/8/8/8/8/8/R3K2R", 0, "0-0-0!", "0-0-0!", "r3k2r/8/8/8/8/8/8/2KR3R"},
        Case{"BlackShort", "r3k2r/8/8/8/8/8/8/R3K2R", 1, "O-O", "O-O", "r4rk1/8/8/8/8/8/8/R3K2R"},
        Case{"BlackLongZeros", "r3k2r/8/8/8/8/8/8/R3K2R", 1, "0-0-0", "0-0-0", "2kr3r/8/8/8/8/8/8/R3K2R"},
        Case{"OtherSideCastlesAsBlack", "r3k2r/8/8/8/8/8/8/R3K2R", 7, "O-O", "O-O",
             "r4rk1/8/8/8/8/8/8/R3K2R"},
        // Nothing on the castling cells is checked.
        Case{"EmptyBoard", "8/8/8/8/8/8/8/8", 0, "O-O", "O-O", "8/8/8/8/8/8/8/5RK1"},
        Case{"LowerCaseIsNoCastling", "r3k2r/8/8/8/8/8/8/R3K2R", 0, "o-o", "", "r3k2r/8/8/8/8/8/8/R3K2R"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Pawns, Standard,
    ::testing::Values(
        Case{"WhiteDoubleStep", kStart, 0, "e4", "ok", "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR"},
        Case{"BlackDoubleStep", kStart, 1, "e5", "ok", "rnbqkbnr/pppp1ppp/8/4p3/8/8/PPPPPPPP/RNBQKBNR"},
        Case{"OtherSideMovesBlackPawn", kStart, 2, "e5", "ok",
             "rnbqkbnr/pppp1ppp/8/4p3/8/8/PPPPPPPP/RNBQKBNR"},
        // The square in between is not looked at.
        Case{"DoubleStepOverPiece", "8/8/8/8/8/4n3/4P3/8", 0, "e4", "ok", "8/8/8/8/4P3/4n3/8/8"},
        Case{"Promotion", "8/4P3/8/8/8/8/8/8", 0, "e8=Q+", "ok", "4Q3/8/8/8/8/8/8/8"},
        Case{"PromotionWithoutSignFails", "8/4P3/8/8/8/8/8/8", 0, "e8Q", "", "8/4P3/8/8/8/8/8/8"},
        Case{"PromotionWithCapture", "3r4/4P3/8/8/8/8/8/8", 0, "exd8=N", "ok", "3N4/8/8/8/8/8/8/8"},
        Case{"BlackPromotion", "8/8/8/8/8/8/4p3/8", 1, "e1=Q", "ok", "8/8/8/8/8/8/8/4q3"},
        Case{"EnPassant", "8/8/8/3pP3/8/8/8/8", 0, "exd6", "ok", "8/8/3P4/8/8/8/8/8"},
        Case{"EnPassantMarked", "8/8/8/3pP3/8/8/8/8", 0, "exd6ep", "ok", "8/8/3P4/8/8/8/8/8"},
        Case{"EnPassantBlankMark", "8/8/8/3pP3/8/8/8/8", 0, "exd6 EP", "ok", "8/8/3P4/8/8/8/8/8"},
        Case{"BlackEnPassant", "8/8/8/8/3Pp3/8/8/8", 1, "exd3", "ok", "8/8/8/8/8/3p4/8/8"},
        // The removal stays even when no pawn can take.
        Case{"EnPassantRemovalStays", "8/8/8/3p4/8/8/8/8", 0, "exd6", "", "8/8/8/8/8/8/8/8"},
        Case{"WhiteCaptureWithoutFileFromLeft", "8/8/8/3p4/2P1P3/8/8/8", 0, "xd5", "ok",
             "8/8/8/3P4/4P3/8/8/8"},
        Case{"BlackCaptureWithoutFileFromRight", "8/8/8/2p1p3/3P4/8/8/8", 1, "xd4", "ok",
             "8/8/8/2p5/3p4/8/8/8"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Pieces, Standard,
    ::testing::Values(
        Case{"KnightByFile", "1n6/8/5n2/8/8/8/8/8", 1, "Nbd7", "ok", "8/3n4/5n2/8/8/8/8/8"},
        Case{"RookByRankOne", "4R3/8/8/8/8/8/8/4R3", 0, "R1e2", "ok", "4R3/8/8/8/8/8/4R3/8"},
        Case{"RookByRankEight", "4R3/8/8/8/8/8/8/4R3", 0, "R8e2", "ok", "8/8/8/8/8/8/4R3/4R3"},
        // Of a two-character hint only the file counts: the h1 queen is met first.
        Case{"SquareHintUsesFileOnly", "8/8/8/8/7Q/8/8/7Q", 0, "Qh4e1", "ok", "8/8/8/8/7Q/8/8/4Q3"},
        Case{"RayToTheRightFirst", "8/8/8/8/8/8/8/R6R", 0, "Rd1", "ok", "8/8/8/8/8/8/8/R2R4"},
        // A piece ruled out by the hint does not block the ray.
        Case{"RejectedPieceDoesNotBlock", "8/8/8/8/8/8/8/RR6", 0, "Rad1", "ok", "8/8/8/8/8/8/8/1R1R4"},
        Case{"BlockedRay", "8/8/8/8/8/8/8/RN6", 0, "Rc1", "", "8/8/8/8/8/8/8/RN6"},
        Case{"BlackLetterBySide", "8/8/8/6n1/8/8/8/6N1", 1, "Nf3", "ok", "8/8/8/8/8/5n2/8/6N1"},
        Case{"WhiteLetterBySide", "8/8/8/6n1/8/8/8/6N1", 0, "Nf3", "ok", "8/8/8/6n1/8/5N2/8/8"},
        // Only side 1 turns letters to lower case.
        Case{"OtherSideKeepsCase", "8/8/8/6n1/8/8/8/6N1", 2, "Nf3", "ok", "8/8/8/6n1/8/5N2/8/8"},
        Case{"KingCaptures", "8/8/8/8/8/8/4p3/4K3", 0, "Kxe2+", "ok", "8/8/8/8/8/8/4K3/8"},
        Case{"BishopWithAnnotations", "8/8/8/8/8/8/8/2B5", 0, "Bg5!?", "ok", "8/8/8/6B1/8/8/8/8"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Failures, Standard,
    ::testing::Values(Case{"Empty", kStart, 0, "", "", kStart}, Case{"OneLetter", kStart, 0, "e", "", kStart},
                      Case{"LetterOnly", kStart, 0, "N", "", kStart},
                      Case{"UnknownPiece", kStart, 0, "Zf3", "", kStart},
                      Case{"NoPieceReaches", kStart, 0, "Nd5", "", kStart},
                      Case{"ResultToken", kStart, 0, "1-0", "", kStart},
                      Case{"EqualsOnly", kStart, 0, "=", "", kStart},
                      // A square off the board must not land on another cell.
                      Case{"FileOffBoard", "8/8/8/8/8/8/7R/8", 0, "Ri2", "", "8/8/8/8/8/8/7R/8"},
                      Case{"RankOffBoard", "8/8/8/8/8/8/8/4R3", 0, "Re9", "", "8/8/8/8/8/8/8/4R3"},
                      // An unknown promotion letter must not make the pawn vanish.
                      Case{"UnknownPromotion", "8/4P3/8/8/8/8/8/8", 0, "e8=Z", "", "8/4P3/8/8/8/8/8/8"}),
    [](const auto& info) { return std::string(info.param.name); });

// Several candidates, one of them pinned to its king.
INSTANTIATE_TEST_SUITE_P(
    Pins, Standard,
    ::testing::Values(
        // d1 is met first but is pinned by the rook on h1.
        Case{"KnightPinnedOnRank", "8/8/8/8/8/8/8/1NKN3r", 0, "Nc3", "ok", "8/8/8/8/8/2N5/8/2KN3r"},
        Case{"BlackKnightPinnedOnRank", "Rnkn4/8/8/8/8/8/8/8", 1, "Nc6", "ok", "Rnk5/8/2n5/8/8/8/8/8"},
        Case{"KnightPinnedOnDiagonal", "8/8/8/b7/7N/8/3N4/4K3", 0, "Nf3", "ok", "8/8/8/b7/8/5N2/3N4/4K3"},
        // The pawns on d3 and d6 take toward the other side, so they do not
        // attack the king.
        Case{"PawnBehindKingDoesNotAttack", "8/8/8/8/1N2K3/3pN3/8/4r3", 0, "Nd5", "ok",
             "8/8/8/3N4/4K3/3pN3/8/4r3"},
        Case{"WhitePawnBehindKingDoesNotAttack", "4R3/8/3Pn3/1n2k3/8/8/8/8", 1, "Nd4", "ok",
             "4R3/8/3Pn3/4k3/3n4/8/8/8"},
        // The pawn on b2 checks whatever moves: the first candidate is kept.
        Case{"EveryCandidateLeavesCheck", "8/8/8/8/8/8/1p6/1NKN3r", 0, "Nc3", "ok",
             "8/8/8/8/8/2N5/1p6/1NK4r"},
        Case{"TwoKingsNoRule", "K7/8/8/8/8/8/8/1NKN3r", 0, "Nc3", "ok", "K7/8/8/8/8/2N5/8/1NK4r"},
        Case{"NoKingNoRule", "8/8/8/8/8/8/8/1N1N3r", 0, "Nc3", "ok", "8/8/8/8/8/2N5/8/1N5r"},
        Case{"HintStillDecides", "8/8/8/8/8/8/8/1NKN3r", 0, "Ndc3", "ok", "8/8/8/8/8/2N5/8/1NK4r"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PlayMove, FairyLettersMoveByEnglishLetter) {
    // Z moves as a knight, Y has no known pattern.
    const auto st = Style(8, 8, "pPnNbBrRqQkKzZyY", "pPnNbBrRqQkKnNwW");
    Check({"Z", "8/8/8/8/8/8/8/6Z1", 0, "Zf3", "ok", "8/8/8/8/8/5Z2/8/8"}, st);
    Check({"z", "6z1/8/8/8/8/8/8/8", 1, "Zf6", "ok", "8/8/5z2/8/8/8/8/8"}, st);
    Check({"Y", "8/8/8/8/8/8/8/6Y1", 0, "Yf3", "", "8/8/8/8/8/8/8/6Y1"}, st);
    // The castling pieces are those whose English letters are K and R.
    const auto german = Style(8, 8, "bBsSlLtTdDkK", "pPnNbBrRqQkK");
    Check({"Castling", "8/8/8/8/8/8/8/4K2T", 0, "O-O", "O-O", "8/8/8/8/8/8/8/5TK1"}, german);
    Check({"Knight", "8/8/8/8/8/8/8/6S1", 0, "Sf3", "ok", "8/8/8/8/8/5S2/8/8"}, german);
    // Kings are found by English letter for the pin rule too.
    Check({"Pin", "8/8/8/8/8/8/8/1SKS3t", 0, "Sc3", "ok", "8/8/8/8/8/2S5/8/2KS3t"}, german);
    // A piece past the end of the English letters has no kind.
    const auto shortEnglish = Style(8, 8, "pPnNbBrRqQkKzZ", "pPnNbBrRqQkK");
    Check({"NoKind", "8/8/8/8/8/8/8/6Z1", 0, "Zf3", "", "8/8/8/8/8/8/8/6Z1"}, shortEnglish);
}

TEST(PlayMove, RanksCountOnTheBoardsOwnHeight) {
    struct Shaped {
        Case c;
        int rows, cols;
    };
    const Shaped cases[] = {
        // Rank 1 is the bottom row, rank 10 the top one.
        {{"TenPawn", "82/82/82/82/82/82/82/4P5/82/82", 0, "e4", "ok", "82/82/82/82/82/82/4P5/82/82/82"},
         10,
         10},
        {{"TenRankOne", "82/82/82/82/82/82/82/82/82/R9", 0, "Re1", "ok", "82/82/82/82/82/82/82/82/82/4R5"},
         10,
         10},
        {{"TenTopRank", "82/82/82/82/82/82/82/82/82/4R5", 0, "Re10", "ok", "4R5/82/82/82/82/82/82/82/82/82"},
         10,
         10},
        {{"TenRankHint", "R9/82/82/82/82/82/82/82/82/R9", 0, "R10a5", "ok", "82/82/82/82/82/R9/82/82/82/R9"},
         10,
         10},
        {{"TenOneDigitHint", "R9/82/82/82/82/82/82/82/82/R9", 0, "R1a5", "ok",
          "R9/82/82/82/82/R9/82/82/82/82"},
         10,
         10},
        {{"TenLeadingZero", "82/82/82/82/82/82/82/82/82/4R5", 0, "Re01", "",
          "82/82/82/82/82/82/82/82/82/4R5"},
         10,
         10},
        {{"TenOffTop", "82/82/82/82/82/82/82/82/82/4R5", 0, "Re11", "", "82/82/82/82/82/82/82/82/82/4R5"},
         10,
         10},
        // Three rows of ten: "f1" is the bottom row, "f6" lies off the board.
        {{"LowF1", "82/82/R9", 0, "Rf1", "ok", "82/82/5R4"}, 3, 10},
        {{"LowTopRank", "82/82/R9", 0, "Ra3", "ok", "R9/82/82"}, 3, 10},
        {{"LowOffBoard", "82/82/5R4", 0, "Rf6", "", "82/82/5R4"}, 3, 10},
        // Eight rows are read as they always were.
        {{"EightTwoDigits", "8/8/8/8/8/8/8/4R3", 0, "Re10", "", "8/8/8/8/8/8/8/4R3"}, 8, 8},
        {{"EightLeadingZero", "8/8/8/8/8/8/8/4R3", 0, "Re08", "", "8/8/8/8/8/8/8/4R3"}, 8, 8},
        {{"EightNoRank", "8/8/8/8/8/8/8/4R3", 0, "Re", "", "8/8/8/8/8/8/8/4R3"}, 8, 8},
        {{"EightRunHint", "8/8/8/8/8/8/8/R6R", 0, "R12a4", "ok", "8/8/8/8/R7/8/8/7R"}, 8, 8},
        {{"EightOtherRunHint", "8/8/8/8/8/8/8/R6R", 0, "R13a4", "", "8/8/8/8/8/8/8/R6R"}, 8, 8},
    };
    for (const Shaped& k : cases) {
        SCOPED_TRACE(k.c.name);
        Check(k.c, Style(k.rows, k.cols));
    }
    // Castling cells follow the corners of the whole board.
    const auto st = Style(10, 10);
    Check(
        {"WhiteShort", "82/82/82/82/82/82/82/82/82/6K2R", 0, "O-O", "O-O", "82/82/82/82/82/82/82/82/82/7RK1"},
        st);
    Check({"BlackLong", "r3k5/82/82/82/82/82/82/82/82/82", 1, "O-O-O", "O-O-O",
           "2kr6/82/82/82/82/82/82/82/82/82"},
          st);
}

TEST(PlayMove, SlidersAndThePinRuleOnBoardsOfAnyShape) {
    struct Shaped {
        Case c;
        int rows, cols;
        const char* pieces;
        const char* english;
    };
    const char* const kList = "pPnNbBrRqQkK";
    const Shaped cases[] = {
        // Rays along a side longer than the other one reach its far end.
        {{"WideRank", "8/R7", 0, "Rh1", "ok", "8/7R"}, 2, 8, kList, kList},
        {{"TallFile", "R1/2/2/2/2/2/2/2", 0, "Ra1", "ok", "2/2/2/2/2/2/2/R1"}, 8, 2, kList, kList},
        {{"LongDiagonal", "B9/82/82", 0, "Bc1", "ok", "82/82/2B7"}, 3, 10, kList, kList},
        {{"PastTheEdge", "8/7R", 0, "Ra3", "", "8/7R"}, 2, 8, kList, kList},
        // Knights on a3 and e3 both reach c4, e3 found first; it is pinned
        // against the king on e1, the board's last cell (25 squares, not a
        // multiple of four), so a3 moves. Without one king e3 moves.
        {{"PinnedFirst", "4r/5/N3N/5/4K", 0, "Nc4", "ok", "4r/2N2/4N/5/4K"}, 5, 5, kList, kList},
        {{"TwoKingsNoRule", "4r/5/N3N/K4/4K", 0, "Nc4", "ok", "4r/2N2/N4/K4/4K"}, 5, 5, kList, kList},
        {{"NoKingNoRule", "4r/5/N3N/5/5", 0, "Nc4", "ok", "4r/2N2/N4/5/5"}, 5, 5, kList, kList},
        // Z moves as a king too: with K it makes two kings, alone it is the one.
        {{"FairyKingAlone", "4r/5/N3N/5/4Z", 0, "Nc4", "ok", "4r/2N2/4N/5/4Z"},
         5,
         5,
         "pPnNbBrRqQkKzZ",
         "pPnNbBrRqQkKkK"},
        {{"FairyAndKing", "4r/5/N3N/5/3ZK", 0, "Nc4", "ok", "4r/2N2/N4/5/3ZK"},
         5,
         5,
         "pPnNbBrRqQkKzZ",
         "pPnNbBrRqQkKkK"},
    };
    for (const Shaped& k : cases) {
        SCOPED_TRACE(k.c.name);
        Check(k.c, Style(k.rows, k.cols, k.pieces, k.english));
    }
}

TEST(PlayMove, CastlingOutsideTheVectorKeepsEarlierCells) {
    // On three columns Black's king-side rook corner is cell 2 and the king
    // cell would be -1: the corner is emptied, then the move fails.
    const auto st = Style(8, 3);
    Vet v = Board("kkk/3/3/3/3/3/3/3", st);
    const PlayResult r = PlayMove(v, st, Side::kBlack, "O-O");
    EXPECT_FALSE(r.Applied());
    EXPECT_EQ(r.reason, PlayFailure::kCellOutOfRange);
    EXPECT_EQ(Fen(v, st), "kk1/3/3/3/3/3/3/3");
}

TEST(PlayMove, ReportsOriginAndDestination) {
    const auto st = Style();
    Vet v = Board(kStart, st);
    const PlayResult r = PlayMove(v, st, Side::kWhite, "Nf3");
    EXPECT_EQ(r.status, PlayStatus::kMoved);
    EXPECT_EQ(r.from, 62);
    EXPECT_EQ(r.to, 45);
    const PlayResult bad = PlayMove(v, st, Side::kWhite, "Nf3");
    EXPECT_EQ(bad.reason, PlayFailure::kNoOrigin);
    EXPECT_STRNE(Describe(bad.reason), "");
}

// Random text as a move, on random boards and shapes, never crashes and only
// ever writes piece indexes of the list.
TEST(PlayMove, RandomTextNeverCrashes) {
    std::mt19937 rng(20240605);
    const std::string alphabet = "abcdefghijNBRQKPSZnbrqkpz0123456789O-=xX+#!?eEpP .()/";
    const NotationStyle shapes[] = {Style(),       Style(10, 10),
                                    Style(1, 1),   Style(8, 3),
                                    Style(20, 20), Style(8, 8, "pPnNbBrRqQkKzZ", "pPnNbBrRqQkKnN"),
                                    Style(0, 8)};
    const char* fens[] = {kStart, "", "r3k2r/pppppppp/8/3pP3/8/8/PPPPPPPP/R3K2R", "KQRBNPkqrbnp/8/8/8"};
    for (int i = 0; i < 40000; ++i) {
        const auto& st = shapes[rng() % std::size(shapes)];
        Vet v = Board(fens[rng() % std::size(fens)], st);
        std::string move;
        const int len = static_cast<int>(rng() % 12);
        for (int k = 0; k < len; ++k) {
            move += (rng() % 8 == 0) ? static_cast<char>(rng() % 256) : alphabet[rng() % alphabet.size()];
        }
        if (rng() % 500 == 0) {
            move.append(300, 'Q');
            move += "e4";
        }
        const auto side = static_cast<Side>(static_cast<int>(rng() % 5) - 1);
        const PlayResult r = PlayMove(v, st, side, move);
        if (r.status == PlayStatus::kMoved) {
            ASSERT_GE(r.from, 0);
            ASSERT_LT(r.to, st.shape.Squares());
        }
        for (int s = 0; s < kCells; ++s) {
            ASSERT_GE(v(kPosition, s), 0);
            ASSERT_LE(v(kPosition, s), st.shape.Pieces()) << move;
        }
    }
}

}  // namespace
