#pragma once
// The "Search Criteria" window: words in the tags, numbers of men and pieces
// on squares narrow the open book to the games that meet them.

#include <QDialog>
#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace diagram::ui {
class Host;
}

namespace books::ui {

/// The search window, shown modally by the criteria command. Closing it
/// hides it while the program runs, so the criteria stay for the next use.
class SearchWindow : public QDialog {
    Q_OBJECT

  public:
    explicit SearchWindow(diagram::ui::Host& host);

    /// "O&k" (or Enter in a box): reads the criteria and searches the whole
    /// book. Found games narrow the game list (the game label turns red and
    /// the criteria item is checked); no criteria bring the whole book back;
    /// nothing found says "Game not found!" and keeps the window up.
    void Ok();
    /// "Cl&ear All": empties the five boxes.
    void ClearAll();

    // The controls, under the names they bear (box index 0..4: words,
    // White, Black, global, notations).
    QLineEdit* Text1(int index) const { return m_ui.Text1.at(index); }
    QLabel* Label3(int index) const { return m_ui.Label3.at(index); }
    QLabel* Label4() const { return m_ui.Label4; }
    QPushButton* Command1() const { return m_ui.Command1; }
    QPushButton* Command2() const { return m_ui.Command2; }
    QPushButton* Command3() const { return m_ui.Command3; }
    /// Frames 0 "Any Identification", 1 "Mens", 2 "Pieces and Positions".
    QGroupBox* Frame(int index) const { return m_ui.Frame.at(index); }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    struct Controls {
        std::array<QLineEdit*, 5> Text1{};
        std::array<QLabel*, 5> Label3{};
        std::array<QGroupBox*, 3> Frame{};
        QLabel* Label4 = nullptr;
        QPushButton* Command1 = nullptr;
        QPushButton* Command2 = nullptr;
        QPushButton* Command3 = nullptr;
    };

    void BuildControls();

    diagram::ui::Host& m_host;
    Controls m_ui;
};

}  // namespace books::ui
