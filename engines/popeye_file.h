#pragma once
// A problem saved as a Popeye input file, for a composer's collection: the
// Popeye window's input with the problem's author, origin and title, and
// without the run's own protocol and time limit.

#include <string>
#include <vector>

#include "engines/popeye.h"
#include "position/piece_lists.h"
#include "position/problem_record.h"

namespace engines {

/// The Popeye fields of a problem: the piece lists, and from the record its
/// stipulation (split into goal and moves), conditions and twins; the
/// options, zero position and command come from window (the Popeye
/// window's fields, or none). Record fields that are empty leave the
/// window's.
PopeyeFieldTexts ProblemFields(const position::ProblemRecord& record, const position::PieceLists& lists,
                               const PopeyeFieldTexts& window = {});

/// True for twins written in Popeye's words ("Move a1 b1", "Add black
/// Pd4", "Continued Rotate 90" ...), which the solver can read.
bool IsPopeyeTwin(std::string_view twins);

/// A written input file, or why none was written.
struct PopeyeFile {
    std::string text;
    std::string error;               ///< The warning the Popeye window gives; "" when written.
    std::vector<std::string> notes;  ///< What was kept only as a remark.
    bool ok() const { return error.empty(); }
};

/// The input file: "BeginProblem", one "Author" line per author, "Origin"
/// with the source and date, "Title" with the award, the remarks and any
/// twins Popeye cannot read as "Remark" lines, then the Popeye window's
/// lines (pieces, stipulation, condition, option as typed, twin, zero
/// position, command) and "EndProblem". Fails without a stipulation or
/// without men.
PopeyeFile WritePopeyeFile(const position::ProblemRecord& record, const PopeyeFieldTexts& fields);

}  // namespace engines
