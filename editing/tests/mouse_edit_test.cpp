#include <gtest/gtest.h>

#include "diagram/geometry.h"
#include "editing/mouse_edit.h"

using namespace editing;

namespace {

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

// Middle of a square of the default 8 x 8 diagram ("e2"), in twips; "--" is
// right of the board.
diagram::Point At(const char* sq) {
    if (sq[0] == '-') {
        return {8 * 225 + 300, 100};
    }
    return {(sq[0] - 'a') * 225 + 112.0, (8 - (sq[1] - '0')) * 225 + 112.0};
}

// The window tests drive drags, copies and the reversed board through real
// events; these are the cases a window cannot easily set up.
TEST(MouseEdit, ClicksAndTheChosenPiece) {
    struct Case {
        const char* what;
        int16_t piece, button, shift;
        const char *from, *to, *fen;
        BoardAction action;
        int16_t selectedSquare;
    };
    using enum BoardAction;
    const Case cases[] = {
        {"click marks the square", -1, kLeftButton, 0, "e4", "e4", kStart, kSelected, 36},
        {"click places", 10, kLeftButton, kCtrlKey, "a1", "a1", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/QNBQKBNR",
         kEdited, 56},
        {"a piece the list lacks", 13, kLeftButton, 0, "e2", "e2", kStart, kSelected, 52},
        {"shift click draws", 10, kLeftButton, kShiftKey, "e2", "e2", kStart, kGraphic, -1},
        {"middle button", 10, kMiddleButton, 0, "e2", "e2", kStart, kNothing, -1},
        {"press off the board", 10, kLeftButton, 0, "--", "e4", kStart, kNothing, -1},
    };
    settings::Style style;
    diagram::ApplyComputedGeometry(style);
    for (const Case& c : cases) {
        position::Vet vet;
        position::ParseFEN(vet, kStart, style.Shape());
        EditState st;
        st.SelectedPiece = c.piece;
        MouseDown(st, At(c.from).x, At(c.from).y, c.button, c.shift);
        EXPECT_EQ(MouseUp(st, vet, style, At(c.to).x, At(c.to).y).action, c.action) << c.what;
        EXPECT_EQ(position::VetToFEN(vet, style.Shape()), c.fen) << c.what;
        EXPECT_EQ(st.SelectedSquare, c.selectedSquare) << c.what;
        EXPECT_EQ(st.MouseDownX, -1) << c.what;
    }
}

TEST(MouseEdit, EditsLeaveCellCodes) {
    settings::Style style;
    diagram::ApplyComputedGeometry(style);
    position::Vet vet;
    position::ParseFEN(vet, kStart, style.Shape());
    EditState st;
    // d2 and d4 are dark squares: code = piece + 13.
    MouseDown(st, At("d2").x, At("d2").y, kLeftButton, 0);
    MouseUp(st, vet, style, At("d4").x, At("d4").y);
    EXPECT_EQ(vet(position::kPosition, 51), 13);
    EXPECT_EQ(vet(position::kPosition, 35), 2 + 13);
    // A release that no press armed does nothing.
    st.MouseDownButton = kLeftButton;
    EXPECT_EQ(MouseUp(st, vet, style, At("e4").x, At("e4").y).action, BoardAction::kNothing);
}

}  // namespace
