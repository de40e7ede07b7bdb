#pragma once
// The game step buttons (Image2 0..3) of the book panel: small picture
// buttons with an up and a pressed picture.

#include <QAbstractButton>

namespace books::ui {

/// One of the four step buttons: 0 first position, 1 previous, 2 next,
/// 3 last position. It takes no keyboard focus; the panel's focus area
/// answers the arrow keys instead.
class StepButton : public QAbstractButton {
    Q_OBJECT

  public:
    /// Makes button index (0..3), named "Image2_<index>".
    StepButton(int index, QWidget* parent = nullptr);

    /// 0 first, 1 previous, 2 next, 3 last.
    int index() const { return m_index; }
    /// The picture for the up (pressed false) or pressed state.
    QPixmap Picture(bool pressed) const;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int m_index;
};

}  // namespace books::ui
