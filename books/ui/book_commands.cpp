#include "books/ui/book_commands.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QColor>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <algorithm>
#include <climits>

#include "books/convert.h"
#include "books/navigation.h"
#include "books/ui/add_to_book_window.h"
#include "books/ui/book_export_commands.h"
#include "books/ui/search_window.h"
#include "books/ui/step_button.h"
#include "diagram/geometry.h"
#include "diagram/seek.h"
#include "diagram/ui/book_panel.h"
#include "diagram/ui/host.h"
#include "diagram/ui/win_seek.h"
#include "diagram/ui/window_place.h"
#include "platform/ui/strings.h"
#include "settings/settings_file.h"

namespace books::ui {

namespace {

// Smallest window height (twips) that leaves room for the book panel.
constexpr int kBookHeight = 5580;
// Height the window gets beside the style's diagram.
constexpr int kWindowExtra = 1350;
// Length the panel's caption shortens the book's name to.
constexpr int kCaptionLength = 15;
// Fastest the progress label is repainted. The converter reports every 10th
// (PGN) or 100th game; on a large book that is thousands of repaints, which
// would cost more than the conversion itself while nobody can read them.
constexpr qint64 kProgressInterval = 40;

using platform::Q;

}  // namespace

void PaintBookLabel(diagram::ui::Host& host, const QColor& color) {
    QLabel* label = host.bookPanel()->Label1();
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

BookCommands::BookCommands(diagram::ui::Host& host) : QObject(host.mainWindow()), m_host(host) {
    diagram::ui::BookPanel* panel = host.bookPanel();
    QLayout* steps = panel->Picture1()->layout();
    for (int i = 0; i < 4; ++i) {
        m_steps[i] = new StepButton(i, panel->Picture1());
        steps->addWidget(m_steps[i]);
        connect(m_steps[i], &QAbstractButton::clicked, this, [this, i] { Image2Click(i); });
        // A press takes the focus to the buttons' area, where the arrow keys
        // go on stepping.
        connect(m_steps[i], &QAbstractButton::pressed, panel->Picture1(),
                [panel] { panel->Picture1()->setFocus(); });
    }
    // A position of the History list is stepped through with the move controls.
    connect(&host, &diagram::ui::Host::historyLineShown, this,
            [panel] { panel->Label5()->setText(QStringLiteral("Move Controls:")); });
    if (auto* box = qobject_cast<QBoxLayout*>(steps)) {
        box->addStretch(1);
    }
    m_caption = new QLabel(panel);
    m_caption->setObjectName(QStringLiteral("Caption"));
    if (auto* box = qobject_cast<QBoxLayout*>(panel->layout())) {
        box->insertWidget(0, m_caption);
    }

    connect(panel->Picture1(), &diagram::ui::StepArea::stepRequested, this,
            [this](int i) { Image2Click(i); });
    connect(panel->HScroll1(), &QScrollBar::valueChanged, this, [this] { HScroll1Change(); });
    panel->HScroll1()->setFocusPolicy(Qt::StrongFocus);
    panel->HScroll1()->installEventFilter(this);
    panel->List1()->installEventFilter(this);
    // The criteria item carries a check mark while a search narrows the book.
    QAction* criteria = host.action(QStringLiteral("MNCriteria"));
    criteria->setCheckable(true);
    connect(criteria, &QAction::triggered, this, [this, criteria](bool checked) {
        // Choosing the item flips its mark; only a search may set it.
        criteria->setChecked(!checked);
        MNCriteria();
    });
    connect(host.action(QStringLiteral("MNLoad")), &QAction::triggered, this, [this] { MNLoad(); });
    connect(host.action(QStringLiteral("MNClose")), &QAction::triggered, this, [this] { MNClose(); });
}

bool BookCommands::NormalState() const {
    const QWidget* window = m_host.mainWindow();
    return !window->isMinimized() && !window->isMaximized() && !window->isFullScreen();
}

void BookCommands::SetHeight(int twips) {
    QWidget* window = m_host.mainWindow();
    window->resize(window->width(), twips / diagram::kTwipsPerPixel);
}

void BookCommands::UpdateAddToBook() {
    // The History window's "A&dd to Book" follows whether a book is open.
    if (m_host.action(QStringLiteral("MNClose"))->isEnabled()) {
        emit m_host.bookOpened();
    } else {
        emit m_host.bookClosed();
    }
}

void BookCommands::ShowProgress(int64_t games) {
    if (m_progressClock.isValid() && m_progressClock.elapsed() < kProgressInterval) {
        return;
    }
    m_progressClock.start();
    QLabel* label = m_host.bookPanel()->Label1();
    label->setText(Q(ProgressText(games)));
    // Painted at once: the conversion keeps the event loop waiting. Events
    // are not processed here, so no timer of another window can touch the
    // board the converter is replaying on.
    label->repaint();
}

void BookCommands::CmdLoad() {
    diagram::ui::Program& program = m_host.program();
    BookState& book = program.book;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (book.IsOpen()) {
        MNClose();
    }
    if (NormalState() && program.style.WNDHEIGHT + kWindowExtra < kBookHeight) {
        SetHeight(kBookHeight);
    }
    m_host.bookPanel()->show();

    m_progressClock.invalidate();
    book.positionMatches.clear();
    const ConvertInput input{WorkFilePath(program.settings.AppDir, program.WorkName), program.style,
                             program.vet, [this](int64_t games) { ShowProgress(games); }};
    // Whatever the conversion could not read is simply not in the book; the
    // panel shows the games that were converted. A book cut short by a full
    // disk or a read error is said so once the panel shows its part.
    const LoadResult loaded = LoadBook(book, input);

    m_host.AddRecentFile(book.BookFile);
    SetHScroll();
    const QString caption = Q(settings::CutName(book.BookFile, kCaptionLength));
    m_caption->setText(caption);
    m_host.bookPanel()->setWindowTitle(caption);

    QAction* criteria = m_host.action(QStringLiteral("MNCriteria"));
    criteria->setEnabled(true);
    m_host.action(QStringLiteral("MNClose"))->setEnabled(true);
    UpdateAddToBook();

    m_host.Refresh();
    PaintBookLabel(m_host, Qt::black);
    criteria->setChecked(false);
    QApplication::restoreOverrideCursor();
    if (loaded.ioFailure) {
        m_host.services().messages->Warning(m_host.mainWindow(),
                                            Q(IncompleteBookText(book.BookFile, loaded)));
    }
}

void BookCommands::MNLoad() {
    diagram::ui::WinSeek& seek = diagram::ui::WinSeek::Of(m_host);
    if (!seek.Seek(diagram::kSeekOpenBook)) {
        return;
    }
    m_host.program().book.BookFile = seek.fileName().toStdString();
    CmdLoad();
}

void BookCommands::MNClose() {
    diagram::ui::Program& program = m_host.program();
    program.book.CloseWorkFile();
    m_host.bookPanel()->hide();
    if (NormalState()) {
        SetHeight(program.style.WNDHEIGHT + kWindowExtra);
    }
    m_host.action(QStringLiteral("MNCriteria"))->setEnabled(false);
    m_host.action(QStringLiteral("MNClose"))->setEnabled(false);
    UpdateAddToBook();
}

SearchWindow* BookCommands::Search() {
    if (m_search == nullptr) {
        m_search = new SearchWindow(m_host);
        m_host.RegisterWindow(diagram::ui::Secondary::kSearchCriteria, m_search);
    }
    return m_search;
}

void BookCommands::MNCriteria() {
    diagram::ui::PlaceBesideOnce(*Search(), *m_host.mainWindow());
    Search()->exec();
    BookState& book = m_host.program().book;
    if (book.SearchDone) {
        book.SearchDone = false;
        book.NGames = static_cast<int64_t>(book.GameIndex.size());
        SetHScroll();
        m_host.FocusFen();
    }
}

void BookCommands::SetHScroll() {
    const BookState& book = m_host.program().book;
    QScrollBar* bar = m_host.bookPanel()->HScroll1();
    // Every game can be chosen: the bar's range is as wide as the book.
    const int games = static_cast<int>(std::clamp<int64_t>(book.NGames, 1, INT_MAX));
    {
        const QSignalBlocker blocker(bar);
        bar->setRange(1, games);
        bar->setSingleStep(1);
        bar->setPageStep(games / 10 + 1);
        bar->setValue(1);
    }
    HScroll1Change();
}

void BookCommands::HScroll1Change() {
    Image2Click(0);
    BookState& book = m_host.program().book;
    // After a position search each entry is a match: its game's tags are
    // listed as always, and the matching position is shown.
    const int64_t entry = m_host.bookPanel()->HScroll1()->value() - 1;
    if (entry >= 0 && entry < static_cast<int64_t>(book.positionMatches.size()) &&
        GoToRecord(book, book.positionMatches[static_cast<size_t>(entry)].record)) {
        ShowRecord();
    }
    m_host.bookPanel()->Label1()->setText(Q(GameCaption(book, m_host.bookPanel()->HScroll1()->value())));
    m_host.FenToEnd();
}

void BookCommands::SwitchStyle(const std::string& name) {
    const QString wanted = Q(name);
    if (wanted.compare(Q(m_host.program().style.CurrentStyle), Qt::CaseInsensitive) == 0) {
        return;
    }
    // As typed into the style list: a known name selects that style, an
    // unknown one empties the list's text.
    m_host.EnterStyleName(wanted);
}

void BookCommands::Image2Click(int index) {
    diagram::ui::Program& program = m_host.program();
    BookState& book = program.book;
    diagram::ui::BookPanel* panel = m_host.bookPanel();
    bool shown = false;
    if (index == 0) {
        const GameHead head = FirstPosition(book, panel->HScroll1()->value());
        panel->List1()->clear();
        for (const std::string& line : head.list) {
            panel->List1()->addItem(Q(line));
        }
        for (const std::string& style : head.styles) {
            SwitchStyle(style);
        }
        panel->Picture1()->setVisible(head.showSteps);
        shown = true;
    } else {
        shown = StepPosition(book, index);
    }
    if (shown) {
        ShowRecord();
    }
    m_host.FenToEnd();
}

void BookCommands::ShowRecord() {
    diagram::ui::Program& program = m_host.program();
    const ShownRecord shown = books::ShowRecord(program.book, program.Shape());
    m_host.bookPanel()->Label5()->setText(Q(shown.sideLabel));
    const QString fen = Q(shown.fen);
    if (m_host.Fen() != fen) {
        m_host.SetFen(fen);
    } else {
        // The same text raises no change, yet the board may have been
        // overwritten meanwhile (conversion replays on it): build it again so
        // board and text agree.
        m_host.Build();
    }
}

bool BookCommands::eventFilter(QObject* watched, QEvent* event) {
    diagram::ui::BookPanel* panel = m_host.bookPanel();
    const bool list = watched == panel->List1();
    const bool bar = watched == panel->HScroll1();
    if (!list && !bar) {
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                m_host.Refresh();
                return true;
            }
            break;
        }
        case QEvent::FocusIn:
            if (list) {
                if (panel->List1()->count() > 0) {
                    panel->List1()->setCurrentRow(0);
                }
            } else {
                panel->Label1()->setFrameStyle(QFrame::Box | QFrame::Plain);
            }
            break;
        case QEvent::FocusOut:
            if (list) {
                panel->List1()->clearSelection();
            } else {
                panel->Label1()->setFrameStyle(QFrame::NoFrame);
            }
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

BookCommands* Attach(diagram::ui::Host& host) {
    auto* commands = new BookCommands(host);
    host.hooks().CmdLoad = [commands] { commands->CmdLoad(); };
    AttachAddToBook(host, *commands);
    AttachBookExport(host);
    host.hooks().unloadSteps.push_back([&host] {
        BookState& book = host.program().book;
        book.CloseWorkFile();
        // The work file is this copy's, also when it had to take a name
        // other than the copy's own.
        if (!book.WorkPath().empty()) {
            QFile::remove(QString::fromStdString(book.WorkPath()));
        }
    });
    return commands;
}

}  // namespace books::ui
