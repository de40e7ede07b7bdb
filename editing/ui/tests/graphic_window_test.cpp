#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include "diagram/render/renderer.h"
#include "diagram/ui/picture_view.h"
#include "editing/ui/graphic_window.h"
#include "editing/ui/tests/started_window.h"
#include "editing/ui/view_window.h"

using editing::ui::GraphicWindow;

namespace {

const QColor kRed(255, 0, 0);

// 8 x 8 squares of 30 pixels from the picture's corner.
constexpr const char* kBigSquares = "BeginStyle = Big\r\n  SqrWidth = 30\r\n  SqrHeight = 30\r\nEndStyle\r\n";

class GraphicTest : public StartedWindow {
  protected:
    GraphicWindow* Graphic() const {
        return qobject_cast<GraphicWindow*>(window->SecondaryWindow(diagram::ui::Secondary::kGraphic));
    }
    QWidget* Board() const { return window->PicMain(); }
    QColor Lasting(int x, int y) const { return window->renderer().picture().pixelColor(x, y); }
    QColor Shown(int x, int y) const { return Board()->grab().toImage().pixelColor(x, y); }
    // Whether a drawn curve passes within a pixel of (x, y).
    bool RedNear(int x, int y) const {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                if (Lasting(x + dx, y + dy) == kRed) {
                    return true;
                }
            }
        }
        return false;
    }
    void ShowGraphic() {
        window->action("MNGraphic")->trigger();
        ASSERT_TRUE(Active(Graphic()));
    }

    void ShiftPress(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(Board(), button, Qt::ShiftModifier, at);
    }
    void MoveTo(QPoint at) { QTest::mouseMove(Board(), at); }
    void Release(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseRelease(Board(), button, Qt::ShiftModifier, at);
    }
    void ShiftDrag(QPoint from, QPoint to) {
        ShiftPress(from);
        MoveTo(to);
        Release(to);
    }
};

TEST_F(GraphicTest, WindowAndDefaults) {
    Start();
    GraphicWindow* w = Graphic();
    ASSERT_NE(w, nullptr);  // made hidden at start-up, for its width list
    EXPECT_TRUE(w->isHidden());
    EXPECT_EQ(w->windowTitle(), "Graphic");
    const QRadioButton* options[] = {w->Option1(), w->Option2(), w->Option3(),
                                     w->Option4(), w->Option5(), w->Option6()};
    const char* captions[] = {
        "&Line", "C&ircle", "Free &Hand", "&Snap to square corner", "S&nap to square center", "Snap Of&f"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(options[i]->text(), captions[i]);
        EXPECT_EQ(options[i]->objectName(), QStringLiteral("Option%1").arg(i + 1));
        EXPECT_EQ(options[i]->isChecked(), i == 0 || i == 5) << i;
    }
    EXPECT_EQ(w->Command1()->text(), "O&k");
    EXPECT_EQ(w->Command2()->text(), "&Clear Graphic");
    ASSERT_EQ(w->Combo1()->count(), 9);
    EXPECT_EQ(w->Combo1()->itemText(0), "1");
    EXPECT_EQ(w->Combo1()->itemText(8), "9");
    EXPECT_EQ(w->Combo1()->currentText(), "1");
    EXPECT_EQ(w->Line1()->penWidth(), 1);
    EXPECT_EQ(w->Line1()->penColor(), 0x0000FF);

    window->action("MNGraphic")->trigger();
    EXPECT_TRUE(w->isVisible());
    QTest::mouseClick(w->Command1(), Qt::LeftButton);
    EXPECT_TRUE(w->isHidden());
    window->action("MNGraphic")->trigger();
    w->close();  // the close box hides while the program runs
    EXPECT_TRUE(w->isHidden());
    EXPECT_EQ(Graphic(), w);
}

