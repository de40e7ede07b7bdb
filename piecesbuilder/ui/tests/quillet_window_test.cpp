#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <functional>

#include "ui/message_sink.h"
#include "ui/picture_box.h"
#include "ui/quillet_window.h"

namespace piecesbuilder {
namespace {

// Records the message boxes and answers the input box from a queue, so nothing blocks.
class RecordingSink : public MessageSink {
  public:
    struct Message {
        QString title;
        QString text;
    };
    void Error(QWidget*, const QString& title, const QString& text) override {
        errors.push_back({title, text});
    }
    void Inform(QWidget*, const QString& title, const QString& text) override {
        infos.push_back({title, text});
    }
    std::optional<QString> Ask(QWidget*, const QString& prompt, const QString& title,
                               const QString& defaultAnswer) override {
        questions.push_back({title, prompt + "|" + defaultAnswer});
        if (answers.empty()) {
            return std::nullopt;
        }
        std::optional<QString> answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::optional<QString> SaveFileName(QWidget*, const QString& title, const QString& suggested,
                                        const QString& filter) override {
        questions.push_back({title, suggested + "|" + filter});
        return saveAs;
    }

    std::vector<Message> errors;
    std::vector<Message> infos;
    std::vector<Message> questions;
    std::deque<std::optional<QString>> answers;
    std::optional<QString> saveAs;
};

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);

// A picture of one colour with a marked top-left pixel, so placement is visible.
QImage Swatch(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    image.setPixel(0, 0, qRgb(1, 2, 3));
    return image;
}

class QuilletWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<QuilletWindow>(sink);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        picture = window->findChild<PictureBox*>("Picture1");
        status = window->findChild<QLabel*>("Label1");
        ASSERT_NE(picture, nullptr);
        ASSERT_NE(status, nullptr);
    }

    void Key(char key) { QTest::keyClick(picture, key); }
    void Key(Qt::Key key) { QTest::keyClick(picture, key); }

    // Clicks the picture at a pixel with the image on the clipboard.
    void PasteAt(const QImage& image, int x, int y) {
        QGuiApplication::clipboard()->setImage(image);
        QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(x, y));
    }

    QRgb Pixel(int x, int y) const { return picture->Image().pixel(x, y); }

    RecordingSink sink;
    std::unique_ptr<QuilletWindow> window;
    PictureBox* picture = nullptr;
    QLabel* status = nullptr;
};

TEST_F(QuilletWindowTest, StartsWithThirteenColumnsOfTwentyFivePixels) {
    EXPECT_EQ(window->windowTitle(), "Quillet");
    EXPECT_EQ(status->text(), "Area (in squares): 2 x 13      Square (in pixels): 25 x 25");
    EXPECT_EQ(picture->Image().size(), QSize(13 * 25 + 4, 50 + 4));
    EXPECT_EQ(window->State().fReset, 1);
    // Frame on the edge pixels of the squares, white inside.
    EXPECT_EQ(Pixel(0, 10), kRed);
    EXPECT_EQ(Pixel(24, 10), kRed);
    EXPECT_EQ(Pixel(25, 10), kRed);
    EXPECT_EQ(Pixel(30, 49), kRed);
    EXPECT_EQ(Pixel(12, 20), kWhite);
    EXPECT_EQ(window->findChild<QAction*>("MNoffset")->text(), "S&quare Offset: 0");
}

TEST_F(QuilletWindowTest, FirstPasteSetsTheSizeAndAWrongSizeIsRefused) {
    PasteAt(Swatch(30, 30, Qt::blue), 3 * 25 + 5, 25 + 5);  // square (1, 3) of the 25-pixel grid
    EXPECT_EQ(status->text(), "Area (in squares): 2 x 13      Square (in pixels): 30 x 30");
    EXPECT_EQ(window->State().fReset, 0);
    EXPECT_EQ(picture->Image().size(), QSize(13 * 30 + 4, 60 + 4));
    EXPECT_EQ(Pixel(90, 30), qRgb(1, 2, 3));
    EXPECT_EQ(Pixel(119, 59), QColor(Qt::blue).rgb());
    EXPECT_EQ(Pixel(120, 59), kRed);  // next square's frame untouched
    EXPECT_TRUE(sink.errors.empty());

    const QImage before = picture->Image();
    PasteAt(Swatch(31, 30, Qt::green), 5, 5);
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(sink.errors[0].title, "Warning");
    EXPECT_EQ(sink.errors[0].text, "Clipboard area and square size are not the same!");
    EXPECT_EQ(picture->Image(), before);

    PasteAt(Swatch(30, 30, Qt::green), 5, 5);
    EXPECT_EQ(Pixel(29, 29), QColor(Qt::green).rgb());
    EXPECT_EQ(sink.errors.size(), 1u);
}

