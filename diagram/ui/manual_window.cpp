#include "diagram/ui/manual_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "diagram/ui/secondary_windows.h"
#include "platform/ui/services.h"

namespace diagram::ui {

ManualWindow::ManualWindow(const platform::Services& services, const bool& keepWindows, QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(services), m_keepWindows(keepWindows) {
    setObjectName(QStringLiteral("ManualWindow"));
    setWindowTitle(QStringLiteral("Pandrel Manual"));
    m_text = new QTextBrowser(this);
    m_text->setObjectName(QStringLiteral("TextManual"));
    // Links are followed here, so that one out of the manual never turns
    // the page blank.
    m_text->setOpenLinks(false);
    connect(m_text, &QTextBrowser::anchorClicked, this, &ManualWindow::FollowLink);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    QSize size(760, 720);
    if (const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    }
    resize(size);
}

void ManualWindow::Open(const QString& path) {
    const QUrl url = QUrl::fromLocalFile(path);
    if (m_text->source() != url) {
        m_text->setSource(url, QTextDocument::HtmlResource);
    }
    show();
    raise();
    activateWindow();
}

void ManualWindow::FollowLink(const QUrl& url) {
    const QUrl target = m_text->source().resolved(url);
    if (target.isLocalFile()) {
        if (target.adjusted(QUrl::RemoveFragment) == m_text->source().adjusted(QUrl::RemoveFragment)) {
            m_text->scrollToAnchor(target.fragment());
        } else {
            m_text->setSource(target);
        }
        return;
    }
    if (!m_services.desktop->OpenUrl(target)) {
        m_services.messages->Warning(
            this, QStringLiteral("No web browser could be started to open %1.\n\n"
                                 "Install a web browser, or copy the address into one by hand.")
                      .arg(target.toString()));
    }
}

void ManualWindow::closeEvent(QCloseEvent* event) {
    HideWhileKept(*this, event, m_keepWindows);
}

}  // namespace diagram::ui
