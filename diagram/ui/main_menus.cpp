#include "diagram/ui/main_menus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <utility>

namespace diagram::ui {

namespace {

struct MenuHead {
    const char* parent;  // "" for a menu of the bar
    const char* name;
    const char* caption;
};

// Menus and submenus, in the order they appear.
constexpr MenuHead kMenus[] = {
    {"", "MNFile", "&File"},       {"", "MNEdit", "&Edit"},
    {"MNEdit", "MNCopy", "Cop&y"}, {"MNEdit", "MNEffects", "E&ffects"},
    {"", "MNEngines", "En&gines"}, {"", "MNHelp", "&Help"},
};

// Items in menu order; a submenu's own entry is placed where the submenu
// name appears. Separators have no name.
constexpr MenuEntry kItems[] = {
    {"MNFile", "MNNew", "&New", "Ctrl+N", false, false},
    {"MNFile", "MNStart", "S&tart Position", "Ctrl+T", false, false},
    {"MNFile", "", "", "", false, false},
    {"MNFile", "MNSave", "&Save Image", "Ctrl+S", false, false},
    {"MNFile", "MNSaveAs", "Save Image &As...", "Ctrl+A", false, false},
    {"MNFile", "", "", "", false, false},
    {"MNFile", "MNLoad", "Open &Book", "Ctrl+B", false, false},
    {"MNFile", "MNCriteria", "&Criteria", "Ctrl+F", true, false},
    {"MNFile", "MNClose", "Cl&ose book", "Ctrl+O", true, false},
    {"MNFile", "", "", "", false, false},
    {"MNFile", "MNPrint", "&Print", "Ctrl+P", false, false},
    {"MNFile", "", "", "", false, false},
    {"MNFile", "MNFileList0", "", "", false, false},
    {"MNFile", "MNFileList1", "", "", false, false},
    {"MNFile", "MNFileList2", "", "", false, false},
    {"MNFile", "MNFileList3", "", "", false, false},
    {"MNFile", "", "", "", false, false},
    {"MNFile", "MNExit", "E&xit", "Ctrl+X", false, false},
    {"MNEdit", "MNRefresh", "Refre&sh = <Enter>", "", false, false},
    {"MNEdit", "MNCopy", "", "", false, false},
    {"MNCopy", "MNPandrel", "&Pandrel", "Ctrl+C", false, false},
    {"MNCopy", "MNPicture", "&Image", "Ctrl+I", false, false},
    {"MNCopy", "MNHtml", "HTM&L", "Ctrl+L", false, false},
    {"MNEdit", "MNPaste", "&Paste Pandrel", "Ctrl+V", false, false},
    {"MNEdit", "", "", "", false, false},
    {"MNEdit", "MNHistory", "&History", "Ctrl+H", false, false},
    {"MNEdit", "MNRec", "Rec &Mode", "Ctrl+M", false, true},
    {"MNEdit", "MNUndo", "&Undo Rec", "Ctrl+Z", true, false},
    {"MNEdit", "", "", "", false, false},
    {"MNEdit", "MNEffects", "", "", false, false},
    {"MNEffects", "MNReverse", "&Reverse", "Ctrl+R", false, true},
    {"MNEffects", "MNHMirror", "Hori&zontal Mirror", "F2", false, false},
    {"MNEffects", "MNDMirror", "Dia&gonal Mirror", "F3", false, false},
    {"MNEffects", "MNVMirror", "Ver&tical Mirror", "F9", false, false},
    {"MNEffects", "MNRotate", "R&otate 90\u00b0", "F4", false, false},
    {"MNEffects", "MNLeft", "Move L&eft", "F5", false, false},
    {"MNEffects", "MNRight", "Move R&ight", "F6", false, false},
    {"MNEffects", "MNUp", "Mo&ve Up", "F7", false, false},
    {"MNEffects", "MNDown", "Move &Down", "F8", false, false},
    {"MNEdit", "MNGraphic", "&Graphic", "Ctrl+G", false, false},
    {"MNEdit", "MNstyle", "Styl&e", "Ctrl+E", false, false},
    {"MNEngines", "MNpy", "Pope&ye", "Ctrl+Y", false, true},
    {"MNEngines", "MNCrafty", "&Crafty", "Ctrl+K", false, true},
    {"MNEngines", "MNAnalysis", "&Analysis...", "Ctrl+U", false, false},
    {"MNHelp", "MNContents", "&Contents", "", false, false},
    {"MNHelp", "", "", "", false, false},
    {"MNHelp", "MNAbout", "&About...", "", false, false},
};

}  // namespace

MainMenus::MainMenus(QMenuBar* bar) : QObject(bar) {
    for (const MenuHead& head : kMenus) {
        auto* menu = new QMenu(QString::fromUtf8(head.caption), bar);
        menu->setObjectName(QString::fromLatin1(head.name));
        menu->menuAction()->setObjectName(QString::fromLatin1(head.name));
        m_menus.insert(menu->objectName(), menu);
        if (*head.parent == '\0') {
            bar->addMenu(menu);
        }
    }
    for (const MenuEntry& item : kItems) {
        QMenu* menu = m_menus.value(QString::fromLatin1(item.menu));
        const QString name = QString::fromLatin1(item.name);
        if (name.isEmpty()) {
            menu->addSeparator();
            continue;
        }
        if (QMenu* sub = m_menus.value(name)) {
            menu->addMenu(sub);
            m_actions.insert(name, sub->menuAction());
            continue;
        }
        auto* action = new QAction(QString::fromUtf8(item.caption), menu);
        action->setObjectName(name);
        if (*item.shortcut != '\0') {
            action->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut), QKeySequence::PortableText));
        }
        action->setEnabled(!item.disabled);
        action->setCheckable(item.checkable);
        menu->addAction(action);
        m_actions.insert(name, action);
    }
    for (int i = 0; i < kRecentItems; ++i) {
        m_actions.value(QStringLiteral("MNFileList%1").arg(i))->setVisible(false);
    }
    for (QMenu* menu : std::as_const(m_menus)) {
        if (!m_actions.contains(menu->objectName())) {
            m_actions.insert(menu->objectName(), menu->menuAction());
        }
    }
}

}  // namespace diagram::ui
