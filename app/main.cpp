// pandrel: the chess diagram editor's window program.

#include <QApplication>
#include <QStringList>

#include "app/program.h"
#include "books/ui/book_commands.h"
#include "diagram/ui/main_window.h"
#include "diagram/ui/output_commands.h"
#include "editing/ui/board_editor.h"
#include "engines/ui/engines.h"
#include "platform/ui/qt_services.h"
#include "diagram/ui/style/style_window.h"

#ifndef PANDREL_VERSION
#define PANDREL_VERSION "0.0.0"
#endif

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pandrel"));
    QApplication::setApplicationVersion(QStringLiteral(PANDREL_VERSION));

    platform::QtServices services;
    app::Program program;
    diagram::ui::MainWindow window(program, services.services());

    // Subsystems plug into the window here, before start-up: menu commands
    // through window.action(...), start-up steps and CmdLoad through
    // window.hooks().
    editing::ui::Attach(window);
    engines::ui::Attach(window);
    books::ui::Attach(window);
    diagram::ui::AttachStyleWindow(window.host());
    new diagram::ui::OutputCommands(window);  // owned by the window

    diagram::ui::StartupOptions options;
    options.exeDir = QCoreApplication::applicationDirPath().toStdString();
    options.files = QCoreApplication::arguments().mid(1);
    window.Load(options);
    window.show();
    return QApplication::exec();
}
