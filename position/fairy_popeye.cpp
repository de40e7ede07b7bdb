// The solver's "forsyth" notation: its piece letters ("S" the knight),
// upper case White and lower case Black unless "+", "-" or "=" (White,
// Black, neutral) comes first, two-character codes after a "." (".PA",
// "=.li", "+.15"), runs of empty squares of one or two digits, "/" optional,
// the empty squares at the end left out at will.

#include <string>
#include <utility>

#include "position/fairy_detail.h"

namespace position::fairy_detail {

namespace {

char Lower(char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

}  // namespace

NotationRead ReadPopeye(std::string_view text) {
    return ReadRanks(text, Notation::kPopeye, 2, [](Cursor& c, FairySquare& square) -> std::string {
        const std::string_view word = c.word;
        size_t& i = c.i;
        const size_t start = i;
        const char ch = word[i];
        std::optional<FairyColor> color;
        if (ch == '+' || ch == '-' || ch == '=') {
            color = ch == '+' ? FairyColor::kWhite : ch == '-' ? FairyColor::kBlack : FairyColor::kNeutral;
            ++i;
        }
        std::string code;
        char first = '\0';
        if (i < word.size() && word[i] == '.') {
            if (i + 2 >= word.size() || !(IsLetter(word[i + 1]) || IsDigit(word[i + 1])) ||
                !(IsLetter(word[i + 2]) || IsDigit(word[i + 2]))) {
                return c.Fail("\".\" wants two letters or digits", i);
            }
            first = word[i + 1];
            code = {Upper(word[i + 1]), Upper(word[i + 2])};
            i += 3;
        } else if (i < word.size() && IsLetter(word[i])) {
            first = word[i];
            code = std::string(1, Upper(word[i]));
            ++i;
        } else {
            return i > start ? c.Fail("a colour sign with no piece after it", start) : c.UnknownSign();
        }
        if (!IsPopeyeCode(code)) {
            return c.Fail("unknown piece '" + std::string(word.substr(start, i - start)) + "'", start);
        }
        if (!color) {
            if (IsDigit(first)) {
                return c.Fail("a leaper wants a colour sign (+, - or =)", start);
            }
            color = first >= 'a' && first <= 'z' ? FairyColor::kBlack : FairyColor::kWhite;
        }
        square = FairySquare::Man(code, *color);
        return {};
    });
}

NotationWrite WritePopeye(const FairyBoard& board) {
    NotationWrite result =
        WriteRanks(board, true, [&](const FairySquare& sq, int s, std::string& out) -> std::string {
            if (sq.kind != SquareKind::kMan || sq.turns != 0) {
                return "Popeye forsyth has no way to write " + Describe(board, s);
            }
            if (!IsPopeyeCode(sq.man)) {
                return "Popeye has no piece " + sq.man + " (" + Describe(board, s) + ")";
            }
            std::string letters;
            for (char c : sq.man) {
                letters += sq.color == FairyColor::kWhite ? c : Lower(c);
            }
            if (sq.color == FairyColor::kNeutral) {
                out += '=';
            } else if (IsDigit(sq.man[0])) {
                out += sq.color == FairyColor::kWhite ? '+' : '-';
            }
            if (sq.man.size() == 2) {
                out += '.';
            }
            out += letters;
            return {};
        });
    // One rank alone would read as the solver's board of 8 x 8: a "/" after
    // it says where the board ends.
    if (result.ok() && board.rows == 1) {
        result.text += '/';
    }
    return result;
}

}  // namespace position::fairy_detail
