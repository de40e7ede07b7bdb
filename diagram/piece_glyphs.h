#pragma once
// Which chess glyph of an outline font draws each man of a font style, and
// how: PIECESLIST letters take their kind from ENGLISHNOTATION, and
// PIECESGLYPHS entries such as "g=q180 Z=N90 x=q~" turn or split them for
// fairy men.

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

/// How one man is drawn.
struct Glyph {
    ManKind kind = ManKind::kNone;  ///< kNone draws nothing.
    ManSide side = ManSide::kWhite;
    int angle = 0;  ///< Clockwise turn: 0, 90, 180 or 270 degrees.
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

/// Reads blank-separated entries `letter=KIND[angle][~]`: KIND one of
/// PNBRQK (upper case White, lower case Black), angle 90, 180 or 270, "~" a
/// neutral man. A bad entry is skipped on its own; a later entry for the same
/// letter replaces an earlier one.
GlyphTable ParsePiecesGlyphs(std::string_view text);

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
