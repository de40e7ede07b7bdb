#pragma once
// The About window.

#include <QDialog>
#include <QPixmap>

namespace diagram::ui {

/// "Pandrel v" and the version as major "." minor and revision run together:
/// "3.0.2" gives "Pandrel v3.02". Missing numbers count as 0.
QString VersionLine(const QString& version);

/// Title "About Pandrel": what the program is, the platform it was built
/// for, its version; OK and Escape close it.
class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    AboutDialog(const QString& version, const QPixmap& icon, QWidget* parent = nullptr);
};

}  // namespace diagram::ui
