#include "diagram/ui/recent_files.h"

#include <QAction>

#include "settings/settings_file.h"

namespace diagram::ui {

RecentFilesMenu::RecentFilesMenu(std::array<QAction*, 4> items, QObject* parent)
    : QObject(parent), m_items(items) {
    for (int i = 0; i < 4; ++i) {
        connect(m_items[i], &QAction::triggered, this, [this, i] { emit fileChosen(i); });
    }
}

void RecentFilesMenu::Show(const std::array<std::string, 4>& files) {
    for (int i = 0; i < 4; ++i) {
        // A "&" in a file name is part of the name, not a mnemonic.
        QString caption = QString::fromStdString(settings::RecentCaption(i, files[i]));
        caption = caption.left(3) + caption.mid(3).replace(QLatin1Char('&'), QLatin1String("&&"));
        m_items[i]->setText(caption);
        m_items[i]->setVisible(!files[i].empty());
    }
}

}  // namespace diagram::ui
