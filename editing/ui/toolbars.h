#pragma once
// The main window's two rows of picture buttons and the record button.
// Every button runs a command that also exists as a menu item, by the item's
// name. The game step buttons of the book panel belong to the books windows.

#include <QObject>
#include <QPixmap>
#include <QWidget>
#include <array>
#include <vector>

class QToolBar;

namespace diagram::ui {
class Host;
}

namespace editing::ui {

/// A picture button. With the press look it shows its pressed picture while
/// a press holds it and the pointer is over it; a left release over it is a
/// click. The second press of a double click is a press like the first, so a
/// double click makes two clicks.
class PictureButton : public QWidget {
    Q_OBJECT

  public:
    PictureButton(const QString& name, bool pressLook, QWidget* parent = nullptr);

    /// Shows picture while the button is up (and sets the one shown now).
    void SetUpPicture(const QPixmap& picture);
    /// The picture shown while the button is held down.
    void SetPressedPicture(const QPixmap& picture);
    /// The picture shown now.
    const QPixmap& picture() const { return m_shown; }
    /// Whether the pressed picture is shown.
    bool isDown() const { return m_down; }

  signals:
    /// Any press on the button, before its picture changes.
    void pressed();
    /// A left release over the button, after the up picture is back.
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void ShowDown(bool down);

    bool m_pressLook;
    bool m_down = false;
    QPixmap m_up;
    QPixmap m_pressedPicture;
    QPixmap m_shown;
};

/// The toolbars of one main window. Lives as a child of the window.
class Toolbars : public QObject {
    Q_OBJECT

  public:
    /// Number of buttons of each toolbar.
    static constexpr int kButtons = 9;

    /// Builds both toolbars and the record button into the main window, fills the
    /// picture stores and hooks start-up step 8 (hooks().ToolbarPictures).
    explicit Toolbars(diagram::ui::Host& host);

    /// Start-up step 8: every button gets its up picture, the record button
    /// its "off" picture; the engine button is shown when an engine was found.
    void ToolbarPictures();

    /// A click on button i of the first toolbar.
    void Image4_Click(int i);
    /// A click on button i of the second toolbar.
    void Image7_Click(int i);
    /// A click on the record button: toggles record mode.
    void Image6_Click();

    // The controls, under the names they bear.
    QWidget* Picture3() const { return m_picture3; }
    QWidget* Picture4() const { return m_picture4; }
    PictureButton* Image4(int i) const { return m_image4[i]; }
    PictureButton* Image7(int i) const { return m_image7[i]; }
    PictureButton* Image6() const { return m_image6; }
    /// Picture stores: button i's up picture at i, its pressed one at i + 9;
    /// the record button's "off" picture at 0 and "on" picture at 1.
    const std::vector<QPixmap>& Image3() const { return m_image3; }
    const std::vector<QPixmap>& Image5() const { return m_image5; }
    const std::vector<QPixmap>& Image8() const { return m_image8; }

  private:
    void BuildFirst(QToolBar* bar);
    void BuildSecond(QToolBar* bar);
    void FenFocus();
    void EngineTip();

    diagram::ui::Host& m_host;
    QWidget* m_picture3 = nullptr;
    QWidget* m_picture4 = nullptr;
    std::array<PictureButton*, kButtons> m_image4{};
    std::array<PictureButton*, kButtons> m_image7{};
    PictureButton* m_image6 = nullptr;
    std::vector<QPixmap> m_image3;
    std::vector<QPixmap> m_image5;
    std::vector<QPixmap> m_image8;
};

}  // namespace editing::ui
