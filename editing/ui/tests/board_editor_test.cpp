#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "diagram/geometry.h"
#include "diagram/ui/fen_box.h"
#include "diagram/ui/main_window.h"
#include "diagram/ui/picture_view.h"
#include "editing/ui/board_editor.h"
#include "editing/ui/tests/started_window.h"
#include "editing/ui/view_window.h"

using diagram::ui::MainWindow;
using editing::ui::ViewWindow;

namespace {

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

class BoardEditorTest : public StartedWindow {
  protected:
    ViewWindow* View() const {
        return qobject_cast<ViewWindow*>(window->SecondaryWindow(diagram::ui::Secondary::kView));
    }

    // Middle of the square shown at a standard board's name ("e2"), in pixels
    // of the diagram picture.
    QPoint Square(const char* name) const {
        const int cols = program.style.BORDERWIDTH;
        const int rows = program.style.BORDERHEIGHT;
        const int d = (rows - (name[1] - '0')) * cols + (name[0] - 'a');
        const diagram::Point at = diagram::SquareOrigin(program.style, d);
        return {static_cast<int>((at.x + program.style.SQRWIDTH / 2) / diagram::kTwipsPerPixel),
                static_cast<int>((at.y + program.style.SQRHEIGHT / 2) / diagram::kTwipsPerPixel)};
    }

    void BoardGesture(Qt::MouseButton button, Qt::KeyboardModifiers mods, QPoint from, QPoint to) {
        QTest::mousePress(window->PicMain(), button, mods, from);
        QTest::mouseRelease(window->PicMain(), button, mods, to);
    }
    void BoardClick(const char* sq, Qt::MouseButton button = Qt::LeftButton) {
        BoardGesture(button, {}, Square(sq), Square(sq));
    }

    // Middle of palette cell i (1-based), in pixels of the palette picture.
    QPoint Cell(int i) const {
        const auto& s = program.style;
        return {((i - 1) % 6 * s.SQRHTAB + s.SQRWIDTH / 2) / diagram::kTwipsPerPixel,
                ((i - 1) / 6 * s.SQRVTAB + s.SQRHEIGHT / 2) / diagram::kTwipsPerPixel};
    }
    void PaletteClick(int i) {
        QTest::mousePress(View()->Picture1(), Qt::LeftButton, {}, Cell(i));
        QTest::mouseRelease(View()->Picture1(), Qt::LeftButton, {}, Cell(i));
    }
    // Drags piece i from the palette to the board square under `sq`.
    void PaletteDrop(int i, const char* sq) {
        QWidget* palette = View()->Picture1();
        const QPoint target = palette->mapFromGlobal(window->PicMain()->mapToGlobal(Square(sq)));
        QTest::mousePress(palette, Qt::LeftButton, {}, Cell(i));
        QTest::mouseRelease(palette, Qt::LeftButton, {}, target);
    }
    void ShowViewAway() {
        window->Command9()->click();
        View()->move(window->frameGeometry().right() + 50, 0);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(View()));
    }
    QImage PieceCell(int p) const {
        const int w = program.style.SQRWIDTH / diagram::kTwipsPerPixel;
        return window->renderer().pieces().copy(p * w, 0, w, w);
    }
    const editing::EditState& State() const { return program.editing; }
};

