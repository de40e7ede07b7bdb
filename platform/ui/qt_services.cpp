#include "platform/ui/qt_services.h"

#include <QMimeData>

#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QThread>

#if defined(Q_OS_UNIX)
#include <signal.h>

#include <cerrno>
#endif

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

void QtClipboard::SetImageAndSvg(const QImage& image, const QByteArray& svg) {
    auto* data = new QMimeData;
    data->setImageData(image);
    data->setData(QStringLiteral("image/svg+xml"), svg);
    QGuiApplication::clipboard()->setMimeData(data);
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
        case Buttons::kYesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
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

bool QtProcesses::StartDetached(const QString& program, const QStringList& arguments, const QString& workDir,
                                qint64* pid) {
    qint64 id = 0;
    const bool started = QProcess::startDetached(program, arguments, workDir, &id);
    if (pid != nullptr) {
        *pid = started ? id : 0;
    }
    return started;
}

bool QtProcesses::IsRunning(qint64 pid) const {
    if (pid <= 0) {
        return false;
    }
#if defined(Q_OS_LINUX)
    // A detached process is adopted by whichever ancestor reaps orphans; until
    // that happens it lingers as a zombie, which has finished all the same.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0 || close + 2 >= line.size()) {
        return false;
    }
    const char state = line.at(close + 2);
    return state != 'Z' && state != 'X';
#elif defined(Q_OS_UNIX)
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
#else
    // Elsewhere a running program keeps its files locked, which the callers
    // notice on their own.
    return false;
#endif
}

bool QtProcesses::Kill(qint64 pid) {
    if (pid <= 0 || !IsRunning(pid)) {
        return false;
    }
#if defined(Q_OS_UNIX)
    const auto id = static_cast<pid_t>(pid);
    ::kill(id, SIGTERM);
    // A program that ignores the request is ended after a short grace.
    for (int i = 0; i < 50 && IsRunning(pid); ++i) {
        QThread::msleep(10);
    }
    if (IsRunning(pid)) {
        ::kill(id, SIGKILL);
    }
    return true;
#else
    return false;
#endif
}

QColor QtColorChooser::Choose(const QColor& initial, std::array<QColor, 16>& custom) {
    // The dialog keeps its custom colours in one place for the whole
    // program; they are handed in and taken back so the caller owns them.
    for (int i = 0; i < 16; ++i) {
        QColorDialog::setCustomColor(i, custom[static_cast<size_t>(i)]);
    }
    QColorDialog dialog(initial);
    const bool chosen = dialog.exec() == QDialog::Accepted;
    for (int i = 0; i < 16; ++i) {
        custom[static_cast<size_t>(i)] = QColorDialog::customColor(i);
    }
    return chosen ? dialog.selectedColor() : QColor();
}

bool QtDesktop::OpenUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

std::unique_ptr<QPrinter> QtPrinters::DefaultPrinter() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        return nullptr;
    }
    return std::make_unique<QPrinter>(info);
}

}  // namespace platform
