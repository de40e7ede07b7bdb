#pragma once
// The PIECESGLYPHS entries of a style, "letter=LOOK" separated by blanks:
// how each letter of the pieces list is drawn when not as its orthodox man
// upright. The renderer draws what they name; the fairy notations read them
// to know what a letter stands for.

#include <string>
#include <string_view>
#include <vector>

#include "position/fairy_board.h"

namespace position {

/// What a LOOK names.
enum class GlyphType { kNone, kMan, kMarker, kText, kSymbol };

/// One LOOK, read.
struct GlyphName {
    GlyphType type = GlyphType::kNone;
    char man = 0;                           ///< kMan: P N B R Q or K, upper case.
    FairyColor color = FairyColor::kWhite;  ///< kMan, kMarker: colour.
    int angle = 0;  ///< kMan, kText, kSymbol: clockwise turn, a multiple of 45 from 0 to 315.
    MarkerKind marker = MarkerKind::kCircle;  ///< kMarker: which one.
    std::string text{};                       ///< kText: one or two characters, UTF-8.
    char32_t symbol = 0;                      ///< kSymbol: the code point.
    bool operator==(const GlyphName&) const = default;
};

/// One accepted entry.
struct GlyphNameEntry {
    char letter = 0;
    GlyphName look;
    bool operator==(const GlyphNameEntry&) const = default;
};

/// The entries of a PIECESGLYPHS text: those accepted in order (a later
/// entry for a letter replaces an earlier one), and those ignored as written.
struct GlyphNames {
    std::vector<GlyphNameEntry> entries;
    std::vector<std::string> rejected;
};

/// Reads blank-separated entries `letter=LOOK`. LOOK is one of
///  - a man `KIND[angle][~]`: KIND one of PNBRQK (upper case White, lower
///    case Black), angle a multiple of 45 from 45 to 315, "~" a neutral man;
///  - a marker `circle`, `cross`, `square`, `triangle`, `asterisk` or `disc`,
///    in lower case Black, in upper case White, followed by "~" neutral;
///  - a text `'A` or `'AB` (also `''AB`): one or two characters;
///  - a chess symbol `U+1FA4E`: a code point of U+2654 to U+265F or
///    U+1FA00 to U+1FA53;
///  - a text or a symbol turned: `'G@90`, `U+1FA4E@180`, by a multiple of 45.
/// A bad entry is skipped on its own.
GlyphNames ParseGlyphNames(std::string_view text);

/// The LOOK as ParseGlyphNames reads it back ("q45~", "CIRCLE", "'AB",
/// "U+1FA4E@90"); empty for kNone.
std::string WriteGlyphName(const GlyphName& look);

/// The last accepted entry of text for letter; kNone when there is none.
GlyphName GlyphNameOf(std::string_view text, char letter);

/// The code points of a text as it is drawn: UTF-8, where a byte that
/// starts no valid sequence stands for itself (Latin-1).
std::u32string TextCodePoints(std::string_view text);

}  // namespace position
