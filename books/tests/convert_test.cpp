#include <gtest/gtest.h>

#include "book_files.h"
#include "books/convert.h"
#include "books/game_tags.h"
#include "position/play_move.h"
#include "position/problem_record.h"

using namespace books;
using namespace books_test;

namespace {

using Records = std::vector<std::string>;

TEST(LoadPGN, TwoGamesWithTagsAndBlankLines) {
    Converted c;
    Convert(c, "two.pgn",
            "[Event \"A\"]\r\n[Site \"B\"]\r\n\r\n1. e4 e5 2. Nf3 1-0\r\n\r\n"
            "[Event \"C\"]\r\n\r\n1. d4 *\r\n");
    EXPECT_EQ(c.result.status, LoadStatus::kDone);
    const Records expected = {
        Rec('[', 1, "[Event \"A\"]"),
        Rec('[', 1, "[Site \"B\"]"),
        Rec('E', 1, kStart),
        Rec('E', 1, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b - - 0 0"),
        Rec('E', 1, "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w - - 0 0"),
        Rec('E', 1, "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b - - 0 0"),
        Rec('[', 2, "[Event \"C\"]"),
        Rec('E', 2, kStart),
        Rec('E', 2, "rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b - - 0 0"),
        kMarker,
    };
    EXPECT_EQ(c.records, expected);
    EXPECT_EQ(c.book.NGames, 2);
    EXPECT_EQ(c.book.NRecords, 9);
    EXPECT_EQ(c.book.GameIndex, (std::vector<int64_t>{1, 7}));
    EXPECT_EQ(c.book.FullIndex, c.book.GameIndex);
}

TEST(LoadPGN, FenTagWithBlackToMove) {
    Converted c;
    Convert(c, "fen.pgn", "[Event \"F\"]\n[FEN \"4k3/8/8/8/8/8/4P3/4K3 b - - 0 1\"]\n\n1... Kd7 2. e4 *\n");
    const Records expected = {
        Rec('[', 1, "[Event \"F\"]"),
        Rec('E', 1, "4k3/8/8/8/8/8/4P3/4K3 b - - 0 1"),
        Rec('E', 1, "8/3k4/8/8/8/8/4P3/4K3 w - - 0 0"),
        Rec('E', 1, "8/3k4/8/8/4P3/8/8/4K3 b - - 0 0"),
        kMarker,
    };
    EXPECT_EQ(c.records, expected);
}

TEST(LoadPGN, CommentsAndVariationsOverLinesAreSkipped) {
    Converted c;
    Convert(c, "nested.pgn",
            "[Event \"N\"]\n\n1. e4 {a comment (with\na bracket) still} e5 (1... c5 {x\n"
            "y} 2. Nf3) 2. Nf3 $1 *\n");
    const Records expected = {
        Rec('[', 1, "[Event \"N\"]"),
        Rec('E', 1, kStart),
        Rec('E', 1, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b - - 0 0"),
        Rec('E', 1, "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w - - 0 0"),
        Rec('E', 1, "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b - - 0 0"),
        kMarker,
    };
    EXPECT_EQ(c.records, expected);
}

TEST(LoadPGN, EveryChangedSquareReachesTheRecords) {
    // Castling both ways, en passant, promotion, a failed capture that
    // empties a square all the same, and moves that fail.
    const std::vector<std::string> tokens = {
        "e4",  "g5",  "hxg6", "d4",  "d5",    "e5",  "f5",  "exf6",  "Nc6",  "fxg7", "Nf6",   "gxh8=Q",
        "Bg4", "Nf3", "Qd6",  "Be2", "O-O-O", "O-O", "Zz9", "Qxh2+", "Kxh2", "Rxd4", "Qxf8+", "Kd7"};
    std::string movetext;
    for (const std::string& t : tokens) {
        movetext += t + " ";
    }
    Converted c;
    Convert(c, "replay.pgn", "[Event \"R\"]\n\n" + movetext + "\n");

    // The same replay, with the board written out in full after each move.
    position::NotationStyle style;
    position::Vet vet;
    position::Build2(vet, position::kPosition, kStart, style.shape);
    Records expected = {Rec('[', 1, "[Event \"R\"]"), Rec('E', 1, kStart)};
    position::Side side = position::Side::kWhite;
    for (const std::string& t : tokens) {
        if (position::PlayMove(vet, style, side, t).Applied()) {
            const bool black = side == position::Side::kBlack;
            expected.push_back(
                Rec('E', 1, position::VetToFEN(vet, style.shape) + (black ? " w - - 0 0" : " b - - 0 0")));
            side = position::Other(side);
        }
    }
    expected.push_back(kMarker);
    EXPECT_EQ(c.records, expected);
    EXPECT_GT(expected.size(), 20u);
}

TEST(LoadPGN, BookWithoutTagsIsOneGameAndBlankLineRestartsBoard) {
    Converted c;
    Convert(c, "notags.pgn", "1. e4 *\n\n1. d4 *\n");
    const Records expected = {
        Rec('E', 1, kStart),
        Rec('E', 1, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b - - 0 0"),
        Rec('E', 1, kStart),
        Rec('E', 1, "rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b - - 0 0"),
        kMarker,
    };
    EXPECT_EQ(c.records, expected);
    EXPECT_EQ(c.book.NGames, 1);
    EXPECT_EQ(c.book.GameIndex, (std::vector<int64_t>{1}));
}

TEST(LoadPGN, TrailingTagOnlyGameIsDroppedButItsRecordsStay) {
    Converted c;
    Convert(c, "tail.pgn", "[Event \"A\"]\n\n1. e4 *\n\n[Event \"B\"]\n[Site \"S\"]\n");
    EXPECT_EQ(c.book.NGames, 1);
    EXPECT_EQ(c.book.GameIndex, (std::vector<int64_t>{1}));
    EXPECT_EQ(c.book.NRecords, 5);
    EXPECT_EQ(c.records[3], Rec('[', 2, "[Event \"B\"]"));
}

TEST(LoadPGN, UnbalancedBracketDoesNotSwallowLaterGames) {
    Converted c;
    Convert(c, "open.pgn", "[Event \"A\"]\n\n1. e4 {never closed\n\n[Event \"B\"]\n\n1. d4 ) ) *\n");
    ASSERT_EQ(c.book.NGames, 2);
    // Game 1 keeps what came before the bracket; game 2 is replayed.
    EXPECT_EQ(c.records[2], Rec('E', 1, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b - - 0 0"));
    EXPECT_EQ(c.records[5], Rec('E', 2, "rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b - - 0 0"));
    EXPECT_EQ(c.records.back(), kMarker);
}

TEST(LoadPGN, ProgressEveryTenthGame) {
    std::string pgn;
    for (int g = 1; g <= 25; ++g) {
        pgn += "[Event \"" + std::to_string(g) + "\"]\n\n1. e4 *\n\n";
    }
    Converted c;
    Convert(c, "many.pgn", pgn);
    EXPECT_EQ(c.book.NGames, 25);
    EXPECT_EQ(c.progress, (std::vector<int64_t>{10, 20}));
    EXPECT_EQ(ProgressText(20), "20 games");
}

TEST(LoadEPD, OperationsBecomeTagRecords) {
    Converted c;
    Convert(c, "ops.epd",
            "; a comment\n"
            "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 bm e5;  id \"test.1\"; \n"
            "\n"
            "8/8/8/8/8/8/8/8 w\n"
            "*\n");
    const Records expected = {
        Rec('[', 1, "[bm e5]"),
        Rec('[', 1, "[id \"test.1\"]"),
        Rec('E', 1, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 bm e5;  id \"test.1\";"),
        Rec('E', 2, "8/8/8/8/8/8/8/8 w"),
        Rec('E', 3, "*"),
        kMarker,
    };
    EXPECT_EQ(c.records, expected);
    EXPECT_EQ(c.book.NGames, 3);
    EXPECT_EQ(c.book.GameIndex, (std::vector<int64_t>{1, 4, 5}));
}

TEST(LoadFEN, TagsGroupPositionsAndTrailingTagsAreDropped) {
    Converted c;
    Convert(c, "book.fen",
            "[Event \"One\"]\npos1 w\npos2\n{ skipped\n[Event \"Two\"]\n[Site \"S\"]\npos3\n; note\n"
            "[Event \"Three\"]\n");
    const Records expected = {
        Rec('[', 1, "[Event \"One\"]"),
        Rec('E', 1, "pos1 w"),
        Rec('E', 1, "pos2"),
        Rec('[', 2, "[Event \"Two\"]"),
        Rec('[', 2, "[Site \"S\"]"),
        Rec('E', 2, "pos3"),
        Rec('[', 3, "[Event \"Three\"]"),
        kMarker,
    };
    EXPECT_EQ(c.records, expected);
    EXPECT_EQ(c.book.NGames, 2);
    EXPECT_EQ(c.book.NRecords, 7);
    EXPECT_EQ(c.book.GameIndex, (std::vector<int64_t>{1, 4}));
}

TEST(LoadFEN, OnlyTagsKeepsTheOnlyGame) {
    Converted c;
    Convert(c, "tags.txt", "[Event \"X\"]\n");
    EXPECT_EQ(c.book.NGames, 1);
    EXPECT_EQ(c.book.GameIndex, (std::vector<int64_t>{1}));
}

TEST(LoadFEN, EmptyBookHasNoIndex) {
    Converted c;
    Convert(c, "empty.fen", "\n\n");
    EXPECT_EQ(c.book.NGames, 1);
    EXPECT_EQ(c.book.NRecords, 0);
    EXPECT_TRUE(c.book.GameIndex.empty());
    EXPECT_EQ(c.records, Records{kMarker});
}

TEST(LoadFEN, LineEndsAndLongLines) {
    const std::string long200(200, 'x');
    for (const char* end : {"\n", "\r\n", "\r"}) {
        Converted c;
        Convert(c, "ends.fen", std::string("  8/8 w  ") + end + end + long200 + end + "last");
        const Records expected = {Rec('E', 1, "8/8 w"), Rec('E', 1, long200.substr(0, 124)),
                                  Rec('E', 1, "last"), kMarker};
        EXPECT_EQ(c.records, expected) << "line end " << static_cast<int>(end[0]);
    }
}

TEST(LoadFEN, LineEndsAtTheReadersBufferEnd) {
    // The reader takes the file in pieces of 1 MB; a line end pair or a line
    // may straddle two pieces.
    const size_t piece = size_t{1} << 20;
    const std::string first(piece - 1, 'a');
    const std::string across = "b" + std::string(100, 'c') + "d";
    Converted c;
    Convert(c, "edge.fen", first + "\r\n" + std::string(piece - 50, 'e') + "\n" + across + "\r\nlast");
    const Records expected = {Rec('E', 1, first.substr(0, 124)), Rec('E', 1, std::string(124, 'e')),
                              Rec('E', 1, across), Rec('E', 1, "last"), kMarker};
    EXPECT_EQ(c.records, expected);
}

TEST(LoadFEN, ProgressEveryHundredthGame) {
    std::string fen;
    for (int g = 0; g < 250; ++g) {
        fen += "[G]\n8/8/8/8/8/8/8/8\n";
    }
    Converted c;
    Convert(c, "many.fen", fen);
    EXPECT_EQ(c.book.NGames, 250);
    EXPECT_EQ(c.progress, (std::vector<int64_t>{100, 200}));
}

TEST(LoadBook, MissingFilesLeaveAnEmptyBook) {
    Converted c;
    const std::string dir = TempFolder();
    c.book.BookFile = dir + "absent.pgn";
    settings::Style style;
    const ConvertInput in{dir + "F1.tmp", style, c.vet, {}};
    EXPECT_EQ(LoadBook(c.book, in).status, LoadStatus::kNoBookFile);
    EXPECT_EQ(c.book.NGames, 1);
    EXPECT_EQ(c.book.NRecords, 0);
    EXPECT_TRUE(c.book.GameIndex.empty());

    const ConvertInput noWork{dir + "no/such/folder/F1.tmp", style, c.vet, {}};
    c.book.BookFile = WriteFile(dir + "x.epd", "8/8 w - -\n");
    EXPECT_EQ(LoadBook(c.book, noWork).status, LoadStatus::kNoWorkFile);
    EXPECT_EQ(c.book.NGames, 0);
    EXPECT_FALSE(c.book.IsOpen());
}

TEST(FormatOf, ByUpperCasedExtension) {
    EXPECT_EQ(FormatOf("a.pgn"), BookFormat::kPGN);
    EXPECT_EQ(FormatOf("A.EpD"), BookFormat::kEPD);
    EXPECT_EQ(FormatOf("x.PBM"), BookFormat::kPBM);
    EXPECT_EQ(FormatOf("x.fen"), BookFormat::kFEN);
    EXPECT_EQ(FormatOf("pgn"), BookFormat::kFEN);
    EXPECT_EQ(FormatOf("x.pgn.txt"), BookFormat::kFEN);
}

// A problem of the binary format: flags, number of moves, strings by tag
// index, 64 square bytes.
struct Problem {
    int flags = 0;
    int moves = 2;
    std::vector<std::pair<int, std::string>> strings;
    std::string squares = std::string(64, ' ');
};

std::string Pbm(const std::vector<Problem>& problems, size_t cut = std::string::npos) {
    const size_t body = 2 + problems.size() * (4 + 28 + 64);
    std::string strings;
    std::string out;
    out += static_cast<char>((problems.size() - 1) & 255);
    out += static_cast<char>((problems.size() - 1) >> 8);
    for (const Problem& p : problems) {
        out += std::string{'\0', '\0', static_cast<char>(p.flags), static_cast<char>(p.moves)};
        for (int k = 0; k < 7; ++k) {
            std::string text;
            for (const auto& [index, value] : p.strings) {
                if (index == k) {
                    text = value;
                }
            }
            // Every reference points at a length and its text after the problems.
            const size_t at = body + strings.size();
            out += std::string{static_cast<char>(at & 255), static_cast<char>((at >> 8) & 255),
                               static_cast<char>((at >> 16) & 255), '\x7f'};
            strings += static_cast<char>(text.size() & 255);
            strings += static_cast<char>(text.size() >> 8);
            strings += text;
        }
        out += p.squares;
    }
    out += strings;
    return out.substr(0, cut);
}

TEST(LoadPBM, StipulationsStringsAndSquares) {
    struct Case {
        int flags;
        int moves;
        const char* event;
    };
    const Case cases[] = {{1, 2, "h#2"},  {0, 3, "#3"},     {40, 5, "Max Sd#5"}, {16, 2, "=2"},
                          {8, 3, "Sd#3"}, {10, 4, "Ss#4"},  {3, 2, "r#2"},       {24, 2, "Sd=2"},
                          {65, 2, "h#2"}, {36, 7, "Max #7"}};
    std::vector<Problem> problems;
    for (const Case& k : cases) {
        Problem p;
        p.flags = k.flags;
        p.moves = k.moves;
        problems.push_back(p);
    }
    // The first problem: strings and a position with every piece code.
    problems[0].strings = {{0, "Smith"}, {5, "twin"}};
    const std::string codes = "\x21\x22\x23\x24\x25\x26\x2a\x2b\x2c\x2d\x2e\x2f";
    problems[0].squares = codes + std::string(52, ' ');

    Converted c;
    Convert(c, "p.pbm", Pbm(problems));
    EXPECT_EQ(c.result.status, LoadStatus::kDone);
    ASSERT_EQ(c.book.NGames, 10);
    ASSERT_EQ(c.book.GameIndex.size(), 10u);
    EXPECT_EQ(c.records[0], Rec('[', 1, "[Event \"h#2\"]"));
    EXPECT_EQ(c.records[1], Rec('[', 1, "[White \"Smith\"]"));
    EXPECT_EQ(c.records[2], Rec('[', 1, "[Comm2 \"twin\"]"));
    EXPECT_EQ(c.records[3], Rec('E', 1, "RQBNPKkp/nbqr4/8/8/8/8/8/8"));
    for (size_t i = 1; i < std::size(cases); ++i) {
        const int64_t first = c.book.GameIndex[i];
        EXPECT_EQ(c.records[static_cast<size_t>(first - 1)],
                  Rec('[', static_cast<int>(i + 1), std::string("[Event \"") + cases[i].event + "\"]"));
        EXPECT_EQ(c.records[static_cast<size_t>(first)],
                  Rec('E', static_cast<int>(i + 1), "8/8/8/8/8/8/8/8"));
    }
    EXPECT_EQ(c.records.back(), kMarker);
}

TEST(LoadPBM, TagsGiveTheProblemRecord) {
    Problem p;
    p.flags = 1;
    p.moves = 3;
    p.strings = {{0, "A. Bor; B. Cer"}, {1, "Die Schwalbe"}, {4, "Version"}};
    Converted c;
    Convert(c, "r.pbm", Pbm({p}));
    // The tags of the game shown, read from its position record.
    ASSERT_TRUE(c.book.ReadGame(1));
    while (c.book.NextRecord()) {
    }
    EXPECT_EQ(c.book.CurRecord[1], kEntry);
    std::vector<position::RecordTag> tags;
    for (const Tag& tag : CurrentGameTags(c.book)) {
        tags.emplace_back(tag.name, tag.value);
    }
    ASSERT_EQ(tags.size(), 4u);
    const position::ProblemRecord r = position::RecordFromTags(tags);
    EXPECT_EQ(r.authors, (std::vector<std::string>{"A. Bor", "B. Cer"}));
    EXPECT_EQ(r.source, "Die Schwalbe");
    EXPECT_EQ(r.stipulation, "h#3");
    EXPECT_EQ(r.remarks, "Version");
}

TEST(LoadPBM, BadSquareByteStopsWithoutEndMarker) {
    std::vector<Problem> problems(3);
    problems[1].squares[10] = '\0';
    Converted c;
    Convert(c, "bad.pbm", Pbm(problems));
    EXPECT_EQ(c.result.status, LoadStatus::kStopped);
    const Records expected = {Rec('[', 1, "[Event \"#2\"]"), Rec('E', 1, "8/8/8/8/8/8/8/8"),
                              Rec('[', 2, "[Event \"#2\"]")};
    EXPECT_EQ(c.records, expected);
    EXPECT_EQ(c.book.NRecords, 3);
    EXPECT_EQ(c.book.NGames, 3);
    EXPECT_EQ(c.book.GameIndex, (std::vector<int64_t>{1, 3}));
}

TEST(LoadPBM, TruncatedFileKeepsWholeProblems) {
    std::vector<Problem> problems(2);
    problems[0].strings = {{1, "Site"}};
    const std::string whole = Pbm(problems);
    for (const size_t cut : {size_t{0}, size_t{1}, size_t{50}, size_t{2 + 96 + 40}, whole.size() - 3}) {
        Converted c;
        Convert(c, "cut.pbm", whole.substr(0, cut));
        EXPECT_EQ(c.result.status, LoadStatus::kStopped) << cut;
        EXPECT_TRUE(c.records.empty() || c.records.back() != kMarker) << cut;
        EXPECT_EQ(c.book.NRecords, static_cast<int64_t>(c.records.size())) << cut;
    }
}

}  // namespace
