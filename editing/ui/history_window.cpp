#include "editing/ui/history_window.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "diagram/ui/book_panel.h"
#include "diagram/ui/host.h"
#include "diagram/ui/secondary_windows.h"
#include "diagram/ui/window_place.h"
#include "editing/history.h"
#include "platform/ui/strings.h"

namespace editing::ui {

namespace {

using platform::Q;

QPushButton* Button(const char* name, const char* caption, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

}  // namespace

HistoryList::HistoryList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void HistoryList::keyPressEvent(QKeyEvent* event) {
    // Keys held with Ctrl or Alt are shortcuts and mnemonics, not characters.
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        QListWidget::keyPressEvent(event);
        return;
    }
    char ch = 0;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        ch = 13;
    } else if (event->key() == Qt::Key_Escape) {
        ch = 27;
    } else if (event->text().size() == 1 && event->text()[0].isPrint()) {
        const char16_t c = event->text()[0].unicode();
        ch = c < 128 ? static_cast<char>(c) : '?';
    }
    if (ch == 0) {
        // Arrows, Home, End and the page keys move through the list.
        QListWidget::keyPressEvent(event);
        return;
    }
    // Characters never start the list's own search by first letter.
    event->accept();
    emit keyTyped(ch);
}

void HistoryList::focusInEvent(QFocusEvent* event) {
    // The focus frame shows on a line; Enter, Space and the letter keys must
    // act on that line, so it is the selected one.
    if (count() > 0 && selectedItems().isEmpty()) {
        setCurrentRow(0);
    }
    QListWidget::focusInEvent(event);
}

void HistoryList::mousePressEvent(QMouseEvent* event) {
    // A right press works on the line already selected and does not select.
    if (event->button() == Qt::RightButton) {
        event->accept();
        emit rightPressed();
        return;
    }
    QListWidget::mousePressEvent(event);
}

HistoryWindow::HistoryWindow(diagram::ui::Host& host)
    : QWidget(host.mainWindow(),
              Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint),
      m_host(host) {
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(QStringLiteral("History"));
    BuildControls();

    connect(m_ui.Command1, &QPushButton::clicked, this, [this] { CopyFEN(); });
    connect(m_ui.Command2, &QPushButton::clicked, this, [this] { ClearAll(); });
    connect(m_ui.Command3, &QPushButton::clicked, this, [this] { hide(); });
    connect(m_ui.Command4, &QPushButton::clicked, this, [this] { InsertAll(""); });
    connect(m_ui.Command5, &QPushButton::clicked, this, [this] { InsertAll("w"); });
    connect(m_ui.Command6, &QPushButton::clicked, this, [this] { InsertAll("b"); });
    connect(m_ui.Command7, &QPushButton::clicked, this, [this] { AddToBook(); });
    connect(m_ui.Command8, &QPushButton::clicked, this, [this] { CopyPGN(); });
    connect(m_ui.List1, &HistoryList::keyTyped, this, [this](char ch) { KeyTyped(ch); });
    connect(m_ui.List1, &HistoryList::rightPressed, this, [this] { RemoveLine(); });
    connect(&m_host, &diagram::ui::Host::bookOpened, this, [this] { UpdateAddToBook(); });
    connect(&m_host, &diagram::ui::Host::bookClosed, this, [this] { UpdateAddToBook(); });
    connect(m_ui.List1, &QListWidget::itemDoubleClicked, this, [this] { LoadLine(); });

    m_ui.Command7->setEnabled(false);
    Reload();
}

