#include "grid.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace piecesbuilder {

namespace {

constexpr char kLegendUnit[] = " pPnNbBrRqQkK";
constexpr int kLegendRepeats = 9;

// Column step and row step: how far one square's corner is from the next one's.
int64_t ColStep(const Grid& grid) {
    return int64_t{grid.AtualWidth} - grid.Offset;
}
int64_t RowStep(const Grid& grid) {
    return int64_t{grid.AtualHeight} - grid.Offset;
}

// Rounds to the nearest whole twip, halves away from zero, and saturates so that a wild value
// cannot wrap round; CheckGrid then refuses it.
int32_t RoundTwips(double value) {
    const double limit = std::numeric_limits<int32_t>::max();
    if (!(value < limit)) {
        return std::numeric_limits<int32_t>::max();
    }
    if (!(value > -limit)) {
        return -std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(std::lround(value));
}

}  // namespace

int PixelsOf(double twips) {
    return static_cast<int>(std::floor(twips / kTwipsPerPixel + 0.5));
}

int32_t TwipsOf(int pixels) {
    return pixels * kTwipsPerPixel;
}

Extent SetExtent(const Grid& grid) {
    const int64_t cols = grid.AtualCols;
    const int64_t width = cols * grid.AtualWidth - (cols - 1) * grid.Offset;
    const int64_t height = 2 * int64_t{grid.AtualHeight} - grid.Offset;
    const auto clamp = [](int64_t v) {
        return static_cast<int32_t>(
            std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
    };
    return {clamp(width), clamp(height)};
}

Extent PictureExtent(const Grid& grid) {
    const Extent set = SetExtent(grid);
    return {set.width + kPictureMargin, set.height + kPictureMargin};
}

Spot SquareCorner(const Grid& grid, int row, int col) {
    return {static_cast<int32_t>(col * ColStep(grid)), static_cast<int32_t>(row * RowStep(grid))};
}

std::optional<Square> SquareAt(const Grid& grid, double x, double y) {
    const int64_t colStep = ColStep(grid);
    const int64_t rowStep = RowStep(grid);
    // A zero or negative step would divide by zero or map every click off the grid.
    if (colStep <= 0 || rowStep <= 0 || grid.AtualCols < 1) {
        return std::nullopt;
    }
    const Extent set = SetExtent(grid);
    if (x < 0 || y < 0 || x >= set.width || y >= set.height) {
        return std::nullopt;
    }
    // With an offset the last row and column reach past where a further step would begin;
    // that strip is still their own square, not one beyond the grid.
    const int row = static_cast<int>(std::min<double>(std::floor(y / static_cast<double>(rowStep)), 1));
    const int col =
        static_cast<int>(std::min<double>(std::floor(x / static_cast<double>(colStep)), grid.AtualCols - 1));
    return Square{row, col};
}

GridLines FrameLines(const Grid& grid) {
    const int32_t h = grid.AtualHeight;
    const int32_t w = grid.AtualWidth;
    const int32_t o = grid.Offset;
    const int32_t n = grid.AtualCols;
    GridLines lines;
    lines.xEnd = n * w;
    lines.horizontalY = {0, h - kTwipsPerPixel, h - o, 2 * h - kTwipsPerPixel - o};
    lines.yEnd = 2 * h - kTwipsPerPixel - o;
    lines.verticalX.push_back(0);
    for (int32_t k = 1; k <= n; ++k) {
        lines.verticalX.push_back(k * w - (k - 1) * o - kTwipsPerPixel);  // last pixel column of square k - 1
        lines.verticalX.push_back(k * (w - o));                           // first pixel column of square k
    }
    return lines;
}

const std::string& Legend() {
    static const std::string legend = [] {
        std::string text;
        for (int i = 0; i < kLegendRepeats; ++i) {
            text += kLegendUnit;
        }
        return text;
    }();
    return legend;
}

std::string LegendLetter(int col) {
    const std::string& legend = Legend();
    if (col < 0 || col >= static_cast<int>(legend.size())) {
        return {};
    }
    return legend.substr(static_cast<size_t>(col), 1);
}

Spot LegendCorner(const Grid& grid, int col, int row) {
    const int32_t x = kTwipsPerPixel + static_cast<int32_t>(col * ColStep(grid));
    const int32_t y = row == 0 ? kTwipsPerPixel : grid.AtualHeight + kTwipsPerPixel - grid.Offset;
    return {x, y};
}

std::string StatusText(const Grid& grid) {
    return "Area (in squares): 2 x " + std::to_string(grid.AtualCols) +
           "      Square (in pixels): " + std::to_string(PixelsOf(grid.AtualHeight)) + " x " +
           std::to_string(PixelsOf(grid.AtualWidth));
}

std::string OffsetCaption(const Grid& grid) {
    return "S&quare Offset: " + std::to_string(PixelsOf(grid.Offset));
}

Verdict CheckGrid(const Grid& grid) {
    if (grid.AtualCols < 1) {
        return {false, "no columns"};
    }
    if (grid.AtualWidth < kTwipsPerPixel || grid.AtualHeight < kTwipsPerPixel) {
        return {false, "squares smaller than one pixel"};
    }
    if (ColStep(grid) <= 0 || RowStep(grid) <= 0) {
        return {false, "offset not smaller than the squares"};
    }
    const Extent picture = PictureExtent(grid);
    if (PixelsOf(picture.width) > kMaxPictureSide || PixelsOf(picture.height) > kMaxPictureSide) {
        return {false, "picture larger than " + std::to_string(kMaxPictureSide) + " pixels"};
    }
    return {};
}

int32_t ZoomedLength(int32_t twips, double factor) {
    const double scaled = std::floor(factor * twips + 0.5);
    // Always the next whole pixel above, even when the scaled length is whole already.
    return RoundTwips((std::floor(scaled / kTwipsPerPixel) + 1) * kTwipsPerPixel);
}

Grid Zoomed(const Grid& grid, double factor) {
    Grid zoomed = grid;
    zoomed.AtualHeight = ZoomedLength(grid.AtualHeight, factor);
    zoomed.AtualWidth = ZoomedLength(grid.AtualWidth, factor);
    return zoomed;
}

Grid Shrunk(const Grid& grid) {
    Grid shrunk = grid;
    shrunk.AtualHeight = grid.AtualHeight - 2 * kTwipsPerPixel;
    shrunk.AtualWidth = grid.AtualWidth - 2 * kTwipsPerPixel;
    return shrunk;
}

std::vector<SquareMove> ShrinkMoves(const Grid& grid, int shift) {
    const Grid target = Shrunk(grid);
    std::vector<SquareMove> moves;
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < grid.AtualCols; ++c) {
            const Spot corner = SquareCorner(grid, r, c);
            moves.push_back({{corner.x + kTwipsPerPixel, corner.y + shift},
                             SquareCorner(target, r, c),
                             {target.AtualWidth, target.AtualHeight}});
        }
    }
    return moves;
}

