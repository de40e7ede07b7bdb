// A font style in the style window as a keyboard user meets it: the name box
// has the focus, Tab goes through the fields in reading order, the paired
// fields say which is which, the picture follows the board unless locked,
// the window fits a small screen and a deleted style leaves nothing behind.

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>

#include "diagram/render/renderer.h"
#include "diagram/ui/style/tests/style_window_fixture.h"

using style_test::StyleWindow;

namespace {

// The shipped "Classic" as the settings file holds it, beside a bitmap style.
constexpr const char* kFontIni =
    "RecentStyle = Classic\r\n"
    "\r\n"
    "BeginStyle = Beta\r\n"
    "  PiecesFile = beta.bmp\r\n"
    "  SqrWidth = 15 \r\n"
    "  SqrHeight = 15 \r\n"
    "EndStyle\r\n"
    "\r\n"
    "BeginStyle = Classic\r\n"
    "  PiecesFont = DejaVu Sans\r\n"
    "  SqrWidth = 36\r\n"
    "  SqrHeight = 36\r\n"
    "  XBase = 22\r\n"
    "  YBase = 14\r\n"
    "  BackColor = &HFFFFFF\r\n"
    "  ShowGrid = Yes\r\n"
    "    FontName = DejaVu Sans\r\n"
    "    FontSize = 9\r\n"
    "    FontPos = CENTER MIDDLE\r\n"
    "    FontXBase = 7\r\n"
    "    FontYBase = 303\r\n"
    "EndStyle\r\n"
    "\r\n"
    "BeginStyle = Gamma\r\n"
    "  PiecesFile = beta.bmp\r\n"
    "  SqrWidth = 15 \r\n"
    "  SqrHeight = 15 \r\n"
    "EndStyle\r\n";

class FontStyleWindowTest : public style_test::StyleWindowTest {
  protected:
    QByteArray IniText() const override { return kFontIni; }

