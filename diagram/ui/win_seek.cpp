#include "diagram/ui/win_seek.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QTimer>
#include <QVBoxLayout>

#include "diagram/seek.h"
#include "diagram/ui/host.h"
#include "diagram/ui/window_place.h"

namespace diagram::ui {

namespace {

constexpr int kPathRole = Qt::UserRole;

QString CleanFolder(const QString& path) {
    return QDir::cleanPath(QDir(path).absolutePath());
}

// The folder itself when it can be listed, else its nearest ancestor that can.
QString ListableFolder(QString path) {
    while (!QDir(path).isReadable() && !QDir(path).isRoot()) {
        path = CleanFolder(path + "/..");
    }
    return path;
}

void SetCue(QLabel* label, bool on) {
    label->setFrameStyle(on ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    label->setLineWidth(1);
}

}  // namespace

WinSeek::WinSeek(diagram::ui::Program& program, QWidget* parent) : QDialog(parent), m_program(program) {
    setObjectName("WinSeek");
    setModal(true);
    BuildControls();
    FillDrives();
    m_folder = ListableFolder(CleanFolder(QDir::currentPath()));
    FillFolders();
    RefreshFiles();
    ShowDrive();
}

WinSeek& WinSeek::Of(QWidget* owner, diagram::ui::Program& program) {
    if (auto* found = owner->findChild<WinSeek*>("WinSeek", Qt::FindDirectChildrenOnly)) {
        return *found;
    }
    return *new WinSeek(program, owner);
}

WinSeek& WinSeek::Of(Host& host) {
    WinSeek& seek = Of(host.mainWindow(), host.program());
    host.RegisterWindow(Secondary::kFileSelection, &seek);
    return seek;
}

void WinSeek::BuildControls() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);

    // Everything sits on one panel as wide as the window, in the window's colour.
    m_ui.Picture1 = new QWidget(this);
    m_ui.Picture1->setObjectName("Picture1");
    m_ui.Picture1->setAutoFillBackground(true);
    m_ui.Picture1->setBackgroundRole(QPalette::Window);
    outer->addWidget(m_ui.Picture1);

    m_ui.Label1 = new QLabel("File:", m_ui.Picture1);
    m_ui.Label1->setObjectName("Label1");
    m_ui.Text2 = new QLineEdit(m_ui.Picture1);
    m_ui.Text2->setObjectName("Text2");
    m_ui.Label1->setBuddy(m_ui.Text2);

    m_ui.filList = new QListWidget(m_ui.Picture1);
    m_ui.filList->setObjectName("filList");
    m_ui.filList->setSelectionMode(QAbstractItemView::SingleSelection);

    m_ui.lblCriteria = new QLabel("Search &Criteria:", m_ui.Picture1);
    m_ui.lblCriteria->setObjectName("lblCriteria");
    m_ui.lblCriteria->setAutoFillBackground(true);
    m_ui.lblCriteria->setBackgroundRole(QPalette::Window);
    m_ui.txtSearchSpec = new QComboBox(m_ui.Picture1);
    m_ui.txtSearchSpec->setObjectName("txtSearchSpec");
    m_ui.txtSearchSpec->setEditable(true);
    m_ui.txtSearchSpec->setInsertPolicy(QComboBox::NoInsert);
    m_ui.txtSearchSpec->setEditText(kSeekInitialFilter);
    m_ui.lblCriteria->setBuddy(m_ui.txtSearchSpec);

    m_ui.dirList = new QListWidget(m_ui.Picture1);
    m_ui.dirList->setObjectName("dirList");
    m_ui.drvList = new QComboBox(m_ui.Picture1);
    m_ui.drvList->setObjectName("drvList");

    m_ui.OkCmd = new QPushButton("O&k", m_ui.Picture1);
    m_ui.OkCmd->setObjectName("OkCmd");
    m_ui.CancelCmd = new QPushButton("Cl&ose", m_ui.Picture1);
    m_ui.CancelCmd->setObjectName("CancelCmd");
    // Enter confirms only from the file name box; elsewhere it is no shortcut.
    m_ui.OkCmd->setAutoDefault(false);
    m_ui.CancelCmd->setAutoDefault(false);

