// The keys of font styles in the style window: typed, chosen and clicked
// like the other fields, saved to the settings file and read back.

#include "diagram/ui/style/tests/style_window_fixture.h"

using style_test::StyleWindow;
using style_test::StyleWindowTest;

namespace {

// A user turns the bitmap style Beta into a font style with 40-pixel squares,
// colours, hatching and a turned man, saves it under a new name without a
// pieces file, and later opens it again from the style list.
TEST_F(StyleWindowTest, FontStyleKeysAreEditedSavedAndReadBack) {
    StyleWindow& w = Show();
    const auto& ui = w.controls();
    // A bitmap style's size fields only show the size its bitmap gives.
    EXPECT_FALSE(ui.Text19->isEnabled());
    EXPECT_EQ(ui.Text19->text(), "15");

    Click(ui.Image9);  // manual size: the picture follows the squares
    Type(ui.Combo6, "DejaVu Sans");
    EXPECT_TRUE(m_program.style.IsFontStyle());
    EXPECT_TRUE(m_main->renderer().fontStyle());
    EXPECT_TRUE(ui.Text19->isEnabled());
    Type(ui.Text19, "40", false);
    Type(ui.Text20, "40");
    // The size stays what was typed: the built-in pieces bitmap does not reset it.
    EXPECT_EQ(ui.Text19->text(), "40");
    EXPECT_EQ(m_program.style.SQRWIDTH, 600);
    EXPECT_EQ(m_program.style.SQRHEIGHT, 600);
    EXPECT_EQ(m_main->PicMain()->width(), 8 * 40 + 4);

    struct Colour {
        diagram::ui::ColorBox* box;
        QColor chosen;
        int32_t settings::Style::*field;
        int32_t bgr;
    };
    const Colour colours[] = {{ui.Picture5, QColor(0xFF, 0xFF, 0xFF), &settings::Style::LIGHTCOLOR, 0xFFFFFF},
                              {ui.Picture6, QColor(0x30, 0x20, 0x10), &settings::Style::DARKCOLOR, 0x102030}};
    for (const Colour& c : colours) {
        m_fakes.colors.answer = c.chosen;
        Click(c.box);
        EXPECT_EQ(c.box->color(), c.bgr);
        EXPECT_EQ(m_program.style.*c.field, c.bgr);  // previewed
    }
    Click(ui.Check8);
    EXPECT_EQ(m_program.style.DARKHATCH, 1);
    Type(ui.Text18, "g=q180 Z=N90");
    EXPECT_EQ(m_program.style.PIECESGLYPHS, "g=q180 Z=N90");

    Type(ui.Text11, QString(), false);
    Type(ui.Combo5, "Fonts", false);
    w.action("MNF10save")->trigger();
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(w.status(), "Fonts saved!");
    EXPECT_TRUE(
        Ini().contains("BeginStyle = Fonts\r\n"
                       "  PiecesFont = DejaVu Sans\r\n"
                       "  PiecesGlyphs = g=q180 Z=N90\r\n"
                       "  LightColor = &HFFFFFF\r\n"
                       "  DarkColor = &H102030\r\n"
                       "  DarkHatch = Yes\r\n"
                       "  SqrWidth = 40 \r\n"
                       "  SqrHeight = 40 \r\n"))
        << Ini().toStdString();
    w.reject();

    // Read back from the file: Alpha first, so nothing is left over.
    m_main->ChooseStyle("Alpha");
    EXPECT_FALSE(m_main->renderer().fontStyle());
    m_main->ChooseStyle("Fonts");
    const settings::Style& s = m_program.style;
    EXPECT_EQ(s.PIECESFONT, "DejaVu Sans");
    EXPECT_EQ(s.PIECESGLYPHS, "g=q180 Z=N90");
    EXPECT_EQ(s.LIGHTCOLOR, 0xFFFFFF);
    EXPECT_EQ(s.DARKCOLOR, 0x102030);
    EXPECT_EQ(s.DARKHATCH, 1);
    EXPECT_EQ(s.SQRWIDTH, 600);
    EXPECT_TRUE(s.PIECESFILE.empty());
    EXPECT_TRUE(m_main->renderer().fontStyle());

    // The editor shows the saved keys; an edit of them alone keeps the size.
    RunStyle([this](StyleWindow& w) {
        const auto& ui = w.controls();
        EXPECT_EQ(ui.Combo6->currentText(), "DejaVu Sans");
        EXPECT_EQ(ui.Text18->text(), "g=q180 Z=N90");
        EXPECT_EQ(ui.Picture5->color(), 0xFFFFFF);
        EXPECT_EQ(ui.Picture6->color(), 0x102030);
        EXPECT_TRUE(ui.Check8->isChecked());
        EXPECT_EQ(ui.Text20->text(), "40");
        Type(ui.Text18, "g=q180");
        Type(ui.Text19, "500");  // kept to the largest square a font style draws
        EXPECT_EQ(ui.Text19->text(), "300");
        EXPECT_EQ(ui.Text20->text(), "40");
        ui.Command1->click();
    });
    EXPECT_EQ(m_program.style.PIECESGLYPHS, "g=q180");
    EXPECT_EQ(m_program.style.SQRHEIGHT, 300 * 15);
    EXPECT_EQ(m_program.style.SQRWIDTH, 600);
}

}  // namespace
