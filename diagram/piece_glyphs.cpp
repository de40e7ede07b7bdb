#include "diagram/piece_glyphs.h"

namespace diagram {

namespace {

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

constexpr MarkerKind kMarkers[] = {MarkerKind::kCircle,   MarkerKind::kCross,    MarkerKind::kSquare,
                                   MarkerKind::kTriangle, MarkerKind::kAsterisk, MarkerKind::kDisc};

char Upper(char ch) {
    return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch;
}

bool IsChessSymbol(char32_t c) {
    return (c >= 0x2654 && c <= 0x265F) || (c >= 0x1FA00 && c <= 0x1FA53);
}

// A man: "q", "Q45", "n270~".
bool ParseMan(std::string_view look, Glyph& glyph) {
    const ManKind kind = KindOfLetter(look[0]);
    if (kind == ManKind::kNone) {
        return false;
    }
    glyph.kind = kind;
    glyph.side = (look[0] >= 'A' && look[0] <= 'Z') ? ManSide::kWhite : ManSide::kBlack;
    std::string_view rest = look.substr(1);
    if (!rest.empty() && rest.back() == '~') {
        glyph.side = ManSide::kNeutral;
        rest.remove_suffix(1);
    }
    if (rest.empty()) {
        return true;
    }
    // Written as the turn is: no sign, no leading zero, at most 3 digits.
    if (rest.size() > 3 || rest[0] == '0') {
        return false;
    }
    int angle = 0;
    for (const char ch : rest) {
        if (ch < '0' || ch > '9') {
            return false;
        }
        angle = angle * 10 + (ch - '0');
    }
    if (angle % 45 != 0 || angle >= 360) {
        return false;
    }
    glyph.angle = angle;
    return true;
}

// A marker: "circle", "CIRCLE", "circle~".
bool ParseMarker(std::string_view look, Glyph& glyph) {
    bool neutral = false;
    if (!look.empty() && look.back() == '~') {
        neutral = true;
        look.remove_suffix(1);
    }
    for (const MarkerKind marker : kMarkers) {
        const std::string_view lower = MarkerName(marker);
        std::string upper(lower);
        for (char& ch : upper) {
            ch = Upper(ch);
        }
        if (look == lower || look == upper) {
            glyph.marker = marker;
            glyph.side = neutral ? ManSide::kNeutral : look == upper ? ManSide::kWhite : ManSide::kBlack;
            return true;
        }
    }
    return false;
}

// A text: "'A", "'AB", "''AB".
bool ParseText(std::string_view look, Glyph& glyph) {
    const std::string_view text = look.substr(look.size() >= 3 && look[1] == '\'' ? 2 : 1);
    const size_t count = TextCodePoints(text).size();
    if (count < 1 || count > 2) {
        return false;
    }
    glyph.text = std::string(text);
    return true;
}

// A chess symbol: "U+1FA4E".
bool ParseSymbol(std::string_view look, Glyph& glyph) {
    if (look.size() < 6 || look.size() > 7 || look[0] != 'U' || look[1] != '+') {
        return false;
    }
    char32_t code = 0;
    for (const char ch : look.substr(2)) {
        int digit;
        if (ch >= '0' && ch <= '9') {
            digit = ch - '0';
        } else if (Upper(ch) >= 'A' && Upper(ch) <= 'F') {
            digit = Upper(ch) - 'A' + 10;
        } else {
            return false;
        }
        code = code * 16 + static_cast<char32_t>(digit);
    }
    if (!IsChessSymbol(code)) {
        return false;
    }
    glyph.symbol = code;
    return true;
}

// One entry such as "g=q180~"; false when it is not one.
bool ParseEntry(std::string_view entry, GlyphEntry& out) {
    if (entry.size() < 3 || entry[1] != '=' || entry[0] == '=') {
        return false;
    }
    const std::string_view look = entry.substr(2);
    Glyph glyph;
    bool ok;
    if (look[0] == '\'') {
        ok = look.size() >= 2 && ParseText(look, glyph);
    } else if (look.size() >= 2 && look[0] == 'U' && look[1] == '+') {
        ok = ParseSymbol(look, glyph);
    } else {
        // No marker's name starts with the letter of a man.
        ok = ParseMarker(look, glyph) || ParseMan(look, glyph);
    }
    if (!ok) {
        return false;
    }
    out.letter = entry[0];
    out.glyph = glyph;
    return true;
}

}  // namespace

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
        case MarkerKind::kNone:
            break;
    }
    return "";
}

