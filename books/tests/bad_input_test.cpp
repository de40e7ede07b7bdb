// Any bytes as a book: the conversion ends, keeps what it converted, and
// the converted book can be browsed and searched.

#include <gtest/gtest.h>

#include <random>

#include "book_files.h"
#include "books/navigation.h"
#include "books/search.h"

using namespace books;
using namespace books_test;

namespace {

const char* const kExtensions[] = {".pgn", ".epd", ".fen", ".pbm"};
constexpr char kText[] = "e4 Nf3 O-O ({[]}) \"x\";*%\n\r1.0-1$";

// What every converted book must satisfy, however bad its file was.
void CheckBook(Converted& c, const std::string& what) {
    SCOPED_TRACE(what);
    Book& book = c.book;
    const int64_t onFile = book.RecordsOnFile();
    ASSERT_TRUE(onFile == book.NRecords || onFile == book.NRecords + 1);
    const bool marked = onFile == book.NRecords + 1;
    EXPECT_EQ(marked, c.result.status == LoadStatus::kDone);
    if (marked) {
        EXPECT_EQ(c.records.back(), kMarker);
    }
    for (size_t i = 0; i < book.GameIndex.size(); ++i) {
        ASSERT_GE(book.GameIndex[i], 1);
        ASSERT_LE(book.GameIndex[i], book.NRecords + 1);
        if (i > 0) {
            ASSERT_GE(book.GameIndex[i], book.GameIndex[i - 1]);
        }
    }
    const position::BoardShape shape;
    const int64_t games = std::min<int64_t>(book.NGames, 50);
    for (int64_t n = 1; n <= games + 1; ++n) {
        ShowGame(book, n, shape);
        StepPosition(book, 3);
        StepPosition(book, 1);
        ShowRecord(book, shape);
    }
    Search(book, ParseCriteria({"a+b", "1-3", "", "2", "Ke1, e4"}, shape));
}

TEST(BadInput, RandomBytesInEveryFormat) {
    std::mt19937 rng(2024);
    for (int round = 0; round < 40; ++round) {
        std::string bytes(static_cast<size_t>(rng() % 20000), '\0');
        const int flavour = round % 4;
        for (char& b : bytes) {
            const unsigned r = rng();
            switch (flavour) {
                case 0:  // anything
                    b = static_cast<char>(r);
                    break;
                case 1:  // mostly text with line ends and brackets
                    b = kText[r % (sizeof kText - 1)];
                    break;
                case 2:  // NUL bytes and line ends
                    b = r % 3 == 0 ? '\n' : '\0';
                    break;
                default:  // square bytes of problems, some bad
                    b = static_cast<char>(r % 7 == 0 ? r : 32 + r % 16);
                    break;
            }
        }
        for (const char* ext : kExtensions) {
            Converted c;
            Convert(c, std::string("junk") + ext, bytes);
            CheckBook(c, "round " + std::to_string(round) + ext);
        }
    }
}

TEST(BadInput, TenMegabyteLine) {
    std::string pattern = "e4 Nf3 ) {a( b} $1 Kxe8+ 0-0-0 \"q ";
    std::string line;
    while (line.size() < 10'000'000) {
        line += pattern;
    }
    const std::string oneToken(10'000'000, 'x');
    for (const std::string* text : {static_cast<const std::string*>(&line), &oneToken}) {
        for (const char* ext : kExtensions) {
            Converted c;
            Convert(c, std::string("long") + ext, "[Event \"L\"]\n" + *text + "\n[Event \"after\"]\n8/8 w\n");
            CheckBook(c, std::string("long line ") + ext);
            if (std::string(ext) != ".pbm") {
                EXPECT_EQ(c.result.status, LoadStatus::kDone) << ext;
            }
        }
    }
}

TEST(BadInput, UnbalancedBracesAcrossTheBook) {
    for (const char* movetext : {"{{{{ 1. e4", "))))) 1. e4", "((( 1. e4 }}} ))) e5", "{ { }"}) {
        Converted c;
        Convert(c, "braces.pgn",
                std::string("[Event \"A\"]\n\n") + movetext + "\n\n[Event \"B\"]\n\n1. d4 *\n");
        CheckBook(c, movetext);
        EXPECT_EQ(c.result.status, LoadStatus::kDone);
        ASSERT_EQ(c.book.NGames, 2) << movetext;
        // The second game is replayed whatever the first left open.
        EXPECT_EQ(c.records[c.records.size() - 2],
                  Rec('E', 2, "rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b - - 0 0"))
            << movetext;
    }
}

TEST(BadInput, ProblemCountLargerThanTheFile) {
    // 65536 problems announced, none there.
    Converted c;
    Convert(c, "count.pbm", std::string("\xff\xff", 2));
    EXPECT_EQ(c.result.status, LoadStatus::kStopped);
    EXPECT_EQ(c.book.NGames, 65536);
    EXPECT_EQ(c.book.NRecords, 0);
    CheckBook(c, "count");
}

}  // namespace
