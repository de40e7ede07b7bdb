#include "books/search.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <span>

#include "settings/style.h"

namespace books {

namespace {

// Trims blanks and tabs; a record's text ends in a long run of blanks, so
// this is done with plain comparisons, the padding eight blanks at a time.
std::string_view TrimText(std::string_view t) {
    size_t b = 0;
    size_t e = t.size();
    while (b < e && (t[b] == ' ' || t[b] == '\t')) {
        ++b;
    }
    while (e >= b + 8 && std::memcmp(t.data() + e - 8, "        ", 8) == 0) {
        e -= 8;
    }
    while (e > b && (t[e - 1] == ' ' || t[e - 1] == '\t')) {
        --e;
    }
    return t.substr(b, e - b);
}

// Appends n with at least four digits ("0007"; "-0007" below zero).
void AppendFour(std::string& out, int64_t n) {
    if (n < 0) {
        out.push_back('-');
        n = -n;
    }
    char digits[24];
    int k = 0;
    do {
        digits[k++] = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n > 0);
    while (k < 4) {
        digits[k++] = '0';
    }
    while (k > 0) {
        out.push_back(digits[--k]);
    }
}

// "#" and a count in four digits, into out.
void SetCount(std::string& out, int64_t n) {
    out.assign(1, '#');
    AppendFour(out, n);
}

std::string Four(int64_t n) {
    std::string s;
    AppendFour(s, n);
    return s;
}

// The whole value of a number text as a 16-bit integer would take it; no
// value when it does not fit.
std::optional<int> Value16(std::string_view text) {
    const std::optional<double> v = settings::Val(text);
    if (!v) {
        return std::nullopt;
    }
    const std::optional<int32_t> r = settings::RoundHalfEven(*v);
    if (!r || *r < -32768 || *r > 32767) {
        return std::nullopt;
    }
    return *r;
}

// Adds criteria to the lists, minding the limit of 30 per list.
class ListBuilder {
  public:
    explicit ListBuilder(Criteria& c) : m_c(c) {}

    // False once a list overflowed: parsing stops there.
    bool Add(bool andList, int kind, std::string text) {
        if (m_full) {
            return false;
        }
        auto& list = andList ? m_c.AndList : m_c.OrList;
        if (list.size() >= kMaxCriteria) {
            m_full = true;
            return false;
        }
        list.push_back({kind, std::move(text)});
        return true;
    }

    bool Full() const { return m_full; }

