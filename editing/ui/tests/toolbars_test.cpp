#include <QAction>
#include <QSignalSpy>

#include "editing/ui/tests/started_window.h"
#include "editing/ui/toolbars.h"

using editing::ui::PictureButton;
using editing::ui::Toolbars;

namespace {

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

class ToolbarsTest : public StartedWindow {
  protected:
    Toolbars* Bars() const { return window->findChild<Toolbars*>(); }
    QAction* Action(const char* name) const { return window->action(QString::fromLatin1(name)); }
    void Click(PictureButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // Starts with the FEN box's caret at its start, so that the caret's move
    // to the end shows.
    void CaretHome() { window->Text1()->setCursorPosition(0); }
    bool CaretAtEnd() const { return window->Text1()->cursorPosition() == Fen().size(); }
};

TEST_F(ToolbarsTest, StartUpGivesEveryButtonItsPicture) {
    Start();
    Toolbars* bars = Bars();
    ASSERT_NE(bars, nullptr);
    EXPECT_EQ(bars->Picture3()->objectName(), "Picture3");
    EXPECT_EQ(bars->Picture4()->objectName(), "Picture4");
    for (int i = 0; i < Toolbars::kButtons; ++i) {
        EXPECT_EQ(bars->Image4(i)->picture().cacheKey(), bars->Image3()[i].cacheKey()) << i;
        EXPECT_EQ(bars->Image7(i)->picture().cacheKey(), bars->Image5()[i].cacheKey()) << i;
        EXPECT_EQ(bars->Image7(i)->objectName(), QStringLiteral("Image7_%1").arg(i));
    }
    EXPECT_EQ(bars->Image6()->picture().cacheKey(), bars->Image8()[0].cacheKey());
    // No engine in the program folder: no engine button.
    EXPECT_FALSE(bars->Image4(8)->isVisible());
    EXPECT_TRUE(bars->Image4(7)->isVisible());
    // The second toolbar's places, in pixels.
    const QRect places[] = {{0, 0, 19, 19},  {19, 0, 19, 19},  {46, 0, 19, 9},
                            {46, 10, 19, 9}, {66, 0, 9, 19},   {75, 0, 9, 19},
                            {93, 0, 19, 19}, {112, 0, 19, 19}, {131, 0, 19, 19}};
    for (int i = 0; i < Toolbars::kButtons; ++i) {
        EXPECT_EQ(bars->Image7(i)->geometry(), places[i]) << i;
        EXPECT_EQ(bars->Image5()[i].deviceIndependentSize().toSize(), places[i].size()) << i;
    }
}

TEST_F(ToolbarsTest, ButtonsRunTheirCommands) {
    Start();
    Toolbars* bars = Bars();
    using diagram::ui::Secondary;
    const struct {
        bool first;
        int button;
        const char* command;
        bool fenFocus;  // else the focus is left to the window the command opens
    } cases[] = {
        {true, 0, "MNSave", true},     {true, 1, "MNGraphic", false}, {true, 2, "MNHistory", false},
        {true, 3, "MNPicture", true},  {true, 4, "MNHtml", true},     {true, 5, "MNPandrel", true},
        {true, 6, "MNPaste", true},    {true, 7, "MNPrint", true},    {false, 0, "MNNew", true},
        {false, 1, "MNStart", true},   {false, 2, "MNRight", true},   {false, 3, "MNLeft", true},
        {false, 4, "MNUp", true},      {false, 5, "MNDown", true},    {false, 6, "MNRotate", true},
        {false, 7, "MNHMirror", true}, {false, 8, "MNDMirror", true},
    };
    for (const auto& c : cases) {
        SetFen(kStart);
        CaretHome();
        QSignalSpy runs(Action(c.command), &QAction::triggered);
        Click(c.first ? bars->Image4(c.button) : bars->Image7(c.button));
        EXPECT_EQ(runs.count(), 1) << c.command;
        EXPECT_TRUE(CaretAtEnd()) << c.command;
        if (c.fenFocus) {
            EXPECT_TRUE(window->Text1()->hasFocus()) << c.command;
        } else {
            QWidget* opened =
                window->SecondaryWindow(c.button == 1 ? Secondary::kGraphic : Secondary::kHistory);
            EXPECT_TRUE(Active(opened)) << c.command;
            opened->hide();
            window->activateWindow();
            ASSERT_TRUE(Active(window.get()));
        }
    }
    SetFen("K7");
    Click(bars->Image7(2));
    EXPECT_EQ(Fen(), "1K6/8/8/8/8/8/8/8");
}

TEST_F(ToolbarsTest, EngineButtonRunsTheEngineUsedLast) {
    Start();
    Toolbars* bars = Bars();
    program.engines.engineButton = true;
    bars->ToolbarPictures();
    ASSERT_TRUE(bars->Image4(8)->isVisible());
    const struct {
        const char* recent;
        int popeye, crafty;
    } cases[] = {{"", 0, 0}, {"popeye", 1, 0}, {"CRAFTY", 0, 1}, {"Fairy", 0, 0}};
    for (const auto& c : cases) {
        program.settings.RecentEngine = c.recent;
        window->Text1()->setFocus();
        QSignalSpy popeye(Action("MNpy"), &QAction::triggered);
        QSignalSpy crafty(Action("MNCrafty"), &QAction::triggered);
        Click(bars->Image4(8));
        EXPECT_EQ(popeye.count(), c.popeye) << c.recent;
        EXPECT_EQ(crafty.count(), c.crafty) << c.recent;
        if (c.popeye + c.crafty == 0) {
            EXPECT_TRUE(bars->Picture3()->hasFocus()) << c.recent;
        }
    }
}

TEST_F(ToolbarsTest, EveryButtonNamesItsCommandAndShortcut) {
    Start();
    Toolbars* bars = Bars();
    const char* const first[] = {"Save Image (Ctrl+S)",    "Graphic (Ctrl+G)",   "History (Ctrl+H)",
                                 "Copy Image (Ctrl+I)",    "Copy HTML (Ctrl+L)", "Copy Pandrel (Ctrl+C)",
                                 "Paste Pandrel (Ctrl+V)", "Print (Ctrl+P)"};
    const char* const second[] = {
        "New (Ctrl+N)",        "Start Position (Ctrl+T)", "Move Right (F6)",      "Move Left (F5)",
        "Move Up (F7)",        "Move Down (F8)",          "Rotate 90\u00b0 (F4)", "Horizontal Mirror (F2)",
        "Diagonal Mirror (F3)"};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(bars->Image4(i)->toolTip(), QString::fromUtf8(first[i])) << i;
    }
    for (int i = 0; i < Toolbars::kButtons; ++i) {
        EXPECT_EQ(bars->Image7(i)->toolTip(), QString::fromUtf8(second[i])) << i;
    }
    EXPECT_EQ(bars->Image6()->toolTip(), "Rec Mode (Ctrl+M)");
    // The engine button names the engine it starts now.
    for (const auto& [recent, tip] :
         {std::pair{"Popeye", "Popeye (Ctrl+Y)"}, std::pair{"CRAFTY", "Crafty (Ctrl+K)"}}) {
        program.settings.RecentEngine = recent;
        bars->ToolbarPictures();
        EXPECT_EQ(bars->Image4(8)->toolTip(), QString::fromLatin1(tip));
    }
}

TEST_F(ToolbarsTest, PressLookAndDraggingOff) {
    Start();
    Toolbars* bars = Bars();
    PictureButton* save = bars->Image4(0);
    QSignalSpy runs(Action("MNSave"), &QAction::triggered);
    window->Text1()->setFocus();
    QTest::mousePress(save, Qt::LeftButton, {}, {5, 5});
    EXPECT_EQ(save->picture().cacheKey(), bars->Image3()[9].cacheKey());
    EXPECT_TRUE(bars->Picture3()->hasFocus());
    QTest::mouseMove(save, {40, 5});
    EXPECT_FALSE(save->isDown());
    QTest::mouseMove(save, {6, 6});
    EXPECT_TRUE(save->isDown());
    QTest::mouseMove(save, {40, 5});
    QTest::mouseRelease(save, Qt::LeftButton, {}, {40, 5});
    EXPECT_EQ(save->picture().cacheKey(), bars->Image3()[0].cacheKey());
    EXPECT_EQ(runs.count(), 0);

    // A double click is two clicks.
    SetFen("K7");
    DoubleClick(bars->Image7(2));
    EXPECT_EQ(Fen(), "2K5/8/8/8/8/8/8/8");
    EXPECT_FALSE(bars->Image7(2)->isDown());
}

TEST_F(ToolbarsTest, RecordButtonTogglesRecordMode) {
    Start();
    Toolbars* bars = Bars();
    SetFen(kStart);
    Click(bars->Image6());
    EXPECT_TRUE(Action("MNRec")->isChecked());
    EXPECT_EQ(bars->Image6()->picture().cacheKey(), bars->Image8()[1].cacheKey());
    EXPECT_EQ(program.editing.History.size(), 1u);
    DoubleClick(bars->Image6());
    EXPECT_TRUE(Action("MNRec")->isChecked());
    Action("MNRec")->trigger();  // the menu item shows on the button too
    EXPECT_EQ(bars->Image6()->picture().cacheKey(), bars->Image8()[0].cacheKey());
}

TEST_F(ToolbarsTest, TurnsOnlyForSquareBoards) {
    Start("BeginStyle = Wide\r\n  BorderWidth = 10\r\nEndStyle\r\n");
    Toolbars* bars = Bars();
    for (int i = 0; i < Toolbars::kButtons; ++i) {
        EXPECT_EQ(bars->Image7(i)->isVisible(), i != 6 && i != 8) << i;
    }
    program.style.BORDERWIDTH = 8;
    window->Redraw();
    EXPECT_TRUE(bars->Image7(6)->isVisible());
    EXPECT_TRUE(bars->Image7(8)->isVisible());
}

}  // namespace