TEST_F(GraphicTest, ShiftDragDrawsARubberBandThenALine) {
    Start();
    SetFen("8/8/8/8/8/8/8/8");
    const QImage before = window->renderer().picture();
    ShiftPress({5, 20});
    MoveTo({60, 20});
    // The band is shown over the picture, not drawn into it.
    EXPECT_EQ(Shown(30, 20), kRed);
    EXPECT_EQ(window->renderer().picture(), before);
    MoveTo({100, 20});
    Release({100, 20});
    for (int x : {5, 30, 60, 100}) {
        EXPECT_EQ(Lasting(x, 20), kRed) << x;
    }
    EXPECT_NE(Lasting(30, 21), kRed);  // one pixel wide
    EXPECT_NE(Lasting(103, 20), kRed);
    EXPECT_EQ(Shown(80, 20), kRed);
    EXPECT_EQ(Fen(), "8/8/8/8/8/8/8/8");
    EXPECT_TRUE(window->Text1()->hasFocus());
    EXPECT_EQ(program.editing.MouseDownX, -1);
}

TEST_F(GraphicTest, CentreSnappingJoinsSquareCentres) {
    Start(kBigSquares);
    Graphic()->Option5()->click();
    // Pressed near a corner of a1, released near a corner of h8.
    ShiftDrag({2, 237}, {237, 2});
    EXPECT_EQ(Lasting(15, 225), kRed);
    EXPECT_EQ(Lasting(120, 120), kRed);
    EXPECT_EQ(Lasting(225, 15), kRed);
    EXPECT_NE(Lasting(2, 237), kRed);
    EXPECT_NE(Lasting(237, 2), kRed);

    // A circle: the centre snaps, the radius is the unsnapped drag.
    Graphic()->Option2()->click();
    ShiftDrag({100, 100}, {140, 100});
    EXPECT_TRUE(RedNear(105 + 40, 105));
    EXPECT_TRUE(RedNear(105, 105 - 40));
    EXPECT_FALSE(RedNear(105, 105));
    EXPECT_FALSE(RedNear(105 + 40, 140));
}

TEST_F(GraphicTest, FreeHandLeavesSeparateDots) {
    Start();
    SetFen("8/8/8/8/8/8/8/8");
    Graphic()->Option3()->click();
    EXPECT_FALSE(Graphic()->Option4()->isEnabled());
    EXPECT_TRUE(Graphic()->Option6()->isChecked());
    ShiftPress({10, 10});
    MoveTo({40, 10});
    EXPECT_EQ(Lasting(40, 10), kRed);  // each dot lasts at once
    MoveTo({80, 10});
    Release({90, 12});
    EXPECT_EQ(Lasting(80, 10), kRed);
    EXPECT_EQ(Lasting(90, 12), kRed);
    EXPECT_NE(Lasting(60, 10), kRed);
    EXPECT_NE(Lasting(10, 10), kRed);
    Graphic()->Option1()->click();
    EXPECT_TRUE(Graphic()->Option4()->isEnabled());
}

TEST_F(GraphicTest, RightButtonDrawsOnlyWhileMoving) {
    Start();
    SetFen("8/8/8/8/8/8/8/8");
    const QImage before = window->renderer().picture();
    ShiftPress({5, 20}, Qt::RightButton);
    MoveTo({100, 20});
    EXPECT_EQ(Shown(50, 20), kRed);
    Release({100, 20}, Qt::RightButton);
    EXPECT_NE(Shown(50, 20), kRed);
    EXPECT_EQ(window->renderer().picture(), before);
}

TEST_F(GraphicTest, AShiftClickOnThePaletteDrawsNothing) {
    Start();
    SetFen("8/8/8/8/8/8/8/8");
    Graphic()->Option3()->click();
    const QImage before = window->renderer().picture();
    window->Command9()->click();
    auto* palette =
        qobject_cast<editing::ui::ViewWindow*>(window->SecondaryWindow(diagram::ui::Secondary::kView));
    ASSERT_NE(palette, nullptr);
    QTest::mouseClick(palette->Picture1(), Qt::LeftButton, Qt::ShiftModifier, {5, 5});
    // The pointer passes over the diagram with no button held.
    for (int x : {20, 40, 60}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 30), Board()->mapToGlobal(QPointF(x, 30)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(Board(), &move);
    }
    EXPECT_EQ(window->renderer().picture(), before);
}

