#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "diagram/render/renderer.h"

using namespace diagram;
using settings::Style;

namespace {

const QColor kLight(0xEE, 0xE6, 0xCE);
const QColor kDark(0x86, 0xA0, 0x7E);
const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

struct Drawn {
    Renderer renderer;
    position::Vet vet;
    Style style;
    int reversed = 0;

    const QImage& Draw(const std::string& fen, bool reversedView = false) {
        renderer.DrawBoard(style, 0);
        const Style& drawn = renderer.style();
        reversed = reversedView ? drawn.BORDERHEIGHT * drawn.BORDERWIDTH + 1 : 0;
        renderer.Redraw(vet, fen, style, reversed);
        return renderer.picture();
    }
    QColor At(int x, int y) const { return renderer.picture().pixelColor(x, y); }
};

// The built-in bitmap's cell for a piece, as the painter must copy it.
QImage Cell(const Renderer& r, int code) {
    return r.pieces().copy((code % 13) * 15, (code / 13) * 15, 15, 15);
}

TEST(Renderer, BuiltInPiecesBitmapLayout) {
    Renderer r;
    EXPECT_EQ(r.pieces().size(), QSize(195, 30));
    EXPECT_EQ(r.pieces().pixelColor(7, 7), kLight);  // empty light square
    EXPECT_EQ(r.pieces().pixelColor(7, 22), kDark);  // empty dark square
    // White and Black pieces differ on both square colours.
    for (int row = 0; row < 2; ++row) {
        for (int p = 1; p <= 11; p += 2) {
            EXPECT_NE(Cell(r, p + 13 * row), Cell(r, p + 1 + 13 * row)) << p;
        }
    }
}

TEST(Renderer, DefaultStartPosition) {
    Drawn d;
    const QImage& img = d.Draw(kStart);
    EXPECT_EQ(img.size(), QSize(124, 124));
    // Each square is the bitmap cell for its piece and colour, at 15-pixel steps.
    const int codes[] = {7, 3 + 13, 5, 9 + 13, 11, 5 + 13, 3, 7 + 13};
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(img.copy(c * 15, 0, 15, 15), Cell(d.renderer, codes[c])) << c;
    }
    EXPECT_EQ(img.copy(4 * 15, 7 * 15, 15, 15), Cell(d.renderer, 12 + 13));  // white king on e1 (dark)
    EXPECT_EQ(d.At(7, 3 * 15 + 7), kDark);                                   // a5 empty dark
    EXPECT_EQ(d.At(122, 122), QColor(0, 0, 0));                              // margin in BACKCOLOR
}

TEST(Renderer, ReversedViewTurnsTheBoard) {
    Drawn d;
    const QImage& img = d.Draw("K7/8/8/8/8/8/8/8", true);
    EXPECT_EQ(img.copy(7 * 15, 7 * 15, 15, 15), Cell(d.renderer, 12));  // a8 shown bottom right, light
    EXPECT_EQ(d.At(7, 7), kLight);                                      // h1 at top left is light too
}

TEST(Renderer, GapsShowTheBackground) {
    Drawn d;
    d.style.SQRWIDTH = 300;
    d.style.SQRHSPC = 30;
    d.style.BACKCOLOR = 0x0000FF;  // red
    d.style.BORDERWIDTH = 3;
    d.style.BORDERHEIGHT = 2;
    const QImage& img = d.Draw("");
    EXPECT_EQ(img.size(), QSize(2 * 22 + 20 + 4, 15 + 15 + 4));
    EXPECT_EQ(d.At(20, 5), QColor(255, 0, 0));  // gap between columns
    EXPECT_EQ(d.At(21, 5), QColor(255, 0, 0));
    EXPECT_EQ(d.At(22, 5), kDark);  // the next square starts at the pitch
    EXPECT_EQ(d.At(44, 5), kLight);
    // Cells are cut at the bitmap pitch of 20 pixels: wider than the built-in cells.
    EXPECT_EQ(img.copy(0, 0, 20, 15), d.renderer.pieces().copy(0, 0, 20, 15));
}

TEST(Renderer, OversizedStyleIsDrawnEightByEight) {
    Drawn d;
    d.style.BORDERHEIGHT = 21;
    d.style.BORDERWIDTH = 20;
    const QImage& img = d.Draw(kStart);
    EXPECT_EQ(img.size(), QSize(124, 124));
    EXPECT_EQ(d.renderer.style().BORDERHEIGHT, 8);
    EXPECT_EQ(d.renderer.style().BORDERWIDTH, 8);
    // The style itself keeps its board.
    EXPECT_EQ(d.style.BORDERHEIGHT, 21);
    EXPECT_EQ(d.style.BORDERWIDTH, 20);
}

