#include "engines/popeye_names.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <set>

#include "settings/style.h"

namespace engines {

namespace {

constexpr std::string_view kDictionaryDelimiter = "&&";

// The field names the warnings use, as the window's labels show them.
constexpr std::array<std::string_view, kPopeyeFieldCount> kFieldNames = {
    "Stipulation", "Moves",     "Conditions",  "Options", "Twins",  "ZeroPosition",
    "White pcs",   "Black pcs", "Neutral pcs", "Command", "Maxmem",
};

bool IsLower(char c) {
    return c >= 'a' && c <= 'z';
}

std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t start = text.find_first_not_of(" \t\r\n", pos);
        if (start == std::string_view::npos) {
            break;
        }
        size_t end = text.find_first_of(" \t\r\n", start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        words.emplace_back(text.substr(start, end - start));
        pos = end;
    }
    return words;
}

std::string Joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) {
        if (!text.empty()) {
            text += ' ';
        }
        text += word;
    }
    return text;
}

// "cont", "conti" ... "continued", in any case: the solver takes any
// abbreviation it can tell from its other twinning words.
bool IsContinued(const std::string& word) {
    constexpr std::string_view kContinued = "CONTINUED";
    const std::string upper = settings::Upper(word);
    return upper.size() >= 4 && upper.size() <= kContinued.size() &&
           kContinued.substr(0, upper.size()) == upper;
}

std::vector<std::string> SplitDictionary(std::string_view text) {
    std::vector<std::string> parts;
    size_t pos = 0;
    while (true) {
        const size_t at = text.find(kDictionaryDelimiter, pos);
        if (at == std::string_view::npos) {
            parts.emplace_back(text.substr(pos));
            return parts;
        }
        parts.emplace_back(text.substr(pos, at - pos));
        pos = at + kDictionaryDelimiter.size();
    }
}

// The letter an entry "X=wName" names; 0 for anything else.
char EntryLetter(const std::string& entry) {
    return entry.size() >= 2 && entry[1] == '=' ? entry[0] : '\0';
}

struct Renaming {
    std::vector<std::string_view> words;  // as offered, compared without regard to case
    std::string_view name;                // as the solver reads it
};

// Replaces every run of words that one of the renamings names; the text is
// kept as written when nothing is replaced.
std::string Renamed(std::string_view text, const std::vector<Renaming>& renamings) {
    const std::vector<std::string> words = Words(text);
    std::vector<std::string> out;
    bool changed = false;
    for (size_t i = 0; i < words.size();) {
        const Renaming* match = nullptr;
        for (const Renaming& r : renamings) {
            if (i + r.words.size() > words.size()) {
                continue;
            }
            bool same = true;
            for (size_t k = 0; k < r.words.size() && same; ++k) {
                same = settings::Upper(words[i + k]) == settings::Upper(r.words[k]);
            }
            if (same) {
                match = &r;
                break;
            }
        }
        if (match == nullptr) {
            out.push_back(words[i]);
            ++i;
        } else {
            out.emplace_back(match->name);
            i += match->words.size();
            changed = true;
        }
    }
    return changed ? Joined(out) : std::string(text);
}

}  // namespace

std::string SolverConditions(std::string_view text) {
    static const std::vector<Renaming> kConditions = {
        {{"Rex", "Inclusive"}, "RexInclusive"},
        {{"Rex", "Exclusive"}, "RexExclusive"},
        {{"Malefique"}, "Mirror"},
        {{"Patrol"}, "Patrouille"},
        {{"Reverse", "Einstein"}, "ReversalEinsteinChess"},
        {{"Monochrome"}, "MonochromChess"},
        {{"Bichrome"}, "BichromChess"},
        {{"Black", "Maximummer"}, "BlackMaximummer"},
        {{"White", "Maximummer"}, "WhiteMaximummer"},
        {{"Black", "Minimummer"}, "BlackMinimummer"},
        {{"White", "Minimummer"}, "WhiteMinimummer"},
        {{"Haaner", "Chess"}, "HaanerChess"},
        {{"Ghost", "Chess"}, "GhostChess"},
        {{"Back-to-Back"}, "BackToBack"},
    };
    return Renamed(text, kConditions);
}

