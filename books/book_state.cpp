#include "books/book_state.h"

namespace books {

bool GoToRecord(Book& book, int64_t rec) {
    std::string record;
    if (rec < 1 || rec > book.NRecords || !book.ReadRecord(rec, record) || record[1] != kEntry) {
        return false;
    }
    book.CurRecord = record;
    book.CurRecNo = rec;
    return true;
}

void NarrowToMatches(BookState& book, std::vector<PositionMatch> matches) {
    if (matches.empty()) {
        return;
    }
    book.GameIndex.clear();
    for (const PositionMatch& m : matches) {
        const size_t g = static_cast<size_t>(m.game - 1);
        book.GameIndex.push_back(g < book.FullIndex.size() ? book.FullIndex[g] : 0);
    }
    book.positionMatches = std::move(matches);
    book.SearchDone = true;
}

}  // namespace books
