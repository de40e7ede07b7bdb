#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "app/tests/cli_fixture.h"

namespace {

namespace fs = std::filesystem;

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class BookExportCli : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("pandrel-export-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "run");
        fs::permissions(m_dir / "run", fs::perms::owner_all);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Runs pandrel-cli SUBCOMMAND --appdir DIR ARGS (quoted for the shell).
    CliResult Cli(const std::string& subcommand, const std::string& args) {
        CliResult run;
        const std::string errFile = (m_dir / "stderr").string();
        const clitest::CliRun done =
            clitest::RunShell("XDG_RUNTIME_DIR=" + (m_dir / "run").string() + " " + CLI_PATH + " " +
                              subcommand + " --appdir " + m_dir.string() + " " + args + " 2>" + errFile);
        run.status = done.status;
        run.out = done.out;
        run.err = Slurp(errFile);
        return run;
    }

    std::string Book(const std::string& name, const std::string& bytes) {
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
        return (m_dir / name).string();
    }

    std::vector<std::string> Files(const std::string& folder) {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(m_dir / folder)) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    QImage Image(const std::string& path) { return QImage(QString::fromStdString((m_dir / path).string())); }

    // The text of a PDF file, by pdftotext.
    std::string PdfText(const std::string& name) {
        const std::string text = (m_dir / "text.txt").string();
        const std::string command = "pdftotext -layout " + (m_dir / name).string() + " " + text;
        EXPECT_EQ(std::system(command.c_str()), 0);
        return Slurp(text);
    }

    int PdfPages(const std::string& name) {
        const std::string text = PdfText(name);
        return static_cast<int>(std::count(text.begin(), text.end(), '\f'));
    }

    // The output of a command run by the shell.
    std::string Shell(const std::string& command) {
        const std::string out = (m_dir / "shell.txt").string();
        EXPECT_EQ(std::system((command + " >" + out + " 2>&1").c_str()), 0) << command;
        return Slurp(out);
    }

    // Pages and page size in points of a PDF file, by pdfinfo.
    struct PdfInfo {
        int pages = 0;
        double width = 0, height = 0;
    };
    PdfInfo Pdf(const std::string& name) {
        const std::string text = Shell("pdfinfo " + (m_dir / name).string());
        PdfInfo info;
        const size_t pages = text.find("Pages:");
        if (pages != std::string::npos) {
            info.pages = std::atoi(text.c_str() + pages + 6);
        }
        const size_t size = text.find("Page size:");
        if (size != std::string::npos) {
            std::sscanf(text.c_str() + size + 10, "%lf x %lf", &info.width, &info.height);
        }
        return info;
    }

    fs::path m_dir;
};

// Elements of an SVG document by name, with the width and height of the
// root; the document must be well-formed XML.
struct SvgCounts {
    std::map<std::string, int> elements;
    double width = 0, height = 0;
};
// A length of SVG ("244", "244px", "64.5mm", "183pt") in pixels at 96 an inch.
double Pixels(QString length) {
    double unit = 1;
    if (length.endsWith("mm")) {
        unit = 96 / 25.4;
    } else if (length.endsWith("pt")) {
        unit = 96 / 72.0;
    }
    return length.remove(QRegularExpression("[a-z]+$")).toDouble() * unit;
}

SvgCounts ReadSvg(const std::string& text) {
    SvgCounts svg;
    QXmlStreamReader xml(QByteArray::fromStdString(text));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const std::string name = xml.name().toString().toStdString();
        if (name == "svg" && svg.elements.count(name) == 0) {
            svg.width = Pixels(xml.attributes().value("width").toString());
            svg.height = Pixels(xml.attributes().value("height").toString());
        }
        ++svg.elements[name];
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return svg;
}

const char* const kThreeGames =
    "[Event \"Club, \\\"open\\\"\"]\n[Site \"Here\"]\n[Date \"2024.01.02\"]\n[White \"Smith, J.\"]\n"
    "[Black \"Doe\"]\n[Result \"1-0\"]\n\n1. e4 e5 2. Nf3 1-0\n\n"
    "[Event \"Second\"]\n[White \"A\"]\n[Black \"B\"]\n\n1. d4 *\n\n"
    "[Event \"Third\"]\n[FEN \"8/8/8/8/8/8/8/K6k w - - 0 1\"]\n\n1. Kb1 Kg1 *\n";

TEST_F(BookExportCli, FilesAndNamesForEachChoice) {
    const std::string book = Book("three.pgn", kThreeGames);
    struct Case {
        std::string args;
        std::vector<std::string> files;
        const char* out;
    };
    const Case cases[] = {
        {"", {"1.png", "2.png", "3.png", "index.csv"}, "diagrams 3\n"},
        {"--positions last --format bmp", {"1.bmp", "2.bmp", "3.bmp", "index.csv"}, "diagrams 3\n"},
        {"--positions all --games 2-3",
         {"2-1.png", "2-2.png", "3-1.png", "3-2.png", "3-3.png", "index.csv"},
         "diagrams 5\n"},
        {"--positions all --games 1",
         {"1-1.png", "1-2.png", "1-3.png", "1-4.png", "index.csv"},
         "diagrams 4\n"},
        {"--games 2-", {"2.png", "3.png", "index.csv"}, "diagrams 2\n"},
    };
    int k = 0;
    for (const Case& c : cases) {
        const std::string folder = "out" + std::to_string(k++);
        const CliResult run =
            Cli("render-book", book + " -o " + (m_dir / folder / "sub").string() + " " + c.args);
        EXPECT_EQ(run.status, 0) << c.args << run.err;
        EXPECT_EQ(run.out, c.out) << c.args;
        EXPECT_EQ(run.err, "") << c.args;  // no terminal: no progress line
        EXPECT_EQ(Files(folder + "/sub"), c.files) << c.args;
    }
    // The first and last positions differ; a BMP is the window's 24-bit picture.
    EXPECT_NE(Image("out0/sub/1.png"), Image("out1/sub/1.bmp").convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(Slurp(m_dir / "out1/sub/1.bmp").substr(0, 2), "BM");
    // A PNG is compressed: far below the 46 kB of the picture's pixels.
    EXPECT_LT(fs::file_size(m_dir / "out0/sub/1.png"), 124u * 124 * 3 / 4);
    // The diagram is what render draws for the same position.
    ASSERT_EQ(Cli("render", "-o " + (m_dir / "k.bmp").string() + " 8/8/8/8/8/8/8/K6k").status, 0);
    EXPECT_EQ(Image("out0/sub/3.png").convertToFormat(QImage::Format_RGB32),
              Image("k.bmp").convertToFormat(QImage::Format_RGB32));
}

TEST_F(BookExportCli, DrawingsInSvgAndPdf) {
    fs::copy_file(SHIPPED_STYLES, m_dir / "Pandrel.ini");  // Classic: a font style, lettered
    const std::string book = Book("three.pgn", kThreeGames);
    const std::string out = " -o " + (m_dir / "out").string();
    ASSERT_EQ(Cli("render-book", book + out + " --format svg").status, 0);
    ASSERT_EQ(Cli("render-book", book + out + " --format pdf").status, 0);
    ASSERT_EQ(Cli("render-book", book + out + " --format png").status, 0);
    ASSERT_EQ(Cli("render-book", "--style 'Bitmap 15' " + book + " -o " + (m_dir / "bitmap").string() +
                                     " --format svg --games 1")
                  .status,
              0);
    EXPECT_EQ(Files("out"), (std::vector<std::string>{"1.pdf", "1.png", "1.svg", "2.pdf", "2.png", "2.svg",
                                                      "3.pdf", "3.png", "3.svg", "index.csv"}));
    struct Case {
        std::string file;
        int rects, paths, images;
    };
    const Case cases[] = {
        {"out/1.svg", 1 + 64, 32 * 2, 0},  // ground and squares; every man twice (inside, lines)
        {"out/3.svg", 1 + 64, 2 * 2, 0},   // the two kings
        {"bitmap/1.svg", 1, 0, 64},        // a bitmap style's squares are its cells
    };
    for (const Case& c : cases) {
        SvgCounts svg = ReadSvg(Slurp(m_dir / c.file));
        EXPECT_EQ(svg.elements["rect"], c.rects) << c.file;
        EXPECT_EQ(svg.elements["path"], c.paths) << c.file;
        EXPECT_EQ(svg.elements["image"], c.images) << c.file;
    }
    EXPECT_EQ(ReadSvg(Slurp(m_dir / "out/1.svg")).elements["text"], 16);  // eight letters, eight numbers
    // One page the size of the picture, in points at 96 pixels an inch.
    const QSize png = Image("out/1.png").size();
    for (const char* name : {"out/1.pdf", "out/3.pdf"}) {
        const PdfInfo pdf = Pdf(name);
        EXPECT_EQ(pdf.pages, 1) << name;
        EXPECT_NEAR(pdf.width, png.width() * 0.75, 1) << name;
        EXPECT_NEAR(pdf.height, png.height() * 0.75, 1) << name;
    }
    EXPECT_NE(Shell("pdftotext " + (m_dir / "out/1.pdf").string() + " -").find('h'), std::string::npos);
}

TEST_F(BookExportCli, ScaleMultipliesEveryFormat) {
    fs::copy_file(SHIPPED_STYLES, m_dir / "Pandrel.ini");
    const std::string book = Book("three.pgn", kThreeGames);
    // Width and height of a diagram file of any format, in pixels.
    const auto size = [&](const std::string& file) -> std::pair<double, double> {
        if (file.ends_with(".svg")) {
            const SvgCounts svg = ReadSvg(Slurp(m_dir / file));
            return {svg.width, svg.height};
        }
        if (file.ends_with(".pdf")) {
            const PdfInfo pdf = Pdf(file);
            return {pdf.width / 0.75, pdf.height / 0.75};
        }
        const QImage image = Image(file);
        return {image.width(), image.height()};
    };
    for (const char* style : {"Classic", "'Bitmap 15'"}) {
        for (const char* format : {"png", "bmp", "svg", "pdf"}) {
            const std::string args =
                std::string("--style ") + style + " " + book + " --games 3 --format " + format;
            ASSERT_EQ(Cli("render-book", args + " -o " + (m_dir / "one").string()).status, 0) << args;
            const CliResult run = Cli("render-book", args + " --scale 2 -o " + (m_dir / "two").string());
            ASSERT_EQ(run.status, 0) << args << run.err;
            const std::string name = std::string("3.") + format;
            const auto [w1, h1] = size("one/" + name);
            const auto [w2, h2] = size("two/" + name);
            ASSERT_GT(w1, 0) << args;
            // The 4-pixel margin of the computed size stays 4 pixels.
            EXPECT_NEAR(w2 - 4, (w1 - 4) * 2, 1) << args;
            EXPECT_NEAR(h2 - 4, (h1 - 4) * 2, 1) << args;
        }
    }
    // The picture is the one render draws at that scale.
    ASSERT_EQ(Cli("render", "--scale 2 -o " + (m_dir / "k.png").string() + " 8/8/8/8/8/8/8/K6k").status, 0);
    ASSERT_EQ(Cli("render-book", book + " --games 3 --scale 2 -o " + (m_dir / "png").string()).status, 0);
    EXPECT_EQ(Image("png/3.png").convertToFormat(QImage::Format_RGB32),
              Image("k.png").convertToFormat(QImage::Format_RGB32));

    // The styles of Style tags are scaled too, each once.
    std::ofstream(m_dir / "Pandrel.ini") << "BeginStyle = Small\r\nEndStyle\r\n"
                                            "BeginStyle = Wide\r\n  BorderWidth = 10\r\nEndStyle\r\n";
    const std::string styles =
        Book("styles.fen", "[Event \"a\"]\nK7\n[Style \"wide\"]\nK9\n[Style \"small\"]\nK7\n");
    ASSERT_EQ(Cli("render-book", styles + " --scale 2 -o " + (m_dir / "styles").string()).status, 0);
    const int widths[] = {2 * 120 + 4, 2 * 150 + 4, 2 * 120 + 4};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Image("styles/" + std::to_string(i + 1) + ".png").width(), widths[i]) << i + 1;
    }

