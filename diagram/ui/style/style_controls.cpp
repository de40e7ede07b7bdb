#include "diagram/ui/style/style_controls.h"

#include <algorithm>

#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOptionComboBox>

#include "diagram/ui/style/pick_color.h"

namespace diagram::ui {

ColorBox::ColorBox(QWidget* parent) : QFrame(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::NoFrame);
    setLineWidth(1);
    setFixedSize(40, 20);
}

void ColorBox::setColor(int32_t bgr) {
    m_color = bgr;
    update();
}

void ColorBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), ToColor(m_color));
    painter.end();
    QFrame::paintEvent(event);
}

void ColorBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        emit clicked();
    }
}

void ColorBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit clicked();
    }
}

void ColorBox::keyPressEvent(QKeyEvent* event) {
    // A box reached with the Tab key is chosen with the space bar.
    if (event->key() == Qt::Key_Space) {
        emit clicked();
        return;
    }
    QFrame::keyPressEvent(event);
}

void ColorBox::focusInEvent(QFocusEvent* event) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    QFrame::focusInEvent(event);
    emit focusChanged(true);
}

void ColorBox::focusOutEvent(QFocusEvent* event) {
    setFrameStyle(QFrame::NoFrame);
    QFrame::focusOutEvent(event);
    emit focusChanged(false);
}

ImageButton::ImageButton(const QPixmap& picture, QWidget* parent) : QLabel(parent) {
    setPixmap(picture);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setAlignment(Qt::AlignCenter);
    setFixedSize(picture.size() + QSize(4, 4));
}

void ImageButton::SetPressed(bool pressed) {
    setFrameStyle(QFrame::Panel | (pressed ? QFrame::Sunken : QFrame::Raised));
}

void ImageButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        SetPressed(true);
    }
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    SetPressed(false);
    if (isEnabled() && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

void FitToItems(QComboBox* combo, int minimumChars) {
    const QFontMetrics metrics = combo->fontMetrics();
    int widest = metrics.horizontalAdvance(QString(minimumChars, QLatin1Char('0')));
    for (int i = 0; i < combo->count(); ++i) {
        widest = std::max(widest, metrics.horizontalAdvance(combo->itemText(i)));
    }
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    const QSize contents(widest, metrics.height());
    combo->setMinimumWidth(
        combo->style()->sizeFromContents(QStyle::CT_ComboBox, &option, contents, combo).width());
}

namespace {

QPixmap Blank() {
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    return picture;
}

}  // namespace

QPixmap FolderPicture() {
    QPixmap picture = Blank();
    QPainter p(&picture);
    p.setPen(QColor(128, 96, 0));
    p.setBrush(QColor(240, 200, 80));
    p.drawRect(1, 4, 13, 9);
    p.drawRect(1, 2, 5, 2);
    return picture;
}

QPixmap LockPicture(bool locked) {
    QPixmap picture = Blank();
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::NoBrush);
    // The shackle stands open when the size follows the squares.
    QPainterPath shackle;
    shackle.moveTo(5, 8);
    shackle.lineTo(5, 4.5);
    shackle.arcTo(5, 1.5, 6, 6, 180, -180);
    shackle.lineTo(11, locked ? 8 : 5.5);
    p.drawPath(shackle);
    p.setPen(Qt::black);
    // In the colour of the "Picture: " fields: red while kept, blue while following.
    p.setBrush(locked ? QColor(255, 0, 0) : QColor(0, 0, 255));
    p.drawRect(3, 8, 10, 7);
    return picture;
}

QPixmap ResetPicture() {
    QPixmap picture = Blank();
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.5));
    p.drawArc(QRectF(2.5, 2.5, 11, 11), 90 * 16, 270 * 16);
    p.setBrush(Qt::black);
    const QPointF head[] = {{8, 0.5}, {12, 2.5}, {8, 5}};
    p.drawPolygon(head, 3);
    return picture;
}

}  // namespace diagram::ui
