// Pins the converters' output byte for byte: the whole work file (records
// and end marker), the counts and the game index of a few books, as a
// fingerprint taken from a known good build. A change to the writing path
// (buffers, threads, the placement writer) must leave every fingerprint as
// it is; a deliberate change of the output updates them.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "book_files.h"

using namespace books_test;

namespace {

uint64_t Fnv(uint64_t h, std::string_view bytes) {
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001b3ULL;
    }
    return h;
}

std::string ReadAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

std::string SampleGames() {
    return ReadAll(std::string(TEST_DATA_DIR) + "/sample60.pgn");
}

// Games that take every turn of the PGN converter: FEN tags (Black to
// move), castling, en passant, promotion, failing moves, comments and
// variations across lines, carriage returns, a game without tags, an
// unclosed bracket, a trailing game of tags only.
const char* const kOddGames =
    "[Event \"odd 1\"]\r\n[FEN \"r3k2r/1pp2ppp/8/3pP3/8/8/PPP2PPP/R3K2R w KQkq d6 0 1\"]\r\n\r\n"
    "1. exd6 O-O-O 2. O-O-O Rxd6 3. Zz4 Rxd1+ 4. Rxd1 *\r\n\r\n"
    "[Event \"odd 2\"]\n[fen \"8/P6k/8/8/8/8/6Kp/8 b - - 0 1\"]\n\n"
    "1... h1=Q+ 2. Kxh1 Kg6 3. a8=N {a knight (not\n a queen)} Kf5 (3... Kh5\n 4. Nb6) 4. Nb6 *\n\n"
    "1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 {open\n\n[Event \"odd 3\"]\n\n1. d4 ) d5 2. c4 dxc4 *\n\n"
    "[Event \"odd 4\"]\n[FEN \"4k3/8/8/8/8/8/8/4K3 w - - 0 1\"]\n\n"
    "[Event \"tail\"]\n[Site \"only tags\"]\n";

const std::string kFenBook =
    "; a comment\n[Event \"a\"]\nrnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\n"
    "8/8/8/8/8/8/8/8\n\n[Event \"b\"]\n[Site \"c\"]\n4k3/8/8/8/8/8/8/4K3 b - -\r\n"
    "* skipped\n{ skipped\n%skipped\n" +
    std::string(200, 'x') + "\n[Event \"trailing\"]\n";

const char* const kEpdBook =
    "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 bm e5; id \"e4\";\n"
    "4k3/8/8/8/8/8/8/4K3 w - - id \"bare kings\";; c0 \"after an empty operation\";\n"
    "* not skipped in EPD\n;skipped\nshort line\n";

struct Sample {
    const char* name;
    const char* file;
    std::string bytes;
    int rows;
    int cols;
    const char* startPos;  // nullptr: the standard one
    uint64_t expected;
};

TEST(Fingerprint, WorkFileCountsAndIndexStayByteForByte) {
    const Sample samples[] = {
        {"sixty generated games", "games.pgn", SampleGames(), 8, 8, nullptr, 0x9ba78d34f9c7bcbcULL},
        {"odd games", "odd.pgn", kOddGames, 8, 8, nullptr, 0x9187741de0c90edbULL},
        {"generated games on 10 x 10", "wide.pgn", SampleGames(), 10, 10,
         "rnbqkbnrrr/pppppppppp/10/10/10/10/10/10/PPPPPPPPPP/RNBQKBNRRR", 0xef90215663a8e7e0ULL},
        {"odd games on 8 x 9", "tall.pgn", kOddGames, 9, 8, nullptr, 0x4ed9f1c289e6a5e9ULL},
        {"FEN book", "b.fen", kFenBook, 8, 8, nullptr, 0xcaf155ea03c59591ULL},
        {"EPD book", "b.epd", kEpdBook, 8, 8, nullptr, 0x07755dca3ce0815dULL},
    };
    for (const Sample& s : samples) {
        settings::Style style;
        style.BORDERHEIGHT = static_cast<int16_t>(s.rows);
        style.BORDERWIDTH = static_cast<int16_t>(s.cols);
        if (s.startPos != nullptr) {
            style.STARTPOS = s.startPos;
        }
        Converted c;
        Convert(c, s.file, s.bytes, style);
        ASSERT_EQ(c.result.status, books::LoadStatus::kDone) << s.name;
        const std::string work = ReadAll(c.book.WorkPath());
        ASSERT_FALSE(work.empty()) << s.name;
        std::ostringstream counts;
        counts << c.book.NGames << ' ' << c.book.NRecords;
        for (const int64_t first : c.book.GameIndex) {
            counts << ' ' << first;
        }
        EXPECT_EQ(c.book.FullIndex, c.book.GameIndex) << s.name;
        const uint64_t h = Fnv(Fnv(0xcbf29ce484222325ULL, work), counts.str());
        char hex[32];
        std::snprintf(hex, sizeof hex, "0x%016llxULL", static_cast<unsigned long long>(h));
        EXPECT_EQ(h, s.expected) << s.name << ": fingerprint " << hex << ", " << work.size() / 132
                                 << " records on file, counts " << counts.str().substr(0, 60);
    }
}

}  // namespace
