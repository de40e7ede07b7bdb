#pragma once
// State of the board-editing commands, kept in the program block.

#include <cstdint>
#include <string>
#include <vector>

namespace editing {

/// Mouse, palette, view and record-mode state shared by the editing commands.
struct EditState {
    /// 0, or rows * cols + 1 while the board is shown turned by 180 degrees.
    int16_t Reversed = 0;
    /// Square chosen in the palette window first, or -1.
    int SelectedSquare = -1;
    /// Piece chosen in the palette (piece index), or 0 for none.
    int SelectedPiece = 0;
    /// Last press on the diagram, in twips, or (-1, -1).
    double PressX = -1;
    double PressY = -1;
    /// Record mode: every committed position is appended to the history.
    bool RecMode = false;
    /// FEN lines copied so far (the History list).
    std::vector<std::string> History;
};

}  // namespace editing