TEST_F(QuilletWindowTest, NothingOnTheClipboardOrAClickOffTheSetDoesNothing) {
    QGuiApplication::clipboard()->clear();
    const QImage before = picture->Image();
    QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(5, 5));
    PasteAt(Swatch(30, 30, Qt::blue), 13 * 25 + 2, 5);  // right margin
    EXPECT_EQ(picture->Image(), before);
    EXPECT_EQ(window->State().fReset, 1);
    EXPECT_TRUE(sink.errors.empty());
}

TEST_F(QuilletWindowTest, ZoomGoesToTheNextWholePixel) {
    PasteAt(Swatch(30, 30, Qt::blue), 5, 5);
    Key('+');
    EXPECT_EQ(status->text(), "Area (in squares): 2 x 13      Square (in pixels): 34 x 34");
    EXPECT_EQ(picture->Image().size(), QSize(13 * 34 + 4, 68 + 4));
    EXPECT_EQ(Pixel(20, 20), QColor(Qt::blue).rgb());  // content stretched along
    Key('-');
    EXPECT_EQ(status->text(), "Area (in squares): 2 x 13      Square (in pixels): 31 x 31");

    Key('n');
    PasteAt(Swatch(10, 10, Qt::blue), 5, 5);
    window->findChild<QAction*>("MNzoomOut")->trigger();
    EXPECT_EQ(status->text(), "Area (in squares): 2 x 13      Square (in pixels): 10 x 10");
    Key('=');
    EXPECT_EQ(status->text(), "Area (in squares): 2 x 13      Square (in pixels): 12 x 12");
}

TEST_F(QuilletWindowTest, ColumnsComeAndGoButNeverBelowOne) {
    PasteAt(Swatch(25, 25, Qt::blue), 5, 5);
    Key(Qt::Key_Right);
    EXPECT_EQ(status->text(), "Area (in squares): 2 x 14      Square (in pixels): 25 x 25");
    EXPECT_EQ(picture->Image().width(), 14 * 25 + 4);
    EXPECT_EQ(Pixel(10, 10), QColor(Qt::blue).rgb());  // old squares kept
    EXPECT_EQ(Pixel(13 * 25, 10), kRed);               // the new column keeps its frame
    EXPECT_EQ(Pixel(13 * 25 + 2, 0), kRed);
    EXPECT_EQ(Pixel(13 * 25 + 2, 24), kRed);
    EXPECT_EQ(Pixel(14 * 25 - 1, 10), kRed);

    for (int i = 0; i < 20; ++i) {
        Key(Qt::Key_Left);
    }
    EXPECT_EQ(window->State().AtualCols, 1);
    EXPECT_EQ(status->text(), "Area (in squares): 2 x 1      Square (in pixels): 25 x 25");
    window->findChild<QAction*>("MNremoveCol")->trigger();
    EXPECT_EQ(window->State().AtualCols, 1);
    EXPECT_EQ(picture->Image().size(), QSize(25 + 4, 54));
    EXPECT_EQ(Pixel(10, 10), QColor(Qt::blue).rgb());
}

