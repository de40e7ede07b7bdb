#pragma once
// The tags of the game whose record is current, as a problem record reads
// them.

#include <vector>

#include "books/book.h"
#include "books/book_export.h"

namespace books {

/// The game-number field of the current record ("     3"); "" when no
/// record is current.
std::string CurrentGameField(const Book& book);

/// The tag records of the current record's game, in book order, read
/// without moving the current record. None when no book is open.
std::vector<Tag> CurrentGameTags(const Book& book);

}  // namespace books
