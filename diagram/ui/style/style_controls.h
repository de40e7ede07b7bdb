#pragma once
// Small controls of the style window: colour boxes and image buttons.

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <cstdint>

class QComboBox;

namespace diagram::ui {

/// A box showing one colour as its background. Takes the focus; a click or
/// a double click asks for another colour. A focused box has a border.
class ColorBox : public QFrame {
    Q_OBJECT

  public:
    explicit ColorBox(QWidget* parent = nullptr);

    /// The colour shown, 0x00BBGGRR.
    int32_t color() const { return m_color; }
    void setColor(int32_t bgr);

    QSize sizeHint() const override { return {40, 20}; }

  signals:
    /// Clicked or double-clicked.
    void clicked();
    /// Gained (true) or lost (false) the focus.
    void focusChanged(bool hasFocus);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    int32_t m_color = 0;
};

/// A picture that acts as a button: it looks pressed while the mouse button
/// is down on it and reports a click when released over it.
class ImageButton : public QLabel {
    Q_OBJECT

  public:
    explicit ImageButton(const QPixmap& picture, QWidget* parent = nullptr);

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void SetPressed(bool pressed);
};

/// Keeps an editable list at least wide enough to show its widest entry, or
/// `minimumChars` digits, whole beside its arrow.
void FitToItems(QComboBox* combo, int minimumChars);

/// The pictures of the style window's image buttons.
QPixmap FolderPicture();
QPixmap LockPicture(bool locked);
QPixmap ResetPicture();

}  // namespace diagram::ui