Grid WithColumnAdded(const Grid& grid) {
    Grid wider = grid;
    if (grid.AtualCols < std::numeric_limits<int16_t>::max()) {
        ++wider.AtualCols;
    } else {
        wider.AtualCols = 0;  // no room for the count: CheckGrid refuses it
    }
    return wider;
}

Grid WithColumnRemoved(const Grid& grid) {
    Grid narrower = grid;
    narrower.AtualCols = static_cast<int16_t>(std::max(1, grid.AtualCols - 1));
    return narrower;
}

PastePlan PlanSquarePaste(const Grid& grid, int widthPx, int heightPx) {
    const int64_t width = int64_t{widthPx} * kTwipsPerPixel;
    const int64_t height = int64_t{heightPx} * kTwipsPerPixel;
    PastePlan plan{PasteKind::kPaint, grid};
    if (height != grid.AtualHeight || width != grid.AtualWidth) {
        if (grid.fReset != 1) {
            return {PasteKind::kMismatch, grid};
        }
        plan.kind = PasteKind::kResizeAndPaint;
        plan.grid.AtualHeight = RoundTwips(static_cast<double>(height));
        plan.grid.AtualWidth = RoundTwips(static_cast<double>(width));
        if (!CheckGrid(plan.grid).ok) {
            return {PasteKind::kRefused, grid};
        }
    }
    // The first square pasted fixes the size even when it already had that size; otherwise a
    // later square of another size would wipe the squares pasted so far.
    plan.grid.fReset = 0;
    return plan;
}