    // Ctrl+E on the main window, as the user opens the window.
    void OpenByKey(const std::function<void(StyleWindow&)>& inside) {
        QTimer::singleShot(0, m_main.get(), [this, inside] {
            StyleWindow& w = StyleWindow::Of(m_main->host());
            inside(w);
            if (w.isVisible()) {
                ADD_FAILURE() << "the style window was left open";
                w.reject();
            }
        });
        QTest::keyClick(m_main->Text1(), Qt::Key_E, Qt::ControlModifier);
    }
    // The field the keyboard is in, by its name in the window ("Option1"
    // for any of its buttons).
    static QString Focused(const StyleWindow& w) {
        for (QWidget* at = QApplication::focusWidget(); at != nullptr && at != &w; at = at->parentWidget()) {
            const QString name = at->objectName();
            if (name.startsWith(QLatin1String("Option"))) {
                return name.left(7);
            }
            if (settings::FindStyleField(name.toStdString()) != nullptr ||
                name.startsWith(QLatin1String("Command"))) {
                return name;
            }
        }
        const QWidget* focus = QApplication::focusWidget();
        return focus == nullptr ? QStringLiteral("(none)")
                                : QString::fromLatin1(focus->metaObject()->className()) + QLatin1Char('/') +
                                      focus->objectName();
    }
};

// Ctrl+E, then typing: the name goes into "Style: ". Tab then walks the
// fields line by line, left to right, and on to the buttons.
TEST_F(FontStyleWindowTest, KeyboardStartsInTheNameAndTabsInReadingOrder) {
    OpenByKey([this](StyleWindow& w) {
        QTRY_COMPARE(Focused(w), QStringLiteral("Combo5"));
        QTest::keyClicks(QApplication::focusWidget(), "My Classic");
        EXPECT_EQ(w.controls().Combo5->currentText(), "My Classic");

        QStringList walked{Focused(w)};
        for (int i = 0; i < 60 && (walked.size() < 2 || walked.back() != "Combo5"); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (Focused(w) != walked.back()) {
                walked << Focused(w);
            }
        }
        const QStringList reading{
            "Combo5",   "Text11",  "Combo6",   "Text20",   "Text19",   "Picture5", "Picture6", "Check8",
            "Text18",   "Text8",   "Text12",   "Text15",   "Text4",    "Text17",   "Text14",   "Text13",
            "Text16",   "Text3",   "Text2",    "Text1",    "Text6",    "Text5",    "Text7",    "Picture1",
            "Picture2", "Text10",  "Text9",    "Command5", "Check1",   "Check2",   "Combo2",   "Combo1",
            "Picture4", "Combo4",  "Combo3",   "Check3",   "Check4",   "Check5",   "Check6",   "Check7",
            "Option1",  "Option2", "Command1", "Command2", "Command3", "Combo5"};
        EXPECT_EQ(walked, reading) << walked.join(QLatin1Char(' ')).toStdString();
        w.controls().Command3->click();
    });
}

// The paired fields: width before height and x before y, each marked, so
// 48 typed into the first "Square size: " box makes the squares 48 wide.
TEST_F(FontStyleWindowTest, PairedFieldsSayWhichIsWhich) {
    OpenByKey([this](StyleWindow& w) {
        const auto& ui = w.controls();
        struct Pair {
            QWidget* first;
            QWidget* second;
            const char* firstTag;
            const char* secondTag;
            QString firstText;
            QString secondText;
        };
        const Pair pairs[] = {
            {ui.Text20, ui.Text19, "w", "h", "36", "36"}, {ui.Text2, ui.Text1, "cols", "rows", "8", "8"},
            {ui.Text6, ui.Text5, "x", "y", "22", "14"},   {ui.Text10, ui.Text9, "w", "h", "336", "320"},
            {ui.Combo4, ui.Combo3, "x", "y", "7", "303"}, {ui.Text16, ui.Text3, "x", "y", "0", "0"},
        };
        for (const Pair& p : pairs) {
            const QString name = p.first->objectName();
            const auto* firstTag = w.findChild<QLabel*>(name + "Tag");
            const auto* secondTag = w.findChild<QLabel*>(p.second->objectName() + "Tag");
            ASSERT_NE(firstTag, nullptr) << name.toStdString();
            ASSERT_NE(secondTag, nullptr) << name.toStdString();
            EXPECT_EQ(firstTag->text(), p.firstTag) << name.toStdString();
            EXPECT_EQ(secondTag->text(), p.secondTag) << name.toStdString();
            // On one line, in the order the tags say.
            EXPECT_LT(firstTag->mapTo(&w, QPoint()).x(), p.first->mapTo(&w, QPoint()).x());
            EXPECT_LT(p.first->mapTo(&w, QPoint()).x(), secondTag->mapTo(&w, QPoint()).x());
            EXPECT_LT(secondTag->mapTo(&w, QPoint()).x(), p.second->mapTo(&w, QPoint()).x());
            EXPECT_FALSE(p.first->toolTip().isEmpty()) << name.toStdString();
            const auto text = [](QWidget* field) {
                auto* combo = qobject_cast<QComboBox*>(field);
                return combo != nullptr ? combo->currentText() : qobject_cast<QLineEdit*>(field)->text();
            };
            EXPECT_EQ(text(p.first), p.firstText) << name.toStdString();
            EXPECT_EQ(text(p.second), p.secondText) << name.toStdString();
        }
        Type(ui.Text20, "48");
        EXPECT_EQ(m_program.style.SQRWIDTH, 48 * 15);
        EXPECT_EQ(m_program.style.SQRHEIGHT, 36 * 15);
        ui.Command3->click();
    });
}

// Square size 48 x 48 and PreView: the picture grows to the board, the file
// letters stay below it, and the saved style keeps them; locked, the
// picture keeps its size.
TEST_F(FontStyleWindowTest, PictureFollowsTheBoardUnlessLocked) {
    OpenByKey([this](StyleWindow& w) {
        const auto& ui = w.controls();
        EXPECT_TRUE(ui.Command5->isEnabled()) << "a font style's picture follows its board";
        EXPECT_FALSE(ui.Image9->toolTip().isEmpty());
        EXPECT_FALSE(ui.Command5->toolTip().isEmpty());
        Type(ui.Text20, "48", false);
        Type(ui.Text19, "48", false);
        Click(ui.Command2);  // PreView
        EXPECT_EQ(m_main->PicMain()->size(), QSize(8 * 48 + 2 * 22 + 4, 8 * 48 + 2 * 14 + 4));
        EXPECT_EQ(ui.Text10->text(), "432");
        EXPECT_EQ(ui.Combo3->currentText(), "399");  // just below the board, as before
        EXPECT_EQ(ui.Combo4->currentText(), "7");

        Type(ui.Combo5, "Big Classic", false);
        w.action("MNF10save")->trigger();
        EXPECT_EQ(w.status(), "Big Classic saved!");

        // Locked: the picture keeps the size it has.
        const QString tipBefore = ui.Image9->toolTip();
        Click(ui.Image9);
        EXPECT_FALSE(ui.Command5->isEnabled());
        EXPECT_NE(ui.Image9->toolTip(), tipBefore);
        const QSize kept = m_main->PicMain()->size();
        Type(ui.Text20, "60", false);
        Type(ui.Text19, "60", false);
        Click(ui.Command2);
        EXPECT_EQ(m_main->PicMain()->size(), kept);
        EXPECT_EQ(ui.Combo3->currentText(), "399");
        ui.Command3->click();
    });
    const QByteArray ini = Ini();
    const qsizetype at = ini.indexOf("BeginStyle = Big Classic");
    ASSERT_GE(at, 0) << ini.toStdString();
    const QByteArray block = ini.mid(at, ini.indexOf("EndStyle", at) - at);
    EXPECT_TRUE(block.contains("SqrWidth = 48 ")) << block.toStdString();
    EXPECT_TRUE(block.contains("FontYBase = 399 ")) << block.toStdString();
    EXPECT_FALSE(block.contains("WndWidth")) << "the saved picture follows its squares";
    EXPECT_FALSE(block.contains("WndHeight"));
}

// Larger lettering: the picture grows to hold the file letters below the board.
TEST_F(FontStyleWindowTest, PictureHoldsLargerLettering) {
    OpenByKey([this](StyleWindow& w) {
        const auto& ui = w.controls();
        Type(ui.Combo1, "24");
        const QFontMetricsF metrics(diagram::Renderer::LetteringQFont(m_program.style));
        EXPECT_GE(m_main->PicMain()->height(), 303 + metrics.height());
        EXPECT_EQ(m_main->PicMain()->height(), ui.Text9->text().toInt());
        ui.Command3->click();
    });
}

// A bitmap style opens with its picture size kept, as it always has.
TEST_F(FontStyleWindowTest, BitmapStyleOpensWithThePictureKept) {
    m_main->ChooseStyle("Beta");
    OpenByKey([this](StyleWindow& w) {
        const auto& ui = w.controls();
        EXPECT_FALSE(ui.Command5->isEnabled());
        const QSize before = m_main->PicMain()->size();
        Type(ui.Text2, "10");
        EXPECT_EQ(m_main->PicMain()->size(), before);
        ui.Command3->click();
    });
}

// On a screen too small for all the fields they scroll; the window stays on
// the screen and Ok, PreView and Cancel stay in reach.
TEST_F(FontStyleWindowTest, FitsTheScreenWithItsButtonsInReach) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    OpenByKey([this, screen](StyleWindow& w) {
        const auto& ui = w.controls();
        EXPECT_TRUE(screen.contains(w.frameGeometry()))
            << "window " << w.frameGeometry().width() << "x" << w.frameGeometry().height() << " on "
            << screen.width() << "x" << screen.height();
        for (QPushButton* button : {ui.Command1, ui.Command2, ui.Command3}) {
            const QRect at(button->mapToGlobal(QPoint()), button->size());
            EXPECT_TRUE(screen.contains(at)) << button->objectName().toStdString();
            EXPECT_TRUE(w.rect().contains(QRect(button->mapTo(&w, QPoint()), button->size())))
                << button->objectName().toStdString();
            EXPECT_GE(button->height(), button->minimumSizeHint().height());
        }
        // The last field comes into sight when the keyboard reaches it.
        ui.Combo3->setFocus(Qt::TabFocusReason);
        QTest::keyClick(ui.Combo3, Qt::Key_Tab);
        QApplication::processEvents();
        const QRect seen = ui.fieldsArea->viewport()->rect();
        const QRect check(ui.Check3->mapTo(ui.fieldsArea->viewport(), QPoint()), ui.Check3->size());
        EXPECT_TRUE(seen.contains(check));
        Click(ui.Command1);  // Ok
        EXPECT_FALSE(w.isVisible());
    });
}

