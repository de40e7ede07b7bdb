#pragma once
// The captions of a published diagram in the classic layout: above the
// board the authors, then source, date and distinction; below it the
// stipulation at the left and the count of men at the right, then the
// conditions, the twins and the legend.

#include <string>
#include <vector>

#include "position/problem_record.h"

namespace diagram {

/// The caption lines of one diagram.
struct CaptionText {
    std::vector<std::string> above;  ///< Lines over the board, top first.
    std::string stipulation;         ///< Left of the first line under it.
    std::string count;               ///< Right of that line: "(8+9)".
    std::vector<std::string> below;  ///< Lines under that one.

    bool operator==(const CaptionText&) const = default;
    /// True when there is nothing to write: the diagram stays as it is.
    bool Empty() const { return *this == CaptionText{}; }
    /// Lines over and under the board (the stipulation line counts once).
    int LinesAbove() const { return static_cast<int>(above.size()); }
    int LinesBelow() const {
        return static_cast<int>(below.size()) + (stipulation.empty() && count.empty() ? 0 : 1);
    }
};

/// The captions of a record for a board of count men. An empty record
/// gives none at all (not even the count), so that its diagram is today's.
CaptionText CaptionsOf(const position::ProblemRecord& record, const position::MenCount& count);

}  // namespace diagram
