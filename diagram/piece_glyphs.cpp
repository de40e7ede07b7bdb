#include "diagram/piece_glyphs.h"

#include <utility>

#include "position/glyph_names.h"

namespace diagram {

namespace {

MarkerKind MarkerOf(position::MarkerKind marker) {
    // The same markers in the same order, after kNone.
    return static_cast<MarkerKind>(static_cast<int>(marker) + 1);
}

ManSide SideOf(position::FairyColor color) {
    switch (color) {
        case position::FairyColor::kWhite:
            return ManSide::kWhite;
        case position::FairyColor::kBlack:
            return ManSide::kBlack;
        case position::FairyColor::kNeutral:
            return ManSide::kNeutral;
    }
    return ManSide::kWhite;
}

position::FairyColor ColorOf(ManSide side) {
    switch (side) {
        case ManSide::kWhite:
            return position::FairyColor::kWhite;
        case ManSide::kBlack:
            return position::FairyColor::kBlack;
        case ManSide::kNeutral:
            return position::FairyColor::kNeutral;
    }
    return position::FairyColor::kWhite;
}

Glyph GlyphOf(const position::GlyphName& name) {
    Glyph glyph;
    glyph.angle = name.angle;
    switch (name.type) {
        case position::GlyphType::kNone:
            break;
        case position::GlyphType::kMan:
            glyph.kind = KindOfLetter(name.man);
            glyph.side = SideOf(name.color);
            break;
        case position::GlyphType::kMarker:
            glyph.marker = MarkerOf(name.marker);
            glyph.side = SideOf(name.color);
            break;
        case position::GlyphType::kText:
            glyph.text = name.text;
            break;
        case position::GlyphType::kSymbol:
            glyph.symbol = name.symbol;
            break;
    }
    return glyph;
}

position::GlyphName NameOf(const Glyph& glyph) {
    position::GlyphName name;
    name.angle = glyph.angle;
    if (!glyph.text.empty()) {
        name.type = position::GlyphType::kText;
        name.text = glyph.text;
    } else if (glyph.symbol != 0) {
        name.type = position::GlyphType::kSymbol;
        name.symbol = glyph.symbol;
    } else if (glyph.marker != MarkerKind::kNone) {
        name.type = position::GlyphType::kMarker;
        name.marker = static_cast<position::MarkerKind>(static_cast<int>(glyph.marker) - 1);
        name.color = ColorOf(glyph.side);
        name.angle = 0;
    } else if (glyph.kind != ManKind::kNone) {
        static constexpr char kLetters[] = " PNBRQK";
        name.type = position::GlyphType::kMan;
        name.man = kLetters[static_cast<int>(glyph.kind)];
        name.color = ColorOf(glyph.side);
    }
    return name;
}

}  // namespace

const char* MarkerName(MarkerKind marker) {
    return marker == MarkerKind::kNone
               ? ""
               : position::MarkerName(static_cast<position::MarkerKind>(static_cast<int>(marker) - 1));
}

std::u32string TextCodePoints(std::string_view text) {
    return position::TextCodePoints(text);
}

std::string GlyphLook(const Glyph& glyph) {
    return position::WriteGlyphName(NameOf(glyph));
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
    position::GlyphNames names = position::ParseGlyphNames(text);
    GlyphTable table;
    table.rejected = std::move(names.rejected);
    for (const position::GlyphNameEntry& entry : names.entries) {
        table.entries.push_back({entry.letter, GlyphOf(entry.look)});
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
