// Save Image, Save Image As, Copy Image, Copy HTML and Print from the main window.

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QtEndian>

#include "diagram/ui/output_commands.h"
#include "diagram/ui/tests/window_fixture.h"
#include "diagram/ui/win_seek.h"

namespace diagram::ui::testing {
namespace {

const QString kStart = QStringLiteral("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");

// A BMP file read by hand, the way any other program reads one: the file
// header, a BITMAPINFOHEADER and bottom-up rows of 24-bit pixels padded to
// four bytes. A null image when the file is not such a BMP.
QImage ReadBmp24(const QByteArray& data) {
    if (data.size() < 54 || !data.startsWith("BM")) {
        return {};
    }
    const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(data.constData() + at); };
    const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(data.constData() + at); };
    const auto i32 = [&](int at) { return qFromLittleEndian<qint32>(data.constData() + at); };
    const quint32 offset = u32(10);
    const int width = i32(18);
    const int height = i32(22);
    if (u32(2) != static_cast<quint32>(data.size()) || u32(14) < 40 || u16(26) != 1 || u16(28) != 24 ||
        u32(30) != 0 || width <= 0 || height <= 0) {
        return {};
    }
    const int stride = (width * 3 + 3) / 4 * 4;
    if (offset + static_cast<qint64>(stride) * height > data.size()) {
        return {};
    }
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const auto* row =
            reinterpret_cast<const uchar*>(data.constData()) + offset + (height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]));
        }
    }
    return image;
}

class OutputTest : public WindowTest {
  protected:
    void Begin(const QString& fen = kStart) {
        Create();
        output = new OutputCommands(*window);
        Start();
        Text1()->setText(fen);
    }
    void Trigger(const char* name) { window->action(name)->trigger(); }
    const QImage& Picture() const { return window->renderer().picture(); }
    // Changes the style as the style window would, then redraws.
    void Restyle(int rows, int cols, const std::string& pieces, const QString& fen) {
        program.style.BORDERHEIGHT = static_cast<int16_t>(rows);
        program.style.BORDERWIDTH = static_cast<int16_t>(cols);
        program.style.PIECESLIST = pieces;
        program.style.WNDWIDTH = 0;
        program.style.WNDHEIGHT = 0;
        window->Redraw();
        Text1()->setText(fen);
    }
    // Answers the file selection window, once it is up, with a typed name.
    void AnswerSeek(const QString& folder, const QString& name) {
        WinSeek& seek = WinSeek::Of(window->host());
        ASSERT_TRUE(seek.setFolder(folder));
        QTimer::singleShot(0, &seek, [&seek, name] {
            if (name.isNull()) {
                seek.CancelCmd()->click();
                return;
            }
            seek.Text2()->setText(name);
            seek.OkCmd()->click();
        });
    }

    OutputCommands* output = nullptr;
};

TEST_F(OutputTest, SaveImageWritesThePicturePixelForPixel) {
    Begin();
    ASSERT_FALSE(Picture().isNull());
    struct Case {
        std::string imageName;
        QString file;
    };
    for (const Case& c : {Case{"Pandrel.bmp", "Pandrel.bmp"}, Case{"board", "board.bmp"},
                          Case{"", "Pandrel.bmp"}, Case{"kept.img", "kept.img"}}) {
        program.ImageName = c.imageName;
        Trigger("MNSave");
        const QByteArray bytes = ReadFile(c.file);
        const QImage read = ReadBmp24(bytes);
        ASSERT_FALSE(read.isNull()) << c.file.toStdString() << " is no 24-bit BMP";
        EXPECT_EQ(read, Picture().convertToFormat(QImage::Format_RGB32));
        EXPECT_EQ(QImage(InDir(c.file), "BMP").convertToFormat(QImage::Format_RGB32), read);
        EXPECT_EQ(window->windowTitle(), "Pandrel - " + c.file);
        EXPECT_EQ(QString::fromStdString(program.ImageName), c.file);
    }
    EXPECT_TRUE(fakes.messages.shown.empty());

    // Saving again replaces the file with the new picture.
    Text1()->setText("K");
    program.ImageName = "board.bmp";
    Trigger("MNSave");
    EXPECT_EQ(ReadBmp24(ReadFile("board.bmp")), Picture().convertToFormat(QImage::Format_RGB32));
}

