// The FEN text box, the FEN commands, the style list and the book panel keys,
// driven by real key and mouse events.

#include <QAbstractItemView>
#include <QAction>
#include <QLabel>
#include <QSignalSpy>

#include "diagram/ui/book_panel.h"
#include "diagram/ui/picture_view.h"
#include "diagram/ui/style_list.h"
#include "diagram/ui/tests/window_fixture.h"

namespace diagram::ui::testing {
namespace {

const QString kStart = QStringLiteral("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");

TEST_F(WindowTest, TypingBuildsTheBoardAndEnterRewritesIt) {
    Start();
    QTest::keyClicks(Text1(), "k");
    EXPECT_EQ(program.vet(position::kPosition, 0), 11);
    EXPECT_EQ(window->Label3()->text(), "(0x1)");
    QTest::keyClick(Text1(), Qt::Key_Return);
    EXPECT_EQ(Text1()->text(), "k7/8/8/8/8/8/8/8");
    EXPECT_EQ(Text1()->cursorPosition(), Text1()->text().size());
    QTest::keyClick(Text1(), Qt::Key_Escape);
    EXPECT_EQ(Text1()->text(), "");
    EXPECT_EQ(window->Label3()->text(), "(0x0)");
    EXPECT_EQ(program.vet(position::kPosition, 0), 0);
}

TEST_F(WindowTest, TextBoxKeys) {
    Start();
    struct Case {
        const char* text;
        int caret;
        Qt::Key key;
        const char* expect;
        int expectCaret;  // -1: not checked
    } cases[] = {
        // End drops what follows the last piece.
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", 0, Qt::Key_End,
         "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", 43},
        {"8/8/8/4k3/8/8/8/8", 0, Qt::Key_End, "8/8/8/4k", 8},
        {"8/8", 1, Qt::Key_End, "", 0},
        // "/" completes the rank before the caret and lands after the "/".
        {"rnb", 3, Qt::Key_Slash, "rnb5/", 5},
        {"rnbqkbnr", 3, Qt::Key_Slash, "rnb5/qkbnr", 5},
        {"", 0, Qt::Key_Slash, "8/", 2},
    };
    for (const Case& c : cases) {
        Text1()->setText(QString::fromLatin1(c.text));
        Text1()->setCursorPosition(c.caret);
        QTest::keyClick(Text1(), c.key);
        EXPECT_EQ(Text1()->text(), QString::fromLatin1(c.expect)) << c.text;
        if (c.expectCaret >= 0) {
            EXPECT_EQ(Text1()->cursorPosition(), c.expectCaret) << c.text;
        }
    }
}

TEST_F(WindowTest, TooLongTextLeavesTheTally) {
    Start();
    Text1()->setText(kStart);
    EXPECT_EQ(window->Label3()->text(), "(16x16)");
    Text1()->setText(QString(402, QLatin1Char('p')));
    EXPECT_EQ(window->Label3()->text(), "(16x16)");
}

TEST_F(WindowTest, MenuShortcutsWinOverTheTextBox) {
    Start();
    int saveAs = 0;
    QObject::connect(window->action("MNSaveAs"), &QAction::triggered, [&] { ++saveAs; });
    ASSERT_TRUE(Text1()->hasFocus());

    QTest::keyClick(Text1(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(Text1()->text(), kStart);

    // Ctrl+Z with Undo Rec still disabled must not undo the typing either.
    QTest::keyClick(Text1(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text1()->text(), kStart);

    Text1()->selectAll();
    QTest::keyClick(Text1(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(fakes.clipboard.text, kStart);
    EXPECT_TRUE(window->action("MNUndo")->isEnabled());

    int undo = 0;
    QObject::connect(window->action("MNUndo"), &QAction::triggered, [&] { ++undo; });
    QTest::keyClick(Text1(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(undo, 1);

    QTest::keyClick(Text1(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(saveAs, 1);

    fakes.clipboard.text = QStringLiteral("k/");
    QTest::keyClick(Text1(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Text1()->text(), "k7/");

    QTest::keyClick(Text1(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(Text1()->text(), "");
    QTest::keyClick(Text1(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(WindowTest, CopyFenWithAndWithoutTally) {
    Start();
    QSignalSpy copied(window.get(), &MainWindow::fenCopied);
    for (int counter : {0, 1}) {
        program.style.COPYCOUNTER = static_cast<int16_t>(counter);
        Text1()->setText(kStart + QStringLiteral(" w KQkq - 0 1"));
        window->action("MNPandrel")->trigger();
        const QString expect = (counter == 1 ? QStringLiteral("(16x16)") : QString()) + kStart;
        EXPECT_EQ(fakes.clipboard.text, expect);
        EXPECT_EQ(program.editing.History.back(), expect.toStdString());
        EXPECT_EQ(Text1()->text(), kStart);
    }
    EXPECT_EQ(program.editing.History.size(), 2u);
    EXPECT_EQ(copied.count(), 2);

    // The tally prefix reads back as the same position.
    QTest::keyClick(Text1(), Qt::Key_Escape);
    window->action("MNPaste")->trigger();
    EXPECT_EQ(Text1()->text(), kStart);
    EXPECT_EQ(window->Label3()->text(), "(16x16)");

    fakes.clipboard.Clear();  // nothing on the clipboard: an empty board
    window->action("MNPaste")->trigger();
    EXPECT_EQ(Text1()->text(), "");
}

TEST_F(WindowTest, PicMoveCommitsTheVectorAndCopiesInRecordMode) {
    Start();
    program.vet(position::kPosition, 63) = 12;
    window->PicMove();
    EXPECT_EQ(Text1()->text(), "8/8/8/8/8/8/8/7K");
    EXPECT_TRUE(program.editing.History.empty());
    window->action("MNRec")->setChecked(true);
    program.vet(position::kPosition, 0) = 11;
    window->PicMove();
    EXPECT_EQ(Text1()->text(), "k7/8/8/8/8/8/8/7K");
    EXPECT_EQ(program.editing.History, std::vector<std::string>{"k7/8/8/8/8/8/8/7K"});
}

TEST_F(WindowTest, StartPositionAndRefresh) {
    Start();
    window->action("MNStart")->trigger();
    EXPECT_EQ(Text1()->text(), kStart);
    EXPECT_EQ(Text1()->cursorPosition(), kStart.size());
    EXPECT_EQ(window->Label3()->text(), "(16x16)");
    program.vet(position::kPosition, 0) = 0;
    window->action("MNRefresh")->trigger();
    EXPECT_EQ(Text1()->text(), "1nbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
}

TEST_F(WindowTest, FocusBorders) {
    Start();
    EXPECT_NE(window->Label3()->frameShape(), QFrame::NoFrame);
    window->Frame2()->show();
    window->Frame2()->Picture1()->setFocus();
    EXPECT_EQ(window->Label3()->frameShape(), QFrame::NoFrame);
    EXPECT_NE(window->Frame2()->Label5()->frameShape(), QFrame::NoFrame);
    Text1()->setFocus();
    EXPECT_NE(window->Label3()->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(window->Frame2()->Label5()->frameShape(), QFrame::NoFrame);
}

TEST_F(WindowTest, StepAreaKeys) {
    Start();
    window->Frame2()->show();
    StepArea* area = window->Frame2()->Picture1();
    area->setFocus();
    QSignalSpy steps(area, &StepArea::stepRequested);
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int button;  // -1: nothing
    } cases[] = {
        {Qt::Key_Left, Qt::NoModifier, 1},
        {Qt::Key_Right, Qt::NoModifier, 2},
        {Qt::Key_Left, Qt::ControlModifier, 0},
        {Qt::Key_Right, Qt::ControlModifier, 3},
        {Qt::Key_Left, Qt::ShiftModifier, -1},
        {Qt::Key_Right, Qt::AltModifier, -1},
        {Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier, -1},
        {Qt::Key_Up, Qt::NoModifier, -1},
    };
    for (const Case& c : cases) {
        steps.clear();
        QTest::keyClick(area, c.key, c.modifiers);
        if (c.button < 0) {
            EXPECT_EQ(steps.count(), 0) << c.key << " " << c.modifiers;
        } else {
            ASSERT_EQ(steps.count(), 1) << c.key << " " << c.modifiers;
            EXPECT_EQ(steps.at(0).at(0).toInt(), c.button);
        }
    }
    program.vet(position::kPosition, 0) = 12;
    QTest::keyClick(area, Qt::Key_Return);
    EXPECT_EQ(Text1()->text(), "K7/8/8/8/8/8/8/8");
}

TEST_F(WindowTest, PictureReportsTheMouseInTwips) {
    Start();
    QSignalSpy pressed(window->PicMain(), &PictureView::mousePressed);
    QSignalSpy released(window->PicMain(), &PictureView::mouseReleased);
    QTest::mousePress(window->PicMain(), Qt::LeftButton, Qt::ShiftModifier, QPoint(20, 35));
    QTest::mouseRelease(window->PicMain(), Qt::LeftButton, Qt::ShiftModifier, QPoint(50, 5));
    ASSERT_EQ(pressed.count(), 1);
    EXPECT_DOUBLE_EQ(pressed.at(0).at(0).toDouble(), 300);
    EXPECT_DOUBLE_EQ(pressed.at(0).at(1).toDouble(), 525);
    EXPECT_EQ(pressed.at(0).at(2).value<Qt::MouseButton>(), Qt::LeftButton);
    EXPECT_EQ(pressed.at(0).at(3).value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
    ASSERT_EQ(released.count(), 1);
    EXPECT_DOUBLE_EQ(released.at(0).at(0).toDouble(), 750);
}

const QByteArray kStyles =
    "RecentStyle = Alpha\r\n"
    "BeginStyle = Zeta\r\n  SqrWidth = 20\r\n  SqrHeight = 20\r\n  BorderHeight = 6\r\n  BorderWidth = 4\r\n"
    "EndStyle\r\n"
    "BeginStyle = Alpha\r\n  SqrWidth = 10\r\n  SqrHeight = 10\r\nEndStyle\r\n";

TEST_F(WindowTest, ClickingAStyleSwitchesTheBoard) {
    WriteFile("Pandrel.ini", kStyles);
    Start();
    Text1()->setText("kK");
    StyleList* list = window->Combo1();
    list->showPopup();
    QAbstractItemView* view = list->view();
    const QRect zeta = view->visualRect(view->model()->index(2, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, zeta.center());
    EXPECT_EQ(program.style.CurrentStyle, "Zeta");
    EXPECT_EQ(program.style.SQRWIDTH, 300);
    // 4 columns of 20 pixels; rows and columns differ.
    EXPECT_EQ(window->PicMain()->width(), 84);
    EXPECT_FALSE(window->action("MNRotate")->isEnabled());
    EXPECT_FALSE(window->action("MNDMirror")->isEnabled());
    EXPECT_EQ(Text1()->text(), "kK2/4/4/4/4/4");
    EXPECT_EQ(Text1()->cursorPosition(), Text1()->text().size());
}

TEST_F(WindowTest, StyleListEnterAndEscape) {
    WriteFile("Pandrel.ini", kStyles);
    Start();
    StyleList* list = window->Combo1();
    list->setFocus();
    list->setEditText(QString());
    QTest::keyClicks(list, "zeta");
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(program.style.CurrentStyle, "Zeta");
    EXPECT_EQ(list->currentText(), "Zeta");

    list->setEditText(QString());
    QTest::keyClicks(list, "alpha");
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(program.style.CurrentStyle, "Alpha");
    EXPECT_EQ(list->currentText(), "Alpha");
    EXPECT_TRUE(window->action("MNRotate")->isEnabled());

    list->setEditText(QString());
    QTest::keyClicks(list, "Gamma");
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(list->currentText(), "");
    EXPECT_EQ(program.style.CurrentStyle, "Alpha");

    QTest::keyClicks(list, "Gam");
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_EQ(list->currentText(), "Alpha");
    EXPECT_TRUE(Text1()->hasFocus());
    EXPECT_EQ(list->count(), 3);
}

TEST_F(WindowTest, CustomRunsTheStyleCommandAroundTheSavedStyle) {
    MainWindow& w = Create();
    int shown = 0, changed = 0;
    w.hooks().StyleWindow = [&] {
        ++shown;
        EXPECT_EQ(program.savedStyle, program.style);
        program.savedStyle.SQRWIDTH = 300;
        program.savedStyle.SQRHEIGHT = 300;
        program.savedStyle.SQRHTAB = 0;
        program.savedStyle.SQRVTAB = 0;
        program.savedStyle.WNDWIDTH = 0;
        program.savedStyle.WNDHEIGHT = 0;
        program.style.SQRWIDTH = 1;  // a preview the window leaves behind
    };
    w.hooks().StyleChanged = [&] { ++changed; };
    Start();
    Text1()->setText(kStart);
    StyleList* list = window->Combo1();
    list->setFocus();
    list->setEditText(QStringLiteral("custom"));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(program.style.SQRWIDTH, 300);
    EXPECT_EQ(window->PicMain()->width(), 164);
    EXPECT_EQ(window->Label3()->text(), "(16x16)");
    window->action("MNstyle")->trigger();
    EXPECT_EQ(shown, 2);
}

TEST_F(WindowTest, RedrawFollowsTheBoardSizeWhileReversed) {
    Start();
    program.editing.Reversed = 65;
    program.style.BORDERHEIGHT = 4;
    program.style.WNDWIDTH = 0;
    program.style.WNDHEIGHT = 0;
    window->Redraw();
    EXPECT_EQ(program.editing.Reversed, 33);
}

}  // namespace
}  // namespace diagram::ui::testing
