#pragma once
// The board editor on the main window: mouse editing of the diagram, the
// Effects menu's transformations and Reverse, and the View palette.

#include <QObject>
#include <QPointer>

#include "editing/transform.h"

namespace diagram::ui {
class Host;
}

namespace editing::ui {

class GraphicOverlay;
class ViewWindow;

/// Gives the main window its board-editing commands. Lives as a child of
/// the window.
class BoardEditor : public QObject {
    Q_OBJECT

  public:
    /// Connects the diagram's mouse, the Effects menu items and the View
    /// button of the main window. Call before the window's start-up, so that the
    /// palette is drawn with the first board.
    explicit BoardEditor(diagram::ui::Host& host);

    /// Shifts, turns or mirrors the position, then Refresh. Rotate 90 and
    /// Diagonal Mirror do nothing on a board that is not square.
    void ApplyEffect(Transform t);
    /// Toggles the turned display: check mark, FEN text colour, repaint.
    void Reverse();

    /// The palette window, created with the first board drawn.
    ViewWindow* View();
    /// Shows the palette, modeless.
    void ShowView();
    /// Lays out and repaints the palette.
    void DrawView();

    /// The graphic overlay that Shift gestures draw on.
    GraphicOverlay* Graphic() const { return m_graphic; }

  private:
    void PicMainPressed(double x, double y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void PicMainReleased(double x, double y, Qt::MouseButton button);

    diagram::ui::Host& m_host;
    QPointer<ViewWindow> m_view;
    GraphicOverlay* m_graphic = nullptr;
    bool m_viewPlaced = false;
};

/// Attaches the board editor with its graphic overlay, record mode, Undo Rec,
/// the History window (history_window.h) and the toolbars (toolbars.h) to the
/// main window; returns the editor (owned by the window).
BoardEditor* Attach(diagram::ui::Host& host);

}  // namespace editing::ui
