#pragma once
// State of the books subsystem, kept in the program block.

#include "books/book.h"
#include "books/search.h"

namespace books {

/// The open book (work file, counts, index, current record) together with
/// the criteria of the last search.
struct BookState : Book {
    /// Criteria lists of the last search (`AndList`, `OrList`).
    Criteria criteria;
    /// Set by a completed search; the criteria command clears it when it
    /// shows the narrowed (or restored) game list.
    bool SearchDone = false;
};

}  // namespace books
