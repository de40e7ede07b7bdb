#include "position/fairy_board.h"

#include <algorithm>
#include <array>
#include <bitset>

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

void WriteRun(std::string& out, int n, bool twoDigits) {
    if (twoDigits) {
        while (n > 99) {
            out += "99";
            n -= 99;
        }
    }
    out += std::to_string(n);
}

NotationWrite WriteRanks(
    const FairyBoard& board, bool twoDigitRuns,
    const std::function<std::string(const FairySquare& sq, int s, std::string& out)>& writeSquare) {
    NotationWrite result;
    std::string& out = result.text;
    for (int row = 0; row < board.rows; ++row) {
        if (row > 0) {
            out += '/';
        }
        int run = 0;
        for (int col = 0; col < board.cols; ++col) {
            const int s = row * board.cols + col;
            const FairySquare& sq = board.squares[static_cast<size_t>(s)];
            if (sq.kind == SquareKind::kEmpty) {
                ++run;
                continue;
            }
            if (run > 0) {
                WriteRun(out, run, twoDigitRuns);
                run = 0;
            }
            if (std::string error = writeSquare(sq, s, out); !error.empty()) {
                return {"", std::move(error)};
            }
        }
        if (run > 0) {
            WriteRun(out, run, twoDigitRuns);
        }
    }
    return result;
}

std::string Describe(const FairyBoard& board, int s) {
    const FairySquare& sq = board.squares[static_cast<size_t>(s)];
    std::string where = SquareName(board, s / board.cols, s % board.cols);
    switch (sq.kind) {
        case SquareKind::kMarker:
            return std::string("the ") + MarkerName(sq.marker) + " on " + where;
        case SquareKind::kText:
            return "the text '" + sq.text + "'" + (sq.turns != 0 ? " turned" : "") + " on " + where;
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
