#pragma once
// The History window and the main window's record-mode commands: "Rec &Mode"
// (MNRec), "&Undo Rec" (MNUndo) and "&History" (MNHistory).
//
// The lines themselves live in program().editing.History; the main window's
// Copy FEN appends to it and signals fenCopied(), and the window's list shows
// them. The window is made hidden by the first Copy FEN, Undo Rec or History
// command.
//
// Other parts plug in here:
// * The record button (toolbar) toggles record mode with
//   action("MNRec")->trigger() and shows its on/off picture from the item's
//   toggled(bool).
// * "A&dd to Book" (Command7) runs the main window's hooks().AddToBook, which
//   shows the add-to-book window modally; the button is enabled only while a
//   ".PGN" or ".FEN" book is open and the list has lines.

#include <QListWidget>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <string_view>

class QGroupBox;
class QPushButton;

namespace diagram::ui {
class Host;
}

namespace editing::ui {

/// The History list: a list box whose key characters and right presses
/// belong to the History window; arrow and page keys move as usual.
class HistoryList : public QListWidget {
    Q_OBJECT

  public:
    explicit HistoryList(QWidget* parent = nullptr);

  signals:
    /// A key character typed in the list: 13 Enter, 27 Esc, or the
    /// character of a printable key.
    void keyTyped(char ch);
    /// The right mouse button was pressed on the list.
    void rightPressed();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

/// The History window ("History"). Closing it with the close box hides it
/// while the program runs.
class HistoryWindow : public QWidget {
    Q_OBJECT

  public:
    explicit HistoryWindow(diagram::ui::Host& host);

    /// Lists program().editing.History again, keeping the selected row.
    void Reload();
    /// After a Copy FEN: lists the new line and sets the Add to Book state.
    void LineAdded();
    /// "A&dd to Book" is enabled exactly while a ".PGN" or ".FEN" book is
    /// open ("Cl&ose book" enabled) and the list has lines.
    void UpdateAddToBook();

    /// "&Copy FEN": all lines, each with CR LF, to the clipboard.
    void CopyFEN();
    /// "Cl&ear All": empties the list; disables Undo Rec and Add to Book.
    void ClearAll();
    /// "Insert All" with side "w" or "b", or "&Remove All" with side "".
    void InsertAll(std::string_view side);
    /// "Copy P&GN": the moves between consecutive lines to the clipboard.
    void CopyPGN();
    /// "A&dd to Book": the main window's AddToBook hook.
    void AddToBook();
    /// Enter or a double click: the selected line's placement into the
    /// board, then the main window is activated.
    void LoadLine();
    /// Space or a right press: asks, then removes the selected line.
    void RemoveLine();
    /// The action of a key character typed in the list.
    void KeyTyped(char ch);
    /// The selected row, or -1 when no line is selected.
    int SelectedRow() const;

    // The controls, under the names they bear.
    HistoryList* List1() const { return m_ui.List1; }
    QPushButton* Command1() const { return m_ui.Command1; }
    QPushButton* Command2() const { return m_ui.Command2; }
    QPushButton* Command3() const { return m_ui.Command3; }
    QPushButton* Command4() const { return m_ui.Command4; }
    QPushButton* Command5() const { return m_ui.Command5; }
    QPushButton* Command6() const { return m_ui.Command6; }
    QPushButton* Command7() const { return m_ui.Command7; }
    QPushButton* Command8() const { return m_ui.Command8; }
    QGroupBox* Frame1() const { return m_ui.Frame1; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    struct Controls {
        HistoryList* List1 = nullptr;
        QPushButton* Command1 = nullptr;
        QPushButton* Command2 = nullptr;
        QPushButton* Command3 = nullptr;
        QPushButton* Command4 = nullptr;
        QPushButton* Command5 = nullptr;
        QPushButton* Command6 = nullptr;
        QPushButton* Command7 = nullptr;
        QPushButton* Command8 = nullptr;
        QGroupBox* Frame1 = nullptr;
    };

    void BuildControls();
    void ReplaceSelected(const std::string& line);

    diagram::ui::Host& m_host;
    Controls m_ui;
};

/// Record mode, Undo Rec and the History command of the main window. Lives
/// as a child of the window.
class HistoryCommands : public QObject {
    Q_OBJECT

  public:
    /// Connects MNRec, MNUndo, MNHistory and the window's fenCopied().
    explicit HistoryCommands(diagram::ui::Host& host);

    /// The History window, made hidden on first use.
    HistoryWindow* Window();
    /// "&History": shows the window, modeless.
    void ShowHistory();
    /// "Rec &Mode" after its check mark flipped: on starts recording with a
    /// Copy FEN of the position as it stands.
    void RecMode(bool on);
    /// "&Undo Rec": drops the last line and shows the position of the line
    /// before it; with fewer than two lines nothing changes. The FEN text
    /// box's caret goes to the end either way.
    void Undo();

  private:
    diagram::ui::Host& m_host;
    QPointer<HistoryWindow> m_window;
    bool m_placed = false;
};

/// Attaches record mode, Undo Rec and the History window to the main window;
/// returns the commands (owned by the window).
HistoryCommands* AttachHistory(diagram::ui::Host& host);

}  // namespace editing::ui
