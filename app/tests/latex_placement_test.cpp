// The LaTeX document pandrel-cli writes, compiled as a magazine would
// (latex, dvips, ps2pdf), shows the same men on the same squares as
// Pandrel's own PDF of the position: both pages are rasterised and each
// square read as empty, a white man or a black man.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

bool Shell(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A page as gray pixels (pdftoppm's PGM).
struct Gray {
    int width = 0;
    int height = 0;
    std::string pixels;
    int at(int x, int y) const {
        return static_cast<unsigned char>(pixels[static_cast<size_t>(y * width + x)]);
    }
};

Gray ReadPgm(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    Gray g;
    int maxValue = 0;
    in >> magic >> g.width >> g.height >> maxValue;
    in.get();
    g.pixels.assign(std::istreambuf_iterator<char>(in), {});
    if (magic != "P5" || maxValue != 255 ||
        g.pixels.size() != static_cast<size_t>(g.width) * static_cast<size_t>(g.height)) {
        return {};
    }
    return g;
}

enum class Man { kEmpty, kWhite, kBlack };

std::ostream& operator<<(std::ostream& out, Man man) {
    return out << (man == Man::kEmpty ? "empty" : man == Man::kWhite ? "a white man" : "a black man");
}
using Placement = std::map<std::string, Man>;

// Reads the men of page square by square. The board is found where the page
// with kings in its corners (a8 and h1) differs from the empty board; a
// square holds a man where the page differs from the empty board inside it,
// a black one where most of its middle is dark.
Placement ReadMen(const Gray& empty, const Gray& corners, const Gray& page) {
    Placement men;
    if (empty.pixels.empty() || corners.pixels.size() != empty.pixels.size() ||
        page.pixels.size() != empty.pixels.size()) {
        return men;
    }
    int x0 = empty.width, x1 = -1, y0 = empty.height, y1 = -1;
    for (int y = 0; y < empty.height; ++y) {
        for (int x = 0; x < empty.width; ++x) {
            if (std::abs(empty.at(x, y) - corners.at(x, y)) > 60) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
        }
    }
    if (x1 - x0 < 16 || y1 - y0 < 16) {
        return men;
    }
    const double side = (x1 - x0 + 1) / 8.0;
    const double high = (y1 - y0 + 1) / 8.0;
    // The share of pixels in a square's box (inset by part of its side)
    // for which test holds.
    const auto share = [&](int col, int row, double inset, auto test) {
        const int left = static_cast<int>(x0 + side * (col + inset));
        const int right = static_cast<int>(x0 + side * (col + 1 - inset));
        const int top = static_cast<int>(y0 + high * (row + inset));
        const int bottom = static_cast<int>(y0 + high * (row + 1 - inset));
        int hits = 0;
        int all = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                hits += test(x, y) ? 1 : 0;
                ++all;
            }
        }
        return all == 0 ? 0.0 : static_cast<double>(hits) / all;
    };
    for (int row = 0; row < 8; ++row) {
        for (int col = 0; col < 8; ++col) {
            const std::string square = std::string(1, static_cast<char>('a' + col)) + std::to_string(8 - row);
            const double changed = share(
                col, row, 0.15, [&](int x, int y) { return std::abs(empty.at(x, y) - page.at(x, y)) > 60; });
            if (changed < 0.05) {
                men[square] = Man::kEmpty;
                continue;
            }
            const double dark = share(col, row, 0.3, [&](int x, int y) { return page.at(x, y) < 100; });
            men[square] = dark > 0.5 ? Man::kBlack : Man::kWhite;
        }
    }
    return men;
}

