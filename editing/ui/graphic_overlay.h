#pragma once
// The graphic overlay: lines, circles and free-hand dots drawn over the
// diagram with Shift gestures. Rubber bands go to the picture's temporary
// layer; finished strokes go into the persistent picture, so Save Image,
// Copy Image and Print take them, and any repaint of a square covers them.

#include <QColor>
#include <QObject>
#include <QPointer>

#include "editing/graphic.h"

class QPainter;

namespace diagram::ui {
class Host;
}

namespace editing::ui {

class GraphicWindow;

/// Paints a stroke given in twips with a pen of width pixels.
void PaintStroke(QPainter& painter, const Stroke& stroke, int width, const QColor& color);

/// The Graphic command and the drawing of Shift gestures on the diagram.
/// Lives as a child of the main window.
class GraphicOverlay : public QObject {
    Q_OBJECT

  public:
    /// Connects "&Graphic" (MNGraphic), the pointer moves of the diagram and
    /// the start-up filling of the width list (hooks().FillWindowLists).
    explicit GraphicOverlay(diagram::ui::Host& host);

    /// The Graphic window, created hidden on first use.
    GraphicWindow* Window();
    /// "&Graphic": shows the window, modeless.
    void ShowGraphic();

    /// A press with Shift alone on the diagram: takes the pen from the
    /// sample line and starts a drawing gesture.
    void Press();
    /// A pointer move over the diagram; draws only during a gesture that a
    /// Shift press on the diagram started and its release has not ended.
    void Move(double x, double y);
    /// The release of a Shift gesture pressed at (pressX, pressY) and
    /// released at (x, y): removes the rubber band and draws the stroke into
    /// the picture (only for the left button and an armed press).
    void Release(bool leftButton, double pressX, double pressY, double x, double y);

  private:
    void DrawLasting(const Stroke& stroke);

    diagram::ui::Host& m_host;
    QPointer<GraphicWindow> m_window;
    bool m_placed = false;
    bool m_drawing = false;
    int m_penWidth = kDefaultPenWidth;
    QColor m_penColor;
};

}  // namespace editing::ui
