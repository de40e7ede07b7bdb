#include "position/fairy_style.h"

#include <algorithm>
#include <map>
#include <vector>

#include "position/fairy_detail.h"

namespace position {

using namespace fairy_detail;

namespace {

// A knight without a dictionary entry is still the solver's "S".
constexpr std::string_view kKnightEntries = "&&N=wS&&n=bS&&";

// Marks that may become new letters once the alphabet is used up: none of
// them is a digit, "/", ")" or a sign the settings or glyph entries use.
constexpr std::string_view kSpareMarks = "!#$%*+<>?@[]^_{|}~";

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

char Lower(char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

const MarkerKind kMarkerKinds[] = {MarkerKind::kCircle,   MarkerKind::kCross,    MarkerKind::kSquare,
                                   MarkerKind::kTriangle, MarkerKind::kAsterisk, MarkerKind::kDisc};

// The man code of a glyph or English kind letter (P N B R Q K any case).
std::string KindCode(char letter) {
    switch (Upper(letter)) {
        case 'P':
        case 'B':
        case 'R':
        case 'Q':
        case 'K':
            return std::string(1, Upper(letter));
        case 'N':
            return "S";
        default:
            return "";
    }
}

// The look a glyph entry's right side gives; nullopt for one the
// notations do not know.
std::optional<FairySquare> ParseLook(std::string_view glyph) {
    if (glyph.size() >= 2 && glyph[0] == '\'') {
        std::string_view text = glyph.substr(glyph.size() >= 3 && glyph[1] == '\'' ? 2 : 1);
        size_t chars = 0;
        for (size_t i = 0; i < text.size(); i += Utf8Length(text, i)) {
            ++chars;
        }
        if (chars >= 1 && chars <= 2) {
            return FairySquare::Text(std::string(text));
        }
        return std::nullopt;
    }
    bool neutral = false;
    if (!glyph.empty() && glyph.back() == '~') {
        neutral = true;
        glyph.remove_suffix(1);
    }
    for (MarkerKind marker : kMarkerKinds) {
        const std::string lower = MarkerName(marker);
        std::string upper;
        for (char c : lower) {
            upper += Upper(c);
        }
        if (glyph == lower || glyph == upper) {
            const FairyColor color = neutral          ? FairyColor::kNeutral
                                     : glyph == upper ? FairyColor::kWhite
                                                      : FairyColor::kBlack;
            return FairySquare::Marker(marker, color);
        }
    }
    if (glyph.empty() || KindCode(glyph[0]).empty()) {
        return std::nullopt;
    }
    int angle = 0;
    for (size_t i = 1; i < glyph.size(); ++i) {
        if (!IsDigit(glyph[i]) || angle > 10000) {
            return std::nullopt;
        }
        angle = angle * 10 + (glyph[i] - '0');
    }
    if (angle % 90 != 0 || angle >= 360) {
        return FairySquare();  // a look, but not one the notations write
    }
    const FairyColor color = neutral                       ? FairyColor::kNeutral
                             : Upper(glyph[0]) == glyph[0] ? FairyColor::kWhite
                                                           : FairyColor::kBlack;
    return FairySquare::Man(KindCode(glyph[0]), color, angle / 90);
}

// The glyph entry's right side for a look.
std::string GlyphText(const FairySquare& sq) {
    std::string glyph;
    switch (sq.kind) {
        case SquareKind::kText:
            return "'" + sq.text;
        case SquareKind::kMarker:
            for (const char* p = MarkerName(sq.marker); *p != '\0'; ++p) {
                glyph += sq.color == FairyColor::kWhite ? Upper(*p) : *p;
            }
            break;
        case SquareKind::kMan: {
            const char kind = sq.man == "S" ? 'N' : sq.man[0];
            glyph += sq.color == FairyColor::kWhite ? kind : Lower(kind);
            if (sq.turns > 0) {
                glyph += std::to_string(sq.turns * 90);
            }
            break;
        }
        case SquareKind::kEmpty:
            return "";
    }
    if (sq.color == FairyColor::kNeutral) {
        glyph += '~';
    }
    return glyph;
}

char ColorLetter(FairyColor color) {
    return color == FairyColor::kWhite ? 'w' : color == FairyColor::kBlack ? 'b' : 'n';
}

bool SameName(const PopeyeName& name, const FairySquare& sq) {
    return name.code == sq.man && name.color == sq.color;
}

// The extended style and what the letters mean, kept up to date as letters
// are added.
class Letters {
  public:
    Letters(const FairyStyle& style, std::string_view base) : m_style(style), m_base(base) {
        for (size_t i = 0; i < m_style.piecesList.size(); ++i) {
            m_looks.push_back(LookOf(m_style, static_cast<int>(i) + 1));
            m_names.push_back(PopeyeNameOf(EnglishOf(i), Dictionary()));
        }
    }

    std::string Dictionary() const {
        return std::string(m_base) + m_style.pyDictionary + std::string(kKnightEntries);
    }

    // The index of a letter for sq, made when there is none; 0 when no
    // letter is left.
    int Find(const FairySquare& sq, bool byName) {
        for (int pass = 0; pass < 2; ++pass) {
            for (size_t i = 0; i < m_looks.size(); ++i) {
                const FairySquare& look = m_looks[i];
                if (!byName) {
                    if (look == sq) {
                        return static_cast<int>(i) + 1;
                    }
                    continue;
                }
                const bool isMan = look.kind == SquareKind::kMan || look.kind == SquareKind::kEmpty ||
                                   (look.kind == SquareKind::kText && m_names[i].fromEntry);
                const bool upright = look.kind != SquareKind::kMan || look.turns == 0;
                if (isMan && (upright || pass == 1) && SameName(m_names[i], sq)) {
                    return static_cast<int>(i) + 1;
                }
            }
            if (!byName) {
                break;
            }
        }
        return Add(sq, byName);
    }

    const FairyStyle& style() const { return m_style; }
    bool added() const { return m_added; }

  private:
    bool Taken(char ch) const { return m_style.piecesList.find(ch) != std::string::npos; }

    // The English letter of the i-th letter; a letter beyond the English
    // notation stands for itself.
    char EnglishOf(size_t i) const {
        return i < m_style.englishNotation.size() ? m_style.englishNotation[i] : m_style.piecesList[i];
    }

    char NewLetter(bool preferUpper) const {
        const std::string upper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
        std::string lower;
        for (char c : upper) {
            lower += Lower(c);
        }
        const std::string order = (preferUpper ? upper + lower : lower + upper) + std::string(kSpareMarks);
        for (char c : order) {
            if (!Taken(c)) {
                return c;
            }
        }
        return '\0';
    }

    // An English letter no other letter uses and the dictionary does not name.
    char NewEnglish(char first) const {
        const std::string dictionary = Dictionary();
        auto free = [&](char c) {
            return m_style.englishNotation.find(c) == std::string::npos &&
                   dictionary.find(std::string("&&") + c + "=") == std::string::npos;
        };
        if (free(first)) {
            return first;
        }
        const std::string order =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz" + std::string(kSpareMarks);
        for (char c : order) {
            if (free(c)) {
                return c;
            }
        }
        return '\0';
    }

    int Add(const FairySquare& sq, bool byName) {
        const char letter = NewLetter(sq.color == FairyColor::kWhite && sq.kind != SquareKind::kText);
        if (letter == '\0') {
            return 0;
        }
        FairySquare look = sq;
        char english = letter;
        std::string entry;
        if (sq.kind == SquareKind::kMan) {
            const bool orthodox = IsOrthodoxCode(sq.man);
            if (orthodox) {
                const char kindLetter = sq.man == "S" ? 'N' : sq.man[0];
                english = sq.color == FairyColor::kBlack ? Lower(kindLetter) : kindLetter;
            }
            if (!byName) {
                // Drawn as written.
            } else if (orthodox) {
                look = FairySquare::Man(sq.man, sq.color, 0);
            } else {
                std::string text = sq.man;
                if (sq.color == FairyColor::kBlack) {
                    for (char& c : text) {
                        c = Lower(c);
                    }
                }
                look = FairySquare::Text(text);
            }
            // The solver must take the man for what it is.
            const PopeyeName name = PopeyeNameOf(english, Dictionary());
            const bool needsEntry = !orthodox || sq.color == FairyColor::kNeutral || !SameName(name, sq);
            if (needsEntry) {
                english = NewEnglish(letter);
                if (english == '\0') {
                    return 0;
                }
                entry = std::string("&&") + english + "=" + ColorLetter(sq.color) + sq.man + "&&";
            }
        }
        if (sq.kind != SquareKind::kMan) {
            // Not a man for the solver: an English letter that names none.
            const char free = NewEnglish(letter);
            english = free != '\0' ? free : letter;
        }
        // Every letter before the new one gets its English letter, so that
        // the new one's stands at its place.
        std::string& englishNotation = m_style.englishNotation;
        for (size_t i = englishNotation.size(); i < m_style.piecesList.size(); ++i) {
            englishNotation += m_style.piecesList[i];
        }
        englishNotation.resize(m_style.piecesList.size());
        m_style.piecesList += letter;
        englishNotation += english;
        if (!m_style.piecesGlyphs.empty() && !IsBlank(m_style.piecesGlyphs.back())) {
            m_style.piecesGlyphs += ' ';
        }
        m_style.piecesGlyphs += std::string(1, letter) + "=" + GlyphText(look);
        m_style.pyDictionary += entry;
        m_looks.push_back(look);
        m_names.push_back(PopeyeNameOf(english, Dictionary()));
        m_added = true;
        return static_cast<int>(m_looks.size());
    }

    FairyStyle m_style;
    std::string_view m_base;
    std::vector<FairySquare> m_looks;
    std::vector<PopeyeName> m_names;
    bool m_added = false;
};

}  // namespace

FairySquare LookOf(const FairyStyle& style, int index) {
    if (index < 1 || index > static_cast<int>(style.piecesList.size())) {
        return {};
    }
    const char letter = style.piecesList[static_cast<size_t>(index - 1)];
    std::optional<FairySquare> look;
    bool entered = false;
    // The last entry for the letter counts.
    std::string_view text = style.piecesGlyphs;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i])) {
            ++i;
        }
        const size_t start = i;
        while (i < text.size() && !IsBlank(text[i])) {
            ++i;
        }
        const std::string_view entry = text.substr(start, i - start);
        if (entry.size() >= 3 && entry[0] == letter && entry[1] == '=') {
            if (auto parsed = ParseLook(entry.substr(2))) {
                look = parsed;
                entered = true;
            }
        }
    }
    if (entered) {
        return *look;
    }
    const size_t k = static_cast<size_t>(index - 1);
    const std::string code = k < style.englishNotation.size() ? KindCode(style.englishNotation[k]) : "";
    if (code.empty()) {
        return {};
    }
    return FairySquare::Man(code, letter >= 'a' && letter <= 'z' ? FairyColor::kBlack : FairyColor::kWhite);
}

