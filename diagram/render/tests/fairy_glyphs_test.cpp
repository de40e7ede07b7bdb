// What the squares of a font style show, read off the drawn pixels: turned
// men, markers, texts, chess symbols, and men solid at every size.

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QTransform>
#include <vector>

#include "diagram/render/renderer.h"

using namespace diagram;
using settings::Style;

namespace {

// Square colours far from both colours of the men: a magenta light square
// and teal hatching.
constexpr int32_t kLight = 0x00C800C8;
constexpr int32_t kDark = 0x00AAAA00;

Style GlyphStyle(const char* font, const std::string& glyphs, const std::string& letters) {
    Style s;
    s.PIECESFONT = font;
    s.PIECESLIST = letters;
    s.ENGLISHNOTATION = letters;
    s.PIECESGLYPHS = glyphs;
    s.LIGHTCOLOR = kLight;
    s.DARKCOLOR = kDark;
    return s;
}

// Square of piece index p at `pixels`, as a tile of the picture is drawn.
QImage DrawnSquare(const FontMen& men, int p, int pixels, bool dark = false) {
    QImage image(pixels, pixels, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    men.PaintSquare(painter, QRectF(0, 0, pixels, pixels), p, dark);
    return image;
}

int Distance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

bool IsGround(QRgb c) {
    return Distance(c, ToQColor(kLight).rgb()) < 60 || Distance(c, ToQColor(kDark).rgb()) < 60;
}
bool IsLight(QRgb c) {
    return qGray(c) > 215 && !IsGround(c);
}
bool IsInk(QRgb c) {
    return qGray(c) < 60;
}

// Pixels of the ground reached from the square's edge without crossing a
// pixel of the man: what lies outside it.
std::vector<bool> Outside(const QImage& image) {
    const int w = image.width();
    const int h = image.height();
    std::vector<bool> seen(static_cast<size_t>(w * h), false);
    std::vector<int> todo;
    for (int x = 0; x < w; ++x) {
        todo.push_back(x);
        todo.push_back((h - 1) * w + x);
    }
    for (int y = 0; y < h; ++y) {
        todo.push_back(y * w);
        todo.push_back(y * w + w - 1);
    }
    while (!todo.empty()) {
        const int k = todo.back();
        todo.pop_back();
        const int x = k % w;
        const int y = k / w;
        if (seen[static_cast<size_t>(k)] || !IsGround(image.pixel(x, y))) {
            continue;
        }
        seen[static_cast<size_t>(k)] = true;
        if (x > 0)
            todo.push_back(k - 1);
        if (x < w - 1)
            todo.push_back(k + 1);
        if (y > 0)
            todo.push_back(k - w);
        if (y < h - 1)
            todo.push_back(k + w);
    }
    return seen;
}

struct Body {
    int pixels = 0;       // of the man: everything the outside does not reach
    int light = 0;        // of them light
    int showThrough = 0;  // of them the square's colours
    double gray = 0;      // their lightness, summed (0 to 1 a pixel)
    double Lightness() const { return pixels > 0 ? gray / pixels : 0; }
};

Body BodyOf(const QImage& image) {
    const std::vector<bool> outside = Outside(image);
    Body body;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (outside[static_cast<size_t>(y * image.width() + x)]) {
                continue;
            }
            const QRgb c = image.pixel(x, y);
            ++body.pixels;
            body.light += IsLight(c) ? 1 : 0;
            body.showThrough += IsGround(c) ? 1 : 0;
            body.gray += qGray(c) / 255.0;
        }
    }
    return body;
}

// Share of pixels of a part of an image that pass a test.
template <typename Test>
double ShareIn(const QImage& image, const QRect& part, Test test) {
    int count = 0;
    for (int y = part.top(); y <= part.bottom(); ++y) {
        for (int x = part.left(); x <= part.right(); ++x) {
            count += test(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return static_cast<double>(count) / (part.width() * part.height());
}

// Mean lightness (0 to 1) of the pixels of a part of an image that are not
// the ground.
double Drawn(const QImage& image, const QRect& part) {
    double sum = 0;
    int count = 0;
    for (int y = part.top(); y <= part.bottom(); ++y) {
        for (int x = part.left(); x <= part.right(); ++x) {
            if (!IsGround(image.pixel(x, y))) {
                sum += qGray(image.pixel(x, y)) / 255.0;
                ++count;
            }
        }
    }
    return count > 0 ? sum / count : -1;
}

// The ink of an image as a mask, cut to its bounding box and brought to a
// fixed size, so that two drawings of a shape at other sizes compare.
QImage InkMask(const QImage& image, QRgb ground) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (Distance(image.pixel(x, y), ground) > 60) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    QImage mask = image.copy(box).scaled(64, 64, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            mask.setPixel(x, y, IsInk(mask.pixel(x, y)) ? 0xFF000000 : 0xFFFFFFFF);
        }
    }
    return mask;
}

// Intersection over union of the ink of two masks.
double Overlap(const QImage& a, const QImage& b) {
    int both = 0;
    int either = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const bool p = a.pixel(x, y) == 0xFF000000;
            const bool q = b.pixel(x, y) == 0xFF000000;
            both += p && q;
            either += p || q;
        }
    }
    return either == 0 ? 0 : static_cast<double>(both) / either;
}

