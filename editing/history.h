#pragma once
// The History list's text rules: the first field of a line and its extra
// fields, the placement a line loads into the board, stepping back one
// recorded position, and the FEN and PGN texts copied from the list.
//
// A history line is an optional piece tally "(16x16)", the FEN placement,
// and optionally the extra fields " w - - 0 0" or " b - - 0 0".

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "position/notation_style.h"

namespace editing {

/// The extra fields that follow a side character.
inline constexpr std::string_view kExtraTail = " - - 0 0";
/// The line break of copied texts.
inline constexpr std::string_view kCrLf = "\r\n";
/// Length a Copy PGN line may reach before it is broken.
inline constexpr int kPgnLineLength = 70;

/// The text up to and including the first blank that follows the tally:
/// with two blanks appended to line, the first blank at or after the second
/// character past the first ") " (or from the second character when there
/// is no ") "). So it always ends in a blank.
std::string FirstField(std::string_view line);

/// The line with its extra fields set for side: FirstField + side + " - - 0 0".
std::string WithSide(std::string_view line, char side);

/// Insert All (side "w" or "b": alternating sides from the first line on) or
/// Remove All (side empty: every line becomes its first field, trimmed).
void SetExtraFields(std::vector<std::string>& lines, std::string_view side);

/// The piece placement of a line, as loading it into the board takes it: the
/// text after the first ")" trimmed, then up to the first blank.
std::string LinePlacement(std::string_view line);

/// Undo Rec: with two lines or more, removes the last and returns the
/// placement of the new last line for the FEN text box. With fewer, nothing
/// changes and there is no result.
std::optional<std::string> UndoRec(std::vector<std::string>& lines);

/// The side the first line gives the first move: 'b' when the character
/// after its first field is "b", otherwise 'w'.
char FirstSide(std::string_view line);

/// Copy FEN of the History window: every line followed by CR LF.
std::string HistoryText(const std::vector<std::string>& lines);

/// Copy PGN: the moves between consecutive lines in algebraic notation,
/// numbered before White's moves ("1. e4 e5 2. Nf3 "), every move followed by
/// one blank. Starts with "1... " when the first line gives Black the move.
/// A line is broken (CR LF) after the move that takes it past 70 characters.
std::string PgnMoveText(const std::vector<std::string>& lines, const position::NotationStyle& style);

/// Whether "A&dd to Book" may be used: a ".PGN" or ".FEN" book (by the
/// upper-cased end of bookFile) is open and the history has lines.
bool AddToBookEnabled(std::string_view bookFile, bool bookOpen, bool historyEmpty);

/// What a key character typed in the History list does.
enum class HistoryKey {
    kNothing,
    kLoad,    ///< Enter: load the selected line into the board.
    kHide,    ///< Esc: hide the window.
    kRemove,  ///< Space: ask, then remove the selected line.
    kSide,    ///< w, W, b, B, -: extra fields with that (lower-case) side.
    kStrip,   ///< r, R: the line becomes its first field.
};

/// The action of key character ch in the History list.
HistoryKey KeyAction(char ch);

}  // namespace editing
