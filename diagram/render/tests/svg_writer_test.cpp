// The SVG text the renderer writes: drawn by an SVG viewer, it is the
// picture; and what it keeps from one position to the next never goes stale.

#include <gtest/gtest.h>

#include <QPainter>
#include <QSvgRenderer>

#include "diagram/render/export.h"
#include "diagram/render/tests/image_diff.h"

using namespace diagram;
using settings::Style;

namespace {

using testsupport::Differing;

Style FontStyle(int squarePixels) {
    Style s;
    s.PIECESFONT = "FreeSerif";
    s.SQRWIDTH = s.SQRHEIGHT = static_cast<int16_t>(squarePixels * 15);
    s.LIGHTCOLOR = 0x00C0E0F0;
    s.DARKCOLOR = 0x00408040;
    return s;
}

Style Lettered(Style s) {
    s.SHOWGRID = 1;
    s.FONTNAME = "DejaVu Sans";
    s.FONTSIZE = 9;
    s.XBASE = 22 * 15;
    s.YBASE = 14 * 15;
    s.FONTXBASE = 7 * 15;
    s.FONTYBASE = 303 * 15;
    s.FRAMEWIDTH = 2;
    s.WNDWIDTH = s.WNDHEIGHT = 0;
    return s;
}

QImage Viewed(const QByteArray& svg, QSize size) {
    QSvgRenderer viewer(svg);
    EXPECT_TRUE(viewer.isValid());
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    viewer.render(&painter, QRectF(0, 0, size.width(), size.height()));
    painter.end();
    return image;
}

struct Drawn {
    Renderer renderer;
    position::Vet vet;
    Style style;
    int reversed = 0;

    Drawn(Style s, int turned) : style(std::move(s)) {
        renderer.DrawBoard(style, 0);
        reversed = turned != 0 ? style.BORDERHEIGHT * style.BORDERWIDTH + 1 : 0;
        renderer.DrawBoard(style, reversed);
        position::ResetVet(vet, style.Shape());
    }
    void Show(const std::string& fen) { renderer.Build(vet, fen, style, reversed); }
    QByteArray Svg() const { return DiagramSvg(renderer, style, vet, reversed); }
};

Style Fairy() {
    Style s = Lettered(FontStyle(40));
    s.PIECESLIST = "pPnNbBrRqQkKxX";
    s.ENGLISHNOTATION = "pPnNbBrRqQkKxX";
    s.PIECESGLYPHS = "x=q~ X=R90";
    s.DARKHATCH = 1;
    return s;
}

TEST(SvgWriter, ViewedItIsThePicture) {
    struct Case {
        const char* name;
        Style style;
        int reversed;
        const char* fen;
        double tolerance = 0.02;
    };
    const Case cases[] = {
        {"font", FontStyle(30), 0, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR"},
        {"lettered, turned", Lettered(FontStyle(36)), 1, "r3k2r/8/8/3Qq3/8/8/8/R3K2R"},
        // Lines a pixel wide fall on whole pixels as the viewer rounds them:
        // the hatching is there, its pixels may lie one over.
        {"neutral, turned man, hatched", Fairy(), 0, "x6X/8/8/8/8/8/8/K6k", 0.3},
        {"bitmap", Style{}, 0, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR"},
        {"bitmap, lettered", Lettered(Style{}), 1, "4k3/8/8/8/8/8/8/4K3"},
    };
    for (const Case& c : cases) {
        Drawn d(c.style, c.reversed);
        d.Show(c.fen);
        d.renderer.DrawStroke({OverlayStroke::kLine, 300, 300, 1500, 900, 0, 3, 0xFF});
        d.renderer.DrawStroke({OverlayStroke::kCircle, 1200, 1200, 0, 0, 300, 2, 0xFF0000});
        const QImage picture =
            DiagramImage(d.renderer, d.style, d.vet, d.reversed).convertToFormat(QImage::Format_RGB32);
        EXPECT_LT(Differing(Viewed(d.Svg(), picture.size()), picture), c.tolerance) << c.name;
        EXPECT_EQ(d.Svg().count("crispEdges") > 0, c.style.DARKHATCH == 1) << c.name;
    }
}

TEST(SvgWriter, WhatItKeepsFollowsThePositionTurnAndStyle) {
    const char* first = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";
    const char* second = "4k3/8/8/8/8/8/8/R3K2R";
    for (const Style& style : {Lettered(FontStyle(30)), Lettered(Style{})}) {
        // A renderer that has written one position writes the next as a
        // fresh one does.
        Drawn used(style, 0);
        used.Show(first);
        const QByteArray one = used.Svg();
        EXPECT_EQ(used.Svg(), one);
        used.Show(second);
        Drawn fresh(style, 0);
        fresh.Show(second);
        EXPECT_EQ(used.Svg(), fresh.Svg());
        EXPECT_NE(used.Svg(), one);

        // Turned, and back in another style, after DrawBoard.
        Drawn turned(style, 1);
        turned.Show(second);
        used.reversed = turned.reversed;
        used.renderer.DrawBoard(used.style, used.reversed);
        position::ResetVet(used.vet, used.style.Shape());
        used.Show(second);
        EXPECT_EQ(used.Svg(), turned.Svg());
        used.style.BACKCOLOR = 0x123456;
        used.style.WNDWIDTH = used.style.WNDHEIGHT = 0;
        used.renderer.DrawBoard(used.style, used.reversed);
        position::ResetVet(used.vet, used.style.Shape());
        used.Show(second);
        EXPECT_TRUE(used.Svg().contains("#563412"));
    }
}

TEST(SvgWriter, TextIsEscaped) {
    // Lettering of a style is its own text: the font's name goes into an
    // attribute as it is written.
    Style s = Lettered(FontStyle(30));
    s.FONTNAME = "A & \"B\" <C>";
    Drawn d(s, 0);
    d.Show("K7/8/8/8/8/8/8/7k");
    EXPECT_TRUE(QSvgRenderer(d.Svg()).isValid());
    EXPECT_TRUE(d.Svg().contains("A &amp; &quot;B&quot; &lt;C&gt;")) << d.Svg().left(600).toStdString();
}

}  // namespace
