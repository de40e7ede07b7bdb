#include "books/game_tags.h"

#include <algorithm>

namespace books {

std::string CurrentGameField(const Book& book) {
    if (!book.IsOpen() || book.CurRecNo < 1 || book.CurRecord.size() < 2 + kFieldLength) {
        return "";
    }
    return book.CurRecord.substr(2, kFieldLength);
}

std::vector<Tag> CurrentGameTags(const Book& book) {
    std::vector<Tag> tags;
    const std::string field = CurrentGameField(book);
    if (field.empty()) {
        return tags;
    }
    // The records of a game lie together: walk back to its first one.
    std::string record;
    for (int64_t r = book.CurRecNo; r >= 1; --r) {
        if (!book.ReadRecord(r, record) || record.compare(2, kFieldLength, field) != 0) {
            break;
        }
        if (record[1] == kTag) {
            if (auto tag = ParseTag(std::string_view(record).substr(2 + kFieldLength))) {
                tags.push_back(std::move(*tag));
            }
        }
    }
    std::reverse(tags.begin(), tags.end());
    return tags;
}

}  // namespace books
