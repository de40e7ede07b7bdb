#include "position/fairy_style.h"

#include <algorithm>
#include <map>
#include <vector>

#include "position/fairy_detail.h"
#include "position/glyph_names.h"

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

// The look a glyph entry names; an empty square for one the notations do
// not write (a symbol, a turn by 45 degrees).
FairySquare LookOfName(const GlyphName& name) {
    if (name.angle % 90 != 0) {
        return {};
    }
    switch (name.type) {
        case GlyphType::kMan:
            return FairySquare::Man(KindCode(name.man), name.color, name.angle / 90);
        case GlyphType::kMarker:
            return FairySquare::Marker(name.marker, name.color);
        case GlyphType::kText: {
            FairySquare text = FairySquare::Text(name.text);
            text.turns = name.angle / 90;
            return text;
        }
        case GlyphType::kNone:
        case GlyphType::kSymbol:
            break;
    }
    return {};
}

// The glyph entry that draws a look.
GlyphName NameOfLook(const FairySquare& sq) {
    GlyphName name;
    name.color = sq.color;
    name.angle = sq.turns * 90;
    switch (sq.kind) {
        case SquareKind::kText:
            name.type = GlyphType::kText;
            name.text = sq.text;
            break;
        case SquareKind::kMarker:
            name.type = GlyphType::kMarker;
            name.marker = sq.marker;
            name.angle = 0;
            break;
        case SquareKind::kMan:
            name.type = GlyphType::kMan;
            name.man = sq.man == "S" ? 'N' : sq.man[0];
            break;
        case SquareKind::kEmpty:
            break;
    }
    return name;
}

// How the letter of index (1 to n) is drawn, given its glyph entry (kNone
// for none): the entry, or else its English kind upright (kNone for a
// letter of no kind).
GlyphName LetterGlyph(const FairyStyle& style, int index, GlyphName entry) {
    if (entry.type != GlyphType::kNone) {
        return entry;
    }
    const char letter = style.piecesList[static_cast<size_t>(index - 1)];
    const size_t k = static_cast<size_t>(index - 1);
    const std::string code = k < style.englishNotation.size() ? KindCode(style.englishNotation[k]) : "";
    if (!code.empty()) {
        entry.type = GlyphType::kMan;
        entry.man = code == "S" ? 'N' : code[0];
        entry.color = letter >= 'a' && letter <= 'z' ? FairyColor::kBlack : FairyColor::kWhite;
    }
    return entry;
}

// The glyphs of every letter, 1 to n (0 unused), the entries read once:
// boards of 400 squares ask for them again and again.
std::vector<GlyphName> LetterGlyphs(const FairyStyle& style) {
    std::vector<GlyphName> entries(256);
    for (const GlyphNameEntry& entry : ParseGlyphNames(style.piecesGlyphs).entries) {
        entries[static_cast<unsigned char>(entry.letter)] = entry.look;
    }
    std::vector<GlyphName> glyphs(style.piecesList.size() + 1);
    for (size_t i = 0; i < style.piecesList.size(); ++i) {
        const int index = static_cast<int>(i) + 1;
        glyphs[i + 1] = LetterGlyph(style, index, entries[static_cast<unsigned char>(style.piecesList[i])]);
    }
    return glyphs;
}