std::string SolverOptions(std::string_view text) {
    static const std::vector<Renaming> kOptions = {
        {{"ShortSolutions"}, "StopOnShortSolutions"},
    };
    return Renamed(text, kOptions);
}

std::string FindPlaceholder(std::string_view text) {
    size_t pos = 0;
    while ((pos = text.find('<', pos)) != std::string_view::npos) {
        size_t end = pos + 1;
        if (end < text.size() && IsLower(text[end])) {
            while (end < text.size() && (IsLower(text[end]) || text[end] == ' ' ||
                                         std::isdigit(static_cast<unsigned char>(text[end])) != 0)) {
                ++end;
            }
            if (end < text.size() && text[end] == '>') {
                return std::string(text.substr(pos, end - pos + 1));
            }
        }
        ++pos;
    }
    return {};
}

PlaceholderAt FirstPlaceholder(const std::array<std::string, kPopeyeFieldCount>& fields) {
    for (size_t i = 0; i < fields.size(); ++i) {
        std::string placeholder = FindPlaceholder(fields[i]);
        if (!placeholder.empty()) {
            return {static_cast<int>(i), std::move(placeholder)};
        }
    }
    return {};
}

std::string PlaceholderWarning(const std::array<std::string, kPopeyeFieldCount>& fields) {
    const PlaceholderAt at = FirstPlaceholder(fields);
    if (at.field < 0) {
        return {};
    }
    return "Replace " + at.text + " in the " + std::string(kFieldNames[static_cast<size_t>(at.field)]) +
           " field by what it stands for before solving!";
}

bool StipulationHasMoves(std::string_view stipulation) {
    return !stipulation.empty() && std::isdigit(static_cast<unsigned char>(stipulation.back())) != 0;
}

std::string SolverMirrors(std::string_view text) {
    // The four mirrors the solver refuses, with the spelling it reads.
    constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kTurned = {{
        {"h1<-->a1", "a1<-->h1"},
        {"a8<-->a1", "a1<-->a8"},
        {"h8<-->a1", "a1<-->h8"},
        {"h1<-->a8", "a8<-->h1"},
    }};
    std::vector<std::string> words = Words(text);
    bool changed = false;
    for (std::string& word : words) {
        std::string lower = word;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        for (const auto& [turned, read] : kTurned) {
            if (lower == turned) {
                word = read;
                changed = true;
            }
        }
    }
    return changed ? Joined(words) : std::string(text);
}

std::vector<std::string> TwinLines(std::string_view twins) {
    std::vector<std::vector<std::string>> groups(1);
    for (std::string& word : Words(SolverMirrors(twins))) {
        if (settings::Upper(word) == "TWIN") {
            groups.emplace_back();
        } else {
            groups.back().push_back(std::move(word));
        }
    }
    std::vector<std::string> lines;
    for (std::vector<std::string>& group : groups) {
        // Continued belongs right after "Twin"; the pick list may have put it
        // anywhere.
        std::stable_partition(group.begin(), group.end(), IsContinued);
        if (!group.empty()) {
            lines.push_back(Joined(group));
        }
    }
    return lines;
}

std::string MergeDictionaries(std::string_view base, std::string_view own) {
    std::set<char> named;
    for (const std::string& entry : SplitDictionary(own)) {
        if (const char letter = EntryLetter(entry)) {
            named.insert(letter);
        }
    }
    if (named.empty()) {
        return std::string(base) + std::string(own);
    }
    std::vector<std::string> kept;
    for (std::string& entry : SplitDictionary(base)) {
        if (named.count(EntryLetter(entry)) == 0) {
            kept.push_back(std::move(entry));
        }
    }
    std::string text;
    for (size_t i = 0; i < kept.size(); ++i) {
        if (i > 0) {
            text += kDictionaryDelimiter;
        }
        text += kept[i];
    }
    return text + std::string(own);
}

}  // namespace engines