    for (const char* bad : {"--scale 0", "--scale -1", "--scale x", "--scale 1000"}) {
        const CliResult run = Cli("render-book", book + " -o " + (m_dir / "bad").string() + " " + bad);
        EXPECT_EQ(run.status, 2) << bad;
        EXPECT_NE(run.err, "") << bad;
        EXPECT_FALSE(fs::exists(m_dir / "bad")) << bad;
    }
}

TEST_F(BookExportCli, IndexListsEveryFileWithItsTags) {
    const std::string book = Book("three.pgn", kThreeGames);
    ASSERT_EQ(
        Cli("render-book", book + " -o " + (m_dir / "out").string() + " --positions all --games -2").status,
        0);
    EXPECT_EQ(Slurp(m_dir / "out/index.csv"),
              "Game,File,Event,Site,Date,White,Black,Result\n"
              "1,1-1.png,\"Club, \"\"open\"\"\",Here,2024.01.02,\"Smith, J.\",Doe,1-0\n"
              "1,1-2.png,\"Club, \"\"open\"\"\",Here,2024.01.02,\"Smith, J.\",Doe,1-0\n"
              "1,1-3.png,\"Club, \"\"open\"\"\",Here,2024.01.02,\"Smith, J.\",Doe,1-0\n"
              "1,1-4.png,\"Club, \"\"open\"\"\",Here,2024.01.02,\"Smith, J.\",Doe,1-0\n"
              "2,2-1.png,Second,,,A,B,\n"
              "2,2-2.png,Second,,,A,B,\n");
}