// Quarter turns of a glyph; -1 for a turn off the square's axes.
int QuarterTurns(const GlyphName& name) {
    return name.angle % 90 == 0 ? name.angle / 90 : -1;
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
        const std::vector<GlyphName> glyphs = LetterGlyphs(m_style);
        for (size_t i = 0; i < m_style.piecesList.size(); ++i) {
            m_looks.push_back(LookOfName(glyphs[i + 1]));
            m_glyphs.push_back(glyphs[i + 1]);
            m_names.push_back(PopeyeNameOf(EnglishOf(i), Dictionary()));
        }
    }

    std::string Dictionary() const {
        return std::string(m_base) + m_style.pyDictionary + std::string(kKnightEntries);
    }

    // The index of a letter for sq, made when there is none; 0 when no
    // letter is left.
    // anyTurn: by name, a turned letter will do for an upright man (the
    // solver's notation writes no turns).
    int Find(const FairySquare& sq, bool byName, bool anyTurn) {
        if (!byName) {
            for (size_t i = 0; i < m_looks.size(); ++i) {
                if (m_looks[i] == sq) {
                    return static_cast<int>(i) + 1;
                }
            }
            return Add(sq, false, 0);
        }
        // By name: a letter of the man turned as asked. A turned man the
        // style lacks is drawn as its upright letter is, turned.
        int upright = 0;
        int turned = 0;
        for (size_t i = 0; i < m_looks.size(); ++i) {
            const FairySquare& look = m_looks[i];
            const bool isMan = look.kind == SquareKind::kMan || look.kind == SquareKind::kEmpty ||
                               (look.kind == SquareKind::kText && m_names[i].fromEntry);
            if (!isMan || !SameName(m_names[i], sq)) {
                continue;
            }
            const int turns = QuarterTurns(m_glyphs[i]);
            if (turns == sq.turns) {
                return static_cast<int>(i) + 1;
            }
            if (turns == 0 && upright == 0 && m_glyphs[i].type != GlyphType::kNone) {
                upright = static_cast<int>(i) + 1;
            }
            turned = turned == 0 ? static_cast<int>(i) + 1 : turned;
        }
        if (anyTurn && sq.turns == 0 && turned != 0) {
            return turned;
        }
        return Add(sq, true, upright);
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

    // A new letter for sq; by name, drawn as the letter of index upright is
    // (when there is one) turned as sq is.
    int Add(const FairySquare& sq, bool byName, int upright) {
        const char letter = NewLetter(sq.color == FairyColor::kWhite && sq.kind != SquareKind::kText);
        if (letter == '\0') {
            return 0;
        }
        GlyphName glyph = NameOfLook(sq);
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
            } else if (upright > 0) {
                glyph = m_glyphs[static_cast<size_t>(upright - 1)];
                glyph.angle = sq.turns * 90;
            } else if (orthodox) {
                glyph = NameOfLook(FairySquare::Man(sq.man, sq.color, 0));
            } else {
                std::string text = sq.man;
                if (sq.color == FairyColor::kBlack) {
                    for (char& c : text) {
                        c = Lower(c);
                    }
                }
                FairySquare letters = FairySquare::Text(text);
                letters.turns = sq.turns;
                glyph = NameOfLook(letters);
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
        m_style.piecesGlyphs += std::string(1, letter) + "=" + WriteGlyphName(glyph);
        m_style.pyDictionary += entry;
        m_looks.push_back(LookOfName(glyph));
        m_glyphs.push_back(glyph);
        m_names.push_back(PopeyeNameOf(english, Dictionary()));
        m_added = true;
        return static_cast<int>(m_looks.size());
    }

    FairyStyle m_style;
    std::string_view m_base;
    std::vector<FairySquare> m_looks;
    std::vector<GlyphName> m_glyphs;
    std::vector<PopeyeName> m_names;
    bool m_added = false;
};

}  // namespace

FairySquare LookOf(const FairyStyle& style, int index) {
    if (index < 1 || index > static_cast<int>(style.piecesList.size())) {
        return {};
    }
    const char letter = style.piecesList[static_cast<size_t>(index - 1)];
    return LookOfName(LetterGlyph(style, index, GlyphNameOf(style.piecesGlyphs, letter)));
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
        int index = 0;
        if (const auto it = known.find({byName, key}); it != known.end()) {
            index = it->second;
        } else {
            index = letters.Find(sq, byName, from == Notation::kPopeye);
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
    const std::vector<GlyphName> glyphs = LetterGlyphs(style);
    FairyBoard board(style.rows, style.cols);
    for (int s = 0; s < style.rows * style.cols; ++s) {
        const int v = PieceOf(vet(kPosition, s), n);
        if (v <= 0 || v > n) {
            continue;
        }
        const FairySquare look = LookOfName(glyphs[static_cast<size_t>(v)]);
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
                    // Turned as the letter is drawn, whatever draws it.
                    const int turns = QuarterTurns(glyphs[static_cast<size_t>(v)]);
                    if (turns < 0) {
                        result.error = "YACPDB has no way to write " + what;
                        return result;
                    }
                    sq = FairySquare::Man(name.code, name.color, turns);
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
                if (look.kind == SquareKind::kText && look.turns != 0) {
                    sq = look;
                    result.error = "Fairy FEN has no way to write " + Describe(board, s);
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
