#include "books/position_match.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace books {

PlacementReader::PlacementReader(const position::BoardShape& shape)
    : m_shape(shape), m_squares(shape.Squares()) {
    for (int d = 1; d <= 9; ++d) {
        m_step[static_cast<unsigned char>('0' + d)] = static_cast<uint8_t>(d);
    }
    // The first place of a letter counts, as on the board.
    for (int i = std::min(static_cast<int>(shape.piecesList.size()), 255) - 1; i >= 0; --i) {
        const auto ch = static_cast<unsigned char>(shape.piecesList[static_cast<size_t>(i)]);
        if (ch < '1' || ch > '9') {
            m_man[ch] = static_cast<uint8_t>(i + 1);
            m_step[ch] = 1;
            const int slot = i % kMaterialSlots;
            m_countLow[ch] = slot < 8 ? uint64_t{1} << (8 * slot) : 0;
            m_countHigh[ch] = slot < 8 ? 0 : uint64_t{1} << (8 * (slot - 8));
        }
    }
}

std::string_view PlacementField(std::string_view text) {
    size_t p = text.find_first_not_of(' ');
    if (p == std::string_view::npos) {
        return {};
    }
    if (text[p] == '(') {
        const size_t close = text.find(')', p);
        if (close != std::string_view::npos) {
            p = text.find_first_not_of(' ', close + 1);
            if (p == std::string_view::npos) {
                return {};
            }
        }
    }
    const size_t end = text.find(' ', p);
    return text.substr(p, end == std::string_view::npos ? std::string_view::npos : end - p);
}

template <bool kMaterial>
uint32_t PlacementReader::Decode(std::string_view text, Placement& out) const {
    out.cells.assign(static_cast<size_t>(m_squares), 0);
    out.men.clear();
    out.outside = 0;
    // Locals, not the vector: stores of bytes could otherwise change the
    // vector's own fields as far as the compiler knows, and it would read
    // them again for every character.
    uint8_t* cells = out.cells.data();
    const int squares = m_squares;
    int outside = 0;
    int s = 0;
    // A byte a slot: a board of under 256 squares cannot overflow one.
    uint64_t low = 0;
    uint64_t high = 0;
    // Without branches on the kind of character: digits and letters come in
    // no order a processor could guess.
    for (const char ch : PlacementField(text)) {
        const auto c = static_cast<unsigned char>(ch);
        const uint8_t man = m_man[c];
        if (s < squares) {
            cells[s] = static_cast<uint8_t>(cells[s] | man);
            if constexpr (kMaterial) {
                low += m_countLow[c];
                high += m_countHigh[c];
            }
        } else {
            outside += man != 0 ? 1 : 0;
        }
        s += m_step[c];
    }
    out.outside = outside;
    if constexpr (!kMaterial) {
        return 0;
    } else {
        if (squares > 255) {
            int counts[kMaterialSlots] = {};
            for (int q = 0; q < squares; ++q) {
                if (const uint8_t code = cells[q]; code != 0) {
                    ++counts[(code - 1) % kMaterialSlots];
                }
            }
            return PackMaterial(counts);
        }
        int counts[kMaterialSlots];
        for (int slot = 0; slot < kMaterialSlots; ++slot) {
            counts[slot] =
                static_cast<int>(((slot < 8 ? low >> (8 * slot) : high >> (8 * (slot - 8)))) & 0xFF);
        }
        return PackMaterial(counts);
    }
}

void PlacementReader::ReadCells(std::string_view text, Placement& out) const {
    Decode<false>(text, out);
}

uint32_t PlacementReader::ReadCellsMaterial(std::string_view text, Placement& out) const {
    return Decode<true>(text, out);
}

void PlacementReader::Read(std::string_view text, Placement& out) const {
    ReadCells(text, out);
    const int cols = m_shape.cols;
    for (int s = 0; s < m_squares; ++s) {
        if (const uint8_t c = out.cells[static_cast<size_t>(s)]; c != 0) {
            out.men.push_back({s / cols, s % cols, s, c});
        }
    }
}

namespace {

// The variant made by moving every man of the placement with f; false when
// a man's letter has no counterpart (colours) or falls off the board.
template <typename F>
bool Transformed(const Placement& from, int rows, int cols, F f, Placement& to) {
    to.cells.assign(from.cells.size(), 0);
    to.men.clear();
    to.outside = from.outside;
    for (const Man& m : from.men) {
        Man t = m;
        if (!f(t)) {
            return false;
        }
        if (t.row < 0 || t.row >= rows || t.col < 0 || t.col >= cols) {
            return false;
        }
        to.cells[static_cast<size_t>(t.row * cols + t.col)] = t.code;
    }
    for (int s = 0; s < rows * cols; ++s) {
        if (const uint8_t c = to.cells[static_cast<size_t>(s)]; c != 0) {
            to.men.push_back({s / cols, s % cols, s, c});
        }
    }
    return true;
}

}  // namespace

