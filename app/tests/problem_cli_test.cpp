// pandrel-cli latex and popeye-input: problems from books and from --fen.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/tests/cli_fixture.h"

namespace {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Output(const std::string& command, int* status = nullptr) {
    const clitest::CliRun run = clitest::RunShell(command);
    if (status != nullptr) {
        *status = run.status;
    }
    return run.out;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Two problems as a problem book keeps them: the first with a game's tags
// only, the second with the problem tags.
constexpr const char* kBook =
    "[Event \"#1\"]\n[White \"A. Bor\"]\n[Site \"Problem & Co\"]\n[Date \"1990.??.??\"]\n"
    "[FEN \"6k1/8/6K1/8/8/8/8/Q7 w - - 0 1\"]\n\n*\n\n"
    "[Event \"Tourney\"]\n[Author \"Вася Пупкин\"]\n[Stipulation \"h#1\"]\n[Award \"1st_Prize\"]\n"
    "[Solution \"1.Kg8 Qb8#\"]\n"
    "[FEN \"7k/8/6K1/8/8/8/8/1Q6 b - - 0 1\"]\n\n*\n";

class ProblemCliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                ("pandrel-problem-cli-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
        std::ofstream(m_dir / "book.pgn") << kBook;
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    CliRun Run(const std::string& args) {
        CliRun run;
        run.out = Output(std::string(CLI_PATH) + " --appdir " + m_dir.string() + " " + args + " 2>" +
                             (m_dir / "err").string(),
                         &run.status);
        run.err = ReadFile(m_dir / "err");
        return run;
    }
    std::string Path(const char* name) const { return (m_dir / name).string(); }

    std::filesystem::path m_dir;
};

TEST_F(ProblemCliTest, LatexFromABookAndFromOptions) {
    CliRun run = Run("latex " + Path("book.pgn") + " -o " + Path("all.tex"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "problems 2\n");
    const std::string all = ReadFile(m_dir / "all.tex");
    for (const char* expected : {"\\author{Bor, A.}", "\\source{Problem \\& Co}", "\\year{1990}",
                                 "\\stipulation{\\#1}", "\\author{Пупкин, Вася}", "\\award{1st\\_Prize}",
                                 "\\stipulation{h\\#1}", "\\pieces{wKg6, wDa1, sKg8}", "T2A"}) {
        EXPECT_NE(all.find(expected), std::string::npos) << expected;
    }
    // Options win over the tags; a named count that disagrees is reported.
    run =
        Run("latex --games 2 --fragment --author 'Sam Loyd' --author X --condition Circe --condition Madrasi "
            "--legend G=Grasshopper --count '(2+2)' " +
            Path("book.pgn") + " -o " + Path("two.tex"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "problems 1\n");
    EXPECT_NE(run.err.find("The count (2+2) does not match the board (2+1)"), std::string::npos) << run.err;
    const std::string two = ReadFile(m_dir / "two.tex");
    EXPECT_EQ(two.find("documentclass"), std::string::npos);
    EXPECT_NE(two.find("\\author{Loyd, Sam; X, }"), std::string::npos) << two;
    EXPECT_NE(two.find("\\condition{Circe Madrasi}"), std::string::npos) << two;
    EXPECT_NE(two.find("\\remark{G = Grasshopper}"), std::string::npos) << two;
    EXPECT_NE(two.find("\\pieces{wKg6, wDb1, sKh8}"), std::string::npos) << two;

    // A fairy position: turned and neutral men, a circle, and a cross the
    // package cannot draw, said on stderr and in the file.
    run = Run("latex --notation ffen --fen '-*2q*1Q-c1/Kx1k/4/4' -o " + Path("fairy.tex"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("not drawn: problem 1: cross on b3"), std::string::npos) << run.err;
    const std::string fairy = ReadFile(m_dir / "fairy.tex");
    EXPECT_NE(fairy.find("% Not drawn: cross on b3\n\\begin{diagram}[4x4]\n"), std::string::npos) << fairy;
    EXPECT_NE(fairy.find("\\pieces{wDRb4, wKa3, sKd3, nDUa4, nCc4}"), std::string::npos) << fairy;
}

TEST_F(ProblemCliTest, BadCommandLines) {
    struct Case {
        std::string args;
        int status;
        const char* err;
    };
    const Case cases[] = {
        {"latex --fen 8/8/8/8/8/8/8/8", 2, "missing -o FILE.tex"},
        {"latex --fen k7/8/8/8/8/8/8/K7 --games 1 -o x.tex", 2, "--games needs a book"},
        {"latex --legend Grasshopper --fen k7/8/8/8/8/8/8/K7 -o x.tex", 2, "--legend wants LETTER=NAME"},
        {"latex " + Path("none.pgn") + " -o " + Path("x.tex"), 1, "none.pgn"},
        {"latex --games 5-9 " + Path("book.pgn") + " -o " + Path("x.tex"), 1, "no game in range"},
        {"popeye-input --fen k7/8/8/8/8/8/8/K7 -o " + Path("x.inp"), 1, "Enter the stipulation!"},
        {"popeye-input --fen 8/8/8/8/8/8/8/8 --stipulation '#2' -o " + Path("x.inp"), 1,
         "Enter the pieces list!"},
    };
    for (const Case& c : cases) {
        const CliRun run = Run(c.args);
        EXPECT_EQ(run.status, c.status) << c.args << "\n" << run.err;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << c.args << "\n" << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(m_dir / "x.inp"));
}

TEST_F(ProblemCliTest, PopeyeInputOfABookIsSolved) {
    const CliRun run = Run("popeye-input --option NoBoard " + Path("book.pgn") + " -o " + Path("book.inp"));
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string input = ReadFile(m_dir / "book.inp");
    EXPECT_NE(input.find("Author A. Bor\r\nOrigin Problem & Co, 1990\r\n"), std::string::npos) << input;
    EXPECT_NE(input.find("NextProblem\r\nAuthor Вася Пупкин\r\nTitle 1st_Prize\r\n"), std::string::npos)
        << input;
    if (!std::filesystem::exists(POPEYE_BIN)) {
        GTEST_SKIP() << "no solver at " << POPEYE_BIN;
    }
    const std::string out = Output(std::string("'") + POPEYE_BIN + "' '" + Path("book.inp") + "' 2>&1");
    EXPECT_NE(out.find("1.Qa1-a8 #"), std::string::npos) << out;
    EXPECT_NE(out.find("1.Kh8-g8 Qb1-b8 #"), std::string::npos) << out;
    EXPECT_EQ(out.find("input-error"), std::string::npos) << out;
}

TEST_F(ProblemCliTest, CaptionsOnRenderAndRenderBook) {
    CliRun run = Run("render -o " + Path("plain.svg") + " 6k1/8/6K1/8/8/8/8/Q7");
    ASSERT_EQ(run.status, 0) << run.err;
    run = Run("render --captions -o " + Path("none.svg") + " 6k1/8/6K1/8/8/8/8/Q7");
    ASSERT_EQ(run.status, 0) << run.err;
    // Nothing to caption: the diagram as ever.
    EXPECT_EQ(ReadFile(m_dir / "none.svg"), ReadFile(m_dir / "plain.svg"));
    run = Run("render --captions --author 'Sam Loyd' --stipulation '#1' -o " + Path("c.svg") +
              " 6k1/8/6K1/8/8/8/8/Q7");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string svg = ReadFile(m_dir / "c.svg");
    EXPECT_NE(svg.find(">Sam Loyd</text>"), std::string::npos) << svg.substr(0, 1500);
    EXPECT_NE(svg.find(">#1</text>"), std::string::npos);
    EXPECT_NE(svg.find(">(2+1)</text>"), std::string::npos);

    run = Run("render-book --captions --format svg " + Path("book.pgn") + " -o " + Path("dir"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(ReadFile(m_dir / "dir" / "1.svg").find(">A. Bor</text>"), std::string::npos);
    EXPECT_NE(ReadFile(m_dir / "dir" / "2.svg").find(">h#1</text>"), std::string::npos);

    run = Run("sheet --captions --answers " + Path("book.pgn") + " -o " + Path("sheet.pdf"));
    ASSERT_EQ(run.status, 0) << run.err;
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "no pdftotext";
    }
    const std::string text = Output("pdftotext -layout '" + Path("sheet.pdf") + "' -");
    EXPECT_NE(text.find("Problem & Co, 1990"), std::string::npos) << text;
    EXPECT_NE(text.find("(2+1)"), std::string::npos) << text;
    EXPECT_NE(text.find("h#1"), std::string::npos) << text;
    // The solutions on a page after the diagrams.
    const size_t answers = text.find("2. 1.Kg8 Qb8#");
    ASSERT_NE(answers, std::string::npos) << text;
    EXPECT_GT(answers, text.find("Page 1 of 1"));
}

// Wherever the record is shown around the diagram, a count it names that
// the board disagrees with is said on stderr; the output is written all the
// same.
TEST_F(ProblemCliTest, CountThatDisagreesWithTheBoardIsWarnedOf) {
    std::ofstream(m_dir / "counted.pgn") << "[Event \"?\"]\n[Stipulation \"#1\"]\n[Count \"(2+1)\"]\n"
                                            "[FEN \"6k1/8/6K1/8/8/8/8/Q7 w - - 0 1\"]\n\n*\n\n"
                                            "[Event \"?\"]\n[Stipulation \"#1\"]\n[Count \"(2+2)\"]\n"
                                            "[FEN \"6k1/8/6K1/8/8/8/8/Q7 w - - 0 1\"]\n\n*\n";
    const std::string wrong = "The count (2+2) does not match the board (2+1)";
    const struct {
        std::string args;
        std::string warning;  ///< "" for none.
    } cases[] = {
        {"render --captions --count '(2+1)' -o " + Path("a.png") + " 6k1/8/6K1/8/8/8/8/Q7", ""},
        {"render --captions --count '(2+2)' -o " + Path("b.png") + " 6k1/8/6K1/8/8/8/8/Q7",
         "pandrel-cli render: " + wrong},
        {"render --count '(2+2)' -o " + Path("c.png") + " 6k1/8/6K1/8/8/8/8/Q7", ""},  // not shown
        {"render-book --captions " + Path("counted.pgn") + " -o " + Path("dir"),
         "pandrel-cli render-book: game 2: " + wrong},
        {"sheet --captions " + Path("counted.pgn") + " -o " + Path("s.pdf"),
         "pandrel-cli sheet: game 2: " + wrong},
        {"sheet " + Path("counted.pgn") + " -o " + Path("t.pdf"), ""},
    };
    for (const auto& c : cases) {
        const CliRun run = Run(c.args);
        EXPECT_EQ(run.status, 0) << c.args << "\n" << run.err;
        if (c.warning.empty()) {
            EXPECT_EQ(run.err.find("does not match"), std::string::npos) << c.args << "\n" << run.err;
        } else {
            EXPECT_NE(run.err.find(c.warning + "\n"), std::string::npos) << c.args << "\n" << run.err;
        }
    }
}

// On the book sheet a caption wider than its diagram goes on over several
// lines, every word there; where the cell is too small for so many lines it
// is elided rather than left out.
TEST_F(ProblemCliTest, SheetWrapsCaptionsWiderThanTheDiagram) {
    const std::string source =
        "Deutsche Schachzeitung Problemturnier zum hundertsten Geburtstag des Verlegers und Herausgebers";
    std::ofstream(m_dir / "long.pgn")
        << "[Event \"?\"]\n[Author \"Johann Nepomuk Berger\"]\n[Source \"" << source
        << "\"]\n[Stipulation \"#2\"]\n[FEN \"6k1/8/6K1/8/8/8/8/Q7 w - - 0 1\"]\n\n*\n";
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "no pdftotext";
    }
    const struct {
        const char* perPage;
        bool wrapped;
    } cases[] = {{"2", true}, {"20", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.perPage);
        const CliRun run = Run(std::string("sheet --captions --per-page ") + c.perPage + " " +
                               Path("long.pgn") + " -o " + Path("l.pdf"));
        ASSERT_EQ(run.status, 0) << run.err;
        const std::string text = Output("pdftotext '" + Path("l.pdf") + "' -");
        EXPECT_EQ(text.find(source), std::string::npos) << "one line wider than the diagram\n" << text;
        EXPECT_EQ(text.find("…") == std::string::npos, c.wrapped) << text;
        std::vector<std::string> words = {"Johann", "Deutsche", "(2+1)", "#2"};
        if (c.wrapped) {
            words = {"Johann",    "Deutsche",    "Schachzeitung", "Problemturnier",
                     "zum",       "hundertsten", "Geburtstag",    "des",
                     "Verlegers", "und",         "Herausgebers",  "(2+1)",
                     "#2"};
        }
        for (const std::string& word : words) {
            EXPECT_NE(text.find(word), std::string::npos) << word << "\n" << text;
        }
    }
}

}  // namespace
