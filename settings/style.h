#pragma once
// The style record: how the diagram looks and how positions are written.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "position/notation_style.h"
#include "position/vet.h"

namespace settings {

/// Square colours of a font style unless it names its own: the cream and
/// grey-green of the built-in pieces bitmap.
inline constexpr int32_t kDefaultLightColor = 0x00CEE6EE;
inline constexpr int32_t kDefaultDarkColor = 0x007EA086;

/// One style. Field names are the settings keys; lengths are in twips
/// (15 to a pixel), colours 0x00BBGGRR, flags 1 or 0.
struct Style {
    std::string BORDERFILE;
    std::string CurrentStyle;
    std::string PIECESFILE;
    int32_t BACKCOLOR = 0;
    int16_t BORDERHEIGHT = 8;
    int16_t BORDERWIDTH = 8;
    int16_t COPYCOUNTER = 0;
    std::string PIECESLIST{position::kDefaultPiecesList};
    std::string ENGLISHNOTATION{position::kDefaultPiecesList};
    int32_t FONTCOLOR = 0;
    int16_t FONTXBASE = 0;
    int16_t FONTYBASE = 0;
    std::string FONTNAME = "MS Sans Serif";
    std::string FONTPOS = "Left Up";
    int16_t FONTSIZE = 8;
    std::string FONTSTYLE;
    int32_t FRAMECOLOR = 0;
    int16_t FRAMEWIDTH = 0;
    int16_t SHOWGRID = 0;
    int16_t SQRHEIGHT = 225;
    int16_t SQRWIDTH = 225;
    int16_t SQRHTAB = 0;
    int16_t SQRVTAB = 0;
    int16_t SQRHSPC = 0;
    int16_t SQRVSPC = 0;
    std::string STARTPOS{position::kStandardStartPos};
    std::string PYDICTIONARY;
    int32_t WNDHEIGHT = 0;
    int32_t WNDWIDTH = 0;
    int16_t XBASE = 0;
    int16_t YBASE = 0;
    /// Outline font the men are drawn from; "" cuts them from the pieces bitmap.
    std::string PIECESFONT;
    /// Square colours of a font style.
    int32_t LIGHTCOLOR = kDefaultLightColor;
    int32_t DARKCOLOR = kDefaultDarkColor;
    /// Flag: dark squares of a font style hatched in DARKCOLOR on LIGHTCOLOR.
    int16_t DARKHATCH = 0;
    /// Glyphs of a font style's letters: "g=q180 Z=N90 x=q~" (see diagram/piece_glyphs.h).
    std::string PIECESGLYPHS;

    /// True when the men come from a font rather than from a pieces bitmap.
    bool IsFontStyle() const { return !PIECESFONT.empty(); }

    /// The board's shape and piece letters as the position code needs them.
    position::BoardShape Shape() const { return {BORDERHEIGHT, BORDERWIDTH, PIECESLIST}; }

    /// Shape, piece letters and English letters as the notation code needs them.
    position::NotationStyle Notation() const { return {Shape(), ENGLISHNOTATION}; }

    bool operator==(const Style&) const = default;
};

/// Settings that live next to the style record but belong to no style.
struct ProgramSettings {
    std::array<std::string, 4> RecentFiles;  ///< Most recent first.
    std::string RecentEngine;                ///< "POPEYE", "CRAFTY" or "".
    /// The RECENTENGINE line as this copy last read it from the file. An
    /// engine the file holds beyond it was saved by another copy since.
    std::string RecentEngineRead;
    /// The UCI engine the Analysis window uses (a path or a name); read
    /// from and written back under UCIENGINE like RecentEngine.
    std::string UciEngine;
    /// The positions Export Book Diagrams last wrote: "first", "last" or
    /// "all" ("" before any choice); kept under EXPORTPOSITIONS.
    std::string ExportPositions;
    std::string AppDir;            ///< Program folder, ending in "/".
    std::string PyDictionaryText;  ///< Popeye dictionary in force.
    /// The main window's place on the screen ("WindowLeft", "WindowTop"),
    /// kept between runs; none until a run has saved one.
    bool HasWindowPosition = false;
    int WindowLeft = 0;
    int WindowTop = 0;
    /// The colour chooser's 16 custom colours, kept between uses; all bytes
    /// 0xFF at start-up.
    std::array<int32_t, 16> CustomColors{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
};

/// Sets every style field to its default; keeps `CurrentStyle`. Empties the
/// Popeye dictionary in force.
void ResetStyle(Style& style, ProgramSettings& program);

/// Twips in one screen pixel: screen lengths are held in twips, the settings
/// file and the editor's fields show pixels.
inline constexpr int kTwipsPerPixel = 15;

/// Pixels shown for a length in twips: Int(t / 15 + 0.1).
double TwipsToPixels(double twips);

/// The leading number of a text: decimal (optional sign, fraction and
/// exponent) or hexadecimal after "&H" (up to four digits read as a signed
/// 16-bit value, up to eight as a signed 32-bit value); blanks and tabs inside
/// either are skipped. Anything else gives 0. No value when the number overflows.
std::optional<double> Val(std::string_view text);

/// Rounds to the nearest whole number, halves to even. No value when the
/// result does not fit a signed 32-bit integer.
std::optional<int32_t> RoundHalfEven(double v);

/// Upper-cases ASCII letters.
std::string Upper(std::string_view text);

/// Trims blanks and tabs on both sides.
std::string_view Trim(std::string_view text);

/// True when a file name has no folder part ("/", "\" or ":") and is
/// therefore taken relative to the program folder.
bool IsBareName(std::string_view name);

/// What storing one settings value into the style record gave.
enum class StoreResult { kStored, kIgnored, kOverflow };

/// Stores value under the upper-cased style key, with that key's conversion.
/// kOverflow when the number does not fit the field (the reader stops there).
StoreResult StoreStyleValue(Style& style, std::string_view key, std::string_view value,
                            const std::string& appDir);

/// The picture size that the renderer computes for a style, in twips, for
/// the board in force: one of more than 400 squares (or of none) is drawn
/// as 8 x 8. The style is left as it is.
struct PictureSize {
    int32_t width = 0;
    int32_t height = 0;
};
PictureSize ComputedPictureSize(const Style& style);

/// Sets a board of more than 400 squares, or of no squares, back to 8 x 8.
/// Returns N = rows * cols - 1 of the board in force afterwards.
int ClampBoardSize(Style& style);

}  // namespace settings
