#include "platform/ui/qt_services.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>

namespace platform {

void QtClipboard::Clear() {
    QGuiApplication::clipboard()->clear();
}

QString QtClipboard::Text() const {
    return QGuiApplication::clipboard()->text();
}

void QtClipboard::SetText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

QImage QtClipboard::Image() const {
    return QGuiApplication::clipboard()->image();
}

void QtClipboard::SetImage(const QImage& image) {
    QGuiApplication::clipboard()->setImage(image);
}

Answer QtMessages::Warning(QWidget* parent, const QString& text, Buttons buttons, Icon icon) {
    QMessageBox box(icon == Icon::kError ? QMessageBox::Critical : QMessageBox::Warning,
                    QString::fromLatin1(kWarningTitle), text, QMessageBox::NoButton, parent);
    switch (buttons) {
        case Buttons::kOk:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::kOkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case Buttons::kYesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Cancel:
            return Answer::kCancel;
        case QMessageBox::Yes:
            return Answer::kYes;
        case QMessageBox::No:
            return Answer::kNo;
        default:
            return Answer::kOk;
    }
}

bool QtProcesses::StartDetached(const QString& program, const QStringList& arguments,
                                const QString& workDir) {
    return QProcess::startDetached(program, arguments, workDir);
}

bool QtDesktop::OpenUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

}  // namespace platform
