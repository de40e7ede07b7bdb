// Start-up, minimising, closing, help and About of the main window.

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QScreen>
#include <QUrl>

#include "diagram/ui/about_dialog.h"
#include "diagram/ui/main_window.h"
#include "diagram/ui/manual_window.h"
#include "diagram/ui/picture_view.h"
#include "diagram/ui/recent_files.h"
#include "diagram/ui/secondary_windows.h"
#include "diagram/ui/style_list.h"
#include "diagram/ui/window_place.h"
#include "diagram/ui/working_files.h"
#include "settings/app_dir.h"
#include "settings/settings_file.h"

namespace diagram::ui {

namespace {

// The program's icon: the white king of the built-in pieces, enlarged.
QPixmap KingIcon(const diagram::Renderer& renderer, int scale) {
    const QImage& pieces = renderer.pieces();
    const int cell = pieces.height() / 2;
    const int king = 12;  // "K" in the standard piece letters
    const QImage image = pieces.copy(king * cell, 0, cell, cell);
    return QPixmap::fromImage(image.scaled(cell * scale, cell * scale));
}

// One Warning box when the settings file held lines that are not text.
// Said once: the copy is made before the first write over the file, and
// once it is there the damage has been told.
void WarnOfDamagedSettings(QWidget* parent, const platform::Services& services, const std::string& appDir,
                           const settings::ReadResult& read) {
    const QString bad = QString::fromStdString(appDir + std::string(settings::kBadCopyName));
    if (read.damagedLine == 0 || QFileInfo::exists(bad)) {
        return;
    }
    services.messages->Warning(
        parent,
        QStringLiteral("%1 could not be read whole: line %2 is not text. What it could not read keeps its "
                       "default, and the file is kept as %3 before it is written again.")
            .arg(QString::fromLatin1(settings::kSettingsName.data(),
                                     static_cast<qsizetype>(settings::kSettingsName.size())))
            .arg(read.damagedLine)
            .arg(bad));
}

// The place of the last run, when it still lies on a screen (a monitor may
// have gone since).
void RestorePosition(QWidget& window, const settings::ProgramSettings& settings) {
    if (!settings.HasWindowPosition) {
        return;
    }
    const QPoint corner(settings.WindowLeft, settings.WindowTop);
    // Enough of the title bar must be on a screen to grab it.
    if (QGuiApplication::screenAt(corner + QPoint(40, 10)) != nullptr) {
        window.move(corner);
    }
}

// A minimised or maximised window keeps the place it had before.
void KeepPosition(const QWidget& window, settings::ProgramSettings& settings) {
    if (window.isMinimized() || window.isMaximized() || window.isFullScreen()) {
        return;
    }
    settings.HasWindowPosition = true;
    settings.WindowLeft = window.pos().x();
    settings.WindowTop = window.pos().y();
}

// The picture drawn for the program when it has one, else the king.
QIcon ProgramIcon(const diagram::Renderer& renderer) {
    const QIcon drawn = QGuiApplication::windowIcon();
    return drawn.isNull() || drawn.availableSizes().isEmpty() ? QIcon(KingIcon(renderer, 2)) : drawn;
}

void RunEach(const std::vector<std::function<void()>>& steps) {
    for (const auto& step : steps) {
        // Each step of unload runs even when an earlier one failed.
        try {
            if (step) {
                step();
            }
        } catch (...) {
        }
    }
}

}  // namespace

void MainWindow::Load(const StartupOptions& options) {
    auto& settings = m_program.settings;
    m_exeDir = options.exeDir;
    m_manualPath = options.manualPath.isEmpty()
                       ? QString::fromStdString(options.exeDir) + QStringLiteral("/pandrel.html")
                       : options.manualPath;
    // File names from the command line are taken relative to the folder the
    // program was started in, before the program folder becomes current.
    QStringList files;
    for (const QString& file : options.files) {
        const QString name = file.trimmed();
        if (!name.isEmpty()) {
            files << QFileInfo(name).absoluteFilePath();
        }
    }

    // 1. The name of this copy's working files.
    m_program.WorkName = settings::MakeWorkName(settings::HundredthsSinceMidnight());

    // 2. Program folder, made the current folder.
    settings.AppDir = options.appDir.empty() ? settings::ResolveAppDir(options.exeDir) : options.appDir;
    QDir::setCurrent(QString::fromStdString(settings.AppDir));
    m_ui.Combo1->addItem(QString::fromLatin1(kCustomStyle));

    // 3. Defaults of the session.
    m_program.ImageName = diagram::ui::kDefaultImageName;
    m_program.KeepWindows = true;
    // Mouse editing and the palette start with nothing pressed or chosen.
    m_program.editing = editing::EditState{};
    setWindowTitle(QStringLiteral("Pandrel - ") + QString::fromStdString(m_program.ImageName));
    setWindowIcon(ProgramIcon(m_renderer));

    // 4. Settings: style record, recent files and engine, style names; the
    // first picture of the board.
    m_program.style.CurrentStyle.clear();
    const settings::ReadResult read = settings::ReadSettings(m_program.style, settings);
    for (const std::string& name : read.newStyles) {
        m_ui.Combo1->addItem(QString::fromStdString(name));
    }
    m_recent->Show(settings.RecentFiles);
    RestorePosition(*this, settings);
    DrawBoard();
    WarnOfDamagedSettings(this, m_services, settings.AppDir, read);

    // 5. Engines, then the Popeye dictionary in force.
    if (m_hooks.FindEngines) {
        m_hooks.FindEngines();
    }
    UpdatePyDictionary();

    // 6. Style list in order, showing the current style.
    m_ui.Combo1->SortStyles();
    m_ui.Combo1->ShowStyle(QString::fromStdString(m_program.style.CurrentStyle));

    // 7. Check mark of the engine used last.
    ShowRecentEngine();

    // 8. Toolbar pictures.
    if (m_hooks.ToolbarPictures) {
        m_hooks.ToolbarPictures();
    }

    // 9. The board of the (empty) text box.
    position::ResetVet(m_program.vet, m_program.Shape());
    Build();

    // 10. Command line.
    OpenCommandLine(files);

    // 11. Lists of the secondary windows.
    if (m_hooks.FillWindowLists) {
        m_hooks.FillWindowLists();
    }
}

void MainWindow::ShowRecentEngine() {
    QAction* popeye = action(QStringLiteral("MNpy"));
    QAction* crafty = action(QStringLiteral("MNCrafty"));
    const std::string engine = settings::Upper(m_program.settings.RecentEngine);
    if (engine == "POPEYE") {
        if (popeye->isEnabled()) {
            popeye->setChecked(true);
        }
        crafty->setChecked(false);
    } else if (engine == "CRAFTY") {
        if (crafty->isEnabled()) {
            crafty->setChecked(true);
        }
        popeye->setChecked(false);
    }
}

void MainWindow::OpenCommandLine(const QStringList& files) {
    if (files.isEmpty()) {
        return;
    }
    // One window per file: every further file gets a copy of its own.
    const QString program = QString::fromStdString(m_exeDir) + QStringLiteral("/pandrel");
    for (qsizetype i = 1; i < files.size(); ++i) {
        m_services.processes->StartDetached(program, {files.at(i)}, QString::fromStdString(m_exeDir));
    }
    m_program.book.BookFile = files.first().toStdString();
    CmdLoad();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_activatedOnce) {
        // The whole window on the screen, title bar included, however a saved
        // place, a large board or a large scale left it. By its first
        // activation the desktop has framed it, and placed it when it had no
        // place of its own.
        m_activatedOnce = true;
        KeepOnScreen(*this);
    }
    if (event->type() != QEvent::WindowStateChange) {
        return;
    }
    if (isMinimized()) {
        m_windows->Minimised();
    } else {
        m_windows->Restored();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!m_unloaded) {
        QueryUnload();
        Unload();
        m_unloaded = true;
    }
    event->accept();
}

