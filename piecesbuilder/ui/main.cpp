#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstring>

#include "ui/message_sink.h"
#include "ui/quillet_window.h"

namespace {

// The drawn icon at the sizes title bars and task lists ask for.
QIcon DrawnIcon() {
    QSvgRenderer svg(QStringLiteral(":/icons/org.pandrel.Quillet.svg"));
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        if (!svg.isValid()) {
            break;
        }
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

}  // namespace

#ifndef QUILLET_VERSION
#define QUILLET_VERSION "1.0"
#endif

int main(int argc, char* argv[]) {
    // Answered before any window system is touched: works without a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("quillet %s\n", QUILLET_VERSION);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf(
            "usage: quillet\n  Builds a pieces bitmap from images pasted into a grid.\n"
            "  quillet --version   prints the version\n");
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quillet");
    QApplication::setApplicationVersion(QUILLET_VERSION);
    QGuiApplication::setDesktopFileName("org.pandrel.Quillet");
    QApplication::setWindowIcon(DrawnIcon());
    piecesbuilder::DialogSink messages;
    piecesbuilder::QuilletWindow window(messages);
    window.show();
    return QApplication::exec();
}
