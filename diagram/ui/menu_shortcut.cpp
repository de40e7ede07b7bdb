#include "diagram/ui/menu_shortcut.h"

#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>

namespace diagram::ui {

bool IsMenuShortcut(const QWidget& widget, const QKeyEvent& event) {
    const QKeySequence pressed(event.keyCombination());
    if (pressed.isEmpty()) {
        return false;
    }
    const auto actions = widget.window()->findChildren<QAction*>();
    for (const QAction* action : actions) {
        for (const QKeySequence& key : action->shortcuts()) {
            if (key.matches(pressed) == QKeySequence::ExactMatch) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace diagram::ui
