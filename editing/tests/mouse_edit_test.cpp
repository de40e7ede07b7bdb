#include <gtest/gtest.h>

#include <string>

#include "diagram/geometry.h"
#include "editing/mouse_edit.h"

using namespace editing;

namespace {

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

settings::Style Prepared() {
    settings::Style s;
    diagram::PrepareStyle(s);
    return s;
}

// Middle of the square shown under a name as a standard board names it
// ("e2"), or a point right of the board for "off".
diagram::Point At(const std::string& sq) {
    if (sq == "off") {
        return {8 * 225 + 300, 100};
    }
    const int col = sq[0] - 'a';
    const int row = 8 - (sq[1] - '0');
    return {col * 225 + 112.0, row * 225 + 112.0};
}

struct Case {
    const char* what;
    bool reversed;
    int16_t piece;  // chosen palette piece
    int16_t button;
    int16_t shift;
    const char* from;  // squares as shown on the screen
    const char* to;
    const char* fen;  // position afterwards
    BoardAction action;
    int16_t selectedSquare;  // afterwards (was -1)
};

TEST(MouseEdit, Gestures) {
    using enum BoardAction;
    const char* start = kStart;
    const Case cases[] = {
        {"drag moves", false, -1, kLeftButton, 0, "e2", "e4", "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR",
         kEdited, -1},
        {"ctrl drag copies", false, -1, kLeftButton, kCtrlKey, "e2", "e4",
         "rnbqkbnr/pppppppp/8/8/4P3/8/PPPPPPPP/RNBQKBNR", kEdited, -1},
        {"shift+ctrl drag moves", false, -1, kLeftButton, kShiftKey + kCtrlKey, "e2", "e4",
         "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR", kEdited, -1},
        {"alt+ctrl drag moves", false, -1, kLeftButton, kAltKey + kCtrlKey, "e2", "e4",
         "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR", kEdited, -1},
        {"drop replaces", false, -1, kLeftButton, 0, "e2", "d7",
         "rnbqkbnr/pppPpppp/8/8/8/8/PPPP1PPP/RNBQKBNR", kEdited, -1},
        {"shift alone draws", false, -1, kLeftButton, kShiftKey, "e2", "e4", start, kGraphic, -1},
        {"shift click draws", false, 10, kLeftButton, kShiftKey, "e2", "e2", start, kGraphic, -1},
        {"click marks the square", false, -1, kLeftButton, 0, "e4", "e4", start, kSelected, 36},
        {"click places the chosen piece", false, 10, kLeftButton, 0, "e2", "e2",
         "rnbqkbnr/pppppppp/8/8/8/8/PPPPQPPP/RNBQKBNR", kEdited, 52},
        {"ctrl click places too", false, 10, kLeftButton, kCtrlKey, "a1", "a1",
         "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/QNBQKBNR", kEdited, 56},
        {"a piece the list lacks", false, 13, kLeftButton, 0, "e2", "e2", start, kSelected, 52},
        {"right click clears", false, 10, kRightButton, 0, "e2", "e2",
         "rnbqkbnr/pppppppp/8/8/8/8/PPPP1PPP/RNBQKBNR", kEdited, -1},
        {"right drag does nothing", false, -1, kRightButton, 0, "e2", "e4", start, kNothing, -1},
        {"middle button does nothing", false, 10, kMiddleButton, 0, "e2", "e2", start, kNothing, -1},
        {"release off the board", false, -1, kLeftButton, 0, "e2", "off", start, kNothing, -1},
        {"press off the board", false, 10, kLeftButton, 0, "off", "e4", start, kNothing, -1},
        {"reversed: top-left is h1", true, 12, kLeftButton, 0, "a8", "a8",
         "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNK", kEdited, 0},
        {"reversed drag", true, -1, kLeftButton, 0, "e2", "e4",
         "rnbqkbnr/ppp1pppp/8/3p4/8/8/PPPPPPPP/RNBQKBNR", kEdited, -1},
        {"reversed ctrl drag", true, -1, kLeftButton, kCtrlKey, "e2", "e4",
         "rnbqkbnr/pppppppp/8/3p4/8/8/PPPPPPPP/RNBQKBNR", kEdited, -1},
        {"reversed right click", true, -1, kRightButton, 0, "h8", "h8",
         "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/1NBQKBNR", kEdited, -1},
    };
    const settings::Style style = Prepared();
    for (const Case& c : cases) {
        position::Vet vet;
        position::ParseFEN(vet, kStart, style.Shape());
        EditState st;
        st.Reversed = c.reversed ? 65 : 0;
        st.SelectedPiece = c.piece;
        const diagram::Point p = At(c.from), q = At(c.to);
        MouseDown(st, p.x, p.y, c.button, c.shift);
        const BoardRelease r = MouseUp(st, vet, style, q.x, q.y);
        EXPECT_EQ(position::VetToFEN(vet, style.Shape()), c.fen) << c.what;
        EXPECT_EQ(r.action, c.action) << c.what;
        EXPECT_EQ(st.SelectedSquare, c.selectedSquare) << c.what;
        EXPECT_EQ(st.MouseDownX, -1) << c.what;
        EXPECT_EQ(st.MouseDownY, -1) << c.what;
        EXPECT_EQ(st.SelectedPiece, c.piece) << c.what;
    }
}

TEST(MouseEdit, EditsLeaveCellCodes) {
    const settings::Style style = Prepared();
    position::Vet vet;
    position::ParseFEN(vet, kStart, style.Shape());
    EditState st;
    // d2 (square 51) is dark: the emptied cell holds the dark empty code.
    const diagram::Point d2 = At("d2"), d4 = At("d4");
    MouseDown(st, d2.x, d2.y, kLeftButton, 0);
    MouseUp(st, vet, style, d4.x, d4.y);
    EXPECT_EQ(vet(position::kPosition, 51), 13);
    EXPECT_EQ(vet(position::kPosition, 35), 2 + 13);  // d4 is dark too
    EXPECT_EQ(CellCode(2, 36, style.Shape()), 2);
    EXPECT_EQ(CellCode(12, 63, style.Shape()), 12);  // h1 is light
    EXPECT_EQ(CellCode(12, 62, style.Shape()), 25);
}

TEST(MouseEdit, ReleaseWithoutPressAndViewOpening) {
    const settings::Style style = Prepared();
    position::Vet vet;
    EditState st;
    const diagram::Point e4 = At("e4");
    st.MouseDownButton = kLeftButton;
    EXPECT_EQ(MouseUp(st, vet, style, e4.x, e4.y).action, BoardAction::kNothing);
    EXPECT_FALSE(ShouldShowView(st, false));
    MouseDown(st, e4.x, e4.y, kLeftButton, 0);
    MouseUp(st, vet, style, e4.x, e4.y);
    EXPECT_TRUE(ShouldShowView(st, false));
    EXPECT_FALSE(ShouldShowView(st, true));
}

TEST(MouseEdit, TwentyByTwentyCornerReversed) {
    settings::Style style;
    style.BORDERHEIGHT = style.BORDERWIDTH = 20;
    diagram::PrepareStyle(style);
    position::Vet vet;
    EditState st;
    st.Reversed = 401;
    st.SelectedPiece = 1;
    MouseDown(st, 10, 10, kLeftButton, 0);
    const BoardRelease r = MouseUp(st, vet, style, 10, 10);
    EXPECT_EQ(r.to, 399);
    EXPECT_EQ(position::PieceOf(vet(position::kPosition, 399), 12), 1);
    EXPECT_EQ(vet(position::kPosition, 400), 0);
}

}  // namespace
