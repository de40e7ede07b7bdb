#pragma once
// Where everything of the diagram picture goes, in twips (15 to a pixel):
// squares, piece cells, frame, coordinate lettering, picture and window size.

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "position/vet.h"
#include "settings/style.h"

namespace diagram {

/// Twips in one screen pixel (the style record's unit).
using settings::kTwipsPerPixel;

/// A point in twips (fractions of a twip kept where the layout halves).
struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};

/// The style as the picture is drawn from it: pitches of 0 become the square
/// size, a board of more than 400 squares (or none) becomes 8 x 8, a picture
/// size of 0 becomes the computed one. The geometry of everything drawn is
/// read from this value; the style itself is left as it is. Resolving a
/// resolved style changes nothing.
settings::Style Resolved(const settings::Style& style);

/// Writes the computed fields of Resolved into the style itself, for the
/// places that keep them in the style in force (the window's style, which
/// the style editor shows and saves). Returns true when the board is then
/// square (Rotate 90 and Diagonal Mirror are available).
bool ApplyComputedGeometry(settings::Style& style);

/// The Reversed value for the style's board: 0 stays 0; a turned board
/// counts from the far corner of the board in force (rows * cols + 1), so it
/// follows a change of board size.
int16_t FollowBoardSize(int16_t reversed, const settings::Style& style);

/// Display position of square s: turned by 180 degrees while reversed.
int DisplayIndex(int s, int squares, int reversed);

/// Top-left corner of the square shown at display position d.
Point SquareOrigin(const settings::Style& style, int d);

/// One copy from the pieces bitmap onto the diagram: source corner, target
/// corner and size, all in twips.
struct CellCopy {
    Point source;
    Point target;
    double width = 0;
    double height = 0;
};

/// The copy that paints cell `code` of the pieces bitmap on square s1 - 1.
CellCopy PutPecaGeometry(const settings::Style& style, int reversed, int code, int s1);

/// Calls fn(code, s1) for every square a full drawing of the board shows, in
/// order: its man (or emptiness) from the painted plane where that is set,
/// else from the position, as the cell code PutPeca takes, and s1 counted
/// from 1. Squares holding neither are skipped.
template <class Fn>
void ForEachShownCell(const settings::Style& style, const position::Vet& vet, Fn&& fn) {
    const position::BoardShape shape = style.Shape();
    const int n = shape.Pieces();
    const int squares = std::min(shape.Squares(), position::kMaxSquares);
    for (int s = 0; s < squares; ++s) {
        int v = vet(position::kPainted, s);
        if (v < 0) {
            v = vet(position::kPosition, s);
        }
        if (v >= 0) {
            fn(v + (n + 1) * position::SqrColor(s, shape.cols), s + 1);
        }
    }
}

/// Display index of the square under a point of the picture, or -1.
int PixToInd(const settings::Style& style, double x, double y);

/// A straight line of the frame.
struct Line {
    Point from;
    Point to;
};

/// The four frame lines, in drawing order, drawn FRAMEWIDTH pixels wide with
/// square ends; empty when the frame width is 0. A bitmap style's lines run
/// the picture's full length, the right and bottom ones 66 twips in from
/// the picture's far edges; a font style's frame is closed, its outer edge
/// on the picture's edge.
std::vector<Line> FrameLines(const settings::Style& style);

/// Font of the coordinate lettering as the style asks for it.
struct LetteringFont {
    std::string name;  ///< "" keeps the current typeface.
    int size = 0;      ///< Points; 0 or less keeps the current size.
    bool bold = false, italic = false, underline = false, strikeOut = false;
    bool caps = false;
};
LetteringFont LetteringFontOf(const settings::Style& style);

/// One label of the lettering with the top-left corner of its text.
struct Label {
    std::string text;
    Point at;
};

/// Measures a label in the lettering font, in twips.
struct TextSize {
    double width = 0;
    double height = 0;
};
using MeasureFn = std::function<TextSize(const std::string&)>;

/// Rank numbers then file letters, placed as FONTPOS says; empty unless
/// SHOWGRID is set.
std::vector<Label> LetteringLabels(const settings::Style& style, int reversed, const MeasureFn& measure);

/// Size of the main window in twips for a diagram of the style.
struct WindowSize {
    int width = 0;
    int height = 0;
};
WindowSize MainWindowSize(const settings::Style& style, bool bookPanelVisible);

/// Paint callback of the board update: cell code and square number from 1.
using PutPecaFn = std::function<void(int code, int s1)>;

/// The board update: reads FEN text into the position plane and asks for
/// the squares whose content differs from what was painted last.
position::ParseResult Build(position::Vet& vet, std::string_view text, const settings::Style& style,
                            const PutPecaFn& putPeca);

/// Repaints square s when its planes differ (or it was reset).
void PaintSquare(position::Vet& vet, int s, const settings::Style& style, const PutPecaFn& putPeca);

}  // namespace diagram
