#pragma once
// The problem as it is published: composers, source, stipulation and the
// rest of what stands around a diagram, read from a book game's tags, and
// the count of men printed under the board.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "position/fairy_board.h"
#include "position/fairy_style.h"
#include "position/vet.h"

namespace position {

/// One line of a legend: "G" = "Grasshopper".
struct LegendEntry {
    std::string letter;
    std::string name;
    bool operator==(const LegendEntry&) const = default;
};

/// What is published with a position. Every field may be empty.
struct ProblemRecord {
    std::vector<std::string> authors;  ///< Composers, in order.
    std::string source;                ///< Magazine, book or tourney.
    std::string date;
    std::string award;        ///< Distinction: "1st Prize", "Comm.".
    std::string stipulation;  ///< As published: "#2", "h#3", "ser-s#7".
    std::string conditions;   ///< Fairy conditions: "Circe Madrasi".
    std::string twins;        ///< "b) bKe4->d3" or the solver's twin text.
    std::vector<LegendEntry> legend;
    std::string solution;
    std::string remarks;
    std::string count;  ///< A count the source names, "(8+9)"; "" for none.

    bool operator==(const ProblemRecord&) const = default;
    /// True when nothing at all is set.
    bool Empty() const { return *this == ProblemRecord{}; }
    /// The authors joined by ", " ... " and ".
    std::string AuthorLine() const;
};

/// A tag of a book game: name and value.
using RecordTag = std::pair<std::string, std::string>;

/// Reads the record from a game's tags (names in any case). The problem
/// tags Author (repeatable, several names split at ";"), Source, Date,
/// Award, Stipulation, Condition, Twins, Solution, Legend ("G=Grasshopper;
/// N=Nightrider"), Remark and Count win; without them White is the author,
/// Site the source, Event the stipulation when it reads as one, and the
/// comment tags of a problem collection (Comm1 to Comm3) are remarks.
/// Values "?" and "" are absent; a date loses its unknown parts
/// ("1990.05.??" gives "1990.05").
ProblemRecord RecordFromTags(const std::vector<RecordTag>& tags);

/// True for a text that reads as a stipulation: an optional kind ("h",
/// "s", "r", "ser-", "hs", "pser-" ...), a goal ("#", "=", "==", "+", "x",
/// "00", "%", "!=") and a number of moves ("2", "2.5", "3 1/2"), or a
/// study's "+" / "=".
bool LooksLikeStipulation(std::string_view text);

/// A stipulation split as the solver's window holds it: "h#2.5" gives
/// "h#" and "2.5". Without a trailing number the moves are "".
std::pair<std::string, std::string> SplitStipulation(std::string_view stipulation);

/// Men per colour. Markers and square text are not men.
struct MenCount {
    int white = 0;
    int black = 0;
    int neutral = 0;
    bool operator==(const MenCount&) const = default;
};

/// Counts the men of a board.
MenCount CountMen(const FairyBoard& board);
/// Counts the men of the position plane by the looks of the style's
/// letters: neutral men through their glyph entries ("~"), markers and
/// square text not counted; a letter with a picture of its own counts for
/// White when upper case and Black when lower case.
MenCount CountMen(const Vet& vet, const FairyStyle& style);

/// "(8+9)", or "(3+11+1n)" with neutral men.
std::string CountText(const MenCount& count);
/// Reads a count as published: "(8+9)", "8+9", "(3+11+1n)"; nothing when
/// the text is not one.
std::optional<MenCount> ParseCount(std::string_view text);

/// The warning when the record names a count the board disagrees with:
/// "The count (8+9) does not match the board (8+8)". "" when it agrees, or
/// the record names none; a count that cannot be read is named as such.
std::string CountWarning(const ProblemRecord& record, const MenCount& board);

/// The common English name of a solver's piece code ("G" Grasshopper,
/// "NAO" Nao ...); "" for one this list does not know.
std::string PieceName(std::string_view code);

/// A legend for the fairy men of a board: one entry per code that is not
/// orthodox, in order of first appearance, named by PieceName (entries
/// with no known name are left out).
std::vector<LegendEntry> LegendFor(const FairyBoard& board);

/// The board the outputs of a record draw: the position plane seen through
/// the style's looks, with the solver's names for fairy men (as YACPDB
/// writes them). Squares no notation can write are taken by their letter's
/// English kind and case, so every man is there.
FairyBoard PublishedBoard(const Vet& vet, const FairyStyle& style, std::string_view dictionaryBase);

}  // namespace position