// A problem collection: count, then per problem flags, moves, seven string
// references and 64 squares; the strings follow the problems.
std::string Pbm(const std::vector<std::pair<std::string, std::string>>& problems, char badSquare = 0) {
    const size_t body = 2 + problems.size() * (4 + 28 + 64);
    std::string out{static_cast<char>(problems.size() - 1), '\0'};
    std::string strings;
    for (size_t i = 0; i < problems.size(); ++i) {
        out += std::string{'\0', '\0', '\1', '\2'};  // h#2
        for (int k = 0; k < 7; ++k) {
            const std::string text = k == 0 ? problems[i].first : k == 4 ? problems[i].second : "";
            const size_t at = body + strings.size();
            out += std::string{static_cast<char>(at & 255), static_cast<char>(at >> 8), '\0', '\0'};
            strings += static_cast<char>(text.size());
            strings += '\0';
            strings += text;
        }
        std::string squares(64, ' ');
        squares[0] = '\x26';  // White king on a8
        squares[63] = i == 1 && badSquare != 0 ? badSquare : '\x2a';
        out += squares;
    }
    return out + strings;
}

TEST_F(BookExportCli, ProblemCollection) {
    const std::string book = Book("two.pbm", Pbm({{"Loyd", "first"}, {"Dawson, T.", "second"}}));
    const CliResult run = Cli("render-book", book + " -o " + (m_dir / "out").string() + " --format bmp");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "diagrams 2\n");
    EXPECT_EQ(Files("out"), (std::vector<std::string>{"1.bmp", "2.bmp", "index.csv"}));
    EXPECT_EQ(Slurp(m_dir / "out/index.csv"),
              "Game,File,Event,Site,Date,White,Black,Result\n"
              "1,1.bmp,h#2,,,Loyd,,\n"
              "2,2.bmp,h#2,,,\"Dawson, T.\",,\n");

    // The sheet shows the stipulation, even when the tags asked for leave it out.
    ASSERT_EQ(Cli("sheet", book + " -o " + (m_dir / "p.pdf").string() + " --tags White").status, 0);
    const std::string text = PdfText("p.pdf");
    EXPECT_NE(text.find("1. Loyd, h#2"), std::string::npos) << text;
    EXPECT_NE(text.find("2. Dawson, T., h#2"), std::string::npos) << text;
}

