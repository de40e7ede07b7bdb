#pragma once
// The layout of a diagram sheet: pages of diagrams in a grid, each above its
// caption, and a page number at the foot. Lengths in points (1/72 inch).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "books/book_export.h"

namespace books {

/// Paper of a diagram sheet.
enum class Paper { kA4, kLetter };

/// "a4" or "letter" (any case); nothing otherwise.
std::optional<Paper> ParsePaper(std::string_view text);

/// Diagrams a sheet page may hold.
inline constexpr int kPerPageChoices[] = {1, 2, 4, 6, 9, 12, 20};

/// A rectangle in points (1/72 inch) from the page's top-left corner.
struct Box {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

/// Where the parts of one page go.
struct SheetLayout {
    double pageWidth = 0;   ///< Points.
    double pageHeight = 0;  ///< Points.
    int columns = 0;
    int rows = 0;
    double captionHeight = 0;  ///< Points of each caption line.
    Box footer;                ///< The page number's line.

    /// Cell k (0-based, row by row) of the page: the room for its diagram,
    /// centred above its caption.
    Box DiagramBox(int k) const;
    /// The caption line under cell k; never wider than the cell, never
    /// reaching into the next one.
    Box CaptionBox(int k) const;

    Box area;        ///< The printable area above the footer.
    double gap = 0;  ///< Room between two cells.
};

/// The grid for perPage diagrams (one of kPerPageChoices): 1 x 1, 1 x 2,
/// 2 x 2, 2 x 3, 3 x 3, 3 x 4, 4 x 5 (columns x rows) on the portrait page.
/// Nothing for another count.
std::optional<SheetLayout> LayoutSheet(int perPage, Paper paper, double captionPoints);

/// The names of a --tags list ("Event,White,Black"): split at commas,
/// trimmed, empty names dropped.
std::vector<std::string> SplitTagList(std::string_view text);

/// The caption of a game on a sheet: its number and a period, then the
/// values of the tags in order, joined by ", ". Tags absent, empty or "?"
/// are left out.
std::string SheetCaption(const GameDiagrams& game, const std::vector<std::string>& tags);

}  // namespace books