std::u32string TextCodePoints(std::string_view text) {
    std::u32string out;
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            length = 1;
            code = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
        }
        bool valid = length > 0 && i + length <= text.size();
        for (size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points past Unicode are no
        // characters of a text.
        static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        valid = valid && code >= kLeast[length] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        if (!valid) {
            // A style file written in Latin-1.
            out += static_cast<char32_t>(lead);
            ++i;
            continue;
        }
        out += code;
        i += length;
    }
    return out;
}

std::string GlyphLook(const Glyph& glyph) {
    std::string look;
    if (!glyph.text.empty()) {
        // A text that starts with a quote needs both quotes in front of it.
        return (glyph.text[0] == '\'' ? "''" : "'") + glyph.text;
    }
    if (glyph.symbol != 0) {
        static constexpr char kHex[] = "0123456789ABCDEF";
        std::string digits;
        for (char32_t c = glyph.symbol; c != 0; c >>= 4) {
            digits.insert(digits.begin(), kHex[c & 0xF]);
        }
        while (digits.size() < 4) {
            digits.insert(digits.begin(), '0');
        }
        return "U+" + digits;
    }
    if (glyph.marker != MarkerKind::kNone) {
        look = MarkerName(glyph.marker);
        if (glyph.side == ManSide::kWhite) {
            for (char& ch : look) {
                ch = Upper(ch);
            }
        }
    } else if (glyph.kind != ManKind::kNone) {
        static constexpr char kLetters[] = " PNBRQK";
        const char letter = kLetters[static_cast<int>(glyph.kind)];
        look += glyph.side == ManSide::kWhite ? letter : static_cast<char>(letter - 'A' + 'a');
        if (glyph.angle != 0) {
            look += std::to_string(glyph.angle);
        }
    } else {
        return "";
    }
    if (glyph.side == ManSide::kNeutral) {
        look += '~';
    }
    return look;
}

ManKind KindOfLetter(char letter) {
    switch (letter) {
        case 'P':
        case 'p':
            return ManKind::kPawn;
        case 'N':
        case 'n':
            return ManKind::kKnight;
        case 'B':
        case 'b':
            return ManKind::kBishop;
        case 'R':
        case 'r':
            return ManKind::kRook;
        case 'Q':
        case 'q':
            return ManKind::kQueen;
        case 'K':
        case 'k':
            return ManKind::kKing;
        default:
            return ManKind::kNone;
    }
}

GlyphTable ParsePiecesGlyphs(std::string_view text) {
    GlyphTable table;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i])) {
            ++i;
        }
        const size_t start = i;
        while (i < text.size() && !IsBlank(text[i])) {
            ++i;
        }
        if (start == i) {
            break;
        }
        const std::string_view entry = text.substr(start, i - start);
        GlyphEntry parsed;
        if (!ParseEntry(entry, parsed)) {
            table.rejected.emplace_back(entry);
            continue;
        }
        for (auto it = table.entries.begin(); it != table.entries.end(); ++it) {
            if (it->letter == parsed.letter) {
                table.entries.erase(it);
                break;
            }
        }
        table.entries.push_back(parsed);
    }
    return table;
}

std::vector<Glyph> StyleGlyphs(const settings::Style& style) {
    const std::string& letters = style.PIECESLIST;
    std::vector<Glyph> glyphs(letters.size() + 1);
    const GlyphTable table = ParsePiecesGlyphs(style.PIECESGLYPHS);
    for (size_t i = 0; i < letters.size(); ++i) {
        Glyph& glyph = glyphs[i + 1];
        const char letter = letters[i];
        bool found = false;
        for (const GlyphEntry& entry : table.entries) {
            if (entry.letter == letter) {
                glyph = entry.glyph;
                found = true;
            }
        }
        if (found) {
            continue;
        }
        glyph.kind =
            i < style.ENGLISHNOTATION.size() ? KindOfLetter(style.ENGLISHNOTATION[i]) : ManKind::kNone;
        glyph.side = (letter >= 'a' && letter <= 'z') ? ManSide::kBlack : ManSide::kWhite;
    }
    return glyphs;
}

char32_t GlyphCodePoint(ManKind kind, bool solid) {
    // The font order is king, queen, rook, bishop, knight, pawn; the solid
    // (black) forms follow the six outline (white) ones.
    int offset;
    switch (kind) {
        case ManKind::kKing:
            offset = 0;
            break;
        case ManKind::kQueen:
            offset = 1;
            break;
        case ManKind::kRook:
            offset = 2;
            break;
        case ManKind::kBishop:
            offset = 3;
            break;
        case ManKind::kKnight:
            offset = 4;
            break;
        case ManKind::kPawn:
            offset = 5;
            break;
        default:
            return 0;
    }
    return static_cast<char32_t>(0x2654 + offset + (solid ? 6 : 0));
}

}  // namespace diagram
