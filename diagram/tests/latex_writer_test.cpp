#include "diagram/latex_writer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

namespace diagram {
namespace {

using position::FairyBoard;
using position::FairyColor;
using position::FairySquare;
using position::MarkerKind;

TEST(LatexWriter, EscapesEverySpecialCharacter) {
    EXPECT_EQ(LatexEscape(R"(a\b{c}$d&e#f^g_h%i~j)"),
              R"(a\textbackslash{}b\{c\}\$d\&e\#f\textasciicircum{}g\_h\%i\textasciitilde{}j)");
    EXPECT_EQ(LatexEscape("two\nlines"), "two lines");
    EXPECT_EQ(LatexEscape("Пупкин Höning"), "Пупкин Höning");
}

TEST(LatexWriter, NamesSurnameFirst) {
    const std::pair<const char*, const char*> cases[] = {
        {"Sam Loyd", "Loyd, Sam"},
        {"Loyd, Sam", "Loyd, Sam"},
        {"Loyd", "Loyd, "},
        {"  A. B. Cer ", "Cer, A. B."},
        {"Mc;Lean/Jr", "Mc, Lean-Jr"},
        {"O'Brien, M. & Co", "O'Brien, M. \\& Co"},
        {"Вася Пупкин", "Пупкин, Вася"},
        {"", ""},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(LatexName(in), out) << in;
    }
}

TEST(LatexWriter, MenInThePackagesNotation) {
    struct Case {
        FairySquare square;
        const char* pieces;
        const char* fieldText;
        size_t notes;
    };
    const Case cases[] = {
        {FairySquare::Man("Q", FairyColor::kWhite), "wDc3", "", 0},
        {FairySquare::Man("S", FairyColor::kBlack, 1), "sSRc3", "", 0},
        {FairySquare::Man("R", FairyColor::kNeutral, 2), "nTUc3", "", 0},
        {FairySquare::Man("B", FairyColor::kWhite, 3), "wLLc3", "", 0},
        {FairySquare::Man("G", FairyColor::kBlack), "sDUc3", "", 0},
        {FairySquare::Man("N", FairyColor::kWhite), "wSUc3", "", 0},
        {FairySquare::Man("EQ", FairyColor::kNeutral), "nEc3", "", 0},
        {FairySquare::Marker(MarkerKind::kCircle, FairyColor::kBlack), "sCc3", "", 0},
        {FairySquare::Marker(MarkerKind::kCross, FairyColor::kBlack), "", "", 1},
        {FairySquare::Man("CA", FairyColor::kWhite), "", "{CA}c3", 1},
        {FairySquare::Text("A_"), "", "{A\\_}c3", 0},
    };
    for (const Case& c : cases) {
        FairyBoard board(8, 8);
        board.at(5, 2) = c.square;
        const LatexBoard out = LatexPieces(board);
        EXPECT_EQ(out.pieces, c.pieces) << c.pieces;
        EXPECT_EQ(out.fieldText, c.fieldText) << c.pieces;
        EXPECT_EQ(out.notes.size(), c.notes) << c.pieces;
    }
}

TEST(LatexWriter, GroupsMenAndWritesHighRanksInBraces) {
    FairyBoard board(12, 10);
    board.at(0, 0) = FairySquare::Man("K", FairyColor::kWhite);
    board.at(11, 9) = FairySquare::Man("K", FairyColor::kBlack);
    board.at(11, 0) = FairySquare::Man("R", FairyColor::kWhite);
    board.at(11, 7) = FairySquare::Man("R", FairyColor::kWhite);
    board.at(3, 3) = FairySquare::Man("P", FairyColor::kNeutral);
    EXPECT_EQ(LatexPieces(board).pieces, "wKa{12}, wTa1h1, sKj1, nBd9");
    const LatexDocument doc = WriteLatex({{{}, board}}, true);
    EXPECT_NE(doc.text.find("\\begin{diagram}[10x12]\n"), std::string::npos) << doc.text;
    EXPECT_EQ(doc.text.find("documentclass"), std::string::npos);
}

TEST(LatexWriter, RecordFieldsReachTheirCommands) {
    position::ProblemRecord r;
    r.authors = {"Sam Loyd", "Вася Пупкин"};
    r.source = "Chess & Life";
    r.date = "1923.05.??";
    r.award = "1st Prize";
    r.stipulation = "h#2";
    r.conditions = "Circe";
    r.twins = "b) wKe1-e2";
    r.legend = {{"G", "Grasshopper"}};
    r.remarks = "100% sound";
    r.solution = "1.Qd1!";
    FairyBoard board(8, 8);
    board.at(7, 4) = FairySquare::Man("K", FairyColor::kWhite);
    const LatexDocument doc = WriteLatex({{r, board}}, false);
    for (const char* expected :
         {"\\author{Loyd, Sam; Пупкин, Вася}\n", "\\source{Chess \\& Life}\n", "\\month{5}\n\\year{1923}\n",
          "\\award{1st Prize}\n", "\\pieces{wKe1}\n", "\\stipulation{h\\#2}\n", "\\condition{Circe}\n",
          "\\twins{b) wKe1-e2}\n", "\\remark{G = Grasshopper; 100\\% sound}\n", "\\solution{1.Qd1!}\n",
          "\\usepackage[T1,T2A]{fontenc}", "\\usepackage{diagram}", "\\putsol"}) {
        EXPECT_NE(doc.text.find(expected), std::string::npos) << expected << "\n" << doc.text;
    }
    // The count is left to the package, which checks and prints it.
    EXPECT_EQ(doc.text.find("\\pieces["), std::string::npos);
    r.date = "spring 1923";
    EXPECT_NE(WriteLatex({{r, board}}, false).text.find("\\source{Chess \\& Life, spring 1923}"),
              std::string::npos);
}

TEST(LatexWriter, WhatThePackageCannotDrawIsSaid) {
    FairyBoard board(8, 30);
    board.at(0, 0) = FairySquare::Marker(MarkerKind::kTriangle, FairyColor::kWhite);
    board.at(0, 29) = FairySquare::Man("K", FairyColor::kWhite);
    const LatexDocument doc = WriteLatex({{{}, board}}, false);
    ASSERT_EQ(doc.notes.size(), 2u);
    EXPECT_NE(doc.notes[0].find("26 columns"), std::string::npos);
    EXPECT_NE(doc.notes[1].find("triangle on "), std::string::npos);
    EXPECT_NE(doc.text.find("% Not drawn: triangle on "), std::string::npos);
}

// Reads \pieces back into men per square, to compare with the board.
std::map<std::string, std::string> ReadPieces(const std::string& pieces) {
    std::map<std::string, std::string> men;
    size_t i = 0;
    while (i < pieces.size()) {
        size_t end = pieces.find(", ", i);
        if (end == std::string::npos) {
            end = pieces.size();
        }
        const std::string group = pieces.substr(i, end - i);
        size_t k = 1;
        while (k < group.size() && (std::isupper(static_cast<unsigned char>(group[k])) != 0)) {
            ++k;
        }
        const std::string sign = group.substr(0, k);
        while (k < group.size()) {
            std::string square(1, group[k++]);
            if (group[k] == '{') {
                const size_t close = group.find('}', k);
                square += group.substr(k + 1, close - k - 1);
                k = close + 1;
            } else {
                square += group[k++];
            }
            men[square] = sign;
        }
        i = end + 2;
    }
    return men;
}

bool Shell(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

TEST(LatexWriter, DocumentCompilesAndPlacesEveryMan) {
    if (!Shell("command -v latex >/dev/null 2>&1 && command -v dvips >/dev/null 2>&1 && "
               "command -v ps2pdf >/dev/null 2>&1 && kpsewhich diagram.sty >/dev/null 2>&1")) {
        GTEST_SKIP() << "latex, dvips, ps2pdf or the diagram package is missing";
    }
    FairyBoard board(8, 8);
    board.at(7, 4) = FairySquare::Man("K", FairyColor::kWhite);
    board.at(7, 3) = FairySquare::Man("Q", FairyColor::kWhite, 2);
    board.at(0, 4) = FairySquare::Man("K", FairyColor::kBlack);
    board.at(0, 1) = FairySquare::Man("G", FairyColor::kBlack);
    board.at(4, 4) = FairySquare::Man("P", FairyColor::kNeutral);
    board.at(5, 2) = FairySquare::Marker(MarkerKind::kCircle, FairyColor::kWhite);
    board.at(3, 2) = FairySquare::Text("AB");
    position::ProblemRecord r;
    r.authors = {"Sam Loyd", "Вася Пупкин", "Stefan Höning", "Single"};
    r.source = R"(The \ { } $ & # ^ _ % ~ Problemist)";
    r.date = "1923";
    r.award = "1st_Prize 100%";
    r.stipulation = "#2";
    r.conditions = "Circe & Madrasi";
    r.twins = "b) wKe1->e2; c) #3";
    r.legend = {{"G", "Grasshopper"}};
    r.solution = "1.Qd1! ~ #";
    FairyBoard wide(12, 10);
    wide.at(0, 0) = FairySquare::Man("K", FairyColor::kWhite);
    wide.at(11, 9) = FairySquare::Man("K", FairyColor::kBlack);
    const LatexDocument doc = WriteLatex({{r, board}, {{}, wide}}, false);

    const LatexBoard men = LatexPieces(board);
    const std::map<std::string, std::string> expected = {{"e1", "wK"},  {"d1", "wDU"}, {"e8", "sK"},
                                                         {"b8", "sDU"}, {"e4", "nB"},  {"c3", "wC"}};
    EXPECT_EQ(ReadPieces(men.pieces), expected);
    EXPECT_EQ(men.fieldText, "{AB}c5");

    char dirTemplate[] = "/tmp/pandrel-latex-XXXXXX";
    ASSERT_NE(::mkdtemp(dirTemplate), nullptr);
    const std::filesystem::path dir(dirTemplate);
    std::ofstream(dir / "p.tex") << doc.text;
    const std::string cd = "cd '" + dir.string() + "' && ";
    EXPECT_TRUE(Shell(cd + "latex -interaction=nonstopmode -halt-on-error p.tex >/dev/null 2>&1"))
        << doc.text;
    EXPECT_TRUE(Shell(cd + "dvips -q p.dvi -o p.ps >/dev/null 2>&1"));
    EXPECT_TRUE(Shell(cd + "ps2pdf p.ps p.pdf >/dev/null 2>&1"));
    EXPECT_GT(std::filesystem::file_size(dir / "p.pdf"), 1000u);

    // A fragment inside someone else's document, whose preamble only loads
    // the package.
    r.authors = {"Sam Loyd", "Stefan Höning", "Single"};
    std::ofstream(dir / "f.tex") << "\\documentclass{article}\n\\usepackage[utf8]{inputenc}\n"
                                    "\\usepackage[T1]{fontenc}\n\\usepackage{diagram}\n\\begin{document}\n"
                                 << WriteLatex({{r, board}}, true).text << "\\end{document}\n";
    EXPECT_TRUE(Shell(cd + "latex -interaction=nonstopmode -halt-on-error f.tex >/dev/null 2>&1"));
    std::filesystem::remove_all(dir);
}

// A page of a PDF as gray pixels (pdftoppm's PGM).
struct Gray {
    int width = 0;
    int height = 0;
    std::string pixels;
};

// Compiles a document to PDF and rasterises its first page; an empty
// picture when a step fails.
Gray Raster(const std::filesystem::path& dir, const std::string& name, const std::string& text) {
    std::ofstream(dir / (name + ".tex")) << text;
    const std::string cd = "cd '" + dir.string() + "' && ";
    if (!Shell(cd + "latex -interaction=nonstopmode -halt-on-error " + name +
               ".tex >/dev/null 2>&1 && dvips -q " + name + ".dvi -o " + name +
               ".ps >/dev/null 2>&1 && ps2pdf " + name + ".ps " + name +
               ".pdf >/dev/null 2>&1 && pdftoppm -gray -r 60 -f 1 -l 1 " + name + ".pdf " + name +
               " >/dev/null 2>&1")) {
        return {};
    }
    std::ifstream in(dir / (name + "-1.pgm"), std::ios::binary);
    std::string magic;
    Gray g;
    int maxValue = 0;
    in >> magic >> g.width >> g.height >> maxValue;
    in.get();
    g.pixels.assign(std::istreambuf_iterator<char>(in), {});
    if (magic != "P5" || g.pixels.size() != static_cast<size_t>(g.width) * static_cast<size_t>(g.height)) {
        return {};
    }
    return g;
}

// The squares ("e4") where two pages of the same layout differ, the board
// found from a page with men in its corners.
std::set<std::string> Differing(const Gray& empty, const Gray& page, const Gray& corners) {
    const auto differs = [&empty](const Gray& other, size_t i) {
        return std::abs(static_cast<unsigned char>(empty.pixels[i]) -
                        static_cast<unsigned char>(other.pixels[i])) > 60;
    };
    int x0 = empty.width, x1 = -1, y0 = empty.height, y1 = -1;
    for (size_t i = 0; i < empty.pixels.size(); ++i) {
        if (differs(corners, i)) {
            const int x = static_cast<int>(i) % empty.width;
            const int y = static_cast<int>(i) / empty.width;
            x0 = std::min(x0, x);
            x1 = std::max(x1, x);
            y0 = std::min(y0, y);
            y1 = std::max(y1, y);
        }
    }
    // Pixels that differ per square; a man's edge may reach a few pixels
    // into the next square, so only squares with more count.
    std::map<std::string, int> counts;
    for (size_t i = 0; x1 > x0 && y1 > y0 && i < empty.pixels.size(); ++i) {
        if (differs(page, i)) {
            const int col = (static_cast<int>(i) % empty.width - x0) * 8 / (x1 - x0 + 1);
            const int row = (static_cast<int>(i) / empty.width - y0) * 8 / (y1 - y0 + 1);
            if (col >= 0 && col < 8 && row >= 0 && row < 8) {
                ++counts[std::string(1, static_cast<char>('a' + col)) + std::to_string(8 - row)];
            }
        }
    }
    std::set<std::string> squares;
    for (const auto& [square, n] : counts) {
        if (n >= 6) {
            squares.insert(square);
        }
    }
    return squares;
}

TEST(LatexWriter, CompiledDiagramShowsTheMenOnTheirSquares) {
    if (!Shell("command -v latex >/dev/null 2>&1 && command -v dvips >/dev/null 2>&1 && "
               "command -v ps2pdf >/dev/null 2>&1 && command -v pdftoppm >/dev/null 2>&1 && "
               "kpsewhich diagram.sty >/dev/null 2>&1")) {
        GTEST_SKIP() << "latex, dvips, ps2pdf, pdftoppm or the diagram package is missing";
    }
    // The same document three times, without the count (which would differ):
    // an empty board, men in two corners to find the board, the position.
    const auto document = [](const FairyBoard& board) {
        std::string text = WriteLatex({{{}, board}}, false).text;
        const std::string package = "\\usepackage{diagram}\n";
        text.insert(text.find(package) + package.size(),
                    "\\pagestyle{empty}\\setboolean{piececounter}{false}\n");
        return text;
    };
    FairyBoard corners(8, 8);
    corners.at(0, 0) = FairySquare::Man("K", FairyColor::kBlack);
    corners.at(7, 7) = FairySquare::Man("K", FairyColor::kWhite);
    FairyBoard board(8, 8);
    board.at(7, 4) = FairySquare::Man("K", FairyColor::kWhite);
    board.at(7, 3) = FairySquare::Man("Q", FairyColor::kWhite, 2);
    board.at(0, 4) = FairySquare::Man("K", FairyColor::kBlack);
    board.at(0, 1) = FairySquare::Man("G", FairyColor::kBlack);
    board.at(4, 4) = FairySquare::Man("P", FairyColor::kNeutral);
    board.at(5, 2) = FairySquare::Marker(MarkerKind::kCircle, FairyColor::kWhite);
    board.at(2, 6) = FairySquare::Man("S", FairyColor::kBlack, 1);

    char dirTemplate[] = "/tmp/pandrel-latex-XXXXXX";
    ASSERT_NE(::mkdtemp(dirTemplate), nullptr);
    const std::filesystem::path dir(dirTemplate);
    const Gray empty = Raster(dir, "empty", document(FairyBoard(8, 8)));
    const Gray found = Raster(dir, "corners", document(corners));
    const Gray page = Raster(dir, "page", document(board));
    ASSERT_FALSE(empty.pixels.empty());
    ASSERT_EQ(found.pixels.size(), empty.pixels.size());
    ASSERT_EQ(page.pixels.size(), empty.pixels.size());
    EXPECT_EQ(Differing(empty, page, found),
              (std::set<std::string>{"b8", "c3", "d1", "e1", "e4", "e8", "g6"}));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace diagram
