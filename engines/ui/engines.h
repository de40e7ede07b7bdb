#pragma once
// The Engines menu and start-up discovery of the outside solver and engine:
// attaches the Popeye and Crafty windows to the main window.

#include <QObject>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

class QLockFile;

namespace diagram::ui {
class Host;
}

namespace engines::ui {

class AnalysisWindow;
class CraftyWindow;
class PopeyeWindow;

/// The engines of one main window. Lives as a child of the window.
class Engines : public QObject {
    Q_OBJECT

  public:
    /// Fills the window's hooks (FindEngines, FillWindowLists) and connects MNpy and MNCrafty. Call before
    /// Load().
    explicit Engines(diagram::ui::Host& host);
    ~Engines() override;

    /// Start-up: FindPopeye, then FindCrafty, with the menu items enabled
    /// for the programs found.
    void FindEngines();
    /// "Pope&ye": the board's pieces into the Popeye window, which is shown.
    void MNpy_Click();
    /// "&Crafty": the position, in English letters, into the Crafty window,
    /// which is shown.
    void MNCrafty_Click();
    /// "&Analysis...": the board's position into the Analysis window, which
    /// is shown; a Warning says why when it cannot be analysed.
    void MNAnalysis_Click();
    /// The windows, created on first use.
    PopeyeWindow* Popeye();
    CraftyWindow* Crafty();
    AnalysisWindow* Analysis();
    /// The UCI engines found at start-up, best first.
    const std::vector<std::string>& uciEngines() const { return m_uciEngines; }

    /// Whether another copy of the program with the same program folder was
    /// running when this one looked for the engines.
    bool anotherCopyRunning() const { return m_anotherCopy; }

  private:
    bool CheckOtherCopy();
    void Check(const char* checked, const char* unchecked);

    diagram::ui::Host& m_host;
    QPointer<PopeyeWindow> m_popeye;
    QPointer<CraftyWindow> m_crafty;
    QPointer<AnalysisWindow> m_analysis;
    std::vector<std::string> m_uciEngines;
    std::unique_ptr<QLockFile> m_lock;
    bool m_anotherCopy = false;
};

/// Attaches the engines to the main window; returns them (owned by the
/// window).
Engines* Attach(diagram::ui::Host& host);

/// The toolbar's engine button: runs the engine of RecentEngine ("Popeye" or
/// "Crafty", any case) through its menu command; nothing otherwise.
void RunRecentEngine(diagram::ui::Host& host);

}  // namespace engines::ui
