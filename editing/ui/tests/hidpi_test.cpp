// A font style on a high-density screen: drawn at the screen's density, and
// clicks still land on the squares they are shown on. Run once as is and
// once more with QT_SCALE_FACTOR=2 (see editing/CMakeLists.txt).

#include <QTest>

#include "diagram/geometry.h"
#include "diagram/render/renderer.h"
#include "diagram/ui/picture_view.h"
#include "editing/ui/tests/started_window.h"

namespace {

constexpr const char* kFontStyle =
    "RecentStyle = Classic\r\n"
    "BeginStyle = Classic\r\n"
    "  PiecesFont = DejaVu Sans\r\n"
    "  SqrWidth = 36\r\n"
    "  SqrHeight = 36\r\n"
    "  XBase = 10\r\n"
    "  YBase = 6\r\n"
    "EndStyle\r\n";

class HiDpi : public StartedWindow {
  protected:
    // Middle of a square of the standard board, in the picture's own pixels.
    QPoint Square(const char* name) const {
        const auto& s = program.style;
        const int d = (s.BORDERHEIGHT - (name[1] - '0')) * s.BORDERWIDTH + (name[0] - 'a');
        const diagram::Point at = diagram::SquareOrigin(s, d);
        return {static_cast<int>((at.x + s.SQRWIDTH / 2) / diagram::kTwipsPerPixel),
                static_cast<int>((at.y + s.SQRHEIGHT / 2) / diagram::kTwipsPerPixel)};
    }
};

TEST_F(HiDpi, FontStyleIsSharpAndClicksReachTheirSquares) {
    StartShown(kFontStyle);
    QWidget* picture = window->PicMain();
    const double ratio = picture->devicePixelRatioF();
    const QImage& drawn = window->renderer().picture();
    EXPECT_EQ(drawn.devicePixelRatio(), ratio);
    EXPECT_EQ(window->renderer().logicalSize(), QSize(8 * 36 + 20 + 4, 8 * 36 + 12 + 4));
    EXPECT_EQ(drawn.size(), (QSizeF(window->renderer().logicalSize()) * ratio).toSize());
    EXPECT_EQ(picture->size(), window->renderer().logicalSize());

    window->Text1()->setText("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
    QTest::mousePress(picture, Qt::LeftButton, {}, Square("e2"));
    QTest::mouseRelease(picture, Qt::LeftButton, {}, Square("e4"));
    EXPECT_EQ(window->Text1()->text().toStdString(), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR");
    QTest::mousePress(picture, Qt::RightButton, {}, Square("h8"));
    QTest::mouseRelease(picture, Qt::RightButton, {}, Square("h8"));
    EXPECT_EQ(window->Text1()->text().toStdString(), "rnbqkbn1/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR");
}

}  // namespace
