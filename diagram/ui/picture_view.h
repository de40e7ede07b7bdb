#pragma once
// The diagram picture (PicMain): shows the renderer's persistent picture and
// reports the mouse in twips.

#include <QWidget>
#include <functional>

class QPainter;

namespace diagram {
class Renderer;
}

namespace diagram::ui {

/// Shows Renderer::picture() at its natural size. Mouse positions are given
/// in twips (15 to a pixel) from the picture's top-left corner, as the
/// diagram geometry (PixToInd) takes them.
class PictureView : public QWidget {
    Q_OBJECT

  public:
    explicit PictureView(const diagram::Renderer& renderer, QWidget* parent = nullptr);

    /// Takes the size of the picture; call after the picture was prepared.
    void FitPicture();
    /// A temporary drawing layer: painted over the picture on every repaint
    /// and never part of it. An empty function removes it.
    void SetOverlay(std::function<void(QPainter&)> overlay);

    QSize sizeHint() const override;

  signals:
    void mousePressed(double x, double y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    /// Also sent while no button is held.
    void mouseMoved(double x, double y, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void mouseReleased(double x, double y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void mouseDoubleClicked(double x, double y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    const diagram::Renderer& m_renderer;
    std::function<void(QPainter&)> m_overlay;
};

}  // namespace diagram::ui
