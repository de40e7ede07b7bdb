#pragma once
// The main window's menu bar, built from one table of names, captions,
// shortcuts and initial states.

#include <QHash>
#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;

namespace diagram::ui {

/// One entry of the menu table.
struct MenuEntry {
    const char* menu;      ///< Name of the menu the item belongs to.
    const char* name;      ///< Item name ("" for a separator); also its objectName.
    const char* caption;   ///< Caption with its "&" mnemonic.
    const char* shortcut;  ///< Key sequence in QKeySequence's portable form, or "".
    bool disabled;         ///< Disabled at start.
    bool checkable;        ///< Carries a check mark.
};

/// Menus and items of the main window, found by name.
class MainMenus : public QObject {
    Q_OBJECT

  public:
    /// Fills bar with every menu and item of the table.
    explicit MainMenus(QMenuBar* bar);

    /// An item by name, or nullptr.
    QAction* action(const QString& name) const { return m_actions.value(name); }
    /// A menu by name, or nullptr.
    QMenu* menu(const QString& name) const { return m_menus.value(name); }
    /// Number of recent-file items (MNFileList0 ...).
    static constexpr int kRecentItems = 4;

  private:
    QHash<QString, QAction*> m_actions;
    QHash<QString, QMenu*> m_menus;
};

}  // namespace diagram::ui
