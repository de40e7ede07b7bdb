// Captions around the diagram: where their lines stand, that they never
// reach over the board or past its width, and that no record leaves the
// diagram as it was.

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "diagram/render/captions.h"
#include "diagram/render/export.h"
#include "diagram/render/tests/caption_samples.h"

using namespace diagram;

namespace {

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

using testsupport::CaptionRecord;
using testsupport::CaptionStyle;

QByteArray Render(const settings::Style& style, const char* fen, ImageFormat format,
                  const CaptionText& captions) {
    QTemporaryDir dir;
    DiagramRequest request;
    request.style = style;
    request.text = fen;
    request.format = format;
    const QString path = dir.filePath(QStringLiteral("d"));
    EXPECT_TRUE(RenderDiagramFile(request, path, nullptr, captions));
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(Captions, LinesOfTheClassicLayout) {
    const CaptionText c = CaptionsOf(CaptionRecord(), {8, 9, 0});
    EXPECT_EQ(c.above,
              (std::vector<std::string>{"Sam Loyd and Вася Пупкин", "The Problemist, 1923, 1st Prize"}));
    EXPECT_EQ(c.stipulation, "#2");
    EXPECT_EQ(c.count, "(8+9)");
    EXPECT_EQ(c.below, (std::vector<std::string>{"Circe", "b) wKe1->e2", "G = Grasshopper"}));
    EXPECT_EQ(CaptionsOf({}, {3, 11, 1}), CaptionText{});
    position::ProblemRecord only;
    only.stipulation = "h#2";
    EXPECT_EQ(CaptionsOf(only, {3, 11, 1}).count, "(3+11+1n)");
    EXPECT_EQ(CaptionsOf(only, {3, 11, 1}).LinesAbove(), 0);
    EXPECT_EQ(CaptionsOf(only, {3, 11, 1}).LinesBelow(), 1);
}

TEST(Captions, AnEmptyRecordLeavesEveryFormatAsItWas) {
    const settings::Style style = CaptionStyle();
    for (ImageFormat format : {ImageFormat::kBmp, ImageFormat::kPng, ImageFormat::kSvg}) {
        EXPECT_EQ(Render(style, kStart, format, {}),
                  Render(style, kStart, format, CaptionsOf({}, {16, 16, 0})))
            << FormatName(format);
    }
}

TEST(Captions, ImageBandsAboveAndBelowTheUnchangedBoard) {
    const settings::Style style = CaptionStyle();
    const QImage board = QImage::fromData(Render(style, kStart, ImageFormat::kPng, {}));
    const CaptionText c = CaptionsOf(CaptionRecord(), {16, 16, 0});
    const QImage out = QImage::fromData(Render(style, kStart, ImageFormat::kPng, c));
    QImage probe(1, 1, QImage::Format_RGB32);
    const CaptionGeometry g = MeasureCaptions(c, CaptionFont(style), board.size(), &probe);
    ASSERT_EQ(out.width(), board.width());
    ASSERT_EQ(out.height(), g.above + board.height() + g.below);
    EXPECT_GT(g.above, 2 * g.lineHeight - 1);
    EXPECT_GT(g.below, 4 * g.lineHeight - 1);
    // The board is copied untouched between the bands.
    EXPECT_EQ(out.copy(0, g.above, board.width(), board.height()).convertToFormat(QImage::Format_RGB32),
              board.convertToFormat(QImage::Format_RGB32));
    // Ink in each band: the text lines are drawn.
    const auto inked = [&out](int top, int bottom) {
        for (int y = top; y < bottom; ++y) {
            for (int x = 0; x < out.width(); ++x) {
                if (qGray(out.pixel(x, y)) < 128) {
                    return true;
                }
            }
        }
        return false;
    };
    EXPECT_TRUE(inked(0, g.lineHeight));
    EXPECT_TRUE(inked(g.above + board.height(), g.above + board.height() + g.lineHeight));
    EXPECT_TRUE(inked(out.height() - g.lineHeight, out.height()));
}

TEST(Captions, SvgTextStandsAboveAndBelowAndFitsTheWidth) {
    settings::Style style = CaptionStyle();
    position::ProblemRecord r = CaptionRecord();
    r.source = std::string(200, 'x') + " <&> end";
    const QByteArray svg = Render(style, kStart, ImageFormat::kSvg, CaptionsOf(r, {3, 11, 1}));
    const QString text = QString::fromUtf8(svg);
    EXPECT_TRUE(text.contains(QString::fromUtf8(">Sam Loyd and Вася Пупкин</text>")))
        << text.left(2000).toStdString();
    EXPECT_TRUE(text.contains(">#2</text>"));
    EXPECT_TRUE(text.contains("text-anchor=\"end\">(3+11+1n)</text>"));
    // The word too long for any line is elided; what follows it goes on.
    EXPECT_TRUE(text.contains(QString::fromUtf8("…</text>")));
    EXPECT_TRUE(text.contains(QStringLiteral(">&lt;&amp;&gt; end, 1923, 1st Prize</text>")) ||
                text.contains(QStringLiteral(">&lt;&amp;&gt; end, 1923, 1st</text>")))
        << text.toStdString();
    // Captions above the board's group, the stipulation line under it.
    const int group = text.indexOf("<g transform=\"translate(0 ");
    ASSERT_GT(group, 0);
    const int above = text.mid(group + 26).section(')', 0, 0).toInt();
    const auto yOf = [&text](const QString& what) {
        const int at = text.indexOf(what);
        const int line = text.lastIndexOf("<text", at);
        return text.mid(line).section("y=\"", 1, 1).section('"', 0, 0).toInt();
    };
    EXPECT_LT(yOf(QStringLiteral(">Sam Loyd")), above);
    EXPECT_GT(yOf(QStringLiteral(">#2<")), above + 8 * 40);
    EXPECT_EQ(yOf(QStringLiteral(">#2<")), yOf(QStringLiteral(">(3+11+1n)<")));
    EXPECT_GT(yOf(QStringLiteral(">Circe<")), yOf(QStringLiteral(">#2<")));
}

TEST(Captions, PdfCaptionsAreText) {
    const QByteArray pdf =
        Render(CaptionStyle(), kStart, ImageFormat::kPdf, CaptionsOf(CaptionRecord(), {16, 16, 0}));
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    // Text drawn as text brings its font into the file; a picture would not.
    EXPECT_TRUE(pdf.contains("/FontFile") || pdf.contains("/Font")) << pdf.size();
}

TEST(Captions, WrapBreaksAtBlanksAndElidesOnlyWordsTooLong) {
    QImage probe(1, 1, QImage::Format_RGB32);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    const QFontMetricsF metrics(font, &probe);
    const auto width = [&metrics](const char* text) {
        return metrics.horizontalAdvance(QString::fromUtf8(text));
    };
    const QString ellipsis = QString::fromUtf8("…");
    struct Case {
        const char* text;
        qreal room;
        QStringList lines;  ///< Expected exactly; empty to check only the rules.
    };
    const Case cases[] = {
        {"Sam Loyd", width("Sam Loyd"), {"Sam Loyd"}},
        {"  Sam   Loyd ", width("Sam Loyd"), {"Sam Loyd"}},
        {"   ", 100, {}},
        {"", 100, {}},
        {"Sam Loyd", width("Sam Loyd") - 1, {"Sam", "Loyd"}},
        {"Вася Пупкин", width("Пупкин"), {QString::fromUtf8("Вася"), QString::fromUtf8("Пупкин")}},
        {"alpha beta gamma delta epsilon zeta eta theta iota kappa", width("alpha beta gamma"), {}},
        {"a Grasshopperlikewordfarwiderthanitsline b", width("Grasshopper"), {}},
        {"Nightrider", 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const QStringList lines = WrapCaption(QString::fromUtf8(c.text), font, &probe, c.room);
        if (!c.lines.isEmpty() || QString::fromUtf8(c.text).trimmed().isEmpty() || c.room == 0) {
            EXPECT_EQ(lines, c.lines);
        }
        QStringList words;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            EXPECT_LE(metrics.horizontalAdvance(lines[i]), c.room) << lines[i].toStdString();
            EXPECT_FALSE(lines[i].isEmpty());
            if (lines[i].endsWith(ellipsis)) {
                // An elided word stands alone, cut after a whole character.
                EXPECT_FALSE(lines[i].contains(QLatin1Char(' ')));
                EXPECT_TRUE(QString::fromUtf8(c.text).contains(lines[i].chopped(1)));
                continue;
            }
            words += lines[i].split(QLatin1Char(' '));
            // Filled greedily: the next line's first word did not fit here.
            if (i + 1 < lines.size() && !lines[i + 1].endsWith(ellipsis)) {
                const QString next = lines[i + 1].section(QLatin1Char(' '), 0, 0);
                EXPECT_GT(metrics.horizontalAdvance(lines[i] + QLatin1Char(' ') + next), c.room);
            }
        }
        for (const QString& word : std::as_const(words)) {
            EXPECT_TRUE(QString::fromUtf8(c.text).contains(word));
        }
    }
}

TEST(Captions, LongLinesWrapAndThePictureGrowsAroundTheUnchangedBoard) {
    settings::Style style;  // the program's own small board
    style.FONTNAME = "DejaVu Sans";
    position::ProblemRecord r = CaptionRecord();
    r.authors = {"Johann Nepomuk Berger", "Вася Пупкин", "Samuel Loyd"};
    r.source = "Deutsche Schachzeitung Problemturnier zum hundertsten Geburtstag";
    r.legend = {{"G", "Grasshopper"}, {"N", "Nightrider"}, {"L", "Supercalifragilisticgrasshopper"}};
    const CaptionText c = CaptionsOf(r, {16, 16, 0});
    const QImage board = QImage::fromData(Render(style, kStart, ImageFormat::kPng, {}));
    const QImage out = QImage::fromData(Render(style, kStart, ImageFormat::kPng, c));
    QImage probe(1, 1, QImage::Format_RGB32);
    const CaptionGeometry g = MeasureCaptions(c, CaptionFont(style), board.size(), &probe);
    const QFontMetricsF metrics(CaptionFont(style), &probe);
    // More lines than fields: the long ones were wrapped, not cut short.
    EXPECT_GT(g.above, (c.LinesAbove() + 2) * g.lineHeight);
    EXPECT_GT(static_cast<int>(g.lines.size()), c.LinesAbove() + c.LinesBelow() + 3);
    for (const CaptionLine& line : g.lines) {
        const qreal left = line.alignRight ? line.x - metrics.horizontalAdvance(line.text) : line.x;
        EXPECT_GE(left, g.margin - 0.01) << line.text.toStdString();
        EXPECT_LE(left + metrics.horizontalAdvance(line.text), g.width - g.margin + 0.01)
            << line.text.toStdString();
        const bool overBoard =
            line.baseline > g.above - g.margin / 2 && line.baseline - g.ascent < g.above + g.boardHeight;
        EXPECT_FALSE(overBoard) << line.text.toStdString();
    }
    ASSERT_EQ(out.size(), QSize(board.width(), g.Height()));
    EXPECT_EQ(out.copy(0, g.above, board.width(), board.height()).convertToFormat(QImage::Format_RGB32),
              board.convertToFormat(QImage::Format_RGB32));

    // The SVG holds the same lines, as text.
    const QString svg = QString::fromUtf8(Render(style, kStart, ImageFormat::kSvg, c));
    EXPECT_EQ(svg.count(QStringLiteral("<text ")), static_cast<qsizetype>(g.lines.size()));
    EXPECT_TRUE(svg.contains(QString::fromUtf8(">Пупкин")) || svg.contains(QString::fromUtf8(" Пупкин")))
        << svg.toStdString();
    EXPECT_TRUE(svg.contains(QString::fromUtf8("…</text>")));
}

TEST(Captions, PaletteKeepsEveryPixel) {
    QImage few(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < few.height(); ++y) {
        for (int x = 0; x < few.width(); ++x) {
            few.setPixel(x, y, qRgb((x * 37 + y) % 200, y * 8, 255 - x));
        }
    }
    // 40 * 30 pixels, far from all of them alike: more than 256 colours.
    EXPECT_EQ(PalettedImage(few).format(), QImage::Format_RGB32);
    for (int y = 0; y < few.height(); ++y) {
        for (int x = 0; x < few.width(); ++x) {
            few.setPixel(x, y, qRgb((x % 16) * 16, (y % 16) * 16, 0));  // just 256 colours
        }
    }
    const QImage paletted = PalettedImage(few);
    ASSERT_EQ(paletted.format(), QImage::Format_Indexed8);
    EXPECT_EQ(paletted.colorCount(), 256);
    EXPECT_EQ(paletted.convertToFormat(QImage::Format_RGB32), few);
}

}  // namespace