  private:
    Criteria& m_c;
    bool m_full = false;
};

// Splits a box text into words at blanks, "+" and "," outside double
// quotes; calls add(word, isAnd) for each word, where isAnd tells that the
// separator met last before the word was "+". Stops when add returns false.
template <typename Add>
void SplitWords(std::string_view box, Add add) {
    std::string t(settings::Trim(box));
    t.push_back(' ');
    std::string word;
    bool quoted = false;
    char last = ' ';
    for (const char ch : t) {
        if (ch == '"') {
            quoted = !quoted;
            continue;
        }
        if (!quoted && (ch == ' ' || ch == '+' || ch == ',')) {
            if (!word.empty() && !add(word, last == '+')) {
                return;
            }
            last = ch;
            word.clear();
            continue;
        }
        word.push_back(ch);
    }
}

// The pattern of a notation such as Ke1 or e4: its piece letter and square
// index; empty when the word names no square.
std::string NotationPattern(std::string word, const position::BoardShape& shape) {
    auto lastTwo = [](const std::string& w) { return w.size() <= 2 ? w : w.substr(w.size() - 2); };
    if (Value16(lastTwo(word)).value_or(0) < 10) {
        word.insert(word.size() - 1, "0");
    }
    const std::string padded = "   P" + word;
    const std::string r(settings::Trim(std::string_view(padded).substr(padded.size() - 4)));
    if (r.size() != 4) {
        return {};
    }
    const int rank = Value16(r.substr(2)).value_or(0);
    const int column = static_cast<unsigned char>(settings::Upper(r.substr(1, 1))[0]) - 65;
    const int64_t square = static_cast<int64_t>(shape.rows - rank) * shape.cols + column;
    return r.substr(0, 1) + Four(square);
}

// A number set as the ranges ExpandNumbers wrote, ascending and apart.
struct NumberRange {
    int lo = 0;
    int hi = 0;
};
using NumberSet = std::vector<NumberRange>;

// Appends the range lo-hi as "#0001-0006" (nothing when it is empty).
void AppendRange(std::string& out, int lo, int hi) {
    if (hi < lo) {
        return;
    }
    out.push_back('#');
    AppendFour(out, lo);
    out.push_back('-');
    AppendFour(out, hi);
}

NumberSet ReadRanges(std::string_view text) {
    NumberSet set;
    size_t i = 0;
    const auto number = [&] {
        int n = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            n = n * 10 + (text[i++] - '0');
        }
        return n;
    };
    while (i < text.size() && text[i] == '#') {
        ++i;
        const int lo = number();
        int hi = lo;
        if (i < text.size() && text[i] == '-') {
            ++i;
            hi = number();
        }
        set.push_back({lo, hi});
    }
    return set;
}

bool Contains(const NumberSet& set, int n) {
    const auto after = std::upper_bound(set.begin(), set.end(), n,
                                        [](int value, const NumberRange& r) { return value < r.lo; });
    return after != set.begin() && n <= std::prev(after)->hi;
}

// One criterion made ready for testing: the men criteria with their number
// sets read once, not at every game.
struct Test {
    const Criterion* criterion;
    NumberSet numbers;
};

std::vector<Test> Prepare(const std::vector<Criterion>& list) {
    std::vector<Test> tests;
    for (const Criterion& c : list) {
        const bool men = c.kind == kWhiteMen || c.kind == kBlackMen || c.kind == kAllMen;
        tests.push_back({&c, men ? ReadRanges(c.text) : NumberSet{}});
    }
    return tests;
}

// Whether a game's count ("#0016") is in the set. A game without a
// position has no count and meets every men criterion, as it always has.
bool HasCount(const NumberSet& set, const std::string& count) {
    if (count.empty()) {
        return true;
    }
    int n = 0;
    for (size_t i = 1; i < count.size(); ++i) {
        n = n * 10 + (count[i] - '0');
    }
    return Contains(set, n);
}

bool Holds(const Test& t, const GameFieldsResult& f) {
    const Criterion& c = *t.criterion;
    switch (c.kind) {
        case kWord:
            return f.ids.find(c.text) != std::string::npos;
        case kWhiteMen:
            return HasCount(t.numbers, f.white);
        case kBlackMen:
            return HasCount(t.numbers, f.black);
        case kAllMen:
            return HasCount(t.numbers, f.all);
        case kPieceOn:
            return f.pieces.find(c.text) != std::string::npos;
        default:
            return false;
    }
}

bool Passes(const std::vector<Test>& andList, const std::vector<Test>& orList, const GameFieldsResult& f) {
    for (const Test& k : andList) {
        if (!Holds(k, f)) {
            return false;
        }
    }
    if (orList.empty()) {
        return true;
    }
    for (const Test& k : orList) {
        if (Holds(k, f)) {
            return true;
        }
    }
    return false;
}

// Reads the leading records of games in blocks, so that a game usually
// costs one read of the work file. Told the first records of the games
// that follow (a search's pass over the index), a read also takes along
// the leading records of the next games when they lie close: a few records
// more cost less than another read call.
class FieldsReader {
  public:
    explicit FieldsReader(const Book& book) : m_book(book) {}

    // Which fields the criteria look at; the others are not made.
    bool wantIds = true;
    bool wantPieces = true;

