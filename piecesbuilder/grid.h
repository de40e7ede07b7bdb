#pragma once

// Grid arithmetic of Quillet, the pieces-set builder: square size, columns, offset, zoom and
// shrink sizes, mapping clicks to squares, the legend and the status line. Plain C++, no GUI.
//
// Every length here is in twips (15 twips to a pixel), as the window keeps them; the window
// converts to pixels only when it draws.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace piecesbuilder {

/// Twips in one screen pixel.
inline constexpr int kTwipsPerPixel = 15;
/// Blank margin (twips) the work picture keeps to the right of and below the set.
inline constexpr int kPictureMargin = 60;
/// Largest width or height (pixels) the work picture may take; larger grids are refused.
inline constexpr int kMaxPictureSide = 16384;
/// Square size (twips) at start: 25 pixels.
inline constexpr int32_t kStartSquare = 375;
/// Number of columns at start: the empty square and the twelve default piece letters.
inline constexpr int16_t kStartCols = 13;

/// The window-level state of the grid. Lengths are twips.
struct Grid {
    /// Height of one square, including one grid offset.
    int32_t AtualHeight = kStartSquare;
    /// Width of one square, including one grid offset.
    int32_t AtualWidth = kStartSquare;
    /// Number of columns, at least 1.
    int16_t AtualCols = kStartCols;
    /// 1 after "&New": the next square pasted sets the square size.
    int16_t fReset = 0;
    /// Overlap of neighbouring squares (a whole number of pixels times 15).
    int16_t Offset = 0;
};

/// A width and height, in twips unless stated otherwise.
struct Extent {
    int32_t width = 0;
    int32_t height = 0;
};

/// A point, in twips unless stated otherwise.
struct Spot {
    int32_t x = 0;
    int32_t y = 0;
};

/// A square of the grid: row 0 light squares, row 1 dark squares; column 0 the empty square.
struct Square {
    int row = 0;
    int col = 0;
    bool operator==(const Square&) const = default;
};

/// Outcome of a check: ok, or the reason it is not.
struct Verdict {
    bool ok = true;
    std::string reason;
};

/// Pixels shown for a length in twips: twips / 15 + 0.5, rounded down.
int PixelsOf(double twips);

/// Twips of a whole number of pixels.
int32_t TwipsOf(int pixels);

/// Size of the set itself: cols × W − (cols − 1) × O wide, 2H − O high.
Extent SetExtent(const Grid& grid);

/// Size of the work picture: the set plus the margin in each direction.
Extent PictureExtent(const Grid& grid);

/// Top-left corner of square (row, col).
Spot SquareCorner(const Grid& grid, int row, int col);

/// The square under a point of the work picture. Points beyond the set (the margin, or
/// outside the picture) and a grid whose squares do not advance give no square; the far
/// strip of the last row or column that only the offset covers belongs to that last square.
std::optional<Square> SquareAt(const Grid& grid, double x, double y);

/// Which squares hold a picture the user put there. A square never filled shows only its
/// frame and letter, which the finished set leaves out.
class Filling {
  public:
    /// No square filled, in cols columns.
    void Reset(int cols);
    /// Every square of cols columns filled (a whole set was pasted).
    void FillAll(int cols);
    /// Square s now holds a picture; a square beyond the columns is ignored.
    void Mark(Square s);
    /// True when square s holds a picture.
    bool IsFilled(Square s) const;
    /// The second row takes the first row's pictures (Duplicate).
    void DuplicateRow();
    /// Columns added at the right (empty) or removed from it.
    void Resize(int cols);

  private:
    std::array<std::vector<bool>, 2> m_rows;
};

/// A rectangle of the work picture, in whole pixels.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PixelRect&) const = default;
};

/// Where square (row, col) lies in the work picture, in pixels: the rectangle a pasted
/// picture covers, and the one the finished set takes from it (the set's own corner is
/// the work picture's).
PixelRect SquarePixels(const Grid& grid, int row, int col);

