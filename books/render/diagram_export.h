#pragma once
// Writing the diagrams of a book: one image file per game (or per position)
// and the index of them, and the printable sheet of diagrams with their
// captions. Shared by pandrel-cli and the window; needs Qt Gui only.

#include <QPaintDevice>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "books/book.h"
#include "books/book_export.h"
#include "books/sheet_layout.h"
#include "diagram/image_formats.h"
#include "settings/style.h"

class QPainter;

namespace books::render {

/// Formats of a book export: those of a single diagram (BMP and PNG
/// pictures, SVG and PDF drawings).
using ImageFormat = diagram::ImageFormat;

/// "bmp", "png", "svg" or "pdf" (any case); nothing otherwise.
std::optional<ImageFormat> ParseImageFormat(std::string_view text);
/// The file extension of a format, lower case without the point.
const char* Extension(ImageFormat format);

/// Reports the diagrams written so far and how many the export makes;
/// returning false stops it after the diagram just written.
using ProgressFn = std::function<bool(int64_t done, int64_t total)>;

/// What an export reads: the open book and the style in force, with the
/// settings file's block names for the games' Style tags. The style and
/// settings are the export's own copies; the book's current record is moved.
struct ExportSource {
    Book& book;
    settings::Style style;
    settings::ProgramSettings settings;
    std::vector<std::string> styleNames;
};

/// How an export ended.
enum class ExportStatus {
    kDone,     ///< Every diagram asked for was written.
    kStopped,  ///< The progress report asked to stop; what was written stays.
    kFailed,   ///< A file could not be written (error says which and why).
};

struct ExportResult {
    ExportStatus status = ExportStatus::kDone;
    int64_t diagrams = 0;  ///< Diagram files written (whole).
    std::string error;
    /// With captions: each game whose record names a count the board
    /// disagrees with, "game 3: The count (8+9) does not match the board
    /// (8+8)".
    std::vector<std::string> warnings;
};

/// What render-book asks for.
struct ImageOptions {
    std::string folder;  ///< Created when missing.
    ImageFormat format = ImageFormat::kPng;
    PositionChoice positions = PositionChoice::kFirst;
    GameRange games;
    /// Every length of the style (and of the games' styles) multiplied by
    /// this, as `pandrel-cli render --scale` does.
    double scale = 1;
    /// The problem's captions (from each game's tags) around its diagrams.
    bool captions = false;
};

/// Checks that a scale suits a style: nothing, or why not.
std::optional<std::string> CheckScale(const settings::Style& style, double scale);

/// Writes one diagram per game (or per position) of the games asked for
/// into the folder, named by game number, and the folder's "index.csv".
/// Every file is written whole under a temporary name and then renamed;
/// after a failure the files written before it and their index stay.
ExportResult ExportImages(ExportSource& source, const ImageOptions& options, const ProgressFn& progress);

/// What the sheet asks for.
struct SheetOptions {
    std::string file;  ///< The PDF file.
    int perPage = 6;
    Paper paper = Paper::kA4;
    std::vector<std::string> tags = {"White", "Black", "Event"};
    GameRange games;
    /// Each game's problem around its diagram in the classic layout.
    bool captions = false;
    /// The games' solutions (their Solution tags) on pages after the diagrams.
    bool answers = false;
};

/// Draws the sheet of the games asked for on a paint device whose pages
/// the caller turns (a PDF writer or a printer): newPage is called before
/// every page after the first. The device's size in points is that of the
/// paper. Returns the diagrams drawn.
ExportResult DrawSheet(ExportSource& source, const SheetOptions& options, QPainter& painter,
                       const std::function<bool()>& newPage, const ProgressFn& progress);

/// Writes the sheet as a PDF file, under a temporary name renamed once whole.
ExportResult WriteSheet(ExportSource& source, const SheetOptions& options, const ProgressFn& progress);

}  // namespace books::render
