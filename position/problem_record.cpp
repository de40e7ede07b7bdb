#include "position/problem_record.h"

#include <algorithm>
#include <cctype>

namespace position {

namespace {

std::string Trim(std::string_view text) {
    size_t a = 0;
    size_t b = text.size();
    while (a < b && std::isspace(static_cast<unsigned char>(text[a])) != 0) {
        ++a;
    }
    while (b > a && std::isspace(static_cast<unsigned char>(text[b - 1])) != 0) {
        --b;
    }
    return std::string(text.substr(a, b - a));
}

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& ch : out) {
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    }
    return out;
}

bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

// Splits at sep, trimmed, empty parts dropped.
std::vector<std::string> Split(std::string_view text, char sep) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(sep, start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string part = Trim(text.substr(start, end - start));
        if (!part.empty()) {
            parts.push_back(std::move(part));
        }
        start = end + 1;
    }
    return parts;
}

// Length of the trailing number of moves ("2", "2.5", "3 1/2"), 0 when the
// text does not end in one.
size_t MovesLength(std::string_view text) {
    size_t i = text.size();
    if (text.size() >= 4 && text.substr(text.size() - 4) == " 1/2") {
        i -= 4;
    }
    size_t digitsEnd = i;
    while (i > 0 && IsDigit(text[i - 1])) {
        --i;
    }
    if (i == digitsEnd) {
        return 0;
    }
    if (digitsEnd == text.size() && i >= 2 && text[i - 1] == '.' && IsDigit(text[i - 2])) {
        // "2.5": digits, a point, digits.
        --i;
        while (i > 0 && IsDigit(text[i - 1])) {
            --i;
        }
    }
    return text.size() - i;
}

struct Name {
    const char* code;
    const char* name;
};

// Fairy pieces most often met in print, by the solver's codes.
constexpr Name kPieceNames[] = {
    {"G", "Grasshopper"},  {"N", "Nightrider"},  {"Z", "Zebra"},     {"CA", "Camel"},
    {"LI", "Lion"},        {"LE", "Leo"},        {"PA", "Pao"},      {"VA", "Vao"},
    {"AM", "Amazon"},      {"EM", "Empress"},    {"PR", "Princess"}, {"NAO", "Nao"},
    {"RO", "Rose"},        {"EQ", "Equihopper"}, {"M", "Mao"},       {"MO", "Moa"},
    {"B1", "Bishop-lion"}, {"RL", "Rook-lion"},  {"WE", "Wesir"},    {"FE", "Fers"},
    {"AL", "Alfil"},       {"DA", "Dabbaba"},    {"GI", "Giraffe"},  {"ZE", "Zebu"},
    {"LO", "Locust"},      {"K1", "Kangaroo"},   {"SI", "Sirene"},   {"TR", "Triton"},
    {"NE", "Nereide"},     {"OR", "Orphan"},     {"F", "Friend"},    {"BM", "Berolina pawn"},
    {"CH", "Chinese pawn"}};

}  // namespace

std::string ProblemRecord::AuthorLine() const {
    std::string line;
    for (size_t i = 0; i < authors.size(); ++i) {
        if (i > 0) {
            line += i + 1 == authors.size() ? " and " : ", ";
        }
        line += authors[i];
    }
    return line;
}

bool LooksLikeStipulation(std::string_view text) {
    std::string s = Trim(text);
    if (s == "+" || s == "=") {
        return true;
    }
    const size_t moves = MovesLength(s);
    if (moves == 0 || moves == s.size()) {
        return false;
    }
    std::string head = s.substr(0, s.size() - moves);
    // The goal: the last of these the head ends in.
    static const char* const kGoals[] = {"==", "!=", "00", "#", "=", "+", "x", "%", "z", "ct"};
    bool goal = false;
    for (const char* g : kGoals) {
        const std::string_view gv(g);
        if (head.size() >= gv.size() && head.compare(head.size() - gv.size(), gv.size(), gv) == 0) {
            head.resize(head.size() - gv.size());
            goal = true;
            break;
        }
    }
    if (!goal) {
        return false;
    }
    // The kind: letters and hyphens only, short.
    return head.size() <= 6 && std::all_of(head.begin(), head.end(), [](char ch) {
               return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || ch == '-';
           });
}

