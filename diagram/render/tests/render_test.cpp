// The render entry: a pure function of the text, the style and the options.
// Drawing and saving leave the style as it was, and the diagram the window
// keeps encodes to the same bytes as one drawn from scratch.

#include <gtest/gtest.h>

#include <cmath>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "diagram/render/export.h"
#include "diagram/render/render.h"
#include "settings/settings_file.h"

using namespace diagram;
using settings::Style;

namespace {

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

struct OddStyle {
    const char* name;
    Style style;
};

// Styles whose drawing computes what they leave open: pitches and picture
// size of 0, boards too large or empty, spacing, a font style. The bitmap
// styles' squares are the built-in pieces bitmap's cells.
std::vector<OddStyle> OddStyles() {
    std::vector<OddStyle> styles;
    Style pitches;
    pitches.CurrentStyle = "Pitches";
    pitches.SQRHSPC = 30;
    pitches.XBASE = 75;
    pitches.FRAMEWIDTH = 2;
    styles.push_back({"pitches 0", pitches});
    Style oversized = pitches;
    oversized.CurrentStyle = "Oversized";
    oversized.BORDERWIDTH = 25;
    oversized.BORDERHEIGHT = 20;
    styles.push_back({"500 squares", oversized});
    Style empty = pitches;
    empty.CurrentStyle = "Empty";
    empty.BORDERWIDTH = 0;
    styles.push_back({"no columns", empty});
    Style font = pitches;
    font.CurrentStyle = "Font";
    font.PIECESFONT = "FreeSerif";
    font.SQRWIDTH = 450;
    font.SQRHEIGHT = 390;
    font.BORDERWIDTH = font.BORDERHEIGHT = 10;
    font.SHOWGRID = 1;
    font.FONTNAME = "DejaVu Sans";
    font.FONTPOS = "CENTER DOWN";
    styles.push_back({"font 10 x 10", font});
    Style sized = oversized;
    sized.CurrentStyle = "Sized";
    sized.WNDWIDTH = 3000;
    sized.SQRVTAB = 225;
    sized.SQRVSPC = 45;
    styles.push_back({"stored size", sized});
    return styles;
}

TEST(Render, LeavesTheStyleAsItWas) {
    for (const OddStyle& odd : OddStyles()) {
        for (const ImageFormat format :
             {ImageFormat::kBmp, ImageFormat::kPng, ImageFormat::kSvg, ImageFormat::kPdf}) {
            for (const bool reversed : {false, true}) {
                const Style before = odd.style;
                Style style = odd.style;
                RenderOptions options;
                options.format = format;
                options.reversed = reversed;
                options.scale = reversed ? 1.5 : 1;
                options.captions.above = {"A. Author"};
                options.captions.stipulation = "#2";
                const RenderResult drawn = Render(kStart, style, options);
                const std::string what = std::string(odd.name) + " as " + FormatName(format);
                EXPECT_TRUE(drawn.ok()) << what << ": " << drawn.error;
                EXPECT_FALSE(drawn.bytes.isEmpty()) << what;
                EXPECT_EQ(style, before) << what;

                Renderer renderer;
                renderer.DrawBoard(style, reversed ? 1 : 0);
                EXPECT_EQ(style, before) << what << ", DrawBoard";
            }
        }
    }
}

TEST(Render, SavingLeavesTheStyleAndWritesItTheSameEachTime) {
    for (const OddStyle& odd : OddStyles()) {
        Style style = odd.style;
        const std::string first = settings::StyleBlock(style);
        EXPECT_EQ(style, odd.style) << odd.name;
        // A second save writes what the first did: saving once set an
        // oversized board back to 8 x 8, and the next save lost its size.
        EXPECT_EQ(settings::StyleBlock(style), first) << odd.name;
        settings::StyleWrite mode = settings::StyleWrite::kSave;
        const std::string file = settings::WriteStyleText(style, nullptr, mode);
        EXPECT_EQ(style, odd.style) << odd.name;
        EXPECT_NE(file.find(first), std::string::npos) << odd.name;
        (void)settings::ComputedPictureSize(style);
        EXPECT_EQ(style, odd.style) << odd.name;
    }
}

TEST(Render, DrawsFromTheComputedGeometry) {
    // The picture is as large as the computed geometry makes it, whatever
    // the style leaves open, and an oversized board is drawn as 8 x 8.
    for (const OddStyle& odd : OddStyles()) {
        const Style resolved = Resolved(odd.style);
        EXPECT_EQ(Resolved(resolved), resolved) << odd.name;
        EXPECT_NE(resolved.SQRHTAB, 0) << odd.name;
        EXPECT_LE(resolved.BORDERHEIGHT * resolved.BORDERWIDTH, position::kMaxSquares) << odd.name;
        RenderOptions options;
        const RenderResult drawn = Render(kStart, odd.style, options);
        ASSERT_TRUE(drawn.ok()) << odd.name;
        EXPECT_EQ(drawn.image.width(), std::lround(resolved.WNDWIDTH / 15.0)) << odd.name;
        EXPECT_EQ(drawn.image.height(), std::lround(resolved.WNDHEIGHT / 15.0)) << odd.name;
    }
}

TEST(Render, TheKeptPictureEncodesAsAFreshOne) {
    // The window and the book export keep their picture from one position
    // to the next and encode it with EncodeDrawn: after any sequence of
    // positions the bytes are those the render entry draws at once.
    const char* const positions[] = {"8/8/8/8/8/8/8/8", kStart, "4k3/8/8/3Q4/8/8/8/4K3"};
    for (const OddStyle& odd : OddStyles()) {
        for (const ImageFormat format : {ImageFormat::kBmp, ImageFormat::kSvg}) {
            for (const bool reversed : {false, true}) {
                Style window = odd.style;
                ApplyComputedGeometry(window);
                const int code = FollowBoardSize(reversed ? 1 : 0, window);
                Renderer renderer;
                position::Vet vet;
                renderer.Redraw(vet, positions[0], window, code);
                for (const char* text : positions) {
                    renderer.Build(vet, text, window, code);
                }
                RenderOptions options;
                options.format = format;
                options.reversed = reversed;
                const std::string what =
                    std::string(odd.name) + " as " + FormatName(format) + (reversed ? ", reversed" : "");
                const QByteArray fresh = Render(positions[2], odd.style, options).bytes;
                ASSERT_FALSE(fresh.isEmpty()) << what;
                EXPECT_EQ(EncodeDrawn(renderer, vet, options).bytes, fresh) << what;
            }
        }
    }
}

TEST(Render, ReportsWhatItCannotDo) {
    RenderOptions options;
    options.scale = 1e9;
    const RenderResult tooLarge = Render(kStart, Style{}, options);
    EXPECT_FALSE(tooLarge.ok());
    EXPECT_TRUE(tooLarge.bytes.isEmpty());

    RenderResult failed;
    failed.error = "the diagram could not be drawn as BMP";
    std::string error;
    EXPECT_FALSE(WriteRendered(failed, "/nonexistent/never.bmp", &error));
    EXPECT_EQ(error, failed.error);
    const RenderResult drawn = Render(kStart, Style{}, RenderOptions{});
    EXPECT_FALSE(WriteRendered(drawn, "/nonexistent/folder/d.bmp", &error));
    EXPECT_FALSE(error.empty());
}

TEST(Render, CaptionedFilesReplaceALinkFoundAtTheName) {
    // With captions as without: a link planted at the name is replaced, and
    // the file it points at stays as it was.
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("kept.txt"));
    QFile kept(target);
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write("kept");
    kept.close();
    const QString path = dir.filePath(QStringLiteral("d.png"));
    ASSERT_TRUE(QFile::link(target, path));
    DiagramRequest request{Style{}, kStart, false, 1, ImageFormat::kPng};
    CaptionText captions;
    captions.stipulation = "#2";
    QString error;
    ASSERT_TRUE(RenderDiagramFile(request, path, &error, captions)) << error.toStdString();
    EXPECT_FALSE(QFileInfo(path).isSymLink());
    EXPECT_FALSE(QImage(path).isNull());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("kept"));
}

}  // namespace
