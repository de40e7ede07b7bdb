#include "engines/popeye_names.h"

#include <gtest/gtest.h>

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
