#include "engines/popeye_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "engines/tests/temp_folder.h"

namespace engines {
namespace {

position::PieceLists Lists(const char* white, const char* black, const char* neutral = "") {
    return {white, black, neutral};
}

TEST(PopeyeFile, FieldsFromTheRecordOverTheWindows) {
    position::ProblemRecord r;
    r.stipulation = "h#2.5";
    r.conditions = "Circe";
    r.twins = "Move a1 b1";
    PopeyeFieldTexts window;
    window[kStipulation] = "#";
    window[kMoves] = "3";
    window[kOptions] = "SetPlay";
    window[kConditions] = "Madrasi";
    const PopeyeFieldTexts f = ProblemFields(r, Lists("Ka1 ", "Kh8", ""), window);
    EXPECT_EQ(f[kStipulation], "h#");
    EXPECT_EQ(f[kMoves], "2.5");
    EXPECT_EQ(f[kConditions], "Circe");
    EXPECT_EQ(f[kTwins], "Move a1 b1");
    EXPECT_EQ(f[kOptions], "SetPlay");
    EXPECT_EQ(f[kWhitePieces], "Ka1");
    // An empty record leaves the window's stipulation.
    EXPECT_EQ(ProblemFields({}, Lists("Ka1", "Kh8"), window)[kMoves], "3");
    // Twins as a magazine prints them are no twin line.
    r.twins = "b) wKa1->b1";
    EXPECT_EQ(ProblemFields(r, Lists("Ka1", "Kh8"))[kTwins], "");
}

TEST(PopeyeFile, WritesTheProblemForACollection) {
    position::ProblemRecord r;
    r.authors = {"Sam Loyd", "A. Bor"};
    r.source = "Le Sphinx";
    r.date = "1866";
    r.award = "1st Prize";
    r.twins = "b) wKg6->f6";
    r.remarks = "Version\nafter Bor";
    r.stipulation = "#1";
    const PopeyeFile file = WritePopeyeFile(r, ProblemFields(r, Lists("Kg6 Qa1", "Kg8")));
    ASSERT_TRUE(file.ok()) << file.error;
    EXPECT_EQ(file.text,
              "BeginProblem\r\n"
              "Author Sam Loyd\r\n"
              "Author A. Bor\r\n"
              "Origin Le Sphinx, 1866\r\n"
              "Title 1st Prize\r\n"
              "Remark Twins: b) wKg6->f6\r\n"
              "Remark Version\r\n"
              "Remark after Bor\r\n"
              "Pieces\r\n"
              "White Kg6 Qa1\r\n"
              "Black Kg8\r\n"
              "Stipulation #1\r\n"
              "EndProblem\r\n");
    EXPECT_EQ(file.notes.size(), 1u);
}

TEST(PopeyeFile, RefusesWhatTheSolverCannotRun) {
    EXPECT_EQ(WritePopeyeFile({}, ProblemFields({}, Lists("Ka1", "Kh8"))).error, "Enter the stipulation!");
    position::ProblemRecord r;
    r.stipulation = "#2";
    EXPECT_EQ(WritePopeyeFile(r, ProblemFields(r, Lists("", ""))).error, "Enter the pieces list!");
    // A field cannot add lines of its own.
    r.authors = {"Evil\nEndProblem"};
    const PopeyeFile file = WritePopeyeFile(r, ProblemFields(r, Lists("Ka1", "Kh8")));
    EXPECT_NE(file.text.find("Author Evil EndProblem\r\n"), std::string::npos);
}

std::string Solve(const std::string& input) {
    std::string out;
    FILE* pipe = ::popen((std::string("'") + POPEYE_BIN + "' '" + input + "' 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return out;
    }
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        out.append(buffer, n);
    }
    ::pclose(pipe);
    return out;
}

TEST(PopeyeFile, TheSolverSolvesTheWrittenProblem) {
    if (!std::filesystem::exists(POPEYE_BIN)) {
        GTEST_SKIP() << "no solver at " << POPEYE_BIN;
    }
    const testing::TempFolder folder;
    // A helpmate in two with twins: the solver must read the author,
    // stipulation and twins and find the known solutions.
    position::ProblemRecord r;
    r.authors = {"Tester Unknown"};
    r.source = "Pandrel Review";
    r.stipulation = "h#2";
    r.twins = "Move a1 b1";
    PopeyeFieldTexts window;
    window[kOptions] = "NoBoard";
    const PopeyeFile file =
        WritePopeyeFile(r, ProblemFields(r, Lists("Ka1 Qc8 Sa5", "Kd3 Rd5 Pc3 Pd6"), window));
    ASSERT_TRUE(file.ok());
    folder.Write("h2.inp", file.text);
    const std::string out = Solve(folder.file("h2.inp"));
    EXPECT_NE(out.find("1.Kd3-c2 Qc8-b7   2.Rd5-d2 Qb7-b1 #"), std::string::npos) << out;
    EXPECT_NE(out.find("b) wKa1-->b1"), std::string::npos) << out;
    EXPECT_NE(out.find("1.Rd5-e5 Kb1-c1   2.Re5-e3 Qc8-c4 #"), std::string::npos) << out;
    EXPECT_EQ(out.find("input-error"), std::string::npos) << out;

    // With the board printed, the solver shows the author and origin.
    position::ProblemRecord mate = r;
    mate.stipulation = "#1";
    mate.twins.clear();
    const PopeyeFile board = WritePopeyeFile(mate, ProblemFields(mate, Lists("Kg6 Qa1", "Kg8")));
    folder.Write("m1.inp", board.text);
    const std::string shown = Solve(folder.file("m1.inp"));
    EXPECT_NE(shown.find("Tester Unknown"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Pandrel Review"), std::string::npos) << shown;
    EXPECT_NE(shown.find("1.Qa1-a8 #"), std::string::npos) << shown;
}

}  // namespace
}  // namespace engines
