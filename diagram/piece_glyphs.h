#pragma once
// Which chess glyph of an outline font draws each man of a font style, and
// how: PIECESLIST letters take their kind from ENGLISHNOTATION, and
// PIECESGLYPHS entries such as "g=q180 Z=N90 x=q~" turn or split them for
// fairy men, or put a marker ("m=circle"), a text ("a='A", turned "a='G@90")
// or a chess symbol of Unicode ("e=U+1FA4E") on the square instead.

#include <string>
#include <string_view>
#include <vector>

#include "settings/style.h"

namespace diagram {

/// The six kinds of men a chess font draws.
enum class ManKind { kNone, kPawn, kKnight, kBishop, kRook, kQueen, kKing };

/// Colour a glyph is drawn in; a neutral man is light on its left half and
/// dark on its right half.
enum class ManSide { kWhite, kBlack, kNeutral };

/// Markers a square may carry instead of a man.
enum class MarkerKind { kNone, kCircle, kCross, kSquare, kTriangle, kAsterisk, kDisc };

/// How one man is drawn. At most one of kind, marker, text and symbol is
/// set; none draws nothing.
struct Glyph {
    ManKind kind = ManKind::kNone;
    ManSide side = ManSide::kWhite;  ///< Colour of a man or a marker.
    int angle = 0;  ///< Clockwise turn of a man, text or symbol: a multiple of 45 degrees, 0 to 315.
    MarkerKind marker = MarkerKind::kNone;
    std::string text{};   ///< One or two characters, UTF-8.
    char32_t symbol = 0;  ///< A chess symbol of Unicode, drawn from the symbols font.
    /// True when the square shows something.
    bool Draws() const {
        return kind != ManKind::kNone || marker != MarkerKind::kNone || !text.empty() || symbol != 0;
    }
    bool operator==(const Glyph&) const = default;
};

/// One accepted PIECESGLYPHS entry.
struct GlyphEntry {
    char letter = 0;
    Glyph glyph;
    bool operator==(const GlyphEntry&) const = default;
};

/// PIECESGLYPHS read: the accepted entries in order, and the entries that
/// were ignored as written (for the style editor to point out).
struct GlyphTable {
    std::vector<GlyphEntry> entries;
    std::vector<std::string> rejected;
};

/// Reads blank-separated entries `letter=LOOK` as position::ParseGlyphNames
/// does ("q45~", "CIRCLE", "'A", "U+1FA4E", "'G@90"), in the renderer's terms.
GlyphTable ParsePiecesGlyphs(std::string_view text);

/// The LOOK of an entry as ParsePiecesGlyphs reads it back ("q45~",
/// "CIRCLE", "'AB", "U+1FA4E@90"); empty for a glyph that draws nothing.
std::string GlyphLook(const Glyph& glyph);

/// Name of a marker as entries write it, in lower case ("circle").
const char* MarkerName(MarkerKind marker);

/// The code points of a text, as the painter draws them: UTF-8, where a byte
/// that starts no valid sequence stands for itself (Latin-1).
std::u32string TextCodePoints(std::string_view text);

/// The kind a notation letter stands for (P, N, B, R, Q, K in either case);
/// kNone for any other letter.
ManKind KindOfLetter(char letter);

/// The glyph of every piece index of the style, 0 (the empty square) to n:
/// a PIECESGLYPHS entry for the PIECESLIST letter when there is one, else the
/// ENGLISHNOTATION kind upright, White for an upper-case or caseless
/// PIECESLIST letter and Black for a lower-case one.
std::vector<Glyph> StyleGlyphs(const settings::Style& style);

/// Unicode code point of a kind's glyph in the font's white (outline) or
/// black (solid) form, U+2654 to U+265F; 0 for kNone.
char32_t GlyphCodePoint(ManKind kind, bool solid);

}  // namespace diagram
