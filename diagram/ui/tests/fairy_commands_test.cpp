// Paste Special and the Copy commands of the fairy notations.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "diagram/ui/fairy_commands.h"
#include "diagram/ui/style_list.h"
#include "diagram/ui/tests/window_fixture.h"

namespace diagram::ui::testing {
namespace {

class FairyTest : public WindowTest {
  protected:
    void Begin(const QByteArray& ini = {}) {
        if (!ini.isEmpty()) {
            WriteFile("Pandrel.ini", ini);
        }
        Create();
        commands = new FairyCommands(window->host());
        Start();
    }
    // Ctrl+Shift+V, then the window it opens.
    PasteSpecialDialog* OpenPasteSpecial(const QString& clipboard) {
        fakes.clipboard.SetText(clipboard);
        QTest::keyClick(Text1(), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        PasteSpecialDialog* dialog = nullptr;
        [&] {
            QTRY_VERIFY_WITH_TIMEOUT(
                (dialog = window->findChild<PasteSpecialDialog*>("PasteSpecial")) != nullptr &&
                    dialog->isVisible(),
                5000);
        }();
        return dialog;
    }
    QString Result(PasteSpecialDialog* dialog) const {
        return dialog->findChild<QLabel*>("LblResult")->text();
    }
    QPushButton* Ok(PasteSpecialDialog* dialog) const { return dialog->findChild<QPushButton*>("CmdOK"); }
    void Copy(const char* name) { window->findChild<QAction*>(name)->trigger(); }

    FairyCommands* commands = nullptr;
};

TEST_F(FairyTest, PasteSpecialGuessesAndPutsEveryManOnTheBoard) {
    Begin();
    const settings::Style before = program.style;
    Text1()->setText("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
    PasteSpecialDialog* dialog = OpenPasteSpecial("-*2q*1Q-c1/Kx1k/4/4");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Result(dialog),
              QString::fromUtf8("Guessed: Fairy FEN, a board of 4 \u00d7 4, shown in the style \"CUSTOM\""));
    QTest::mouseClick(Ok(dialog), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(Text1()->text(), QString("aAc1/Kd1k/4/4"), 5000);
    EXPECT_EQ(program.style.CurrentStyle, "CUSTOM");
    EXPECT_EQ(window->Combo1()->currentText(), "CUSTOM");
    EXPECT_EQ(program.style.BORDERHEIGHT, 4);
    EXPECT_EQ(program.style.BORDERWIDTH, 4);
    EXPECT_EQ(program.style.PIECESGLYPHS, "a=q180~ A=Q90 c=circle~ d=cross");
    EXPECT_EQ(program.vet(position::kPosition, 0), 13);  // the new letter "a"
    EXPECT_EQ(program.vet(position::kPosition, 4), 12);  // the king, a letter of before
    EXPECT_EQ(before.PIECESLIST, std::string(position::kDefaultPiecesList));
    EXPECT_TRUE(fakes.messages.shown.empty());

    // What came in goes out again.
    Copy("MNCopyFfen");
    EXPECT_EQ(fakes.clipboard.text, "-*2q*1Q-c1/Kx1k/4/4");
    Copy("MNCopyPopeye");
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0].text, "Popeye forsyth has no way to write the circle on c4");
    EXPECT_EQ(fakes.clipboard.text, "-*2q*1Q-c1/Kx1k/4/4");
}

TEST_F(FairyTest, PasteSpecialInAChosenNotationLeavesABadTextUnread) {
    Begin();
    Text1()->setText("k7/8/8/8/8/8/8/7K");
    PasteSpecialDialog* dialog = OpenPasteSpecial("(!b2)7/(Q1)7/8/8/8/8/8/S7");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(Result(dialog).startsWith("Guessed: YACPDB")) << Result(dialog).toStdString();
    auto* notation = dialog->findChild<QComboBox*>("CmbNotation");
    notation->setFocus();
    QTest::keyClick(notation, Qt::Key_Down);  // Fairy FEN
    QTRY_COMPARE_WITH_TIMEOUT(notation->currentText(), QString("Fairy FEN"), 5000);
    EXPECT_EQ(Result(dialog), "Cannot read it as Fairy FEN: unknown sign '(' at character 1");
    EXPECT_FALSE(Ok(dialog)->isEnabled());
    QTest::keyClick(notation, Qt::Key_Down);  // YACPDB
    QTRY_VERIFY_WITH_TIMEOUT(Ok(dialog)->isEnabled(), 5000);
    EXPECT_EQ(Result(dialog),
              QString::fromUtf8("YACPDB, a board of 8 \u00d7 8, shown in the style \"CUSTOM\""));
    QTest::mouseClick(Ok(dialog), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(Text1()->text(), QString("a7/A7/8/8/8/8/8/N7"), 5000);

    // A text no notation reads: nothing changes.
    const std::string style = program.style.PIECESLIST;
    dialog = OpenPasteSpecial("8/8/8/9/8/8/8/8");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Result(dialog), "Cannot read it as Fairy FEN: rank 5 has 9 squares, the others 8");
    EXPECT_FALSE(Ok(dialog)->isEnabled());
    QTest::mouseClick(dialog->findChild<QPushButton*>("CmdCancel"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), 5000);
    EXPECT_EQ(Text1()->text(), "a7/A7/8/8/8/8/8/N7");
    EXPECT_EQ(program.style.PIECESLIST, style);
}

TEST_F(FairyTest, CopyWritesEachNotation) {
    Begin();
    Text1()->setText("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
    const struct {
        const char* action;
        QString text;
    } cases[] = {
        {"MNCopyFfen", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR"},
        {"MNCopyYacpdb", "rsbqkbsr/pppppppp/8/8/8/8/PPPPPPPP/RSBQKBSR"},
        {"MNCopyPopeye", "rsbqkbsr/pppppppp/8/8/8/8/PPPPPPPP/RSBQKBSR"},
    };
    for (const auto& c : cases) {
        Copy(c.action);
        EXPECT_EQ(fakes.clipboard.text, c.text) << c.action;
    }
    EXPECT_TRUE(fakes.messages.shown.empty());
}

}  // namespace
}  // namespace diagram::ui::testing
