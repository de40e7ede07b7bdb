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
    NotationRead result;
    result.notation = Notation::kPopeye;
    size_t base = 0;
    const std::string_view word = PlacementWord(text, true, base);
    Tokens tokens;
    size_t i = 0;
    auto fail = [&](std::string message) {
        result.error = std::move(message);
        return result;
    };
    while (i < word.size()) {
        const size_t start = i;
        const char ch = word[i];
        if (ch == '/') {
            if (!NewRank(tokens, base + i, result.error)) {
                return result;
            }
            ++i;
            continue;
        }
        if (IsDigit(ch)) {
            AddRun(tokens, word, i, base, 2);
            continue;
        }
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
                return fail("\".\" wants two letters or digits" + At(base + i));
            }
            first = word[i + 1];
            code = {Upper(word[i + 1]), Upper(word[i + 2])};
            i += 3;
        } else if (i < word.size() && IsLetter(word[i])) {
            first = word[i];
            code = std::string(1, Upper(word[i]));
            ++i;
        } else if (i > start) {
            return fail("a colour sign with no piece after it" + At(base + start));
        } else {
            const size_t len = Utf8Length(word, i);
            return fail("unknown sign '" + std::string(word.substr(i, len)) + "'" + At(base + i));
        }
        if (!IsPopeyeCode(code)) {
            return fail("unknown piece '" + std::string(word.substr(start, i - start)) + "'" +
                        At(base + start));
        }
        if (!color) {
            if (IsDigit(first)) {
                return fail("a leaper wants a colour sign (+, - or =)" + At(base + start));
            }
            color = first >= 'a' && first <= 'z' ? FairyColor::kBlack : FairyColor::kWhite;
        }
        if (!AddSquare(tokens, FairySquare::Man(code, *color), base + start, result.error)) {
            return result;
        }
    }
    return Layout(std::move(tokens), Notation::kPopeye);
}

NotationWrite WritePopeye(const FairyBoard& board) {
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
                WriteRun(out, run, true);
                run = 0;
            }
            if (sq.kind != SquareKind::kMan || sq.turns != 0) {
                return {"", "Popeye forsyth has no way to write " + Describe(board, s)};
            }
            if (!IsPopeyeCode(sq.man)) {
                return {"", "Popeye has no piece " + sq.man + " (" + Describe(board, s) + ")"};
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
        }
        if (run > 0) {
            WriteRun(out, run, true);
        }
    }
    // One rank alone would read as the solver's board of 8 x 8: a "/" after
    // it says where the board ends.
    if (board.rows == 1) {
        out += '/';
    }
    return result;
}

}  // namespace position::fairy_detail