// A FEN book: a tag line before each position makes each a game of its own.
std::string FenBook(int games, const std::string& longName = "") {
    std::string text;
    for (int i = 1; i <= games; ++i) {
        text +=
            "[White \"" + (i == 2 && !longName.empty() ? longName : "White " + std::to_string(i)) + "\"]\n";
        text += "[Black \"Black " + std::to_string(i) + "\"]\n[Event \"Event " + std::to_string(i) + "\"]\n";
        text += "K7/8/8/8/8/8/8/" + std::to_string(1 + i % 7) + "k w\n";
    }
    return text;
}

TEST_F(BookExportCli, SheetPagesAndCaptions) {
    const std::string longName(150, 'W');
    const std::string book = Book("thirteen.fen", FenBook(13, longName));
    const CliResult run = Cli("sheet", book + " -o " + (m_dir / "s.pdf").string());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "diagrams 13\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(PdfPages("s.pdf"), 3);
    const std::string text = PdfText("s.pdf");
    for (const char* caption : {"1. White 1 \u2013 Black 1, Event 1",
                                "13. White 13 \u2013 Black 13, Event 13", "Page 1 of 3", "Page 3 of 3"}) {
        EXPECT_NE(text.find(caption), std::string::npos) << caption << "\n" << text;
    }
    // The long caption is cut with an ellipsis, within its own cell.
    EXPECT_EQ(text.find(longName), std::string::npos);
    EXPECT_NE(text.find("\u2026"), std::string::npos);
    EXPECT_EQ(text.find("Black 2"), std::string::npos);

    struct Case {
        std::string args;
        int pages;
    };
    const Case cases[] = {
        {"--per-page 12", 2}, {"--per-page 1 --games 3-5", 3}, {"--per-page 20 --paper letter", 1}};
    for (const Case& c : cases) {
        ASSERT_EQ(Cli("sheet", book + " -o " + (m_dir / "c.pdf").string() + " " + c.args).status, 0)
            << c.args;
        EXPECT_EQ(PdfPages("c.pdf"), c.pages) << c.args;
    }
    EXPECT_EQ(Cli("sheet", book + " -o " + (m_dir / "t.pdf").string() + " --tags Event --games 4").status, 0);
    EXPECT_NE(PdfText("t.pdf").find("4. Event 4"), std::string::npos);
}

