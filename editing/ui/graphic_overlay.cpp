#include "editing/ui/graphic_overlay.h"

#include <QAction>
#include <QPainter>

#include "diagram/geometry.h"
#include "diagram/render/renderer.h"
#include "diagram/ui/host.h"
#include "diagram/ui/picture_view.h"
#include "diagram/ui/window_place.h"
#include "editing/mouse_edit.h"
#include "editing/ui/graphic_window.h"

namespace editing::ui {

namespace {

QPointF Px(double x, double y) {
    return {x / diagram::kTwipsPerPixel, y / diagram::kTwipsPerPixel};
}

}  // namespace

void PaintStroke(QPainter& painter, const Stroke& stroke, int width, const QColor& color) {
    painter.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    const QPointF from = Px(stroke.fromX, stroke.fromY);
    switch (stroke.kind) {
        case Stroke::kLine:
            painter.drawLine(from, Px(stroke.toX, stroke.toY));
            break;
        case Stroke::kCircle: {
            const double r = stroke.radius / diagram::kTwipsPerPixel;
            painter.drawEllipse(from, r, r);
            break;
        }
        case Stroke::kDot:
            painter.drawPoint(from);
            break;
        case Stroke::kNone:
            break;
    }
}

GraphicOverlay::GraphicOverlay(diagram::ui::Host& host)
    : QObject(host.mainWindow()), m_host(host), m_penColor(diagram::ToQColor(kDefaultPenColor)) {
    setObjectName(QStringLiteral("GraphicOverlay"));
    connect(host.action(QStringLiteral("MNGraphic")), &QAction::triggered, this, [this] { ShowGraphic(); });
    connect(host.PicMain(), &diagram::ui::PictureView::mouseMoved, this,
            [this](double x, double y) { Move(x, y); });
    auto& hooks = host.hooks();
    auto fillBefore = hooks.FillWindowLists;
    hooks.FillWindowLists = [this, fillBefore] {
        if (fillBefore) {
            fillBefore();
        }
        Window()->FillWidthList();
    };
}

GraphicWindow* GraphicOverlay::Window() {
    if (m_window == nullptr) {
        m_window = new GraphicWindow(m_host);
        m_host.RegisterWindow(diagram::ui::Secondary::kGraphic, m_window);
    }
    return m_window;
}

void GraphicOverlay::ShowGraphic() {
    GraphicWindow* window = Window();
    if (!m_placed) {
        // First showing: beside the main window rather than over the board.
        diagram::ui::PlaceBeside(*window, *m_host.mainWindow());
        m_placed = true;
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void GraphicOverlay::Press() {
    const SampleLine* sample = Window()->Line1();
    m_penWidth = sample->penWidth();
    m_penColor = diagram::ToQColor(sample->penColor());
    m_drawing = true;
}

void GraphicOverlay::Move(double x, double y) {
    const EditState& state = m_host.program().editing;
    // A Shift press on the palette arms the shared press state as well, and
    // its release leaves it armed: without a gesture begun here, a pointer
    // merely passing over the diagram would draw.
    if (!m_drawing || !IsGraphicGesture(state) || state.MouseDownX < 0 || state.MouseDownY < 0) {
        return;
    }
    diagram::ui::PictureView* picture = m_host.PicMain();
    const Stroke stroke = MoveStroke(Window()->Object(), state.MouseDownX, state.MouseDownY, x, y);
    if (stroke.kind == Stroke::kDot) {
        // Free hand: each dot lasts at once; a fast pointer leaves gaps.
        picture->SetOverlay({});
        DrawLasting(stroke);
        return;
    }
    const int width = m_penWidth;
    const QColor color = m_penColor;
    picture->SetOverlay(
        [stroke, width, color](QPainter& painter) { PaintStroke(painter, stroke, width, color); });
}

void GraphicOverlay::Release(bool leftButton, double pressX, double pressY, double x, double y) {
    m_drawing = false;
    m_host.PicMain()->SetOverlay({});
    const GraphicWindow* window = Window();
    const Stroke stroke = ReleaseStroke(window->Object(), window->Mode(), m_host.program().style, leftButton,
                                        pressX, pressY, x, y);
    if (stroke.kind != Stroke::kNone) {
        DrawLasting(stroke);
    }
}

void GraphicOverlay::DrawLasting(const Stroke& stroke) {
    // The renderer keeps the stroke as well as painting it, for the
    // drawings (SVG, PDF) made from the diagram afresh.
    diagram::OverlayStroke lasting;
    switch (stroke.kind) {
        case Stroke::kLine:
            lasting.kind = diagram::OverlayStroke::kLine;
            break;
        case Stroke::kCircle:
            lasting.kind = diagram::OverlayStroke::kCircle;
            break;
        case Stroke::kDot:
            lasting.kind = diagram::OverlayStroke::kDot;
            break;
        case Stroke::kNone:
            return;
    }
    lasting.fromX = stroke.fromX;
    lasting.fromY = stroke.fromY;
    lasting.toX = stroke.toX;
    lasting.toY = stroke.toY;
    lasting.radius = stroke.radius;
    lasting.width = m_penWidth;
    lasting.color = m_penColor.red() | (m_penColor.green() << 8) | (m_penColor.blue() << 16);
    m_host.renderer().DrawStroke(lasting);
    m_host.PicMain()->update();
}

}  // namespace editing::ui