class LatexPlacement : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("pandrel-latex-placement-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "run");
        fs::permissions(m_dir / "run", fs::perms::owner_all);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Cli(const std::string& args) const {
        return "cd '" + m_dir.string() + "' && XDG_RUNTIME_DIR='" + (m_dir / "run").string() + "' " +
               CLI_PATH + " --appdir '" + m_dir.string() + "' " + args + " >/dev/null 2>>cli.err";
    }
    std::string In() const { return "cd '" + m_dir.string() + "' && "; }

    // Pandrel's own PDF of the placement, as a page of pixels.
    Gray Pandrel(const std::string& name, const std::string& placement) const {
        if (!Shell(Cli("render --format pdf -o " + name + ".pdf " + placement)) ||
            !Shell(In() + "pdftoppm -gray -r 200 -singlefile " + name + ".pdf " + name +
                   " >/dev/null 2>&1")) {
            return {};
        }
        return ReadPgm(m_dir / (name + ".pgm"));
    }

    // The LaTeX document of the placement compiled to PDF, as a page of
    // pixels. The same page for every position: no count under the board
    // (the package prints it), no page number, and no shading of the dark
    // squares, whose hatching would be read as men.
    Gray Latex(const std::string& name, const std::string& placement) const {
        if (!Shell(Cli("latex --fen " + placement + " -o " + name + ".tex"))) {
            return {};
        }
        std::string text = ReadFile(m_dir / (name + ".tex"));
        const std::string package = "\\usepackage{diagram}\n";
        const size_t at = text.find(package);
        if (at == std::string::npos) {
            return {};
        }
        text.insert(at + package.size(), "\\pagestyle{empty}\\setboolean{piececounter}{false}\\allwhite\n");
        std::ofstream(m_dir / (name + ".tex")) << text;
        if (!Shell(In() + "latex -interaction=nonstopmode -halt-on-error " + name +
                   ".tex >/dev/null 2>&1 && dvips -q " + name + ".dvi -o " + name +
                   ".ps >/dev/null 2>&1 && ps2pdf " + name + ".ps " + name +
                   "-tex.pdf >/dev/null 2>&1 && pdftoppm -gray -r 200 -singlefile " + name + "-tex.pdf " +
                   name + "-tex >/dev/null 2>&1")) {
            return {};
        }
        return ReadPgm(m_dir / (name + "-tex.pgm"));
    }

    fs::path m_dir;
};

TEST_F(LatexPlacement, CompiledDocumentShowsTheMenOfPandrelsPdf) {
    if (!Shell("command -v latex >/dev/null 2>&1 && command -v dvips >/dev/null 2>&1 && "
               "command -v ps2pdf >/dev/null 2>&1 && command -v pdftoppm >/dev/null 2>&1 && "
               "kpsewhich diagram.sty >/dev/null 2>&1")) {
        GTEST_SKIP() << "latex, dvips, ps2pdf, pdftoppm or the diagram package is missing";
    }
    const std::string empty = "8/8/8/8/8/8/8/8";
    const std::string corners = "k7/8/8/8/8/8/8/7K";
    // Every kind of man of both colours, on light and dark squares, at the
    // edges and in the middle.
    const struct {
        std::string placement;
        std::map<std::string, Man> expected;  ///< The men; every other square empty.
    } cases[] = {
        {"r3k2r/1b4p1/2n2N2/3Qp3/1P6/2B5/p5P1/R3K2R",
         {{"a8", Man::kBlack},
          {"e8", Man::kBlack},
          {"h8", Man::kBlack},
          {"b7", Man::kBlack},
          {"g7", Man::kBlack},
          {"c6", Man::kBlack},
          {"f6", Man::kWhite},
          {"d5", Man::kWhite},
          {"e5", Man::kBlack},
          {"b4", Man::kWhite},
          {"c3", Man::kWhite},
          {"a2", Man::kBlack},
          {"g2", Man::kWhite},
          {"a1", Man::kWhite},
          {"e1", Man::kWhite},
          {"h1", Man::kWhite}}},
        {"7k/8/8/8/8/8/8/K7", {{"h8", Man::kBlack}, {"a1", Man::kWhite}}},
    };
    const Gray pandrelEmpty = Pandrel("pe", empty);
    const Gray pandrelCorners = Pandrel("pc", corners);
    const Gray latexEmpty = Latex("le", empty);
    const Gray latexCorners = Latex("lc", corners);
    ASSERT_FALSE(pandrelEmpty.pixels.empty()) << ReadFile(m_dir / "cli.err");
    ASSERT_FALSE(latexEmpty.pixels.empty()) << ReadFile(m_dir / "cli.err");
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.placement);
        const std::string name = "p" + std::to_string(++n);
        const Placement ours = ReadMen(pandrelEmpty, pandrelCorners, Pandrel(name, c.placement));
        const Placement theirs = ReadMen(latexEmpty, latexCorners, Latex(name, c.placement));
        ASSERT_EQ(ours.size(), 64u);
        ASSERT_EQ(theirs.size(), 64u);
        for (const auto& [square, man] : ours) {
            const auto expected = c.expected.find(square);
            EXPECT_EQ(man, expected == c.expected.end() ? Man::kEmpty : expected->second)
                << square << " in Pandrel's PDF";
            EXPECT_EQ(theirs.at(square), man) << square << " in the compiled LaTeX";
        }
    }
}

}  // namespace
