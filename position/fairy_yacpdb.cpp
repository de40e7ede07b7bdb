// The problem database's bracket FEN: the solver's piece letters ("S" the
// knight), upper case White and lower case Black, and men in brackets for
// what one letter cannot say: "(!b2)" a neutral bishop turned by two
// quarters, "(Q1)" a White queen turned by one, "(pa)" a Black pao.

#include <string>
#include <utility>

#include "position/fairy_detail.h"

namespace position::fairy_detail {

namespace {

bool IsCodeCharacter(char ch) {
    return IsLetter(ch) || IsDigit(ch);
}

}  // namespace

NotationRead ReadYacpdb(std::string_view text) {
    return ReadRanks(text, Notation::kYacpdb, 0, [](Cursor& c, FairySquare& square) -> std::string {
        const std::string_view word = c.word;
        size_t& i = c.i;
        const char ch = word[i];
        if (IsLetter(ch)) {
            const FairyColor color = Upper(ch) == ch ? FairyColor::kWhite : FairyColor::kBlack;
            square = FairySquare::Man(std::string(1, Upper(ch)), color);
            ++i;
            return {};
        }
        if (ch == ')') {
            return c.Fail("unbalanced ')'", i);
        }
        if (ch != '(') {
            return c.UnknownSign();
        }
        const size_t close = word.find(')', i);
        const size_t open = word.find('(', i + 1);
        if (close == std::string_view::npos || (open != std::string_view::npos && open < close)) {
            return c.Fail("unbalanced '('", i);
        }
        std::string_view inside = word.substr(i + 1, close - i - 1);
        const bool neutral = !inside.empty() && inside[0] == '!';
        if (neutral) {
            inside.remove_prefix(1);
        }
        int turns = 0;
        // A last digit after a letter is the turn, and so is a third
        // character: "(Q1)" a turned queen, "(G20)" an upright
        // grasshopper-2, "(15)" a leaper.
        const bool turnDigit = !inside.empty() && IsDigit(inside.back()) &&
                               (inside.size() == 3 || (inside.size() == 2 && IsLetter(inside[0])));
        if (turnDigit) {
            turns = inside.back() - '0';
            if (turns > 3) {
                return c.Fail("turn " + std::string(1, inside.back()) + " is out of range (0 to 3)",
                              i + (neutral ? 2 : 1) + inside.size() - 1);
            }
            inside.remove_suffix(1);
        }
        // Codes are letters, a letter and a digit, or two digits (a leaper,
        // never turned).
        const bool digitFirst = !inside.empty() && IsDigit(inside[0]);
        if (inside.empty() || inside.size() > 2 || !IsCodeCharacter(inside[0]) ||
            (inside.size() == 2 && !IsCodeCharacter(inside[1])) || (digitFirst && inside.size() != 2) ||
            (digitFirst && (!IsDigit(inside[1]) || turns != 0))) {
            return c.Fail("unknown man '(" + std::string(word.substr(i + 1, close - i - 1)) + ")'", i);
        }
        std::string code;
        for (char letter : inside) {
            code += Upper(letter);
        }
        const FairyColor color = neutral                                  ? FairyColor::kNeutral
                                 : (inside[0] >= 'a' && inside[0] <= 'z') ? FairyColor::kBlack
                                                                          : FairyColor::kWhite;
        square = FairySquare::Man(code, color, turns);
        i = close + 1;
        return {};
    });
}

NotationWrite WriteYacpdb(const FairyBoard& board) {
    return WriteRanks(board, false, [&](const FairySquare& sq, int s, std::string& out) -> std::string {
        if (sq.kind != SquareKind::kMan) {
            return "YACPDB has no way to write " + Describe(board, s);
        }
        const std::string& code = sq.man;
        // A code that starts with a digit takes its colour from no
        // letter and its turn from no place: only White and neutral
        // upright ones can be written.
        const bool digitFirst = !code.empty() && IsDigit(code[0]);
        const bool valid =
            (code.size() == 1 && IsLetter(code[0])) ||
            (code.size() == 2 && IsCodeCharacter(code[0]) && IsCodeCharacter(code[1]) &&
             !(digitFirst && (sq.color == FairyColor::kBlack || sq.turns != 0 || !IsDigit(code[1]))));
        if (!valid || sq.turns < 0 || sq.turns > 3) {
            return "YACPDB has no way to write " + Describe(board, s);
        }
        std::string written;
        for (char c : code) {
            written += sq.color == FairyColor::kWhite
                           ? c
                           : static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
        if (code.size() == 1 && sq.turns == 0 && sq.color != FairyColor::kNeutral) {
            out += written;
            return {};
        }
        out += '(';
        if (sq.color == FairyColor::kNeutral) {
            out += '!';
        }
        out += written;
        if (sq.turns > 0 || (code.size() == 2 && IsDigit(code[1]))) {
            out += static_cast<char>('0' + sq.turns);
        }
        out += ')';
        return {};
    });
}

}  // namespace position::fairy_detail
