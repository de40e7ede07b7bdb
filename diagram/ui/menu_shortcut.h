#pragma once
// The menus' shortcuts win over the text controls of the main window, which
// would otherwise take some of them as editing keys (Ctrl+E, Ctrl+Z, Ctrl+C).

class QKeyEvent;
class QWidget;

namespace diagram::ui {

/// Whether the key of event is the shortcut of an action of widget's window.
/// Every action counts, enabled or not: a disabled Undo Rec must not turn
/// Ctrl+Z into an undo of the typing.
bool IsMenuShortcut(const QWidget& widget, const QKeyEvent& event);

}  // namespace diagram::ui
