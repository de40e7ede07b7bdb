#include "diagram/caption_layout.h"

namespace diagram {

namespace {

void Join(std::string& line, const std::string& part) {
    if (!part.empty()) {
        line += line.empty() ? part : ", " + part;
    }
}

// One line of a field: line breaks become blanks.
std::string OneLine(std::string text) {
    for (char& ch : text) {
        if (ch == '\n' || ch == '\r' || ch == '\t') {
            ch = ' ';
        }
    }
    return text;
}

}  // namespace

CaptionText CaptionsOf(const position::ProblemRecord& record, const position::MenCount& count) {
    CaptionText c;
    if (record.Empty()) {
        return c;
    }
    const std::string authors = OneLine(record.AuthorLine());
    if (!authors.empty()) {
        c.above.push_back(authors);
    }
    std::string source;
    Join(source, OneLine(record.source));
    Join(source, OneLine(record.date));
    Join(source, OneLine(record.award));
    if (!source.empty()) {
        c.above.push_back(source);
    }
    c.stipulation = OneLine(record.stipulation);
    c.count = position::CountText(count);
    for (const std::string* field : {&record.conditions, &record.twins}) {
        if (!field->empty()) {
            c.below.push_back(OneLine(*field));
        }
    }
    std::string legend;
    for (const position::LegendEntry& e : record.legend) {
        Join(legend, OneLine(e.letter + " = " + e.name));
    }
    if (!legend.empty()) {
        c.below.push_back(legend);
    }
    return c;
}

}  // namespace diagram
