#pragma once
// The words and line shapes of the solver's protocol that its reader looks
// for, in the three languages the solver writes.

#include <cstddef>
#include <string>
#include <string_view>

#include "engines/popeye_notation.h"

namespace engines::protocol_words {

/// Blanks and tabs off the front.
inline std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    return s;
}

/// Blanks, tabs and a carriage return off the end.
inline std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

/// Whether s begins with prefix.
inline bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

/// A decimal digit.
inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

/// Words the solver writes in each language.
struct Words {
    PopeyeLanguage language;
    std::string_view threat;
    std::string_view zugzwang;
    std::string_view but;
    std::string_view finished;
    std::string_view interrupted;
    std::string_view partial;
};

/// The words by language.
inline constexpr Words kWords[] = {
    {PopeyeLanguage::kEnglish, "threat:", "zugzwang.", "but", "solution finished.", "solving interrupted.",
     "Partial solution"},
    {PopeyeLanguage::kGerman, "Drohung:", "Zugzwang.", "Aber", "Loesung beendet.", "Bearbeitung abgebrochen.",
     "Partielle Loesung"},
    {PopeyeLanguage::kFrench, "menace:", "blocus.", "mais", "solution terminee.", "solution interrompue.",
     "solution partielle"},
};

/// A twin's label: "a)", "+c)", "z1)".
inline bool TwinLabel(std::string_view line, std::string& label, bool& continued, std::string_view& rest) {
    size_t i = 0;
    continued = false;
    if (i < line.size() && line[i] == '+') {
        continued = true;
        ++i;
    }
    const size_t start = i;
    while (i < line.size() && ((line[i] >= 'a' && line[i] <= 'z') || (line[i] >= 'A' && line[i] <= 'Z'))) {
        ++i;
    }
    if (i == start || i - start > 3) {
        return false;
    }
    while (i < line.size() && IsDigit(line[i]) && i - start < 8) {
        ++i;
    }
    if (i >= line.size() || line[i] != ')') {
        return false;
    }
    label = std::string(line.substr(start, i - start));
    rest = line.substr(i + 1);
    return rest.empty() || rest.front() == ' ';
}

/// "  1  (Kc3-b2    Time = 0.015 s)": progress of MoveNumbers, not a line of play.
inline bool MoveNumbersLine(std::string_view trimmed) {
    size_t i = 0;
    while (i < trimmed.size() && IsDigit(trimmed[i])) {
        ++i;
    }
    if (i == 0) {
        return false;
    }
    const std::string_view rest = TrimLeft(trimmed.substr(i));
    return StartsWith(rest, "(") && !rest.empty() && rest.back() == ')';
}

/// The most half-moves one line may hold.
inline constexpr size_t kMaxHalfMoves = 1000;

/// A check or goal mark written after a half-move ("+", "#", "==" ...).
inline bool IsMark(std::string_view token) {
    static constexpr std::string_view kGoals[] = {"dia", "a=>b", "ct", "z", "~", "x", "%", "!=", "00", "=="};
    for (std::string_view goal : kGoals) {
        if (token == goal) {
            return true;
        }
    }
    for (char c : token) {
        if (c != '+' && c != '#' && c != '=' && c != '!' && c != '~') {
            return false;
        }
    }
    return !token.empty() && token != "!";
}

}  // namespace engines::protocol_words