std::pair<std::string, std::string> SplitStipulation(std::string_view stipulation) {
    const std::string s = Trim(stipulation);
    const size_t moves = MovesLength(s);
    return {Trim(std::string_view(s).substr(0, s.size() - moves)), s.substr(s.size() - moves)};
}

ProblemRecord RecordFromTags(const std::vector<RecordTag>& tags) {
    ProblemRecord r;
    std::string white;
    std::string site;
    std::string event;
    std::vector<std::string> comments;
    for (const auto& [rawName, rawValue] : tags) {
        const std::string name = Upper(Trim(rawName));
        const std::string value = Trim(rawValue);
        if (value.empty() || value == "?") {
            continue;
        }
        auto setOnce = [&value](std::string& field) {
            if (field.empty()) {
                field = value;
            }
        };
        if (name == "AUTHOR") {
            for (std::string& a : Split(value, ';')) {
                r.authors.push_back(std::move(a));
            }
        } else if (name == "SOURCE") {
            setOnce(r.source);
        } else if (name == "DATE") {
            // Game books write unknown parts as "????.??.??".
            if (value.find_first_not_of("?.") != std::string::npos && r.date.empty()) {
                std::string date = value;
                while (date.size() >= 3 && date.compare(date.size() - 3, 3, ".??") == 0) {
                    date.resize(date.size() - 3);
                }
                r.date = date;
            }
        } else if (name == "AWARD") {
            setOnce(r.award);
        } else if (name == "STIPULATION") {
            setOnce(r.stipulation);
        } else if (name == "CONDITION") {
            r.conditions += r.conditions.empty() ? value : " " + value;
        } else if (name == "TWINS") {
            setOnce(r.twins);
        } else if (name == "SOLUTION") {
            setOnce(r.solution);
        } else if (name == "REMARK") {
            r.remarks += r.remarks.empty() ? value : "\n" + value;
        } else if (name == "COUNT") {
            setOnce(r.count);
        } else if (name == "LEGEND") {
            for (const std::string& pair : Split(value, ';')) {
                const size_t eq = pair.find('=');
                if (eq != std::string::npos) {
                    r.legend.push_back({Trim(pair.substr(0, eq)), Trim(pair.substr(eq + 1))});
                }
            }
        } else if (name == "WHITE") {
            setOnce(white);
        } else if (name == "SITE") {
            setOnce(site);
        } else if (name == "EVENT") {
            setOnce(event);
        } else if (name == "COMM1" || name == "COMM2" || name == "COMM3") {
            comments.push_back(value);
        }
    }
    if (r.authors.empty() && !white.empty()) {
        for (std::string& a : Split(white, ';')) {
            r.authors.push_back(std::move(a));
        }
    }
    if (r.source.empty()) {
        r.source = site;
    }
    if (r.stipulation.empty() && LooksLikeStipulation(event)) {
        r.stipulation = Trim(event);
    }
    for (const std::string& c : comments) {
        r.remarks += r.remarks.empty() ? c : "\n" + c;
    }
    return r;
}

MenCount CountMen(const FairyBoard& board) {
    MenCount c;
    for (const FairySquare& sq : board.squares) {
        if (sq.kind != SquareKind::kMan) {
            continue;
        }
        (sq.color == FairyColor::kWhite ? c.white : sq.color == FairyColor::kBlack ? c.black : c.neutral)++;
    }
    return c;
}

MenCount CountMen(const Vet& vet, const FairyStyle& style) {
    MenCount c;
    const int n = static_cast<int>(style.piecesList.size());
    // One look per letter, not per square: boards of 400 squares repeat them.
    std::vector<int> side(static_cast<size_t>(n) + 1, -1);
    for (int i = 1; i <= n; ++i) {
        const FairySquare look = LookOf(style, i);
        if (look.kind == SquareKind::kMan) {
            side[static_cast<size_t>(i)] = static_cast<int>(look.color);
        } else if (look.kind == SquareKind::kEmpty) {
            const char letter = style.piecesList[static_cast<size_t>(i - 1)];
            side[static_cast<size_t>(i)] = std::islower(static_cast<unsigned char>(letter)) != 0 ? 1 : 0;
        }
    }
    const int squares = std::clamp(style.rows * style.cols, 0, kMaxSquares);
    for (int s = 0; s < squares; ++s) {
        const int p = PieceOf(vet(kPosition, s), n);
        if (p < 1 || p > n) {
            continue;
        }
        switch (side[static_cast<size_t>(p)]) {
            case 0:
                ++c.white;
                break;
            case 1:
                ++c.black;
                break;
            case 2:
                ++c.neutral;
                break;
            default:
                break;
        }
    }
    return c;
}

