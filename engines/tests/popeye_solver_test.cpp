// Every name the shipped data file offers, written as the Popeye window
// writes it and given to the real solver: a name the solver refuses or reads
// as something else fails here. Skipped where the solver is not at hand.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>

#include "engines/child_process.h"
#include "engines/discovery.h"
#include "engines/engine_files.h"
#include "engines/popeye.h"
#include "engines/popeye_names.h"
#include "settings/style.h"
#include "temp_folder.h"

namespace engines {
namespace {

using testing::TempFolder;

std::string SourcePath(const char* relative) {
    return (std::filesystem::path(TEST_DATA_DIR) / relative).lexically_normal().string();
}

std::string SolverPath() {
    return SourcePath("../../../../shared/popeye/bin/py");
}

// The templates with what a user might put in, for the sample position.
const std::map<std::string, std::string> kCompleted = {
    {"Move <from> <to>", "Move d1 d2"},
    {"Exchange <square> <square2>", "Exchange d1 h2"},
    {"Remove <square>", "Remove h2"},
    {"Add white <man><square>", "Add white Sc3"},
    {"Add black <man><square>", "Add black Sc3"},
    {"Shift <from> <to>", "Shift a1 a2"},
    {"Substitute <man> <man2>", "Substitute Q R"},
    {"Stipulation <stipulation>", "Stipulation h#2"},
    {"Condition <conditions>", "Condition Circe"},
    {"EnPassant <from><over><to>", "EnPassant d7d6d5"},
    {"NoCastling <squares>", "NoCastling a1"},
    {"NonTrivial <m> <n>", "NonTrivial 0 1"},
    {"White Kamikaze <man><square>", "White Kamikaze Sc3"},
    {"Black Kamikaze <man><square>", "Black Kamikaze Sc3"},
    {"Neutral Kamikaze <man><square>", "Neutral Kamikaze Sc3"},
};

class PopeyeSolverTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!FileExists(SolverPath())) {
            GTEST_SKIP() << "the Popeye solver is not at " << SolverPath();
        }
    }

    // A small direct mate in which castling and en passant are possible.
    static PopeyeFieldTexts Sample() {
        PopeyeFieldTexts fields;
        fields[kStipulation] = "#";
        fields[kMoves] = "2";
        fields[kOptions] = "MaxTime 1";
        fields[kWhitePieces] = "Ke1 Qd1 Ra1 Rh1 Pe5 Ph2";
        fields[kBlackPieces] = "Ke7 Pd5";
        return fields;
    }

    // The solver's protocol for the fields, run as the window runs it.
    std::string Solve(const PopeyeFieldTexts& fields) {
        const PopeyeRunFiles files = MakePopeyeRunFiles(folder.dir(), "F000001");
        const PopeyeJob job = PreparePopeye(fields, files);
        EXPECT_EQ(job.message, "");
        RemoveFile(files.protocol);
        EXPECT_TRUE(WriteWholeFile(files.input, job.inputText));
        ChildProcess solver;
        std::string error;
        EXPECT_TRUE(solver.Start(SolverPath(), job.arguments, error)) << error;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!solver.AtEnd() && std::chrono::steady_clock::now() < deadline) {
            solver.ReadLines(100);
        }
        solver.Kill();
        return ReadWholeFile(files.protocol).value_or("");
    }

    // Why the solver did not take the fields as meant; "" when it did.
    std::string Refusal(const PopeyeFieldTexts& fields, std::string_view mustShow = {}) {
        const std::string protocol = Solve(fields);
        for (const char* sign : {"input-error", "offending item", "both sides need a king"}) {
            if (protocol.find(sign) != std::string::npos) {
                return protocol;
            }
        }
        if (protocol.find("solution finished") == std::string::npos &&
            protocol.find("solving interrupted") == std::string::npos) {
            return "no end of solution in:\n" + protocol;
        }
        if (!mustShow.empty()) {
            // Shown, and with what it stands for on its line ("b) -wPh2").
            const size_t at = protocol.find(mustShow);
            const size_t end = at == std::string::npos ? at : protocol.find('\n', at);
            if (at == std::string::npos ||
                TrimBlanks(protocol.substr(at + mustShow.size(), end - at - mustShow.size())).empty()) {
                return "no " + std::string(mustShow) + " with its change in:\n" + protocol;
            }
        }
        return {};
    }

    TempFolder folder;
};

