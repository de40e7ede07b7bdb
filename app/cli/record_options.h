#pragma once
// The options that give a problem record on the command line: --author,
// --source, --date, --award, --stipulation, --condition, --twins, --legend,
// --solution, --remark and --count.

#include <string>

#include "app/cli/cli.h"
#include "position/problem_record.h"

namespace cli {

/// The record the options gave; given ones win over a game's tags.
struct RecordOptions {
    position::ProblemRecord record;
    bool authors = false;  ///< --author was given.
};

/// Takes the options out of args; false after a message on a bad value.
bool TakeRecordOptions(Context& ctx, Args& args, const char* command, RecordOptions& options);

/// Their usage text.
inline constexpr const char* kRecordOptionsUsage =
    "[--author NAME]... [--source TEXT] [--date TEXT] [--award TEXT] [--stipulation TEXT] "
    "[--condition TEXT]... [--twins TEXT] [--legend LETTER=NAME]... [--solution TEXT] [--remark TEXT] "
    "[--count (W+B)]";

}  // namespace cli
