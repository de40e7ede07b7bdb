#include "books/add_to_book.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "book_files.h"

using namespace books;
using namespace books_test;

namespace {

using Lines = std::vector<std::string>;

const std::string kFirstW = kStart + " w - - 0 0";
const std::string kE4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR";
const std::string kE5 = "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR";
const std::string kNf3 = "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R";

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TagTexts Tags(std::initializer_list<std::pair<int, const char*>> set) {
    TagTexts tags;
    for (const auto& [box, text] : set) {
        tags[box] = text;
    }
    return tags;
}

// The placement of a record's text (game number and kind dropped).
std::string PlacementOf(const std::string& record) {
    const std::string text = record.substr(8);
    return text.substr(0, text.find(' '));
}

TEST(NewGameText, BookLines) {
    const position::NotationStyle style;
    struct Case {
        const char* what;
        bool pgn;
        TagTexts tags;
        Lines history;
        Lines lines;
    };
    const Case cases[] = {
        {"PGN from the start position: no SetUp, empty boxes give no tag, '*' without a result",
         true,
         Tags({{1, "Home"}, {3, "Black player"}}),
         {kFirstW, kE4 + " b - - 0 0", kE5 + " w - - 0 0", kNf3 + " b - - 0 0"},
         {"", "[Site \"Home\"]", "[Black \"Black player\"]", "", "1.e4 e5 2.Nf3  *"}},
        {"PGN with Black to move first, with its result",
         true,
         Tags({{kResultBox, "0-1"}}),
         {kE4 + " b - - 0 0", kE5 + " w - - 0 0", kNf3 + " b - - 0 0"},
         {"", "[Result \"0-1\"]", "[SetUp \"1\"]", "[FEN \"" + kE4 + " b - - 0 0\"]", "",
          "1...e5 2.Nf3  0-1"}},
        {"PGN from lines with a tally: the tally is no part of the position",
         true,
         {},
         {"(16x16)" + kFirstW, "(16x16)" + kE4 + " b - - 0 0"},
         {"", "", "1.e4  *"}},
        {"PGN from a tallied position that is not the start: the FEN tag carries no tally",
         true,
         {},
         {"(16x16)" + kE4 + " b - - 0 0", "(16x16)" + kE5 + " w - - 0 0"},
         {"", "[SetUp \"1\"]", "[FEN \"" + kE4 + " b - - 0 0\"]", "", "1...e5  *"}},
        {"FEN: tags (a line break typed becomes a blank), an empty line, the lines as they are",
         false,
         Tags({{0, "Club\nA"}, {7, "Alpha"}}),
         {kStart, "(16x16)" + kE4 + " b - - 0 0"},
         {"", "[Event \"Club A\"]", "[Style \"Alpha\"]", "", kStart, "(16x16)" + kE4 + " b - - 0 0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const NewGame game = c.pgn ? PGNGame(c.tags, c.history, style) : FENGame(c.tags, c.history);
        EXPECT_EQ(game.lines, c.lines);
    }
}

TEST(NewGameText, MoveLinesBreakAfterTheMovePassingSeventyCharacters) {
    // Knights out and back, twenty times.
    const std::string out = "rnbqkbnr/pppppppp/8/8/8/5N2/PPPPPPPP/RNBQKB1R";
    const std::string both = "rnbqkb1r/pppppppp/5n2/8/8/5N2/PPPPPPPP/RNBQKB1R";
    const std::string back = "rnbqkb1r/pppppppp/5n2/8/8/8/PPPPPPPP/RNBQKBNR";
    Lines history = {kFirstW};
    for (int i = 0; i < 20; ++i) {
        history.insert(history.end(), {out, both, back, kStart});
    }
    const NewGame game = PGNGame({}, history, position::NotationStyle{});
    const Lines moves(game.lines.begin() + 2, game.lines.end());
    ASSERT_GE(moves.size(), 4u);
    std::string joined;
    for (size_t i = 0; i + 1 < moves.size(); ++i) {
        const std::string& line = moves[i];
        SCOPED_TRACE(line);
        EXPECT_GT(line.size(), kMoveLineLength);
        ASSERT_EQ(line.back(), ' ');
        // Without its last move the line was not too long yet.
        EXPECT_LE(line.find_last_of(' ', line.size() - 2) + 1, kMoveLineLength);
        joined += line;
    }
    ASSERT_GE(moves.back().size(), 3u);
    EXPECT_EQ(moves.back().substr(moves.back().size() - 3), "  *");
    joined += moves.back().substr(0, moves.back().size() - 2);

    std::string expected;
    for (int n = 1; n <= 40; ++n) {
        expected += std::to_string(n) + (n % 2 == 1 ? ".Nf3 Nf6 " : ".Ng1 Ng8 ");
    }
    EXPECT_EQ(joined, expected);
}

// A book converted in a folder of its own, ready to be added to.
struct OpenBook {
    Converted c;
    std::string path;

    OpenBook(const std::string& name, const std::string& bytes) {
        Convert(c, name, bytes);
        path = c.book.BookFile;
    }
};

TEST(AddToBook, NewGameIsShownAndReadBackAsTheBookHoldsIt) {
    const Lines history = {kFirstW, kE4 + " b - - 0 0", kE5 + " w - - 0 0", kNf3 + " b - - 0 0"};
    struct Case {
        const char* name;
        std::string bytes;
        std::string appended;
        int64_t records;  // records before the new game
    };
    const Case cases[] = {
        {"one.pgn", "[Event \"A\"]\r\n\r\n1. d4 *\r\n",
         "\r\n[Event \"Club\"]\r\n[Result \"1-0\"]\r\n\r\n1.e4 e5 2.Nf3  1-0\r\n", 3},
        {"one.fen", "[Event \"A\"]\n" + kE4 + "\n",
         "\n[Event \"Club\"]\n[Result \"1-0\"]\n\n" + kFirstW + "\n" + kE4 + " b - - 0 0\n" + kE5 +
             " w - - 0 0\n" + kNf3 + " b - - 0 0\n",
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenBook open(c.name, c.bytes);
        BookState& book = open.c.book;
        ASSERT_EQ(book.NRecords, c.records);
        ASSERT_EQ(book.NGames, 1);

        const AddResult result =
            AddToBook(book, Tags({{0, "Club"}, {kResultBox, "1-0"}}), history, position::NotationStyle{});
        ASSERT_TRUE(result.ok()) << result.reason;
        EXPECT_EQ(ReadAll(open.path), c.bytes + c.appended);

        EXPECT_EQ(book.NGames, 2);
        EXPECT_EQ(book.NRecords, c.records + 6);
        EXPECT_EQ(book.GameIndex, (std::vector<int64_t>{1, c.records + 1}));
        EXPECT_EQ(book.FullIndex, book.GameIndex);
        const Lines records = AllRecords(book);
        const Lines added(records.begin() + c.records, records.end());
        EXPECT_EQ(added, (Lines{Rec('[', 2, "[Event \"Club\"]"), Rec('[', 2, "[Result \"1-0\"]"),
                                Rec('E', 2, history[0]), Rec('E', 2, history[1]), Rec('E', 2, history[2]),
                                Rec('E', 2, history[3]), kMarker}));

        // Opened again, the book gives the same game with the same positions.
        Converted again;
        again.book.BookFile = open.path;
        const ConvertInput in{open.path + ".tmp", settings::Style{}, again.vet, {}};
        ASSERT_EQ(LoadBook(again.book, in).status, LoadStatus::kDone);
        EXPECT_EQ(again.book.NGames, 2);
        const Lines reread = AllRecords(again.book);
        Lines placements;
        for (int64_t r = again.book.GameIndex.at(1) + 2; r <= again.book.NRecords; ++r) {
            placements.push_back(PlacementOf(reread[r - 1]));
        }
        EXPECT_EQ(placements, (Lines{kStart, kE4, kE5, kNf3}));
    }
}

TEST(AddToBook, NumbersAndIndexes) {
    const Lines history = {kStart};
    {
        SCOPED_TRACE("a narrowed game list: the game is numbered after the whole book and listed last");
        OpenBook open("three.fen", "[Event \"1\"]\n" + kStart + "\n[Event \"2\"]\n" + kE4 +
                                       "\n[Event \"3\"]\n" + kE5 + "\n");
        BookState& book = open.c.book;
        book.GameIndex = {3};
        book.NGames = 1;
        ASSERT_TRUE(AddToFEN(book, {}, history).ok());
        EXPECT_EQ(book.NGames, 2);
        EXPECT_EQ(book.GameIndex, (std::vector<int64_t>{3, 7}));
        EXPECT_EQ(book.FullIndex, (std::vector<int64_t>{1, 3, 5, 7}));
        ASSERT_TRUE(book.ReadGame(2));
        EXPECT_EQ(book.CurRecord.substr(2, 6), GameField(4));
    }
    {
        SCOPED_TRACE("a last line without a line break is ended first");
        OpenBook open("open.fen", kStart + "\n" + kE4);
        ASSERT_TRUE(AddToFEN(open.c.book, Tags({{0, "X"}}), history).ok());
        EXPECT_EQ(ReadAll(open.path), kStart + "\n" + kE4 + "\n\n[Event \"X\"]\n\n" + kStart + "\n");
    }
}

// Book file, counts, indexes and the work file up to the end marker.
struct Snapshot {
    std::string bytes;
    int64_t games, records;
    std::vector<int64_t> index, full;
    Lines work;

    static Snapshot Of(const OpenBook& open) {
        const BookState& book = open.c.book;
        Lines work = AllRecords(book);
        work.resize(static_cast<size_t>(book.NRecords + 1));
        return {ReadAll(open.path), book.NGames, book.NRecords, book.GameIndex, book.FullIndex, work};
    }
    bool operator==(const Snapshot&) const = default;
};

TEST(AddToBook, FailuresLeaveBookAndStateAsTheyWere) {
    const Lines history = {kFirstW, kE4 + " b - - 0 0"};
    const std::string bytes = "[Event \"A\"]\r\n\r\n1. d4 *\r\n";
    {
        SCOPED_TRACE("the book file has gone: not made again");
        OpenBook open("gone.pgn", bytes);
        std::filesystem::remove(open.path);
        const Snapshot before = Snapshot::Of(open);
        EXPECT_EQ(AddToBook(open.c.book, {}, history, {}).status, AddStatus::kBookNotOpened);
        EXPECT_FALSE(std::filesystem::exists(open.path));
        EXPECT_TRUE(Snapshot::Of(open) == before);
    }
    {
        SCOPED_TRACE("writing fails at once");
        OpenBook open("full.pgn", bytes);
        const Snapshot before = Snapshot::Of(open);
        open.c.book.BookFile = "/dev/full";
        EXPECT_EQ(AddToPGN(open.c.book, {}, history, {}).status, AddStatus::kBookNotWritten);
        EXPECT_TRUE(Snapshot::Of(open) == before);
    }
    {
        SCOPED_TRACE("no work file open, or not a FEN or PGN book: the book is not touched");
        OpenBook open("closed.pgn", bytes);
        open.c.book.CloseWorkFile();
        EXPECT_EQ(AddToPGN(open.c.book, {}, history, {}).status, AddStatus::kNoWorkFile);
        EXPECT_EQ(ReadAll(open.path), bytes);
        OpenBook epd("other.epd", bytes);
        EXPECT_EQ(AddToBook(epd.c.book, {}, history, {}).status, AddStatus::kNotABook);
        EXPECT_EQ(ReadAll(epd.path), bytes);
    }
}

TEST(AddToBook, WriteFailingHalfwayCutsTheBookBack) {
    // A long comment makes the book larger than its work file, so that a
    // file size limit just above the book's size stops the book's append
    // part of the way while the work file is still written.
    const std::string bytes = ";" + std::string(20000, 'x') + "\n[Event \"A\"]\n" + kStart + "\n";
    OpenBook open("limit.fen", bytes);
    const Snapshot before = Snapshot::Of(open);

    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit limited = old;
    limited.rlim_cur = bytes.size() + 10;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const AddResult result = AddToFEN(open.c.book, Tags({{0, "Limited"}}), {kStart, kE4});
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(result.status, AddStatus::kBookNotWritten);
    EXPECT_TRUE(Snapshot::Of(open) == before);
}

}  // namespace
