#include "position/piece_lists.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "position/tests/notation_helpers.h"

using namespace position;
using namespace position::testing_support;

namespace {

struct Case {
    const char* name;
    int rows, cols;
    const char* fen;
    const char* dictionary;
    const char* white;
    const char* black;
    const char* neutral;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class Lists : public ::testing::TestWithParam<Case> {};

TEST_P(Lists, GroupsSquaresByName) {
    const auto& c = GetParam();
    const auto st = Style(c.rows, c.cols);
    const Vet v = Board(c.fen, st);
    const PieceLists l = FEN2ALG(v, st, c.dictionary);
    EXPECT_EQ(l.white, c.white);
    EXPECT_EQ(l.black, c.black);
    EXPECT_EQ(l.neutral, c.neutral);
}

INSTANTIATE_TEST_SUITE_P(
    Dictionary, Lists,
    ::testing::Values(
        Case{"StartPosition", 8, 8, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", "&&",
             "Ph2g2f2e2d2c2b2a2 Rh1a1 Ng1b1 Bf1c1 Qd1 Ke1", "Rh8a8 Ng8b8 Bf8c8 Qd8 Ke8 Ph7g7f7e7d7c7b7a7",
             ""},
        Case{"EmptyBoard", 8, 8, "", "&&", "", "", ""},
        Case{"NamedRooks", 8, 8, "8/8/8/8/8/8/8/R6R", "&&R=wT&&", "Th1a1", "", ""},
        // The colour letter decides the list, whatever the piece letter's case.
        Case{"NeutralUpperLetter", 8, 8, "8/8/8/8/8/8/8/3Q4", "&&Q=Nhamster&&", "", "", "HAMSTERd1"},
        Case{"NeutralLowerLetter", 8, 8, "3q4/8/8/8/8/8/8/8", "&&q=nmao&&", "", "", "MAOd8"},
        Case{"WhitePieceListedBlack", 8, 8, "8/8/8/8/8/8/4P3/8", "&&P=bBP&&", "", "BPe2", ""},
        Case{"FirstEntryWins", 8, 8, "8/8/8/8/8/8/8/4K3", "&&K=wRoi&&K=bKing&&", "ROIe1", "", ""},
        Case{"NameTrimmedAndUpperCased", 8, 8, "8/8/8/8/8/8/8/6N1", "&&N=w  springer  &&", "SPRINGERg1", "",
             ""},
        // An entry left open takes the rest of the text as its name.
        Case{"UnclosedEntry", 8, 8, "8/8/8/8/8/8/8/R6R", "&&R=wTurm", "TURMh1a1", "", ""},
        // An entry without a name names the piece by its letter.
        Case{"EntryWithoutColourOrName", 8, 8, "8/8/8/8/8/8/8/4K3", "&&K=", "Ke1", "", ""},
        Case{"EntryClosedAtColour", 8, 8, "8/8/8/8/8/8/8/4K3", "&&K=&&", "Ke1", "", ""},
        Case{"EntryWithBlankName", 8, 8, "8/8/8/8/8/8/8/R3K2R", "&&R=w  &&K=b&&", "Rh1a1", "Ke1", ""},
        Case{"TallBoardRanks", 10, 8, "K7/8/8/8/8/8/8/8/8/7k", "", "Ka10", "Kh1", ""},
        // Names are matched as whole items, never inside a longer name.
        Case{"NameInsideLongerName", 8, 8, "NB6/8/8/8/8/8/8/8", "&&N=wSB&&B=wS&&", "SBa8 Sb8", "", ""},
        Case{"KnightsBesideTheRooksName", 8, 8, "8/8/8/8/8/8/8/RN4NR", "&&R=wTS&&N=wS&&", "TSh1a1 Sg1b1", "",
             ""},
        Case{"NameEndingAnotherName", 8, 8, "8/8/8/8/8/8/8/RN4NR", "&&R=wST&&N=wT&&", "STh1a1 Tg1b1", "", ""},
        Case{"BlackNameInsideWhiteList", 8, 8, "8/8/8/8/8/8/8/Rn4nR", "&&R=wTS&&n=wS&&", "TSh1a1 Sg1b1", "",
             ""},
        Case{"DigitNameInsideSquares", 8, 8, "8/8/8/8/8/8/8/R5NN", "&&N=w1&&", "Ra1 1h1g1", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FEN2ALG, PieceBeyondEnglishLettersIsWhiteWithoutName) {
    const auto st = Style(8, 8, "pPnNbBrRqQkKzZ", "pPnNbBrRqQkK");
    const Vet v = Board("8/8/8/8/8/8/8/Z6K", st);
    const PieceLists l = FEN2ALG(v, st, "&&");
    EXPECT_EQ(l.white, "a1 Kh1");
    EXPECT_EQ(l.black, "");
}

TEST(FEN2ALG, UsesEnglishLetters) {
    const auto german = Style(8, 8, "bBsSlLtTdDkK", "pPnNbBrRqQkK");
    const Vet v = Board("8/8/8/8/8/8/4B3/6S1", german);
    const PieceLists l = FEN2ALG(v, german, "&&N=wS&&");
    EXPECT_EQ(l.white, "Pe2 Sg1");
}

TEST(FEN2ALG, RandomDictionariesNeverCrash) {
    std::mt19937 rng(5);
    const std::string alphabet = "&=KkQqNnBbRrPpwWbBnN ";
    const auto st = Style();
    const Vet v = Board("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", st);
    for (int i = 0; i < 5000; ++i) {
        std::string dict;
        for (int k = rng() % 30; k > 0; --k) {
            dict += alphabet[rng() % alphabet.size()];
        }
        const PieceLists l = FEN2ALG(v, st, dict);
        // Every square is listed once, whatever the names.
        const auto squares = [](const std::string& s) {
            int n = 0;
            for (std::size_t k = 0; k + 1 < s.size(); ++k) {
                n += s[k] >= 'a' && s[k] <= 'h' && s[k + 1] >= '1' && s[k + 1] <= '8';
            }
            return n;
        };
        EXPECT_EQ(squares(l.white) + squares(l.black) + squares(l.neutral), 32) << dict;
    }
}

}  // namespace