std::vector<Variant> MakeVariants(const Placement& query, const PlacementReader& reader, bool mirror,
                                  bool colours) {
    const int rows = reader.Shape().rows;
    const int cols = reader.Shape().cols;
    const std::string& letters = reader.Shape().piecesList;
    std::vector<Variant> out;
    out.push_back({"exact", query});
    if (mirror) {
        Variant v;
        v.how = "mirror";
        if (Transformed(
                query, rows, cols, [&](Man& m) { return m.col = cols - 1 - m.col, true; }, v.placement)) {
            out.push_back(v);
        }
        if (rows == cols) {
            struct Named {
                const char* how;
                int kind;
            };
            for (const Named n : {Named{"updown", 0}, Named{"diagonal", 1}, Named{"antidiagonal", 2}}) {
                Variant d;
                d.how = n.how;
                const bool ok = Transformed(
                    query, rows, cols,
                    [&](Man& m) {
                        const int r = m.row;
                        const int c = m.col;
                        if (n.kind == 0) {
                            m.row = rows - 1 - r;
                        } else if (n.kind == 1) {
                            m.row = c;
                            m.col = r;
                        } else {
                            m.row = rows - 1 - c;
                            m.col = cols - 1 - r;
                        }
                        return true;
                    },
                    d.placement);
                if (ok) {
                    out.push_back(d);
                }
            }
        }
    }
    if (colours) {
        const size_t plain = out.size();
        for (size_t i = 0; i < plain; ++i) {
            Variant v;
            v.how = i == 0 ? "colours" : "colours+" + out[i].how;
            const bool ok = Transformed(
                out[i].placement, rows, cols,
                [&](Man& m) {
                    const unsigned char letter = static_cast<unsigned char>(letters[m.code - 1]);
                    const char other =
                        static_cast<char>(std::isupper(letter) ? std::tolower(letter) : std::toupper(letter));
                    const size_t p = letters.find(other);
                    if (other == static_cast<char>(letter) || p == std::string::npos) {
                        return false;
                    }
                    m.code = static_cast<uint8_t>(p + 1);
                    m.row = rows - 1 - m.row;
                    return true;
                },
                v.placement);
            if (ok) {
                out.push_back(v);
            }
        }
    }
    return out;
}

bool MatchesInPlace(const Placement& record, const Placement& variant, bool partial, int squares) {
    if (variant.outside != 0) {
        return false;
    }
    if (!partial) {
        return std::memcmp(record.cells.data(), variant.cells.data(), static_cast<size_t>(squares)) == 0;
    }
    for (const Man& m : variant.men) {
        if (record.cells[static_cast<size_t>(m.square)] != m.code) {
            return false;
        }
    }
    return true;
}