void MainWindow::QueryUnload() {
    m_program.KeepWindows = false;
    m_windows->CloseAll();
}

void MainWindow::Unload() {
    RunEach(m_hooks.unloadSteps);
    KeepPosition(*this, m_program.settings);
    settings::SaveRecent(m_program.style, m_program.settings);
    RemoveWorkingFiles(m_program.settings.AppDir, m_program.WorkName, m_program.engines.craftyFound);
}

void MainWindow::Help() {
    if (!QFileInfo::exists(m_manualPath)) {
        m_services.messages->Warning(this, QStringLiteral("Help not available!\n\nThe manual %1 is missing. "
                                                          "Install Pandrel again to put it back.")
                                               .arg(QDir::toNativeSeparators(m_manualPath)));
        return;
    }
    // The program's own window: a desktop without a web browser still shows it.
    auto* manual = qobject_cast<ManualWindow*>(SecondaryWindow(Secondary::kManual));
    if (manual == nullptr) {
        manual = new ManualWindow(m_services, m_program.KeepWindows, this);
        RegisterWindow(Secondary::kManual, manual);
    }
    manual->Open(QFileInfo(m_manualPath).absoluteFilePath());
}

void MainWindow::About() {
    auto* about = qobject_cast<AboutDialog*>(SecondaryWindow(Secondary::kAbout));
    if (about == nullptr) {
        about = new AboutDialog(QCoreApplication::applicationVersion(), KingIcon(m_renderer, 3), this);
        RegisterWindow(Secondary::kAbout, about);
    }
    PlaceBesideOnce(*about, *this);
    about->exec();
}

}  // namespace diagram::ui
