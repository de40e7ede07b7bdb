// The command-line options of a problem record.

#include "app/cli/record_options.h"

#include <ostream>
#include <vector>

namespace cli {

namespace {

// Takes every "--name VALUE" of a repeatable option.
bool TakeAll(Args& args, const std::string& name, std::vector<std::string>& values, std::string& error) {
    std::string value;
    while (args.TakeValue(name, value, error)) {
        values.push_back(value);
    }
    return error.empty();
}

}  // namespace

bool TakeRecordOptions(Context& ctx, Args& args, const char* command, RecordOptions& options) {
    std::string error;
    position::ProblemRecord& r = options.record;
    std::vector<std::string> values;
    TakeAll(args, "--author", r.authors, error);
    options.authors = !r.authors.empty();
    const std::pair<const char*, std::string*> single[] = {
        {"--source", &r.source}, {"--date", &r.date},
        {"--award", &r.award},   {"--stipulation", &r.stipulation},
        {"--twins", &r.twins},   {"--solution", &r.solution},
        {"--count", &r.count},   {"--remark", &r.remarks}};
    for (const auto& [name, field] : single) {
        if (error.empty()) {
            args.TakeValue(name, *field, error);
        }
    }
    std::vector<std::string> conditions;
    std::vector<std::string> legend;
    if (error.empty() && TakeAll(args, "--condition", conditions, error) &&
        TakeAll(args, "--legend", legend, error)) {
        for (const std::string& c : conditions) {
            r.conditions += (r.conditions.empty() ? "" : " ") + c;
        }
        for (const std::string& l : legend) {
            const size_t eq = l.find('=');
            if (eq == std::string::npos) {
                ctx.err << "pandrel-cli " << command << ": --legend wants LETTER=NAME, not \"" << l << "\"\n";
                return false;
            }
            r.legend.push_back({l.substr(0, eq), l.substr(eq + 1)});
        }
    }
    if (!error.empty()) {
        ctx.err << "pandrel-cli " << command << ": " << error << "\n";
        return false;
    }
    return true;
}

}  // namespace cli
