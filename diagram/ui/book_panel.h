#pragma once
// The book panel (Frame2): hidden until a book is open. It holds the focus
// area Picture1 (home of the four game step buttons), the tag label Label1,
// the side-to-move label Label5, the game list List1 and the scroll bar
// HScroll1. The books subsystem fills them in.

#include <QFrame>

class QLabel;
class QListWidget;
class QScrollBar;

namespace diagram::ui {

/// Focusable container of the game step buttons. Left and Right ask for the
/// previous and next position, Ctrl+Left and Ctrl+Right for the first and
/// last; any other modifier does nothing. Enter asks for a refresh.
class StepArea : public QFrame {
    Q_OBJECT

  public:
    explicit StepArea(QWidget* parent = nullptr);

    /// Step button for a key: shift state (Shift 1, Ctrl 2, Alt 4) * 50 plus
    /// the key code (Left 37, Right 39). 0 first, 1 previous, 2 next, 3 last;
    /// -1 for anything else.
    static int ButtonForKey(int shiftState, int keyCode);

  signals:
    /// A step button's action was asked for by key (0 first ... 3 last).
    void stepRequested(int button);
    /// Enter was pressed.
    void refreshRequested();
    /// The area got (true) or lost (false) the keyboard focus.
    void focusChanged(bool hasFocus);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

/// The book panel with its named parts.
class BookPanel : public QFrame {
    Q_OBJECT

  public:
    explicit BookPanel(QWidget* parent = nullptr);
    ~BookPanel() override;

    StepArea* Picture1() const { return m_ui.Picture1; }
    QLabel* Label1() const { return m_ui.Label1; }
    QLabel* Label5() const { return m_ui.Label5; }
    QListWidget* List1() const { return m_ui.List1; }
    QScrollBar* HScroll1() const { return m_ui.HScroll1; }

  private:
    struct Controls {
        StepArea* Picture1 = nullptr;
        QLabel* Label1 = nullptr;
        QLabel* Label5 = nullptr;
        QListWidget* List1 = nullptr;
        QScrollBar* HScroll1 = nullptr;
    };
    Controls m_ui;
};

}  // namespace diagram::ui