TEST_F(OutputTest, SaveImageFailureIsReportedAndLeavesTheTitle) {
    Begin();
    WriteFile("plain", "not a folder");
    for (const QString& bad : {InDir("missing/board"), InDir("plain/board.bmp")}) {
        fakes.messages.shown.clear();
        program.ImageName = bad.toStdString();
        EXPECT_FALSE(output->CmdSave());
        EXPECT_EQ(window->windowTitle(), "Pandrel - Pandrel.bmp");
        ASSERT_EQ(fakes.messages.shown.size(), 1u);
        const QString expected = bad.endsWith(".bmp") ? bad : bad + ".bmp";
        EXPECT_TRUE(fakes.messages.shown[0].text.contains(expected))
            << fakes.messages.shown[0].text.toStdString();
    }
    EXPECT_FALSE(QFile::exists(InDir("missing/board.bmp")));
}

TEST_F(OutputTest, SaveImageAsThroughTheFileSelectionWindow) {
    Begin();
    QDir(dir.path()).mkpath("diag");
    QDir(dir.path()).mkpath("my.dir");
    const QString diag = InDir("diag");

    // The window appends the filter's ending: board becomes diag/board.bmp.
    AnswerSeek(diag, "board");
    Trigger("MNSaveAs");
    EXPECT_EQ(QString::fromStdString(program.ImageName), diag + "/board.bmp");
    EXPECT_EQ(window->windowTitle(), "Pandrel - " + diag + "/board.bmp");
    EXPECT_EQ(ReadBmp24(ReadFile("diag/board.bmp")), Picture().convertToFormat(QImage::Format_RGB32));

    // A point in the folder name: used as typed, without ".bmp".
    AnswerSeek(diag, InDir("my.dir/board"));
    Trigger("MNSaveAs");
    EXPECT_FALSE(ReadBmp24(ReadFile("my.dir/board")).isNull());
    EXPECT_EQ(window->windowTitle(), "Pandrel - " + InDir("my.dir/board"));

    // Cancel: nothing is saved, nothing changes.
    const std::string before = program.ImageName;
    AnswerSeek(diag, QString());
    Trigger("MNSaveAs");
    EXPECT_EQ(program.ImageName, before);
    EXPECT_EQ(program.SeekPurpose, 0);
    EXPECT_EQ(window->SecondaryWindow(Secondary::kFileSelection), &WinSeek::Of(window->host()));
}

TEST_F(OutputTest, CopyImagePutsThePictureOnTheClipboard) {
    Begin();
    fakes.clipboard.text = "old";
    Trigger("MNPicture");
    EXPECT_EQ(fakes.clipboard.image, Picture());
    EXPECT_TRUE(fakes.clipboard.text.isEmpty());
    // The drawing goes along as SVG text.
    EXPECT_TRUE(fakes.clipboard.svg.contains("<svg")) << fakes.clipboard.svg.left(200).toStdString();
    EXPECT_EQ(fakes.clipboard.svg.count("<image"), 64);
}

