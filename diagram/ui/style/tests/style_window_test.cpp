#include "diagram/ui/style/tests/style_window_fixture.h"

using diagram::ui::MainWindow;
using diagram::ui::StyleWindow;
using style_test::IsBoxed;
using style_test::kIni;
using style_test::kStart;
using style_test::StyleWindowTest;

namespace {

TEST_F(StyleWindowTest, OpensWithTheStyleInItsFields) {
    const QPoint mainAt = m_main->pos();
    RunStyle([this, mainAt](StyleWindow& w) {
        const auto& ui = w.controls();
        EXPECT_EQ(w.windowTitle(), "Style");
        EXPECT_EQ(w.status(), "View mode...");
        EXPECT_EQ(EditorList(w), (QStringList{"Alpha", "Beta"}));
        EXPECT_EQ(ui.Combo5->currentText(), "Beta");
        EXPECT_EQ(ui.Text11->text(), Path("beta.bmp"));
        EXPECT_EQ(ui.Text17->text(), "bet");
        EXPECT_EQ(ui.Picture2->color(), 0xFF);
        // The main window stays; the style window goes beside it.
        EXPECT_EQ(m_main->pos(), mainAt);
        // Automatic picture size: no reset button, the size shown in red.
        EXPECT_FALSE(ui.Command5->isEnabled());
        EXPECT_EQ(w.label("Text9")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        EXPECT_EQ(ui.Text9->text(), QString::number(m_main->PicMain()->height()));
        // The timer adds the grid-offset suggestions and leaves the typed text.
        ui.Combo3->setEditText("7");
        QTRY_COMPARE(ui.Combo3->count(), 2);
        QTRY_COMPARE(ui.Combo4->count(), 2);
        EXPECT_GT(ui.Combo3->itemText(1).toInt(), 0);
        EXPECT_EQ(ui.Combo3->currentText(), "7");
        // Enter in a field belongs to the field, not to a button.
        Type(ui.Text15, "x");
        EXPECT_TRUE(w.isVisible());
        ui.Command3->click();
    });
}

TEST_F(StyleWindowTest, MenuKeysWinOverTheStyleList) {
    // The menus' keys win over the style list's text box, as over the FEN box:
    // Ctrl+E opens the Style window, Ctrl+C and Ctrl+V copy and paste the
    // position rather than the list's text.
    QApplication::setActiveWindow(m_main.get());
    QComboBox* list = m_main->Combo1();
    list->setFocus();
    ASSERT_TRUE(list->hasFocus());
    bool shown = false;
    QTimer::singleShot(0, m_main.get(), [this, &shown] {
        StyleWindow& w = StyleWindow::Of(m_main->host());
        shown = w.isVisible();
        w.reject();
    });
    QTest::keyClick(list, Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(shown);

    // The Style window has gone: the main window is the active one again.
    QApplication::setActiveWindow(m_main.get());
    list->setFocus();
    m_fakes.clipboard.Clear();
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(m_fakes.clipboard.text, m_main->Text1()->text());
    m_fakes.clipboard.text = QStringLiteral("k/");
    const QString listText = list->currentText();
    QTest::keyClick(list, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(m_main->Text1()->text(), "k7/");
    EXPECT_EQ(list->currentText(), listText);

    // Typing in the list still edits its text.
    list->setEditText(QString());
    QTest::keyClicks(list, "al");
    EXPECT_EQ(list->currentText(), "al");
}

TEST_F(StyleWindowTest, OnlyOkKeepsThePreviewedStyle) {
    const settings::Style before = m_program.style;
    const QImage piecesBefore = m_main->renderer().pieces();
    const std::string dictionaryBefore = m_program.settings.PyDictionaryText;
    struct Case {
        const char* what;
        std::function<void(StyleWindow&)> finish;
        bool kept;
    };
    const Case cases[] = {
        {"Cancel", [](StyleWindow& w) { w.controls().Command3->click(); }, false},
        {"Exit", [](StyleWindow& w) { w.action("MNF10exit")->trigger(); }, false},
        {"Escape", [](StyleWindow& w) { QTest::keyClick(&w, Qt::Key_Escape); }, false},
        {"close box", [](StyleWindow& w) { w.close(); }, false},
        {"Ok", [](StyleWindow& w) { w.controls().Command1->click(); }, true},
    };
    for (const Case& c : cases) {
        RunStyle([&](StyleWindow& w) {
            const auto& ui = w.controls();
            Click(ui.Image9);  // manual size: the picture follows the board
            Type(ui.Text2, "10");
            Type(ui.Text17, "new", false);
            Type(ui.Text11, Path("alpha.bmp"));  // loads it and previews
            EXPECT_EQ(m_program.style.BORDERWIDTH, 10) << c.what;
            EXPECT_EQ(m_program.style.SQRWIDTH, 450) << c.what;  // 390 / 13 pixels
            EXPECT_EQ(m_main->PicMain()->width(), 10 * 30 + 4) << c.what;
            EXPECT_EQ(m_program.settings.PyDictionaryText, "base new") << c.what;
            c.finish(w);
            EXPECT_TRUE(w.isHidden()) << c.what;
        });
        if (c.kept) {
            EXPECT_EQ(m_program.style.BORDERWIDTH, 10) << c.what;
            EXPECT_EQ(m_program.style.PYDICTIONARY, "new") << c.what;
            EXPECT_EQ(m_program.settings.PyDictionaryText, "base new") << c.what;
            EXPECT_EQ(m_main->renderer().pieces().width(), 390) << c.what;
        } else {
            EXPECT_EQ(m_program.style, before) << c.what;
            EXPECT_EQ(m_program.settings.PyDictionaryText, dictionaryBefore) << c.what;
            EXPECT_EQ(m_main->renderer().pieces(), piecesBefore) << c.what;
            EXPECT_EQ(m_main->PicMain()->width(), 8 * 15 + 4) << c.what;
        }
        EXPECT_EQ(m_main->Text1()->text(), kStart) << c.what;
    }
}

TEST_F(StyleWindowTest, CancelPutsBackThePiecesOfAStyleWithoutPiecesFile) {
    m_program.style.PIECESFILE.clear();
    m_main->Redraw();
    const QImage kept = m_main->renderer().pieces();
    RunStyle([this](StyleWindow& w) {
        Type(w.controls().Text11, Path("alpha.bmp"));
        EXPECT_EQ(m_main->renderer().pieces().width(), 390);
        w.controls().Command3->click();
    });
    EXPECT_EQ(m_main->renderer().pieces(), kept);
}

TEST_F(StyleWindowTest, SaveChecksThenWritesTheStyle) {
    struct Case {
        const char* what;
        QString name;
        QString pieces;
        platform::Answer answer;
        QString message;
        bool written;
    };
    const QString replace =
        "This file already contains a style called beta.\r\n"
        "Whould you like to replace the existing style?";
    const Case cases[] = {
        {"no pieces file", "Gamma", "", platform::Answer::kOk, "There's no a valid pieces file!", false},
        {"no name", "", "beta.bmp", platform::Answer::kOk, "There's no a valid style name!", false},
        {"CUSTOM in any case", "cuStom", "beta.bmp", platform::Answer::kOk, "There's no a valid style name!",
         false},
        {"existing name, No", "beta", "beta.bmp", platform::Answer::kNo, replace, false},
        {"existing name, Yes", "beta", "beta.bmp", platform::Answer::kYes, replace, true},
        {"new name", "Gamma", "beta.bmp", platform::Answer::kOk, "", true},
    };
    StyleWindow& w = Show();
    const auto& ui = w.controls();
    for (const Case& c : cases) {
        Write("Pandrel.ini", kIni);
        m_fakes.messages.shown.clear();
        m_fakes.messages.answer = c.answer;
        Type(ui.Combo5, c.name, false);
        Type(ui.Text11, c.pieces.isEmpty() ? QString() : Path(c.pieces), false);
        Type(ui.Text16, "2", false);
        w.action("MNF10save")->trigger();
        if (c.message.isEmpty()) {
            EXPECT_TRUE(Messages().empty()) << c.what;
        } else {
            ASSERT_EQ(Messages().size(), 1u) << c.what;
            EXPECT_EQ(Messages()[0].text, c.message) << c.what;
            EXPECT_EQ(Messages()[0].icon, platform::Icon::kExclamation) << c.what;
        }
        const QByteArray block = "BeginStyle = " + c.name.toLatin1() + "\r\n  PiecesFile = ";
        EXPECT_EQ(Ini().contains(block) && Ini().contains("SqrHSpc = 2 "), c.written) << c.what;
        if (c.written) {
            EXPECT_EQ(w.status(), c.name + " saved!") << c.what;
        }
    }
    EXPECT_EQ(Ini().count("BeginStyle"), 3);
    EXPECT_EQ(MainList(), (QStringList{"CUSTOM", "Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(EditorList(w), (QStringList{"Alpha", "Beta", "Gamma"}));
}

TEST_F(StyleWindowTest, DeleteAsksThenRemovesBlockAndNames) {
    StyleWindow& w = Show();
    Type(w.controls().Combo5, "alpha", false);
    m_fakes.messages.answer = platform::Answer::kNo;
    w.action("MNF10del")->trigger();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, "Are you sure you want to delete alpha?");
    EXPECT_EQ(Messages()[0].buttons, platform::Buttons::kYesNo);
    EXPECT_TRUE(Ini().contains("BeginStyle = Alpha"));

    m_fakes.messages.answer = platform::Answer::kYes;
    w.action("MNF10del")->trigger();
    EXPECT_FALSE(Ini().contains("Alpha"));
    EXPECT_TRUE(Ini().contains("BeginStyle = Beta"));
    EXPECT_EQ(MainList(), (QStringList{"CUSTOM", "Beta"}));
    EXPECT_EQ(EditorList(w), (QStringList{"Beta"}));
}

TEST_F(StyleWindowTest, ImportThroughTheFileSelectionWindow) {
    QTemporaryDir styles;
    ASSERT_TRUE(styles.isValid());
    QImage(60, 20, QImage::Format_RGB32).save(styles.filePath("g.bmp"), "BMP");
    QFile file(styles.filePath("set.sty"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "BeginStyle = Gamma\r\n  PiecesFile = g.bmp\r\nEndStyle\r\n"
        "BeginStyle = beta\r\n  PiecesFile = g.bmp\r\nEndStyle\r\n");
    file.close();

    StyleWindow& w = Show();
    m_fakes.messages.answer = platform::Answer::kNo;
    AnswerSeek(styles.filePath("set.sty"));
    w.action("MNF10import")->trigger();
    EXPECT_EQ(m_program.SeekPurpose, diagram::kSeekConfirmed);
    EXPECT_EQ(diagram::ui::WinSeek::Of(m_main->host()).windowTitle(), "Import Styles from...");
    ASSERT_EQ(Messages().size(), 1u);  // beta is listed already: No keeps it
    EXPECT_EQ(Messages()[0].buttons, platform::Buttons::kYesNoCancel);
    EXPECT_EQ(w.status(), "Import OK!");
    EXPECT_TRUE(QFile::exists(Path("g.bmp")));
    EXPECT_TRUE(Ini().contains("BeginStyle = Gamma\r\n  PiecesFile = g.bmp\r\n"));
    EXPECT_FALSE(Ini().contains("BeginStyle = beta"));
    EXPECT_EQ(MainList(), (QStringList{"CUSTOM", "Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(EditorList(w), (QStringList{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(m_program.settings.PyDictionaryText, "base bet");
}

TEST_F(StyleWindowTest, ColourBoxesUseTheChooser) {
    StyleWindow& w = Show();
    const auto& ui = w.controls();
    struct Case {
        diagram::ui::ColorBox* box;
        const char* label;
        int32_t settings::Style::*field;
    };
    const Case cases[] = {{ui.Picture1, "Picture1", &settings::Style::FRAMECOLOR},
                          {ui.Picture2, "Picture2", &settings::Style::BACKCOLOR},
                          {ui.Picture4, "Picture4", &settings::Style::FONTCOLOR}};
    for (const Case& c : cases) {
        m_fakes.colors.offered.clear();
        m_fakes.colors.answer = QColor();  // cancel
        const int32_t before = c.box->color();
        Click(c.box);
        ASSERT_EQ(m_fakes.colors.offered.size(), 1u) << c.label;
        EXPECT_EQ(m_fakes.colors.offered[0], diagram::ui::ToColor(before)) << c.label;
        EXPECT_EQ(c.box->color(), before) << c.label;
        EXPECT_TRUE(c.box->hasFocus()) << c.label;
        EXPECT_TRUE(IsBoxed(w.label(c.label))) << c.label;
        EXPECT_TRUE(m_main->isEnabled()) << c.label;

        m_fakes.colors.answer = QColor(0x12, 0x34, 0x56);
        QTest::mouseDClick(c.box, Qt::LeftButton, {}, QPoint(3, 3));
        EXPECT_EQ(c.box->color(), 0x563412) << c.label;
        EXPECT_EQ(m_program.style.*c.field, 0x563412) << c.label;  // previewed
        EXPECT_TRUE(w.isEnabled()) << c.label;
    }
    // Custom colours start with all bytes 0xFF and keep what the user left.
    EXPECT_EQ(m_fakes.colors.customSeen[5], QColor(255, 255, 255));
    m_fakes.colors.customAfter = QColor(1, 2, 3);
    Click(ui.Picture1);
    EXPECT_EQ(m_program.settings.CustomColors[0], 0x030201);
    EXPECT_EQ(m_program.settings.CustomColors[1], -1);
}

TEST_F(StyleWindowTest, BitmapFieldsLoadAndCentre) {
    Bitmap("frame.bmp", 200, 150);
    StyleWindow& w = Show();
    const auto& ui = w.controls();
    // Manual picture size: layout edits put the size back to computed.
    Click(ui.Image9);
    EXPECT_TRUE(ui.Command5->isEnabled());
    EXPECT_EQ(ui.Text9->palette().color(QPalette::Text), QColor(0, 0, 255));
    Type(ui.Text8, Path("frame.bmp"));
    // 200 - 8 * 15 pixels of board leave 40 on each side; 150 - 120 leave 15.
    EXPECT_EQ(ui.Text6->text(), "40");
    EXPECT_EQ(ui.Text5->text(), "15");
    EXPECT_EQ(m_program.style.XBASE, 600);
    EXPECT_EQ(m_program.style.YBASE, 225);
    EXPECT_EQ(m_main->PicMain()->width(), 2 * 40 + 120 + 4);

    // A file that does not load changes nothing on the diagram.
    Type(ui.Text11, Path("none.bmp"));
    EXPECT_EQ(m_program.style.SQRWIDTH, 225);
    EXPECT_EQ(m_main->renderer().pieces().width(), 195);

    Type(ui.Text11, Path("alpha.bmp"));
    EXPECT_EQ(m_program.style.SQRWIDTH, 450);
    EXPECT_EQ(m_program.style.SQRHEIGHT, 450);
    EXPECT_EQ(m_program.style.SQRVTAB, 450);
    EXPECT_EQ(m_main->renderer().pieces().width(), 390);

    // Browsing puts the chosen name in the field and loads it.
    AnswerSeek(Path("beta.bmp"));
    Click(ui.Image4);
    EXPECT_EQ(diagram::ui::WinSeek::Of(m_main->host()).windowTitle(), "Load Pieces");
    EXPECT_EQ(ui.Text11->text(), Path("beta.bmp"));
    EXPECT_EQ(ui.Text11->cursorPosition(), ui.Text11->text().size());
    EXPECT_EQ(m_program.style.SQRWIDTH, 225);
}

TEST_F(StyleWindowTest, GridOffKeepsOffsetsForLater) {
    StyleWindow& w = Show();
    const auto& ui = w.controls();
    Type(ui.Text5, "12");
    Type(ui.Text6, "9");
    ui.Check2->setChecked(false);
    Click(ui.Check2);  // on
    EXPECT_EQ(m_program.style.SHOWGRID, 1);
    EXPECT_EQ(ui.Text5->text(), "15");  // the offsets kept when the window was made
    Type(ui.Text5, "12");
    Type(ui.Combo3, "3");
    Click(ui.Check2);  // off
    EXPECT_EQ(m_program.style.SHOWGRID, 0);
    EXPECT_EQ(ui.Text5->text(), "0");
    EXPECT_EQ(ui.Text6->text(), "0");
    EXPECT_EQ(ui.Picture2->color(), 0xFF);
    Click(ui.Check2);  // on again
    EXPECT_EQ(ui.Text5->text(), "12");
    EXPECT_EQ(ui.Combo3->currentText(), "3");
    EXPECT_EQ(m_program.style.YBASE, 180);
    EXPECT_EQ(m_program.style.FONTYBASE, 45);
}

TEST_F(StyleWindowTest, RestoreDefaultsAndChooseAStyle) {
    StyleWindow& w = Show();
    const auto& ui = w.controls();
    // Choosing Alpha in the editor's list loads it like the main window's list.
    ui.Combo5->setFocus();
    QTest::keyClick(ui.Combo5, Qt::Key_Up);  // Beta -> Alpha
    EXPECT_EQ(m_program.style.CurrentStyle, "Alpha");
    EXPECT_EQ(m_main->Combo1()->currentText(), "Alpha");
    EXPECT_EQ(ui.Text11->text(), Path("alpha.bmp"));
    EXPECT_EQ(m_main->renderer().pieces().width(), 390);

    w.action("MNF10restor")->trigger();
    EXPECT_EQ(m_program.style.CurrentStyle, "Alpha");
    EXPECT_TRUE(m_program.style.PIECESFILE.empty());
    EXPECT_EQ(m_program.style.SQRWIDTH, 225);
    EXPECT_EQ(m_program.style.SQRHTAB, 225);
    EXPECT_EQ(m_main->renderer().pieces().width(), 195);  // the program's own pieces
    EXPECT_TRUE(ui.Command5->isEnabled());
    EXPECT_EQ(ui.Text9->text(), QString::number(m_main->PicMain()->height()));
    EXPECT_EQ(m_program.settings.PyDictionaryText, "base ");
}

TEST_F(StyleWindowTest, ScrollBarsResizeTheDiagramByPixels) {
    StyleWindow& w = Show();
    const auto& ui = w.controls();
    const int width = m_main->PicMain()->width();
    const int height = m_main->PicMain()->height();
    ui.HScroll1->setValue(ui.HScroll1->value() + 3);
    ui.VScroll1->setValue(ui.VScroll1->value() - 2);
    EXPECT_EQ(m_main->PicMain()->width(), width + 3);
    EXPECT_EQ(ui.Text10->text(), QString::number(width + 3));
    EXPECT_EQ(m_main->PicMain()->height(), height - 2);
    EXPECT_EQ(ui.Text9->text(), QString::number(height - 2));
    QTest::keyClick(ui.Text10, Qt::Key_Return);
    EXPECT_EQ(m_program.style.WNDWIDTH, (width + 3) * 15);
}

}  // namespace

// A user types a board size, then Enter in the "Style: " box over a known
// name: the edit stays; and a name typed with a blank after it is the same
// style, so saving asks to replace it instead of writing a second block.
TEST_F(StyleWindowTest, NameBoxEnterKeepsEditsAndNamesAreTrimmed) {
    StyleWindow& w = Show();
    const auto& ui = w.controls();
    Type(ui.Text2, "10");
    Type(ui.Combo5, "Alpha");
    EXPECT_EQ(ui.Text2->text(), "10");
    EXPECT_EQ(ui.Combo5->currentText(), "Alpha");
    EXPECT_EQ(m_program.style.BORDERWIDTH, 10);

    Type(ui.Combo5, "Alpha ", false);
    m_fakes.messages.answer = platform::Answer::kYes;
    w.action("MNF10save")->trigger();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].buttons, platform::Buttons::kYesNo);  // the replace question
    EXPECT_EQ(m_program.style.CurrentStyle, "Alpha");
    EXPECT_EQ(Ini().count("BeginStyle"), 2);
    EXPECT_EQ(EditorList(w), (QStringList{"Alpha", "Beta"}));
}
