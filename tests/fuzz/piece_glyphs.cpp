// The glyphs of a font style (PIECESGLYPHS): every accepted entry draws a
// man, marker, text or symbol, a letter has at most one entry, writing the
// entries out and reading them back gives the same table, and every piece
// index of a style gets a glyph whatever its piece lists hold.

#include <algorithm>
#include <set>
#include <string>

#include "diagram/piece_glyphs.h"
#include "fuzz_support.h"
#include "settings/style.h"

namespace {

// An entry as the style editor would write it back.
std::string EntryText(const diagram::GlyphEntry& e) {
    return std::string(1, e.letter) + "=" + diagram::GlyphLook(e.glyph);
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
        fuzz::Check(e.glyph.Draws(), "an accepted entry draws something");
        fuzz::Check(e.glyph.angle % 45 == 0 && e.glyph.angle >= 0 && e.glyph.angle < 360,
                    "the turn is a multiple of 45 degrees");
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
