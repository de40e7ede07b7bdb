#pragma once
// The book commands of the main window: Open Book (MNLoad), CmdLoad (also
// run by the recent files and the command line), Close Book (MNClose), the
// search criteria (MNCriteria), and the book panel Frame2: the game scroll
// bar HScroll1, the step buttons Image2 0..3 in the focus area Picture1, the
// tag list List1, the game label Label1 and the side label Label5.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <array>
#include <string>

class QColor;
class QLabel;

namespace diagram::ui {
class Host;
}

namespace books::ui {

class SearchWindow;
class StepButton;

/// Paints the book panel's game label (Label1) in a colour: black for the
/// whole book, red while a search has narrowed it.
void PaintBookLabel(diagram::ui::Host& host, const QColor& color);

/// Gives the main window its book commands. Lives as a child of the window.
class BookCommands : public QObject {
    Q_OBJECT

  public:
    /// Puts the step buttons into the panel and connects the menu items,
    /// the panel and the scroll bar. Attach() also fills in the hooks.
    explicit BookCommands(diagram::ui::Host& host);

    /// Opens program().book.BookFile: converts it into the work file, puts
    /// it on the recent files and shows game 1.
    void CmdLoad();
    /// "Open &Book": the file selection window, then CmdLoad.
    void MNLoad();
    /// "Cl&ose book": closes the work file and hides the panel.
    void MNClose();
    /// "&Criteria": the Search Criteria window, modal; afterwards shows the
    /// narrowed (or restored) game list.
    void MNCriteria();

    /// Prepares the scroll bar for the book's games and shows game 1.
    void SetHScroll();
    /// The scroll bar's change: the game of its value, from its first
    /// position, and the game label.
    void HScroll1Change();
    /// A step button: 0 first, 1 previous, 2 next, 3 last position.
    void Image2Click(int index);

    /// Step button index (0..3).
    StepButton* Image2(int index) const { return m_steps.at(index); }
    /// The panel's caption: the book file's name, shortened.
    QLabel* Caption() const { return m_caption; }
    /// The Search Criteria window, made on first use.
    SearchWindow* Search();

  protected:
    /// The panel's keys and focus cues: Enter in the tag list or on the
    /// scroll bar refreshes; the list selects its first line while it has
    /// the focus; the scroll bar frames the game label while it has it.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ShowRecord();
    void SwitchStyle(const std::string& name);
    void SetHeight(int twips);
    bool NormalState() const;
    void UpdateAddToBook();
    void ShowProgress(int64_t games);

    diagram::ui::Host& m_host;
    std::array<StepButton*, 4> m_steps{};
    QLabel* m_caption = nullptr;
    QPointer<SearchWindow> m_search;
    QElapsedTimer m_progressClock;  // since the last progress repaint
};

/// Attaches the book commands to the main window: the menu items, the
/// CmdLoad and AddToBook hooks and an unload step closing the work file.
/// Returns the commands (owned by the window).
BookCommands* Attach(diagram::ui::Host& host);

}  // namespace books::ui
