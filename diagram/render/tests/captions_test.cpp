// Captions around the diagram: where their lines stand, that they never
// reach over the board or past its width, and that no record leaves the
// diagram as it was.

#include <gtest/gtest.h>

#include <QFile>
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
    EXPECT_TRUE(text.contains(QString::fromUtf8("…</text>")));
    EXPECT_FALSE(text.contains("end</text>"));
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

}  // namespace