TEST_F(QuilletWindowTest, OffsetOfTwoMakesNeighboursShareTwoPixels) {
    sink.answers = {QString("2")};
    Key('q');
    ASSERT_EQ(sink.questions.size(), 1u);
    EXPECT_EQ(sink.questions[0].title, "Square Offset");
    EXPECT_EQ(sink.questions[0].text, "Enter a new offset:|0");
    EXPECT_EQ(window->findChild<QAction*>("MNoffset")->text(), "S&quare Offset: 2");
    EXPECT_EQ(window->State().fReset, 1);
    EXPECT_EQ(picture->Image().size(), QSize(13 * 25 - 12 * 2 + 4, 48 + 4));

    PasteAt(Swatch(25, 25, Qt::blue), 22, 22);   // still square (0, 0)
    PasteAt(Swatch(25, 25, Qt::green), 23, 5);   // square (0, 1) starts 23 pixels in
    PasteAt(Swatch(25, 25, Qt::yellow), 5, 23);  // square (1, 0) starts 23 pixels down
    EXPECT_EQ(Pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(Pixel(22, 10), QColor(Qt::blue).rgb());
    EXPECT_EQ(Pixel(23, 0), qRgb(1, 2, 3));
    EXPECT_EQ(Pixel(47, 10), QColor(Qt::green).rgb());
    EXPECT_EQ(Pixel(0, 23), qRgb(1, 2, 3));
    EXPECT_TRUE(sink.errors.empty());

    // Cancel, an empty answer or an overlap as large as the squares change nothing.
    sink.answers = {std::nullopt, QString(""), QString("25")};
    const QImage before = picture->Image();
    Key('Q');
    Key('Q');
    Key('Q');
    EXPECT_EQ(picture->Image(), before);
    EXPECT_EQ(window->State().Offset, 30);
}

TEST_F(QuilletWindowTest, CopyPutsTheWholePictureOnTheClipboard) {
    PasteAt(Swatch(30, 30, Qt::blue), 5, 5);
    PasteAt(Swatch(30, 30, Qt::green), 30 * 12 + 5, 35);
    QGuiApplication::clipboard()->setText("something else");
    Key('c');
    const QImage copied = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(copied.isNull());
    EXPECT_EQ(copied.size(), QSize(13 * 30 + 4, 64));
    EXPECT_EQ(copied.pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(copied.pixel(29, 29), QColor(Qt::blue).rgb());
    EXPECT_EQ(copied.pixel(360, 30), qRgb(1, 2, 3));
    EXPECT_EQ(copied.pixel(389, 59), QColor(Qt::green).rgb());
}

TEST_F(QuilletWindowTest, PastingAWholeSetTakesItsSquareSize) {
    QImage set(13 * 20, 40, QImage::Format_RGB32);
    set.fill(Qt::gray);
    set.setPixel(259, 39, qRgb(9, 9, 9));
    QGuiApplication::clipboard()->setImage(set);
    Key('v');
    EXPECT_EQ(status->text(), "Area (in squares): 2 x 13      Square (in pixels): 20 x 20");
    EXPECT_EQ(picture->Image().size(), QSize(264, 44));
    EXPECT_EQ(Pixel(259, 39), qRgb(9, 9, 9));
    EXPECT_EQ(window->State().fReset, 0);
    // Squares now have to be 20 x 20.
    PasteAt(Swatch(25, 25, Qt::blue), 5, 5);
    EXPECT_EQ(sink.errors.size(), 1u);
    PasteAt(Swatch(20, 20, Qt::blue), 21, 21);
    EXPECT_EQ(Pixel(20, 20), qRgb(1, 2, 3));
}

TEST_F(QuilletWindowTest, DuplicateCopiesTheFirstRowOverTheSecond) {
    PasteAt(Swatch(25, 25, Qt::blue), 60, 5);
    Key(Qt::Key_Down);
    EXPECT_EQ(Pixel(50, 25), qRgb(1, 2, 3));
    EXPECT_EQ(Pixel(74, 49), QColor(Qt::blue).rgb());
    EXPECT_EQ(Pixel(10, 51), kWhite);  // nothing spills into the margin
    Key('l');
    EXPECT_EQ(Pixel(100, 25), qRgb(0, 0, 0));
}

TEST_F(QuilletWindowTest, AllDownAndTopDownCutTwoPixels) {
    QImage square(30, 30, QImage::Format_RGB32);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            square.setPixel(x, y, qRgb(x, y, 100));
        }
    }
    PasteAt(square, 35, 35);  // square (1, 1) once the size is 30
    window->findChild<QAction*>("MNAllDown")->trigger();
    EXPECT_EQ(status->text(), "Area (in squares): 2 x 13      Square (in pixels): 28 x 28");
    EXPECT_EQ(picture->Image().size(), QSize(13 * 28 + 4, 56 + 4));
    EXPECT_EQ(Pixel(28, 28), qRgb(1, 1, 100));  // one pixel cut from each side
    EXPECT_EQ(Pixel(55, 55), qRgb(28, 28, 100));
    window->findChild<QAction*>("MNTopDown")->trigger();
    EXPECT_EQ(status->text(), "Area (in squares): 2 x 13      Square (in pixels): 26 x 26");
    EXPECT_EQ(Pixel(26, 26), qRgb(2, 3, 100));  // two more from the top, one from the left
}

