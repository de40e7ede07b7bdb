// The glyphs of a font style (PIECESGLYPHS): every accepted entry is a
// drawable man, a letter has at most one entry, writing the entries out and
// reading them back gives the same table, and every piece index of a style
// gets a glyph whatever its piece lists hold.

#include <algorithm>
#include <set>
#include <string>

#include "diagram/piece_glyphs.h"
#include "fuzz_support.h"
#include "settings/style.h"

namespace {

char KindLetter(diagram::ManKind kind) {
    switch (kind) {
        case diagram::ManKind::kPawn:
            return 'P';
        case diagram::ManKind::kKnight:
            return 'N';
        case diagram::ManKind::kBishop:
            return 'B';
        case diagram::ManKind::kRook:
            return 'R';
        case diagram::ManKind::kQueen:
            return 'Q';
        case diagram::ManKind::kKing:
            return 'K';
        case diagram::ManKind::kNone:
            break;
    }
    return '?';
}

// An entry as the style editor would write it back.
std::string EntryText(const diagram::GlyphEntry& e) {
    std::string text(1, e.letter);
    text += '=';
    char kind = KindLetter(e.glyph.kind);
    if (e.glyph.side == diagram::ManSide::kBlack) {
        kind = static_cast<char>(kind - 'A' + 'a');
    }
    text += kind;
    if (e.glyph.angle != 0) {
        text += std::to_string(e.glyph.angle);
    }
    if (e.glyph.side == diagram::ManSide::kNeutral) {
        text += '~';
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const diagram::GlyphTable table = diagram::ParsePiecesGlyphs(text);

    std::set<char> letters;
    std::string written;
    for (const diagram::GlyphEntry& e : table.entries) {
        fuzz::Check(e.glyph.kind != diagram::ManKind::kNone, "an accepted entry draws a man");
        fuzz::Check(e.glyph.angle == 0 || e.glyph.angle == 90 || e.glyph.angle == 180 || e.glyph.angle == 270,
                    "the turn is a quarter turn");
        fuzz::Check(letters.insert(e.letter).second, "one entry a letter");
        written += EntryText(e);
        written += ' ';
    }
    const diagram::GlyphTable again = diagram::ParsePiecesGlyphs(written);
    fuzz::Check(again.rejected.empty(), "written entries are read back without a rejection");
    auto sorted = [](std::vector<diagram::GlyphEntry> v) {
        std::sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.letter < b.letter; });
        return v;
    };
    fuzz::Check(sorted(again.entries) == sorted(table.entries), "written entries read back the same");

    const position::NotationStyle shape = fuzz::Shape(data[0]);
    settings::Style style;
    style.PIECESLIST = shape.shape.piecesList;
    style.ENGLISHNOTATION = shape.englishNotation;
    style.PIECESGLYPHS.assign(text);
    const std::vector<diagram::Glyph> glyphs = diagram::StyleGlyphs(style);
    fuzz::Check(glyphs.size() == style.PIECESLIST.size() + 1, "a glyph for every piece index");
    return 0;
}