TEST_F(BoardEditorTest, MouseGesturesOnTheBoard) {
    StartShown();
    struct Case {
        const char* what;
        bool reversed;
        Qt::MouseButton button;
        Qt::KeyboardModifiers mods;
        const char *from, *to;  // as shown on the screen
        const char* fen;
    };
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier,
                                shiftCtrl = Qt::ShiftModifier | Qt::ControlModifier;
    const Case cases[] = {
        {"drag moves",
         false,
         Qt::LeftButton,
         {},
         "e2",
         "e4",
         "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR"},
        {"ctrl drag copies", false, Qt::LeftButton, ctrl, "e2", "e4",
         "rnbqkbnr/pppppppp/8/8/4P3/8/PPPPPPPP/RNBQKBNR"},
        {"shift+ctrl drag moves", false, Qt::LeftButton, shiftCtrl, "e2", "e4",
         "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR"},
        {"shift drag draws only", false, Qt::LeftButton, Qt::ShiftModifier, "e2", "e4", kStart},
        {"right click clears",
         false,
         Qt::RightButton,
         {},
         "g8",
         "g8",
         "rnbqkb1r/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR"},
        {"right drag does nothing", false, Qt::RightButton, {}, "g8", "g6", kStart},
        {"reversed drag",
         true,
         Qt::LeftButton,
         {},
         "e2",
         "e4",
         "rnbqkbnr/ppp1pppp/8/3p4/8/8/PPPPPPPP/RNBQKBNR"},
        {"reversed ctrl drag", true, Qt::LeftButton, ctrl, "e2", "e4",
         "rnbqkbnr/pppppppp/8/3p4/8/8/PPPPPPPP/RNBQKBNR"},
        {"reversed shift+ctrl drag", true, Qt::LeftButton, shiftCtrl, "e2", "e4",
         "rnbqkbnr/ppp1pppp/8/3p4/8/8/PPPPPPPP/RNBQKBNR"},
        {"reversed right click",
         true,
         Qt::RightButton,
         {},
         "a8",
         "a8",
         "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBN1"},
    };
    for (const Case& c : cases) {
        if ((State().Reversed != 0) != c.reversed) {
            window->action("MNReverse")->trigger();
        }
        SetFen(kStart);
        window->Text1()->setCursorPosition(0);
        BoardGesture(c.button, c.mods, Square(c.from), Square(c.to));
        EXPECT_EQ(Fen(), c.fen) << c.what;
        EXPECT_EQ(window->Text1()->cursorPosition(), Fen().size()) << c.what;
        EXPECT_TRUE(View()->isHidden()) << c.what;
    }
    SetFen(kStart);
    const QPoint off(window->PicMain()->width() - 1, window->PicMain()->height() - 1);
    BoardGesture(Qt::LeftButton, {}, Square("e2"), off);
    EXPECT_EQ(Fen(), kStart);
}

TEST_F(BoardEditorTest, EffectsRefreshWithoutRecording) {
    StartShown("BeginStyle = Wide\r\n  BorderWidth = 10\r\nEndStyle\r\n");
    EXPECT_FALSE(window->action("MNRotate")->isEnabled());
    EXPECT_FALSE(window->action("MNDMirror")->isEnabled());
    m_editor->ApplyEffect(editing::Transform::kRotate);  // as a toolbar button might
    window->action("MNRec")->setChecked(true);
    SetFen("K9");
    window->Text1()->setCursorPosition(0);
    window->action("MNRight")->trigger();
    window->action("MNHMirror")->trigger();
    EXPECT_EQ(Fen(), "82/82/82/82/82/82/82/1K8");
    EXPECT_EQ(window->Text1()->cursorPosition(), Fen().size());
    EXPECT_TRUE(State().History.empty());
    BoardClick("b1", Qt::RightButton);  // an edit is recorded
    ASSERT_EQ(State().History.size(), 1u);
    EXPECT_EQ(State().History[0], "82/82/82/82/82/82/82/82");
}

// Edit > Effects > Vertical Mirror swaps the files, also on a board that is
// not square; its key does the same, and a second time undoes it.
TEST_F(BoardEditorTest, VerticalMirrorFromTheMenuAndItsKey) {
    StartShown("BeginStyle = Wide\r\n  BorderWidth = 10\r\nEndStyle\r\n");
    QAction* mirror = window->action("MNVMirror");
    ASSERT_NE(mirror, nullptr);
    EXPECT_EQ(mirror->text(), "Ver&tical Mirror");
    EXPECT_TRUE(mirror->isEnabled());
    SetFen("r8k/82/82/82/82/82/82/K7R1");

    QMenu* effects = window->menu("MNEffects");
    ASSERT_TRUE(effects->actions().contains(mirror));
    effects->popup(window->mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(effects));
    QTest::mouseClick(effects, Qt::LeftButton, {}, effects->actionGeometry(mirror).center());
    QTRY_VERIFY_WITH_TIMEOUT(effects->isHidden(), 2000);
    EXPECT_EQ(Fen(), "k8r/82/82/82/82/82/82/1R7K");
    EXPECT_EQ(window->Text1()->cursorPosition(), Fen().size());

    QTest::keyClick(window.get(), Qt::Key_F9);
    EXPECT_EQ(Fen(), "r8k/82/82/82/82/82/82/K7R1");
}

TEST_F(BoardEditorTest, ReverseTurnsTheViewOnly) {
    StartShown();
    SetFen(kStart);
    QAction* reverse = window->action("MNReverse");
    const QImage normal = window->renderer().picture();
    QSignalSpy redraws(window.get(), &MainWindow::boardDrawn);
    reverse->trigger();
    EXPECT_TRUE(reverse->isChecked());
    EXPECT_EQ(window->Text1()->palette().color(QPalette::Text), QColor(Qt::red));
    EXPECT_EQ(Fen(), kStart);
    EXPECT_NE(window->renderer().picture(), normal);
    EXPECT_EQ(redraws.count(), 0);  // no lettering: no full redraw
    reverse->trigger();
    EXPECT_FALSE(reverse->isChecked());
    EXPECT_EQ(window->Text1()->palette().color(QPalette::Text), QColor(Qt::black));
    EXPECT_EQ(window->renderer().picture(), normal);
}

