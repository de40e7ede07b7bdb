// pandrel-cli as scripts use it: where its output goes, its exit statuses,
// the global options' places, and "-" for standard input and output.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class CliConventions : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir =
            fs::temp_directory_path() /
            ("pandrel-conv-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "app");
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Runs pandrel-cli with ARGS (shell words, "@" standing for the scratch
    // folder), feeding INPUT on standard input.
    CliResult Cli(std::string args, const std::string& input = "") {
        for (size_t at; (at = args.find('@')) != std::string::npos;) {
            args.replace(at, 1, m_dir.string());
        }
        std::ofstream(m_dir / "in", std::ios::binary) << input;
        const std::string command = std::string(CLI_PATH) + " " + args + " <" + (m_dir / "in").string() +
                                    " >" + (m_dir / "out").string() + " 2>" + (m_dir / "err").string();
        const int raw = std::system(command.c_str());
        return CliResult{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadAll(m_dir / "out"),
                         ReadAll(m_dir / "err")};
    }

    fs::path m_dir;
};

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

TEST_F(CliConventions, StreamsAndStatuses) {
    std::ofstream(m_dir / "app" / "Pandrel.ini")
        << "BeginStyle = Alpha\r\nEndStyle\r\nBeginStyle = Ten\r\n  BorderWidth = 10\r\nEndStyle\r\n";
    const std::string startOut = std::string(kStart) + "\n(16x16)\n";
    struct Case {
        const char* args;
        int status;
        const char* out;  // a regular expression over the whole of stdout
        bool quiet;       // nothing on stderr
    };
    const Case cases[] = {
        {"--version", 0, "pandrel-cli [0-9]+\\.[0-9]+\\.[0-9]+\n", true},
        {"--help", 0, "usage: pandrel-cli [\\s\\S]*  pandrel-cli fen [\\s\\S]*", true},
        {"-h", 0, "usage: pandrel-cli [\\s\\S]*", true},
        {"fen --help", 0, "usage: pandrel-cli fen TEXT [\\s\\S]*--appdir[\\s\\S]*", true},
        {"render -h", 0, "usage: pandrel-cli render [\\s\\S]*", true},
        {"book --help --records", 0, "usage: pandrel-cli book [\\s\\S]*", true},
        {"fen --appdir @/app K7/8/8/8/8/8/8/8", 0, "K7/8/8/8/8/8/8/8\n\\(1x0\\)\n", true},
        {"--appdir @/app fen K7/8/8/8/8/8/8/8", 0, "K7/8/8/8/8/8/8/8\n\\(1x0\\)\n", true},
        {"--style ten --appdir @/app fen K", 0, "K9/82/82/82/82/82/82/82\n\\(1x0\\)\n", true},
        {"--appdir @/app fen --style TEN K", 0, "K9/82/82/82/82/82/82/82\n\\(1x0\\)\n", true},
        {"--appdir @/app fen -- --style", 0, "8/8/8/8/8/8/8/8\n\\(0x0\\)\n", true},
        {"", 2, "", false},
        {"frobnicate", 2, "", false},
        {"--frob fen K", 2, "", false},
        {"--appdir", 2, "", false},
        {"fen --appdir @/app", 2, "", false},
        {"fen --appdir @/app --frob K", 2, "", false},
        {"--appdir @/app --style Nope fen K", 2, "", false},
        {"--appdir @/app render K", 2, "", false},
        {"--appdir @/app book --format pgn @/none.fen", 2, "", false},
        {"--appdir @/app book @/none.pgn", 1, "", false},
        {"--appdir @/app render -o @/no/such/dir/x.bmp K", 1, "", false},
    };
    for (const Case& c : cases) {
        const CliResult r = Cli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_TRUE(std::regex_match(r.out, std::regex(c.out))) << c.args << "\n" << r.out;
        if (c.quiet) {
            EXPECT_EQ(r.err, "") << c.args;
        } else {
            // One or more whole lines, each a message.
            EXPECT_FALSE(r.err.empty()) << c.args;
            EXPECT_EQ(r.err.back(), '\n') << c.args << ": " << r.err;
            EXPECT_EQ(r.err.find("\n\n"), std::string::npos) << c.args << ": " << r.err;
            EXPECT_EQ(r.out, "") << c.args;
        }
    }
    EXPECT_EQ(Cli("--appdir @/app fen " + std::string(kStart)).out, startOut);
}

TEST_F(CliConventions, BooksFromStandardInput) {
    const std::string pgn = "[Event \"A\"]\n\n1. e4 e5 *\n\n[Event \"B\"]\n\n1. d4 *\n";
    const std::string fen = std::string(kStart) + "\n8/8/8/8/8/8/8/K7\n";
    std::ofstream(m_dir / "games.pgn") << pgn;
    const CliResult fromFile = Cli("--appdir @/app book @/games.pgn");
    ASSERT_EQ(fromFile.status, 0) << fromFile.err;

    struct Case {
        const char* args;
        std::string input;
        int status;
        std::string out;
    };
    const Case cases[] = {
        {"book -", pgn, 0, fromFile.out},  // a tag first: PGN
        {"book --format PGN -", pgn, 0, fromFile.out},
        {"book -", fen, 0, Cli("--appdir @/app book --format fen -", fen).out},
        {"book --format doc -", pgn, 2, ""},
    };
    for (const Case& c : cases) {
        const CliResult r = Cli(std::string("--appdir @/app ") + c.args, c.input);
        EXPECT_EQ(r.status, c.status) << c.args << ": " << r.err;
        EXPECT_EQ(r.out, c.out) << c.args;
    }
    EXPECT_NE(Cli("--appdir @/app book -", fen).out, Cli("--appdir @/app book --format pgn -", fen).out);
    const CliResult searched = Cli("--appdir @/app search @/games.pgn --words B");
    EXPECT_EQ(searched.status, 0);
    EXPECT_EQ(Cli("--appdir @/app search - --words B", pgn).out, searched.out);
    // Nothing of the run is left in the program folder.
    EXPECT_TRUE(fs::is_empty(m_dir / "app"));
}

TEST_F(CliConventions, ImageToStandardOutput) {
    ASSERT_EQ(Cli("--appdir @/app render -o @/k.bmp K7/8/8/8/8/8/8/8").status, 0);
    const CliResult r = Cli("--appdir @/app render -o - K7/8/8/8/8/8/8/8");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, ReadAll(m_dir / "k.bmp"));
}

