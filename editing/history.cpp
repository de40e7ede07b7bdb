#include "editing/history.h"

#include "position/set_move.h"
#include "position/vet.h"

namespace editing {

namespace {

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

std::string FirstField(std::string_view line) {
    std::string t(line);
    t += "  ";
    const auto tally = t.find(") ");
    // The search skips the first character, so that a blank typed right
    // after a tally ") " does not end the field before the placement.
    const std::size_t from = tally == std::string::npos ? 1 : tally + 2;
    // Always found: the ")" of ") " lies before the two blanks appended.
    t.resize(t.find(' ', from) + 1);
    return t;
}

std::string WithSide(std::string_view line, char side) {
    std::string result = FirstField(line);
    result += side;
    result += kExtraTail;
    return result;
}

void SetExtraFields(std::vector<std::string>& lines, std::string_view side) {
    std::string s(side);
    for (std::string& line : lines) {
        const std::string field = FirstField(line);
        if (s.empty()) {
            line = std::string(Trim(field));
            continue;
        }
        line = field + s + std::string(kExtraTail);
        s = s == "w" ? "b" : "w";
    }
}

std::string LinePlacement(std::string_view line) {
    std::string_view t = line;
    const auto close = t.find(')');
    if (close != std::string_view::npos) {
        t = Trim(t.substr(close + 1));
    }
    const auto blank = t.find(' ');
    if (blank != std::string_view::npos && blank > 0) {
        t = t.substr(0, blank);
    }
    return std::string(t);
}

std::optional<std::string> UndoRec(std::vector<std::string>& lines) {
    if (lines.size() < 2) {
        return std::nullopt;
    }
    lines.pop_back();
    // Only the placement goes back into the text box: extra fields there
    // would be read as pieces ("b" is a black bishop) beyond the last square.
    return LinePlacement(lines.back());
}

char FirstSide(std::string_view line) {
    const std::string t = std::string(line) + " w";
    const std::size_t at = FirstField(line).size();
    return at < t.size() && t[at] == 'b' ? 'b' : 'w';
}

std::string HistoryText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += kCrLf;
    }
    return text;
}

std::string PgnMoveText(const std::vector<std::string>& lines, const position::NotationStyle& style) {
    if (lines.empty()) {
        return {};
    }
    // Two position buffers of a board vector of our own, so that the board
    // on show (and what was painted of it) stays as it is.
    position::Vet buffers{};
    position::Build2(buffers, 0, LinePlacement(lines[0]), style.shape);

    int number = 0;
    int blackFirst = 0;
    std::string text;
    if (FirstSide(lines[0]) == 'b') {
        number = 1;
        blackFirst = 1;
        text = "1... ";
    }
    std::size_t limit = kPgnLineLength;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        position::Build2(buffers, static_cast<int>(i % 2), LinePlacement(lines[i]), style.shape);
        const int prev = static_cast<int>((i + 1) % 2);
        const std::string move = position::SetMove(buffers, style, prev).move;
        if (prev == blackFirst) {
            ++number;
            text += std::to_string(number) + ". ";
        }
        text += move;
        text += ' ';
        if (text.size() > limit) {
            text += kCrLf;
            limit = text.size() + kPgnLineLength;
        }
    }
    return text;
}

bool AddToBookEnabled(std::string_view bookFile, bool bookOpen, bool historyEmpty) {
    if (bookFile.size() < 4 || !bookOpen || historyEmpty) {
        return false;
    }
    std::string ext;
    for (char c : bookFile.substr(bookFile.size() - 4)) {
        ext += Upper(c);
    }
    return ext == ".PGN" || ext == ".FEN";
}

HistoryKey KeyAction(char ch) {
    switch (ch) {
        case 13:
            return HistoryKey::kLoad;
        case 27:
            return HistoryKey::kHide;
        case 32:
            return HistoryKey::kRemove;
        case 'w':
        case 'W':
        case 'b':
        case 'B':
        case '-':
            return HistoryKey::kSide;
        case 'r':
        case 'R':
            return HistoryKey::kStrip;
        default:
            return HistoryKey::kNothing;
    }
}

}  // namespace editing
