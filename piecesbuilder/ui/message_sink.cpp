#include "ui/message_sink.h"

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

}  // namespace piecesbuilder