Grid FromWholeSet(const Grid& grid, int widthPx, int heightPx) {
    Grid set = grid;
    const double cols = grid.AtualCols;
    set.AtualHeight = RoundTwips((grid.Offset + static_cast<double>(heightPx) * kTwipsPerPixel) / 2);
    set.AtualWidth =
        RoundTwips(((cols - 1) * grid.Offset + static_cast<double>(widthPx) * kTwipsPerPixel) / cols);
    set.fReset = 0;
    return set;
}

std::optional<int16_t> OffsetFromAnswer(const std::string& answer) {
    if (answer.empty()) {
        return std::nullopt;
    }
    // The leading number of the answer, as a numeric conversion reads it: blanks, a sign,
    // digits and a decimal fraction; anything else ends the number, and no digits count as 0.
    size_t i = 0;
    while (i < answer.size() && (answer[i] == ' ' || answer[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < answer.size() && (answer[i] == '+' || answer[i] == '-')) {
        negative = answer[i] == '-';
        ++i;
    }
    double whole = 0;
    while (i < answer.size() && std::isdigit(static_cast<unsigned char>(answer[i]))) {
        whole = whole * 10 + (answer[i] - '0');
        ++i;
        if (whole > 1e9) {
            return std::nullopt;
        }
    }
    // The fraction is dropped: only the whole-number part counts.
    const double pixels = negative ? -whole : whole;
    const double twips = pixels * kTwipsPerPixel;
    if (twips > std::numeric_limits<int16_t>::max() || twips < std::numeric_limits<int16_t>::min()) {
        return std::nullopt;
    }
    return static_cast<int16_t>(twips);
}

std::optional<Command> CommandForKey(char typed, Arrow arrow) {
    switch (arrow) {
        case Arrow::kDown:
            return Command::kDuplicate;
        case Arrow::kRight:
            return Command::kAddColumn;
        case Arrow::kLeft:
            return Command::kRemoveColumn;
        case Arrow::kUp:
        case Arrow::kNone:
            break;
    }
    switch (std::toupper(static_cast<unsigned char>(typed))) {
        case 'N':
            return Command::kNew;
        case 'L':
            return Command::kLine;
        case 'D':
            return Command::kDuplicate;
        case 'C':
            return Command::kCopy;
        case 'V':
            return Command::kPaste;
        case 'X':
            return Command::kExit;
        case 'Q':
            return Command::kSquareOffset;
        case '-':
        case '_':
            return Command::kZoomOut;
        case '+':
        case '=':
            return Command::kZoomIn;
        default:
            return std::nullopt;
    }
}

void Filling::Reset(int cols) {
    for (std::vector<bool>& row : m_rows) {
        row.assign(static_cast<size_t>(std::max(cols, 0)), false);
    }
}

void Filling::FillAll(int cols) {
    for (std::vector<bool>& row : m_rows) {
        row.assign(static_cast<size_t>(std::max(cols, 0)), true);
    }
}

void Filling::Mark(Square s) {
    if (s.row >= 0 && s.row < 2 && s.col >= 0 &&
        static_cast<size_t>(s.col) < m_rows[static_cast<size_t>(s.row)].size()) {
        m_rows[static_cast<size_t>(s.row)][static_cast<size_t>(s.col)] = true;
    }
}

bool Filling::IsFilled(Square s) const {
    return s.row >= 0 && s.row < 2 && s.col >= 0 &&
           static_cast<size_t>(s.col) < m_rows[static_cast<size_t>(s.row)].size() &&
           m_rows[static_cast<size_t>(s.row)][static_cast<size_t>(s.col)];
}

void Filling::DuplicateRow() {
    m_rows[1] = m_rows[0];
}

void Filling::Resize(int cols) {
    for (std::vector<bool>& row : m_rows) {
        row.resize(static_cast<size_t>(std::max(cols, 0)), false);
    }
}

PixelRect SquarePixels(const Grid& grid, int row, int col) {
    const Spot corner = SquareCorner(grid, row, col);
    return {PixelsOf(corner.x), PixelsOf(corner.y), PixelsOf(grid.AtualWidth), PixelsOf(grid.AtualHeight)};
}

}  // namespace piecesbuilder