    auto* grid = new QGridLayout(m_ui.Picture1);
    grid->addWidget(m_ui.Label1, 0, 0);
    grid->addWidget(m_ui.Text2, 1, 0);
    grid->addWidget(m_ui.filList, 2, 0, 2, 1);
    grid->addWidget(m_ui.lblCriteria, 4, 0);
    grid->addWidget(m_ui.txtSearchSpec, 5, 0);
    grid->addWidget(new QLabel("Folders:", m_ui.Picture1), 0, 1);
    grid->addWidget(m_ui.dirList, 1, 1, 3, 1);
    grid->addWidget(new QLabel("Drives:", m_ui.Picture1), 4, 1);
    grid->addWidget(m_ui.drvList, 5, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_ui.OkCmd);
    buttons->addWidget(m_ui.CancelCmd);
    buttons->addStretch();
    grid->addLayout(buttons, 1, 2, 3, 1);
    grid->setRowStretch(2, 1);
    resize(480, 320);

    connect(m_ui.OkCmd, &QPushButton::clicked, this, &WinSeek::Ok);
    connect(m_ui.CancelCmd, &QPushButton::clicked, this, &WinSeek::Cancel);
    connect(m_ui.Text2, &QLineEdit::returnPressed, this, &WinSeek::Ok);
    connect(m_ui.filList, &QListWidget::itemSelectionChanged, this, &WinSeek::FileChosen);
    connect(m_ui.filList, &QListWidget::itemDoubleClicked, this, [this] {
        FileChosen();
        Ok();
    });
    connect(m_ui.txtSearchSpec, &QComboBox::editTextChanged, this, &WinSeek::RefreshFiles);
    connect(m_ui.txtSearchSpec, &QComboBox::activated, this,
            [this](int index) { m_ui.txtSearchSpec->setEditText(m_ui.txtSearchSpec->itemText(index)); });
    connect(m_ui.dirList, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { setFolder(item->data(kPathRole).toString()); });
    connect(m_ui.drvList, &QComboBox::activated, this, &WinSeek::DriveChosen);

    m_ui.Text2->installEventFilter(this);
    m_ui.txtSearchSpec->installEventFilter(this);
    m_ui.txtSearchSpec->lineEdit()->installEventFilter(this);
    m_ui.dirList->installEventFilter(this);
}

QString WinSeek::fileName() const {
    return m_ui.Text2->text();
}

QString WinSeek::filter() const {
    return m_ui.txtSearchSpec->currentText();
}

bool WinSeek::Seek(int purpose) {
    m_program.SeekPurpose = purpose;
    if (parentWidget() != nullptr) {
        PlaceBesideOnce(*this, *parentWidget());
    }
    exec();
    return m_program.SeekPurpose == kSeekConfirmed;
}

void WinSeek::showEvent(QShowEvent* event) {
    // Spontaneous shows (the desktop restoring the window) are no new use.
    if (!event->spontaneous()) {
        Activate();
    }
    QDialog::showEvent(event);
}

void WinSeek::Activate() {
    const QString previous = filter();
    QComboBox* filters = m_ui.txtSearchSpec;
    const QSignalBlocker block(filters);
    filters->clear();
    const auto setup = SeekSetupFor(m_program.SeekPurpose, previous.toStdString());
    if (setup) {
        for (const auto& f : setup->filters) {
            filters->addItem(QString::fromStdString(f));
        }
        filters->setEditText(QString::fromStdString(setup->filter));
        m_ui.Text2->setText(QString::fromStdString(setup->fileName));
        setWindowTitle(QString::fromStdString(setup->caption));
        m_program.SeekPurpose = setup->purpose;
    } else {
        filters->setEditText(previous);
    }
    // The folder may have gone since the last use.
    if (!QDir(m_folder).isReadable()) {
        setFolder(ListableFolder(m_folder));
    } else {
        FillFolders();
    }
    RefreshFiles();
    m_ui.Text2->setFocus();
}

void WinSeek::FillDrives() {
    const QSignalBlocker block(m_ui.drvList);
    m_ui.drvList->clear();
    m_ui.drvList->addItem("/", "/");
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && volume.rootPath() != "/") {
            roots << volume.rootPath();
        }
    }
    roots.sort();
    roots.removeDuplicates();
    for (const QString& root : roots) {
        m_ui.drvList->addItem(root, root);
    }
}

void WinSeek::ShowDrive() {
    // The drive of a folder is the deepest mount point that holds it.
    int best = 0;
    int bestLength = 0;
    for (int i = 0; i < m_ui.drvList->count(); ++i) {
        const QString root = m_ui.drvList->itemData(i).toString();
        const bool holds = root == "/" || m_folder == root || m_folder.startsWith(root + "/");
        if (holds && root.size() > bestLength) {
            best = i;
            bestLength = static_cast<int>(root.size());
        }
    }
    const QSignalBlocker block(m_ui.drvList);
    m_ui.drvList->setCurrentIndex(best);
}

