#include "editing/ui/view_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <cmath>

#include "diagram/geometry.h"
#include "diagram/render/renderer.h"
#include "diagram/ui/host.h"
#include "diagram/ui/picture_view.h"
#include "editing/mouse_edit.h"
#include "editing/palette.h"
#include "platform/ui/teardown.h"

namespace editing::ui {

namespace {

int Px(double twips) {
    return static_cast<int>(std::lround(twips / diagram::kTwipsPerPixel));
}

double Twips(double pixels) {
    return pixels * diagram::kTwipsPerPixel;
}

QRect PxRect(diagram::Point at, double width, double height) {
    return {Px(at.x), Px(at.y), Px(width), Px(height)};
}

// The window frame's share of the window height the layout gives: the
// caption, which Qt does not count in the widget's own size.
constexpr int kCaptionTwips = 300;

}  // namespace

int16_t ButtonCode(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return kLeftButton;
        case Qt::RightButton:
            return kRightButton;
        case Qt::MiddleButton:
            return kMiddleButton;
        default:
            return 0;
    }
}

int16_t ShiftCode(Qt::KeyboardModifiers modifiers) {
    return static_cast<int16_t>((modifiers & Qt::ShiftModifier ? kShiftKey : 0) +
                                (modifiers & Qt::ControlModifier ? kCtrlKey : 0) +
                                (modifiers & Qt::AltModifier ? kAltKey : 0));
}

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::SetImage(const QImage& image) {
    m_image = image;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.drawImage(0, 0, m_image);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    emit pressed(Twips(event->position().x()), Twips(event->position().y()), event->button(),
                 event->modifiers());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    emit released(Twips(event->position().x()), Twips(event->position().y()),
                  event->globalPosition().toPoint());
}

void PictureBox::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    emit focusLost();
}

