#include "editing/ui/board_editor.h"

#include <QAction>
#include <QPushButton>

#include "diagram/render/renderer.h"
#include "diagram/ui/host.h"
#include "diagram/ui/picture_view.h"
#include "diagram/ui/window_place.h"
#include "editing/mouse_edit.h"
#include "editing/ui/graphic_overlay.h"
#include "editing/ui/history_window.h"
#include "editing/ui/toolbars.h"
#include "editing/ui/view_window.h"

namespace editing::ui {

BoardEditor::BoardEditor(diagram::ui::Host& host)
    : QObject(host.mainWindow()), m_host(host), m_graphic(new GraphicOverlay(host)) {
    using diagram::ui::PictureView;
    PictureView* board = host.PicMain();
    connect(board, &PictureView::mousePressed, this, &BoardEditor::PicMainPressed);
    // The second press of a double click is a press like any other, so a
    // quick second gesture on the same square is not lost.
    connect(board, &PictureView::mouseDoubleClicked, this, &BoardEditor::PicMainPressed);
    connect(board, &PictureView::mouseReleased, this,
            [this](double x, double y, Qt::MouseButton button, Qt::KeyboardModifiers) {
                PicMainReleased(x, y, button);
            });

    const struct {
        const char* name;
        Transform t;
    } effects[] = {{"MNLeft", Transform::kLeft},       {"MNRight", Transform::kRight},
                   {"MNUp", Transform::kUp},           {"MNDown", Transform::kDown},
                   {"MNRotate", Transform::kRotate},   {"MNHMirror", Transform::kHMirror},
                   {"MNDMirror", Transform::kDMirror}, {"MNVMirror", Transform::kVMirror}};
    for (const auto& e : effects) {
        const Transform t = e.t;
        connect(host.action(QString::fromLatin1(e.name)), &QAction::triggered, this,
                [this, t] { ApplyEffect(t); });
    }
    connect(host.action(QStringLiteral("MNReverse")), &QAction::triggered, this, [this] { Reverse(); });
    connect(&host, &diagram::ui::Host::viewRequested, this, [this] { ShowView(); });
    // Every new picture may come with another style or pieces bitmap.
    connect(&host, &diagram::ui::Host::boardDrawn, this, [this] { DrawView(); });
}

void BoardEditor::ApplyEffect(Transform t) {
    diagram::ui::Program& program = m_host.program();
    if (ApplyTransform(program.vet, program.Shape(), t).ok) {
        m_host.Refresh();
    }
}

void BoardEditor::Reverse() {
    diagram::ui::Program& program = m_host.program();
    const ReverseView view = editing::Reverse(program.editing, program.Shape());
    m_host.action(QStringLiteral("MNReverse"))->setChecked(view.reversed);
    m_host.SetFenColor(diagram::ToQColor(view.textColor));
    if (program.style.SHOWGRID == 1) {
        m_host.Redraw();
    } else {
        position::ResetVet(program.vet, program.Shape());
        m_host.Build();
    }
}

ViewWindow* BoardEditor::View() {
    if (m_view == nullptr) {
        m_view = new ViewWindow(m_host);
        m_host.RegisterWindow(diagram::ui::Secondary::kView, m_view);
    }
    return m_view;
}

void BoardEditor::DrawView() {
    View()->DrawView();
}

void BoardEditor::ShowView() {
    ViewWindow* view = View();
    if (!m_viewPlaced) {
        // First showing: beside the main window rather than over the board.
        diagram::ui::PlaceBeside(*view, *m_host.mainWindow());
        m_viewPlaced = true;
    }
    view->show();
    view->raise();
    view->activateWindow();
}

void BoardEditor::PicMainPressed(double x, double y, Qt::MouseButton button,
                                 Qt::KeyboardModifiers modifiers) {
    EditState& state = m_host.program().editing;
    MouseDown(state, x, y, ButtonCode(button), ShiftCode(modifiers));
    if (IsGraphicGesture(state)) {
        m_host.PicMain()->setCursor(Qt::SizeAllCursor);
        m_graphic->Press();
    } else {
        m_host.PicMain()->setCursor(Qt::CrossCursor);
    }
}

void BoardEditor::PicMainReleased(double x, double y, Qt::MouseButton button) {
    diagram::ui::Program& program = m_host.program();
    m_host.PicMain()->update();
    const BoardRelease r = MouseUp(program.editing, program.vet, program.style, x, y);
    if (r.action == BoardAction::kGraphic) {
        m_graphic->Release(button == Qt::LeftButton, r.pressX, r.pressY, x, y);
    } else if (r.action == BoardAction::kEdited) {
        m_host.PicMove();
    }
    m_host.PicMain()->unsetCursor();
    m_host.FenToEnd();
    m_host.FocusFen();
    if (ShouldShowView(program.editing, m_view != nullptr && m_view->isVisible())) {
        ShowView();
    }
}

BoardEditor* Attach(diagram::ui::Host& host) {
    AttachHistory(host);
    new Toolbars(host);  // owned by the window
    return new BoardEditor(host);
}

}  // namespace editing::ui