void HistoryWindow::BuildControls() {
    m_ui.List1 = new HistoryList(this);
    m_ui.List1->setObjectName(QStringLiteral("List1"));
    m_ui.List1->setMinimumWidth(420);

    m_ui.Command1 = Button("Command1", "&Copy FEN", this);
    m_ui.Command8 = Button("Command8", "Copy P&GN", this);
    m_ui.Command7 = Button("Command7", "A&dd to Book", this);
    m_ui.Command2 = Button("Command2", "Cl&ear All", this);
    m_ui.Command3 = Button("Command3", "Cl&ose", this);

    m_ui.Frame1 = new QGroupBox(QStringLiteral("FEN Extra Fields"), this);
    m_ui.Frame1->setObjectName(QStringLiteral("Frame1"));
    m_ui.Command5 = Button("Command5", "Insert All (first &White to Move)", m_ui.Frame1);
    m_ui.Command6 = Button("Command6", "Insert All (first &Black to Move)", m_ui.Frame1);
    m_ui.Command4 = Button("Command4", "&Remove All", m_ui.Frame1);
    auto* extra = new QVBoxLayout(m_ui.Frame1);
    extra->addWidget(m_ui.Command5);
    extra->addWidget(m_ui.Command6);
    extra->addWidget(m_ui.Command4);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_ui.Command1);
    buttons->addWidget(m_ui.Command8);
    buttons->addWidget(m_ui.Command7);
    buttons->addWidget(m_ui.Frame1);
    buttons->addWidget(m_ui.Command2);
    buttons->addStretch(1);
    buttons->addWidget(m_ui.Command3);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_ui.List1, 1);
    layout->addLayout(buttons);
    // The list keeps the keyboard whenever the window is shown.
    setFocusProxy(m_ui.List1);
    resize(720, 320);
}

int HistoryWindow::SelectedRow() const {
    const QListWidgetItem* item = m_ui.List1->currentItem();
    return item != nullptr && item->isSelected() ? m_ui.List1->row(item) : -1;
}

void HistoryWindow::Reload() {
    const int row = SelectedRow();
    const auto& lines = m_host.program().editing.History;
    m_ui.List1->clear();
    for (const std::string& line : lines) {
        m_ui.List1->addItem(Q(line));
    }
    if (row >= 0 && row < m_ui.List1->count()) {
        m_ui.List1->setCurrentRow(row);
    }
}

void HistoryWindow::LineAdded() {
    Reload();
    m_ui.List1->scrollToBottom();
    UpdateAddToBook();
}

void HistoryWindow::UpdateAddToBook() {
    const diagram::ui::Program& program = m_host.program();
    const QAction* close = m_host.action(QStringLiteral("MNClose"));
    m_ui.Command7->setEnabled(AddToBookEnabled(program.book.BookFile, close != nullptr && close->isEnabled(),
                                               program.editing.History.empty()));
}

void HistoryWindow::CopyFEN() {
    platform::Clipboard* clipboard = m_host.services().clipboard;
    clipboard->Clear();
    const std::string text = HistoryText(m_host.program().editing.History);
    if (!text.empty()) {
        clipboard->SetText(Q(text));
    }
    m_ui.List1->setFocus();
}

void HistoryWindow::ClearAll() {
    m_host.program().editing.History.clear();
    Reload();
    m_host.action(QStringLiteral("MNUndo"))->setEnabled(false);
    m_ui.Command7->setEnabled(false);
}

void HistoryWindow::InsertAll(std::string_view side) {
    SetExtraFields(m_host.program().editing.History, side);
    Reload();
}

void HistoryWindow::CopyPGN() {
    const diagram::ui::Program& program = m_host.program();
    platform::Clipboard* clipboard = m_host.services().clipboard;
    clipboard->Clear();
    const std::string text = PgnMoveText(program.editing.History, program.style.Notation());
    if (!text.empty()) {
        clipboard->SetText(Q(text));
    }
    m_ui.List1->setFocus();
}

void HistoryWindow::AddToBook() {
    // The button may still show enabled after the book was closed; the hook
    // is only run while the rule holds.
    UpdateAddToBook();
    if (!m_ui.Command7->isEnabled()) {
        return;
    }
    const auto& hook = m_host.hooks().AddToBook;
    if (hook) {
        hook();
    }
}

void HistoryWindow::LoadLine() {
    const int row = SelectedRow();
    if (row < 0) {
        return;
    }
    const std::string placement = LinePlacement(m_host.program().editing.History[row]);
    m_host.SetFen(Q(placement));
    emit m_host.historyLineShown();
    m_host.mainWindow()->raise();
    m_host.mainWindow()->activateWindow();
}

