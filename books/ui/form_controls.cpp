#include "books/ui/form_controls.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace books::ui {

FormBoxes::FormBoxes(QWidget* window, std::function<void()> ok)
    : QObject(window), m_window(window), m_ok(std::move(ok)) {}

CaptionedBox FormBoxes::Add(const QString& captionName, int index, const QString& text) {
    CaptionedBox added;
    added.caption = new QLabel(text, m_window);
    added.caption->setObjectName(QStringLiteral("%1_%2").arg(captionName).arg(index));
    added.box = new QLineEdit(m_window);
    added.box->setObjectName(QStringLiteral("Text1_%1").arg(index));
    added.box->installEventFilter(this);
    added.caption->setBuddy(added.box);
    m_boxes.push_back(added);
    return added;
}

bool FormBoxes::eventFilter(QObject* watched, QEvent* event) {
    const auto it = std::find_if(m_boxes.begin(), m_boxes.end(),
                                 [watched](const CaptionedBox& b) { return b.box == watched; });
    if (it == m_boxes.end()) {
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::FocusIn: {
            it->caption->setFrameStyle(QFrame::Box | QFrame::Plain);
            // A click places the caret after the focus arrives: select once
            // the click is done, so the whole text ends up selected either way.
            QLineEdit* edit = it->box;
            QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
            break;
        }
        case QEvent::FocusOut:
            it->caption->setFrameStyle(QFrame::NoFrame);
            break;
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                m_ok();
                return true;
            }
            if (key->key() == Qt::Key_Escape) {
                m_window->hide();
                return true;
            }
            break;
        }
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

FormButtons MakeFormButtons(QWidget* window, const std::function<void()>& ok,
                            const std::function<void()>& clearAll, bool autoDefault) {
    const auto button = [window, autoDefault](const char* name, const char* caption) {
        auto* made = new QPushButton(QString::fromLatin1(caption), window);
        made->setObjectName(QString::fromLatin1(name));
        if (!autoDefault) {
            made->setAutoDefault(false);
        }
        return made;
    };
    FormButtons buttons;
    buttons.Command1 = button("Command1", "O&k");
    buttons.Command2 = button("Command2", "Cl&ose");
    buttons.Command3 = button("Command3", "Cl&ear All");
    QObject::connect(buttons.Command1, &QPushButton::clicked, window, ok);
    QObject::connect(buttons.Command2, &QPushButton::clicked, window, [window] { window->hide(); });
    QObject::connect(buttons.Command3, &QPushButton::clicked, window, clearAll);
    buttons.row = new QHBoxLayout;
    buttons.row->addWidget(buttons.Command1);
    buttons.row->addWidget(buttons.Command2);
    buttons.row->addWidget(buttons.Command3);
    return buttons;
}

}  // namespace books::ui
