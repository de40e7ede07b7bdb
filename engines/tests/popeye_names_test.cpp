#include "engines/popeye_names.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "engines/discovery.h"
#include "engines/popeye.h"

namespace engines {
namespace {

TEST(PopeyeNames, PlaceholdersAreFoundAndMirrorsAreNot) {
    const struct {
        const char* text;
        const char* placeholder;
    } cases[] = {
        {"Move <from> <to>", "<from>"}, {"Add white <man><square>", "<man>"},
        {"NonTrivial 0 <n>", "<n>"},    {"Exchange <square 2> d4", "<square 2>"},
        {"Mirror a1<-->h1", ""},        {"h<>3", ""},
        {"<Square> <> < x> <x", ""},    {"a<b>c", "<b>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindPlaceholder(c.text), c.placeholder) << c.text;
    }
}

TEST(PopeyeNames, SolutionRefusesWhileAPlaceholderIsLeft) {
    PopeyeFieldTexts fields;
    fields[kStipulation] = "h#";
    fields[kMoves] = "2";
    fields[kWhitePieces] = "Ke1";
    fields[kBlackPieces] = "Ke8 Black Kamikaze <man><square>";
    fields[kTwins] = "Move <from> <to>";
    EXPECT_EQ(CheckPopeyeFields(fields),
              "Replace <from> in the Twins field by what it stands for before solving!");
    fields[kTwins] = "Move e1 e2";
    EXPECT_EQ(CheckPopeyeFields(fields),
              "Replace <man> in the Black pcs field by what it stands for before solving!");
    fields[kBlackPieces] = "Ke8";
    EXPECT_EQ(CheckPopeyeFields(fields), "");
    EXPECT_TRUE(PreparePopeye(fields, MakePopeyeRunFiles("/a/", "F1")).message.empty());
}

TEST(PopeyeNames, StipulationTypedWithItsMovesNeedsNoMoves) {
    const struct {
        const char* stipulation;
        const char* moves;
        const char* line;  // "" when refused
    } cases[] = {
        {"#2.5", "", "Stipulation #2.5\r\n"},
        {"ser-h#2.5", "", "Stipulation ser-h#2.5\r\n"},
        {"ser-h#", "2.5", "Stipulation ser-h#2.5\r\n"},
        {"h#", "", ""},
        {"dia", "", ""},
    };
    for (const auto& c : cases) {
        PopeyeFieldTexts fields;
        fields[kStipulation] = c.stipulation;
        fields[kMoves] = c.moves;
        fields[kWhitePieces] = "Ke1";
        const PopeyeJob job = PreparePopeye(fields, MakePopeyeRunFiles("/a/", "F1"));
        if (*c.line == '\0') {
            EXPECT_EQ(job.message, "Enter the number of moves!") << c.stipulation;
        } else {
            EXPECT_NE(job.inputText.find(c.line), std::string::npos) << c.stipulation;
        }
    }
}

TEST(PopeyeNames, TwinsSplitContinuedFirstMirrorsTurned) {
    const struct {
        const char* field;
        std::vector<std::string> lines;
    } cases[] = {
        {"Move e1 e2", {"Move e1 e2"}},
        {"Remove e4 Continued", {"Continued Remove e4"}},
        {"Move e1 e2 Twin Remove e4 cont Twin Mirror h1<-->a8",
         {"Move e1 e2", "cont Remove e4", "Mirror a8<-->h1"}},
        {"twin  Rotate 90 TWIN", {"Rotate 90"}},
        {"Mirror A8<-->a1 Mirror a1<-->h8 Mirror h1<-->a1",
         {"Mirror a1<-->a8 Mirror a1<-->h8 Mirror a1<-->h1"}},
        {"Add white Contra", {"Add white Contra"}},  // not an abbreviation of Continued
        {"", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TwinLines(c.field), c.lines) << c.field;
    }
    EXPECT_EQ(SolverMirrors("Mirror h8<-->a1"), "Mirror a1<-->h8");
    EXPECT_EQ(SolverMirrors("  rotate 90 "), "  rotate 90 ");
}

TEST(PopeyeNames, OldNamesBecomeTheSolversOwn) {
    const struct {
        const char* field;
        const char* written;
    } conditions[] = {
        {"Circe Rex Inclusive", "Circe RexInclusive"},
        {"madrasi rex inclusive  Patrol", "madrasi RexInclusive Patrouille"},
        {"Circe Malefique", "Circe Mirror"},
        {"Black Maximummer White Minimummer", "BlackMaximummer WhiteMinimummer"},
        {"Monochrome Bichrome Reverse Einstein", "MonochromChess BichromChess ReversalEinsteinChess"},
        {"Haaner Chess Back-to-Back Ghost Chess", "HaanerChess BackToBack GhostChess"},
        {"UltraPatrol  Circe", "UltraPatrol  Circe"},  // untouched, blanks and all
        {"Black", "Black"},
    };
    for (const auto& c : conditions) {
        EXPECT_EQ(SolverConditions(c.field), c.written) << c.field;
    }
    EXPECT_EQ(SolverOptions("Try ShortSolutions"), "Try StopOnShortSolutions");
    PopeyeFieldTexts fields;
    fields[kStipulation] = "#2";
    fields[kWhitePieces] = "Ke1";
    fields[kConditions] = "Patrol";
    fields[kOptions] = "shortsolutions";
    const std::string input = PreparePopeye(fields, MakePopeyeRunFiles("/a/", "F1")).inputText;
    EXPECT_NE(input.find("\r\nCondition Patrouille\r\nOption MaxTime 60 NoBoard StopOnShortSolutions\r\n"),
              std::string::npos)
        << input;
}

TEST(PopeyeNames, AStylesEntriesWinForItsLetters) {
    const struct {
        const char* base;
        const char* own;
        const char* merged;
    } cases[] = {
        {"&&N=wS&&n=bS&&Z=wZ&&", "Z=wN&&z=bN&&", "&&N=wS&&n=bS&&Z=wN&&z=bN&&"},
        {"&&N=wS&&n=bS&&&&", "", "&&N=wS&&n=bS&&&&"},
        {"&&Z=wZ&&z=bZ&&", "Z=nQ&&", "&&z=bZ&&Z=nQ&&"},
        {"base ", "new", "base new"},
        {"&&", "X=wLI&&", "&&X=wLI&&"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MergeDictionaries(c.base, c.own), c.merged) << c.own;
    }
}

}  // namespace
}  // namespace engines

namespace engines {
namespace {

std::string Shipped(const char* relative) {
    const auto path = (std::filesystem::path(TEST_DATA_DIR) / relative).lexically_normal();
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The value of key in the style block named style of a settings text.
std::string StyleValue(const std::string& ini, const std::string& style, const std::string& key) {
    const size_t block = ini.find("BeginStyle = " + style + "\r\n");
    const size_t end = ini.find("EndStyle", block);
    const size_t at = ini.find(key + " = ", block);
    if (block == std::string::npos || at == std::string::npos || at > end) {
        return {};
    }
    const size_t start = at + key.size() + 3;
    return ini.substr(start, ini.find_first_of("\r\n", start) - start);
}

// Each fairy letter of the shipped Fairy style has a Popeye name in the
// shipped data file, with the colour its picture shows: neutral for a man
// drawn half light, half dark, else the colour of the letter's case.
TEST(PopeyeNames, TheFairyStyleAndTheDataFileAgree) {
    const std::string ini = Shipped("../../../app/styles/Pandrel.ini");
    const std::string letters = StyleValue(ini, "Fairy", "EnglishNotation");
    const std::string glyphs = " " + StyleValue(ini, "Fairy", "PiecesGlyphs") + " ";
    const std::string dictionary = ParsePyDat(Shipped("../../data/Py.dat")).dictionary;
    ASSERT_FALSE(letters.empty());
    int fairy = 0;
    for (const char letter : letters) {
        if (std::string_view("pPnNbBrRqQkK").find(letter) != std::string_view::npos) {
            continue;
        }
        ++fairy;
        const size_t entry = dictionary.find(std::string("&&") + letter + "=");
        ASSERT_NE(entry, std::string::npos) << letter;
        const char colour = dictionary[entry + 4];
        const size_t glyph = glyphs.find(std::string(" ") + letter + "=");
        ASSERT_NE(glyph, std::string::npos) << letter;
        const std::string kind = glyphs.substr(glyph + 3, glyphs.find(' ', glyph + 1) - glyph - 3);
        const char expected =
            kind.back() == '~' ? 'n' : (std::isupper(static_cast<unsigned char>(letter)) ? 'w' : 'b');
        EXPECT_EQ(colour, expected) << letter << " drawn as " << kind;
    }
    EXPECT_EQ(fairy, 8);
}

}  // namespace
}  // namespace engines
