#pragma once
// The style editor's fields as plain values: what each input field shows for
// a style record, and how the fields go back into the record.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "settings/style.h"

namespace settings {

/// The contents of the style editor's input fields; StyleFieldTable says
/// which control shows each. Lengths are texts in whole pixels, colours
/// 0x00BBGGRR.
struct StyleFields {
    std::string styleName;
    std::string piecesFile;
    std::string piecesFont;        ///< A font style's men; empty for a bitmap style.
    std::string squareHeight;      ///< A font style's own; a bitmap style's derived from its bitmap.
    std::string squareWidth;       ///< Likewise.
    int32_t lightSquareColor = 0;  ///< Of a font style.
    int32_t darkSquareColor = 0;   ///< Of a font style.
    bool hatchDarkSquares = false;
    std::string piecesGlyphs;  ///< Of a font style.
    std::string borderFile;
    std::string piecesList;
    std::string englishNotation;
    std::string startPosition;
    std::string popeyeDictionary;     ///< Extra entries beside the built-in one.
    std::string verticalGridLine;     ///< Of the pieces bitmap.
    std::string horizontalGridLine;   ///< Of the pieces bitmap.
    std::string horizontalSquareGap;  ///< Extra, between squares.
    std::string verticalSquareGap;    ///< Extra, between squares.
    bool copyCounter = false;
    std::string boardRows;
    std::string boardColumns;
    std::string boardOffsetTop;
    std::string boardOffsetLeft;
    std::string frameWidth;
    int32_t frameColor = 0;
    int32_t backColor = 0;
    std::string pictureHeight;
    std::string pictureWidth;
    bool showGrid = false;
    std::string letteringFont;
    std::string letteringSize;  ///< Points.
    int32_t letteringColor = 0;
    std::string gridOffsetTop;
    std::string gridOffsetLeft;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    bool capitalFileLetters = false;
    int verticalAlignment = 0;    ///< 0 up, 1 middle, 2 down.
    int horizontalAlignment = 0;  ///< 0 left, 1 center, 2 right.

    bool operator==(const StyleFields&) const = default;
};

/// The control an input field is shown in.
enum class ControlKind {
    kText,        ///< A wide one-line text box.
    kNumber,      ///< A narrow one-line text box for a number.
    kList,        ///< A wide editable drop-down list.
    kNumberList,  ///< A narrow editable drop-down list for a number.
    kCheck,       ///< A check box; its caption is its own text.
    kColor,       ///< A colour box.
    kChoice,      ///< Three option buttons in a frame titled by the caption.
};

/// How a field's text stands for its style field.
enum class Conversion {
    kText,        ///< The text itself.
    kPiecesList,  ///< The text, shown as the default list when empty.
    kWhole,       ///< A whole number (16-bit).
    kPixels16,    ///< Whole pixels of a 16-bit twips field.
    kPixels32,    ///< Whole pixels of a 32-bit twips field.
    kFlag,        ///< A check box for a field of 1 or 0.
    kColor,       ///< A colour, 0x00BBGGRR.
    kDerived,     ///< Computed with other fields (grid lines, font words); see ApplyStyleFields.
};

/// Which part of the editor holds a field.
enum class FieldPanel { kMain, kLettering };

/// What an input field's events do beside storing it.
enum FieldEvent : unsigned {
    kEnterPreviews = 1,   ///< Enter in the field runs the preview.
    kChoosePreviews = 2,  ///< Choosing from its list, or clicking it, runs the preview.
    kEditResetsSize = 4,  ///< Editing it resets a manually set picture size.
};

/// One input field of the style editor. The editor builds its controls and
/// their layout from the table, shows and reads them through it, and finds
/// a field's label through it; the style record's key says what it edits.
struct StyleFieldRow {
    const char* control;  ///< The control's name ("Text11").
    ControlKind kind;
    const char* caption;  ///< Its label; fields of one line with the same caption share it.
    const char* key;      ///< The settings key of the style field it edits ("" for none).
    Conversion conversion;
    FieldPanel panel;
    int line;             ///< The line of its panel, from the top.
    unsigned events = 0;  ///< FieldEvent bits.
    // Where the value is kept in StyleFields (one of them).
    std::string StyleFields::*text = nullptr;
    bool StyleFields::*check = nullptr;
    int32_t StyleFields::*color = nullptr;
    int StyleFields::*choice = nullptr;
    // The style field it stands for, unless derived (one of them).
    std::string Style::*styleText = nullptr;
    int16_t Style::*style16 = nullptr;
    int32_t Style::*style32 = nullptr;
};

/// Every input field of the style editor, in the order of its layout.
std::span<const StyleFieldRow> StyleFieldTable();

/// The row of a control ("Text11"), or nullptr.
const StyleFieldRow* FindStyleField(std::string_view control);

/// A picture's size in twips.
struct BitmapSize {
    int32_t width = 0;
    int32_t height = 0;
};

/// Twips of a picture size in pixels.
BitmapSize BitmapTwips(int widthPixels, int heightPixels);

/// The square sizes a font style may have, in pixels.
inline constexpr int kFontSquareMin = 8;
inline constexpr int kFontSquareMax = 300;

/// Whole pixels of a length in twips, as a field shows them.
std::string PixelText(int32_t twips);

/// What the editor's fields show for a style.
StyleFields LoadStyleFields(const Style& style);

/// Whether a font style's picture follows its board when the fields change.
enum class PictureFit {
    kKept,         ///< The picture size and the lettering stay as the fields say.
    kFollowBoard,  ///< They follow a change of the board (see ApplyStyleFields).
};

/// Stores the fields into the style. The square sizes of a bitmap style follow
/// from the pieces bitmap (two rows and one column per piece letter plus the
/// empty square, with grid lines between them); a font style takes the sizes
/// of the "Square size: " fields, kept to kFontSquareMin..kFontSquareMax
/// pixels; the pitches leave the grid lines. Board offsets are raised to the
/// frame width. Numbers too large for their field are cut to its range.
/// Leaves the Popeye dictionary in force to the caller.
///
/// With kFollowBoard, a font style whose squares, spacing, board size,
/// offsets or lettering change gets the picture size computed afresh (0),
/// and lettering that stood outside the board keeps its distance to the
/// board's edge (file letters below it move with its bottom edge, rank
/// numbers left of it with its left edge). A picture size or grid offset
/// the fields change themselves stays as typed. Bitmap styles are stored
/// the same either way.
void ApplyStyleFields(const StyleFields& fields, BitmapSize pieces, Style& style,
                      PictureFit fit = PictureFit::kKept);

/// Offsets that centre the board in a border bitmap, in twips, never negative.
void CenterInBorder(BitmapSize border, Style& style);

/// The defaults with explicit pitches (the look "Restore defaults" gives).
void RestoreDefaults(Style& style, ProgramSettings& program);

/// True for a name a style can be saved under: not empty and not "CUSTOM".
bool IsSavableStyleName(const std::string& name);

/// The question asked before a style of the same name is replaced.
std::string ReplaceQuestion(const std::string& name);

}  // namespace settings