void HistoryWindow::RemoveLine() {
    const int row = SelectedRow();
    if (row < 0) {
        return;
    }
    const platform::Answer answer = m_host.services().messages->Warning(
        this, QStringLiteral("Remove the selected line from History"), platform::Buttons::kOkCancel);
    if (answer != platform::Answer::kOk) {
        return;
    }
    auto& lines = m_host.program().editing.History;
    // The list may have changed while the question was open.
    if (row >= static_cast<int>(lines.size())) {
        return;
    }
    lines.erase(lines.begin() + row);
    // Cleared first so that no line stays selected: the next Space must not
    // remove a neighbour unasked.
    m_ui.List1->clear();
    Reload();
    // Nothing left to add to a book.
    if (lines.empty()) {
        m_ui.Command7->setEnabled(false);
    }
}

void HistoryWindow::ReplaceSelected(const std::string& line) {
    const int row = SelectedRow();
    m_host.program().editing.History[row] = line;
    m_ui.List1->item(row)->setText(Q(line));
}

void HistoryWindow::KeyTyped(char ch) {
    const HistoryKey action = KeyAction(ch);
    switch (action) {
        case HistoryKey::kLoad:
            LoadLine();
            return;
        case HistoryKey::kHide:
            hide();
            return;
        case HistoryKey::kRemove:
            RemoveLine();
            return;
        case HistoryKey::kNothing:
            return;
        case HistoryKey::kSide:
        case HistoryKey::kStrip:
            break;
    }
    const int row = SelectedRow();
    if (row < 0) {
        return;
    }
    const std::string& line = m_host.program().editing.History[row];
    if (action == HistoryKey::kSide) {
        const char side = ch == 'W' ? 'w' : ch == 'B' ? 'b' : ch;
        ReplaceSelected(WithSide(line, side));
    } else {
        ReplaceSelected(FirstField(line));
    }
}

void HistoryWindow::closeEvent(QCloseEvent* event) {
    diagram::ui::HideWhileKept(*this, event, m_host.program().KeepWindows);
}

HistoryCommands::HistoryCommands(diagram::ui::Host& host) : QObject(host.mainWindow()), m_host(host) {
    QAction* rec = host.action(QStringLiteral("MNRec"));
    // The mark may also be set from code; the state follows it either way.
    connect(rec, &QAction::toggled, this, [this](bool on) { m_host.program().editing.RecMode = on; });
    connect(rec, &QAction::triggered, this, [this](bool on) { RecMode(on); });
    connect(host.action(QStringLiteral("MNUndo")), &QAction::triggered, this, [this] { Undo(); });
    connect(host.action(QStringLiteral("MNHistory")), &QAction::triggered, this, [this] { ShowHistory(); });
    connect(&host, &diagram::ui::Host::fenCopied, this, [this] { Window()->LineAdded(); });
}

HistoryWindow* HistoryCommands::Window() {
    if (m_window == nullptr) {
        m_window = new HistoryWindow(m_host);
        m_host.RegisterWindow(diagram::ui::Secondary::kHistory, m_window);
    }
    return m_window;
}

void HistoryCommands::ShowHistory() {
    HistoryWindow* window = Window();
    if (!m_placed) {
        // First showing: below the main window rather than over the board.
        diagram::ui::PlaceBeside(*window, *m_host.mainWindow());
        m_placed = true;
    }
    window->show();
    window->raise();
    window->activateWindow();
    window->List1()->setFocus();
}

void HistoryCommands::RecMode(bool on) {
    m_host.program().editing.RecMode = on;
    if (on) {
        m_host.CopyFEN();
    }
}

void HistoryCommands::Undo() {
    HistoryWindow* window = Window();
    if (const auto placement = UndoRec(m_host.program().editing.History)) {
        m_host.SetFen(Q(*placement));
        window->Reload();
    }
    m_host.FenToEnd();
}

HistoryCommands* AttachHistory(diagram::ui::Host& host) {
    return new HistoryCommands(host);
}

}  // namespace editing::ui
