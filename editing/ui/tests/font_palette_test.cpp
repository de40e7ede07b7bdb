// The palette of the ready-made font styles: it shows each style's own men,
// fits the screen, and the man clicked or dragged is the man placed. Run
// once as is and once more at twice the density (editing/CMakeLists.txt).

#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <fstream>
#include <sstream>

#include "diagram/geometry.h"
#include "diagram/render/font_men.h"
#include "diagram/render/tests/image_diff.h"
#include "diagram/ui/main_window.h"
#include "diagram/ui/picture_view.h"
#include "editing/palette.h"
#include "editing/ui/tests/started_window.h"
#include "editing/ui/view_window.h"

namespace {

using testsupport::Differing;

using editing::ui::ViewWindow;

// The shipped settings file, opening in the named style.
std::string ShippedIn(const std::string& style) {
    std::ifstream in(SHIPPED_STYLES, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::string ini = text.str();
    const std::string recent = "RecentStyle = Classic";
    const size_t at = ini.find(recent);
    if (at != std::string::npos) {
        ini.replace(at, recent.size(), "RecentStyle = " + style);
    }
    return ini;
}

class FontPalette : public StartedWindow {
  protected:
    ViewWindow* View() const {
        return qobject_cast<ViewWindow*>(window->SecondaryWindow(diagram::ui::Secondary::kView));
    }
    void ShowView() {
        window->Command9()->click();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(View()));
    }
    // Middle of the palette cell of piece i, in pixels of the palette.
    QPoint Cell(int i) const {
        const editing::PaletteGrid& g = View()->grid();
        const diagram::Point at = editing::PaletteCellOrigin(g, i);
        return {static_cast<int>((at.x + g.width / 2.0) / diagram::kTwipsPerPixel),
                static_cast<int>((at.y + g.height / 2.0) / diagram::kTwipsPerPixel)};
    }
    // The palette cell of piece i as shown, in the picture's device pixels.
    QImage Shown(int i) const {
        const editing::PaletteGrid& g = View()->grid();
        const QImage& image = View()->Picture1()->image();
        const double r = image.devicePixelRatio();
        const diagram::Point at = editing::PaletteCellOrigin(g, i);
        return image.copy(QRectF(at.x / 15 * r, at.y / 15 * r, g.width / 15 * r, g.height / 15 * r).toRect());
    }
    // Middle of a board square by its name ("c6"), in pixels of the diagram.
    QPoint Square(const char* name) const {
        const auto& s = program.style;
        const int d = (s.BORDERHEIGHT - (name[1] - '0')) * s.BORDERWIDTH + (name[0] - 'a');
        const diagram::Point at = diagram::SquareOrigin(s, d);
        return {static_cast<int>((at.x + s.SQRWIDTH / 2) / diagram::kTwipsPerPixel),
                static_cast<int>((at.y + s.SQRHEIGHT / 2) / diagram::kTwipsPerPixel)};
    }
    int IndexOf(char letter) const { return static_cast<int>(program.style.PIECESLIST.find(letter)) + 1; }
};

struct Placement {
    const char* style;
    char letter;           // the man clicked in the palette
    const char* clickFen;  // after clicking it, then c6
    const char* dragFen;   // after dragging it to e4 as well
};

const Placement kPlacements[] = {
    {"Classic", 'K', "8/8/2K5/8/8/8/8/8", "8/8/2K5/8/4K3/8/8/8"},
    {"Large", 'K', "8/8/2K5/8/8/8/8/8", "8/8/2K5/8/4K3/8/8/8"},
    {"Print", 'K', "8/8/2K5/8/8/8/8/8", "8/8/2K5/8/4K3/8/8/8"},
    {"Web", 'q', "8/8/2q5/8/8/8/8/8", "8/8/2q5/8/4q3/8/8/8"},
    {"Fairy", 'K', "8/8/2K5/8/8/8/8/8", "8/8/2K5/8/4K3/8/8/8"},
    {"Fairy", 'G', "8/8/2G5/8/8/8/8/8", "8/8/2G5/8/4G3/8/8/8"},
    {"Fairy", 'a', "8/8/2a5/8/8/8/8/8", "8/8/2a5/8/4a3/8/8/8"},
};

TEST_F(FontPalette, TheManClickedOrDraggedIsTheManPlaced) {
    for (const Placement& c : kPlacements) {
        SCOPED_TRACE(std::string(c.style) + " " + c.letter);
        window.reset();
        program.editing = editing::EditState{};
        ASSERT_NO_FATAL_FAILURE(StartShown(ShippedIn(c.style)));
        ASSERT_EQ(program.style.CurrentStyle, c.style);
        SetFen("8/8/8/8/8/8/8/8");
        ASSERT_NO_FATAL_FAILURE(ShowView());
        View()->move(window->frameGeometry().right() + 20, 0);
        const int i = IndexOf(c.letter);
        QTest::mouseClick(View()->Picture1(), Qt::LeftButton, {}, Cell(i));
        EXPECT_EQ(program.editing.SelectedPiece, i);
        QTest::mouseClick(window->PicMain(), Qt::LeftButton, {}, Square("c6"));
        EXPECT_EQ(Fen().toStdString(), c.clickFen);

        QWidget* palette = View()->Picture1();
        const QPoint e4 = palette->mapFromGlobal(window->PicMain()->mapToGlobal(Square("e4")));
        QTest::mousePress(palette, Qt::LeftButton, {}, Cell(i));
        QTest::mouseRelease(palette, Qt::LeftButton, {}, e4);
        EXPECT_EQ(Fen().toStdString(), c.dragFen);
    }
}

// Each cell shows the man its clicks choose, drawn as the diagram draws it on
// a light square, and the window holds the whole palette within the screen.
TEST_F(FontPalette, CellsShowTheStylesMenWhereTheirClicksGo) {
    for (const char* name : {"Classic", "Large", "Print", "Web", "Fairy"}) {
        SCOPED_TRACE(name);
        window.reset();
        program.editing = editing::EditState{};
        ASSERT_NO_FATAL_FAILURE(StartShown(ShippedIn(name)));
        ASSERT_NO_FATAL_FAILURE(ShowView());
        const settings::Style& style = program.style;
        const editing::PaletteGrid& g = View()->grid();
        const int n = static_cast<int>(style.PIECESLIST.size());
        const QRect screen = View()->screen()->availableGeometry();
        EXPECT_LE(View()->frameGeometry().width(), screen.width());
        EXPECT_LE(View()->frameGeometry().height(), screen.height());
        EXPECT_TRUE(View()->rect().contains(View()->Picture1()->geometry())) << "palette cut off";
        EXPECT_TRUE(View()->rect().contains(View()->Picture2()->geometry())) << "preview cut off";
        EXPECT_GE(g.width, editing::kLeastPaletteCell);

        const diagram::FontMen men(style);
        const std::vector<diagram::Glyph> glyphs = diagram::StyleGlyphs(style);
        const double ratio = View()->Picture1()->image().devicePixelRatio();
        std::vector<QImage> shown;
        for (int i = 1; i <= n; ++i) {
            const QRect cell(Cell(i) - QPoint(g.width / 30, g.height / 30),
                             QSize(g.width / 15, g.height / 15));
            EXPECT_TRUE(View()->Picture1()->rect().contains(cell)) << i;
            EXPECT_EQ(editing::PaletteIndex(style, g, Cell(i).x() * 15.0, Cell(i).y() * 15.0), i);
            QImage drawn(QSize(g.width / 15, g.height / 15) * ratio, QImage::Format_RGB32);
            drawn.setDevicePixelRatio(ratio);
            QPainter painter(&drawn);
            painter.setRenderHint(QPainter::Antialiasing);
            men.PaintSquare(painter, QRectF(0, 0, g.width / 15.0, g.height / 15.0), i, false);
            painter.end();
            shown.push_back(Shown(i));
            EXPECT_LT(Differing(shown.back(), drawn), 0.01) << "cell " << i << " is not its man";
            for (int j = 1; j < i; ++j) {
                if (glyphs[static_cast<size_t>(j)] == glyphs[static_cast<size_t>(i)]) {
                    continue;  // two letters for one man (the neutral ones)
                }
                EXPECT_GT(Differing(shown[static_cast<size_t>(j - 1)], shown.back()), 0.02)
                    << "cells " << j << " and " << i << " look alike";
            }
        }
        // A chosen man is previewed as drawn.
        QTest::mouseClick(View()->Picture1(), Qt::LeftButton, {}, Cell(n));
        EXPECT_LT(Differing(View()->Picture2()->image(), shown.back()), 0.01);
    }
}

// At the size of the board, unless the screen is too small for it: a man of
// the palette is the man of a light square of the diagram.
TEST_F(FontPalette, ClassicMenAreTheDiagramsMen) {
    ASSERT_NO_FATAL_FAILURE(StartShown(ShippedIn("Classic")));
    if (View()->grid().width != program.style.SQRWIDTH) {
        GTEST_SKIP() << "the palette is drawn smaller on this screen";
    }
    SetFen("8/8/8/8/8/8/8/3K4");  // d1 is a light square
    const QImage& picture = window->renderer().picture();
    const double r = picture.devicePixelRatio();
    const diagram::Point at = diagram::SquareOrigin(program.style, 7 * 8 + 3);
    const QImage board = picture.copy(QRectF(at.x / 15 * r, at.y / 15 * r, program.style.SQRWIDTH / 15 * r,
                                             program.style.SQRHEIGHT / 15 * r)
                                          .toRect());
    EXPECT_LT(Differing(Shown(IndexOf('K')), board), 0.01);
}

}  // namespace