PopeyeName PopeyeNameOf(char english, std::string_view dictionary) {
    PopeyeName name;
    const std::string key = std::string("&&") + english + "=";
    const size_t p = dictionary.find(key);
    if (p == std::string_view::npos) {
        name.code = std::string(1, Upper(english));
        name.color = Upper(english) == english ? FairyColor::kWhite : FairyColor::kBlack;
        return name;
    }
    name.fromEntry = true;
    const char colour = p + 4 < dictionary.size() ? dictionary[p + 4] : ' ';
    name.color = (colour == 'B' || colour == 'b')   ? FairyColor::kBlack
                 : (colour == 'N' || colour == 'n') ? FairyColor::kNeutral
                                                    : FairyColor::kWhite;
    const size_t from = std::min(p + 5, dictionary.size());
    size_t end = dictionary.find("&&", p + 4);
    if (end == std::string_view::npos) {
        end = dictionary.size();
    }
    for (size_t i = from; i < end; ++i) {
        if (!IsBlank(dictionary[i])) {
            name.code += Upper(dictionary[i]);
        }
    }
    if (name.code.empty()) {
        name.code = std::string(1, Upper(english));
    }
    return name;
}

PlacementImport ToPlacement(const FairyBoard& board, Notation from, const FairyStyle& style,
                            std::string_view dictionaryBase) {
    PlacementImport result;
    if (board.rows < 1 || board.cols < 1 || board.rows * board.cols > kMaxSquares ||
        board.squares.size() != static_cast<size_t>(board.rows * board.cols)) {
        result.error = "the board has no squares or more than " + std::to_string(kMaxSquares);
        return result;
    }
    Letters letters(style, dictionaryBase);
    Vet vet;
    std::map<std::pair<bool, std::string>, int> known;
    for (int s = 0; s < board.rows * board.cols; ++s) {
        const FairySquare& sq = board.squares[static_cast<size_t>(s)];
        if (sq.kind == SquareKind::kEmpty) {
            continue;
        }
        const bool byName =
            sq.kind == SquareKind::kMan &&
            (from == Notation::kPopeye || (from == Notation::kYacpdb && !IsOrthodoxCode(sq.man)));
        const std::string key = std::to_string(static_cast<int>(sq.kind)) + "/" + sq.man + "/" +
                                std::to_string(static_cast<int>(sq.color)) + "/" + std::to_string(sq.turns) +
                                "/" + std::to_string(static_cast<int>(sq.marker)) + "/" + sq.text;
        // A man known only by his solver's name is drawn as his letters, which
        // cannot be turned: refused rather than shown upright.
        if (byName && sq.turns != 0 && !IsOrthodoxCode(sq.man)) {
            result.error = "no style can show " + Describe(board, s);
            return result;
        }
        int index = 0;
        if (const auto it = known.find({byName, key}); it != known.end()) {
            index = it->second;
        } else {
            index = letters.Find(sq, byName);
            known[{byName, key}] = index;
        }
        if (index == 0) {
            result.error = "the style has no letter left for " + Describe(board, s);
            return result;
        }
        vet(kPosition, s) = static_cast<int16_t>(index);
    }
    result.style = letters.style();
    result.style.rows = board.rows;
    result.style.cols = board.cols;
    result.lettersAdded = letters.added();
    result.placement = VetToFEN(vet, {board.rows, board.cols, result.style.piecesList});
    return result;
}

