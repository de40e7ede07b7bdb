#include "ui/message_sink.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace piecesbuilder {

void DialogSink::Error(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::critical(parent, title, text, QMessageBox::Ok);
}

void DialogSink::Inform(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::information(parent, title, text, QMessageBox::Ok);
}

std::optional<QString> DialogSink::Ask(QWidget* parent, const QString& prompt, const QString& title,
                                       const QString& defaultAnswer) {
    bool ok = false;
    const QString answer =
        QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, defaultAnswer, &ok);
    if (!ok) {
        return std::nullopt;
    }
    return answer;
}

std::optional<QString> DialogSink::SaveFileName(QWidget* parent, const QString& title,
                                                const QString& suggested, const QString& filter) {
    // The dialog asks before it lets an existing file be replaced.
    const QString name = QFileDialog::getSaveFileName(parent, title, suggested, filter);
    if (name.isEmpty()) {
        return std::nullopt;
    }
    return name;
}

}  // namespace piecesbuilder
