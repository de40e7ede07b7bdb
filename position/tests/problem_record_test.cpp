#include "position/problem_record.h"

#include <gtest/gtest.h>

namespace position {
namespace {

TEST(ProblemRecord, ProblemTagsWinOverGameTags) {
    const ProblemRecord r = RecordFromTags({{"Event", "#2"},
                                            {"Site", "Chess Life"},
                                            {"White", "Loyd, Sam"},
                                            {"Author", "A. Bor; B. Cer"},
                                            {"Author", "Вася Пупкин"},
                                            {"source", "The Problemist"},
                                            {"Date", "1923"},
                                            {"Award", "1st Prize"},
                                            {"Stipulation", "h#3"},
                                            {"Condition", "Circe"},
                                            {"Condition", "Madrasi"},
                                            {"Twins", "b) wKa1->b1"},
                                            {"Legend", "G=Grasshopper; N = Nightrider"},
                                            {"Solution", "1.Qd1!"},
                                            {"Count", "(3+4)"}});
    EXPECT_EQ(r.authors, (std::vector<std::string>{"A. Bor", "B. Cer", "Вася Пупкин"}));
    EXPECT_EQ(r.AuthorLine(), "A. Bor, B. Cer and Вася Пупкин");
    EXPECT_EQ(r.source, "The Problemist");
    EXPECT_EQ(r.date, "1923");
    EXPECT_EQ(r.award, "1st Prize");
    EXPECT_EQ(r.stipulation, "h#3");
    EXPECT_EQ(r.conditions, "Circe Madrasi");
    EXPECT_EQ(r.twins, "b) wKa1->b1");
    EXPECT_EQ(r.legend, (std::vector<LegendEntry>{{"G", "Grasshopper"}, {"N", "Nightrider"}}));
    EXPECT_EQ(r.solution, "1.Qd1!");
    EXPECT_EQ(r.count, "(3+4)");
}

TEST(ProblemRecord, GameTagsStandInForMissingProblemTags) {
    // A problem collection as the binary reader gives it.
    const ProblemRecord pbm = RecordFromTags({{"Event", "#2"},
                                              {"White", "S. Loyd"},
                                              {"Site", "Le Sphinx"},
                                              {"Date", "????.??.??"},
                                              {"Comm1", "Version"},
                                              {"Comm2", "?"}});
    EXPECT_EQ(pbm.authors, std::vector<std::string>{"S. Loyd"});
    EXPECT_EQ(pbm.source, "Le Sphinx");
    EXPECT_EQ(pbm.stipulation, "#2");
    EXPECT_EQ(pbm.date, "");
    EXPECT_EQ(RecordFromTags({{"Date", "1990.05.??"}}).date, "1990.05");
    EXPECT_EQ(pbm.remarks, "Version");
    // An ordinary game's event is no stipulation.
    EXPECT_EQ(RecordFromTags({{"Event", "World Championship 1985"}}).stipulation, "");
    EXPECT_TRUE(RecordFromTags({{"White", "?"}, {"Event", ""}}).Empty());
}

TEST(ProblemRecord, Stipulations) {
    struct Case {
        const char* text;
        bool stipulation;
        const char* goal;
        const char* moves;
    };
    const Case cases[] = {
        {"#2", true, "#", "2"},
        {"h#2.5", true, "h#", "2.5"},
        {"ser-s#12", true, "ser-s#", "12"},
        {"hs=3", true, "hs=", "3"},
        {"h==2", true, "h==", "2"},
        {"+", true, "+", ""},
        {"#3 1/2", true, "#", "3 1/2"},
        {"Mate", false, "Mate", ""},
        {"Hastings 1895", false, "Hastings", "1895"},
        {"2", false, "", "2"},
        {"", false, "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LooksLikeStipulation(c.text), c.stipulation) << c.text;
        const auto [goal, moves] = SplitStipulation(c.text);
        if (c.stipulation || c.moves[0] != '\0') {
            EXPECT_EQ(goal, c.goal) << c.text;
            EXPECT_EQ(moves, c.moves) << c.text;
        }
    }
}

TEST(ProblemRecord, CountTextAndCheck) {
    EXPECT_EQ(CountText({8, 9, 0}), "(8+9)");
    EXPECT_EQ(CountText({3, 11, 1}), "(3+11+1n)");
    struct Case {
        const char* text;
        std::optional<MenCount> count;
    };
    const Case cases[] = {
        {"(8+9)", MenCount{8, 9, 0}}, {" 8+9 ", MenCount{8, 9, 0}}, {"(3+11+1n)", MenCount{3, 11, 1}},
        {"(8x9)", std::nullopt},      {"(8+)", std::nullopt},       {"(1+2+3+4)", std::nullopt},
        {"(99999+1)", std::nullopt}};
    for (const Case& c : cases) {
        EXPECT_EQ(ParseCount(c.text), c.count) << c.text;
    }
    ProblemRecord r;
    EXPECT_EQ(CountWarning(r, {2, 2, 0}), "");
    r.count = "(2+2)";
    EXPECT_EQ(CountWarning(r, {2, 2, 0}), "");
    EXPECT_EQ(CountWarning(r, {2, 2, 1}), "The count (2+2) does not match the board (2+2+1n)");
    r.count = "two and two";
    EXPECT_EQ(CountWarning(r, {2, 2, 0}), "The count two and two cannot be read");
}

TEST(ProblemRecord, CountsMenByTheirLooks) {
    // x: a neutral rook drawn by its glyph entry; o: a circle marker; t:
    // square text; P: a white pawn with no entry.
    FairyStyle style;
    style.piecesList = "pPnNbBrRqQkKxot";
    style.englishNotation = "pPnNbBrRqQkKroq";
    style.piecesGlyphs = "x=r~ o=circle t='AB";
    Vet vet;
    Build2(vet, kPosition, "kxo5/8/8/8/8/8/t7/K6P", BoardShape{8, 8, style.piecesList});
    EXPECT_EQ(CountMen(vet, style), (MenCount{2, 1, 1}));
    const FairyBoard board = PublishedBoard(vet, style, "");
    EXPECT_EQ(CountMen(board), (MenCount{2, 1, 1}));
    EXPECT_EQ(board.at(0, 1).color, FairyColor::kNeutral);
    EXPECT_EQ(board.at(0, 2).kind, SquareKind::kMarker);
}

TEST(ProblemRecord, LegendNamesFairyMenOnce) {
    FairyBoard board(1, 4);
    board.at(0, 0) = FairySquare::Man("G", FairyColor::kWhite);
    board.at(0, 1) = FairySquare::Man("K", FairyColor::kWhite);
    board.at(0, 2) = FairySquare::Man("G", FairyColor::kBlack);
    board.at(0, 3) = FairySquare::Man("CA", FairyColor::kNeutral);
    EXPECT_EQ(LegendFor(board), (std::vector<LegendEntry>{{"G", "Grasshopper"}, {"CA", "Camel"}}));
}

}  // namespace
}  // namespace position