NotationRead FromPlacement(const Vet& vet, const FairyStyle& style, std::string_view dictionaryBase,
                           Notation to) {
    NotationRead result;
    result.notation = to;
    if (style.rows < 1 || style.cols < 1 || style.rows * style.cols > kMaxSquares) {
        result.error = "the board has no squares or more than " + std::to_string(kMaxSquares);
        return result;
    }
    const std::string dictionary =
        std::string(dictionaryBase) + style.pyDictionary + std::string(kKnightEntries);
    const int n = static_cast<int>(style.piecesList.size());
    FairyBoard board(style.rows, style.cols);
    for (int s = 0; s < style.rows * style.cols; ++s) {
        const int v = PieceOf(vet(kPosition, s), n);
        if (v <= 0 || v > n) {
            continue;
        }
        const FairySquare look = LookOf(style, v);
        const size_t k = static_cast<size_t>(v - 1);
        const char english =
            k < style.englishNotation.size() ? style.englishNotation[k] : style.piecesList[k];
        const PopeyeName name = PopeyeNameOf(english, dictionary);
        FairySquare& sq = board.squares[static_cast<size_t>(s)];
        const bool lookIsMan = look.kind == SquareKind::kMan || look.kind == SquareKind::kEmpty;
        const std::string where = SquareName(board, s / style.cols, s % style.cols);
        const std::string what = "the man '" + std::string(1, style.piecesList[k]) + "' on " + where;
        switch (to) {
            case Notation::kPopeye:
                if (!lookIsMan && !(look.kind == SquareKind::kText && name.fromEntry)) {
                    board.squares[static_cast<size_t>(s)] = look;
                    result.error = "Popeye forsyth has no way to write " + Describe(board, s);
                    return result;
                }
                sq = FairySquare::Man(name.code, name.color);
                break;
            case Notation::kYacpdb:
                if (name.fromEntry && !IsOrthodoxCode(name.code)) {
                    sq = FairySquare::Man(name.code, name.color,
                                          look.kind == SquareKind::kMan ? look.turns : 0);
                } else if (look.kind == SquareKind::kMan) {
                    sq = look;
                } else {
                    board.squares[static_cast<size_t>(s)] = look;
                    result.error = "YACPDB has no way to write " +
                                   (look.kind == SquareKind::kEmpty ? what : Describe(board, s));
                    return result;
                }
                break;
            case Notation::kFfen:
                if (look.kind == SquareKind::kEmpty) {
                    result.error = "Fairy FEN has no way to write " + what;
                    return result;
                }
                sq = look;
                break;
        }
    }
    result.board = std::move(board);
    return result;
}

}  // namespace position
