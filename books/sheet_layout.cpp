#include "books/sheet_layout.h"

#include <algorithm>

#include "settings/style.h"

namespace books {

namespace {

// Page sizes in points, portrait.
constexpr double kA4Width = 595.276;
constexpr double kA4Height = 841.89;
constexpr double kLetterWidth = 612;
constexpr double kLetterHeight = 792;
// Margin round the page, and room between two cells.
constexpr double kMargin = 42;
constexpr double kGap = 14;

struct Grid {
    int perPage;
    int columns;
    int rows;
};

constexpr Grid kGrids[] = {{1, 1, 1}, {2, 1, 2}, {4, 2, 2}, {6, 2, 3}, {9, 3, 3}, {12, 3, 4}, {20, 4, 5}};

}  // namespace

std::optional<Paper> ParsePaper(std::string_view text) {
    const std::string upper = settings::Upper(text);
    if (upper == "A4") {
        return Paper::kA4;
    }
    if (upper == "LETTER") {
        return Paper::kLetter;
    }
    return std::nullopt;
}

std::optional<SheetLayout> LayoutSheet(int perPage, Paper paper, double captionPoints) {
    const Grid* grid = std::find_if(std::begin(kGrids), std::end(kGrids),
                                    [perPage](const Grid& g) { return g.perPage == perPage; });
    if (grid == std::end(kGrids)) {
        return std::nullopt;
    }
    SheetLayout layout;
    layout.pageWidth = paper == Paper::kA4 ? kA4Width : kLetterWidth;
    layout.pageHeight = paper == Paper::kA4 ? kA4Height : kLetterHeight;
    layout.columns = grid->columns;
    layout.rows = grid->rows;
    layout.captionHeight = captionPoints * 1.5;
    layout.gap = kGap;
    layout.footer = Box{kMargin, layout.pageHeight - kMargin - layout.captionHeight,
                        layout.pageWidth - 2 * kMargin, layout.captionHeight};
    layout.area = Box{kMargin, kMargin, layout.pageWidth - 2 * kMargin, layout.footer.y - kGap - kMargin};
    return layout;
}

Box SheetLayout::DiagramBox(int k) const {
    const Box caption = CaptionBox(k);
    const double cellHeight = (area.height - gap * (rows - 1)) / rows;
    const double top = caption.y + captionHeight - cellHeight;
    return Box{caption.x, top, caption.width, std::max(0.0, cellHeight - captionHeight)};
}

Box SheetLayout::CaptionBox(int k) const {
    const int column = k % columns;
    const int row = (k / columns) % rows;
    const double cellWidth = (area.width - gap * (columns - 1)) / columns;
    const double cellHeight = (area.height - gap * (rows - 1)) / rows;
    const double x = area.x + column * (cellWidth + gap);
    const double bottom = area.y + row * (cellHeight + gap) + cellHeight;
    return Box{x, bottom - captionHeight, cellWidth, captionHeight};
}

std::vector<std::string> SplitTagList(std::string_view text) {
    std::vector<std::string> names;
    while (true) {
        const size_t comma = text.find(',');
        const std::string_view name = settings::Trim(text.substr(0, comma));
        if (!name.empty()) {
            names.emplace_back(name);
        }
        if (comma == std::string_view::npos) {
            break;
        }
        text.remove_prefix(comma + 1);
    }
    return names;
}

std::string SheetCaption(const GameDiagrams& game, const std::vector<std::string>& tags) {
    std::string caption = std::to_string(game.game) + ".";
    std::string previous;
    for (const std::string& name : tags) {
        const std::string value(settings::Trim(game.TagValue(name)));
        if (value.empty() || value == "?") {
            continue;
        }
        // Names hold commas ("Smith, J."): the players are set apart by a dash.
        const std::string upper = settings::Upper(name);
        caption += previous.empty() ? " " : previous == "WHITE" && upper == "BLACK" ? " \u2013 " : ", ";
        caption += value;
        previous = upper;
    }
    return caption;
}

}  // namespace books
