#pragma once
// The "Add to" window: eight PGN tag boxes for the positions of the History
// list, appended as a new game to the open ".FEN" or ".PGN" book and shown
// at once in the book panel.

#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace diagram::ui {
class Host;
}

namespace books::ui {

class BookCommands;

/// The add-to-book window, shown modally by the History window's "A&dd to
/// Book". Closing it hides it while the program runs, so the tags typed stay
/// for the next game.
class AddToBookWindow : public QDialog {
    Q_OBJECT

  public:
    AddToBookWindow(diagram::ui::Host& host, BookCommands& commands);

    /// The window of the main window, made and registered on first use.
    static AddToBookWindow* Of(diagram::ui::Host& host, BookCommands& commands);

    /// "O&k" (or Enter in a box): appends the History lines to the book by
    /// its extension (".FEN" or ".PGN"; nothing for others), shows the new
    /// game and hides the window. When the book cannot be written a
    /// "Warning" says so and the window stays up; the book keeps what it
    /// held.
    void Ok();
    /// "Cl&ear All": empties the eight boxes; the focus goes to box 0.
    void ClearAll();
    /// The caption: "Add to " and the book's name shortened to 30 characters.
    void SetCaption();

    // The controls, under the names they bear (index 0..7: Event, Site,
    // White, Black, ECO, Date, Result, Style).
    QLineEdit* Text1(int index) const { return m_ui.Text1.at(index); }
    QLabel* Label1(int index) const { return m_ui.Label1.at(index); }
    QPushButton* Command1() const { return m_ui.Command1; }
    QPushButton* Command2() const { return m_ui.Command2; }
    QPushButton* Command3() const { return m_ui.Command3; }

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildControls();
    void ShowNewGame();

    struct Controls {
        std::array<QLineEdit*, 8> Text1{};
        std::array<QLabel*, 8> Label1{};
        QPushButton* Command1 = nullptr;
        QPushButton* Command2 = nullptr;
        QPushButton* Command3 = nullptr;
    };

    diagram::ui::Host& m_host;
    BookCommands& m_commands;
    Controls m_ui;
};

/// Gives the History window's "A&dd to Book" its window.
void AttachAddToBook(diagram::ui::Host& host, BookCommands& commands);

}  // namespace books::ui