ViewWindow::ViewWindow(diagram::ui::Host& host)
    : QWidget(host.mainWindow(), Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_host(host) {
    setObjectName(QStringLiteral("frmView"));
    setWindowTitle(QStringLiteral("View"));
    m_picture1 = new PictureBox(this);
    m_picture1->setObjectName(QStringLiteral("Picture1"));
    m_picture1->setFocusPolicy(Qt::StrongFocus);
    m_picture2 = new PictureBox(this);
    m_picture2->setObjectName(QStringLiteral("Picture2"));
    m_picture2->setFocusPolicy(Qt::NoFocus);
    // Showing the window puts the keyboard focus on the palette.
    setFocusProxy(m_picture1);

    connect(m_picture1, &PictureBox::pressed, this, &ViewWindow::PalettePressed);
    connect(m_picture1, &PictureBox::released, this, &ViewWindow::PaletteReleased);
    connect(m_picture1, &PictureBox::focusLost, this,
            [this] { m_host.program().editing.SelectedSquare = -1; });
    connect(m_picture2, &PictureBox::pressed, this, [this] {
        m_host.program().editing.SelectedPiece = -1;
        DrawSelect();
    });
}

ViewWindow::~ViewWindow() {
    // The palette loses the focus as it goes and says so to this window.
    platform::ui::DeleteChildWidgets(this);
}

void ViewWindow::DrawView() {
    const settings::Style& style = m_host.program().style;
    DropStaleChoice(m_host.program().editing, style);
    const bool font = style.IsFontStyle();
    // A font style's men can be drawn at any size: they are made to fit the
    // screen the main window is on.
    const QScreen* screen = m_host.mainWindow() != nullptr ? m_host.mainWindow()->screen() : this->screen();
    const QRect room = screen != nullptr ? screen->availableGeometry() : QRect();
    m_grid = PaletteGridOf(style, static_cast<int>(Twips(room.width() / 2)),
                           static_cast<int>(Twips(room.height() / 2)));
    m_men = font ? diagram::FontMen(style) : diagram::FontMen();
    const PaletteLayout layout = LayoutPalette(style, m_grid);

    const double ratio = font ? devicePixelRatioF() : 1;
    const QSize size(std::max(Px(layout.paletteWidth), 1), std::max(Px(layout.paletteHeight), 1));
    QImage palette(size * ratio, QImage::Format_RGB32);
    palette.setDevicePixelRatio(ratio);
    palette.fill(this->palette().window().color());
    m_picture1->setGeometry(0, 0, size.width(), size.height());
    m_picture2->setGeometry(PxRect(layout.preview, layout.previewWidth, layout.previewHeight));
    setFixedSize(Px(layout.windowWidth), Px(layout.windowHeight - kCaptionTwips));

    if (font) {
        QPainter painter(&palette);
        painter.setRenderHint(QPainter::Antialiasing);
        const int n = static_cast<int>(style.PIECESLIST.size());
        for (int i = 1; i <= n; ++i) {
            m_men.PaintSquare(painter, PxRect(PaletteCellOrigin(m_grid, i), m_grid.width, m_grid.height), i,
                              false);
        }
    } else if (const QImage& pieces = m_host.renderer().pieces(); !pieces.isNull()) {
        // Without a pieces bitmap the palette stays empty.
        QPainter painter(&palette);
        for (const diagram::CellCopy& copy : PaletteCopies(style)) {
            painter.drawImage(PxRect(copy.target, copy.width, copy.height), pieces,
                              PxRect(copy.source, copy.width, copy.height));
        }
    }
    m_picture1->SetImage(palette);
    DrawSelect();
}

void ViewWindow::DrawSelect() {
    const settings::Style& style = m_host.program().style;
    const int chosen = m_host.program().editing.SelectedPiece;
    if (style.IsFontStyle()) {
        const double ratio = devicePixelRatioF();
        const QSize size(std::max(Px(m_grid.width), 1), std::max(Px(m_grid.height), 1));
        QImage preview(size * ratio, QImage::Format_RGB32);
        preview.setDevicePixelRatio(ratio);
        preview.fill(palette().window().color());
        if (chosen >= 0) {
            const int n = static_cast<int>(style.PIECESLIST.size());
            QPainter painter(&preview);
            painter.setRenderHint(QPainter::Antialiasing);
            m_men.PaintSquare(painter, QRectF(QPointF(0, 0), QSizeF(size)), chosen % (n + 1),
                              chosen / (n + 1) == 1);
        }
        m_picture2->SetImage(preview);
        return;
    }
    QImage preview(std::max(Px(style.SQRWIDTH), 1), std::max(Px(style.SQRHEIGHT), 1), QImage::Format_RGB32);
    preview.fill(palette().window().color());
    const auto copy = PreviewCopy(style, chosen);
    const QImage& pieces = m_host.renderer().pieces();
    if (copy && !pieces.isNull()) {
        QPainter painter(&preview);
        painter.drawImage(QRect(0, 0, preview.width(), preview.height()), pieces,
                          PxRect(copy->source, copy->width, copy->height));
    }
    m_picture2->SetImage(preview);
}

void ViewWindow::PalettePressed(double x, double y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    m_picture1->setCursor(Qt::CrossCursor);
    MouseDown(m_host.program().editing, x, y, ButtonCode(button), ShiftCode(modifiers));
}

int ViewWindow::BoardSquareAt(QPoint globalPos) const {
    const QWidget* board = m_host.PicMain();
    const QPoint local = board->mapFromGlobal(globalPos);
    if (!board->isVisible() || !board->rect().contains(local)) {
        return -1;
    }
    return diagram::PixToInd(m_host.program().style, Twips(local.x()), Twips(local.y()));
}

void ViewWindow::PaletteReleased(double x, double y, QPoint globalPos) {
    diagram::ui::Program& program = m_host.program();
    const PaletteRelease r =
        PaletteMouseUp(program.editing, program.vet, program.style, m_grid, x, y, BoardSquareAt(globalPos));
    if (r.action != PaletteAction::kNothing) {
        DrawSelect();
    }
    if (r.action == PaletteAction::kPlaced) {
        m_host.PicMove();
    }
    m_picture1->unsetCursor();
    m_host.FenToEnd();
}

void ViewWindow::FenFocus() {
    m_host.FocusFen();
}

void ViewWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        FenFocus();
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ViewWindow::closeEvent(QCloseEvent* event) {
    if (!m_host.program().KeepWindows) {
        event->accept();
        return;
    }
    FenFocus();
    m_host.program().editing.SelectedPiece = -1;
    DrawSelect();
    hide();
    event->ignore();
}

}  // namespace editing::ui
