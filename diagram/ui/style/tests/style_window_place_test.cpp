// Where the style window stands beside the diagram, what Cancel gives back
// after previews on another board, and controls sized to their contents.

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>

#include "diagram/geometry.h"
#include "diagram/ui/style/tests/style_window_fixture.h"
#include "position/vet.h"

using style_test::kStart;
using style_test::StyleWindow;
using style_test::StyleWindowTest;

namespace {

QRect Screen() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// The window opens beside the main window, never over its diagram when the
// screen has room for both, and always on the screen.
TEST_F(StyleWindowTest, OpensBesideTheDiagramOnTheScreen) {
    const QRect screen = Screen();
    struct Case {
        const char* what;
        bool atRight;  // the main window stands at the screen's right edge
    };
    for (const Case c : {Case{"main window on the left", false}, Case{"main window on the right", true}}) {
        const QRect frame = m_main->frameGeometry();
        m_main->move(c.atRight ? screen.right() + 1 - frame.width() : screen.left(), screen.top());
        RunStyle([&](StyleWindow& w) {
            const QRect main = m_main->frameGeometry();
            const QRect style = w.frameGeometry();
            EXPECT_EQ(main.topLeft(),
                      c.atRight ? QPoint(screen.right() + 1 - frame.width(), screen.top()) : screen.topLeft())
                << c.what << ": the main window stays where it was";
            if (style.width() <= screen.width() && style.height() <= screen.height()) {
                EXPECT_TRUE(screen.contains(style)) << c.what;
            }
            if (main.width() + style.width() <= screen.width()) {
                EXPECT_FALSE(style.intersects(main)) << c.what;
                EXPECT_EQ(style.left() >= main.right(), !c.atRight) << c.what;
            } else {
                // No room for both: as far out as the screen allows on the roomier side.
                EXPECT_EQ(c.atRight ? style.left() : style.right(),
                          c.atRight ? screen.left() : screen.right())
                    << c.what;
            }
            w.controls().Command3->click();
        });
    }
}

// A user previews a 20 x 20 board with 30-pixel squares on a position, then
// cancels: the position is the one it was, in a window of the old size.
TEST_F(StyleWindowTest, CancelGivesBackThePositionAndTheWindowSize) {
    const QString fen = QStringLiteral("r3k2r/1p6/8/3Q4/8/8/6P1/R3K2R");
    struct Case {
        const char* what;
        int16_t reversed;
        bool chooseStyle;  // then another style chosen in the list, which rewrites the FEN text
        std::function<void(StyleWindow&)> cancel;
    };
    const Case cases[] = {
        {"Cancel", 0, false, [](StyleWindow& w) { w.controls().Command3->click(); }},
        {"Escape, board turned", 65, false, [](StyleWindow& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
        {"Exit", 0, false, [](StyleWindow& w) { w.action("MNF10exit")->trigger(); }},
        {"style chosen, Cancel", 0, true, [](StyleWindow& w) { w.controls().Command3->click(); }},
        {"style chosen, board turned, Cancel", 65, true,
         [](StyleWindow& w) { w.controls().Command3->click(); }},
    };
    for (const Case& c : cases) {
        m_program.editing.Reversed = c.reversed;
        m_main->Text1()->setText(fen);
        m_main->Redraw();
        const QSize windowBefore = m_main->size();
        const QSize pictureBefore = m_main->PicMain()->size();
        const std::string boardBefore = position::VetToFEN(m_program.vet, m_program.Shape());
        RunStyle([&](StyleWindow& w) {
            const auto& ui = w.controls();
            Click(ui.Image9);  // manual size: the picture follows the board
            Type(ui.Text1, "20", false);
            Type(ui.Text2, "20");
            Type(ui.Text11, Path("alpha.bmp"));
            EXPECT_EQ(m_program.style.BORDERWIDTH, 20) << c.what;
            EXPECT_GT(m_main->width(), windowBefore.width()) << c.what;
            if (c.chooseStyle) {
                ui.Combo5->setFocus();
                QTest::keyClick(ui.Combo5, Qt::Key_Up);  // Beta -> Alpha
                EXPECT_EQ(m_program.style.CurrentStyle, "Alpha") << c.what;
            }
            c.cancel(w);
        });
        EXPECT_EQ(m_main->Text1()->text(), fen) << c.what;
        EXPECT_EQ(position::VetToFEN(m_program.vet, m_program.Shape()), boardBefore) << c.what;
        EXPECT_EQ(m_program.editing.Reversed, c.reversed) << c.what;
        EXPECT_EQ(m_main->PicMain()->size(), pictureBefore) << c.what;
        const diagram::WindowSize rule = diagram::MainWindowSize(m_program.style, false);
        EXPECT_EQ(m_main->size(), QSize(rule.width / 15, rule.height / 15)) << c.what;
        EXPECT_EQ(m_main->size(), windowBefore) << c.what;
    }
}

// The grid-offset lists show their longest entry whole, and a label's focus
// frame takes no room of its own: nothing moves when the focus comes.
TEST_F(StyleWindowTest, ControlsFitTheirContentsAndFocusMovesNothing) {
    StyleWindow& w = Show();
    const auto& ui = w.controls();
    QTRY_COMPARE(ui.Combo3->count(), 2);
    for (QComboBox* combo : {ui.Combo1, ui.Combo3, ui.Combo4}) {
        combo->addItem(QStringLiteral("13"));
        combo->addItem(QStringLiteral("300"));
        int widest = 0;
        for (int i = 0; i < combo->count(); ++i) {
            widest = std::max(widest, combo->fontMetrics().horizontalAdvance(combo->itemText(i)));
        }
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = true;
        const QSize chrome =
            combo->style()->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(widest, 10), combo);
        // As laid out, and with the window made as small as it goes.
        for (const bool smallest : {false, true}) {
            w.adjustSize();
            if (smallest) {
                w.resize(1, 1);
            }
            QApplication::processEvents();
            EXPECT_GE(combo->width(), chrome.width()) << combo->objectName().toStdString() << smallest;
            EXPECT_GE(combo->lineEdit()->width(), widest) << combo->objectName().toStdString() << smallest;
        }
    }
    for (const char* name : {"Text1", "Text5", "Text9", "Combo3", "Combo1", "Text19", "Text18", "Picture1"}) {
        QWidget* field = w.findChild<QWidget*>(QLatin1String(name));
        ASSERT_NE(field, nullptr) << name;
        QLabel* label = w.label(QLatin1String(name));
        ASSERT_NE(label, nullptr) << name;
        ui.Text4->setFocus();
        QApplication::processEvents();
        const QRect before = label->geometry();
        const QRect fieldBefore = field->geometry();
        field->setEnabled(true);
        field->setFocus();
        QApplication::processEvents();
        EXPECT_TRUE(style_test::IsBoxed(label)) << name;
        EXPECT_EQ(label->geometry(), before) << name;
        EXPECT_EQ(field->geometry(), fieldBefore) << name;
    }
}

}  // namespace
