#include "diagram/ui/style_list.h"

#include <QKeyEvent>
#include <algorithm>

#include "diagram/ui/menu_shortcut.h"

namespace diagram::ui {

StyleList::StyleList(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    // Typed text must never become an entry, and the list completes nothing
    // on its own: Enter decides what the text means.
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setDuplicatesEnabled(true);
    connect(this, &QComboBox::activated, this, [this](int index) { emit styleChosen(itemText(index)); });
}

void StyleList::SortStyles() {
    QStringList names;
    for (int i = 1; i < count(); ++i) {
        names << itemText(i);
    }
    std::stable_sort(names.begin(), names.end(),
                     [](const QString& a, const QString& b) { return a.toUpper() < b.toUpper(); });
    const QString text = currentText();
    for (int i = 1; i < count(); ++i) {
        setItemText(i, names.at(i - 1));
    }
    setEditText(text);
}

int StyleList::FindStyle(const QString& name) const {
    for (int i = 0; i < count(); ++i) {
        if (itemText(i).compare(name, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

void StyleList::ShowStyle(const QString& name) {
    const int index = FindStyle(name);
    if (index >= 0) {
        setCurrentIndex(index);
    }
    setEditText(name);
}

void StyleList::EnterName(const QString& name) {
    setEditText(name);
    ChooseText();
}

void StyleList::ChooseText() {
    const QString text = currentText();
    if (text.toUpper() == QLatin1String(kCustomStyle)) {
        emit styleChosen(text);
        return;
    }
    const int index = FindStyle(text);
    if (index < 0) {
        setEditText(QString());
        return;
    }
    setCurrentIndex(index);
    emit styleChosen(itemText(index));
}

bool StyleList::event(QEvent* event) {
    // The list's text box would claim Ctrl+E and others as editing keys.
    if (event->type() == QEvent::ShortcutOverride && IsMenuShortcut(*this, *static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return true;
    }
    return QComboBox::event(event);
}

void StyleList::keyPressEvent(QKeyEvent* event) {
    if (IsMenuShortcut(*this, *event)) {
        event->ignore();
        return;
    }
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            ChooseText();
            return;
        case Qt::Key_Escape:
            event->accept();
            setEditText(currentIndex() >= 0 ? itemText(currentIndex()) : QString());
            emit escapePressed();
            return;
        default:
            QComboBox::keyPressEvent(event);
    }
}

}  // namespace diagram::ui
