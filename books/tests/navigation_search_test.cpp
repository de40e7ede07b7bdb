#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "book_files.h"
#include "books/navigation.h"
#include "books/search.h"
#include "tests/support/counting_new.h"

using namespace books;
using namespace books_test;

namespace {

const position::BoardShape kShape;

const char* const kPgn =
    "[Event \"Nav\"]\n[Site \"Somewhere\"]\n\n1. e4 e5 *\n\n"
    "[Event \"Second\"]\n\n1. d4 *\n";

TEST(Navigation, GameOfTagsAloneShowsTheEmptyBoard) {
    // The last tag line must not be read as a placement: "[Event" holds an
    // "n", a knight of the default letters.
    Converted c;
    Convert(c, "tags.fen", "[Event \"Only tags\"]\n[Site \"Nowhere\"]\n");
    const GameView view = ShowGame(c.book, 1, kShape);
    EXPECT_EQ(view.head.list, (std::vector<std::string>{"[Event \"Only tags\"]", "[Site \"Nowhere\"]"}));
    EXPECT_EQ(view.shown.fen, "");
    EXPECT_EQ(view.shown.sideLabel, "Move Control:");
}

TEST(Navigation, PgnFirstNextLastPrevious) {
    Converted c;
    Convert(c, "nav.pgn", kPgn);
    Book& book = c.book;

    const GameView first = ShowGame(book, 1, kShape);
    EXPECT_EQ(first.head.list, (std::vector<std::string>{"[Event \"Nav\"]", "[Site \"Somewhere\"]"}));
    EXPECT_TRUE(first.head.showSteps);
    EXPECT_EQ(first.shown.fen, kStart);
    EXPECT_EQ(first.shown.sideLabel, "Move Control:");
    EXPECT_EQ(first.caption, "Game 1. (1 of 2)");

    const std::string afterE4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR";
    const std::string afterE5 = "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR";
    struct Step {
        int button;
        bool changes;
        std::string fen;
        const char* side;
    };
    const Step steps[] = {
        {2, true, afterE4, "Black moves..."},  {3, true, afterE5, "White moves..."},
        {2, false, afterE5, "White moves..."}, {1, true, afterE4, "Black moves..."},
        {1, true, kStart, "Move Control:"},    {1, false, kStart, "Move Control:"},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(StepPosition(book, s.button), s.changes) << s.button;
        const ShownRecord shown = ShowRecord(book, kShape);
        EXPECT_EQ(shown.fen, s.fen);
        EXPECT_EQ(shown.sideLabel, s.side);
    }
    // Stepping back never enters the tags.
    EXPECT_EQ(book.CurRecNo, 3);

    const GameView second = ShowGame(book, 2, kShape);
    EXPECT_EQ(second.caption, "Game 2. (2 of 2)");
    EXPECT_EQ(second.head.list, (std::vector<std::string>{"[Event \"Second\"]"}));
    EXPECT_TRUE(StepPosition(book, 3));
    EXPECT_EQ(ShowRecord(book, kShape).fen, "rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR");
    // The end marker is never stepped onto.
    EXPECT_FALSE(StepPosition(book, 2));

    const GameView outside = ShowGame(book, 3, kShape);
    EXPECT_TRUE(outside.head.list.empty());
    EXPECT_EQ(outside.shown.fen, "");
    EXPECT_EQ(outside.shown.sideLabel, "Move Control:");
}

TEST(Navigation, EpdOperationsAndSide) {
    Converted c;
    Convert(c, "nav.epd",
            "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 bm e5; id \"x\";\n"
            "8/8/8/8/8/8/8/K6k w - -\n8/8/8/8/8/8/8/k6K w - -\n");
    const GameView v = ShowGame(c.book, 1, kShape);
    EXPECT_EQ(v.head.list, (std::vector<std::string>{"[bm e5]", "[id \"x\"]"}));
    EXPECT_EQ(v.shown.fen, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR");
    EXPECT_EQ(v.shown.sideLabel, "Black moves...");
    EXPECT_FALSE(v.head.showSteps);
    // A one-position game followed by another game's position: no steps.
    const GameView w = ShowGame(c.book, 2, kShape);
    EXPECT_EQ(w.shown.sideLabel, "White moves...");
    EXPECT_FALSE(w.head.showSteps);
    EXPECT_FALSE(StepPosition(c.book, 2));
}

TEST(Navigation, LongTagsSplitAndStyleTags) {
    const std::string value(70, 'v');
    Converted c;
    Convert(
        c, "style.fen",
        "[Event \"" + value + "\"]\n[Style \"Other\"]\n[sTyLe \"third\"]\n[Style none]\n8/8/3K4 w\n8/8 b\n");
    const GameHead head = FirstPosition(c.book, 1);
    const std::string tag = "[Event \"" + value + "\"]";
    ASSERT_EQ(tag.size(), 80u);
    EXPECT_EQ(head.list,
              (std::vector<std::string>{tag.substr(0, 33), " " + tag.substr(33, 32), " " + tag.substr(65)}));
    EXPECT_EQ(head.styles, (std::vector<std::string>{"Other", "third"}));
    EXPECT_TRUE(head.showSteps);
    EXPECT_EQ(ShowRecord(c.book, kShape).fen, "8/8/3K4");
}

TEST(DelComment, CutsCommentsAndFields) {
    struct Case {
        const char* record;
        const char* shown;
    };
    const Case cases[] = {
        {"?E     1abc w ; comment    ", "abc w "},
        {"?E     1abc w {c} ; d", "abc w "},
        {"?[     1[Annotator \"a;b{c\"] ; note", "[Annotator \"a;b{c\"] "},
        {"?[     1[Broken ; x", "[Broken "},
        {";E     1abc", "abc"},
        {"?E     1", ""},
        {"?E  1", ""},
        {"   ", ""},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(DelComment(k.record), k.shown) << k.record;
    }
}

// Three games: two kings; the start position; a pawn and two kings.
const char* const kSearchBook =
    "[Event \"Paul Keres, 2000\"]\n[White \"Morphy\"]\n4k3/8/8/8/8/8/8/4K3 w\n"
    "[Event \"Other\"]\n[White \"Paul Morphy\"]\nrnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w\n"
    "[Event \"Third\"]\n8/8/8/8/4P3/8/8/K6k b\n";

TEST(GameFields, TagsAndFirstPosition) {
    Converted c;
    Convert(c, "fields.fen", kSearchBook);
    const GameFieldsResult f = GameFields(c.book, 1);
    EXPECT_EQ(f.ids, "[EVENT \"PAUL KERES, 2000\"][WHITE \"MORPHY\"]");
    EXPECT_EQ(f.white, "#0001");
    EXPECT_EQ(f.black, "#0001");
    EXPECT_EQ(f.all, "#0002");
    EXPECT_EQ(f.pieces, "k0004K0060");
    const GameFieldsResult none = GameFields(c.book, 99);
    EXPECT_TRUE(none.ids.empty() && none.white.empty() && none.pieces.empty());
}

TEST(ExpandNumbers, NumbersAndRangesAsMergedRanges) {
    const std::pair<const char*, const char*> cases[] = {
        {"1-6, 9", "#0001-0006#0009-0009"},
        {" 6-4 ", "#0004-0006"},
        {"0-3", "#0003-0003"},
        {"-3", "#0003-0003"},
        {"0", ""},
        {"", ""},
        {"3,,4", "#0003-0004"},
        {"2.5", "#0002-0002"},
        {"40000", ""},
        {"1-40000", ""},
        {"12 x", "#0012-0012"},
        {"9 2-5 4-7 1", "#0001-0007#0009-0009"},
        {"1-32767, 20-30", "#0001-32767"},
    };
    for (const auto& [text, set] : cases) {
        EXPECT_EQ(ExpandNumbers(text), set) << text;
    }
}

TEST(ExpandNumbers, WideRangesCostWhatWasTyped) {
    // 80 KB of full ranges once grew into gigabytes of expanded numbers.
    std::string box;
    while (box.size() < 80000) {
        box += "1-32767, 5-9, ";
    }
    testsupport::AllocatedBytes allocated;
    const Criteria c = ParseCriteria({"", box, box, box}, kShape);
    EXPECT_LT(allocated.Count(), 40 * box.size());
    ASSERT_EQ(c.AndList.size(), 3u);
    EXPECT_EQ(c.AndList[0].text, "#0001-32767");
}

struct ParseCase {
    std::array<std::string, 5> boxes;
    std::vector<Criterion> andList;
    std::vector<Criterion> orList;
};

TEST(ParseCriteria, SeparatorsQuotesAndSquares) {
    const ParseCase cases[] = {
        {{"A+B"}, {{kWord, "B"}}, {{kWord, "A"}}},
        {{"paul, 2000"}, {}, {{kWord, "PAUL"}, {kWord, "2000"}}},
        {{"A+ B"}, {}, {{kWord, "A"}, {kWord, "B"}}},
        {{"\"Paul Morphy\"+x"}, {{kWord, "X"}}, {{kWord, "PAUL MORPHY"}}},
        {{"", "16", "", "1-2"}, {{kWhiteMen, "#0016-0016"}, {kAllMen, "#0001-0002"}}, {}},
        {{"", "", "", "", "Ke1+ke8"}, {{kPieceOn, "k0004"}}, {{kPieceOn, "K0060"}}},
        {{"", "", "", "", "e4, h8 e"}, {}, {{kPieceOn, "P0036"}, {kPieceOn, "P0007"}}},
    };
    for (const ParseCase& k : cases) {
        const Criteria c = ParseCriteria(k.boxes, kShape);
        EXPECT_EQ(c.AndList, k.andList) << k.boxes[0] << "|" << k.boxes[4];
        EXPECT_EQ(c.OrList, k.orList) << k.boxes[0] << "|" << k.boxes[4];
    }
    position::BoardShape wide;
    wide.rows = wide.cols = 10;
    EXPECT_EQ(ParseCriteria({"", "", "", "", "Ke1"}, wide).OrList,
              (std::vector<Criterion>{{kPieceOn, "K0094"}}));
}

TEST(ParseCriteria, ListsStopAtThirty) {
    std::string words;
    for (int i = 0; i < 35; ++i) {
        words += "w" + std::to_string(i) + " ";
    }
    const Criteria c = ParseCriteria({words, "16"}, kShape);
    EXPECT_EQ(c.OrList.size(), kMaxCriteria);
    EXPECT_EQ(c.OrList.back().text, "W29");
    // Parsing stopped: the men box was not read.
    EXPECT_TRUE(c.AndList.empty());
}

struct SearchCase {
    std::array<std::string, 5> boxes;
    SearchOutcome outcome;
    std::vector<int64_t> positions;
};

TEST(Search, FindsGamesOnASmallBook) {
    Converted c;
    Convert(c, "search.fen", kSearchBook);
    const SearchCase cases[] = {
        {{"Paul, 2000"}, SearchOutcome::kFound, {1, 2}},
        {{"\"Paul Morphy\""}, SearchOutcome::kFound, {2}},
        {{"event+keres"}, SearchOutcome::kFound, {1}},
        {{"paul+third"}, SearchOutcome::kNotFound, {}},
        {{"", "16", "16"}, SearchOutcome::kFound, {2}},
        {{"", "", "", "1-3"}, SearchOutcome::kFound, {1, 3}},
        {{"", "", "", "3-1, 40"}, SearchOutcome::kFound, {1, 3}},
        {{"", "1-32767", "1-32767", "1-32767, 3"}, SearchOutcome::kFound, {1, 2, 3}},
        {{"", "15, 17"}, SearchOutcome::kNotFound, {}},
        {{"", "0-16"}, SearchOutcome::kFound, {2}},
        {{"", "", "", "", "Ke1+ke8"}, SearchOutcome::kFound, {1, 2}},
        {{"", "", "", "", "e4"}, SearchOutcome::kFound, {3}},
        {{"", "", "", "", "Kb1, Ka1"}, SearchOutcome::kFound, {3}},
        {{"morphy", "", "", "", "+Pe2"}, SearchOutcome::kFound, {2}},
        {{}, SearchOutcome::kAll, {1, 2, 3}},
    };
    for (const SearchCase& k : cases) {
        const std::vector<int64_t> before = c.book.GameIndex;
        const SearchResult r = Search(c.book, ParseCriteria(k.boxes, kShape));
        EXPECT_EQ(r.outcome, k.outcome) << k.boxes[0] << k.boxes[4];
        EXPECT_EQ(r.positions, k.positions) << k.boxes[0] << k.boxes[4];
        if (k.outcome == SearchOutcome::kNotFound) {
            EXPECT_EQ(c.book.GameIndex, before);
            continue;
        }
        std::vector<int64_t> index;
        for (const int64_t p : r.positions) {
            index.push_back(c.book.FullIndex[static_cast<size_t>(p - 1)]);
        }
        EXPECT_EQ(c.book.GameIndex, index);
    }
}

TEST(Search, NarrowedListShowsFoundGamesAndReportsProgress) {
    std::string fen;
    for (int g = 1; g <= 250; ++g) {
        fen += "[Game " + std::to_string(g) + "]\n" +
               (g % 50 == 0 ? "4k3/8/8/8/8/8/8/4K3 w\n" : "8/8/8/8/8/8/8/K7 w\n");
    }
    Converted c;
    Convert(c, "progress.fen", fen);
    std::vector<std::string> labels;
    const SearchResult r = Search(c.book, ParseCriteria({"", "", "", "", "ke8"}, kShape),
                                  [&](int64_t found, int64_t examined, int64_t total) {
                                      labels.push_back(SearchProgressText(found, examined, total));
                                  });
    EXPECT_EQ(r.positions, (std::vector<int64_t>{50, 100, 150, 200, 250}));
    EXPECT_EQ(labels,
              (std::vector<std::string>{"0 found. Searching 0 of 250", "2 found. Searching 100 of 250",
                                        "4 found. Searching 200 of 250"}));
    // The game list now runs over the games found.
    c.book.NGames = static_cast<int64_t>(c.book.GameIndex.size());
    const GameView third = ShowGame(c.book, 3, kShape);
    EXPECT_EQ(third.caption, "Game 150. (3 of 5)");
    EXPECT_EQ(third.head.list, (std::vector<std::string>{"[Game 150]"}));
}

TEST(Search, PgnGamesAreTestedOnTheirFirstPosition) {
    Converted c;
    Convert(c, "search.pgn", kPgn);
    EXPECT_EQ(Search(c.book, ParseCriteria({"", "", "", "", "Pe2"}, kShape)).positions,
              (std::vector<int64_t>{1, 2}));
    EXPECT_EQ(Search(c.book, ParseCriteria({"", "", "", "", "Pe4"}, kShape)).outcome,
              SearchOutcome::kNotFound);
}

// A book of games close together (two records each) followed by games far
// apart: long tag sections, long games, games of tags alone. The search
// reads many games at a time; it must find what the fields of each game,
// read one by one, say.
std::string MixedBook() {
    const char* const fens[] = {"4k3/8/8/8/8/8/8/4K3 w - - 0 1",
                                "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                                "8/8/8/8/8/8/8/K7 w - - 0 1"};
    const int plies[] = {0, 1, 9, 64, 130, 300};
    const char* const shuffle[] = {"Nf3", "Nf6", "Ng1", "Ng8"};
    std::string pgn;
    for (int g = 1; g <= 6400; ++g) {
        if (g <= 6000) {
            pgn += "[Event \"Dense " + std::to_string(g) + "\"]\n[FEN \"" + fens[g % 3] + "\"]\n\n";
            continue;
        }
        for (int t = 0; t <= g % 20; ++t) {
            pgn += "[Tag" + std::to_string(t) + " \"Player " + std::to_string(g % 13) + " " +
                   std::to_string(t) + "\"]\n";
        }
        pgn += "\n";
        const int n = plies[g % 6];
        for (int p = 0; p < n; ++p) {
            pgn += (p % 2 == 0 ? std::to_string(p / 2 + 1) + ". " : "") + shuffle[p % 4] +
                   (p % 10 == 9 ? "\n" : " ");
        }
        pgn += "*\n\n";
    }
    return pgn;
}

TEST(Search, ReadingManyGamesAtOnceFindsWhatEachGameSays) {
    Converted c;
    Convert(c, "mixed.pgn", MixedBook());
    ASSERT_EQ(c.book.NGames, 6400);
    std::vector<GameFieldsResult> games;
    for (const int64_t first : c.book.FullIndex) {
        games.push_back(GameFields(c.book, first));
    }
    // A game without a position meets every men criterion.
    const auto count = [](const std::string& field, const char* want) {
        return field.empty() || field == want;
    };
    struct Case {
        std::array<std::string, 5> boxes;
        std::function<bool(const GameFieldsResult&, const std::string& pattern)> holds;
    };
    const auto inIds = [](const GameFieldsResult& f, const std::string& p) {
        return f.ids.find(p) != std::string::npos;
    };
    const auto onSquare = [](const GameFieldsResult& f, const std::string& p) {
        return f.pieces.find(p) != std::string::npos;
    };
    const Case cases[] = {
        {{"\"Player 7\""}, inIds},
        {{"\"Dense 59\""}, inIds},
        {{"\"Player 3 17\""}, inIds},
        {{"", "16"}, [&](const GameFieldsResult& f, const std::string&) { return count(f.white, "#0016"); }},
        {{"", "", "", "2"},
         [&](const GameFieldsResult& f, const std::string&) { return count(f.all, "#0002"); }},
        {{"", "", "", "", "Ke1"}, onSquare},
        {{"", "", "", "", "nb8"}, onSquare},
        {{"", "", "", "", "Ka1"}, onSquare},
    };
    for (const Case& k : cases) {
        const Criteria criteria = ParseCriteria(k.boxes, kShape);
        ASSERT_EQ(criteria.AndList.size() + criteria.OrList.size(), 1u);
        const std::string& pattern = (criteria.AndList.empty() ? criteria.OrList : criteria.AndList)[0].text;
        std::vector<int64_t> want;
        for (size_t g = 0; g < games.size(); ++g) {
            if (k.holds(games[g], pattern)) {
                want.push_back(static_cast<int64_t>(g + 1));
            }
        }
        ASSERT_FALSE(want.empty()) << pattern;
        const SearchResult r = Search(c.book, criteria);
        EXPECT_EQ(r.positions, want) << pattern;
    }
}

TEST(GameIndex, EveryGameOfALargeBookIsReachable) {
    std::string fen;
    for (int g = 1; g <= 12000; ++g) {
        fen += "[G]\n8/8/8/8/8/8/8/K7 w\n";
    }
    Converted c;
    Convert(c, "large.fen", fen);
    ASSERT_EQ(c.book.NGames, 12000);
    ASSERT_EQ(c.book.GameIndex.size(), 12000u);
    const GameView last = ShowGame(c.book, 12000, kShape);
    EXPECT_EQ(last.caption, "Game 12000. (12000 of 12000)");
    EXPECT_EQ(last.shown.fen, "8/8/8/8/8/8/8/K7");
}

TEST(GameIndex, RecordNumbersBeyondSixDigits) {
    Book book;
    const std::string dir = TempFolder();
    ASSERT_TRUE(book.OpenWorkFile(dir + "F2.tmp"));
    char rec[kRecordLength];
    FormatRecord(kEntry, GameField(1), "8/8/8/8/8/8/8/K7 w", rec);
    ASSERT_TRUE(book.WriteRecord(1, std::string_view(rec, kRecordLength)));
    FormatRecord(kEntry, GameField(1234567), "8/8/8/8/8/8/8/k7 b", rec);
    ASSERT_TRUE(book.WriteRecord(1000001, std::string_view(rec, kRecordLength)));
    book.NRecords = 1000001;
    book.NGames = 2;
    book.GameIndex = book.FullIndex = {1, 1000001};
    EXPECT_EQ(GameField(1234567), "234567");
    const GameView v = ShowGame(book, 2, kShape);
    EXPECT_EQ(v.shown.fen, "8/8/8/8/8/8/8/k7");
    EXPECT_EQ(v.caption, "Game 234567. (2 of 2)");
    EXPECT_EQ(book.CurRecNo, 1000001);
    book.CloseWorkFile();
    std::filesystem::remove(dir + "F2.tmp");
}

}  // namespace