TEST_F(QuilletWindowTest, HelpShowsItsLinesAndExitCloses) {
    window->findChild<QAction*>("MNhelp")->trigger();
    ASSERT_EQ(sink.infos.size(), 1u);
    EXPECT_EQ(sink.infos[0].title, "Quillet 1.0");
    EXPECT_EQ(sink.infos[0].text,
              "Paste images from clipboard to build a chess pieces set.\r\n\r\n"
              "1. Cut or copy an image area in your graphic editor.\r\n"
              "2. Then click a square in Quillet view.\r\n"
              "3. The image will be put into the selected square.\r\n"
              "4. Repeat steps from 1 to 3 for each square.\r\n"
              "5. Copy the final image to a graphic editor to save a Pandrel's pieces file.");
    const QStringList captions = [this] {
        QStringList texts;
        for (QAction* action : window->findChild<QMenu*>("MNconvert")->actions()) {
            if (!action->isSeparator()) {
                texts << action->text();
            }
        }
        return texts;
    }();
    EXPECT_EQ(captions, (QStringList{"Add &Column (--->)", "&Remove Column (<---)", "All Do&wn", "T&op Down",
                                     "Zoo&m Out (-)", "Zoom &In (+)", "S&quare Offset: 0"}));
    Key('x');
    EXPECT_FALSE(window->isVisible());
}

// Square (row, col) of a 30-pixel set: a colour of its own.
QRgb CellColour(int row, int col) {
    return qRgb(10 + col * 18, row == 0 ? 60 : 180, 240 - col * 9);
}

class FinishedSetTest : public QuilletWindowTest {
  protected:
    // Pastes a 30 x 30 picture into every square (or only those keep allows).
    void Fill(const std::function<bool(int, int)>& keep = {}) {
        for (int row = 0; row < 2; ++row) {
            for (int col = 0; col < 13; ++col) {
                if (!keep || keep(row, col)) {
                    PasteAt(Swatch(30, 30, QColor(CellColour(row, col))), col * 30 + 15, row * 30 + 15);
                }
            }
        }
        ASSERT_EQ(status->text(), "Area (in squares): 2 x 13      Square (in pixels): 30 x 30");
    }
    // Chooses an item of the Functions menu with the mouse.
    void Choose(QAction* action) {
        QMenu* menu = window->MNfunctions;
        menu->popup(window->mapToGlobal(QPoint(0, 0)));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        QTRY_VERIFY_WITH_TIMEOUT(menu->isHidden(), 2000);
    }
    // The set is 13 columns by 2 rows of 30 pixels and each square is its picture.
    static void ExpectSet(const QImage& set, const std::function<bool(int, int)>& filled) {
        ASSERT_EQ(set.size(), QSize(13 * 30, 60));
        for (int row = 0; row < 2; ++row) {
            for (int col = 0; col < 13; ++col) {
                for (const QPoint at :
                     {QPoint(0, 0), QPoint(1, 1), QPoint(29, 0), QPoint(15, 15), QPoint(29, 29)}) {
                    QRgb expected = filled(row, col) ? CellColour(row, col) : kWhite;
                    if (filled(row, col) && at == QPoint(0, 0)) {
                        expected = qRgb(1, 2, 3);
                    }
                    ASSERT_EQ(set.pixel(col * 30 + at.x(), row * 30 + at.y()), expected)
                        << "square " << row << "," << col << " at " << at.x() << "," << at.y();
                }
            }
        }
    }
    QTemporaryDir dir;
};

