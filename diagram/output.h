#pragma once
// What the diagram output commands compute without touching a window: the
// HTML fragment of per-square GIF names, the name Save Image writes under,
// the window title after a save and where Print puts things on the page.

#include <string>

#include "position/vet.h"

namespace diagram {

/// Name Save Image writes under until another is chosen.
inline constexpr const char* kDefaultImageName = "Pandrel.bmp";
/// Window title prefix; the title after a save is this and the image name.
inline constexpr const char* kTitlePrefix = "Pandrel - ";
/// Where Print puts the top-left corner of the diagram, in twips of the page.
inline constexpr int kPrintPictureX = 400;
inline constexpr int kPrintPictureY = 400;
/// Twips in one inch (the printer's unit of measure for the layout above).
inline constexpr int kTwipsPerInch = 1440;

/// GIF base name of one square for the HTML export: "sqw"/"sqb" for an empty
/// light/dark square, otherwise the piece letter, "w"/"b" for the piece's side
/// (an upper-case-or-caseless letter is White) and "w"/"b" for the square.
/// `v` is a piece index as the board vector holds it; cell codes above n are
/// reduced to their piece, and anything outside 1..n counts as empty.
std::string HtmlImageName(int v, int s, const position::BoardShape& shape);

/// The Copy HTML fragment: one <img src="NAME.gif"> per square in FEN order
/// (never turned, whatever the view), "<br>" and CR LF after each row. It
/// describes what the diagram shows, i.e. the painted plane; a square not
/// painted yet (-1) is described by its position-plane value instead.
std::string HtmlFragment(const position::Vet& vet, const position::BoardShape& shape);

/// The name Save Image writes under: "Pandrel.bmp" for "", the name with
/// ".bmp" appended when it contains no "." at all, else the name unchanged.
std::string CompleteImageName(const std::string& imageName);

/// Main window title after a save under imageName.
std::string SavedTitle(const std::string& imageName);

/// The one text line Print writes above the diagram: the piece tally
/// directly followed by the FEN text box's text.
std::string PrintLine(const std::string& tally, const std::string& fenText);

/// Converts twips to device units of a device with the given resolution.
double TwipsToDevice(double twips, int dotsPerInch);

}  // namespace diagram
