#pragma once
// State of the books subsystem, kept in the program block.

#include "books/book.h"
#include "books/position_search.h"
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
    /// The positions found by the last position search, one for each entry
    /// of GameIndex (which then holds each match's game); empty after any
    /// other search. Showing entry n shows the position of match n.
    std::vector<PositionMatch> positionMatches;
};

/// Makes record rec, a position record of the book, current. False when it
/// cannot be read or is not a position.
bool GoToRecord(Book& book, int64_t rec);

/// Narrows the game list to the matches of a position search: an entry for
/// each match, its game's first record. Nothing changes without matches.
void NarrowToMatches(BookState& book, std::vector<PositionMatch> matches);

}  // namespace books
