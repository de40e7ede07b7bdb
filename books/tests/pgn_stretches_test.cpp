// A PGN book large enough to be converted in stretches on worker threads
// gives what converting it line by line gives: the same records, game
// index, position index (its keys worked out on the board by the workers,
// read from the records' text line by line), progress reports, board left
// behind and, on a full disk, the same stop.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>

#include "book_files.h"
#include "books/position_index.h"
#include "tests/support/file_size_limit.h"

using namespace books;
using namespace books_test;

namespace {

// Games of every kind the converter carries state across lines for.
const char* const kGames[] = {
    // Comments and variations, a bracket left open at the game's end.
    "[Event \"a\"]\n[Round \"1\"]\n\n1. e4 {a comment\nover two lines} e5 (1... c5 2. Nf3) 2. Nf3 Nc6\n"
    "3. Bb5 a6 {open\n\n",
    // Black to move from a FEN tag; a result and a gap line of each lead.
    "[Event \"b\"]\n[FEN \"4k3/8/8/8/8/8/4P3/4K3 b - - 0 1\"]\n\n1... Kd7 2. e4 Kc6 1-0\n;x\n%y\n*\n\n",
    // A FEN tag and no movetext: its board reaches the next game's moves.
    "[Event \"c\"]\n[FEN \"8/8/8/8/8/8/8/K6k w - - 0 1\"]\n\n",
    "[Event \"d\"]\n\n1. Kb2 Kg2 2. Kc3 *\n\n",
    // Movetext, a gap, movetext again: the moves start over.
    "[Event \"e\"]\n\n1. d4 d5\n\n2. c4 e6 *\n\n",
    // Leading blanks, carriage returns, castling, a promotion.
    "  [Event \"f\"]\r\n\r\n1. e4 e5 2. Nf3 Nc6 3. Bc4 Bc5 4. O-O Nf6 5. d3 O-O 0-1\r\n\r\n",
    "[Event \"g\"]\n[FEN \"8/P6k/8/8/8/8/8/K7 w - - 0 1\"]\n\n1. a8=Q Kg6 *\n\n",
    // Tags only.
    "[Event \"h\"]\n[Site \"?\"]\n\n",
};

// A placement of more cells than the board has squares.
const char* const kSpill = "[Event \"s\"]\n[FEN \"8/8/8/8/8/8/8/8/8/8/8/k6K w - - 0 1\"]\n\n1. Kg1 *\n\n";

// A game too long to be handed out: the rest is converted line by line.
const std::string kLong = "[Event \"l\"]\n\n1. e4 {" + std::string(700'000, 'x') + "\n} e5 2. Nf3 *\n\n";

std::string Book(int copies, const std::string& middle, const std::string& tail) {
    std::string text;
    for (int i = 0; i < copies; ++i) {
        text += kGames[i % std::size(kGames)];
        if (i == copies / 2) {
            text += middle;
        }
    }
    return text + tail;
}

struct Outcome {
    Converted c;
    std::string index;
};

// Converts the book, line by line or on workers.
void ConvertBook(Outcome& o, const std::string& dir, const std::string& name, bool lineByLine,
                 int64_t sizeLimit) {
    o.c.book.BookFile = dir + "book.pgn";
    const std::string work = dir + name + ".tmp";
    const books::ProgressFn progress = [&o](int64_t games) { o.c.progress.push_back(games); };
    const ConvertInput in{work, settings::Style{}, o.c.vet, progress, nullptr, lineByLine ? 1u : 2u};
    {
        std::optional<testsupport::FileSizeLimit> limit;
        if (sizeLimit > 0) {
            limit.emplace(sizeLimit);
        }
        o.c.result = LoadBook(o.c.book, in);
    }
    o.c.records = AllRecords(o.c.book);
    std::ifstream f(IndexPathFor(work), std::ios::binary);
    o.index.assign(std::istreambuf_iterator<char>(f), {});
    // The header's work file time (bytes 72 to 79) differs from run to run.
    if (o.index.size() >= 80) {
        std::fill(o.index.begin() + 72, o.index.begin() + 80, '\0');
    }
}

TEST(PgnStretches, SameBookAsLineByLine) {
    struct Case {
        const char* name;
        std::string text;
        int64_t sizeLimit;
    };
    const Case cases[] = {
        {"mixed", Book(6000, "", ""), 0},
        {"ends with tags", Book(6000, "", "[Event \"last\"]\n"), 0},
        {"a placement past the squares", Book(6000, kSpill, ""), 0},
        {"ends in a FEN tag's board", Book(6003, "", ""), 0},
        {"a game too long in the middle", Book(6000, kLong, ""), 0},
        {"full disk", Book(6000, "", ""), kRecordLength * 20000},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        ASSERT_GT(k.text.size(), 300'000u);  // several stretches
        const std::string dir = TempFolder();
        WriteFile(dir + "book.pgn", k.text);
        Outcome lineByLine;
        Outcome stretches;
        ConvertBook(lineByLine, dir, "F000001", true, k.sizeLimit);
        ConvertBook(stretches, dir, "F000002", false, k.sizeLimit);
        ASSERT_FALSE(lineByLine.c.progress.empty());
        EXPECT_EQ(stretches.c.progress, lineByLine.c.progress);
        EXPECT_EQ(stretches.c.result.status, lineByLine.c.result.status);
        EXPECT_EQ(stretches.c.result.reason, lineByLine.c.result.reason);
        EXPECT_EQ(stretches.c.result.games, lineByLine.c.result.games);
        EXPECT_EQ(stretches.c.book.NGames, lineByLine.c.book.NGames);
        EXPECT_EQ(stretches.c.book.GameIndex, lineByLine.c.book.GameIndex);
        EXPECT_TRUE(stretches.c.records == lineByLine.c.records);
        EXPECT_TRUE(stretches.index == lineByLine.index);
        EXPECT_EQ(stretches.c.vet.cells, lineByLine.c.vet.cells);
    }
}

}  // namespace