    // The fields of the game whose first record is recNo; next holds the
    // first records of the games to be read after it, in order.
    void Read(int64_t recNo, GameFieldsResult& f, std::span<const int64_t> next = {}) {
        m_next = next;
        f.ids.clear();
        f.white.clear();
        f.black.clear();
        f.all.clear();
        f.pieces.clear();
        if (recNo < 1 || recNo > m_book.NRecords) {
            return;
        }
        int64_t r = recNo;
        const char* rec = Record(r);
        while (rec != nullptr && rec[1] == kTag) {
            if (wantIds) {
                const std::string_view text = TrimText(std::string_view(rec + 8, kTextLength));
                const size_t at = f.ids.size();
                f.ids.append(text);
                for (size_t i = at; i < f.ids.size(); ++i) {
                    const char ch = f.ids[i];
                    if (ch >= 'a' && ch <= 'z') {
                        f.ids[i] = static_cast<char>(ch - 'a' + 'A');
                    }
                }
            }
            rec = ++r <= m_book.NRecords ? Record(r) : nullptr;
        }
        if (rec == nullptr || rec[1] != kEntry) {
            return;
        }
        std::string_view text(rec + 8, kTextLength);
        if (!SideFits(text)) {
            // A long position may go on in continuation records.
            m_whole.assign(text);
            for (int64_t more = r + 1; more <= m_book.NRecords; ++more) {
                const char* rest = Record(more);
                if (rest == nullptr || rest[1] != kMore) {
                    break;
                }
                m_whole.append(rest + 8, kTextLength);
            }
            text = m_whole;
        }
        std::string_view placement = TrimText(text);
        placement = placement.substr(0, placement.find(' '));
        int64_t square = 0;
        int white = 0;
        int black = 0;
        for (const char ch : placement) {
            if ((ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z')) {
                if (wantPieces) {
                    f.pieces.push_back(ch);
                    AppendFour(f.pieces, square);
                }
                ++square;
                ++(ch <= 'Z' ? white : black);
            } else if (ch >= '1' && ch <= '9') {
                square += ch - '0';
            }
        }
        SetCount(f.white, white);
        SetCount(f.black, black);
        SetCount(f.all, white + black);
    }

  private:
    // A game's tags and first position usually fit in one block.
    static constexpr int64_t kBlock = 16;
    // The next game's leading records are taken along when at most this
    // many records lie between them and the block: about 17 KB, which cost
    // about as much to copy as one more read call.
    static constexpr int64_t kMaxGap = 128;
    // Most records one read takes (about 1 MB).
    static constexpr int64_t kMaxBlock = 8192;

    // Record r from the block in memory, reading a new block when needed.
    const char* Record(int64_t r) {
        if (r < m_first || r >= m_first + m_count) {
            const int64_t count = BlockFrom(r);
            if (m_block.size() < static_cast<size_t>(count) * kRecordLength) {
                m_block.resize(static_cast<size_t>(count) * kRecordLength);
            }
            m_first = r;
            m_count = m_book.ReadRecords(r, count, m_block.data());
            if (m_count < 1) {
                return nullptr;
            }
        }
        return m_block.data() + (r - m_first) * kRecordLength;
    }

    // Records to read from r on: a block, stretched over the leading
    // records of the next games while they lie close.
    int64_t BlockFrom(int64_t r) const {
        int64_t end = r + kBlock;
        for (const int64_t head : m_next) {
            if (head < r || head - end > kMaxGap || head + kBlock - r > kMaxBlock) {
                break;
            }
            end = std::max(end, head + kBlock);
        }
        return end - r;
    }

    const Book& m_book;
    std::span<const int64_t> m_next;
    std::string m_whole;  // a position with its continuations
    std::vector<char> m_block;
    int64_t m_first = 0;
    int64_t m_count = 0;
};

}  // namespace

std::string ExpandNumbers(std::string_view t) {
    std::string text(settings::Trim(t));
    text.push_back(' ');
    std::vector<NumberRange> ranges;
    std::string number;
    int from = 0;
    for (const char ch : text) {
        if (ch == '-') {
            from = Value16(number).value_or(0);
            number.clear();
        } else if (ch == ' ' || ch == ',') {
            if (!number.empty()) {
                const int to = Value16(number).value_or(0);
                if (to > 0) {
                    if (from >= 1) {
                        ranges.push_back({std::min(from, to), std::max(from, to)});
                    } else {
                        ranges.push_back({to, to});
                    }
                }
                from = 0;
                number.clear();
            }
        } else {
            number.push_back(ch);
        }
    }
    std::sort(ranges.begin(), ranges.end(),
              [](const NumberRange& a, const NumberRange& b) { return a.lo < b.lo; });
    std::string result;
    int lo = 0;
    int hi = -1;
    for (const NumberRange& r : ranges) {
        if (hi >= lo && r.lo <= hi + 1) {
            hi = std::max(hi, r.hi);
            continue;
        }
        AppendRange(result, lo, hi);
        lo = r.lo;
        hi = r.hi;
    }
    AppendRange(result, lo, hi);
    return result;
}

Criteria ParseCriteria(const std::array<std::string, 5>& boxes, const position::BoardShape& shape) {
    Criteria c;
    ListBuilder lists(c);
    SplitWords(boxes[kWordsBox], [&](const std::string& word, bool isAnd) {
        return lists.Add(isAnd, kWord, settings::Upper(word));
    });
    const int menKinds[3] = {kWhiteMen, kBlackMen, kAllMen};
    for (int k = 0; k < 3 && !lists.Full(); ++k) {
        std::string set = ExpandNumbers(boxes[static_cast<size_t>(kWhiteBox + k)]);
        if (!set.empty()) {
            lists.Add(true, menKinds[k], std::move(set));
        }
    }
    if (!lists.Full()) {
        SplitWords(boxes[kNotationsBox], [&](const std::string& word, bool isAnd) {
            std::string pattern = NotationPattern(word, shape);
            return pattern.empty() || lists.Add(isAnd, kPieceOn, std::move(pattern));
        });
    }
    return c;
}

GameFieldsResult GameFields(const Book& book, int64_t recNo) {
    GameFieldsResult f;
    FieldsReader(book).Read(recNo, f);
    return f;
}

std::string SearchProgressText(int64_t found, int64_t examined, int64_t total) {
    return std::to_string(found) + " found. Searching " + std::to_string(examined) + " of " +
           std::to_string(total);
}

SearchResult Search(Book& book, const Criteria& criteria, const SearchProgressFn& progress) {
    SearchResult result;
    const int64_t total = static_cast<int64_t>(book.FullIndex.size());
    if (criteria.Empty()) {
        book.GameIndex = book.FullIndex;
        result.outcome = SearchOutcome::kAll;
        for (int64_t k = 1; k <= total; ++k) {
            result.positions.push_back(k);
        }
        return result;
    }
    FieldsReader reader(book);
    auto uses = [&](int kind) {
        for (const auto* list : {&criteria.AndList, &criteria.OrList}) {
            for (const Criterion& c : *list) {
                if (c.kind == kind) {
                    return true;
                }
            }
        }
        return false;
    };
    reader.wantIds = uses(kWord);
    reader.wantPieces = uses(kPieceOn);
    const std::vector<Test> andTests = Prepare(criteria.AndList);
    const std::vector<Test> orTests = Prepare(criteria.OrList);
    GameFieldsResult fields;
    std::vector<int64_t> found;
    for (int64_t k = 0; k < total; ++k) {
        if (progress && k % 100 == 0) {
            progress(static_cast<int64_t>(found.size()), k, total);
        }
        const int64_t recNo = book.FullIndex[static_cast<size_t>(k)];
        reader.Read(recNo, fields,
                    std::span<const int64_t>(book.FullIndex).subspan(static_cast<size_t>(k + 1)));
        if (Passes(andTests, orTests, fields)) {
            found.push_back(recNo);
            result.positions.push_back(k + 1);
        }
    }
    if (found.empty()) {
        result.outcome = SearchOutcome::kNotFound;
        return result;
    }
    book.GameIndex = std::move(found);
    result.outcome = SearchOutcome::kFound;
    return result;
}

}  // namespace books