TEST(FairyGlyphs, TurnedManIsTheUprightOneTurned) {
    // Men, a fairy man drawn as his letters, and a chess symbol, each with
    // its upright form first among the letters.
    const Style s = GlyphStyle("FreeSerif", "a=N45 b=N90 c=N315 d=n135 t='G u='G@90 v=U+1FA4E w=U+1FA4E@180",
                               "NabcdQtuvw");
    const bool symbols = QFontDatabase::hasFamily(QStringLiteral("Noto Sans Symbols2"));
    const FontMen men(s);
    const int size = 120;
    const QRgb ground = ToQColor(kLight).rgb();
    const struct {
        int p;
        int upright;
        int angle;
        bool black;
    } cases[] = {{2, 1, 45, false}, {3, 1, 90, false}, {4, 1, 315, false},
                 {5, 1, 135, true}, {8, 7, 90, false}, {10, 9, 180, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.p);
        if (c.upright == 9 && !symbols) {
            continue;
        }
        const QImage upright = DrawnSquare(men, c.upright, size);
        const QImage turned = DrawnSquare(men, c.p, size);
        // The upright man turned by the picture's own transformation: the
        // corners it uncovers are the ground.
        const auto turnedBy = [&](int angle) {
            QImage t = upright.transformed(QTransform().rotate(angle), Qt::SmoothTransformation);
            QImage framed(t.size(), QImage::Format_RGB32);
            framed.fill(ground);
            QPainter(&framed).drawImage(0, 0, t);
            return InkMask(framed, ground);
        };
        const QImage shape = InkMask(turned, ground);
        if (!c.black) {
            EXPECT_GT(Overlap(shape, turnedBy(c.angle)), 0.8);
            // Turned the other way, or not at all, it is another shape.
            if (c.angle != 180) {
                EXPECT_LT(Overlap(shape, turnedBy(-c.angle)), 0.7);
            }
            EXPECT_LT(Overlap(shape, InkMask(upright, ground)), 0.7);
        }
        // Turned or not, the man stays inside its square.
        const QRect edge(0, 0, size, 2);
        EXPECT_EQ(ShareIn(turned, edge, IsGround), 1.0);
        EXPECT_EQ(ShareIn(turned, QRect(0, 0, 2, size), IsGround), 1.0);
        EXPECT_EQ(ShareIn(turned, QRect(0, size - 2, size, 2), IsGround), 1.0);
        EXPECT_EQ(ShareIn(turned, QRect(size - 2, 0, 2, size), IsGround), 1.0);
    }
    // A black man turned is black.
    const Body black = BodyOf(DrawnSquare(men, 5, size));
    EXPECT_LT(black.light, black.pixels / 4);
}

TEST(FairyGlyphs, MarkersShowInTheirColours) {
    const char* names[] = {"circle", "cross", "square", "triangle", "asterisk", "disc"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        std::string upper = name;
        for (char& ch : upper) {
            ch = static_cast<char>(ch - 'a' + 'A');
        }
        const Style s =
            GlyphStyle("FreeSerif", std::string("b=") + name + " w=" + upper + " n=" + name + "~", "bwn");
        const FontMen men(s);
        for (const int size : {20, 45, 90}) {
            SCOPED_TRACE(size);
            for (const bool dark : {false, true}) {
                const QImage black = DrawnSquare(men, 1, size, dark);
                const QImage white = DrawnSquare(men, 2, size, dark);
                const QImage neutral = DrawnSquare(men, 3, size, dark);
                const QRect all(0, 0, size, size);
                const QRect left(0, 0, size / 2, size);
                const QRect right(size - size / 2, 0, size / 2, size);
                // Black is dark, white light, neutral white on the left and
                // black on the right: by the mean lightness of what is drawn.
                EXPECT_GT(ShareIn(black, all, IsInk), 0.04);
                EXPECT_LT(Drawn(black, all), 0.35);
                EXPECT_GT(Drawn(white, all) - Drawn(black, all), 0.2);
                EXPECT_GT(Drawn(neutral, left) - Drawn(neutral, right), 0.15);
                // Centred: as much on the left as on the right, and nothing
                // on the square's edge.
                const double l = 1 - ShareIn(black, left, IsGround);
                const double r = 1 - ShareIn(black, right, IsGround);
                EXPECT_NEAR(l, r, 0.2 * std::max(l, r));
                EXPECT_EQ(ShareIn(white, QRect(0, 0, size, 1), IsGround), 1.0);
                EXPECT_EQ(ShareIn(black, QRect(0, size - 1, size, 1), IsGround), 1.0);
            }
        }
    }
}