// Words of a PDF page with their boxes, by pdftotext -bbox.
struct Word {
    std::string text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};

TEST_F(BookExportCli, SheetIsADrawing) {
    fs::copy_file(SHIPPED_STYLES, m_dir / "Pandrel.ini");  // Classic: drawn men, lettered
    const std::string book = Book("thirteen.fen", FenBook(13));
    ASSERT_EQ(Cli("sheet", book + " -o " + (m_dir / "font.pdf").string()).status, 0);
    ASSERT_EQ(Cli("sheet", "--style 'Bitmap 15' " + book + " -o " + (m_dir / "bitmap.pdf").string()).status,
              0);
    ASSERT_EQ(Cli("render", "-o " + (m_dir / "one.pdf").string() + " K7/8/8/8/8/8/8/k7").status, 0);
    EXPECT_EQ(Pdf("font.pdf").pages, 3);
    EXPECT_EQ(Pdf("bitmap.pdf").pages, 3);

    // Pictures of the sheet (pdfimages lists each use and the object used).
    const auto images = [&](const std::string& name) {
        std::istringstream list(Shell("pdfimages -list " + (m_dir / name).string()));
        std::set<std::string> objects;
        int uses = 0;
        for (std::string line; std::getline(list, line);) {
            std::istringstream fields(line);
            std::vector<std::string> f{std::istream_iterator<std::string>(fields), {}};
            if (f.size() > 10 && f[2] == "image") {
                ++uses;
                objects.insert(f[10]);
            }
        }
        return std::make_pair(uses, objects.size());
    };
    // A font style's squares and men are shapes; a bitmap style's squares
    // are its cells, each held once however many diagrams show it.
    EXPECT_EQ(images("font.pdf"), std::make_pair(0, size_t{0}));
    const auto [uses, objects] = images("bitmap.pdf");
    EXPECT_EQ(uses, 13 * 64);
    EXPECT_LE(objects, 2u * 13);  // light and dark squares of the empty square and twelve men

    // The lettering is text, in the diagram's proportions: the letters'
    // height against the span from a to h is that of the diagram alone.
    const auto words = [&](const std::string& name) {
        std::vector<Word> found;
        std::istringstream in(Shell("pdftotext -bbox -f 1 -l 1 " + (m_dir / name).string() + " -"));
        for (std::string line; std::getline(in, line);) {
            Word w;
            char text[64] = {};
            if (std::sscanf(line.c_str(),
                            " <word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\">%63[^<]", &w.xMin,
                            &w.yMin, &w.xMax, &w.yMax, text) == 5) {
                w.text = text;
                found.push_back(w);
            }
        }
        return found;
    };
    const auto proportion = [&](const std::string& name) {
        const std::vector<Word> all = words(name);
        const auto a = std::find_if(all.begin(), all.end(), [](const Word& w) { return w.text == "a"; });
        const auto h = std::find_if(a, all.end(), [](const Word& w) { return w.text == "h"; });
        EXPECT_TRUE(a != all.end() && h != all.end()) << name;
        return a == all.end() || h == all.end() ? 0.0 : (a->yMax - a->yMin) / (h->xMin - a->xMin);
    };
    const double alone = proportion("one.pdf");
    EXPECT_GT(alone, 0);
    EXPECT_NEAR(proportion("font.pdf"), alone, alone * 0.05);
    const std::string text = PdfText("font.pdf");
    EXPECT_NE(text.find("1. White 1 \u2013 Black 1, Event 1"), std::string::npos) << text;
    EXPECT_NE(text.find("Page 3 of 3"), std::string::npos) << text;
}

