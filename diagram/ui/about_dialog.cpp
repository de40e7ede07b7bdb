#include "diagram/ui/about_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStringList>

namespace diagram::ui {

QString VersionLine(const QString& version) {
    const QStringList parts = version.split(QLatin1Char('.'));
    auto part = [&](int i) {
        return i < parts.size() ? QString::number(parts.at(i).toInt()) : QStringLiteral("0");
    };
    return QStringLiteral("Pandrel v") + part(0) + QLatin1Char('.') + part(1) + part(2);
}

AboutDialog::AboutDialog(const QString& version, const QPixmap& icon, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Pandrel"));
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setPixmap(icon);
    auto* what = new QLabel(QStringLiteral("Chess Diagram Editor"), this);
    what->setObjectName(QStringLiteral("lblDescription"));
    auto* platform = new QLabel(QStringLiteral("for Linux"), this);
    platform->setObjectName(QStringLiteral("lblPlatform"));
    auto* versionLabel = new QLabel(VersionLine(version), this);
    versionLabel->setObjectName(QStringLiteral("lblVersion"));
    // Beside the program's own lines: its licence.
    auto* licence = new QLabel(QStringLiteral("Free software under the GNU General Public License,\n"
                                              "version 3 or later; it comes with NO WARRANTY."),
                               this);
    licence->setObjectName(QStringLiteral("lblLicense"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(picture, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(what, 0, 1);
    layout->addWidget(platform, 1, 1);
    layout->addWidget(versionLabel, 2, 1);
    layout->addWidget(licence, 3, 1);
    layout->addWidget(buttons, 4, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace diagram::ui
