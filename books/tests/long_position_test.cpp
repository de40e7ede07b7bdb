// Positions of large boards, whose placement and side to move do not fit in
// one work-file record: they go on in continuation records, and every
// reader of the book sees them whole.

#include <gtest/gtest.h>

#include "book_files.h"
#include "books/add_to_book.h"
#include "books/book_export.h"
#include "books/navigation.h"
#include "books/search.h"

using namespace books;
using namespace books_test;

namespace {

struct Board {
    const char* name;
    int rows;
    int cols;
    const char* rookMove;    // the rook in the top-left corner to the square beside it
    const char* lastSquare;  // the queen's square, the board's last
};

const Board kBoards[] = {
    {"20 x 20", 20, 20, "Rb20", "Qt1"},
    {"10 wide, 40 high", 40, 10, "Rb40", "Qj1"},
    {"one file of 400", 400, 1, "Ra399", "Qa1"},
};

// Letters of the squares, row by row from the top-left; '.' is empty.
std::string Squares(const Board& b, bool rookMoved = false, bool queen = true) {
    const int n = b.rows * b.cols;
    std::string cells(static_cast<size_t>(n), '.');
    for (int s = 2; s < n - 1; ++s) {
        cells[static_cast<size_t>(s)] = "pPn."[s % 4];
    }
    cells[rookMoved ? 1 : 0] = 'R';
    if (queen) {
        cells.back() = 'Q';
    }
    return cells;
}

// The placement of the squares as the FEN box shows it.
std::string Placement(const Board& b, const std::string& cells) {
    std::string out;
    for (int r = 0; r < b.rows; ++r) {
        if (r > 0) {
            out += '/';
        }
        int empty = 0;
        for (int c = 0; c < b.cols; ++c) {
            const char ch = cells[static_cast<size_t>(r * b.cols + c)];
            if (ch == '.' && ++empty < 9) {
                continue;
            }
            if (empty > 0) {
                out += static_cast<char>('0' + empty);
                empty = 0;
            }
            if (ch != '.') {
                out += ch;
            }
        }
        if (empty > 0) {
            out += static_cast<char>('0' + empty);
        }
    }
    return out;
}

settings::Style StyleOf(const Board& b) {
    settings::Style style;
    style.BORDERHEIGHT = static_cast<int16_t>(b.rows);
    style.BORDERWIDTH = static_cast<int16_t>(b.cols);
    return style;
}

position::BoardShape ShapeOf(const Board& b) {
    return StyleOf(b).Shape();
}

struct Format {
    const char* file;
    std::string (*book)(const std::string& a, const std::string& b, const Board& board);
    int64_t games;      // game 1 holds a, then b when it has two positions
    int64_t positions;  // positions of game 1
    // What the first position record keeps of its line, comments cut.
    std::string (*firstLine)(const std::string& a, const Board& board);
};

const Format kFormats[] = {
    {"long.fen",
     [](const std::string& a, const std::string& b, const Board&) {
         return "[Event \"long\"]\n" + a + " w - - 0 1\n" + b + " b - - 0 1\n";
     },
     1, 2, [](const std::string& a, const Board&) { return a + " w - - 0 1"; }},
    {"long.epd",
     [](const std::string& a, const std::string&, const Board& board) {
         return a + " w - - bm " + board.rookMove + "; id \"long\";\n" + a + " b - -\n";
     },
     2, 1, [](const std::string& a, const Board& board) { return a + " w - - bm " + board.rookMove; }},
    {"long.pgn",
     [](const std::string& a, const std::string&, const Board& board) {
         return "[Event \"long\"]\n[SetUp \"1\"]\n[FEN \"" + a + " w - - 0 1\"]\n\n1. " + board.rookMove +
                " *\n";
     },
     1, 2, [](const std::string& a, const Board&) { return a + " w - - 0 1"; }},
};

TEST(LongPositions, SurviveConversionAndNavigationWhole) {
    for (const Board& board : kBoards) {
        const position::BoardShape shape = ShapeOf(board);
        const std::string a = Placement(board, Squares(board));
        const std::string b = Placement(board, Squares(board, true));
        ASSERT_GT(a.size(), 124u) << board.name;
        for (const Format& format : kFormats) {
            const std::string what = std::string(board.name) + ", " + format.file;
            Converted c;
            Convert(c, format.file, format.book(a, b, board), StyleOf(board));
            ASSERT_EQ(c.result.status, LoadStatus::kDone) << what;
            Book& book = c.book;
            EXPECT_EQ(book.NGames, format.games) << what;
            EXPECT_EQ(PositionsOf(book, 1), format.positions) << what;
            EXPECT_EQ(CountPositions(book, {}).total, 2) << what;

            const GameView view = ShowGame(book, 1, shape);
            EXPECT_EQ(view.shown.fen, a) << what;
            EXPECT_EQ(view.shown.sideLabel, "White moves...") << what;
            EXPECT_EQ(view.head.showSteps, format.positions > 1) << what;
            // The whole line, not only what the board shows.
            EXPECT_EQ(DelComment(book.WholeRecord()), format.firstLine(a, board)) << what;

            if (format.positions == 2) {
                struct Step {
                    int button;
                    bool changes;
                    const std::string& fen;
                    const char* side;
                };
                const Step steps[] = {
                    {2, true, b, "Black moves..."}, {2, false, b, "Black moves..."},
                    {1, true, a, "White moves..."}, {1, false, a, "White moves..."},
                    {3, true, b, "Black moves..."},
                };
                for (const Step& s : steps) {
                    EXPECT_EQ(StepPosition(book, s.button), s.changes) << what << ", button " << s.button;
                    const ShownRecord shown = ShowRecord(book, shape);
                    EXPECT_EQ(shown.fen, s.fen) << what << ", button " << s.button;
                    EXPECT_EQ(shown.sideLabel, s.side) << what << ", button " << s.button;
                    EXPECT_EQ(book.CurRecord[1], kEntry) << what;
                }
            } else {
                // The second game starts after the continuations of the first.
                const GameView second = ShowGame(book, 2, shape);
                EXPECT_EQ(second.shown.fen, a) << what;
                EXPECT_EQ(second.shown.sideLabel, "Black moves...") << what;
            }

            // Export and the sheet take their positions as the panel does.
            const std::vector<std::string> expected =
                format.positions == 2 ? std::vector<std::string>{a, b} : std::vector<std::string>{a};
            const StyleHook sameShape = [&shape](const std::vector<std::string>&) { return shape; };
            const GameDiagrams all = ReadGameDiagrams(book, 1, PositionChoice::kAll, sameShape);
            EXPECT_EQ(all.positions, expected) << what;
            EXPECT_EQ(all.positionCount, format.positions) << what;
            EXPECT_EQ(ReadGameDiagrams(book, 1, PositionChoice::kLast, sameShape).positions,
                      std::vector<std::string>{expected.back()})
                << what;
        }
    }
}

TEST(LongPositions, SearchSeesSquaresBeyondTheFirstRecord) {
    for (const Board& board : kBoards) {
        const std::string withQueen = Placement(board, Squares(board));
        const std::string without = Placement(board, Squares(board, false, false));
        ASSERT_GE(withQueen.find('Q'), 124u) << board.name;
        Converted c;
        Convert(c, "search.fen",
                "[Event \"without\"]\n" + without + " w\n[Event \"with\"]\n" + withQueen + " w\n",
                StyleOf(board));
        const std::string cells = Squares(board);
        const auto whites =
            std::count_if(cells.begin(), cells.end(), [](char ch) { return ch >= 'A' && ch <= 'Z'; });
        struct Case {
            std::string notations;
            std::string white;
            SearchOutcome outcome;
            std::vector<int64_t> games;
        };
        const Case cases[] = {
            {board.lastSquare, "", SearchOutcome::kFound, {2}},
            {std::string("qa1"), "", SearchOutcome::kNotFound, {}},
            {"", std::to_string(whites), SearchOutcome::kFound, {2}},
            {"", std::to_string(whites - 1), SearchOutcome::kFound, {1}},
        };
        for (const Case& k : cases) {
            const Criteria criteria = ParseCriteria({"", k.white, "", "", k.notations}, ShapeOf(board));
            const SearchResult found = Search(c.book, criteria);
            EXPECT_EQ(found.outcome, k.outcome) << board.name << ": " << k.notations << k.white;
            if (k.outcome == SearchOutcome::kFound) {
                EXPECT_EQ(found.positions, k.games) << board.name << ": " << k.notations << k.white;
            }
        }
    }
}

TEST(LongPositions, AddedToTheBookAndReadBackWhole) {
    const Board& board = kBoards[0];
    const std::string a = Placement(board, Squares(board));
    const std::string b = Placement(board, Squares(board, true));
    const position::NotationStyle style = StyleOf(board).Notation();
    for (const char* name : {"add.fen", "add.pgn"}) {
        Converted c;
        Convert(c, name, "[Event \"first\"]\n8/8 w\n", StyleOf(board));
        const std::vector<std::string> history = {a + " w - - 0 0", b + " b - - 0 0"};
        ASSERT_TRUE(AddToBook(c.book, {"Long"}, history, style).ok()) << name;
        const int64_t records = static_cast<int64_t>(AllRecords(c.book).size()) - 1;
        EXPECT_EQ(c.book.NRecords, records) << name;
        EXPECT_EQ(PositionsOf(c.book, 2), 2) << name;
        EXPECT_EQ(ShowGame(c.book, 2, style.shape).shown.fen, a) << name;
        EXPECT_TRUE(StepPosition(c.book, 2)) << name;
        EXPECT_EQ(ShowRecord(c.book, style.shape).fen, b) << name;
        EXPECT_EQ(DelComment(c.book.WholeRecord()), history[1]) << name;
        EXPECT_FALSE(StepPosition(c.book, 2)) << name;
    }
}

TEST(LongPositions, OnlyBoardPositionsGoOnInContinuations) {
    const std::string ranks = Placement(kBoards[0], Squares(kBoards[0]));
    const std::string word(300, 'p');
    const std::string slashes(5000, '/');
    struct Case {
        const char* name;
        char kind;
        std::string text;
        bool longRanks;
        std::string kept;  // the text the records hold together
    };
    const std::string ops = "8/8/8/8/8/8/8/8 w - - c0 \"" + std::string(200, 'c') + "\";";
    const std::string tag = "[Event \"" + ranks + "\"]";
    const Case cases[] = {
        {"an 8 x 8 line with long operations", kEntry, ops, false, ops.substr(0, 124)},
        {"a tag line", kTag, tag, false, tag.substr(0, 124)},
        {"ranks", kEntry, ranks + " w", false, ranks + " w"},
        {"ranks behind a tally", kEntry, "(200x200) " + ranks + " w", false, "(200x200) " + ranks + " w"},
        {"a long word without ranks", kEntry, word + " w", false, word.substr(0, 124)},
        {"one long rank of a wide board", kEntry, word + " w", true, word + " w"},
        {"ranks without an end", kEntry, slashes, false, slashes.substr(0, kMaxPositionText)},
    };
    for (const Case& k : cases) {
        std::string formatted;
        FormatRecords(k.kind, GameField(3), k.text, formatted, k.longRanks);
        ASSERT_EQ(formatted.size() % kRecordLength, 0u) << k.name;
        std::string kept;
        for (size_t at = 0; at < formatted.size(); at += kRecordLength) {
            const std::string head = std::string("?") + (at == 0 ? k.kind : kMore) + "     3";
            EXPECT_EQ(formatted.substr(at, 8), head) << k.name;
            kept += formatted.substr(at + 8, kTextLength);
        }
        EXPECT_EQ(kept.substr(0, kept.find_last_not_of(' ') + 1), k.kept) << k.name;
        EXPECT_EQ(RecordsFor(k.kind, k.text, k.longRanks),
                  static_cast<int64_t>(formatted.size() / kRecordLength))
            << k.name;
    }
}

}  // namespace
