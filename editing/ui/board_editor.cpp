#include "editing/ui/board_editor.h"

#include <QAction>
#include <QPushButton>

#include "diagram/render/renderer.h"
#include "diagram/ui/fen_box.h"
#include "diagram/ui/main_window.h"
#include "diagram/ui/picture_view.h"
#include "editing/mouse_edit.h"
#include "editing/ui/graphic_overlay.h"
#include "editing/ui/history_window.h"
#include "editing/ui/toolbars.h"
#include "editing/ui/view_window.h"

namespace editing::ui {

BoardEditor::BoardEditor(diagram::ui::MainWindow& main)
    : QObject(&main), m_main(main), m_graphic(new GraphicOverlay(main)) {
    using diagram::ui::PictureView;
    PictureView* board = main.PicMain();
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
    } effects[] = {{"MNLeft", Transform::kLeft},      {"MNRight", Transform::kRight},
                   {"MNUp", Transform::kUp},          {"MNDown", Transform::kDown},
                   {"MNRotate", Transform::kRotate},  {"MNHMirror", Transform::kHMirror},
                   {"MNDMirror", Transform::kDMirror}};
    for (const auto& e : effects) {
        const Transform t = e.t;
        connect(main.action(QString::fromLatin1(e.name)), &QAction::triggered, this,
                [this, t] { ApplyEffect(t); });
    }
    connect(main.action(QStringLiteral("MNReverse")), &QAction::triggered, this, [this] { Reverse(); });
    connect(main.Command9(), &QPushButton::clicked, this, [this] { ShowView(); });
    // Every new picture may come with another style or pieces bitmap.
    connect(&main, &diagram::ui::MainWindow::boardDrawn, this, [this] { DrawView(); });
}

void BoardEditor::ApplyEffect(Transform t) {
    diagram::ui::Program& program = m_main.program();
    if (ApplyTransform(program.vet, program.Shape(), t).ok) {
        m_main.Refresh();
    }
}

void BoardEditor::Reverse() {
    diagram::ui::Program& program = m_main.program();
    const ReverseView view = editing::Reverse(program.editing, program.Shape());
    m_main.action(QStringLiteral("MNReverse"))->setChecked(view.reversed);
    QPalette palette = m_main.Text1()->palette();
    palette.setColor(QPalette::Text, diagram::ToQColor(view.textColor));
    m_main.Text1()->setPalette(palette);
    if (program.style.SHOWGRID == 1) {
        m_main.Redraw();
    } else {
        position::ResetVet(program.vet, program.Shape());
        m_main.Build();
    }
}

ViewWindow* BoardEditor::View() {
    if (m_view == nullptr) {
        m_view = new ViewWindow(m_main);
        m_main.RegisterWindow(diagram::ui::Secondary::kView, m_view);
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
        view->move(m_main.frameGeometry().topRight() + QPoint(4, 0));
        m_viewPlaced = true;
    }
    view->show();
    view->raise();
    view->activateWindow();
}

void BoardEditor::PicMainPressed(double x, double y, Qt::MouseButton button,
                                 Qt::KeyboardModifiers modifiers) {
    EditState& state = m_main.program().editing;
    MouseDown(state, x, y, ButtonCode(button), ShiftCode(modifiers));
    if (IsGraphicGesture(state)) {
        m_main.PicMain()->setCursor(Qt::SizeAllCursor);
        m_graphic->Press();
    } else {
        m_main.PicMain()->setCursor(Qt::CrossCursor);
    }
}

void BoardEditor::PicMainReleased(double x, double y, Qt::MouseButton button) {
    diagram::ui::Program& program = m_main.program();
    m_main.PicMain()->update();
    const BoardRelease r = MouseUp(program.editing, program.vet, program.style, x, y);
    if (r.action == BoardAction::kGraphic) {
        m_graphic->Release(button == Qt::LeftButton, r.pressX, r.pressY, x, y);
    } else if (r.action == BoardAction::kEdited) {
        m_main.PicMove();
    }
    m_main.PicMain()->unsetCursor();
    m_main.Text1()->end(false);
    m_main.Text1()->setFocus();
    if (ShouldShowView(program.editing, m_view != nullptr && m_view->isVisible())) {
        ShowView();
    }
}

BoardEditor* Attach(diagram::ui::MainWindow& main) {
    AttachHistory(main);
    new Toolbars(main);  // owned by the window
    return new BoardEditor(main);
}

}  // namespace editing::ui
