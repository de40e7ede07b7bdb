#pragma once
// Taking a window down in an order that keeps its callbacks safe.

#include <QApplication>
#include <QList>
#include <QPointer>
#include <QWidget>

namespace platform::ui {

/// Deletes the widget's child widgets while the widget is still whole. Call it
/// at the start of the destructor of a widget whose lambdas, slots or event
/// filters reach into it: a child that loses the keyboard focus as it goes
/// emits signals, and from QWidget's own destructor those would reach an
/// object that is already half taken down. The focus leaves a child first,
/// so that focus-out handlers still find all of the widget's controls.
inline void DeleteChildWidgets(QWidget* widget) {
    // The focus leaves first, while every control is still there for the
    // handlers of its focus-out.
    QWidget* focus = QApplication::focusWidget();
    if (focus != nullptr && widget->isAncestorOf(focus)) {
        focus->clearFocus();
    }
    QList<QPointer<QWidget>> children;
    for (QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        children.append(child);
    }
    // A child may take a sibling with it; the guarded pointers see that.
    for (const QPointer<QWidget>& child : children) {
        delete child.data();
    }
}

}  // namespace platform::ui
