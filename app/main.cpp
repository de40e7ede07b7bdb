// pandrel: the chess diagram editor's window program.

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QStringList>
#include <QSvgRenderer>
#include <QUrl>
#include <cstdio>
#include <cstring>

#include "app/program.h"
#include "books/ui/book_commands.h"
#include "books/ui/problem_from_book.h"
#include "diagram/ui/fairy_commands.h"
#include "diagram/ui/main_window.h"
#include "diagram/ui/output_commands.h"
#include "diagram/ui/problem_window.h"
#include "diagram/ui/style/style_window.h"
#include "editing/ui/board_editor.h"
#include "engines/ui/engines.h"
#include "engines/ui/popeye_input_command.h"
#include "platform/ui/qt_services.h"
#include "settings/app_dir.h"

#ifndef PANDREL_VERSION
#define PANDREL_VERSION "0.0.0"
#endif

namespace {

// --version and --help are answered before any window system is touched, so
// they work in a terminal without a display.
bool AnswerWithoutWindow(int argc, char* argv[], int& status) {
    if (argc != 2) {
        return false;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("pandrel %s\n", PANDREL_VERSION);
    } else if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::printf(
            "usage: pandrel [FILE...]\n"
            "  Opens the first book FILE (PGN, EPD, FEN or PBM) in this window and each\n"
            "  further one in a window of its own. FILE may be a file:// URL.\n"
            "  pandrel --version   prints the version\n");
    } else {
        return false;
    }
    status = std::fflush(stdout) == 0 ? 0 : 1;
    return true;
}

// The program's drawn icon at the sizes title bars and task lists ask for.
QIcon DrawnIcon() {
    QSvgRenderer svg(QStringLiteral(":/icons/org.pandrel.Pandrel.svg"));
    QIcon icon;
    if (!svg.isValid()) {
        return icon;
    }
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

// A command-line word as a file name: file manager URLs ("file:///…", with
// %-escapes for blanks and non-ASCII letters) become local paths; anything
// else is a path as typed.
QString FileArgument(const QString& word) {
    if (word.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl url(word);
        if (url.isValid() && url.isLocalFile()) {
            return url.toLocalFile();
        }
    }
    return word;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (int status = 0; AnswerWithoutWindow(argc, argv, status)) {
        return status;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pandrel"));
    QApplication::setApplicationVersion(QStringLiteral(PANDREL_VERSION));
    // Ties the windows to the menu entry (its icon on Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.pandrel.Pandrel"));
    QApplication::setWindowIcon(DrawnIcon());

    platform::QtServices services;
    // The data folder first: without a safe one the program cannot keep its
    // settings or working files anywhere, and says why.
    const std::string exeDir = QCoreApplication::applicationDirPath().toStdString();
    std::string why;
    const std::string appDir = settings::ResolveAppDir(exeDir, &why);
    if (appDir.empty()) {
        std::fprintf(stderr, "pandrel: %s\n", why.c_str());
        services.services().messages->Warning(
            nullptr,
            QStringLiteral("Pandrel cannot start: %1.\nSet HOME or XDG_DATA_HOME to a folder of your own.")
                .arg(QString::fromStdString(why)));
        return 1;
    }

    app::Program program;
    diagram::ui::MainWindow window(program, services.services());

    // Subsystems plug into the window here, before start-up: menu commands
    // through window.action(...), start-up steps and CmdLoad through
    // window.hooks().
    editing::ui::Attach(window.host());
    engines::ui::Attach(window.host());
    books::ui::Attach(window.host());
    diagram::ui::AttachStyleWindow(window.host());
    new diagram::ui::OutputCommands(window);             // owned by the window
    new diagram::ui::FairyCommands(window.host());       // owned by the host
    new diagram::ui::ProblemCommands(window.host());     // owned by the host
    new engines::ui::PopeyeInputCommand(window.host());  // owned by the host
    new books::ui::ProblemFromBook(window.host());       // owned by the host

    diagram::ui::StartupOptions options;
    options.exeDir = exeDir;
    options.appDir = appDir;
    options.manualPath = QString::fromStdString(settings::ManualPath(options.exeDir));
    for (const QString& word : QCoreApplication::arguments().mid(1)) {
        options.files << FileArgument(word);
    }
    window.Load(options);
    window.show();
    return QApplication::exec();
}
