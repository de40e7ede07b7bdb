#include <QApplication>

#include "ui/message_sink.h"
#include "ui/quillet_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quillet");
    QApplication::setApplicationVersion("1.0");
    piecesbuilder::DialogSink messages;
    piecesbuilder::QuilletWindow window(messages);
    window.show();
    return QApplication::exec();
}