TEST(Renderer, LargestBoard) {
    Drawn d;
    d.style.BORDERHEIGHT = 20;
    d.style.BORDERWIDTH = 20;
    const QImage& img = d.Draw("K");
    EXPECT_EQ(img.size(), QSize(304, 304));
    EXPECT_EQ(img.copy(0, 0, 15, 15), Cell(d.renderer, 12));
    EXPECT_EQ(d.At(19 * 15 + 7, 19 * 15 + 7), kLight);
}

TEST(Renderer, FrameLines) {
    Drawn d;
    d.style.FRAMEWIDTH = 3;
    d.style.FRAMECOLOR = 0x00FF00;  // green
    d.style.XBASE = d.style.YBASE = 150;
    d.Draw("");
    const QColor green(0, 255, 0);
    EXPECT_EQ(d.At(1, 60), green);
    EXPECT_EQ(d.At(60, 1), green);
    const int far = (d.renderer.style().WNDWIDTH - 88) / 15;  // centre of the right-hand line
    EXPECT_EQ(d.At(far, 60), green);
    EXPECT_EQ(d.At(60, far), green);
    EXPECT_EQ(d.At(5, 60), QColor(0, 0, 0));
}

TEST(Renderer, LetteringIsDrawnWhereItBelongs) {
    Drawn d;
    d.style.SHOWGRID = 1;
    d.style.FONTCOLOR = 0xFFFFFF;
    d.style.FONTNAME = "DejaVu Sans";
    d.style.FONTSIZE = 8;
    d.style.XBASE = 300;
    d.style.YBASE = 0;
    d.style.FONTYBASE = 8 * 225 + 15;
    d.style.WNDHEIGHT = 8 * 225 + 300;
    d.style.WNDWIDTH = 8 * 225 + 660;
    d.Draw("");
    auto whiteIn = [&](QRect r) {
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (d.At(x, y).lightness() > 200 && d.At(x, y) != kLight)
                    return true;
        return false;
    };
    // Rank numbers left of the board, file letters below it, one per row and column.
    for (int r = 0; r < 8; ++r)
        EXPECT_TRUE(whiteIn(QRect(0, r * 15, 19, 15))) << "rank " << r;
    for (int c = 0; c < 8; ++c)
        EXPECT_TRUE(whiteIn(QRect(20 + c * 15, 121, 15, 18))) << "file " << c;
    EXPECT_FALSE(whiteIn(QRect(0, 121, 19, 18)));
}

TEST(Renderer, BorderBitmapsBmpAndGif) {
    QTemporaryDir dir;
    QImage border(40, 40, QImage::Format_RGB32);
    border.fill(QColor(0, 0, 255));
    const QString bmp = dir.filePath("border.bmp");
    ASSERT_TRUE(border.save(bmp, "BMP"));
    Drawn d;
    d.style.XBASE = d.style.YBASE = 900;  // squares start at 60 pixels
    d.style.BACKCOLOR = 0x00FF00;
    d.style.BORDERFILE = bmp.toStdString();
    d.Draw("");
    EXPECT_EQ(d.At(39, 39), QColor(0, 0, 255));
    EXPECT_EQ(d.At(45, 45), QColor(0, 255, 0));

    d.style.BORDERFILE = TEST_DATA_DIR "/red1x1.gif";
    d.Draw("");
    EXPECT_EQ(d.At(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(d.At(1, 1), QColor(0, 255, 0));

    d.style.BORDERFILE = dir.filePath("missing.bmp").toStdString();
    d.Draw("");
    EXPECT_EQ(d.At(0, 0), QColor(0, 255, 0));
}

TEST(Renderer, PiecesFileReplacesAndMissingKeeps) {
    QTemporaryDir dir;
    QImage pieces(15 * 13, 30, QImage::Format_RGB32);
    pieces.fill(QColor(10, 20, 30));
    const QString path = dir.filePath("set.bmp");
    ASSERT_TRUE(pieces.save(path, "BMP"));
    Drawn d;
    d.style.PIECESFILE = dir.filePath("nothing.bmp").toStdString();
    d.Draw("");
    EXPECT_EQ(d.At(7, 7), kLight);
    d.style.PIECESFILE = path.toStdString();
    d.Draw("");
    EXPECT_EQ(d.At(7, 7), QColor(10, 20, 30));
    d.style.PIECESFILE.clear();  // keeps whatever was loaded last
    d.Draw("");
    EXPECT_EQ(d.At(7, 7), QColor(10, 20, 30));
}

TEST(Renderer, PiecesOutsideTheBitmapLeaveTheSquare) {
    Drawn d;
    d.style.PIECESLIST = "pPnNbBrRqQkKxX";
    d.Draw("8/8/8/8/8/8/8/8");
    const QImage before = d.renderer.picture();
    d.renderer.Build(d.vet, "X", d.style, 0);
    // Column 14 lies past the built-in bitmap: nothing is copied.
    EXPECT_EQ(d.renderer.picture().copy(0, 0, 15, 15), before.copy(0, 0, 15, 15));
}

}  // namespace
