#pragma once
// The recent-file items of the File menu (MNFileList0 .. MNFileList3).

#include <QObject>
#include <array>
#include <string>

class QAction;

namespace diagram::ui {

/// Shows the recent files as menu items "&1 NAME" ... and tells which one
/// was chosen.
class RecentFilesMenu : public QObject {
    Q_OBJECT

  public:
    /// items are MNFileList0 .. MNFileList3.
    RecentFilesMenu(std::array<QAction*, 4> items, QObject* parent);

    /// Captions from files ("&1 " and the name shortened to 30 characters);
    /// an item is visible exactly when its entry is not empty.
    void Show(const std::array<std::string, 4>& files);

  signals:
    /// Item index (0..3) was chosen.
    void fileChosen(int index);

  private:
    std::array<QAction*, 4> m_items;
};

}  // namespace diagram::ui
