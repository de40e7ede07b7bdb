#include "diagram/ui/fen_box.h"

#include <QKeyEvent>

#include "diagram/ui/menu_shortcut.h"

namespace diagram::ui {

FenBox::FenBox(std::function<position::BoardShape()> shape, QWidget* parent)
    : QLineEdit(parent), m_shape(std::move(shape)) {}

QString FenBox::CutAfterLastPiece(const QString& text, const std::string& piecesList) {
    const QString pieces = QString::fromStdString(piecesList);
    for (qsizetype i = text.size(); i > 0; --i) {
        if (pieces.contains(text.at(i - 1))) {
            return text.left(i);
        }
    }
    return {};
}

bool FenBox::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && IsMenuShortcut(*this, *static_cast<QKeyEvent*>(event))) {
        // Not claiming the key lets the menu's shortcut run.
        event->ignore();
        return true;
    }
    return QLineEdit::event(event);
}

void FenBox::keyPressEvent(QKeyEvent* event) {
    if (IsMenuShortcut(*this, *event)) {
        event->ignore();
        return;
    }
    switch (event->key()) {
        case Qt::Key_End:
            setText(CutAfterLastPiece(text(), m_shape().piecesList));
            QLineEdit::keyPressEvent(event);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit refreshRequested();
            event->accept();
            return;
        case Qt::Key_Escape:
            setText(QString());
            event->accept();
            return;
        default:
            break;
    }
    if (event->text() == QLatin1String("/")) {
        InsertSlash();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void FenBox::InsertSlash() {
    const int p = cursorPosition();
    const QString t = text().left(p) + QLatin1Char('/') + text().mid(p);
    setText(QString::fromStdString(position::FixFEN(t.toStdString(), m_shape())));
    // Two places on: past the "/" when one digit completed the rank.
    setCursorPosition(p + 2);
}

void FenBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    emit focusChanged(true);
}

void FenBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    emit focusChanged(false);
}

}  // namespace diagram::ui
