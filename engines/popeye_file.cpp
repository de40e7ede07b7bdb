#include "engines/popeye_file.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace engines {

namespace {

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& ch : out) {
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    }
    return out;
}

// One line of the file: line breaks inside a value become blanks, so that
// no field adds commands of its own.
std::string Line(std::string_view keyword, std::string_view value) {
    std::string v = TrimBlanks(value);
    std::replace_if(
        v.begin(), v.end(), [](char ch) { return ch == '\r' || ch == '\n'; }, ' ');
    return std::string(keyword) + v + "\r\n";
}

}  // namespace

bool IsPopeyeTwin(std::string_view twins) {
    static const char* const kWords[] = {"MOVE",      "EXCHANGE",  "REMOVE",      "ADD",        "SUBSTITUTE",
                                         "ROTATE",    "MIRROR",    "SHIFT",       "POLISHTYPE", "STIPULATION",
                                         "CONTINUED", "CONDITION", "SSTIPULATION"};
    const std::string t = Upper(TrimBlanks(twins));
    const std::string first = t.substr(0, t.find_first_of(" \t"));
    return std::any_of(std::begin(kWords), std::end(kWords), [&first](const char* w) { return first == w; });
}

PopeyeFieldTexts ProblemFields(const position::ProblemRecord& record, const position::PieceLists& lists,
                               const PopeyeFieldTexts& window) {
    PopeyeFieldTexts fields = window;
    fields[kWhitePieces] = TrimBlanks(lists.white);
    fields[kBlackPieces] = TrimBlanks(lists.black);
    fields[kNeutralPieces] = TrimBlanks(lists.neutral);
    if (!TrimBlanks(record.stipulation).empty()) {
        auto [goal, moves] = position::SplitStipulation(record.stipulation);
        fields[kStipulation] = goal;
        fields[kMoves] = moves;
    }
    if (!TrimBlanks(record.conditions).empty()) {
        fields[kConditions] = TrimBlanks(record.conditions);
    }
    if (IsPopeyeTwin(record.twins)) {
        fields[kTwins] = TrimBlanks(record.twins);
    }
    return fields;
}

PopeyeFile WritePopeyeFile(const position::ProblemRecord& record, const PopeyeFieldTexts& fields) {
    PopeyeFile file;
    if ((fields[kStipulation] + fields[kMoves]).empty()) {
        file.error = "Enter the stipulation!";
        return file;
    }
    if (fields[kWhitePieces].empty() && fields[kBlackPieces].empty() && fields[kNeutralPieces].empty()) {
        file.error = "Enter the pieces list!";
        return file;
    }
    std::string head;
    for (const std::string& author : record.authors) {
        if (!TrimBlanks(author).empty()) {
            head += Line("Author ", author);
        }
    }
    std::string origin = TrimBlanks(record.source);
    if (!TrimBlanks(record.date).empty()) {
        origin += (origin.empty() ? "" : ", ") + TrimBlanks(record.date);
    }
    if (!origin.empty()) {
        head += Line("Origin ", origin);
    }
    if (!TrimBlanks(record.award).empty()) {
        head += Line("Title ", record.award);
    }
    const std::string twins = TrimBlanks(record.twins);
    if (!twins.empty() && !IsPopeyeTwin(twins) && TrimBlanks(fields[kTwins]).empty()) {
        head += Line("Remark Twins: ", twins);
        file.notes.push_back("the twins \"" + twins + "\" are not in Popeye's words: kept as a remark");
    }
    size_t start = 0;
    const std::string& remarks = record.remarks;
    while (start < remarks.size()) {
        size_t end = remarks.find('\n', start);
        end = end == std::string::npos ? remarks.size() : end;
        if (!TrimBlanks(remarks.substr(start, end - start)).empty()) {
            head += Line("Remark ", remarks.substr(start, end - start));
        }
        start = end + 1;
    }
    // The window's writer gives the rest; a file kept for later names no
    // protocol of a run, and its options are the ones typed.
    const std::string options = TrimBlanks(fields[kOptions]);
    const std::string input = PopeyeInput(fields, options, "");
    size_t pos = 0;
    while (pos < input.size()) {
        size_t end = input.find("\r\n", pos);
        end = end == std::string::npos ? input.size() : end + 2;
        const std::string_view line = std::string_view(input).substr(pos, end - pos);
        pos = end;
        if (line == "Protocol \r\n" || (options.empty() && line == "Option \r\n")) {
            continue;
        }
        file.text += line;
        if (line == "BeginProblem\r\n") {
            file.text += head;
        }
    }
    return file;
}

}  // namespace engines