// On the board: the marker's square, and only it, changes.
TEST(FairyGlyphs, MarkerLandsOnItsSquare) {
    Style s = GlyphStyle("FreeSerif", "m=circle M=CROSS", "mM");
    s.SQRWIDTH = s.SQRHEIGHT = 30 * 15;
    Renderer renderer;
    position::Vet vet;
    renderer.Redraw(vet, "8/8/8/8/8/8/8/8", s, 0);
    const QImage empty = renderer.picture().copy();
    renderer.Redraw(vet, "8/8/2m5/8/8/5M2/8/8", s, 0);
    const QImage marked = renderer.picture();
    const diagram::Point c6 = SquareOrigin(renderer.style(), 2 * 8 + 2);
    const diagram::Point f3 = SquareOrigin(renderer.style(), 5 * 8 + 5);
    for (int y = 0; y < marked.height(); ++y) {
        for (int x = 0; x < marked.width(); ++x) {
            const bool inC6 = QRect(c6.x / 15, c6.y / 15, 30, 30).contains(x, y);
            const bool inF3 = QRect(f3.x / 15, f3.y / 15, 30, 30).contains(x, y);
            if (!inC6 && !inF3 && marked.pixel(x, y) != empty.pixel(x, y)) {
                ADD_FAILURE() << "changed at " << x << ", " << y;
                return;
            }
        }
    }
    EXPECT_GT(ShareIn(marked, QRect(c6.x / 15, c6.y / 15, 30, 30), IsInk), 0.05);
    EXPECT_GT(ShareIn(marked, QRect(f3.x / 15, f3.y / 15, 30, 30), IsLight), 0.03);
}

TEST(FairyGlyphs, TextsShow) {
    const Style s = GlyphStyle("DejaVu Sans", "a='A b='AB c=''12 d='W", "abcd");
    const FontMen men(s);
    for (const int size : {20, 45, 100}) {
        SCOPED_TRACE(size);
        const QRgb ground = ToQColor(kLight).rgb();
        std::vector<QRect> boxes;
        for (int p = 1; p <= 4; ++p) {
            const QImage square = DrawnSquare(men, p, size);
            QRect box;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    if (IsInk(square.pixel(x, y))) {
                        box |= QRect(x, y, 1, 1);
                    }
                }
            }
            ASSERT_FALSE(box.isEmpty()) << p;
            EXPECT_TRUE(QRect(1, 1, size - 2, size - 2).contains(box)) << p;
            EXPECT_NEAR(box.center().x(), size / 2.0, size * 0.08) << p;
            EXPECT_NEAR(box.center().y(), size / 2.0, size * 0.1) << p;
            boxes.push_back(box);
            EXPECT_EQ(Distance(square.pixel(0, 0), ground), 0);
        }
        EXPECT_GT(boxes[1].width(), boxes[0].width() * 1.3);  // two letters
        EXPECT_GT(boxes[2].width(), boxes[0].width());        // "''12" is two characters
        EXPECT_NEAR(boxes[0].height(), boxes[3].height(), size * 0.05);
    }
}

