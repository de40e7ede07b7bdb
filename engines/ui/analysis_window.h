#pragma once
// The Analysis window: a UCI engine's lines for the position on the board,
// shown live while the engine searches, with the score from White's side and
// the moves in the style's letters. A double click plays a line's first move
// on the board.

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engines/chess_position.h"
#include "engines/uci_session.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimer;
class QTreeWidget;

namespace diagram::ui {
class Host;
}

namespace engines::ui {

class AnalysisWindow : public QWidget {
    Q_OBJECT

  public:
    /// Kinds of search limit, in the order of the limit list.
    enum class LimitKind { kDepth = 0, kSeconds = 1, kInfinite = 2 };

    /// engines are the programs to try, best first; the first that answers
    /// the hand-shake is used.
    AnalysisWindow(diagram::ui::Host& host, std::vector<std::string> engines);
    ~AnalysisWindow() override;

    QLabel* LabelEngine() const { return m_ui.LabelEngine; }  ///< the engine's name
    QLabel* LabelStatus() const { return m_ui.LabelStatus; }  ///< what goes on, or what went wrong
    QRadioButton* OptionWhite() const { return m_ui.OptionWhite; }
    QRadioButton* OptionBlack() const { return m_ui.OptionBlack; }
    QSpinBox* SpinLines() const { return m_ui.SpinLines; }           ///< lines to show, 1 to 5
    QComboBox* ComboLimit() const { return m_ui.ComboLimit; }        ///< depth, seconds or no limit
    QSpinBox* SpinLimit() const { return m_ui.SpinLimit; }           ///< the depth or the seconds
    QPushButton* CommandStart() const { return m_ui.CommandStart; }  ///< "&Start" / "&Stop"
    QPushButton* CommandCopy() const { return m_ui.CommandCopy; }    ///< "&Copy"
    QPushButton* CommandClose() const { return m_ui.CommandClose; }  ///< "Cl&ose"
    QTreeWidget* ListLines() const { return m_ui.ListLines; }        ///< one row per line
    QTimer* Timer1() const { return m_ui.Timer1; }

    /// Takes the board's position, with side to move; "" or why it cannot be analysed.
    std::string SetPosition(const ChessPosition& pos);
    /// The position being analysed.
    const ChessPosition& position() const { return m_position; }
    /// The engine session; for tests.
    const UciSession& session() const { return *m_session; }
    /// The rows as Copy puts them on the clipboard.
    QString RowsText() const;

    /// Starts the search, or stops it while it runs.
    void CommandStart_Click();
    /// Plays the first move of row on the board.
    void PlayFirstMove(int row);
    /// True while the rows shown belong to the position last searched; a
    /// change of the board or of the side to move takes them down.
    bool LinesValid() const { return m_linesValid; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    struct Controls {
        QLabel* LabelEngine = nullptr;
        QLabel* LabelStatus = nullptr;
        QRadioButton* OptionWhite = nullptr;
        QRadioButton* OptionBlack = nullptr;
        QSpinBox* SpinLines = nullptr;
        QComboBox* ComboLimit = nullptr;
        QSpinBox* SpinLimit = nullptr;
        QPushButton* CommandStart = nullptr;
        QPushButton* CommandCopy = nullptr;
        QPushButton* CommandClose = nullptr;
        QTreeWidget* ListLines = nullptr;
        QTimer* Timer1 = nullptr;
    };

    void BuildControls();
    void StartEngine(const QString& note = {});
    void Timer1_Timer();
    void ShowLines();
    void Search();
    void BoardChanged();
    void ForgetLines(const QString& why);
    void SideChanged();
    void LimitChanged();
    void ShowState();
    void StopSearch();
    UciLimits Limits() const;
    double Now() const;

    diagram::ui::Host& m_host;
    Controls m_ui;
    std::vector<std::string> m_engines;
    size_t m_nextEngine = 0;
    std::unique_ptr<UciSession> m_session;
    ChessPosition m_position;
    /// The position the rows were computed for, while m_linesValid.
    ChessPosition m_searched;
    bool m_linesValid = false;
    bool m_startWhenReady = false;
    bool m_restart = false;
    std::function<double()> m_clock;
};

}  // namespace engines::ui
