// Cutting a text into ranks of squares and runs, and laying the ranks on a
// board: the part of reading the three notations share.

#include <algorithm>
#include <map>
#include <utility>

#include "position/fairy_detail.h"
#include "position/vet.h"

namespace position::fairy_detail {

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

std::string Cursor::UnknownSign() const {
    const size_t len = Utf8Length(word, i);
    return Fail("unknown sign '" + std::string(word.substr(i, len)) + "'", i);
}

NotationRead ReadRanks(std::string_view text, Notation notation, int groupDigits,
                       const SquareReader& readSquare) {
    NotationRead result;
    result.notation = notation;
    Cursor cursor;
    cursor.word = PlacementWord(text, notation == Notation::kPopeye, cursor.base);
    Tokens tokens;
    const std::string_view word = cursor.word;
    size_t& i = cursor.i;
    while (i < word.size()) {
        if (word[i] == '/') {
            if (!NewRank(tokens, cursor.base + i, result.error)) {
                return result;
            }
            ++i;
            continue;
        }
        if (IsDigit(word[i])) {
            AddRun(tokens, word, i, cursor.base, groupDigits);
            continue;
        }
        const size_t start = i;
        FairySquare square;
        result.error = readSquare(cursor, square);
        if (!result.error.empty() ||
            !AddSquare(tokens, std::move(square), cursor.base + start, result.error)) {
            return result;
        }
    }
    return Layout(std::move(tokens), notation);
}

}  // namespace position::fairy_detail