TEST_F(GraphicTest, PenWidthAndColourComeFromTheSampleLine) {
    Start();
    SetFen("8/8/8/8/8/8/8/8");
    GraphicWindow* w = Graphic();
    ShowGraphic();
    QLineEdit* text = w->Combo1()->lineEdit();
    // Typed text: the pen width follows (the rules of the value are tested
    // with the core).
    text->selectAll();
    QTest::keyClicks(text, QStringLiteral("5"));
    EXPECT_EQ(w->Line1()->penWidth(), 5);
    w->Combo1()->setCurrentIndex(2);
    QTest::keyClick(w->Combo1(), Qt::Key_Down);  // picks entry 3
    EXPECT_EQ(w->Combo1()->currentText(), "4");
    EXPECT_EQ(w->Line1()->penWidth(), 4);

    const struct {
        int swatch;
        int key;  // 0: a click
        int32_t color;
    } swatches[] = {
        {4, 0, 0xFF0000}, {2, Qt::Key_Space, 0x00FF00}, {8, Qt::Key_Return, 0x0080FF}, {9, 0, 0xFFFFFF}};
    for (const auto& c : swatches) {
        editing::ui::ColorSwatch* swatch = w->Picture1(c.swatch);
        if (c.key == 0) {
            QTest::mouseClick(swatch, Qt::LeftButton);
        } else {
            swatch->setFocus();
            QTest::keyClick(swatch, static_cast<Qt::Key>(c.key));
        }
        EXPECT_EQ(w->Line1()->penColor(), c.color) << c.swatch;
    }
    w->Picture1(4)->setFocus();
    EXPECT_EQ(w->Picture1(4)->frameStyle(), QFrame::NoFrame);
    EXPECT_EQ(w->Picture1(2)->frameStyle(), QFrame::Box | QFrame::Plain);

    // The pen is taken at the press: a blue line about four pixels wide.
    QTest::mouseClick(w->Picture1(4), Qt::LeftButton);
    ShiftDrag({10, 40}, {100, 40});
    EXPECT_EQ(Lasting(50, 41), QColor(0, 0, 255));
    EXPECT_EQ(Lasting(50, 39), QColor(0, 0, 255));
    EXPECT_NE(Lasting(50, 44), QColor(0, 0, 255));
}

TEST_F(GraphicTest, DoubleClickPicksAColourForThePenOnly) {
    Start();
    GraphicWindow* w = Graphic();
    ShowGraphic();
    auto& chooser = fakes.colors;
    chooser.answer = QColor(1, 2, 3);
    DoubleClick(w->Picture1(5));
    ASSERT_EQ(chooser.offered.size(), 1u);
    EXPECT_EQ(chooser.offered[0], QColor(255, 0, 255));
    EXPECT_EQ(w->Line1()->penColor(), 0x030201);
    EXPECT_EQ(w->Picture1(5)->color(), 0xFF00FF);
    EXPECT_TRUE(w->isEnabled());
    EXPECT_TRUE(window->isEnabled());

    chooser.answer = QColor();  // cancelled: the click's colour stays
    DoubleClick(w->Picture1(6));
    EXPECT_EQ(w->Line1()->penColor(), 0xFFFF00);
}

TEST_F(GraphicTest, RepaintsCoverTheDrawing) {
    Start();
    SetFen("8/8/8/8/8/8/8/8");
    const QImage empty = window->renderer().picture();
    ShiftDrag({2, 112}, {118, 112});    // across rank 1
    EXPECT_EQ(Lasting(67, 112), kRed);  // on e1
    EXPECT_EQ(Lasting(7, 112), kRed);   // on a1
    // Only the square whose piece changes is painted again.
    SetFen("8/8/8/8/8/8/8/4K3");
    EXPECT_NE(Lasting(67, 112), kRed);
    EXPECT_EQ(Lasting(7, 112), kRed);
    SetFen("8/8/8/8/8/8/8/8");
    QTest::mouseClick(Graphic()->Command2(), Qt::LeftButton);
    EXPECT_EQ(window->renderer().picture(), empty);
}

}  // namespace
