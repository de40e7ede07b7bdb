// A conversion that cannot write its work file (a full disk, a file size
// limit) or read its book keeps what it wrote as a smaller, working book,
// and says so.

#include <gtest/gtest.h>

#include "book_files.h"
#include "books/navigation.h"
#include "tests/support/file_size_limit.h"

using namespace books;
using namespace books_test;

namespace {

using testsupport::FileSizeLimit;

std::string FenBook(int games) {
    std::string text;
    for (int g = 1; g <= games; ++g) {
        text +=
            "[Game " + std::to_string(g) + "]\n" + (g % 2 ? "8/8/8/8/8/8/8/K7 w\n" : "8/8/8/8/8/8/8/k7 b\n");
    }
    return text;
}

std::string PgnBook(int games) {
    std::string text;
    for (int g = 1; g <= games; ++g) {
        text += "[Event \"" + std::to_string(g) + "\"]\n\n1. e4 e5 2. Nf3 Nc6 *\n\n";
    }
    return text;
}

TEST(FullDisk, ConversionKeepsTheGamesWrittenAndSaysWhy) {
    struct Case {
        const char* name;
        std::string text;
        int games;
    };
    const Case cases[] = {{"big.fen", FenBook(20000), 20000}, {"big.pgn", PgnBook(5000), 5000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string dir = TempFolder();
        Converted conv;
        conv.book.BookFile = WriteFile(dir + c.name, c.text);
        const ConvertInput in{dir + "F000001.tmp", settings::Style{}, conv.vet, {}};
        {
            const FileSizeLimit limit(kRecordLength * 3000);
            conv.result = LoadBook(conv.book, in);
        }
        const LoadResult& r = conv.result;
        EXPECT_EQ(r.status, LoadStatus::kStopped);
        EXPECT_TRUE(r.ioFailure);
        EXPECT_NE(r.reason.find("File too large"), std::string::npos) << r.reason;
        ASSERT_GT(r.games, 0);
        EXPECT_LT(r.games, c.games);
        // The part that was written is a book of its own: counts agree and
        // every game in it shows its first position.
        EXPECT_EQ(conv.book.NGames, r.games);
        EXPECT_EQ(static_cast<int64_t>(conv.book.GameIndex.size()), r.games);
        EXPECT_LE(conv.book.NRecords, conv.book.RecordsOnFile());
        const position::BoardShape shape;
        for (const int64_t n : {int64_t{1}, r.games}) {
            const GameView view = ShowGame(conv.book, n, shape);
            EXPECT_FALSE(view.shown.fen.empty()) << n;
            EXPECT_EQ(view.caption.find("Game " + std::to_string(n) + ". (" + std::to_string(n) + " of " +
                                        std::to_string(r.games) + ")"),
                      0u)
                << view.caption;
        }
        EXPECT_EQ(IncompleteBookText(conv.book.BookFile, r), "Only " + std::to_string(r.games) +
                                                                 " games of " + conv.book.BookFile +
                                                                 " could be read (" + r.reason + ").");
    }
}

TEST(FullDisk, NoSpaceAtAllLeavesAnEmptyBook) {
    const std::string dir = TempFolder();
    Converted conv;
    conv.book.BookFile = WriteFile(dir + "small.fen", FenBook(10));
    const ConvertInput in{dir + "F000002.tmp", settings::Style{}, conv.vet, {}};
    LoadResult r;
    {
        const FileSizeLimit limit(0);
        r = LoadBook(conv.book, in);
    }
    conv.book.CloseWorkFile();
    EXPECT_EQ(r.status, LoadStatus::kStopped);
    EXPECT_TRUE(r.ioFailure);
    EXPECT_EQ(r.reason, "cannot write the work file: File too large");
    EXPECT_EQ(r.games, 0);
    EXPECT_EQ(conv.book.NRecords, 0);
    EXPECT_EQ(IncompleteBookText("small.fen", r),
              "Only 0 games of small.fen could be read (cannot write the work file: File too large).");
}

TEST(FullDisk, AFaultInTheBookIsNoFailureToReport) {
    // A collection cut short is read as far as it goes, as before: that is
    // the book, not the disk.
    Converted conv;
    Convert(conv, "short.pbm", std::string("\x05\x00\x01", 3));
    EXPECT_EQ(conv.result.status, LoadStatus::kStopped);
    EXPECT_FALSE(conv.result.ioFailure);
}

}  // namespace