std::string CountText(const MenCount& count) {
    std::string t = "(" + std::to_string(count.white) + "+" + std::to_string(count.black);
    if (count.neutral > 0) {
        t += "+" + std::to_string(count.neutral) + "n";
    }
    return t + ")";
}

std::optional<MenCount> ParseCount(std::string_view text) {
    std::string s = Trim(text);
    if (s.size() >= 2 && s.front() == '(' && s.back() == ')') {
        s = Trim(std::string_view(s).substr(1, s.size() - 2));
    }
    std::vector<std::string> parts = Split(s, '+');
    if (parts.size() < 2 || parts.size() > 3) {
        return std::nullopt;
    }
    if (parts.size() == 3 && (parts[2].back() == 'n' || parts[2].back() == 'N')) {
        parts[2].pop_back();
    }
    int values[3] = {0, 0, 0};
    for (size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].empty() || parts[i].size() > 3 ||
            !std::all_of(parts[i].begin(), parts[i].end(), IsDigit)) {
            return std::nullopt;
        }
        values[i] = std::stoi(parts[i]);
    }
    return MenCount{values[0], values[1], values[2]};
}

std::string CountWarning(const ProblemRecord& record, const MenCount& board) {
    if (Trim(record.count).empty()) {
        return "";
    }
    const std::optional<MenCount> named = ParseCount(record.count);
    if (!named) {
        return "The count " + record.count + " cannot be read";
    }
    if (*named == board) {
        return "";
    }
    return "The count " + CountText(*named) + " does not match the board " + CountText(board);
}

std::string PieceName(std::string_view code) {
    const std::string u = Upper(code);
    for (const Name& n : kPieceNames) {
        if (u == n.code) {
            return n.name;
        }
    }
    return "";
}

std::vector<LegendEntry> LegendFor(const FairyBoard& board) {
    std::vector<LegendEntry> legend;
    for (const FairySquare& sq : board.squares) {
        if (sq.kind != SquareKind::kMan || IsOrthodoxCode(sq.man)) {
            continue;
        }
        const std::string name = PieceName(sq.man);
        if (name.empty() || std::any_of(legend.begin(), legend.end(),
                                        [&sq](const LegendEntry& e) { return e.letter == sq.man; })) {
            continue;
        }
        legend.push_back({sq.man, name});
    }
    return legend;
}

FairyBoard PublishedBoard(const Vet& vet, const FairyStyle& style, std::string_view dictionaryBase) {
    const NotationRead read = FromPlacement(vet, style, dictionaryBase, Notation::kYacpdb);
    if (read.ok()) {
        return *read.board;
    }
    // Some square has a look no notation writes: take every square by its
    // look where there is one, else by its letter.
    const int rows = std::clamp(style.rows, 0, kMaxSquares);
    const int cols = std::clamp(style.cols, 0, kMaxSquares);
    FairyBoard board(rows * cols <= kMaxSquares ? rows : 0, rows * cols <= kMaxSquares ? cols : 0);
    const int n = static_cast<int>(style.piecesList.size());
    for (int s = 0; s < board.rows * board.cols; ++s) {
        const int p = PieceOf(vet(kPosition, s), n);
        if (p < 1 || p > n) {
            continue;
        }
        FairySquare look = LookOf(style, p);
        if (look.kind == SquareKind::kEmpty) {
            const char letter = style.piecesList[static_cast<size_t>(p - 1)];
            const char english = static_cast<size_t>(p - 1) < style.englishNotation.size()
                                     ? style.englishNotation[p - 1]
                                     : letter;
            const bool black = std::islower(static_cast<unsigned char>(letter)) != 0;
            std::string code(1, static_cast<char>(std::toupper(static_cast<unsigned char>(english))));
            if (code == "N") {
                code = "S";
            }
            look = FairySquare::Man(code, black ? FairyColor::kBlack : FairyColor::kWhite);
        }
        board.squares[static_cast<size_t>(s)] = look;
    }
    return board;
}

}  // namespace position
