// The problem record follows the book game shown.

#include "books/ui/problem_from_book.h"
#include "books/ui/tests/book_fixture.h"

namespace books::ui {
namespace {

class ProblemFromBookTest : public testing::BookWindowTest {};

TEST_F(ProblemFromBookTest, EachGameShownFillsTheRecord) {
    WriteFile("p.pgn",
              "[Event \"#2\"]\n[White \"A. Bor\"]\n[FEN \"6k1/8/6K1/8/8/8/8/Q7 w - - 0 1\"]\n\n1. Qa8# *\n\n"
              "[Author \"B. Cer\"]\n[Stipulation \"h#2\"]\n[FEN \"7k/8/6K1/8/8/8/8/1Q6 b - - 0 1\"]\n\n*\n");
    Start();
    new ProblemFromBook(window->host());
    Open("p.pgn");
    QTRY_COMPARE_WITH_TIMEOUT(program.problem.stipulation, std::string("#2"), 5000);
    EXPECT_EQ(program.problem.authors, std::vector<std::string>{"A. Bor"});
    // Typed into the record, it stays while the game's positions are stepped.
    program.problem.award = "Prize";
    Click(2);
    EXPECT_EQ(program.problem.award, "Prize");
    ShowGame(2);
    QTRY_COMPARE_WITH_TIMEOUT(program.problem.stipulation, std::string("h#2"), 5000);
    EXPECT_EQ(program.problem.authors, std::vector<std::string>{"B. Cer"});
    EXPECT_EQ(program.problem.award, "");
}

}  // namespace
}  // namespace books::ui
