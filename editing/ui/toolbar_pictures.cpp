#include "editing/ui/toolbar_pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace editing::ui {

namespace {

const QColor kFace(0xd4, 0xd0, 0xc8);
const QColor kShadow(0x80, 0x80, 0x80);
const QColor kInk(0x20, 0x20, 0x20);
const QColor kPaper(0xff, 0xff, 0xff);
const QColor kLightSquare(0xf0, 0xd9, 0xb5);
const QColor kDarkSquare(0xb5, 0x88, 0x63);

QPen Pen(const QColor& color, double width = 1.0) {
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A sheet of paper with an outline.
void Sheet(QPainter& p, const QRectF& r) {
    p.setPen(Pen(kInk, 0.8));
    p.setBrush(kPaper);
    p.drawRect(r);
}

// Text lines on a sheet.
void Lines(QPainter& p, double x1, double x2, std::initializer_list<double> ys) {
    p.setPen(Pen(kShadow, 0.9));
    for (double y : ys) {
        p.drawLine(QPointF(x1, y), QPointF(x2, y));
    }
}

// A board of n x n squares in r, light square first.
void Board(QPainter& p, const QRectF& r, int n) {
    const double w = r.width() / n;
    const double h = r.height() / n;
    p.setPen(Qt::NoPen);
    for (int row = 0; row < n; ++row) {
        for (int col = 0; col < n; ++col) {
            p.setBrush((row + col) % 2 == 0 ? kLightSquare : kDarkSquare);
            p.drawRect(QRectF(r.x() + col * w, r.y() + row * h, w, h));
        }
    }
    p.setPen(Pen(kInk, 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
}

void Polygon(QPainter& p, std::initializer_list<QPointF> points, const QColor& fill, const QColor& outline) {
    p.setPen(Pen(outline, 0.8));
    p.setBrush(fill);
    p.drawPolygon(QPolygonF(QList<QPointF>(points)));
}

// Icons of square buttons, drawn on a 16 x 16 grid.
void SquareIcon(QPainter& p, ToolbarIcon icon) {
    switch (icon) {
        case ToolbarIcon::kSaveImage:  // a diskette
            p.setPen(Pen(kInk, 0.8));
            p.setBrush(QColor(0x2a, 0x4a, 0x9a));
            p.drawRect(QRectF(1.5, 1.5, 13, 13));
            p.setBrush(kPaper);
            p.drawRect(QRectF(4, 1.5, 8, 5.5));
            p.setBrush(QColor(0xb8, 0xb8, 0xb8));
            p.drawRect(QRectF(4.5, 9.5, 7, 5));
            p.setBrush(kInk);
            p.drawRect(QRectF(8.5, 10.5, 1.5, 3));
            break;
        case ToolbarIcon::kGraphic:  // a stroke and a circle
            p.setBrush(Qt::NoBrush);
            p.setPen(Pen(QColor(0x20, 0x40, 0xd0), 1.4));
            p.drawEllipse(QPointF(10, 10), 4.2, 4.2);
            p.setPen(Pen(QColor(0xe0, 0x10, 0x10), 1.8));
            p.drawLine(QPointF(2, 14), QPointF(13, 2));
            break;
        case ToolbarIcon::kHistory:  // a list of lines
            Sheet(p, QRectF(2.5, 1.5, 11, 13));
            for (double y : {4.5, 7.5, 10.5}) {
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(0x20, 0x40, 0xd0));
                p.drawEllipse(QPointF(5, y), 0.9, 0.9);
            }
            Lines(p, 7, 11.5, {4.5, 7.5, 10.5});
            break;
        case ToolbarIcon::kCopyImage:  // two diagrams
            Board(p, QRectF(1.5, 1.5, 9, 9), 3);
            Board(p, QRectF(5.5, 5.5, 9, 9), 3);
            break;
        case ToolbarIcon::kCopyHtml:  // markup brackets
            p.setBrush(Qt::NoBrush);
            p.setPen(Pen(QColor(0x10, 0x70, 0x30), 1.6));
            p.drawPolyline(QPolygonF({QPointF(5.5, 4), QPointF(1.5, 8), QPointF(5.5, 12)}));
            p.drawPolyline(QPolygonF({QPointF(10.5, 4), QPointF(14.5, 8), QPointF(10.5, 12)}));
            p.setPen(Pen(kInk, 1.2));
            p.drawLine(QPointF(9, 3), QPointF(7, 13));
            break;
        case ToolbarIcon::kCopyFen:  // two sheets of text
            Sheet(p, QRectF(1.5, 1.5, 8, 10));
            Sheet(p, QRectF(6.5, 4.5, 8, 10));
            Lines(p, 8.5, 12.5, {7, 9.5, 12});
            break;
        case ToolbarIcon::kPasteFen:  // a clipboard
            p.setPen(Pen(kInk, 0.8));
            p.setBrush(QColor(0xa0, 0x60, 0x30));
            p.drawRoundedRect(QRectF(2.5, 2.5, 11, 12.5), 1, 1);
            Sheet(p, QRectF(4.5, 4.5, 7, 9));
            Lines(p, 6, 10, {7, 9, 11});
            p.setPen(Pen(kInk, 0.8));
            p.setBrush(QColor(0xb8, 0xb8, 0xb8));
            p.drawRect(QRectF(5.5, 1, 5, 3));
            break;
        case ToolbarIcon::kPrint:  // a printer
            Sheet(p, QRectF(4.5, 1.5, 7, 5));
            p.setPen(Pen(kInk, 0.8));
            p.setBrush(QColor(0x90, 0x90, 0x90));
            p.drawRoundedRect(QRectF(1.5, 6, 13, 6), 1, 1);
            Sheet(p, QRectF(4.5, 10, 7, 4.5));
            Lines(p, 6, 10, {12, 13.5});
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x20, 0xc0, 0x20));
            p.drawEllipse(QPointF(12.5, 8), 0.8, 0.8);
            break;
        case ToolbarIcon::kEngine: {  // a gear wheel
            QPainterPath gear;
            gear.addEllipse(QPointF(8, 8), 5, 5);
            for (int k = 0; k < 8; ++k) {
                QTransform turn;
                turn.translate(8, 8);
                turn.rotate(45.0 * k);
                QPainterPath tooth;
                tooth.addRect(QRectF(-1.4, -7.2, 2.8, 3));
                gear = gear.united(turn.map(tooth));
            }
            QPainterPath hole;
            hole.addEllipse(QPointF(8, 8), 2, 2);
            p.setPen(Pen(kInk, 0.7));
            p.setBrush(QColor(0x60, 0x68, 0x78));
            p.drawPath(gear.subtracted(hole));
            break;
        }
        case ToolbarIcon::kNew: {  // a blank sheet with a folded corner
            Polygon(p, {{3.5, 1.5}, {10, 1.5}, {12.5, 4}, {12.5, 14.5}, {3.5, 14.5}}, kPaper, kInk);
            Polygon(p, {{10, 1.5}, {10, 4}, {12.5, 4}}, kFace, kInk);
            break;
        }
        case ToolbarIcon::kStart:  // a board with its men in place
            Board(p, QRectF(1.5, 1.5, 13, 13), 4);
            for (int col = 0; col < 4; ++col) {
                const double x = 1.5 + 13.0 / 8 * (2 * col + 1);
                p.setPen(Pen(kInk, 0.6));
                p.setBrush(kInk);
                p.drawEllipse(QPointF(x, 1.5 + 13.0 / 8), 1.1, 1.1);
                p.setBrush(kPaper);
                p.drawEllipse(QPointF(x, 1.5 + 13.0 * 7 / 8), 1.1, 1.1);
            }
            break;
        case ToolbarIcon::kRotate: {  // a quarter-turn arrow
            p.setBrush(Qt::NoBrush);
            p.setPen(Pen(QColor(0x20, 0x40, 0xa0), 1.6));
            p.drawArc(QRectF(3, 3, 10, 10), 90 * 16, -270 * 16);
            Polygon(p, {{3, 4.5}, {0.8, 8.5}, {5.2, 8.5}}, QColor(0x20, 0x40, 0xa0),
                    QColor(0x20, 0x40, 0xa0));
            break;
        }
        case ToolbarIcon::kHMirror: {  // a shape and its reflection across the middle row
            p.setPen(QPen(kShadow, 0.8, Qt::DashLine));
            p.drawLine(QPointF(0.5, 8), QPointF(15.5, 8));
            Polygon(p, {{3, 6.5}, {3, 1.5}, {12, 6.5}}, kInk, kInk);
            Polygon(p, {{3, 9.5}, {3, 14.5}, {12, 9.5}}, kPaper, kInk);
            break;
        }
        case ToolbarIcon::kDMirror: {  // reflection across the rising diagonal
            p.setPen(QPen(kShadow, 0.8, Qt::DashLine));
            p.drawLine(QPointF(0.5, 15.5), QPointF(15.5, 0.5));
            Polygon(p, {{1.5, 1.5}, {8.5, 1.5}, {1.5, 8.5}}, kInk, kInk);
            Polygon(p, {{14.5, 14.5}, {14.5, 7.5}, {7.5, 14.5}}, kPaper, kInk);
            break;
        }
        default:
            break;
    }
}

// Arrows fill the whole content area, which is long and thin.
void Arrow(QPainter& p, ToolbarIcon icon, const QRectF& r) {
    const QColor color(0x20, 0x40, 0xa0);
    QTransform t;
    t.translate(r.center().x(), r.center().y());
    double length = r.width();
    double thickness = r.height();
    switch (icon) {
        case ToolbarIcon::kLeft:
            t.rotate(180);
            break;
        case ToolbarIcon::kUp:
            t.rotate(-90);
            std::swap(length, thickness);
            break;
        case ToolbarIcon::kDown:
            t.rotate(90);
            std::swap(length, thickness);
            break;
        default:
            break;
    }
    const double half = length / 2;
    const double head = std::min(thickness, length / 2);
    const double shaft = thickness / 4;
    const QPolygonF arrow({QPointF(-half, -shaft), QPointF(half - head, -shaft),
                           QPointF(half - head, -thickness / 2), QPointF(half, 0),
                           QPointF(half - head, thickness / 2), QPointF(half - head, shaft),
                           QPointF(-half, shaft)});
    p.setPen(Pen(color, 0.6));
    p.setBrush(color);
    p.drawPolygon(t.map(arrow));
}

// The face of a button: raised, or sunken while pressed.
QPixmap Face(QSize size, bool pressed) {
    const qreal ratio = qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(kFace);
    QPainter p(&pixmap);
    const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
    p.setPen(QPen(pressed ? kShadow : kPaper, 1));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(QPen(pressed ? kPaper : kShadow, 1));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    return pixmap;
}

}  // namespace

