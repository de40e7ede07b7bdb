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
    /// Told of every record written, when set (the position index).
    RecordSink* records = nullptr;
    /// Threads converting a PGN book: 0 as many as the processor has cores
    /// (up to four), 1 none besides the caller's. The book, the board left
    /// behind and the progress reports are the same either way.
    unsigned workers = 0;
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
/// selects, writing the position index (IndexPathFor) beside the work file
/// as the records go. The work file stays open afterwards (unless it could
/// not be created).
LoadResult LoadBook(Book& book, const ConvertInput& in);

}  // namespace books
