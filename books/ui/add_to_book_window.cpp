#include "books/ui/add_to_book_window.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "books/add_to_book.h"
#include "books/ui/book_commands.h"
#include "books/ui/form_controls.h"
#include "diagram/ui/book_panel.h"
#include "diagram/ui/host.h"
#include "diagram/ui/secondary_windows.h"
#include "diagram/ui/window_place.h"
#include "platform/ui/strings.h"
#include "settings/settings_file.h"

namespace books::ui {

namespace {

// Length the caption shortens the book's name to.
constexpr int kCaptionLength = 30;

using platform::Q;

}  // namespace

AddToBookWindow::AddToBookWindow(diagram::ui::Host& host, BookCommands& commands)
    : QDialog(host.mainWindow(), Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_host(host),
      m_commands(commands) {
    setObjectName(QStringLiteral("frmAddToBook"));
    setModal(true);
    BuildControls();
    SetCaption();
}

AddToBookWindow* AddToBookWindow::Of(diagram::ui::Host& host, BookCommands& commands) {
    auto* window = qobject_cast<AddToBookWindow*>(host.SecondaryWindow(diagram::ui::Secondary::kAddToBook));
    if (window == nullptr) {
        window = new AddToBookWindow(host, commands);
        host.RegisterWindow(diagram::ui::Secondary::kAddToBook, window);
    }
    return window;
}

void AddToBookWindow::BuildControls() {
    auto* boxes = new FormBoxes(this, [this] { Ok(); });
    auto* grid = new QGridLayout;
    for (int i = 0; i < kTagBoxes; ++i) {
        const CaptionedBox added = boxes->Add(QStringLiteral("Label1"), i, Q(std::string(kTagCaptions[i])));
        m_ui.Label1[i] = added.caption;
        m_ui.Text1[i] = added.box;
        grid->addWidget(m_ui.Label1[i], i, 0);
        grid->addWidget(m_ui.Text1[i], i, 1);
    }

    // Enter belongs to the boxes, which run Ok themselves.
    const FormButtons buttons = MakeFormButtons(
        this, [this] { Ok(); }, [this] { ClearAll(); }, /*autoDefault=*/false);
    m_ui.Command1 = buttons.Command1;
    m_ui.Command2 = buttons.Command2;
    m_ui.Command3 = buttons.Command3;

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons.row);
    setMinimumWidth(320);
}

void AddToBookWindow::SetCaption() {
    setWindowTitle(QStringLiteral("Add to ") +
                   Q(settings::CutName(m_host.program().book.BookFile, kCaptionLength)));
}

void AddToBookWindow::ClearAll() {
    for (QLineEdit* box : m_ui.Text1) {
        box->clear();
    }
    m_ui.Text1[0]->setFocus();
}

void AddToBookWindow::Ok() {
    diagram::ui::Program& program = m_host.program();
    TagTexts tags;
    for (int i = 0; i < kTagBoxes; ++i) {
        tags[i] = m_ui.Text1[i]->text().toStdString();
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const AddResult result = AddToBook(program.book, tags, program.editing.History, program.style.Notation());
    QApplication::restoreOverrideCursor();
    switch (result.status) {
        case AddStatus::kDone:
            ShowNewGame();
            hide();
            return;
        case AddStatus::kNotABook:
        case AddStatus::kNothingToAdd:
            return;
        default: {
            // The book was left as it was; the window stays up, with its
            // tags, for another try.
            const QString text = QStringLiteral("The game was not added to %1 (%2). The book is as it was.")
                                     .arg(Q(program.book.BookFile), Q(result.reason));
            m_host.services().messages->Warning(this, text);
            return;
        }
    }
}

void AddToBookWindow::ShowNewGame() {
    const BookState& book = m_host.program().book;
    QScrollBar* bar = m_host.bookPanel()->HScroll1();
    const int games = static_cast<int>(std::clamp<int64_t>(book.NGames, 1, INT_MAX));
    if (book.NGames < 2 || bar->value() == games) {
        {
            const QSignalBlocker blocker(bar);
            bar->setMaximum(games);
        }
        // No change of value to show the game: shown here.
        m_commands.HScroll1Change();
        return;
    }
    bar->setMaximum(games);
    bar->setValue(games);
}

void AddToBookWindow::showEvent(QShowEvent* event) {
    SetCaption();
    QDialog::showEvent(event);
}

void AddToBookWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        SetCaption();
    }
    QDialog::changeEvent(event);
}

void AddToBookWindow::closeEvent(QCloseEvent* event) {
    diagram::ui::HideWhileKept(*this, event, m_host.program().KeepWindows);
}

void AttachAddToBook(diagram::ui::Host& host, BookCommands& commands) {
    host.hooks().AddToBook = [&host, &commands] {
        diagram::ui::PlaceBesideOnce(*AddToBookWindow::Of(host, commands), *host.mainWindow());
        AddToBookWindow::Of(host, commands)->exec();
    };
}

}  // namespace books::ui