/// Lines that frame every square on its edge pixels.
struct GridLines {
    /// Horizontal lines run from x = 0 to xEnd at these heights.
    std::vector<int32_t> horizontalY;
    int32_t xEnd = 0;
    /// Vertical lines run from y = 0 to yEnd (exclusive of the end point) at these positions.
    std::vector<int32_t> verticalX;
    int32_t yEnd = 0;
};

/// The red frame lines drawn by the grid.
GridLines FrameLines(const Grid& grid);

/// The column letters: " pPnNbBrRqQkK" nine times over (117 characters).
const std::string& Legend();

/// Letter printed over column col (from 0); empty for columns beyond the legend.
std::string LegendLetter(int col);

/// Where the letter of column col goes in row 0 or row 1.
Spot LegendCorner(const Grid& grid, int col, int row);

/// The status line text.
std::string StatusText(const Grid& grid);

/// Caption of the square offset menu item for the grid's offset.
std::string OffsetCaption(const Grid& grid);

/// A whole-set check: at least one column, squares of at least one pixel that advance
/// (size larger than the offset), and a work picture no larger than kMaxPictureSide.
Verdict CheckGrid(const Grid& grid);

/// Zoomed length: factor × twips rounded to a whole twip, then the next whole pixel above its
/// pixel part.
int32_t ZoomedLength(int32_t twips, double factor);

/// The grid after zooming by factor (offset and columns kept).
Grid Zoomed(const Grid& grid, double factor);

/// The grid after cropping two pixels off each square in each direction.
Grid Shrunk(const Grid& grid);

/// One square's copy while cropping: a rectangle of the old picture to a corner of the new one.
struct SquareMove {
    Spot from;
    Spot to;
    Extent size;
};

/// The square copies that crop every square. shift is the twips cut from the top of each square
/// (15 cuts one pixel from every side, 30 two from the top and none from the bottom).
std::vector<SquareMove> ShrinkMoves(const Grid& grid, int shift);

/// The grid with one column more (refused by CheckGrid when it would grow too wide).
Grid WithColumnAdded(const Grid& grid);

/// The grid with one column fewer, never below one.
Grid WithColumnRemoved(const Grid& grid);

/// What a square paste does with a clipboard bitmap of the given pixel size.
enum class PasteKind {
    /// The bitmap fits the squares: paint it.
    kPaint,
    /// First paste after "&New": the squares take the bitmap's size, then it is painted.
    kResizeAndPaint,
    /// The sizes differ and are fixed: the user is told, nothing is painted.
    kMismatch,
    /// The bitmap would make an unusable grid; nothing happens.
    kRefused,
};

/// The decision for a square paste and the grid after it.
struct PastePlan {
    PasteKind kind = PasteKind::kPaint;
    Grid grid;
};

/// Decides a paste into a square of a bitmap widthPx × heightPx. Any paste that paints clears
/// fReset, so only the first paste after "&New" can set the size.
PastePlan PlanSquarePaste(const Grid& grid, int widthPx, int heightPx);

/// The grid that a whole set of widthPx × heightPx yields, keeping columns and offset.
Grid FromWholeSet(const Grid& grid, int widthPx, int heightPx);

/// Offset in twips from the answer to "Enter a new offset:": the whole-number part of the
/// answer's leading numeric value, times 15 (text without a number counts as 0). No value for
/// an empty answer, or for one whose offset would not fit.
std::optional<int16_t> OffsetFromAnswer(const std::string& answer);

/// The commands of the window.
enum class Command {
    kNew,
    kLine,
    kDuplicate,
    kCopy,
    kPaste,
    kExit,
    kAddColumn,
    kRemoveColumn,
    kAllDown,
    kTopDown,
    kZoomOut,
    kZoomIn,
    kSquareOffset,
    kHelp,
    /// The finished set alone on the clipboard: no frame lines, no letters, no margin.
    kCopySet,
    /// The finished set saved as a pieces file.
    kSavePiecesFile,
};

/// Arrow keys, which the work picture takes by key code.
enum class Arrow { kNone, kLeft, kRight, kUp, kDown };

/// The command of a key typed on the work picture: the typed character (compared in upper
/// case; 0 when none) or an arrow key.
std::optional<Command> CommandForKey(char typed, Arrow arrow);

}  // namespace piecesbuilder