TEST_F(BookExportCli, AFullDiskLeavesCompleteFilesOnly) {
    fs::copy_file(SHIPPED_STYLES, m_dir / "Pandrel.ini");
    // Two small diagrams (46 kB as BMP), then a large one (700 kB).
    const std::string book =
        Book("s.fen", "[White \"a\"]\nK7\n[White \"b\"]\n8/K7\n[White \"c\"]\n[Style \"Large\"]\nK7\n");
    // Files may grow to kB kilobytes: the limit fails writes beyond it as a
    // full disk does.
    const auto limited = [&](int kB, const std::string& args) {
        const std::string command = "ulimit -f " + std::to_string(kB) +
                                    "; trap '' XFSZ; XDG_RUNTIME_DIR=" + (m_dir / "run").string() + " " +
                                    CLI_PATH + " --appdir " + m_dir.string() + " --style 'Bitmap 15' " +
                                    args + " " + book + " >" + (m_dir / "out.txt").string() + " 2>&1";
        const int raw = std::system(("bash -c \"" + command + "\"").c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    };
    EXPECT_EQ(limited(400, "render-book --format bmp -o " + (m_dir / "bmp").string()), 1);
    EXPECT_NE(Slurp(m_dir / "out.txt").find("3.bmp"), std::string::npos) << Slurp(m_dir / "out.txt");
    EXPECT_EQ(Files("bmp"), (std::vector<std::string>{"1.bmp", "2.bmp", "index.csv"}));  // no temporary
    EXPECT_FALSE(Image("bmp/2.bmp").isNull());
    const std::string index = Slurp(m_dir / "bmp/index.csv");
    EXPECT_EQ(std::count(index.begin(), index.end(), '\n'), 3) << index;

    fs::create_directories(m_dir / "sheet");
    EXPECT_EQ(limited(8, "sheet -o " + (m_dir / "sheet/s.pdf").string()), 1);
    EXPECT_NE(Slurp(m_dir / "out.txt").find("cannot write " + (m_dir / "sheet/s.pdf").string()),
              std::string::npos)
        << Slurp(m_dir / "out.txt");
    EXPECT_TRUE(fs::is_empty(m_dir / "sheet"));
    EXPECT_EQ(limited(400, "sheet -o " + (m_dir / "sheet/s.pdf").string()), 0);
    EXPECT_EQ(Pdf("sheet/s.pdf").pages, 1);
}

TEST_F(BookExportCli, StyleTagsSwitchAsInTheWindow) {
    std::ofstream(m_dir / "Pandrel.ini") << "BeginStyle = Small\r\nEndStyle\r\n"
                                            "BeginStyle = Wide\r\n  BorderWidth = 10\r\nEndStyle\r\n";
    const std::string book =
        Book("styles.fen",
             "[Event \"a\"]\nK7\n[Style \"wide\"]\nK9\n[Event \"c\"]\nK7\n[Style \"Nope\"]\nK7\n"
             "[Style \"SMALL\"]\nK7\n");
    ASSERT_EQ(Cli("render-book", book + " -o " + (m_dir / "out").string()).status, 0);
    // A known style stays in force for the games after it, as in the window.
    const int widths[] = {124, 154, 154, 154, 124};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Image("out/" + std::to_string(i + 1) + ".png").width(), widths[i]) << i + 1;
    }
}