TEST_F(FinishedSetTest, CopySetGivesTheSquaresAloneAndCopyKeepsTheGrid) {
    // Column 4 of the second row is left out: no frame, no letter, only white.
    const auto filled = [](int row, int col) { return !(row == 1 && col == 4); };
    Fill(filled);
    Choose(window->MNcopySet);
    const QImage set = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    ExpectSet(set, filled);
    for (int y = 30; y < 60; ++y) {
        for (int x = 120; x < 150; ++x) {
            ASSERT_EQ(set.pixel(x, y), kWhite) << x << "," << y;
        }
    }
    EXPECT_EQ(window->PiecesImage(), set);

    // Copy still gives the work picture, frame and margin included.
    Key('c');
    const QImage work = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(work.size(), QSize(13 * 30 + 4, 64));
    EXPECT_EQ(work.pixel(120, 45), kRed);

    // Duplicate fills the second row from the first.
    Key(Qt::Key_Down);
    Choose(window->MNcopySet);
    const QImage duplicated = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(duplicated.pixel(135, 45), CellColour(0, 4));
}

TEST_F(FinishedSetTest, SavePiecesFileWritesTheSetAndReplacesAPlantedLink) {
    Fill();
    // A link planted where the file goes must not lead the save to another file.
    const QString victim = dir.filePath("victim.txt");
    QFile file(victim);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("keep me");
    file.close();
    ASSERT_TRUE(QFile::link(victim, dir.filePath("set.bmp")));

    sink.saveAs = dir.filePath("set");  // no extension: ".bmp" is added
    QTest::keyClick(picture, Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(sink.errors.empty()) << sink.errors[0].text.toStdString();
    ASSERT_EQ(sink.questions.size(), 1u);
    EXPECT_EQ(sink.questions[0].title, "Save Pieces File");
    const QFileInfo saved(dir.filePath("set.bmp"));
    EXPECT_FALSE(saved.isSymLink());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "keep me");
    file.close();
    QFile bmp(saved.filePath());
    ASSERT_TRUE(bmp.open(QIODevice::ReadOnly));
    EXPECT_TRUE(bmp.read(2) == "BM");
    bmp.close();
    ExpectSet(QImage(saved.filePath()).convertToFormat(QImage::Format_RGB32), [](int, int) { return true; });
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "a temporary file is left";

    // Cancel writes nothing; a folder that is not there is reported.
    sink.saveAs = std::nullopt;
    window->MNsavePieces->trigger();
    EXPECT_TRUE(sink.errors.empty());
    sink.saveAs = dir.filePath("missing/set.png");
    window->MNsavePieces->trigger();
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(sink.errors[0].title, "Warning");
    EXPECT_TRUE(sink.errors[0].text.contains("missing/set.png"));
}

#ifdef PANDREL_CLI
// The saved file is a pieces file Pandrel takes as it is: each square of the diagram shows
// the picture pasted for its man and square colour.
TEST_F(FinishedSetTest, PandrelDrawsADiagramWithTheSavedSet) {
    Fill();
    sink.saveAs = dir.filePath("quillet set.bmp");
    window->MNsavePieces->trigger();
    ASSERT_TRUE(sink.errors.empty());
    QFile ini(dir.filePath("Pandrel.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("BeginStyle = Quillet\r\n  PiecesFile = " + QFile::encodeName(dir.filePath("quillet set.bmp")) +
              "\r\n  SqrWidth = 30 \r\n  SqrHeight = 30 \r\nEndStyle\r\n");
    ini.close();

    const QString fen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";
    QProcess cli;
    cli.start(PANDREL_CLI, {"render", "--appdir", dir.path(), "--style", "Quillet", "-o",
                            dir.filePath("diagram.png"), fen});
    ASSERT_TRUE(cli.waitForFinished(30000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    const QImage diagram = QImage(dir.filePath("diagram.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(diagram.size(), QSize(8 * 30 + 4, 8 * 30 + 4));

    const QString letters = "pPnNbBrRqQkK";
    const QStringList ranks = fen.split('/');
    for (int row = 0; row < 8; ++row) {
        int col = 0;
        for (const QChar c : ranks[row]) {
            const int count = c.isDigit() ? c.digitValue() : 1;
            for (int k = 0; k < count; ++k, ++col) {
                const int piece = c.isDigit() ? 0 : static_cast<int>(letters.indexOf(c)) + 1;
                const int dark = (row + col) % 2;
                ASSERT_EQ(diagram.pixel(col * 30 + 15, row * 30 + 15), CellColour(dark, piece))
                    << "square " << row << "," << col;
                ASSERT_EQ(diagram.pixel(col * 30, row * 30), qRgb(1, 2, 3)) << "square " << row << "," << col;
            }
        }
    }
}
#endif

}  // namespace
}  // namespace piecesbuilder

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
