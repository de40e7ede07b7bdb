#include <QImage>
#include <filesystem>
#include <fstream>

#include "app/tests/cli_fixture.h"

namespace {

using clitest::Cli;
using clitest::CliRun;

class CliTest : public clitest::CliFolderTest {
  protected:
    void Ini(const std::string& text) { std::ofstream(m_dir / "Pandrel.ini") << text; }
};

TEST_F(CliTest, FenAndTally) {
    struct Case {
        const char* text;
        const char* out;
    };
    for (const Case c : {Case{"'(16x16)rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR'",
                              "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR\n(16x16)\n"},
                         Case{"''", "8/8/8/8/8/8/8/8\n(0x0)\n"},
                         Case{"'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b - - 0 1'",
                              "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR\n(16x17)\n"}}) {
        const CliRun r = Cli("fen" + m_app + c.text);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, c.out) << c.text;
    }
    EXPECT_EQ(Cli("fixfen" + m_app + "rnbqk/").out, "rnbqk3/\n");
}

TEST_F(CliTest, StyleFromTheSettingsFile) {
    Ini("BeginStyle = Alpha\r\nEndStyle\r\nBeginStyle = Ten\r\n  BorderWidth = 10\r\n  BorderHeight = 2\r\n"
        "  PiecesList = pPnNbBrRqQkKxX\r\nEndStyle\r\n");
    EXPECT_EQ(Cli("fen" + m_app + "--style ten xX").out, "xX8/82\n(1x1)\n");
    EXPECT_EQ(Cli("fen" + m_app + "xXK").out, "K7/8/8/8/8/8/8/8\n(1x0)\n");  // first block: x, X unknown
    EXPECT_EQ(Cli("fen" + m_app + "--style Nope K").status, 2);
}

TEST_F(CliTest, BadCommandLines) {
    EXPECT_EQ(Cli("").status, 2);
    EXPECT_EQ(Cli("frobnicate").status, 2);
    EXPECT_EQ(Cli("fen" + m_app + "--frob K").status, 2);
    EXPECT_EQ(Cli("fen" + m_app).status, 2);
    EXPECT_EQ(Cli("fen --appdir").status, 2);
    EXPECT_EQ(Cli("render" + m_app + "K").status, 2);
}

TEST_F(CliTest, RenderWritesTheDiagram) {
    const std::string file = (m_dir / "out.bmp").string();
    ASSERT_EQ(Cli("render" + m_app + "-o " + file + " K7/8/8/8/8/8/8/8").status, 0);
    QImage image(QString::fromStdString(file));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(124, 124));
    EXPECT_EQ(image.depth(), 32);  // loaded form; the file itself is 24-bit
    std::ifstream in(file, std::ios::binary);
    char header[30];
    in.read(header, sizeof header);
    EXPECT_EQ(header[0], 'B');
    EXPECT_EQ(header[28], 24);

    const std::string reversed = (m_dir / "rev.bmp").string();
    ASSERT_EQ(Cli("render" + m_app + "--reversed -o " + reversed + " K7/8/8/8/8/8/8/8").status, 0);
    QImage turned(QString::fromStdString(reversed));
    EXPECT_EQ(turned.copy(105, 105, 15, 15), image.copy(0, 0, 15, 15));

    EXPECT_EQ(Cli("render" + m_app + "-o /nonexistent/dir/x.bmp K").status, 1);
}

TEST_F(CliTest, RenderWithLettering) {
    Ini("BeginStyle = Grid\r\n  XBase = 20\r\n  ShowGrid = Yes\r\n  FontColor = &HFFFFFF\r\nEndStyle\r\n");
    const std::string file = (m_dir / "grid.bmp").string();
    ASSERT_EQ(Cli("render" + m_app + "-o " + file + " ''").status, 0);
    QImage image(QString::fromStdString(file));
    bool lettered = false;
    for (int y = 0; y < 15 && !lettered; ++y)
        for (int x = 0; x < 20; ++x)
            lettered = lettered || image.pixelColor(x, y).lightness() > 128;
    EXPECT_TRUE(lettered);
}

}  // namespace

