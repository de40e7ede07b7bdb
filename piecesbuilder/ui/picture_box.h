#pragma once

#include <QImage>
#include <QWidget>

namespace piecesbuilder {

/// A picture area with a persistent image: what is drawn into Image() stays and is shown at
/// its natural size. It reports mouse releases and keys to its owner.
class PictureBox : public QWidget {
    Q_OBJECT
  public:
    /// An empty picture area named objectName.
    explicit PictureBox(const QString& objectName, QWidget* parent = nullptr);

    /// The persistent image.
    const QImage& Image() const { return m_image; }

    /// Replaces the image; the area takes its size.
    void SetImage(const QImage& image);

    /// Gives a new, white image of widthPx × heightPx.
    void Clear(int widthPx, int heightPx);

    /// The image for drawing into; call Changed() afterwards.
    QImage& Canvas() { return m_image; }

    /// Shows what was drawn into Canvas().
    void Changed() { update(); }

  signals:
    /// A mouse button was released at pos (pixels of the image).
    void Released(QPoint pos);
    /// A key was pressed on the area.
    void KeyPressed(int key, const QString& text);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QImage m_image;
};

}  // namespace piecesbuilder
