#include "diagram/piece_glyphs.h"

namespace diagram {

namespace {

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

// One entry such as "g=q180~"; false when it is not one.
bool ParseEntry(std::string_view entry, GlyphEntry& out) {
    if (entry.size() < 3 || entry[1] != '=' || entry[0] == '=') {
        return false;
    }
    const char kindLetter = entry[2];
    const ManKind kind = KindOfLetter(kindLetter);
    if (kind == ManKind::kNone) {
        return false;
    }
    std::string_view rest = entry.substr(3);
    Glyph glyph;
    glyph.kind = kind;
    glyph.side = (kindLetter >= 'A' && kindLetter <= 'Z') ? ManSide::kWhite : ManSide::kBlack;
    if (!rest.empty() && rest.back() == '~') {
        glyph.side = ManSide::kNeutral;
        rest.remove_suffix(1);
    }
    if (rest == "90") {
        glyph.angle = 90;
    } else if (rest == "180") {
        glyph.angle = 180;
    } else if (rest == "270") {
        glyph.angle = 270;
    } else if (!rest.empty()) {
        return false;
    }
    out.letter = entry[0];
    out.glyph = glyph;
    return true;
}

}  // namespace

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
