#pragma once
// Walking an open book game by game for export: which games, which of their
// positions, the names of the files written, the index of them, the style
// switches of Style tags, and the layout of diagram sheets. Painting and
// writing files belong to the caller.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "books/book.h"
#include "position/vet.h"
#include "settings/style.h"

namespace books {

/// Which positions of each game give a diagram.
enum class PositionChoice {
    kFirst,  ///< The game's first position (for a problem, the problem).
    kLast,   ///< Its last position.
    kAll,    ///< Every position, in order.
};

/// "first", "last" or "all"; nothing for any other text.
std::optional<PositionChoice> ParsePositionChoice(std::string_view text);
/// The word of a choice, as ParsePositionChoice reads it.
const char* PositionChoiceName(PositionChoice choice);

/// Games from first to last (1-based, both included), in the book's order.
struct GameRange {
    int64_t first = 1;
    int64_t last = INT64_MAX;
};

/// "A-B", "A" (that game alone), "A-" (from A on) or "-B" (up to B). Nothing
/// for a text of another form, a number below 1 or A above B.
std::optional<GameRange> ParseGameRange(std::string_view text);

/// The range cut to a book of games games; empty (first > last) when none of
/// it lies in the book.
GameRange ClampRange(GameRange range, int64_t games);

/// Number of decimal digits of n (at least 1).
int DigitCount(int64_t n);

/// File name of a diagram: the game's number zero-padded to gameWidth
/// ("00042"), with "-" and the position zero-padded to positionWidth when
/// position > 0 ("00042-017"), then "." and the extension.
std::string DiagramFileName(int64_t game, int gameWidth, int64_t position, int positionWidth,
                            std::string_view extension);

/// A CSV field: quoted (inner quotes doubled) when it holds a comma, a
/// double quote, a line break or leading or trailing blanks; else as it is.
std::string CsvField(std::string_view text);

/// Fields joined by commas, each quoted as needed, ending in a line feed.
std::string CsvLine(const std::vector<std::string>& fields);

/// Tags the index lists for each diagram, in its column order.
inline constexpr const char* kIndexTags[] = {"Event", "Site", "Date", "White", "Black", "Result"};

/// The index file's first line: "Game,File," and the tag names.
std::string IndexHeader();

/// One tag of a game: its name and value as the book holds them.
struct Tag {
    std::string name;
    std::string value;
};

/// Reads a tag record's text, such as [White "Kasparov, G."]: the name
/// after the bracket and the value between the quotes, with a backslash
/// before a quote or a backslash taken away. A value cut short (no closing quote) runs to the end. Nothing
/// for a text that is not a tag.
std::optional<Tag> ParseTag(std::string_view text);

/// What a game gives for export.
struct GameDiagrams {
    int64_t game = 0;                    ///< The game's number in the whole book.
    std::vector<Tag> tags;               ///< Its tag records in order (Style tags too).
    std::vector<std::string> styles;     ///< Values of its Style tags, in order.
    std::vector<std::string> positions;  ///< FEN box texts of the chosen positions.
    int64_t positionCount = 0;           ///< Positions the game holds.

    /// Value of the first tag of that name (any case), or "".
    std::string TagValue(std::string_view name) const;
};

/// Called once the tags of a game are read and before its positions are:
/// applies the game's Style tags and returns the board shape the positions
/// are completed for.
using StyleHook = std::function<position::BoardShape(const std::vector<std::string>& styles)>;

/// The number of the n-th game of the book's index (narrowed or not) in
/// the whole book, as FullIndex counts them.
int64_t BookGameNumber(const Book& book, int64_t n);

/// Reads the n-th game of the index as the first-position button does (tags
/// and Style tags), then the chosen positions as the book panel shows them.
/// A game that cannot be read, or that holds no position, gives the empty
/// board as its one position. Moves the book's current record.
GameDiagrams ReadGameDiagrams(Book& book, int64_t n, PositionChoice choice, const StyleHook& applyStyles);

/// Positions of the games from range.first to range.last, counting a game
/// without any as one (it gives the empty board).
struct PositionCounts {
    int64_t most = 1;   ///< The most one game holds: the width of position numbers.
    int64_t total = 0;  ///< All of them: the diagrams of an export of every position.
};
PositionCounts CountPositions(const Book& book, GameRange range);

/// Position records of the n-th game of the index (0 for a game of tags
/// alone or one beyond the index).
int64_t PositionsOf(const Book& book, int64_t n);

/// After a conversion that stopped at a fault: drops the last game when
/// the fault came before any of its positions, so that only games converted
/// are exported.
void DropUnfinishedGame(Book& book);

/// Writes bytes to path through a temporary name beside it, renamed to path
/// once whole, so that path is either complete or absent. On failure the
/// temporary goes and error says why.
bool WriteCompleteFile(const std::string& path, std::string_view bytes, std::string& error);

/// The index of an export ("index.csv"), written line by line to a
/// temporary name and renamed once finished.
class IndexFile {
  public:
    IndexFile() = default;
    ~IndexFile();
    IndexFile(const IndexFile&) = delete;
    IndexFile& operator=(const IndexFile&) = delete;

    /// Starts the file with its header line. False (with error) when it
    /// cannot be created.
    bool Open(const std::string& path, std::string& error);
    /// Adds the line of one diagram: the game number, the file name and the
    /// index tags of the game.
    bool Add(const GameDiagrams& game, const std::string& fileName, std::string& error);
    /// Closes the file and gives it its name. False when writing failed; the
    /// temporary then goes.
    bool Finish(std::string& error);

  private:
    std::string m_path;
    std::string m_temp;
    std::FILE* m_file = nullptr;
};

/// Switches the style as the style list does for a Style tag: a name that
/// differs from the style in force, ignoring case, and that names a block of
/// the settings file is read from it; any other name changes nothing.
class StyleSwitcher {
  public:
    /// names: the block names of the settings file.
    StyleSwitcher(settings::Style& style, settings::ProgramSettings& program, std::vector<std::string> names);

    /// Applies the Style tag values in order; true when the style changed.
    bool Apply(const std::vector<std::string>& values);

  private:
    settings::Style& m_style;
    settings::ProgramSettings& m_program;
    std::vector<std::string> m_names;
};

}  // namespace books