namespace {

TEST_F(CliTest, NotationSubcommands) {
    const CliRun played = Cli("play" + m_app + "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR e4 xyz e5 O-O");
    EXPECT_EQ(played.status, 0);
    EXPECT_EQ(played.out,
              "ok\trnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR\n"
              "\trnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR\n"
              "ok\trnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR\n"
              "O-O\trnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQ1RK1\n");
    EXPECT_EQ(Cli("play" + m_app + "--side x K").status, 2);
    EXPECT_EQ(Cli("move" + m_app +
                  "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR "
                  "rnbqkbnr/pppppppp/8/8/8/5N2/PPPPPPPP/RNBQKB1R")
                  .out,
              "Nf3\n");
    EXPECT_EQ(Cli("move" + m_app + "8/8/8/8/8/8/8/8 8/8/8/8/8/8/8/8").out, "\n");
    const CliRun lists = Cli("popeye" + m_app + "4k3/8/8/8/8/8/8/4K3");
    EXPECT_EQ(lists.status, 0);
    EXPECT_EQ(std::count(lists.out.begin(), lists.out.end(), '\n'), 3);
}

// The piece lists use the window's dictionary: the data file's names, with a
// style's own names winning for the letters it names.
TEST_F(CliTest, PopeyeListsTakeTheDataFileAndTheStylesNames) {
    std::ofstream(m_dir / "Py.dat") << "; names\r\n90&&G=wG&&g=bG&&Z=wZ&&z=bZ\r\n";
    Ini("BeginStyle = Fairy\r\n  PiecesList = pPnNbBrRqQkKgGzZ\r\n  EnglishNotation = pPnNbBrRqQkKgGzZ\r\n"
        "  PyDictionary = Z=wN&&\r\nEndStyle\r\nBeginStyle = Plain\r\n  PiecesList = pPnNbBrRqQkKgGzZ\r\n"
        "  EnglishNotation = pPnNbBrRqQkKgGzZ\r\nEndStyle\r\nRecentStyle = Fairy\r\n");
    const struct {
        const char* style;
        const char* out;
    } cases[] = {
        {"Fairy", "Gc3 Nd2 Ke1\nKe8 Za1\n\n"},  // Z is the style's nightrider, z the file's zebra
        {"Plain", "Gc3 Zd2 Ke1\nKe8 Za1\n\n"},
    };
    for (const auto& c : cases) {
        const CliRun r = Cli(std::string("--style ") + c.style + m_app + "popeye 4k3/8/8/8/8/2G5/3Z4/z3K3");
        EXPECT_EQ(r.status, 0) << c.style;
        EXPECT_EQ(r.out, c.out) << c.style;
    }
}

TEST_F(CliTest, BookCutShortByAFullDiskExitsOneWithTheReason) {
    std::ofstream book(m_dir / "big.fen");
    for (int g = 1; g <= 20000; ++g) {
        book << "[G " << g << "]\n8/8/8/8/8/8/8/K7 w\n";
    }
    book.close();
    // A file size limit stands in for the full disk; the signal it sends is
    // ignored so that the write fails as on a full disk.
    const std::string err = (m_dir / "err.txt").string();
    const std::string command = "sh -c 'trap \"\" XFSZ; ulimit -f 1000; exec " + std::string(CLI_PATH) +
                                " book" + m_app + (m_dir / "big.fen").string() + "' 2>" + err;
    const CliRun r = clitest::RunShell(command);
    std::ifstream in(err);
    const std::string message((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(message.rfind("pandrel-cli: Only ", 0), 0u) << message;
    EXPECT_NE(message.find("could be read (cannot write the work file: File too large)."), std::string::npos)
        << message;
    EXPECT_EQ(r.out.rfind("games ", 0), 0u) << r.out;
    EXPECT_EQ(r.out.find("games 20000"), std::string::npos) << r.out;
}

}  // namespace
