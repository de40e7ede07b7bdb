#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "book_fixture.h"
#include "books/ui/book_export_commands.h"
#include "diagram/ui/win_seek.h"

namespace {

using namespace books::ui::testing;
using books::render::ExportStatus;

// A FEN book of n games: a tag line before each position.
QByteArray FenBook(int n) {
    QByteArray text;
    for (int i = 1; i <= n; ++i) {
        text += "[White \"Player " + QByteArray::number(i) + "\"]\nK7/8/8/8/8/8/8/" +
                QByteArray::number(1 + i % 7) + "k w\n";
    }
    return text;
}

class BookExportWindowTest : public BookWindowTest {
  protected:
    books::ui::BookExportCommands* Export() const {
        return window->findChild<books::ui::BookExportCommands*>();
    }
    QStringList Files(const QString& folder) const {
        return QDir(InDir(folder)).entryList(QDir::Files, QDir::Name);
    }
    // Confirms the file selection window, when it comes up, with name.
    void AnswerSeek(const QString& name, const QString& filter = {}) {
        diagram::ui::WinSeek& seek = diagram::ui::WinSeek::Of(window->host());
        ASSERT_TRUE(seek.setFolder(dir.path()));
        QTimer::singleShot(0, &seek, [&seek, name, filter] {
            if (!filter.isEmpty()) {
                seek.txtSearchSpec()->setEditText(filter);
            }
            seek.Text2()->setText(name);
            seek.OkCmd()->click();
        });
    }
    // Answers the export window, when it comes up, by clicking the positions
    // (when given) and Folder..., then the file selection window with name.
    void AnswerExport(const char* positions, const QString& name, const QString& filter = {}) {
        QTimer::singleShot(0, window.get(), [this, positions, name, filter] {
            auto* dialog = window->findChild<QDialog*>(QStringLiteral("BookExport"));
            ASSERT_NE(dialog, nullptr);
            if (positions != nullptr) {
                auto* choice = dialog->findChild<QRadioButton*>(QString::fromLatin1(positions));
                ASSERT_NE(choice, nullptr);
                QTest::mouseClick(choice, Qt::LeftButton, {}, QPoint(8, choice->height() / 2));
            }
            AnswerSeek(name, filter);
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("FolderCmd")), Qt::LeftButton);
        });
    }
    // Which choice the export window shows when it comes up; the window is
    // cancelled.
    QString OfferedPositions() {
        QString checked;
        QTimer::singleShot(0, window.get(), [this, &checked] {
            auto* dialog = window->findChild<QDialog*>(QStringLiteral("BookExport"));
            ASSERT_NE(dialog, nullptr);
            for (QRadioButton* button : dialog->findChildren<QRadioButton*>()) {
                if (button->isChecked()) {
                    checked = button->objectName();
                }
            }
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("CancelCmd")), Qt::LeftButton);
        });
        Export()->exportAction()->trigger();
        return checked;
    }
};

TEST_F(BookExportWindowTest, ItemsFollowTheOpenBook) {
    WriteFile("five.fen", FenBook(5));
    Start();
    ASSERT_NE(Export(), nullptr);
    // In the File menu, after Close Book.
    const QList<QAction*> items = window->menu(QStringLiteral("MNFile"))->actions();
    const qsizetype close = items.indexOf(Action("MNClose"));
    ASSERT_GE(close, 0);
    EXPECT_EQ(items.value(close + 1), Export()->exportAction());
    EXPECT_EQ(items.value(close + 2), Export()->sheetAction());
    for (const bool open : {false, true, false}) {
        if (open) {
            Open(QStringLiteral("five.fen"));
        } else if (program.book.IsOpen()) {
            Action("MNClose")->trigger();
        }
        EXPECT_EQ(Export()->exportAction()->isEnabled(), open);
        EXPECT_EQ(Export()->sheetAction()->isEnabled(), open);
    }
}

TEST_F(BookExportWindowTest, ExportWritesTheFilesAndLeavesTheGameShown) {
    WriteFile("five.fen", FenBook(5));
    Start();
    Open(QStringLiteral("five.fen"));
    ShowGame(3);
    const QString fen = Fen();
    const int64_t record = program.book.CurRecNo;

    AnswerExport(nullptr, QStringLiteral("out"), QStringLiteral("*.bmp"));
    Export()->exportAction()->trigger();
    EXPECT_EQ(Files(QStringLiteral("out")),
              (QStringList{"1.bmp", "2.bmp", "3.bmp", "4.bmp", "5.bmp", "index.csv"}));
    EXPECT_EQ(Caption(), "5 of 5 diagrams");
    EXPECT_EQ(Fen(), fen);
    EXPECT_EQ(program.book.CurRecNo, record);
    EXPECT_TRUE(fakes.messages.shown.empty());
    EXPECT_TRUE(Export()->exportAction()->isEnabled());

    // Into a folder that cannot be made: the Warning says why.
    WriteFile("blocked", "a file");
    EXPECT_EQ(Export()->ExportTo(InDir("blocked").toStdString(), books::render::ImageFormat::kPng).status,
              ExportStatus::kFailed);
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_TRUE(fakes.messages.shown[0].text.contains(QStringLiteral("blocked")));
}

