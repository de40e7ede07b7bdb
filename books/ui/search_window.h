#pragma once
// The "Search Criteria" window: words in the tags, numbers of men and pieces
// on squares narrow the open book to the games that meet them.

#include <QDialog>
#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QPushButton;

namespace diagram::ui {
class Host;
}

namespace books::ui {

class MatchList;

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
    /// "Cl&ear All": empties the five boxes and the position.
    void ClearAll();
    /// "Use the &board": the diagram's position becomes the one searched.
    void UseTheBoard();
    /// Ok with a position: finds it in every position of the book (or each
    /// game's first, as the options say). Matches are counted as they come;
    /// Escape or Close stops the search and keeps what was found. The game
    /// list becomes the matches, each showing its matching position.
    void FindPosition();
    /// "Find &Anticipations...": asks for another book file, then
    /// FindAnticipationsIn.
    void MNAnticipations();
    /// Lists the games of the open book whose first position the other book
    /// has (holds, with Partial), each with the other book's games, and
    /// narrows the game list to them.
    void FindAnticipationsIn(const std::string& otherBook);

    // The controls, under the names they bear (box index 0..4: words,
    // White, Black, global, notations).
    QLineEdit* Text1(int index) const { return m_ui.Text1.at(index); }
    QLabel* Label3(int index) const { return m_ui.Label3.at(index); }
    QLabel* Label4() const { return m_ui.Label4; }
    QPushButton* Command1() const { return m_ui.Command1; }
    QPushButton* Command2() const { return m_ui.Command2; }
    QPushButton* Command3() const { return m_ui.Command3; }
    /// Frames 0 "Any Identification", 1 "Mens", 2 "Pieces and Positions",
    /// 3 "Position".
    QGroupBox* Frame(int index) const { return m_ui.Frame.at(index); }
    /// The position searched (a FEN placement).
    QLineEdit* Text2() const { return m_ui.Text2; }
    /// "Use the &board".
    QPushButton* Command4() const { return m_ui.Command4; }
    /// "Find &Anticipations...".
    QPushButton* Command5() const { return m_ui.Command5; }
    /// Options 0 Partial, 1 Mirror, 2 Shift, 3 Colours, 4 First positions.
    QCheckBox* Check1(int index) const { return m_ui.Check1.at(index); }
    /// The anticipations found, a line a game.
    QListWidget* List2() const { return m_ui.List2; }
    /// The matches of the last position search, a line a match ("Game 4,
    /// position 3: mirror"); they come in while the search runs.
    QListView* List3() const { return m_ui.List3; }
    /// True while a position search runs.
    bool Searching() const { return m_searching; }

    /// Hiding the window while a search runs stops the search instead.
    void setVisible(bool visible) override;
    /// Escape while a search runs stops it; otherwise hides the window.
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    struct Controls {
        std::array<QLineEdit*, 5> Text1{};
        std::array<QLabel*, 5> Label3{};
        std::array<QGroupBox*, 4> Frame{};
        QLineEdit* Text2 = nullptr;
        QPushButton* Command4 = nullptr;
        QPushButton* Command5 = nullptr;
        std::array<QCheckBox*, 5> Check1{};
        QListWidget* List2 = nullptr;
        QListView* List3 = nullptr;
        QLabel* Label4 = nullptr;
        QPushButton* Command1 = nullptr;
        QPushButton* Command2 = nullptr;
        QPushButton* Command3 = nullptr;
    };

    void BuildControls();
    void BuildPositionFrame();
    void Narrowed();

    diagram::ui::Host& m_host;
    Controls m_ui;
    MatchList* m_matches = nullptr;
    bool m_searching = false;
    bool m_stop = false;
};

}  // namespace books::ui
