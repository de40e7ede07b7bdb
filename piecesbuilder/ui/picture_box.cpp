#include "ui/picture_box.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace piecesbuilder {

PictureBox::PictureBox(const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
    setFocusPolicy(Qt::StrongFocus);
    Clear(1, 1);
}

void PictureBox::SetImage(const QImage& image) {
    // One format throughout, so pixels read back exactly as they were painted.
    m_image = image.convertToFormat(QImage::Format_RGB32);
    setFixedSize(m_image.size());
    update();
}

void PictureBox::Clear(int widthPx, int heightPx) {
    QImage blank(std::max(1, widthPx), std::max(1, heightPx), QImage::Format_RGB32);
    blank.fill(Qt::white);
    SetImage(blank);
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    emit Released(event->position().toPoint());
}

void PictureBox::keyPressEvent(QKeyEvent* event) {
    emit KeyPressed(event->key(), event->text());
}

}  // namespace piecesbuilder
