#pragma once
// The Graphic window: the drawing settings of the graphic overlay (object,
// snapping, pen width and colour) and "&Clear Graphic". Shift gestures on the
// diagram read these settings; the window need never be shown for that.

#include <QFrame>
#include <QWidget>
#include <array>
#include <cstdint>

#include "editing/graphic.h"

class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace diagram::ui {
class Host;
}

namespace editing::ui {

/// The sample line of the "Width" frame (Line1): the single place where the
/// pen width (pixels) and the pen colour (0x00BBGGRR) live.
class SampleLine : public QWidget {
    Q_OBJECT

  public:
    explicit SampleLine(QWidget* parent = nullptr);

    int penWidth() const { return m_width; }
    int32_t penColor() const { return m_color; }
    void SetPenWidth(int width);
    void SetPenColor(int32_t color);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int m_width = kDefaultPenWidth;
    int32_t m_color = kDefaultPenColor;
};

/// One colour swatch of the "Color" frame. Shown flat while it has the
/// focus and with a single-line border otherwise.
class ColorSwatch : public QFrame {
    Q_OBJECT

  public:
    ColorSwatch(int index, int32_t color, QWidget* parent = nullptr);

    int index() const { return m_index; }
    /// The swatch's own colour (0x00BBGGRR); a colour picked with a double
    /// click does not change it.
    int32_t color() const { return m_color; }

  signals:
    /// A click, or Enter or Space while the swatch has the focus.
    void chosen(int index);
    /// A double click.
    void doubleClicked(int index);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    int m_index;
    int32_t m_color;
    bool m_clickArmed = false;
};

/// The Graphic window ("Graphic"). Closing it with the close box hides it
/// while the program runs, so its settings last until the program ends.
class GraphicWindow : public QWidget {
    Q_OBJECT

  public:
    explicit GraphicWindow(diagram::ui::Host& host);

    /// The chosen object: "&Line", "C&ircle" or "Free &Hand".
    GraphicObject Object() const;
    /// The chosen snapping, also while the Mode options are disabled.
    SnapMode Mode() const;

    /// Start-up: the width list gets the entries "1" to "9".
    void FillWidthList();
    /// A swatch's double click: the colour chooser, preselected with the
    /// swatch's colour; a chosen colour goes to the sample line.
    void PickSwatchColor(int index);

    // The controls, under the names they bear.
    QRadioButton* Option1() const { return m_ui.Option[0]; }
    QRadioButton* Option2() const { return m_ui.Option[1]; }
    QRadioButton* Option3() const { return m_ui.Option[2]; }
    QRadioButton* Option4() const { return m_ui.Option[3]; }
    QRadioButton* Option5() const { return m_ui.Option[4]; }
    QRadioButton* Option6() const { return m_ui.Option[5]; }
    QComboBox* Combo1() const { return m_ui.Combo1; }
    SampleLine* Line1() const { return m_ui.Line1; }
    ColorSwatch* Picture1(int index) const { return m_ui.Picture1[index]; }
    QPushButton* Command1() const { return m_ui.Command1; }
    QPushButton* Command2() const { return m_ui.Command2; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    struct Controls {
        std::array<QRadioButton*, 6> Option{};  // Option1 .. Option6
        QComboBox* Combo1 = nullptr;
        SampleLine* Line1 = nullptr;
        std::array<ColorSwatch*, kSwatchCount> Picture1{};
        QPushButton* Command1 = nullptr;
        QPushButton* Command2 = nullptr;
        QGroupBox* Frame1 = nullptr;
        QGroupBox* Frame2 = nullptr;
        QGroupBox* Frame3 = nullptr;
        QGroupBox* Frame4 = nullptr;
    };

    void BuildControls();
    void ConnectControls();

    diagram::ui::Host& m_host;
    Controls m_ui;
};

}  // namespace editing::ui
