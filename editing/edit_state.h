#pragma once
// State of the board-editing commands, kept in the program block.

#include <cstdint>
#include <string>
#include <vector>

namespace editing {

/// Mouse buttons as a press records them.
enum MouseButton : int16_t { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

/// Shift-state bits of a press; a press records their sum.
enum ShiftBit : int16_t { kShiftKey = 1, kCtrlKey = 2, kAltKey = 4 };

/// Mouse, palette, view and record-mode state shared by the editing commands.
struct EditState {
    /// 0, or rows * cols + 1 while the board is shown turned by 180 degrees.
    int16_t Reversed = 0;
    /// Display index of the board square last clicked with the left button, or -1.
    int16_t SelectedSquare = -1;
    /// Piece chosen in the palette (piece index 1..n), or -1 for none.
    int16_t SelectedPiece = -1;
    /// Last press on the diagram or on the palette, in twips, or (-1, -1)
    /// while no gesture is armed.
    double MouseDownX = -1;
    double MouseDownY = -1;
    /// Button of that press (MouseButton), 0 before the first press.
    int16_t MouseDownButton = 0;
    /// Shift state of that press (sum of ShiftBit).
    int16_t MouseDownShift = 0;
    /// Record mode: every committed position is appended to the history.
    bool RecMode = false;
    /// FEN lines copied so far (the History list).
    std::vector<std::string> History;
};

}  // namespace editing
