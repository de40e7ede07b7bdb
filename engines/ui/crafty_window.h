#pragma once
// The Crafty window: hands a position to the outside engine for analysis to
// a fixed depth through its start-up command file, and shows the engine's
// log of the analysis once it is done.

#include <QWidget>
#include <functional>
#include <optional>

#include "engines/crafty.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTimer;

namespace diagram::ui {
class Host;
}

namespace engines::ui {

/// The engine's window. Created at start-up, then hidden and shown while the
/// program runs.
class CraftyWindow : public QWidget {
    Q_OBJECT

  public:
    explicit CraftyWindow(diagram::ui::Host& host);

    QLineEdit* Text1() const { return m_ui.Text1; }          ///< the FEN text
    QLabel* Label1() const { return m_ui.Label1; }           ///< "FEN"
    QComboBox* Combo1() const { return m_ui.Combo1; }        ///< the depth
    QLabel* Label3() const { return m_ui.Label3; }           ///< "Depth "
    QGroupBox* Frame1() const { return m_ui.Frame1; }        ///< "Move first"
    QRadioButton* Option1() const { return m_ui.Option1; }   ///< "&White"
    QRadioButton* Option2() const { return m_ui.Option2; }   ///< "&Black"
    QPushButton* Command1() const { return m_ui.Command1; }  ///< "&Solution"
    QPushButton* Command2() const { return m_ui.Command2; }  ///< "&Copy Sol"
    QPushButton* Command3() const { return m_ui.Command3; }  ///< "&Print Sol"
    QPushButton* Command4() const { return m_ui.Command4; }  ///< "Cl&ose" / "&Hide"
    QPushButton* Command5() const { return m_ui.Command5; }  ///< "Cl&ear All"
    QPushButton* Command6() const { return m_ui.Command6; }  ///< "&Stop", while an analysis runs
    QListWidget* List1() const { return m_ui.List1; }        ///< the log
    QLabel* Label2() const { return m_ui.Label2; }           ///< elapsed time
    QTimer* Timer1() const { return m_ui.Timer1; }

    /// The depth list "8" to "14", showing "12".
    void FillDepthList();

    /// The analysis being followed.
    const CraftyRun& run() const { return m_run; }
    /// Replaces the steady clock (seconds) the elapsed time reads; for tests.
    void SetClock(std::function<double()> clock) { m_clock = std::move(clock); }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct Controls {
        QLineEdit* Text1 = nullptr;
        QLabel* Label1 = nullptr;
        QComboBox* Combo1 = nullptr;
        QLabel* Label3 = nullptr;
        QGroupBox* Frame1 = nullptr;
        QRadioButton* Option1 = nullptr;
        QRadioButton* Option2 = nullptr;
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
    void Command1_Click();
    void Command5_Click();
    void Command6_Click();
    void Timer1_Timer();
    bool StartEngine();

    diagram::ui::Host& m_host;
    Controls m_ui;
    CraftyRun m_run;
    qint64 m_pid = 0;
    std::optional<double> m_lastStartFailure;
    std::function<double()> m_clock;
};

}  // namespace engines::ui