TEST_F(BoardEditorTest, ReverseRedrawsTheLettering) {
    StartShown("BeginStyle = Grid\r\n  ShowGrid = Yes\r\n  XBase = 300\r\n  YBase = 300\r\nEndStyle\r\n");
    QSignalSpy redraws(window.get(), &MainWindow::boardDrawn);
    window->action("MNReverse")->trigger();
    EXPECT_EQ(redraws.count(), 1);
}

TEST_F(BoardEditorTest, PieceFirst) {
    StartShown();
    ASSERT_NE(View(), nullptr);  // made with the first board, still hidden
    EXPECT_TRUE(View()->isHidden());
    // Row 0: p P n N b B; row 1: r R q Q k K.
    for (int i = 1; i <= 12; ++i) {
        EXPECT_EQ(View()->Picture1()->image().copy((i - 1) % 6 * 15, (i - 1) / 6 * 15, 15, 15), PieceCell(i))
            << i;
    }
    ShowViewAway();
    PaletteClick(10);
    PaletteClick(4);  // another piece: only the choice changes
    EXPECT_EQ(State().SelectedPiece, 4);
    EXPECT_EQ(View()->Picture2()->image(), PieceCell(4));
    BoardClick("d4");
    BoardClick("f5");
    EXPECT_EQ(Fen(), "8/8/8/5N2/3N4/8/8/8");
    // The preview click forgets the piece: board clicks only mark squares.
    QTest::mouseClick(View()->Picture2(), Qt::LeftButton);
    EXPECT_EQ(State().SelectedPiece, -1);
    BoardClick("a1");
    EXPECT_EQ(Fen(), "8/8/8/5N2/3N4/8/8/8");
    EXPECT_EQ(State().SelectedSquare, 56);
}

TEST_F(BoardEditorTest, SquareFirst) {
    StartShown();
    SetFen(kStart);
    BoardClick("e4");  // no piece chosen: the palette opens
    ASSERT_TRUE(View()->isVisible());
    PaletteClick(2);
    EXPECT_EQ(Fen(), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPPPPPP/RNBQKBNR");
    EXPECT_EQ(State().SelectedPiece, 2);
}

TEST_F(BoardEditorTest, DragFromThePalette) {
    StartShown();
    SetFen(kStart);
    ShowViewAway();
    PaletteDrop(12, "e4");
    EXPECT_EQ(Fen(), "rnbqkbnr/pppppppp/8/8/4K3/8/PPPPPPPP/RNBQKBNR");
    window->action("MNReverse")->trigger();
    PaletteDrop(1, "a8");  // the top-left square of a turned board is h1
    EXPECT_EQ(Fen(), "rnbqkbnr/pppppppp/8/8/4K3/8/PPPPPPPP/RNBQKBNp");
}

TEST_F(BoardEditorTest, EscapeKeepsTheChoiceCloseBoxClearsIt) {
    StartShown();
    ShowViewAway();
    ViewWindow* view = View();
    PaletteClick(8);
    QTest::keyClick(view->Picture1(), Qt::Key_Escape);
    EXPECT_TRUE(view->isHidden());
    EXPECT_EQ(State().SelectedPiece, 8);
    window->Command9()->click();
    EXPECT_FALSE(view->close());  // only hidden while the program runs
    EXPECT_TRUE(view->isHidden());
    EXPECT_EQ(State().SelectedPiece, -1);
    EXPECT_NE(view->Picture2()->image(), PieceCell(8));
}

TEST_F(BoardEditorTest, PaletteFocusLossForgetsTheSquare) {
    StartShown();
    SetFen(kStart);
    BoardClick("e4");
    QApplication::setActiveWindow(View());
    ASSERT_EQ(QApplication::focusWidget(), View()->Picture1());
    QApplication::setActiveWindow(window.get());
    EXPECT_EQ(State().SelectedSquare, -1);
    PaletteClick(2);  // so it only chooses
    EXPECT_EQ(Fen(), kStart);
}

TEST_F(BoardEditorTest, MinimiseAndProgramEnd) {
    StartShown();
    ShowViewAway();
    QPointer<ViewWindow> view = View();
    window->showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.isNull() || view->isHidden(); }));
    EXPECT_TRUE(view->isHidden());
    window->showNormal();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view.isNull() && view->isVisible(); }));
    EXPECT_TRUE(view->isVisible());
    window->close();
    EXPECT_TRUE(view.isNull() || view->isHidden());
}

}  // namespace
