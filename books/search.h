#pragma once
// Narrowing the open book to the games that meet the search criteria:
// words in the tags, numbers of men, pieces on squares.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "books/book.h"
#include "position/vet.h"

namespace books {

/// What a criterion tests.
enum CriterionKind : int {
    kWord = 0,      ///< A word in the tags (upper case).
    kWhiteMen = 1,  ///< Number of White men, as a number set.
    kBlackMen = 2,  ///< Number of Black men.
    kAllMen = 3,    ///< Number of all men.
    kPieceOn = 4,   ///< A piece letter and its square index in four digits.
};

/// One criterion: its kind and pattern.
struct Criterion {
    int kind = kWord;
    std::string text;
    bool operator==(const Criterion&) const = default;
};

/// Most criteria one list holds.
inline constexpr size_t kMaxCriteria = 30;

/// The two criteria lists: every AND criterion must hold, and at least one
/// OR criterion when there are any.
struct Criteria {
    std::vector<Criterion> AndList;
    std::vector<Criterion> OrList;
    bool Empty() const { return AndList.empty() && OrList.empty(); }
};

/// Box indexes of the search window's five text boxes.
enum CriteriaBox : int { kWordsBox = 0, kWhiteBox = 1, kBlackBox = 2, kGlobalBox = 3, kNotationsBox = 4 };

/// Reads the five box texts into the criteria lists. Words and notations
/// are split at blanks, "+" and "," (not inside double quotes); a word after
/// "+" is an AND criterion, any other an OR criterion. Men criteria are
/// always AND criteria. A list stops at 30 criteria.
Criteria ParseCriteria(const std::array<std::string, 5>& boxes, const position::BoardShape& shape);

/// Numbers and ranges ("1-6, 9") as their merged ranges, "#0001-0006#0009-0009":
/// the size of what was typed, never one entry per number. Numbers of 0 or
/// less add nothing; a number beyond the 16-bit range is ignored.
std::string ExpandNumbers(std::string_view t);

/// The fields a game is tested on, from its tags and first position.
struct GameFieldsResult {
    std::string ids;     ///< Texts of the leading tag records, trimmed, upper case, joined.
    std::string white;   ///< "#" and the number of White men in four digits.
    std::string black;   ///< The same for Black.
    std::string all;     ///< The same for all men.
    std::string pieces;  ///< Each piece letter and its square index in four digits.
};

/// Computes the fields of the game whose first record is recNo. All stay
/// empty when the record cannot be read; only ids is filled when the tags
/// are not followed by a position record.
GameFieldsResult GameFields(const Book& book, int64_t recNo);

/// How a search ended.
enum class SearchOutcome {
    kAll,       ///< No criteria: the whole book is back.
    kNotFound,  ///< No game matched; the game list is unchanged.
    kFound,     ///< The game list is narrowed to the games found.
};

/// Result of a search: the outcome and the positions (from 1) in the whole
/// book of the games now in the game list.
struct SearchResult {
    SearchOutcome outcome = SearchOutcome::kAll;
    std::vector<int64_t> positions;
};

/// Reports progress every 100 games: games found, games examined so far
/// (i / 6 in six-character steps of the index), games in the whole book.
using SearchProgressFn = std::function<void(int64_t found, int64_t examined, int64_t total)>;

/// The progress label's text: "3 found. Searching 200 of 1000".
std::string SearchProgressText(int64_t found, int64_t examined, int64_t total);

/// Tests every game of the whole book (FullIndex) against the criteria and
/// sets GameIndex to the games found (to the whole book when there are no
/// criteria); leaves it when nothing is found. The caller then sets NGames
/// to the size of GameIndex and shows game 1.
SearchResult Search(Book& book, const Criteria& criteria, const SearchProgressFn& progress = {});

}  // namespace books
