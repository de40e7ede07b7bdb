#include "books/ui/step_button.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace books::ui {

namespace {

constexpr int kWidth = 24;
constexpr int kHeight = 20;

const char* const kToolTips[] = {"First position", "Previous position", "Next position", "Last position"};

// An arrowhead pointing left or right, its tip at x.
void Arrow(QPainter& painter, double tip, double mid, bool left) {
    const double back = left ? tip + 6 : tip - 6;
    QPainterPath path;
    path.moveTo(tip, mid);
    path.lineTo(back, mid - 5);
    path.lineTo(back, mid + 5);
    path.closeSubpath();
    painter.fillPath(path, Qt::black);
}

}  // namespace

StepButton::StepButton(int index, QWidget* parent) : QAbstractButton(parent), m_index(index) {
    setObjectName(QStringLiteral("Image2_%1").arg(index));
    setToolTip(QString::fromLatin1(kToolTips[index & 3]));
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(kWidth, kHeight);
}

QSize StepButton::sizeHint() const {
    return {kWidth, kHeight};
}

QPixmap StepButton::Picture(bool pressed) const {
    QPixmap pixmap(kWidth, kHeight);
    pixmap.fill(QColor(0xC0, 0xC0, 0xC0));
    QPainter painter(&pixmap);
    // A raised bevel when up, a sunken one with the arrows moved down and
    // right by a pixel when pressed.
    const QColor light = pressed ? QColor(0x80, 0x80, 0x80) : Qt::white;
    const QColor dark = pressed ? Qt::white : QColor(0x80, 0x80, 0x80);
    painter.setPen(light);
    painter.drawLine(0, 0, kWidth - 1, 0);
    painter.drawLine(0, 0, 0, kHeight - 1);
    painter.setPen(dark);
    painter.drawLine(kWidth - 1, 1, kWidth - 1, kHeight - 1);
    painter.drawLine(1, kHeight - 1, kWidth - 1, kHeight - 1);
    painter.setRenderHint(QPainter::Antialiasing);
    const double shift = pressed ? 1 : 0;
    const double mid = kHeight / 2.0 + shift;
    const double cx = kWidth / 2.0 + shift;
    switch (m_index) {
        case 0:
            painter.fillRect(QRectF(cx - 6, mid - 5, 2, 10), Qt::black);
            Arrow(painter, cx - 3, mid, true);
            break;
        case 1:
            Arrow(painter, cx - 3, mid, true);
            break;
        case 2:
            Arrow(painter, cx + 3, mid, false);
            break;
        default:
            Arrow(painter, cx + 3, mid, false);
            painter.fillRect(QRectF(cx + 4, mid - 5, 2, 10), Qt::black);
            break;
    }
    return pixmap;
}

void StepButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, Picture(isDown()));
}

}  // namespace books::ui
