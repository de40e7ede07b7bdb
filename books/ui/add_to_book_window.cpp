#include "books/ui/add_to_book_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "books/add_to_book.h"
#include "books/ui/book_commands.h"
#include "diagram/ui/book_panel.h"
#include "diagram/ui/main_window.h"
#include "settings/settings_file.h"

namespace books::ui {

namespace {

// Length the caption shortens the book's name to.
constexpr int kCaptionLength = 30;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QPushButton* Button(const char* name, const char* caption, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    // Enter belongs to the boxes, which run Ok themselves.
    button->setAutoDefault(false);
    return button;
}

}  // namespace

AddToBookWindow::AddToBookWindow(diagram::ui::MainWindow& main, BookCommands& commands)
    : QDialog(&main, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_main(main),
      m_commands(commands) {
    setObjectName(QStringLiteral("frmAddToBook"));
    setModal(true);
    BuildControls();
    SetCaption();
}

AddToBookWindow* AddToBookWindow::Of(diagram::ui::MainWindow& main, BookCommands& commands) {
    auto* window = qobject_cast<AddToBookWindow*>(main.SecondaryWindow(diagram::ui::Secondary::kAddToBook));
    if (window == nullptr) {
        window = new AddToBookWindow(main, commands);
        main.RegisterWindow(diagram::ui::Secondary::kAddToBook, window);
    }
    return window;
}

void AddToBookWindow::BuildControls() {
    auto* grid = new QGridLayout;
    for (int i = 0; i < kTagBoxes; ++i) {
        m_ui.Label1[i] = new QLabel(Q(std::string(kTagCaptions[i])), this);
        m_ui.Label1[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        m_ui.Text1[i] = new QLineEdit(this);
        m_ui.Text1[i]->setObjectName(QStringLiteral("Text1_%1").arg(i));
        m_ui.Text1[i]->installEventFilter(this);
        m_ui.Label1[i]->setBuddy(m_ui.Text1[i]);
        grid->addWidget(m_ui.Label1[i], i, 0);
        grid->addWidget(m_ui.Text1[i], i, 1);
    }

    m_ui.Command1 = Button("Command1", "O&k", this);
    m_ui.Command2 = Button("Command2", "Cl&ose", this);
    m_ui.Command3 = Button("Command3", "Cl&ear All", this);
    connect(m_ui.Command1, &QPushButton::clicked, this, [this] { Ok(); });
    connect(m_ui.Command2, &QPushButton::clicked, this, [this] { hide(); });
    connect(m_ui.Command3, &QPushButton::clicked, this, [this] { ClearAll(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_ui.Command1);
    buttons->addWidget(m_ui.Command2);
    buttons->addWidget(m_ui.Command3);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setMinimumWidth(320);
}

void AddToBookWindow::SetCaption() {
    setWindowTitle(QStringLiteral("Add to ") +
                   Q(settings::CutName(m_main.program().book.BookFile, kCaptionLength)));
}

void AddToBookWindow::ClearAll() {
    for (QLineEdit* box : m_ui.Text1) {
        box->clear();
    }
    m_ui.Text1[0]->setFocus();
}

void AddToBookWindow::Ok() {
    app::Program& program = m_main.program();
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
            m_main.services().messages->Warning(this, text);
            return;
        }
    }
}

void AddToBookWindow::ShowNewGame() {
    const BookState& book = m_main.program().book;
    QScrollBar* bar = m_main.Frame2()->HScroll1();
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

int AddToBookWindow::BoxOf(QObject* watched) const {
    for (int i = 0; i < kTagBoxes; ++i) {
        if (watched == m_ui.Text1[i]) {
            return i;
        }
    }
    return -1;
}

bool AddToBookWindow::eventFilter(QObject* watched, QEvent* event) {
    const int box = BoxOf(watched);
    if (box < 0) {
        return QDialog::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::FocusIn: {
            m_ui.Label1[box]->setFrameStyle(QFrame::Box | QFrame::Plain);
            // A click places the caret after the focus arrives: select once
            // the click is done, so the whole text ends up selected either way.
            QLineEdit* edit = m_ui.Text1[box];
            QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
            break;
        }
        case QEvent::FocusOut:
            m_ui.Label1[box]->setFrameStyle(QFrame::NoFrame);
            break;
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                Ok();
                return true;
            }
            if (key->key() == Qt::Key_Escape) {
                hide();
                return true;
            }
            break;
        }
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

void AddToBookWindow::closeEvent(QCloseEvent* event) {
    if (!m_main.program().KeepWindows) {
        event->accept();
        return;
    }
    hide();
    event->ignore();
}

void AttachAddToBook(diagram::ui::MainWindow& main, BookCommands& commands) {
    main.hooks().AddToBook = [&main, &commands] { AddToBookWindow::Of(main, commands)->exec(); };
}

}  // namespace books::ui