// File > Delete style > Yes on the style in force: the lists, the board, what
// Cancel gives back and the settings file all turn to one style that exists.
TEST_F(FontStyleWindowTest, DeletingTheStyleInForceLeavesOneThatExists) {
    OpenByKey([this](StyleWindow& w) {
        m_fakes.messages.answer = platform::Answer::kYes;
        w.action("MNF10del")->trigger();
        EXPECT_EQ(w.controls().Combo5->currentText(), "Gamma");
        EXPECT_EQ(m_program.style.CurrentStyle, "Gamma");
        Click(w.controls().Command3);  // Cancel
    });
    EXPECT_EQ(m_main->Combo1()->currentText(), "Gamma");
    EXPECT_EQ(MainList(), (QStringList{"CUSTOM", "Beta", "Gamma"}));
    EXPECT_EQ(m_program.style.CurrentStyle, "Gamma");
    EXPECT_FALSE(m_program.style.IsFontStyle());
    EXPECT_EQ(m_main->PicMain()->size(), QSize(8 * 15 + 4, 8 * 15 + 4));
    const QByteArray ini = Ini();
    EXPECT_FALSE(ini.contains("Classic")) << ini.toStdString();
    EXPECT_TRUE(ini.contains("RecentStyle = Gamma")) << ini.toStdString();
    EXPECT_TRUE(ini.contains("BeginStyle = Gamma"));
}

}  // namespace
