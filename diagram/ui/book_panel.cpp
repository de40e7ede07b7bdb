#include "diagram/ui/book_panel.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QVBoxLayout>

#include "platform/ui/teardown.h"

namespace diagram::ui {

namespace {

constexpr int kLeft = 37;
constexpr int kRight = 39;

int ShiftState(Qt::KeyboardModifiers modifiers) {
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) +
           (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) + (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

}  // namespace

StepArea::StepArea(QWidget* parent) : QFrame(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

int StepArea::ButtonForKey(int shiftState, int keyCode) {
    switch (shiftState * 50 + keyCode) {
        case kLeft:
            return 1;
        case kRight:
            return 2;
        case 100 + kLeft:
            return 0;
        case 100 + kRight:
            return 3;
        default:
            return -1;
    }
}

void StepArea::keyPressEvent(QKeyEvent* event) {
    int code = 0;
    if (event->key() == Qt::Key_Left) {
        code = kLeft;
    } else if (event->key() == Qt::Key_Right) {
        code = kRight;
    } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit refreshRequested();
        event->accept();
        return;
    } else {
        QFrame::keyPressEvent(event);
        return;
    }
    const int button = ButtonForKey(ShiftState(event->modifiers()), code);
    if (button >= 0) {
        emit stepRequested(button);
    }
    event->accept();
}

void StepArea::focusInEvent(QFocusEvent* event) {
    QFrame::focusInEvent(event);
    emit focusChanged(true);
}

void StepArea::focusOutEvent(QFocusEvent* event) {
    QFrame::focusOutEvent(event);
    emit focusChanged(false);
}

BookPanel::BookPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Frame2"));
    m_ui.Picture1 = new StepArea(this);
    m_ui.Picture1->setObjectName(QStringLiteral("Picture1"));
    m_ui.Picture1->setMinimumHeight(24);
    m_ui.Picture1->setLayout(new QHBoxLayout);
    m_ui.Picture1->layout()->setContentsMargins(0, 0, 0, 0);
    m_ui.Label1 = new QLabel(this);
    m_ui.Label1->setObjectName(QStringLiteral("Label1"));
    m_ui.Label1->setWordWrap(true);
    m_ui.Label5 = new QLabel(this);
    m_ui.Label5->setObjectName(QStringLiteral("Label5"));
    m_ui.List1 = new QListWidget(this);
    m_ui.List1->setObjectName(QStringLiteral("List1"));
    m_ui.HScroll1 = new QScrollBar(Qt::Horizontal, this);
    m_ui.HScroll1->setObjectName(QStringLiteral("HScroll1"));

    auto* steps = new QHBoxLayout;
    steps->addWidget(m_ui.Picture1, 1);
    steps->addWidget(m_ui.Label5);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(steps);
    layout->addWidget(m_ui.Label1);
    layout->addWidget(m_ui.List1, 1);
    layout->addWidget(m_ui.HScroll1);

    connect(m_ui.Picture1, &StepArea::focusChanged, this, [this](bool hasFocus) {
        m_ui.Label5->setFrameStyle(hasFocus ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    });
    hide();
}

BookPanel::~BookPanel() {
    // The books subsystem watches the list and the scroll bar and reaches the
    // label through this panel when they lose the focus.
    platform::ui::DeleteChildWidgets(this);
}

}  // namespace diagram::ui
