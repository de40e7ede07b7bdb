#pragma once
// The manual, shown in a window of the program's own, so that Help works on
// a desktop without a web browser.

#include <QWidget>

class QCloseEvent;
class QTextBrowser;
class QUrl;

namespace platform {
struct Services;
}

namespace diagram::ui {

/// Title "Pandrel Manual": the manual as a browsable page. Links inside the
/// manual are followed in the window; links out of it (web addresses) go to
/// the desktop's browser, and a "Warning" box says so when there is none.
/// Escape or the close box hide it while keepWindows is true.
class ManualWindow : public QWidget {
    Q_OBJECT

  public:
    ManualWindow(const platform::Services& services, const bool& keepWindows, QWidget* parent = nullptr);

    /// Shows the manual file (an absolute path) and brings the window up.
    void Open(const QString& path);
    /// The page control (objectName "TextManual").
    QTextBrowser* TextManual() const { return m_text; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void FollowLink(const QUrl& url);

    const platform::Services& m_services;
    const bool& m_keepWindows;
    QTextBrowser* m_text = nullptr;
};

}  // namespace diagram::ui