namespace {

bool ShiftFits(const Placement& record, const Placement& variant, int down, int right, int rows, int cols) {
    for (const Man& m : variant.men) {
        const int r = m.row + down;
        const int c = m.col + right;
        if (r < 0 || r >= rows || c < 0 || c >= cols ||
            record.cells[static_cast<size_t>(r * cols + c)] != m.code) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool MatchesShifted(const Placement& record, const Placement& variant, bool partial, int rows, int cols,
                    int& down, int& right) {
    if (variant.men.empty() || variant.outside != 0) {
        return false;
    }
    const Man& anchor = variant.men.front();
    if (!partial) {
        // A shift keeps the order of the squares, so the first men meet and
        // the offset is known at once.
        if (record.men.size() != variant.men.size() || record.men.front().code != anchor.code) {
            return false;
        }
        down = record.men.front().row - anchor.row;
        right = record.men.front().col - anchor.col;
        return (down != 0 || right != 0) && ShiftFits(record, variant, down, right, rows, cols);
    }
    for (const Man& m : record.men) {
        if (m.code != anchor.code) {
            continue;
        }
        down = m.row - anchor.row;
        right = m.col - anchor.col;
        if ((down != 0 || right != 0) && ShiftFits(record, variant, down, right, rows, cols)) {
            return true;
        }
    }
    return false;
}

uint32_t MaterialOf(const Placement& placement) {
    int counts[kMaterialSlots] = {};
    for (const uint8_t code : placement.cells) {
        if (code != 0) {
            ++counts[(code - 1) % kMaterialSlots];
        }
    }
    return PackMaterial(counts);
}

MaterialFilter::MaterialFilter(const std::vector<uint32_t>& wanted, bool partial) {
    for (const uint32_t w : wanted) {
        auto& t = m_tables.emplace_back();
        for (int part = 0; part < 3; ++part) {
            const unsigned want = (w >> (8 * part)) & 0xFF;
            for (unsigned have = 0; have < 256; ++have) {
                bool ok = true;
                for (int k = 0; k < 4; ++k) {
                    const unsigned a = (have >> (2 * k)) & 3;
                    const unsigned b = (want >> (2 * k)) & 3;
                    ok = ok && (partial ? a >= b : a == b);
                }
                t[static_cast<size_t>(part)][have] = ok ? 1 : 0;
            }
        }
    }
}

namespace {

// No man from this square on.
constexpr int kNoMan = 1 << 30;

}  // namespace

TextMatcher::TextMatcher(const PlacementReader& reader, const Placement& variant, bool partial)
    : m_reader(&reader), m_partial(partial), m_squares(reader.Squares()) {
    m_never = variant.outside != 0;
    if (partial) {
        m_men = variant.men;
        std::sort(m_men.begin(), m_men.end(), [](const Man& a, const Man& b) { return a.square < b.square; });
        return;
    }
    m_cells = variant.cells;
    m_cells.resize(static_cast<size_t>(m_squares), 0);
    m_nextMan.assign(static_cast<size_t>(m_squares) + 1, kNoMan);
    for (int s = m_squares - 1; s >= 0; --s) {
        m_nextMan[static_cast<size_t>(s)] =
            m_cells[static_cast<size_t>(s)] != 0 ? s : m_nextMan[static_cast<size_t>(s) + 1];
    }
}

bool TextMatcher::Matches(std::string_view text) const {
    if (m_never) {
        return false;
    }
    // Most texts begin with their placement; the others are cut to it.
    const std::string_view field =
        !text.empty() && text.front() != ' ' && text.front() != '(' ? text : PlacementField(text);
    return m_partial ? MatchesPartial(field) : MatchesExact(field);
}

bool TextMatcher::MatchesExact(std::string_view field) const {
    const uint8_t* cells = m_cells.data();
    const int* nextMan = m_nextMan.data();
    const int squares = m_squares;
    int s = 0;
    for (const char ch : field) {
        if (s >= squares || ch == ' ') {
            break;  // men after the last square are not part of a placement
        }
        const uint8_t man = m_reader->ManOf(ch);
        const int step = m_reader->StepOf(ch);
        // A man must be the form's man on its square; a digit's squares
        // must all be empty in the form.
        const bool ok = (man != 0 && cells[s] == man) | (man == 0 && nextMan[s] >= s + step);
        if (!ok) {
            return false;
        }
        s += step;
    }
    return s >= squares || nextMan[s] == kNoMan;
}

bool TextMatcher::MatchesPartial(std::string_view field) const {
    const size_t n = m_men.size();
    if (n == 0) {
        return true;
    }
    size_t k = 0;
    int want = m_men[0].square;
    int s = 0;
    for (const char ch : field) {
        if (ch == ' ') {
            break;  // the end of the placement
        }
        const int step = m_reader->StepOf(ch);
        // The character reaches the square of the next man wanted: a digit
        // leaves it empty, a letter must be that man.
        if (s + step > want) {
            if (m_reader->ManOf(ch) != m_men[k].code) {
                return false;
            }
            if (++k == n) {
                return true;
            }
            want = m_men[k].square;
        }
        s += step;
    }
    return false;
}

std::string ShiftText(int down, int right) {
    auto signedText = [](int v) { return (v < 0 ? "-" : "+") + std::to_string(v < 0 ? -v : v); };
    // Ranks count upwards: a shift down the board is a negative rank step.
    return "shift" + signedText(right) + "," + signedText(-down);
}

bool MatchPlacement(const Placement& record, const std::vector<Variant>& variants,
                    const MatchOptions& options, const PlacementReader& reader, std::string& how) {
    const int squares = reader.Squares();
    for (const Variant& v : variants) {
        if (MatchesInPlace(record, v.placement, options.partial, squares)) {
            how = v.how;
            return true;
        }
    }
    if (!options.shift) {
        return false;
    }
    const int rows = reader.Shape().rows;
    const int cols = reader.Shape().cols;
    for (const Variant& v : variants) {
        int down = 0;
        int right = 0;
        if (MatchesShifted(record, v.placement, options.partial, rows, cols, down, right)) {
            how = (v.how == "exact" ? std::string() : v.how + "+") + ShiftText(down, right);
            return true;
        }
    }
    return false;
}

}  // namespace books
