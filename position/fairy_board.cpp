#include "position/fairy_board.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <map>

#include "position/fairy_detail.h"
#include "position/vet.h"

namespace position {

using namespace fairy_detail;

FairySquare FairySquare::Man(std::string code, FairyColor color, int turns) {
    FairySquare sq;
    sq.kind = SquareKind::kMan;
    sq.man = std::move(code);
    sq.color = color;
    sq.turns = turns;
    return sq;
}

FairySquare FairySquare::Marker(MarkerKind marker, FairyColor color) {
    FairySquare sq;
    sq.kind = SquareKind::kMarker;
    sq.marker = marker;
    sq.color = color;
    return sq;
}

FairySquare FairySquare::Text(std::string text) {
    FairySquare sq;
    sq.kind = SquareKind::kText;
    sq.text = std::move(text);
    return sq;
}

const char* NotationName(Notation notation) {
    switch (notation) {
        case Notation::kFfen:
            return "ffen";
        case Notation::kYacpdb:
            return "yacpdb";
        case Notation::kPopeye:
            return "popeye";
    }
    return "";
}

std::optional<Notation> NotationOfName(std::string_view name) {
    std::string lower;
    for (char ch : name) {
        lower += static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
    }
    for (Notation n : {Notation::kFfen, Notation::kYacpdb, Notation::kPopeye}) {
        if (lower == NotationName(n)) {
            return n;
        }
    }
    return std::nullopt;
}

std::string SquareName(const FairyBoard& board, int row, int col) {
    const int rank = board.rows - row;
    if (board.cols <= 26) {
        return std::string(1, static_cast<char>('a' + col)) + std::to_string(rank);
    }
    return "column " + std::to_string(col + 1) + ", rank " + std::to_string(rank);
}

const char* MarkerName(MarkerKind marker) {
    switch (marker) {
        case MarkerKind::kCircle:
            return "circle";
        case MarkerKind::kCross:
            return "cross";
        case MarkerKind::kSquare:
            return "square";
        case MarkerKind::kTriangle:
            return "triangle";
        case MarkerKind::kAsterisk:
            return "asterisk";
        case MarkerKind::kDisc:
            return "disc";
    }
    return "";
}

bool IsOrthodoxCode(std::string_view code) {
    return code.size() == 1 && std::string_view("KQRBSP").find(code[0]) != std::string_view::npos;
}

bool IsPopeyeCode(std::string_view code) {
    // The solver's English piece codes; two digits name the (m,n)-leapers.
    static constexpr std::array<std::string_view, 160> kCodes = {
        "15", "16", "24", "25", "35", "36", "37", "AH", "AL", "AM", "AN", "AO", "AR", "B",  "B1", "B2",
        "B3", "BE", "BH", "BI", "BK", "BL", "BM", "BN", "BO", "BP", "BR", "BS", "BT", "BU", "BW", "C",
        "CA", "CG", "CH", "CP", "CR", "CT", "CY", "DA", "DB", "DG", "DK", "DO", "DR", "DS", "DU", "EA",
        "EE", "EH", "EK", "EM", "EN", "EQ", "ET", "F",  "FA", "FE", "FR", "G",  "G2", "G3", "GE", "GF",
        "GH", "GI", "GL", "GN", "GR", "GT", "HA", "HC", "K",  "KA", "KH", "KL", "KO", "KP", "L",  "LB",
        "LE", "LH", "LI", "LN", "LO", "LR", "LS", "M",  "MA", "MG", "MH", "ML", "MM", "MO", "MP", "MS",
        "N",  "NA", "ND", "NE", "NH", "NL", "O",  "OA", "OH", "OK", "OR", "P",  "PA", "PO", "PP", "PR",
        "Q",  "QE", "QF", "QN", "QQ", "R",  "RA", "RB", "RE", "RF", "RH", "RK", "RL", "RM", "RN", "RP",
        "RO", "RR", "RT", "RW", "S",  "S1", "S2", "S3", "S4", "SA", "SC", "SE", "SH", "SI", "SK", "SO",
        "SP", "SQ", "SS", "ST", "SW", "TH", "TR", "UU", "VA", "WA", "WE", "WR", "Z",  "ZE", "ZH", "ZR",
    };
    if (code.size() == 2 && IsDigit(code[0]) && IsDigit(code[1])) {
        return true;
    }
    // One bit per code of one or two digits and capitals, made once.
    auto index = [](std::string_view c) {
        auto at = [](char ch) {
            return ch >= '0' && ch <= '9' ? ch - '0' : ch >= 'A' && ch <= 'Z' ? ch - 'A' + 10 : -1;
        };
        const int first = at(c[0]);
        const int second = c.size() == 2 ? at(c[1]) : 36;
        return first < 0 || second < 0 ? -1 : first * 37 + second;
    };
    static const std::bitset<36 * 37> known = [&] {
        std::bitset<36 * 37> bits;
        for (std::string_view c : kCodes) {
            bits.set(static_cast<size_t>(index(c)));
        }
        return bits;
    }();
    if (code.empty() || code.size() > 2) {
        return false;
    }
    const int i = index(code);
    return i >= 0 && known.test(static_cast<size_t>(i));
}

namespace fairy_detail {

char Upper(char ch) {
    return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch;
}

bool IsLetter(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
}

bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

std::string At(size_t offset) {
    return " at character " + std::to_string(offset + 1);
}

size_t Utf8Length(std::string_view text, size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t n = 1;
    if (lead >= 0xF0 && lead < 0xF8) {
        n = 4;
    } else if (lead >= 0xE0) {
        n = lead < 0xF0 ? 3 : 1;
    } else if (lead >= 0xC2) {
        n = 2;
    }
    if (i + n > text.size()) {
        return 1;
    }
    for (size_t k = 1; k < n; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
            return 1;
        }
    }
    return n;
}

bool IsTextCharacter(std::string_view ch) {
    if (ch.empty()) {
        return false;
    }
    const auto lead = static_cast<unsigned char>(ch[0]);
    if (ch.size() == 1) {
        return lead > 0x20 && lead < 0x7F && lead != '\'';
    }
    // A whole multi-byte character (Utf8Length checked its form); not C1 controls.
    return !(lead == 0xC2 && static_cast<unsigned char>(ch[1]) < 0xA0);
}

std::string_view PlacementWord(std::string_view text, bool popeye, size_t& base) {
    auto isBlank = [](char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; };
    size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    if (popeye && text.size() - i >= 7) {
        std::string head;
        for (size_t k = 0; k < 7; ++k) {
            head += Upper(text[i + k]);
        }
        if (head == "FORSYTH" && (text.size() - i == 7 || isBlank(text[i + 7]))) {
            i += 7;
            while (i < text.size() && isBlank(text[i])) {
                ++i;
            }
        }
    }
    // A piece tally "(16x16)".
    if (i < text.size() && text[i] == '(') {
        size_t k = i + 1;
        const size_t digitsStart = k;
        while (k < text.size() && IsDigit(text[k])) {
            ++k;
        }
        if (k > digitsStart && k < text.size() && text[k] == 'x') {
            const size_t second = ++k;
            while (k < text.size() && IsDigit(text[k])) {
                ++k;
            }
            if (k > second && k < text.size() && text[k] == ')') {
                i = k + 1;
            }
        }
    }
    size_t end = i;
    while (end < text.size() && !isBlank(text[end])) {
        ++end;
    }
    base = i;
    return text.substr(i, end - i);
}

bool AddSquare(Tokens& tokens, FairySquare square, size_t offset, std::string& error) {
    if (++tokens.squares > kMaxSquares) {
        error = "more than " + std::to_string(kMaxSquares) + " squares" + At(offset);
        return false;
    }
    Item item;
    item.square = std::move(square);
    item.offset = offset;
    tokens.ranks.back().push_back(std::move(item));
    return true;
}

bool NewRank(Tokens& tokens, size_t offset, std::string& error) {
    tokens.slashes = true;
    if (tokens.ranks.size() >= static_cast<size_t>(kMaxSquares)) {
        error = "more than " + std::to_string(kMaxSquares) + " ranks" + At(offset);
        return false;
    }
    tokens.ranks.emplace_back();
    return true;
}

void AddRun(Tokens& tokens, std::string_view word, size_t& i, size_t base, int groupDigits) {
    Item item;
    item.run = true;
    item.offset = base + i;
    item.groupDigits = groupDigits;
    while (i < word.size() && IsDigit(word[i])) {
        item.digits += word[i++];
    }
    tokens.ranks.back().push_back(std::move(item));
}

namespace {

// No board is larger than this; longer runs only need to stay above it.
constexpr long kCap = 100000;

// Squares of a run read as numbers of groupDigits digits (all digits: 0).
long RunValue(const Item& item, bool digitWise) {
    long total = 0;
    long number = 0;
    int inGroup = 0;
    for (char ch : item.digits) {
        if (digitWise) {
            total += ch - '0';
            continue;
        }
        number = std::min(number * 10 + (ch - '0'), kCap);
        if (item.groupDigits > 0 && ++inGroup == item.groupDigits) {
            total += number;
            number = 0;
            inGroup = 0;
        }
    }
    return std::min(total + number, kCap);
}

long RankSquares(const std::vector<Item>& rank, bool digitWise) {
    long n = 0;
    for (const Item& item : rank) {
        n = std::min(n + (item.run ? RunValue(item, digitWise) : 1), kCap);
    }
    return n;
}

// Fills board square by square from the ranks, each read as the choice says.
void Fill(FairyBoard& board, const std::vector<std::vector<Item>>& ranks, const std::vector<bool>& digitWise,
          bool byRank) {
    int s = 0;
    for (size_t r = 0; r < ranks.size(); ++r) {
        if (byRank) {
            s = static_cast<int>(r) * board.cols;
        }
        for (const Item& item : ranks[r]) {
            if (item.run) {
                s += static_cast<int>(RunValue(item, digitWise[r]));
            } else {
                board.squares[static_cast<size_t>(s++)] = item.square;
            }
        }
    }
}

std::string Squares(long n) {
    return std::to_string(n) + (n == 1 ? " square" : " squares");
}

// The message for ranks of different lengths: the first rank that differs
// from the most common length.
std::string RankError(const std::vector<long>& counts, bool popeye) {
    std::map<long, int> tally;
    for (long c : counts) {
        ++tally[c];
    }
    long common = counts.front();
    for (const auto& [count, times] : tally) {
        if (times > tally[common]) {
            common = count;
        }
    }
    const size_t n = counts.size();
    for (size_t r = 0; r < n; ++r) {
        const bool shortLast = popeye && r + 1 == n && counts[r] < common;
        if (counts[r] == common || shortLast) {
            continue;
        }
        bool othersAgree = true;
        for (size_t k = 0; k < n; ++k) {
            if (k != r && counts[k] != common && !(popeye && k + 1 == n && counts[k] < common)) {
                othersAgree = false;
            }
        }
        std::string message = "rank " + std::to_string(n - r) + " has " + Squares(counts[r]) + ", ";
        if (othersAgree) {
            return message + "the others " + std::to_string(common);
        }
        for (size_t k = 0; k < n; ++k) {
            if (counts[k] == common) {
                return message + "rank " + std::to_string(n - k) + " has " + std::to_string(common);
            }
        }
    }
    return "the ranks have different lengths";
}

}  // namespace

NotationRead Layout(Tokens tokens, Notation notation) {
    NotationRead result;
    result.notation = notation;
    const bool popeye = notation == Notation::kPopeye;
    std::vector<std::vector<Item>>& ranks = tokens.ranks;
    // A "/" after the last rank closes it; it starts no new one.
    if (ranks.size() > 1 && ranks.back().empty()) {
        ranks.pop_back();
    }
    const size_t n = ranks.size();
    bool any = false;
    for (const auto& rank : ranks) {
        any = any || !rank.empty();
    }
    if (!any) {
        result.error = "the text is empty";
        return result;
    }
    std::vector<long> decimal(n);
    std::vector<long> digitWise(n);
    for (size_t r = 0; r < n; ++r) {
        decimal[r] = RankSquares(ranks[r], false);
        digitWise[r] = RankSquares(ranks[r], true);
    }

    // The width every rank must have; the solver's notation lets its last
    // rank stop short. Whole texts are read one way if they can be, each
    // rank on its own only if not.
    auto fits = [&](size_t r, long count, long cols) {
        return count == cols || (popeye && r + 1 == n && n > 1 && count < cols);
    };
    long cols = -1;
    std::vector<bool> choice(n, false);
    for (const bool wise : {false, true}) {
        const std::vector<long>& counts = wise ? digitWise : decimal;
        bool all = true;
        for (size_t r = 0; r < n; ++r) {
            all = all && fits(r, counts[r], counts[0]);
        }
        if (all && counts[0] > 0) {
            cols = counts[0];
            std::fill(choice.begin(), choice.end(), wise);
            break;
        }
    }
    if (cols < 0) {
        for (const long candidate : {decimal[0], digitWise[0]}) {
            bool all = candidate > 0;
            for (size_t r = 0; r < n && all; ++r) {
                if (fits(r, decimal[r], candidate)) {
                    choice[r] = false;
                } else if (fits(r, digitWise[r], candidate)) {
                    choice[r] = true;
                } else {
                    all = false;
                }
            }
            if (all) {
                cols = candidate;
                break;
            }
        }
    }

    if (popeye && !tokens.slashes) {
        cols = -1;  // no ranks at all: the solver's order of squares
    }
    if (cols < 0 && popeye) {
        // The solver reads its squares in order, whatever the "/" say.
        long total = 0;
        for (size_t r = 0; r < n; ++r) {
            total += decimal[r];
        }
        if (total > 64) {
            result.error = "the text describes " + Squares(total) + ", the board has 64";
            return result;
        }
        FairyBoard board(8, 8);
        Fill(board, ranks, std::vector<bool>(n, false), false);
        result.board = std::move(board);
        return result;
    }
    if (cols < 0) {
        result.error = RankError(decimal, false);
        return result;
    }
    long rows = static_cast<long>(n);
    const long last = (choice.back() ? digitWise : decimal).back();
    if (popeye && cols == 8 && n < 8 && last < cols) {
        // The last squares left out: the solver's board of 8 x 8.
        rows = 8;
    }
    if (rows * cols > kMaxSquares) {
        result.error = "the board would have " + std::to_string(rows) + " x " + std::to_string(cols) + " = " +
                       std::to_string(rows * cols) + " squares, more than " + std::to_string(kMaxSquares);
        return result;
    }
    FairyBoard board(static_cast<int>(rows), static_cast<int>(cols));
    Fill(board, ranks, choice, true);
    result.board = std::move(board);
    return result;
}

void WriteRun(std::string& out, int n, bool twoDigits) {
    if (twoDigits) {
        while (n > 99) {
            out += "99";
            n -= 99;
        }
    }
    out += std::to_string(n);
}

std::string Describe(const FairyBoard& board, int s) {
    const FairySquare& sq = board.squares[static_cast<size_t>(s)];
    const std::string where = SquareName(board, s / board.cols, s % board.cols);
    switch (sq.kind) {
        case SquareKind::kMarker:
            return std::string("the ") + MarkerName(sq.marker) + " on " + where;
        case SquareKind::kText:
            return "the text '" + sq.text + "' on " + where;
        case SquareKind::kMan:
            return "the man " + sq.man + (sq.turns != 0 ? " turned" : "") + " on " + where;
        case SquareKind::kEmpty:
            break;
    }
    return where;
}

}  // namespace fairy_detail

