#pragma once
// The secondary windows the main window knows of: hidden and shown again
// with it on minimise and restore, closed in a fixed order when it closes.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <map>

class QCloseEvent;

namespace diagram::ui {

/// Registry of secondary windows by their unload number (1..10).
class SecondaryWindows {
  public:
    /// Numbers of the windows minimising hides, in the order it looks at them.
    static constexpr int kHideOrder[] = {3, 6, 7, 8, 9};

    /// Makes window known under number; a later call replaces it.
    void Register(int number, QWidget* window);
    /// The window registered under number, or nullptr.
    QWidget* Window(int number) const;

    /// Main window minimised: hides the visible windows of kHideOrder and
    /// remembers their digits.
    void Minimised();
    /// Main window back: shows the remembered windows again.
    void Restored();
    /// Digits of the windows hidden by the last Minimised().
    const QString& HiddenList() const { return m_hidden; }
    /// Closes every registered window in ascending number order.
    void CloseAll();

  private:
    std::map<int, QPointer<QWidget>> m_windows;
    QString m_hidden;
};

/// The close box of a secondary window, for its closeEvent: while the
/// program runs (keepWindows, the program's KeepWindows) it only hides window
/// and ignores the event, and the answer is true. When the program ends it
/// accepts the event and answers false, so the window may tidy up before it
/// closes.
bool HideWhileKept(QWidget& window, QCloseEvent* event, bool keepWindows);

}  // namespace diagram::ui
