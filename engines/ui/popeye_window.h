#pragma once
// The Popeye window: eleven fields that state a problem for the outside
// solver, each typed or built up from a pick list; Solution writes the input
// file and starts the solver, and a fast timer follows its protocol file
// until the solution shows in the list.

#include <QWidget>
#include <array>
#include <functional>

#include "engines/engine_state.h"
#include "engines/popeye.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace diagram::ui {
class Host;
}

namespace engines::ui {

class SolutionView;

/// The solver's window. Created on first use with the main window as parent,
/// then hidden and shown while the program runs.
class PopeyeWindow : public QWidget {
    Q_OBJECT

  public:
    explicit PopeyeWindow(diagram::ui::Host& host);

    /// Field i (Combo1(i)) and its label (Label1(i)), i = 0 to 10.
    QComboBox* Combo1(int i) const { return m_ui.Combo1.at(static_cast<size_t>(i)); }
    QLabel* Label1(int i) const { return m_ui.Label1.at(static_cast<size_t>(i)); }
    QPushButton* Command1() const { return m_ui.Command1; }  ///< "Cl&ear All"
    QPushButton* Command2() const { return m_ui.Command2; }  ///< "&Solution"
    QPushButton* Command3() const { return m_ui.Command3; }  ///< "Cl&ose" / "&Hide"
    QPushButton* Command4() const { return m_ui.Command4; }  ///< "&Copy Sol"
    QPushButton* Command5() const { return m_ui.Command5; }  ///< "&Print Sol"
    QPushButton* Command6() const { return m_ui.Command6; }  ///< "&Stop", while a run is active
    QListWidget* List1() const { return m_ui.List1; }        ///< the solution
    QLabel* Label2() const { return m_ui.Label2; }           ///< the countdown
    QTimer* Timer1() const { return m_ui.Timer1; }
    /// The solution as a tree, beside the list.
    SolutionView* Solution() const { return m_solution; }

    /// Shows text in field i as the menu command does (one blank in front)
    /// and makes it the field's element.
    void SetField(int i, const std::string& text);
    /// Adds the pick lists read at start-up to the fields.
    void AddPickItems(const std::array<std::vector<std::string>, kPopeyeFieldCount>& lists);

    /// The run being followed.
    const PopeyeRun& run() const { return m_run; }
    /// Index of the field whose pick list was used last, -1 when none.
    int fCombo() const { return m_fCombo; }
    /// Replaces the steady clock (seconds) the countdown reads; for tests.
    void SetClock(std::function<double()> clock) { m_clock = std::move(clock); }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    struct Controls {
        std::array<QComboBox*, kPopeyeFieldCount> Combo1{};
        std::array<QLabel*, kPopeyeFieldCount> Label1{};
        QPushButton* Command1 = nullptr;
        QPushButton* Command2 = nullptr;
        QPushButton* Command3 = nullptr;
        QPushButton* Command4 = nullptr;
        QPushButton* Command5 = nullptr;
        QPushButton* Command6 = nullptr;
        QListWidget* List1 = nullptr;
        QLabel* Label2 = nullptr;
        QTimer* Timer1 = nullptr;
    };

    void BuildControls();
    void Combo1_Change(int index, const QString& text);
    void Combo1_Click(int index, const QString& item);
    void Command1_Click();
    void Command2_Click();
    void Command6_Click();
    void SelectPlaceholder(const std::string& warning);
    void Timer1_Timer();
    void ShowElement(int index);
    void RunTimer();
    std::string& Field(int index);
    /// Host::solverFieldsChanged with the stipulation and moves, conditions
    /// and twins, when they differ from those told last.
    void TellProblemFields();

    diagram::ui::Host& m_host;
    Controls m_ui;
    PopeyeRun m_run;
    qint64 m_pid = 0;
    int m_fCombo = -1;
    std::function<double()> m_clock;
    SolutionView* m_solution = nullptr;
    std::array<std::string, 3> m_told;
};

}  // namespace engines::ui
