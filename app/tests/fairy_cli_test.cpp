// pandrel-cli fen, render, render-book and sheet with the fairy notations.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/tests/cli_fixture.h"

namespace {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs pandrel-cli with the arguments (already quoted for the shell).
CliRun Cli(const std::string& args, const std::filesystem::path& errFile) {
    CliRun run;
    const clitest::CliRun done =
        clitest::RunShell(std::string(CLI_PATH) + " " + args + " 2>" + errFile.string());
    run.status = done.status;
    run.out = done.out;
    std::ifstream err(errFile);
    run.err.assign(std::istreambuf_iterator<char>(err), {});
    return run;
}

class FairyCliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                ("pandrel-fairy-cli-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    CliRun Run(const std::string& args) {
        return Cli("--appdir " + m_dir.string() + " " + args, m_dir / "err");
    }

    std::filesystem::path m_dir;
};

TEST_F(FairyCliTest, FenReadsAndWritesTheNotations) {
    struct Case {
        std::string args;
        int status;
        std::string out;
        std::string err;
    };
    const Case cases[] = {
        // Without the options, as before.
        {"fen 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR'", 0,
         "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR\n(16x16)\n", ""},
        {"fen --notation yacpdb 'rsbqkbsr/pppppppp/8/8/8/8/PPPPPPPP/RSBQKBSR'", 0,
         "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR\n(16x16)\n", ""},
        {"fen --notation auto 'K9/10/10/10/10/10/10/10/10/9k'", 0,
         "K9/82/82/82/82/82/82/82/82/81k\n(1x1)\nnotation ffen\nBorderHeight = 10\nBorderWidth = 10\n"
         "PiecesList = pPnNbBrRqQkK\nEnglishNotation = pPnNbBrRqQkK\n",
         ""},
        {"fen --notation ffen '-*2q3/4/4/3K'", 0,
         "a3/4/4/3K\n(1x1)\nBorderHeight = 4\nBorderWidth = 4\nPiecesList = pPnNbBrRqQkKa\n"
         "EnglishNotation = pPnNbBrRqQkKa\nPiecesFont = FreeSerif\nPiecesGlyphs = a=q180~\nPyDictionary = "
         "&&a=nQ&&\n",
         ""},
        {"fen --notation yacpdb --output ffen '(!b2)7/(Q1)7/(!k)7/S7/8/8/8/8'", 0,
         "-*2b7/*1Q7/-k7/N7/8/8/8/8\n", ""},
        {"fen --notation popeye --output yacpdb '1.PA6/8/1Q2.ma3/8/k1.pa.pa4/8/1P1K'", 0,
         "1(PA)6/8/1Q2(ma)3/8/k1(pa)(pa)4/8/1P1K4/8\n", ""},
        {"fen --output popeye 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR'", 0,
         "rsbqkbsr/pppppppp/8/8/8/8/PPPPPPPP/RSBQKBSR\n", ""},
        {"fen --knight-s --notation ffen --output ffen 'SG'", 0, "SG\n", ""},
        {"fen --notation auto --output ffen '=q'", 0, "-q7/8/8/8/8/8/8/8\n",
         "pandrel-cli fen: read as popeye\n"},
        {"fen --notation ffen '8/8/8/8/8/9/8/8'", 1, "",
         "pandrel-cli fen: cannot read the text as ffen: rank 3 has 9 squares, the others 8\n"},
        {"fen --notation ffen --output popeye 'c'", 1, "",
         "pandrel-cli fen: Popeye forsyth has no way to write the circle on a1\n"},
        {"fen --notation latin K", 2, "",
         "pandrel-cli fen: --notation is ffen, yacpdb, popeye or auto, not \"latin\"\n"},
        {"fen --output auto K", 2, "", "pandrel-cli fen: --output is ffen, yacpdb or popeye, not \"auto\"\n"},
        {"fen K --notation", 2, "", "pandrel-cli fen: option --notation needs a value\n"},
    };
    for (const Case& c : cases) {
        const CliRun r = Run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_EQ(r.out, c.out) << c.args;
        EXPECT_EQ(r.err, c.err) << c.args;
    }
}

TEST_F(FairyCliTest, RenderRenderBookAndSheetDrawTheTextsBoard) {
    const std::string png = (m_dir / "d.png").string();
    CliRun r = Run("render --notation ffen -o " + png + " '-*2q*1Q/Kk'");
    ASSERT_EQ(r.status, 0) << r.err;
    const QImage fairy(QString::fromStdString(png));
    r = Run("render -o " + png + " 'qQ/Kk'");
    ASSERT_EQ(r.status, 0) << r.err;
    const QImage plain(QString::fromStdString(png));
    // The board of the text, 2 x 2, whatever the style's size; its turned
    // men are not the upright ones.
    ASSERT_FALSE(fairy.isNull());
    EXPECT_LT(fairy.width(), plain.width());
    EXPECT_EQ(Run("render --notation yacpdb -o " + png + " '(Q'").status, 1);

    std::ofstream(m_dir / "book.fen") << "-*2q3/4/4/3K\n'A3/4/4/3k\n";
    std::ofstream(m_dir / "bad.fen") << "K3/4/4/4\n8/8/8/8/8/8/8/8\n";
    r = Run("render-book --notation ffen --positions all " + (m_dir / "book.fen").string() + " -o " +
            (m_dir / "out").string());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "diagrams 2\n");
    r = Run("render-book --notation ffen " + (m_dir / "bad.fen").string() + " -o " +
            (m_dir / "out2").string());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("bad.fen line 2: a board of 8 x 8, the book's is 4 x 4"), std::string::npos)
        << r.err;

    // The sheet reads the same book onto its pages, and refuses the same bad one.
    const std::string pdf = (m_dir / "sheet.pdf").string();
    r = Run("sheet --notation ffen " + (m_dir / "book.fen").string() + " -o " + pdf);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "diagrams 1\n");  // a FEN book is one game
    EXPECT_GT(std::filesystem::file_size(pdf), 0U);
    r = Run("sheet --notation ffen " + (m_dir / "bad.fen").string() + " -o " + pdf);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("bad.fen line 2"), std::string::npos) << r.err;
    r = Run("sheet --notation latin " + (m_dir / "book.fen").string() + " -o " + pdf);
    EXPECT_EQ(r.status, 2);
}

}  // namespace
