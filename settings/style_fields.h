#pragma once
// The style editor's fields as plain values: what each input field shows for
// a style record, and how the fields go back into the record.

#include <cstdint>
#include <string>

#include "settings/style.h"

namespace settings {

/// The contents of the style editor's input fields, named after the fields
/// that show them. Lengths are texts in whole pixels, colours 0x00BBGGRR.
struct StyleFields {
    std::string Combo5;    ///< Style name.
    std::string Text11;    ///< Pieces file.
    std::string Text8;     ///< Border file.
    std::string Text12;    ///< Pieces list.
    std::string Text15;    ///< English notation.
    std::string Text4;     ///< Start position.
    std::string Text17;    ///< Extra Popeye dictionary.
    std::string Text13;    ///< Vertical grid line of the pieces bitmap (pixels).
    std::string Text14;    ///< Horizontal grid line of the pieces bitmap (pixels).
    std::string Text16;    ///< Extra horizontal gap between squares (pixels).
    std::string Text3;     ///< Extra vertical gap between squares (pixels).
    bool Check1 = false;   ///< Copy counter.
    std::string Text1;     ///< Rows.
    std::string Text2;     ///< Columns.
    std::string Text5;     ///< Board offset, top (pixels).
    std::string Text6;     ///< Board offset, left (pixels).
    std::string Text7;     ///< Frame width.
    int32_t Picture1 = 0;  ///< Frame colour.
    int32_t Picture2 = 0;  ///< Back colour.
    std::string Text9;     ///< Picture height (pixels).
    std::string Text10;    ///< Picture width (pixels).
    bool Check2 = false;   ///< Show grid.
    std::string Combo2;    ///< Lettering font name.
    std::string Combo1;    ///< Lettering size (points).
    int32_t Picture4 = 0;  ///< Lettering colour.
    std::string Combo3;    ///< Grid offset, top (pixels).
    std::string Combo4;    ///< Grid offset, left (pixels).
    bool Check3 = false;   ///< Bold.
    bool Check4 = false;   ///< Italic.
    bool Check5 = false;   ///< Underline.
    bool Check6 = false;   ///< Strikeout.
    bool Check7 = false;   ///< Capital file letters.
    int Option1 = 0;       ///< Vertical alignment: 0 up, 1 middle, 2 down.
    int Option2 = 0;       ///< Horizontal alignment: 0 left, 1 center, 2 right.

    bool operator==(const StyleFields&) const = default;
};

/// A picture's size in twips.
struct BitmapSize {
    int32_t width = 0;
    int32_t height = 0;
};

/// Twips of a picture size in pixels.
BitmapSize BitmapTwips(int widthPixels, int heightPixels);

/// Whole pixels of a length in twips, as a field shows them.
std::string PixelText(int32_t twips);

/// What the editor's fields show for a style.
StyleFields LoadStyleFields(const Style& style);

/// Stores the fields into the style. The square sizes and pitches follow from
/// the pieces bitmap (two rows and one column per piece letter plus the empty
/// square, with grid lines between them); board offsets are raised to the
/// frame width. Numbers too large for their field are cut to its range.
/// Leaves the Popeye dictionary in force to the caller.
void ApplyStyleFields(const StyleFields& fields, BitmapSize pieces, Style& style);

/// Offsets that centre the board in a border bitmap, in twips, never negative.
void CenterInBorder(BitmapSize border, Style& style);

/// The defaults with explicit pitches (the look "Restore defaults" gives).
void RestoreDefaults(Style& style, ProgramSettings& program);

/// True for a name a style can be saved under: not empty and not "CUSTOM".
bool IsSavableStyleName(const std::string& name);

/// The question asked before a style of the same name is replaced.
std::string ReplaceQuestion(const std::string& name);

}  // namespace settings
