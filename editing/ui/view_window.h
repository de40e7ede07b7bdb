#pragma once
// The View window: the piece palette of the board editor, six pieces wide,
// with a preview of the chosen piece beside it.

#include <QImage>
#include <QWidget>
#include <functional>

#include "diagram/render/font_men.h"
#include "editing/palette.h"

namespace diagram::ui {
class Host;
}

namespace editing::ui {

/// A picture area of the palette window: shows an image and reports its
/// mouse, focus and key events.
class PictureBox : public QWidget {
    Q_OBJECT

  public:
    explicit PictureBox(QWidget* parent = nullptr);

    /// Replaces the picture shown.
    void SetImage(const QImage& image);
    const QImage& image() const { return m_image; }

  signals:
    /// A press (or the second press of a double click), in twips from the
    /// top-left corner.
    void pressed(double x, double y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    /// A release, in twips, with the point on the screen (in pixels).
    void released(double x, double y, QPoint globalPos);
    void focusLost();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    QImage m_image;
};

/// The piece palette. Closing it with the close box hides it while the
/// program runs and forgets the chosen piece; Esc only hides it.
class ViewWindow : public QWidget {
    Q_OBJECT

  public:
    explicit ViewWindow(diagram::ui::Host& host);
    ~ViewWindow() override;

    /// Lays out and paints the palette, then the preview: a bitmap style's
    /// men cut from the pieces bitmap, a font style's drawn as the diagram
    /// draws them on a light square, at a size that keeps the window within
    /// half the screen. A chosen piece the piece list no longer has is
    /// forgotten.
    void DrawView();
    /// Paints the preview of the chosen piece (empty when none is chosen).
    void DrawSelect();

    /// The palette picture.
    PictureBox* Picture1() const { return m_picture1; }
    /// The preview picture; a click on it forgets the chosen piece.
    PictureBox* Picture2() const { return m_picture2; }
    /// The palette's cells as last laid out, in twips.
    const PaletteGrid& grid() const { return m_grid; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void PalettePressed(double x, double y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void PaletteReleased(double x, double y, QPoint globalPos);
    int BoardSquareAt(QPoint globalPos) const;
    void FenFocus();

    diagram::ui::Host& m_host;
    PictureBox* m_picture1;
    PictureBox* m_picture2;
    PaletteGrid m_grid;      // what the palette shows and its clicks are read by
    diagram::FontMen m_men;  // a font style's men, for the palette and preview
};

/// Mouse button code of a press: 1 left, 2 right, 4 middle, 0 other.
int16_t ButtonCode(Qt::MouseButton button);
/// Shift state of a press: 1 Shift + 2 Ctrl + 4 Alt.
int16_t ShiftCode(Qt::KeyboardModifiers modifiers);

}  // namespace editing::ui