// The name's extension picks the format, through the file selection window
// as well; a font style draws its men in each.
TEST_F(OutputTest, SaveImageAsWritesTheFormatOfTheExtension) {
    Begin();
    program.style.PIECESFONT = "DejaVu Sans";
    program.style.SQRWIDTH = program.style.SQRHEIGHT = 30 * 15;
    program.style.SQRHTAB = program.style.SQRVTAB = 0;
    program.style.WNDWIDTH = program.style.WNDHEIGHT = 0;
    window->Redraw();
    Text1()->setText(kStart);
    const QString folder = dir.path();
    for (const char* name : {"board.png", "board.svg", "board.pdf", "board.bmp"}) {
        AnswerSeek(folder, name);
        Trigger("MNSaveAs");
        EXPECT_EQ(window->windowTitle(), "Pandrel - " + folder + "/" + name);
    }
    EXPECT_EQ(QImage(InDir("board.png"), "PNG"), Picture().convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(QImage(InDir("board.png"), "PNG").size(), QSize(8 * 30 + 4, 8 * 30 + 4));
    EXPECT_EQ(ReadBmp24(ReadFile("board.bmp")), Picture().convertToFormat(QImage::Format_RGB32));
    const QByteArray svg = ReadFile("board.svg");
    EXPECT_EQ(svg.count("<rect"), 65);
    EXPECT_EQ(svg.count("<path"), 64);  // every man's inside and lines
    EXPECT_TRUE(ReadFile("board.pdf").startsWith("%PDF"));
}

TEST_F(OutputTest, CopyHtml) {
    Begin();
    Trigger("MNHtml");
    const QString start = fakes.clipboard.text;
    EXPECT_TRUE(start.startsWith(R"(<img src="rbw.gif"><img src="nbb.gif"><img src="bbw.gif">)"
                                 R"(<img src="qbb.gif"><img src="kbw.gif"><img src="bbb.gif">)"
                                 R"(<img src="nbw.gif"><img src="rbb.gif"><br>)"
                                 "\r\n"))
        << start.left(200).toStdString();
    EXPECT_EQ(start.count("<br>\r\n"), 8);
    EXPECT_EQ(start.count("<img "), 64);

    // Turning the view changes nothing: the fragment is in FEN order.
    program.editing.Reversed = 65;
    window->Redraw();
    Trigger("MNHtml");
    EXPECT_EQ(fakes.clipboard.text, start);
    program.editing.Reversed = 0;

    Restyle(10, 10, "pPnNbBrRqQkK", "");
    Trigger("MNHtml");
    QString empty;
    for (int r = 0; r < 10; ++r) {
        for (int c = 0; c < 10; ++c) {
            empty += (r + c) % 2 == 0 ? R"(<img src="sqw.gif">)" : R"(<img src="sqb.gif">)";
        }
        empty += "<br>\r\n";
    }
    EXPECT_EQ(fakes.clipboard.text, empty);

    Restyle(8, 8, "pPnNbBrRqQkKxX", "xxXX");
    Trigger("MNHtml");
    EXPECT_TRUE(fakes.clipboard.text.startsWith(
        R"(<img src="xbw.gif"><img src="xbb.gif"><img src="Xww.gif"><img src="Xwb.gif"><img src="sqw.gif">)"))
        << fakes.clipboard.text.left(120).toStdString();
}

TEST_F(OutputTest, PrintoutLayout) {
    Begin();
    program.style.COPYCOUNTER = 0;
    EXPECT_EQ(output->PrintedLine(), window->Label3()->text() + kStart);
    EXPECT_TRUE(output->PrintedLine().startsWith("(16x16)rnbqkbnr"));

    // At 96 dots per inch a twip is 1/15 of a dot: the picture lands at
    // (26.7, 26.7) dots, one dot to its pixel; the line sits above it.
    QImage page(400, 400, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        OutputCommands::PaintPrintout(painter, 96, output->PrintedLine(), Picture());
    }
    // The corner at 26.67 dots falls on dot 26 or 27, depending on rounding.
    const QImage picture = Picture().convertToFormat(QImage::Format_RGB32);
    const bool placed = page.copy(QRect(QPoint(27, 27), picture.size())) == picture ||
                        page.copy(QRect(QPoint(26, 26), picture.size())) == picture;
    EXPECT_TRUE(placed) << "the picture is not at (400, 400) twips at its natural size";
    bool inked = false;
    for (int y = 0; y < 20 && !inked; ++y) {
        for (int x = 0; x < 200 && !inked; ++x) {
            inked = page.pixel(x, y) != qRgb(255, 255, 255);
        }
    }
    EXPECT_TRUE(inked) << "no text line above the picture";

    // A whole print job on a PDF-file printer.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(InDir("print.pdf"));
    EXPECT_TRUE(output->PrintOn(printer));
    const QByteArray pdf = ReadFile("print.pdf");
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_TRUE(pdf.contains("/Image")) << "the picture is not on the page";
}

// File > Print and Ctrl+P: with no printer installed a "Warning" box says so
// and what to do; with one, the page goes to it and nothing is said.
TEST_F(OutputTest, PrintWithoutAPrinterSaysWhatToDo) {
    Begin();
    QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0].text, kNoPrinterText);
    EXPECT_EQ(fakes.printers.asked, 1);
    Trigger("MNPrint");
    EXPECT_EQ(fakes.messages.shown.size(), 2u);

    fakes.printers.pdfFile = InDir("printed.pdf");
    QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(fakes.messages.shown.size(), 2u);
    EXPECT_TRUE(ReadFile("printed.pdf").contains("/Image")) << "the diagram did not reach the printer";
}

}  // namespace
}  // namespace diagram::ui::testing