QPixmap ToolbarPicture(ToolbarIcon icon, QSize size, bool pressed) {
    QPixmap pixmap = Face(size, pressed);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // A pressed picture moves its drawing down and right by one pixel.
    const double shift = pressed ? 1 : 0;
    const QRectF content =
        QRectF(QPointF(0, 0), QSizeF(size)).adjusted(2 + shift, 2 + shift, -2 + shift, -2 + shift);
    switch (icon) {
        case ToolbarIcon::kRight:
        case ToolbarIcon::kLeft:
        case ToolbarIcon::kUp:
        case ToolbarIcon::kDown:
            Arrow(p, icon, content);
            break;
        default: {
            const double side = std::min(content.width(), content.height());
            p.translate(content.center().x() - side / 2, content.center().y() - side / 2);
            p.scale(side / 16, side / 16);
            SquareIcon(p, icon);
            break;
        }
    }
    return pixmap;
}

QPixmap RecordPicture(QSize size, bool on) {
    QPixmap pixmap = Face(size, on);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(size.width() / 2.0, size.height() / 2.0);
    const double r = std::min(size.width(), size.height()) / 2.0 - 3.5;
    p.setPen(Pen(QColor(0x60, 0x10, 0x10), 1));
    p.setBrush(on ? QColor(0xff, 0x20, 0x20) : QColor(0x90, 0x70, 0x70));
    p.drawEllipse(centre, r, r);
    if (on) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xff, 0xb0, 0xb0));
        p.drawEllipse(centre - QPointF(r / 3, r / 3), r / 3, r / 3);
    }
    return pixmap;
}

}  // namespace editing::ui