TEST_F(BookExportCli, BadInput) {
    const std::string book = Book("three.pgn", kThreeGames);
    const std::string out = " -o " + (m_dir / "out").string();
    struct Case {
        std::string subcommand;
        std::string args;
        int status;
    };
    const Case cases[] = {
        {"render-book", (m_dir / "missing.pgn").string() + out, 1},
        {"render-book", book + " -o " + book, 1},  // a file where the folder should be
        {"render-book", book + out + " --games 9-12", 1},
        {"render-book", book + out + " --games 3-1", 2},
        {"render-book", book + out + " --positions middle", 2},
        {"render-book", book + out + " --format gif", 2},
        {"render-book", book, 2},
        {"render-book", book + out + " --frob", 2},
        {"sheet", book + " -o " + (m_dir / "no/such/s.pdf").string(), 1},
        {"sheet", book + " -o " + (m_dir / "s.pdf").string() + " --per-page 5", 2},
        {"sheet", book + " -o " + (m_dir / "s.pdf").string() + " --paper a5", 2},
        {"sheet", (m_dir / "missing.pgn").string() + " -o " + (m_dir / "s.pdf").string(), 1},
    };
    for (const Case& c : cases) {
        const CliResult run = Cli(c.subcommand, c.args);
        EXPECT_EQ(run.status, c.status) << c.subcommand << " " << c.args;
        EXPECT_NE(run.err, "") << c.subcommand << " " << c.args;
    }
    EXPECT_FALSE(fs::exists(m_dir / "s.pdf"));

    // A collection that stops converting at its second problem: the first
    // is exported, and the failure is told.
    const std::string cut = Book("cut.pbm", Pbm({{"One", ""}, {"Two", ""}}, '\x01'));
    const CliResult run = Cli("render-book", cut + out);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "diagrams 1\n");
    EXPECT_NE(run.err.find("conversion stopped"), std::string::npos) << run.err;
    EXPECT_EQ(Files("out"), (std::vector<std::string>{"1.png", "index.csv"}));
}

TEST_F(BookExportCli, ProgressOnATerminal) {
    const std::string book = Book("three.pgn", kThreeGames);
    // script gives the command a terminal; its output holds what the terminal showed.
    const std::string command = "script -qec \"XDG_RUNTIME_DIR=" + (m_dir / "run").string() + " " + CLI_PATH +
                                " render-book --appdir " + m_dir.string() + " " + book + " -o " +
                                (m_dir / "out").string() + "\" " + (m_dir / "typescript").string() +
                                " >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string shown = Slurp(m_dir / "typescript");
    EXPECT_NE(shown.find("3 of 3 diagrams"), std::string::npos) << shown;
    EXPECT_NE(shown.find("diagrams 3"), std::string::npos) << shown;
}

}  // namespace
