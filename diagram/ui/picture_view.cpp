#include "diagram/ui/picture_view.h"

#include <QMouseEvent>
#include <QPainter>

#include "diagram/geometry.h"
#include "diagram/render/renderer.h"

namespace diagram::ui {

namespace {

double Twips(double pixels) {
    return pixels * kTwipsPerPixel;
}

}  // namespace

PictureView::PictureView(const diagram::Renderer& renderer, QWidget* parent)
    : QWidget(parent), m_renderer(renderer) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureView::FitPicture() {
    setFixedSize(m_renderer.logicalSize().expandedTo(QSize(1, 1)));
    update();
}

void PictureView::SetOverlay(std::function<void(QPainter&)> overlay) {
    m_overlay = std::move(overlay);
    update();
}

QSize PictureView::sizeHint() const {
    return m_renderer.logicalSize();
}

void PictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.drawImage(0, 0, m_renderer.picture());
    if (m_overlay) {
        m_overlay(painter);
    }
}

void PictureView::mousePressEvent(QMouseEvent* event) {
    emit mousePressed(Twips(event->position().x()), Twips(event->position().y()), event->button(),
                      event->modifiers());
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(Twips(event->position().x()), Twips(event->position().y()), event->buttons(),
                    event->modifiers());
}

void PictureView::mouseReleaseEvent(QMouseEvent* event) {
    emit mouseReleased(Twips(event->position().x()), Twips(event->position().y()), event->button(),
                       event->modifiers());
}

void PictureView::mouseDoubleClickEvent(QMouseEvent* event) {
    emit mouseDoubleClicked(Twips(event->position().x()), Twips(event->position().y()), event->button(),
                            event->modifiers());
}

}  // namespace diagram::ui