TEST_F(BookExportWindowTest, EveryFormatOfTheFileSelection) {
    WriteFile("two.fen", FenBook(2));
    Start();
    Open(QStringLiteral("two.fen"));
    struct Case {
        const char* filter;
        const char* magic;
    };
    for (const Case& c : {Case{"*.svg", "<?xml"}, Case{"*.pdf", "%PDF"}, Case{"*.png", "\x89PNG"}}) {
        const QString ending = QString::fromLatin1(c.filter).mid(1);
        const QString folder = QStringLiteral("out") + ending.mid(1);
        AnswerExport(nullptr, folder, QString::fromLatin1(c.filter));
        Export()->exportAction()->trigger();
        EXPECT_EQ(Files(folder), (QStringList{"1" + ending, "2" + ending, "index.csv"})) << c.filter;
        EXPECT_TRUE(ReadFile(folder + "/2" + ending).startsWith(c.magic)) << c.filter;
    }
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(BookExportWindowTest, ChoiceOfPositionsIsRememberedAndNamesTheFiles) {
    // Three games from the ordinary start: their first positions are all
    // alike, their last ones are not.
    WriteFile("three.pgn",
              "[Event \"one\"]\n\n1. e4 e5 *\n\n[Event \"two\"]\n\n1. d4 *\n\n"
              "[Event \"three\"]\n\n1. c4 c5 2. Nc3 *\n");
    Start();
    Open(QStringLiteral("three.pgn"));
    EXPECT_EQ(OfferedPositions(), QStringLiteral("FirstPosition"));

    AnswerExport("LastPosition", QStringLiteral("last"), QStringLiteral("*.svg"));
    Export()->exportAction()->trigger();
    EXPECT_EQ(Files(QStringLiteral("last")), (QStringList{"1.svg", "2.svg", "3.svg", "index.csv"}));
    const QByteArray one = ReadFile(QStringLiteral("last/1.svg"));
    const QByteArray two = ReadFile(QStringLiteral("last/2.svg"));
    const QByteArray three = ReadFile(QStringLiteral("last/3.svg"));
    EXPECT_FALSE(one.isEmpty());
    EXPECT_NE(one, two);
    EXPECT_NE(two, three);
    EXPECT_NE(one, three);
    EXPECT_EQ(program.settings.ExportPositions, "last");

    // Offered again next time, and after a style read took the settings
    // back to the file's value; written to the settings file at the end.
    EXPECT_EQ(OfferedPositions(), QStringLiteral("LastPosition"));
    program.settings.ExportPositions.clear();
    EXPECT_EQ(OfferedPositions(), QStringLiteral("LastPosition"));

    // Every position: game and position numbers, each padded to the widest.
    AnswerExport("AllPositions", QStringLiteral("all"), QStringLiteral("*.svg"));
    Export()->exportAction()->trigger();
    EXPECT_EQ(Files(QStringLiteral("all")),
              (QStringList{"1-1.svg", "1-2.svg", "1-3.svg", "2-1.svg", "2-2.svg", "3-1.svg", "3-2.svg",
                           "3-3.svg", "3-4.svg", "index.csv"}));
    EXPECT_EQ(ReadFile(QStringLiteral("all/3-4.svg")), three);
    EXPECT_EQ(ReadFile(QStringLiteral("all/1-1.svg")), ReadFile(QStringLiteral("all/2-1.svg")));

    window->close();
    EXPECT_TRUE(ReadFile(QStringLiteral("Pandrel.ini")).contains("ExportPositions = all"));
}

TEST_F(BookExportWindowTest, ProgressInTheBookLabelAndEscapeStops) {
    WriteFile("many.fen", FenBook(400));
    Start();
    Open(QStringLiteral("many.fen"));
    QStringList seen;
    // Runs from inside the export, when it first lets events through.
    QTimer::singleShot(0, window.get(), [&] {
        seen << Caption();
        QTest::keyClick(window.get(), Qt::Key_Escape);
    });
    const books::render::ExportResult result =
        Export()->ExportTo(InDir(QStringLiteral("out")).toStdString(), books::render::ImageFormat::kPng);
    EXPECT_EQ(result.status, ExportStatus::kStopped);
    EXPECT_GE(result.diagrams, 1);
    EXPECT_LT(result.diagrams, 400);
    ASSERT_EQ(seen.size(), 1);
    EXPECT_TRUE(seen[0].endsWith(QStringLiteral(" of 400 diagrams"))) << seen[0].toStdString();
    // What was written is whole and listed.
    EXPECT_EQ(Files(QStringLiteral("out")).size(), result.diagrams + 1);
    const QList<QByteArray> lines = ReadFile(QStringLiteral("out/index.csv")).split('\n');
    EXPECT_EQ(lines.size(), result.diagrams + 2);  // header, lines, the empty rest
    EXPECT_EQ(Caption(), QStringLiteral("%1 of 400 diagrams").arg(result.diagrams));
    EXPECT_FALSE(Export()->Running());
}

TEST_F(BookExportWindowTest, SheetThroughItsWindowAndTheFileSelection) {
    WriteFile("thirteen.fen", FenBook(13));
    Start();
    Open(QStringLiteral("thirteen.fen"));
    QTimer::singleShot(0, window.get(), [this] {
        auto* sheet = window->findChild<QDialog*>(QStringLiteral("BookSheet"));
        ASSERT_NE(sheet, nullptr);
        sheet->findChild<QComboBox*>(QStringLiteral("PerPage"))->setCurrentText(QStringLiteral("12"));
        AnswerSeek(QStringLiteral("sheet"));
        sheet->findChild<QPushButton*>(QStringLiteral("PdfCmd"))->click();
    });
    Export()->sheetAction()->trigger();
    ASSERT_TRUE(Exists(QStringLiteral("sheet.pdf")));
    EXPECT_TRUE(ReadFile(QStringLiteral("sheet.pdf")).startsWith("%PDF"));
    const QString text = InDir(QStringLiteral("sheet.txt"));
    ASSERT_EQ(std::system(("pdftotext " + InDir(QStringLiteral("sheet.pdf")) + " " + text).toLocal8Bit()), 0);
    const QString shown = QString::fromUtf8(ReadFile(QStringLiteral("sheet.txt")));
    EXPECT_EQ(shown.count(QLatin1Char('\f')), 2);
    EXPECT_TRUE(shown.contains(QStringLiteral("13. Player 13"))) << shown.toStdString();
    EXPECT_EQ(Caption(), "13 of 13 diagrams");
}

TEST_F(BookExportWindowTest, SheetWithTheProblemsCaptionsAndSolutions) {
    WriteFile("p.pgn",
              "[Event \"#1\"]\n[White \"A. Bor\"]\n[Site \"Problem Review\"]\n[Solution \"1.Qa8#\"]\n"
              "[Count \"(2+2)\"]\n[FEN \"6k1/8/6K1/8/8/8/8/Q7 w - - 0 1\"]\n\n*\n");
    Start();
    Open(QStringLiteral("p.pgn"));
    QTimer::singleShot(0, window.get(), [this] {
        auto* sheet = window->findChild<QDialog*>(QStringLiteral("BookSheet"));
        ASSERT_NE(sheet, nullptr);
        QTest::mouseClick(sheet->findChild<QCheckBox*>(QStringLiteral("Captions")), Qt::LeftButton);
        QTest::mouseClick(sheet->findChild<QCheckBox*>(QStringLiteral("Answers")), Qt::LeftButton);
        AnswerSeek(QStringLiteral("sheet"));
        sheet->findChild<QPushButton*>(QStringLiteral("PdfCmd"))->click();
    });
    Export()->sheetAction()->trigger();
    ASSERT_TRUE(Exists(QStringLiteral("sheet.pdf")));
    const QString text = InDir(QStringLiteral("sheet.txt"));
    ASSERT_EQ(std::system(("pdftotext " + InDir(QStringLiteral("sheet.pdf")) + " " + text).toLocal8Bit()), 0);
    const QString shown = QString::fromUtf8(ReadFile(QStringLiteral("sheet.txt")));
    EXPECT_TRUE(shown.contains(QStringLiteral("Problem Review"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("(2+1)"))) << shown.toStdString();
    // The count the game names is not the board's: said once the sheet is
    // written.
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0].text, "game 1: The count (2+2) does not match the board (2+1)");
    // The solution on a page of its own.
    EXPECT_EQ(shown.count(QLatin1Char('\f')), 2);
    EXPECT_TRUE(shown.section(QLatin1Char('\f'), 1).contains(QStringLiteral("1. 1.Qa8#")))
        << shown.toStdString();
}

}  // namespace
