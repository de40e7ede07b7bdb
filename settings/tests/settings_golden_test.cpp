// Writes back every settings file in tests/data/golden (and the settings file
// the program ships) and compares what the writers give with the transcript
// kept beside it, byte for byte. A change to the reader or the writers that
// alters one byte of a written file shows here.
//
// PANDREL_WRITE_GOLDEN=1 in the environment writes the transcripts instead;
// do that only with a writer whose output is known to be right.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "settings/settings_file.h"
#include "settings/style.h"

using namespace settings;

namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Carriage returns made visible, so that the transcripts survive any editor.
std::string Visible(const std::string& text) {
    std::string out;
    for (const char ch : text) {
        if (ch == '\r') {
            out += "<CR>";
        } else {
            out += ch;
        }
    }
    return out;
}

ProgramSettings Program() {
    ProgramSettings p;
    p.AppDir = "/opt/pandrel/";
    return p;
}

std::string Transcript(const std::string& text) {
    std::ostringstream out;
    Style style;
    ProgramSettings program = Program();
    const ReadResult read = ReadSettingsText(text, style, program);
    out << "== read: stopped " << read.stoppedAtLine << ", damaged " << read.damagedLine << ", current '"
        << style.CurrentStyle << "', styles";
    for (const std::string& name : read.newStyles) {
        out << " '" << name << "'";
    }
    out << "\n== recent\n" << SaveRecentText(style, program, &text);

    ProgramSettings changed = program;
    AddRecentFile(changed, "/tmp/new, one.fen");
    changed.RecentEngine = "CRAFTY";
    changed.HasWindowPosition = true;
    changed.WindowLeft = -20;
    changed.WindowTop = 33;
    changed.UciEngine = "engine";
    changed.ExportPositions = "first";
    out << "== recent after changes\n" << SaveRecentText(style, changed, &text);

    Style saved = style;
    StyleWrite mode = StyleWrite::kSave;
    out << "== save\n" << WriteStyleText(saved, &text, mode);
    mode = StyleWrite::kDelete;
    out << "== delete\n" << WriteStyleText(saved, &text, mode);

    for (const std::string& name : read.newStyles) {
        Style one;
        one.CurrentStyle = name;
        ProgramSettings p = Program();
        ReadSettingsText(text, one, p);
        out << "== block " << name << "\n" << StyleBlock(one);
        // What the writer gives is read back as the same block.
        Style again;
        again.CurrentStyle = name;
        ReadSettingsText(StyleBlock(one), again, p);
        out << "== block " << name << " again\n" << StyleBlock(again);
    }
    return Visible(out.str());
}

TEST(SettingsGolden, WrittenFilesStayByteForByte) {
    std::vector<fs::path> inputs;
    for (const auto& entry : fs::directory_iterator(fs::path(TEST_DATA_DIR) / "golden")) {
        if (entry.path().extension() == ".ini") {
            inputs.push_back(entry.path());
        }
    }
    inputs.push_back(fs::path(TEST_DATA_DIR) / ".." / ".." / ".." / "app" / "styles" / "Pandrel.ini");
    ASSERT_GE(inputs.size(), 6u);
    const bool write = std::getenv("PANDREL_WRITE_GOLDEN") != nullptr;
    for (const fs::path& input : inputs) {
        const fs::path expected =
            fs::path(TEST_DATA_DIR) / "golden" / (input.stem().string() + "." + "transcript");
        const std::string got = Transcript(Slurp(input));
        if (write) {
            std::ofstream(expected, std::ios::binary) << got;
            continue;
        }
        ASSERT_TRUE(fs::exists(expected)) << expected;
        EXPECT_EQ(got, Slurp(expected)) << input;
    }
}

}  // namespace
