// Fairy FEN: FEN letters for the men, "-" (or "~") for a neutral man, "*1"
// to "*3" for a man turned by quarters, marker letters c x s t a d, and
// "'A" or "''AB" for letters on a square.

#include <string>
#include <utility>

#include "position/fairy_detail.h"

namespace position::fairy_detail {

namespace {

struct MarkerLetter {
    char letter;
    MarkerKind marker;
};

// Marker letters in lower case; the knight-S form writes the square as "g".
MarkerKind const* MarkerOf(char lower, bool knightS) {
    static constexpr MarkerLetter kMarkers[] = {
        {'c', MarkerKind::kCircle},   {'x', MarkerKind::kCross},    {'s', MarkerKind::kSquare},
        {'t', MarkerKind::kTriangle}, {'a', MarkerKind::kAsterisk}, {'d', MarkerKind::kDisc},
    };
    static constexpr MarkerKind kSquareMarker = MarkerKind::kSquare;
    if (knightS && lower == 'g') {
        return &kSquareMarker;
    }
    if (knightS && lower == 's') {
        return nullptr;
    }
    for (const MarkerLetter& m : kMarkers) {
        if (m.letter == lower) {
            return &m.marker;
        }
    }
    return nullptr;
}

char MarkerLetterOf(MarkerKind marker, bool knightS) {
    switch (marker) {
        case MarkerKind::kCircle:
            return 'c';
        case MarkerKind::kCross:
            return 'x';
        case MarkerKind::kSquare:
            return knightS ? 'g' : 's';
        case MarkerKind::kTriangle:
            return 't';
        case MarkerKind::kAsterisk:
            return 'a';
        case MarkerKind::kDisc:
            return 'd';
    }
    return '?';
}

// The man code of a letter, upper case; "" for none.
std::string ManOf(char upper, bool knightS) {
    switch (upper) {
        case 'K':
        case 'Q':
        case 'R':
        case 'B':
        case 'P':
            return std::string(1, upper);
        case 'N':
            return "S";
        case 'S':
            return knightS ? "S" : "";
        default:
            return "";
    }
}

char Lower(char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

}  // namespace

NotationRead ReadFfen(std::string_view text, const NotationOptions& options) {
    return ReadRanks(text, Notation::kFfen, 0, [&options](Cursor& c, FairySquare& square) -> std::string {
        const std::string_view word = c.word;
        size_t& i = c.i;
        const size_t start = i;
        if (word[i] == '\'') {
            const bool two = i + 1 < word.size() && word[i + 1] == '\'';
            i += two ? 2 : 1;
            std::string letters;
            for (int k = 0; k < (two ? 2 : 1); ++k) {
                if (i >= word.size()) {
                    return c.Fail("the text of a square ends too soon", start);
                }
                const size_t len = Utf8Length(word, i);
                const std::string_view one = word.substr(i, len);
                if (!IsTextCharacter(one)) {
                    return c.Fail("a square's text cannot hold '" + std::string(one) + "'", i);
                }
                letters += one;
                i += len;
            }
            square = FairySquare::Text(letters);
            return {};
        }
        bool neutral = false;
        int turns = 0;
        bool turned = false;
        while (i < word.size() && (word[i] == '-' || word[i] == '~' || word[i] == '*')) {
            if (word[i] == '*') {
                if (turned) {
                    return c.Fail("a second turn", i);
                }
                turned = true;
                if (i + 1 >= word.size() || !IsDigit(word[i + 1])) {
                    return c.Fail("\"*\" wants a digit 1 to 3", i);
                }
                turns = word[i + 1] - '0';
                if (turns < 1 || turns > 3) {
                    return c.Fail("turn *" + std::string(1, word[i + 1]) + " is out of range (*1 to *3)", i);
                }
                i += 2;
            } else {
                if (neutral) {
                    return c.Fail("a second neutral sign", i);
                }
                neutral = true;
                ++i;
            }
        }
        if (i >= word.size() || !IsLetter(word[i])) {
            return i > start ? c.Fail("a sign with no man after it", start) : c.UnknownSign();
        }
        const char letter = word[i];
        const bool upper = letter >= 'A' && letter <= 'Z';
        const FairyColor color = neutral ? FairyColor::kNeutral
                                 : upper ? FairyColor::kWhite
                                         : FairyColor::kBlack;
        const std::string man = ManOf(Upper(letter), options.knightS);
        if (!man.empty()) {
            square = FairySquare::Man(man, color, turns);
        } else if (const MarkerKind* marker = MarkerOf(Lower(letter), options.knightS)) {
            if (turned) {
                return c.Fail("a marker cannot be turned", start);
            }
            square = FairySquare::Marker(*marker, color);
        } else {
            return c.Fail("unknown man or marker '" + std::string(1, letter) + "'", i);
        }
        ++i;
        return {};
    });
}

NotationWrite WriteFfen(const FairyBoard& board, const NotationOptions& options) {
    return WriteRanks(board, false, [&](const FairySquare& sq, int s, std::string& out) -> std::string {
        auto cased = [&](char lower) { return sq.color == FairyColor::kWhite ? Upper(lower) : lower; };
        if (sq.kind == SquareKind::kText) {
            const size_t first = sq.text.empty() ? 0 : Utf8Length(sq.text, 0);
            const bool two = first < sq.text.size();
            const size_t second = two ? Utf8Length(sq.text, first) : 0;
            const bool fits = !sq.text.empty() && first + second == sq.text.size() &&
                              IsTextCharacter(std::string_view(sq.text).substr(0, first)) &&
                              (!two || IsTextCharacter(std::string_view(sq.text).substr(first)));
            if (!fits) {
                return "Fairy FEN writes one or two characters on a square, not " + Describe(board, s);
            }
            if (sq.turns != 0) {
                return "Fairy FEN has no way to write " + Describe(board, s);
            }
            out += two ? "''" : "'";
            out += sq.text;
            return {};
        }
        if (sq.color == FairyColor::kNeutral) {
            out += '-';
        }
        if (sq.kind == SquareKind::kMarker) {
            out += cased(MarkerLetterOf(sq.marker, options.knightS));
            return {};
        }
        if (!IsOrthodoxCode(sq.man) || sq.turns < 0 || sq.turns > 3) {
            return "Fairy FEN has no letter for " + Describe(board, s);
        }
        if (sq.turns > 0) {
            out += '*';
            out += static_cast<char>('0' + sq.turns);
        }
        const char code = sq.man[0];
        out += cased(static_cast<char>(Lower(code == 'S' && !options.knightS ? 'N' : code)));
        return {};
    });
}

}  // namespace position::fairy_detail
