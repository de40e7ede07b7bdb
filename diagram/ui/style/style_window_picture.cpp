// The style window's picture size: the lock that says whether it follows
// the board, the reset, the scroll bars that size the diagram by pixels, a
// font style's lettering kept in the picture, and the window's place beside
// the main window.

#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "diagram/geometry.h"
#include "diagram/render/renderer.h"
#include "diagram/ui/host.h"
#include "diagram/ui/picture_view.h"
#include "diagram/ui/style/pick_color.h"
#include "diagram/ui/style/style_controls.h"
#include "diagram/ui/style/style_window.h"
#include "diagram/ui/window_place.h"
#include "platform/ui/strings.h"

namespace diagram::ui {

namespace {

using platform::Q;
using settings::PixelText;
using settings::Style;

constexpr int kTwips = kTwipsPerPixel;
// Room the main window keeps beside and below its diagram, in twips.
constexpr int kSideMargin = 3285;
constexpr int kBottomMargin = 1335;
// Colours of the "Picture: " label and fields in the two size states.
constexpr int32_t kAutomaticColor = 255;
constexpr int32_t kManualColor = 16711680;

void SetTextColor(QWidget* widget, int32_t bgr) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, ToColor(bgr));
    palette.setColor(QPalette::Text, ToColor(bgr));
    widget->setPalette(palette);
}

}  // namespace

void StyleWindow::PlaceBesideMain(bool onlyWhenCovering) {
    // Beside the main window, so the previews on its diagram stay in sight.
    const QWidget* main = m_main.mainWindow();
    if (onlyWhenCovering && !frameGeometry().intersects(main->frameGeometry())) {
        return;
    }
    PlaceBeside(*this, *main);
}

bool StyleWindow::ManualSize() const {
    return m_ui.Command5->isEnabled();
}

void StyleWindow::SetManualSize(bool manual) {
    m_ui.Command5->setEnabled(manual);
    // Locked while edits leave the picture size alone.
    m_ui.Image9->setPixmap(LockPicture(!manual));
    m_ui.Image9->setToolTip(
        manual ? QStringLiteral("The picture size follows the board: click to keep it as it is")
               : QStringLiteral("The picture size is kept: click to let it follow the board"));
    const int32_t color = manual ? kManualColor : kAutomaticColor;
    for (QWidget* widget : {static_cast<QWidget*>(label(QStringLiteral("Text9"))),
                            static_cast<QWidget*>(m_ui.Text9), static_cast<QWidget*>(m_ui.Text10)}) {
        SetTextColor(widget, color);
    }
}

void StyleWindow::ToggleSizeLock() {
    SetManualSize(!ManualSize());
}

void StyleWindow::ResetPictureSize() {
    if (ManualSize()) {
        m_ui.Text9->setText(QStringLiteral("0"));
        m_ui.Text10->setText(QStringLiteral("0"));
    }
}

void StyleWindow::HoldLettering() {
    // A font style's picture computed afresh is as large as its board and
    // offsets make it; lettering larger than they leave room for would be
    // cut, so the picture grows to hold it.
    Style& style = m_main.program().style;
    if (!style.IsFontStyle() || style.SHOWGRID != 1 || style.WNDWIDTH != 0 || style.WNDHEIGHT != 0) {
        return;
    }
    const Style computed = diagram::Resolved(style);
    const QFontMetricsF metrics(diagram::Renderer::LetteringQFont(style), &m_main.renderer().picture());
    const auto measure = [&metrics](const std::string& text) {
        return diagram::TextSize{metrics.horizontalAdvance(QString::fromStdString(text)) * kTwips,
                                 metrics.height() * kTwips};
    };
    double right = 0;
    double bottom = 0;
    for (const diagram::Label& label : diagram::LetteringLabels(computed, 0, measure)) {
        const diagram::TextSize size = measure(label.text);
        right = std::max(right, label.at.x + size.width);
        bottom = std::max(bottom, label.at.y + size.height);
    }
    const auto holding = [](double edge, int32_t computedSize) {
        const double twips = std::ceil(edge / kTwips) * kTwips;
        return twips > computedSize ? static_cast<int32_t>(twips) : computedSize;
    };
    if (holding(right, computed.WNDWIDTH) != computed.WNDWIDTH ||
        holding(bottom, computed.WNDHEIGHT) != computed.WNDHEIGHT) {
        style.WNDWIDTH = holding(right, computed.WNDWIDTH);
        style.WNDHEIGHT = holding(bottom, computed.WNDHEIGHT);
    }
}

void StyleWindow::HScrolled(int value) {
    if (m_hScroll == 0) {
        return;
    }
    const int width = static_cast<int>(std::lround(m_hScroll + (value - kScrollMax / 2.0) * kTwips));
    m_main.PicMain()->setFixedWidth(std::max(1, width / kTwips));
    m_ui.Text10->setText(Q(PixelText(width)));
    if (width + kSideMargin >= m_main.mainWindow()->width() * kTwips) {
        m_main.mainWindow()->resize((width + kSideMargin) / kTwips, m_main.mainWindow()->height());
    }
}

void StyleWindow::VScrolled(int value) {
    if (m_vScroll == 0) {
        return;
    }
    const int height = static_cast<int>(std::lround(m_vScroll + (value - kScrollMax / 2.0) * kTwips));
    m_main.PicMain()->setFixedHeight(std::max(1, height / kTwips));
    m_ui.Text9->setText(Q(PixelText(height)));
    if (height + kBottomMargin >= m_main.mainWindow()->height() * kTwips) {
        m_main.mainWindow()->resize(m_main.mainWindow()->width(), (height + kBottomMargin) / kTwips);
    }
}

}  // namespace diagram::ui