TEST(FairyGlyphs, ChessSymbolsDraw) {
    if (!QFontDatabase::hasFamily(QStringLiteral("Noto Sans Symbols2"))) {
        GTEST_SKIP() << "Noto Sans Symbols2 (fonts-noto-core) is not installed";
    }
    const Style s = GlyphStyle("FreeSerif", "e=U+1FA4E f=U+1FA00 g=U+1FA53 h=U+265A", "efghK");
    const FontMen men(s);
    const int size = 60;
    std::vector<QImage> drawn;
    for (int p = 1; p <= 5; ++p) {
        drawn.push_back(DrawnSquare(men, p, size));
        const Body body = BodyOf(drawn.back());
        EXPECT_GT(body.pixels, size * size / 8) << p;
        EXPECT_GT(ShareIn(drawn.back(), QRect(0, 0, size, size), IsInk), 0.05) << p;
        EXPECT_EQ(body.showThrough, 0) << p;
    }
    for (int p = 1; p < 4; ++p) {
        EXPECT_NE(drawn[static_cast<size_t>(p - 1)], drawn[static_cast<size_t>(p)]) << p;
    }
    // The symbol font's king is about as large as the style's own.
    const Body symbolKing = BodyOf(drawn[3]);
    const Body styleKing = BodyOf(drawn[4]);
    EXPECT_NEAR(symbolKing.pixels, styleKing.pixels, styleKing.pixels * 0.35);
}

struct SolidCase {
    const char* font;
    int pixels;
};

class SolidMen : public ::testing::TestWithParam<SolidCase> {};

// Nothing of the square, plain or hatched, shows through a man; a white
// man's body is light, a black man's dark with its details light.
TEST_P(SolidMen, NoSquareShowsThroughAMan) {
    const SolidCase& c = GetParam();
    if (!QFontDatabase::hasFamily(QString::fromLatin1(c.font))) {
        GTEST_SKIP() << c.font << " is not installed";
    }
    Style s = GlyphStyle(c.font, "", "pPnNbBrRqQkK");
    s.DARKHATCH = 1;
    const FontMen men(s);
    for (int p = 1; p <= 12; p += 2) {
        const char kind = s.PIECESLIST[static_cast<size_t>(p - 1)];
        for (const bool dark : {false, true}) {
            SCOPED_TRACE(testing::Message()
                         << "man " << kind << (dark ? " on a hatched square" : " on a light square"));
            const Body black = BodyOf(DrawnSquare(men, p, c.pixels, dark));
            const Body white = BodyOf(DrawnSquare(men, p + 1, c.pixels, dark));
            for (const Body& body : {black, white}) {
                EXPECT_GT(body.pixels, c.pixels * c.pixels / 10);
                EXPECT_LE(body.showThrough, 1 + body.pixels / 100);
            }
            EXPECT_GT(white.Lightness() - black.Lightness(), kind == 'q' ? 0.12 : 0.18);
            if (c.pixels >= 36) {
                EXPECT_GT(white.light, white.pixels * (kind == 'q' ? 0.1 : 0.2));
                EXPECT_LT(black.light, black.pixels * 0.3);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Fonts, SolidMen, ::testing::ValuesIn([] {
                             std::vector<SolidCase> cases;
                             for (const char* font : {"FreeSerif", "DejaVu Sans", "Noto Sans Symbols2"}) {
                                 for (const int pixels : {12, 20, 36, 45, 60, 150, 300}) {
                                     cases.push_back({font, pixels});
                                 }
                             }
                             return cases;
                         }()),
                         [](const testing::TestParamInfo<SolidCase>& info) {
                             std::string name = info.param.font;
                             std::erase(name, ' ');
                             return name + "_" + std::to_string(info.param.pixels);
                         });

}  // namespace

namespace {

// The ground a man seals in is found once for a size and moved to each
// square: a row of squares shows the same man on each, also off the pixel
// grid.
TEST(SolidMenOnABoard, EverySquareAlike) {
    const Style s = GlyphStyle("DejaVu Sans", "", "qQ");
    const FontMen men(s);
    const int size = 20;
    for (const double offset : {0.0, 0.5}) {
        SCOPED_TRACE(offset);
        QImage row(size * 3 + 2, size + 2, QImage::Format_RGB32);
        row.fill(Qt::white);
        QPainter painter(&row);
        painter.setRenderHint(QPainter::Antialiasing);
        for (int i = 0; i < 3; ++i) {
            men.PaintSquare(painter, QRectF(offset + i * size, offset, size, size), 2, false);
        }
        painter.end();
        // Inside the squares: their edge pixels may share with the next.
        const QImage first = row.copy(1, 1, size - 1, size - 1);
        for (int i = 1; i < 3; ++i) {
            EXPECT_EQ(row.copy(i * size + 1, 1, size - 1, size - 1), first) << i;
        }
        if (offset == 0) {
            EXPECT_LE(BodyOf(row.copy(0, 0, size, size)).showThrough, 1);
        }
    }
}

}  // namespace
