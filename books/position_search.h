#pragma once
// Finding a position in the open book: every position of every game (or
// each game's first), matched exactly, partially, mirrored, with colours
// reversed or shifted; and finding games whose first positions repeat
// within a book (duplicates) or appear in another book (anticipations).

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "books/book.h"
#include "books/position_index.h"
#include "books/position_match.h"

namespace books {

/// The find options: how to match, and whether only each game's first
/// position (the diagram of a problem) is looked at.
struct FindOptions : MatchOptions {
    bool first = false;
    /// A book of so many records or more is walked by two threads, each
    /// over half of it; the second keeps at most keptMatches matches (in
    /// memory, to be reported in order) and leaves the rest to the first.
    int64_t twoWalkersFrom = int64_t{1} << 16;
    size_t keptMatches = size_t{1} << 20;
};

/// One match: the game (its place in the whole book, from 1), the position
/// within the game (from 1), its record number and how it matched
/// ("exact", "mirror", "colours", "shift+2,-1", ...).
struct PositionMatch {
    int64_t game = 0;
    int64_t position = 0;
    int64_t record = 0;
    std::string how;
};

/// Told of each match in book order; returning false stops the search.
using MatchFn = std::function<bool(const PositionMatch&)>;
/// Told now and then of the records (or games) looked at out of all;
/// returning false stops the search.
using FindProgressFn = std::function<bool(int64_t done, int64_t total)>;

/// How a search ended.
enum class FindStatus {
    kDone,      ///< every position was looked at
    kStopped,   ///< stopped by the caller
    kNoMen,     ///< the position searched has no men
    kTooLarge,  ///< the position searched has men beyond the book's board
};

struct FindResult {
    FindStatus status = FindStatus::kDone;
    int64_t matches = 0;
    bool indexed = false;  ///< answered from the index
};

/// The message for a search that could not run (kNoMen, kTooLarge); empty
/// otherwise.
std::string FindStatusText(FindStatus status);

/// Finds the position written in text (a FEN placement) in the book. An
/// exact search (with mirror and colours too) uses the index when one is
/// given and ready, else every record is read.
FindResult FindPositions(const Book& book, const position::BoardShape& shape, std::string_view text,
                         const FindOptions& options, const MatchFn& onMatch,
                         const PositionIndex* index = nullptr, const FindProgressFn& progress = {});

/// Calls fn(game, record, text) with the whole text of each game's first
/// position record, in game order; games without a position are passed
/// over. fn returns false to stop.
void ForEachFirstPosition(const Book& book,
                          const std::function<bool(int64_t game, int64_t record, std::string_view text)>& fn);

/// Groups of two or more games whose first positions have equal placements
/// (also mirrored or with colours reversed when asked), each ascending, the
/// groups in the order of their first game.
std::vector<std::vector<int64_t>> FindDuplicates(const Book& book, const position::BoardShape& shape,
                                                 bool mirror, bool colours);

/// For each game of book with any, in order: the games of other whose first
/// position equals its first position (partial: holds all its men).
struct Anticipation {
    int64_t game = 0;
    std::vector<int64_t> others;
};
std::vector<Anticipation> FindAnticipations(const Book& book, const Book& other,
                                            const position::BoardShape& shape, bool partial);

}  // namespace books
