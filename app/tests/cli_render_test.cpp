// pandrel-cli render in every format and at any scale, and the ready-made
// styles shipped with the program.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

int RunCli(const std::string& args) {
    const std::string command = std::string(CLI_PATH) + " " + args + " >/dev/null 2>&1";
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

class CliRender : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("pandrel-render-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        fs::copy_file(SHIPPED_STYLES, m_dir / "Pandrel.ini");
        m_app = " --appdir " + m_dir.string() + " ";
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string Out(const std::string& name) const { return (m_dir / name).string(); }

    fs::path m_dir;
    std::string m_app;
};

TEST_F(CliRender, FormatFromTheOptionOrTheExtension) {
    struct Case {
        const char* options;
        const char* file;
        const char* magic;
    };
    for (const Case& c :
         {Case{"", "a.png", "\x89PNG"}, Case{"", "a.svg", "<?xml"}, Case{"", "a.pdf", "%PDF"},
          Case{"", "a.bmp", "BM"}, Case{"", "a.img", "BM"}, Case{"--format png", "b.img", "\x89PNG"},
          Case{"--format SVG", "b.png", "<?xml"}, Case{"--format pdf --reversed", "c", "%PDF"}}) {
        ASSERT_EQ(RunCli("render" + m_app + c.options + " -o " + Out(c.file) + " " + kStart), 0) << c.file;
        EXPECT_EQ(Slurp(m_dir / c.file).rfind(c.magic, 0), 0u) << c.options << " " << c.file;
    }
}

TEST_F(CliRender, ScaleMultipliesTheDiagram) {
    for (const char* style : {"Classic", "'Bitmap 15'"}) {
        ASSERT_EQ(RunCli("render" + m_app + "--style " + style + " -o " + Out("one.png") + " " + kStart), 0);
        ASSERT_EQ(
            RunCli("render" + m_app + "--style " + style + " --scale 2 -o " + Out("two.png") + " " + kStart),
            0);
        ASSERT_EQ(RunCli("render" + m_app + "--style " + style + " --scale 0.5 -o " + Out("half.png") + " " +
                         kStart),
                  0);
        const QSize one = QImage(QString::fromStdString(Out("one.png"))).size();
        const QSize two = QImage(QString::fromStdString(Out("two.png"))).size();
        const QSize half = QImage(QString::fromStdString(Out("half.png"))).size();
        ASSERT_FALSE(one.isEmpty()) << style;
        // The 4-pixel margin of the computed size stays 4 pixels.
        EXPECT_EQ(two - QSize(4, 4), (one - QSize(4, 4)) * 2) << style;
        EXPECT_NEAR(half.width() - 4, (one.width() - 4) / 2.0, 4) << style;
    }
}

TEST_F(CliRender, BadValuesAreUsageErrors) {
    for (const char* options : {"--scale 0", "--scale -2", "--scale abc", "--scale 2x", "--scale ''",
                                "--scale 1000", "--format gif", "--format", "--scale"}) {
        EXPECT_EQ(RunCli("render" + m_app + options + " -o " + Out("x.png") + " " + kStart), 2) << options;
        EXPECT_FALSE(fs::exists(m_dir / "x.png")) << options;
    }
    EXPECT_EQ(RunCli("render" + m_app + "-o /nonexistent/dir/x.svg K"), 1);
    EXPECT_EQ(RunCli("render" + m_app + "-o /nonexistent/dir/x.pdf K"), 1);
}

// Every ready-made style reads without a stop and draws the start position.
TEST_F(CliRender, ShippedStylesEachRender) {
    std::vector<std::string> names;
    std::istringstream in(Slurp(SHIPPED_STYLES));
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("BeginStyle = ", 0) == 0) {
            names.push_back(line.substr(13, line.find_last_not_of('\r') - 12));
        }
    }
    ASSERT_GE(names.size(), 6u);
    for (const std::string& name : names) {
        const std::string file = Out("style.png");
        fs::remove(file);
        ASSERT_EQ(RunCli("render" + m_app + "--style '" + name + "' -o " + file + " " + kStart), 0) << name;
        const QImage image(QString::fromStdString(file));
        EXPECT_GE(image.width(), 124) << name;
        EXPECT_GE(image.height(), 124) << name;
    }
}

}  // namespace