TEST_F(PopeyeSolverTest, EveryShippedNameIsWhatTheSolverReads) {
    const PyData data = ReadPyDat(SourcePath("../../data/Py.dat"));
    const struct {
        PopeyeField field;
        const char* mustShow;  // what the protocol shows when the item was read
    } fieldsTried[] = {
        {kStipulation, ""},   {kMoves, ""},          {kConditions, ""},  {kOptions, ""},
        {kTwins, "b)"},       {kZeroPosition, "a)"}, {kWhitePieces, ""}, {kBlackPieces, ""},
        {kNeutralPieces, ""}, {kCommand, ""},        {kMaxmem, ""},
    };
    int tried = 0;
    for (const auto& tryField : fieldsTried) {
        for (const std::string& item : data.pickLists[tryField.field]) {
            PopeyeFieldTexts fields = Sample();
            if (tryField.field == kMoves) {
                fields[kStipulation] = "h#";  // half-moves belong to help play
            }
            if (tryField.field == kTwins) {
                fields[kTwins] = "Rotate 90";  // Continued and Twin come with a change
            }
            const PickResult alone = ApplyPickItem(item, {});
            ASSERT_TRUE(alone.changed) << item;
            if (alone.none) {
                continue;
            }
            std::string chosen = item;
            if (!FindPlaceholder(alone.value).empty()) {
                PopeyeFieldTexts uncompleted = fields;
                uncompleted[tryField.field] = ApplyPickItem(item, fields[tryField.field]).value;
                EXPECT_NE(CheckPopeyeFields(uncompleted), "") << item;
                const auto completed = kCompleted.find(alone.value);
                ASSERT_NE(completed, kCompleted.end())
                    << "no sample for the template \"" << alone.value << "\"";
                const size_t mark = item.find(" '");
                chosen = completed->second + (mark == std::string::npos ? std::string() : item.substr(mark));
            }
            fields[tryField.field] = ApplyPickItem(chosen, fields[tryField.field]).value;
            if (settings::Upper(alone.value) == "TWIN") {
                fields[kTwins] += " Remove h2";
            }
            EXPECT_EQ(Refusal(fields, tryField.mustShow), "")
                << "field " << tryField.field << ", item \"" << item << "\"";
            ++tried;
        }
    }
    EXPECT_GT(tried, 100);
}

TEST_F(PopeyeSolverTest, EveryShippedPieceNameIsAMan) {
    const std::string dictionary = ReadPyDat(SourcePath("../../data/Py.dat")).dictionary;
    int tried = 0;
    for (size_t at = dictionary.find("&&"); at != std::string::npos; at = dictionary.find("&&", at + 2)) {
        const size_t end = dictionary.find("&&", at + 2);
        if (end == std::string::npos || end - at < 5) {
            continue;
        }
        const std::string entry = dictionary.substr(at + 2, end - at - 2);  // X=wName
        const std::string name = TrimBlanks(entry.substr(3));
        PopeyeFieldTexts fields = Sample();
        fields[kStipulation] = "~";
        fields[kMoves] = "1";
        const char colour = entry[2];
        const PopeyeField list = colour == 'b' || colour == 'B'   ? kBlackPieces
                                 : colour == 'n' || colour == 'N' ? kNeutralPieces
                                                                  : kWhitePieces;
        fields[list] += " " + name + "c3";
        fields[list] = TrimBlanks(fields[list]);
        EXPECT_EQ(Refusal(fields), "") << entry;
        ++tried;
    }
    EXPECT_GT(tried, 10);
}

// Names older data files offered, and users type, reach the solver as its own.
TEST_F(PopeyeSolverTest, OldNamesAreWrittenAsTheSolversOwn) {
    for (const char* condition : {"Circe Rex Inclusive", "Madrasi Rex Inclusive", "Circe Malefique", "Patrol",
                                  "Reverse Einstein", "Monochrome", "Bichrome", "Black Maximummer",
                                  "White Minimummer", "Haaner Chess", "Back-to-Back", "Ghost Chess"}) {
        PopeyeFieldTexts fields = Sample();
        fields[kConditions] = condition;
        EXPECT_EQ(Refusal(fields), "") << condition;
    }
    PopeyeFieldTexts fields = Sample();
    fields[kOptions] = "ShortSolutions MaxTime 1";
    EXPECT_EQ(Refusal(fields), "");
}

// What the solver says about the pieces reaches the protocol the window
// shows, and a half-move stipulation is solved as typed.
TEST_F(PopeyeSolverTest, PieceErrorsReachTheProtocolAndHalfMovesAreKept) {
    PopeyeFieldTexts fields = Sample();
    fields[kWhitePieces] = "Ke1 XYe2 Qd1";
    EXPECT_NE(Solve(fields).find("XYe2"), std::string::npos);

    fields = Sample();
    fields[kStipulation] = "h#1.5";
    fields[kMoves].clear();
    fields[kWhitePieces] = "Kc3 Rh3";
    fields[kBlackPieces] = "Ka1";
    fields[kOptions] = "";
    const std::string protocol = Solve(fields);
    EXPECT_NE(protocol.find("1...Kc3-b3   2.Ka1-b1 Rh3-h1 #"), std::string::npos) << protocol;
}

}  // namespace
}  // namespace engines
