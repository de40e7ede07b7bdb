#pragma once
// Converting a book file (PGN, EPD, FEN or PBM) into the work file of the
// open book, with one record per tag and per position, and building the
// game index.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "books/book.h"
#include "position/vet.h"
#include "settings/style.h"

namespace books {

/// The four book formats, chosen by the file name's extension.
enum class BookFormat { kFEN, kEPD, kPGN, kPBM };

/// The converter for a book file: ".PBM", ".EPD", ".PGN" by the upper-cased
/// last four characters of the name, FEN for every other name.
BookFormat FormatOf(std::string_view bookFile);

/// Reports the number of games converted so far: every 100th game, every
/// 10th for PGN. The window shows ProgressText in the book label and
/// repaints it at once.
using ProgressFn = std::function<void(int64_t games)>;

/// The book label's text during conversion, e.g. "120 games".
std::string ProgressText(int64_t games);

/// The work file of a program copy: AppDir + WorkName + ".tmp".
std::string WorkFilePath(const std::string& appDir, const std::string& workName);

/// What a converter reads and writes besides the book.
struct ConvertInput {
    /// The work file to create.
    std::string workPath;
    /// Start position, board shape, piece letters and their English letters.
    const settings::Style& style;
    /// The board vector; PGN and PBM conversion leave their last position on
    /// its position plane.
    position::Vet& vet;
    /// Optional progress report.
    ProgressFn progress;
};

/// How a conversion ended.
enum class LoadStatus {
    kDone,        ///< The whole book was read; the end marker is written.
    kNoWorkFile,  ///< The work file could not be created; nothing converted.
    kNoBookFile,  ///< The book file could not be opened; nothing converted.
    kStopped,     ///< Stopped at a fault; what came before it stays, no end marker.
};

/// Result of a conversion, with the reason when it did not end normally.
struct LoadResult {
    LoadStatus status = LoadStatus::kDone;
    std::string reason;
    /// Stopped because the work file could not be written (a full disk) or
    /// the book file could not be read: the book holds only part of the file,
    /// and the user must be told.
    bool ioFailure = false;
    /// Games of the book whose records are on file.
    int64_t games = 0;
};

/// What the user is told when a conversion stopped on a read or write
/// failure: the book, the games it holds and why it holds no more.
std::string IncompleteBookText(const std::string& bookFile, const LoadResult& result);

/// FEN book: one position per line; tag lines before a position belong to
/// its game; positions without tags between them make one game.
LoadResult LoadFEN(Book& book, const ConvertInput& in);
/// EPD book: every line is a game; its operations become tag records.
LoadResult LoadEPD(Book& book, const ConvertInput& in);
/// PGN book: tags as records, every game replayed move by move with one
/// position record per move applied.
LoadResult LoadPGN(Book& book, const ConvertInput& in);
/// PBM problem collection (binary): stipulation and string tags, position.
LoadResult LoadPBM(Book& book, const ConvertInput& in);

/// The converting part of opening a book: closes the work file of a book
/// that is open, then converts book.BookFile with the converter its name
/// selects. The work file stays open afterwards (unless it could not be
/// created).
LoadResult LoadBook(Book& book, const ConvertInput& in);

/// Longest placement WritePlacement can produce, with room to spare.
inline constexpr int kMaxPlacement = 2048;

/// Writes the FEN piece placement of the position plane exactly as
/// VetToFEN does, without allocating. Meant for a board that changes a few
/// squares at a time: the text of each rank is kept and made again only
/// when that rank changed.
class PlacementWriter {
  public:
    /// Every rank (of a board of eight columns) may have changed.
    static constexpr uint32_t kAllRanks = 0xFF;

    explicit PlacementWriter(const position::BoardShape& shape);

    /// Writes the placement into out (at least kMaxPlacement characters);
    /// returns its length.
    int Write(const position::Vet& vet, char* out) { return Write(vet, out, kAllRanks); }

    /// The same, told by the caller which ranks (bit r for rank r, from the
    /// top) may have changed since the last call; used only on a board of 8
    /// x 8, where out may be written up to 16 characters past the placement.
    /// Other boards compare every rank with the last one written.
    int Write(const position::Vet& vet, char* out, uint32_t changedRanks);

    /// True for the board of 8 x 8 the hint of Write applies to; its
    /// placement never passes 71 characters.
    bool Eight() const { return m_eight; }

  private:
    // Writes the text of count cells from a rank start; returns its length.
    int Render(const int16_t* cells, int count, char* out) const;

    int m_squares;
    int m_cols;
    int m_ranks;                                       // whole ranks among the squares
    bool m_eight;                                      // an 8 x 8 board
    std::string m_letters;                             // letter of each value 0 .. 2n + 1, '\0' for empty
    std::array<int16_t, position::kCells> m_shadow{};  // cells the rank texts were made from
    std::vector<char> m_texts;                         // rank r's text at r * m_stride
    std::vector<int> m_lengths;
    // For each pattern of occupied squares of a rank of eight (bit s for
    // square s): the rank's text with its digits, its length, and where each
    // square's letter goes (15, a spare place, for an empty square).
    struct Pattern {
        std::array<char, 16> text{};
        std::array<uint8_t, 8> at{};
        int length = 0;
    };
    std::vector<Pattern> m_patterns;
    int m_stride;
    bool m_valid = false;
};

/// One-off form of PlacementWriter::Write.
int WritePlacement(const position::Vet& vet, const position::BoardShape& shape, char* out);

}  // namespace books
