// Converts a book as Open Book does and keeps the work file, printing the
// counts and a fingerprint of the game index, so that a script can compare
// the work file and the index with those of an earlier build.
//
//   books_convert_bench BOOK WORKFILE

#include <cstdio>

#include "books/book_state.h"
#include "books/convert.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: books_convert_bench BOOK WORKFILE\n");
        return 2;
    }
    settings::Style style;
    position::Vet vet;
    books::BookState book;
    book.BookFile = argv[1];
    const books::ConvertInput in{argv[2], style, vet, {}};
    const books::LoadResult result = books::LoadBook(book, in);
    if (result.status != books::LoadStatus::kDone) {
        std::fprintf(stderr, "conversion failed: %s\n", result.reason.c_str());
        return 1;
    }
    // FNV-1a over the index entries as decimal text, one blank before each.
    uint64_t h = 0xcbf29ce484222325ULL;
    char text[32];
    for (const int64_t first : book.FullIndex) {
        const int len = std::snprintf(text, sizeof text, " %lld", static_cast<long long>(first));
        for (int i = 0; i < len; ++i) {
            h = (h ^ static_cast<unsigned char>(text[i])) * 0x100000001b3ULL;
        }
    }
    std::printf("games %lld records %lld index %016llx\n", static_cast<long long>(book.NGames),
                static_cast<long long>(book.NRecords), static_cast<unsigned long long>(h));
    return 0;
}
