// Each book format (the first byte chooses PGN, EPD, FEN or PBM; the second
// a board shape), converted into a work file, then stepped through game by
// game and position by position, then searched with fuzzed criteria (the
// five boxes, on the lines of a counted part before the book).

#include <array>

#include "books/book_state.h"
#include "books/convert.h"
#include "books/navigation.h"
#include "books/search.h"
#include "fuzz_support.h"
#include "settings/style.h"

namespace {

// Shows a game and steps through its positions as the book panel's buttons do.
void Browse(books::Book& book, int64_t n, const position::BoardShape& shape) {
    const books::GameView view = books::ShowGame(book, n, shape);
    (void)view;
    for (int index : {2, 2, 3, 1, 2, 1, 1}) {
        if (books::StepPosition(book, index)) {
            (void)books::ShowRecord(book, shape);
        }
    }
    (void)books::GameCaption(book, n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static constexpr const char* kExtensions[] = {".pgn", ".epd", ".fen", ".pbm"};
    fuzz::Input in(data, size);
    const char* extension = kExtensions[in.Byte() % 4];
    const position::NotationStyle notation = fuzz::Shape(in.Byte() % 3);
    const std::string_view criteria = in.Take(in.Byte());
    const std::string_view bookBytes = in.Rest();

    settings::Style style;
    style.BORDERHEIGHT = static_cast<int16_t>(notation.shape.rows);
    style.BORDERWIDTH = static_cast<int16_t>(notation.shape.cols);
    style.PIECESLIST = notation.shape.piecesList;
    style.ENGLISHNOTATION = notation.englishNotation;
    if (notation.shape.rows != 8 || notation.shape.cols != 8) {
        style.STARTPOS = "";
    }

    const std::string& dir = fuzz::ScratchFolder();
    books::BookState book;
    book.BookFile = dir + "book" + extension;
    fuzz::WriteFile(book.BookFile, bookBytes);
    position::Vet vet;
    const books::ConvertInput convert{dir + "F000001.tmp", style, vet, {}};
    const books::LoadResult loaded = books::LoadBook(book, convert);
    if (loaded.status == books::LoadStatus::kNoWorkFile || loaded.status == books::LoadStatus::kNoBookFile) {
        return 0;
    }
    // A collection that stops early keeps the count its header gave, more
    // than the games indexed; navigation must cope with both.

    const position::BoardShape& shape = notation.shape;
    for (int64_t n = 1; n <= book.NGames && n <= 8; ++n) {
        Browse(book, n, shape);
    }
    if (book.NGames > 8) {
        Browse(book, book.NGames, shape);
    }
    // Past either end, as a stale scroll bar would ask.
    Browse(book, 0, shape);
    Browse(book, book.NGames + 1, shape);

    std::array<std::string, 5> boxes;
    fuzz::Input lines(reinterpret_cast<const uint8_t*>(criteria.data()), criteria.size());
    for (std::string& box : boxes) {
        box = std::string(lines.Line());
    }
    const books::Criteria parsed = books::ParseCriteria(boxes, shape);
    fuzz::Check(parsed.AndList.size() <= books::kMaxCriteria && parsed.OrList.size() <= books::kMaxCriteria,
                "criteria lists stay within their size");
    const books::SearchResult found = books::Search(book, parsed);
    if (found.outcome == books::SearchOutcome::kFound) {
        book.NGames = static_cast<int64_t>(book.GameIndex.size());
        Browse(book, 1, shape);
        Browse(book, book.NGames, shape);
    }
    book.CloseWorkFile();
    return 0;
}