NotationRead ReadNotation(std::string_view text, Notation notation, const NotationOptions& options) {
    switch (notation) {
        case Notation::kFfen:
            return ReadFfen(text, options);
        case Notation::kYacpdb:
            return ReadYacpdb(text);
        case Notation::kPopeye:
            return ReadPopeye(text);
    }
    return {};
}

NotationWrite WriteNotation(const FairyBoard& board, Notation notation, const NotationOptions& options) {
    if (board.rows < 1 || board.cols < 1 || board.rows * board.cols > kMaxSquares ||
        board.squares.size() != static_cast<size_t>(board.rows * board.cols)) {
        return {"", "the board has no squares or more than " + std::to_string(kMaxSquares)};
    }
    switch (notation) {
        case Notation::kFfen:
            return WriteFfen(board, options);
        case Notation::kYacpdb:
            return WriteYacpdb(board);
        case Notation::kPopeye:
            return WritePopeye(board);
    }
    return {};
}

namespace {

// The notations to try for text, most likely first.
std::vector<Notation> Guesses(std::string_view text) {
    size_t base = 0;
    const std::string_view word = PlacementWord(text, false, base);
    size_t popeyeBase = 0;
    const bool keyword = PlacementWord(text, true, popeyeBase).data() != word.data();
    bool bracketMan = false;
    bool dotted = false;
    bool plusEquals = false;
    bool ffenSigns = false;
    bool minus = false;
    bool knightS = false;
    bool knightN = false;
    for (size_t i = 0; i < word.size(); ++i) {
        const char ch = word[i];
        const char next = i + 1 < word.size() ? word[i + 1] : '\0';
        if (ch == '(' && (next == '!' || IsLetter(next))) {
            bracketMan = true;
        } else if (ch == '.' && (IsLetter(next) || IsDigit(next))) {
            dotted = true;
        } else if (ch == '+' || ch == '=') {
            plusEquals = true;
        } else if (ch == '*' || ch == '\'' || ch == '~') {
            ffenSigns = true;
        } else if (ch == '-') {
            minus = true;
        } else if (ch == 'S' || ch == 's') {
            knightS = true;
        } else if (ch == 'N' || ch == 'n') {
            knightN = true;
        }
    }
    using N = Notation;
    if (keyword || dotted || plusEquals) {
        return {N::kPopeye, N::kYacpdb, N::kFfen};
    }
    if (bracketMan) {
        return {N::kYacpdb, N::kFfen, N::kPopeye};
    }
    if (ffenSigns) {
        return {N::kFfen, N::kYacpdb, N::kPopeye};
    }
    if (minus) {
        return knightN ? std::vector<N>{N::kFfen, N::kPopeye, N::kYacpdb}
                       : std::vector<N>{N::kPopeye, N::kFfen, N::kYacpdb};
    }
    if (knightS && !knightN) {
        return word.find('/') == std::string_view::npos ? std::vector<N>{N::kPopeye, N::kYacpdb, N::kFfen}
                                                        : std::vector<N>{N::kYacpdb, N::kPopeye, N::kFfen};
    }
    return {N::kFfen, N::kYacpdb, N::kPopeye};
}

}  // namespace

NotationRead ReadAuto(std::string_view text, const NotationOptions& options) {
    const std::vector<Notation> order = Guesses(text);
    NotationRead first;
    for (size_t k = 0; k < order.size(); ++k) {
        NotationRead r = ReadNotation(text, order[k], options);
        if (r.ok()) {
            return r;
        }
        if (k == 0) {
            first = std::move(r);
        }
    }
    return first;
}

}  // namespace position