TEST_F(CliConventions, FullStandardOutputIsAFailure) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    const std::string command = std::string(CLI_PATH) + " --version >/dev/full 2>/dev/null";
    const int raw = std::system(command.c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 1);
}

// Every option a subcommand takes is named in its --help.
TEST_F(CliConventions, HelpNamesEveryOption) {
    const char* record =
        "--author --source --date --award --stipulation --condition --twins --legend --solution --remark "
        "--count";
    const char* fairy = "--notation --knight-s";
    const std::vector<std::pair<std::string, std::string>> commands = {
        {"analyse", "--engine --depth --movetime --multipv"},
        {"anticipations", "--partial"},
        {"book", "--records --format"},
        {"duplicates", "--mirror --colours"},
        {"fen", std::string(fairy) + " --output"},
        {"find", "--partial --mirror --shift --colours --first"},
        {"latex", std::string(record) + " " + fairy + " --games --fen -o --fragment"},
        {"play", "--side"},
        {"popeye", "--dictionary"},
        {"popeye-input", std::string(record) + " " + fairy + " --games --fen -o --option"},
        {"render", std::string(record) + " " + fairy + " --format --scale --reversed --captions -o"},
        {"render-book", std::string(fairy) + " -o --format --scale --positions --games --captions"},
        {"search", "--format --words --white --black --global --notations"},
        {"sheet", "-o --per-page --paper --tags --games --captions --answers"},
        {"solution", "--fen"},
    };
    for (const auto& [command, options] : commands) {
        const CliResult help = Cli(command + " --help");
        ASSERT_EQ(help.status, 0) << command;
        const std::string usage = help.out.substr(0, help.out.find('\n'));
        std::istringstream words(options);
        for (std::string option; words >> option;) {
            // A whole word of the usage line, "[--games A-B]" or "BOOK|--fen TEXT".
            const bool named = std::regex_search(usage, std::regex("(^|[[ |])" + option + "([ \\]]|$)"));
            EXPECT_TRUE(named) << command << " --help lacks " << option << ": " << usage;
        }
    }
}

}  // namespace
