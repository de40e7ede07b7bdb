#include "diagram/ui/secondary_windows.h"

#include <QCloseEvent>

namespace diagram::ui {

void SecondaryWindows::Register(int number, QWidget* window) {
    m_windows[number] = window;
}

QWidget* SecondaryWindows::Window(int number) const {
    const auto it = m_windows.find(number);
    return it == m_windows.end() ? nullptr : it->second.data();
}

void SecondaryWindows::Minimised() {
    m_hidden.clear();
    for (int number : kHideOrder) {
        QWidget* window = Window(number);
        if (window != nullptr && window->isVisible()) {
            window->hide();
            m_hidden += QString::number(number);
        }
    }
}

void SecondaryWindows::Restored() {
    if (m_hidden.isEmpty()) {
        return;
    }
    for (QChar digit : std::as_const(m_hidden)) {
        if (QWidget* window = Window(digit.digitValue())) {
            window->show();
        }
    }
    m_hidden.clear();
}

void SecondaryWindows::CloseAll() {
    // A window's close may register or drop others; work on a copy.
    const auto windows = m_windows;
    for (const auto& [number, window] : windows) {
        if (window != nullptr) {
            window->close();
        }
    }
}

bool HideWhileKept(QWidget& window, QCloseEvent* event, bool keepWindows) {
    if (!keepWindows) {
        event->accept();
        return false;
    }
    window.hide();
    event->ignore();
    return true;
}

}  // namespace diagram::ui