void WinSeek::DriveChosen(int index) {
    // A drive that cannot be read leaves the folder list as it was.
    if (!setFolder(m_ui.drvList->itemData(index).toString())) {
        ShowDrive();
    }
}

bool WinSeek::setFolder(const QString& path) {
    const QString folder = CleanFolder(path);
    if (!QDir(folder).isReadable()) {
        return false;
    }
    m_folder = folder;
    FillFolders();
    RefreshFiles();
    ShowDrive();
    return true;
}

void WinSeek::FillFolders() {
    QListWidget* list = m_ui.dirList;
    const QSignalBlocker block(list);
    list->clear();
    // The open folder's ancestors from the root down, each indented one step
    // more, then its subfolders.
    QStringList chain;
    for (QDir d(m_folder);; d.cdUp()) {
        chain.prepend(d.absolutePath());
        if (d.isRoot()) {
            break;
        }
    }
    int depth = 0;
    for (const QString& path : chain) {
        const QString name = depth == 0 ? path : QFileInfo(path).fileName();
        auto* item = new QListWidgetItem(QString(depth * 2, ' ') + name, list);
        item->setData(kPathRole, path);
        ++depth;
    }
    QListWidgetItem* open = list->item(list->count() - 1);
    const QStringList subfolders =
        QDir(m_folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& sub : subfolders) {
        auto* item = new QListWidgetItem(QString(depth * 2, ' ') + sub, list);
        item->setData(kPathRole, QDir(m_folder).filePath(sub));
    }
    list->setCurrentItem(open);
}

void WinSeek::RefreshFiles() {
    QListWidget* list = m_ui.filList;
    const QSignalBlocker block(list);
    list->clear();
    QStringList patterns;
    for (const auto& p : FilterPatterns(filter().toStdString())) {
        patterns << QString::fromStdString(p);
    }
    // Names are matched without regard to case, as the program compares names.
    QDir dir(m_folder);
    dir.setNameFilters(patterns);
    dir.setFilter(QDir::Files);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    list->addItems(dir.entryList());
}

void WinSeek::FileChosen() {
    const QList<QListWidgetItem*> chosen = m_ui.filList->selectedItems();
    if (!chosen.isEmpty()) {
        m_ui.Text2->setText(chosen.first()->text());
    }
}

void WinSeek::Ok() {
    const auto path =
        ConfirmedPath(m_ui.Text2->text().toStdString(), filter().toStdString(), m_folder.toStdString());
    if (!path) {
        return;
    }
    m_ui.Text2->setText(QString::fromStdString(*path));
    m_program.SeekFile = *path;
    m_program.SeekPurpose = kSeekConfirmed;
    accept();
}

void WinSeek::Cancel() {
    reject();
}

void WinSeek::closeEvent(QCloseEvent* event) {
    if (m_program.KeepWindows) {
        event->ignore();
        Cancel();
        return;
    }
    QDialog::closeEvent(event);
}

bool WinSeek::eventFilter(QObject* watched, QEvent* event) {
    const bool in = event->type() == QEvent::FocusIn;
    const bool out = event->type() == QEvent::FocusOut;
    // A drop-down list opening takes the focus only for a moment.
    if ((!in && !out) || static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason) {
        return QDialog::eventFilter(watched, event);
    }
    if (watched == m_ui.Text2) {
        SetCue(m_ui.Label1, in);
        if (in) {
            // After the click that gave the focus has placed the caret.
            QTimer::singleShot(0, m_ui.Text2, &QLineEdit::selectAll);
        }
    } else if (watched == m_ui.txtSearchSpec || watched == m_ui.txtSearchSpec->lineEdit()) {
        SetCue(m_ui.lblCriteria, in);
        if (in) {
            QTimer::singleShot(0, m_ui.txtSearchSpec->lineEdit(), &QLineEdit::selectAll);
        }
    } else if (watched == m_ui.dirList && out) {
        // A folder highlighted with the arrow keys is entered when the list is left.
        if (QListWidgetItem* item = m_ui.dirList->currentItem()) {
            const QString path = item->data(kPathRole).toString();
            if (path != m_folder) {
                setFolder(path);
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace diagram::ui
