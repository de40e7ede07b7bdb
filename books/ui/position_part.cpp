// The Position part of the Search Criteria window: a position searched in
// every position of the open book, and the anticipations of the book's
// games in another book.

#include <QAbstractListModel>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

#include "books/convert.h"
#include "books/position_index.h"
#include "books/position_search.h"
#include "books/ui/book_commands.h"
#include "books/ui/search_window.h"
#include "diagram/seek.h"
#include "diagram/ui/host.h"
#include "diagram/ui/win_seek.h"

namespace books::ui {

/// The matches shown in the window: rows are added in batches as a search
/// finds them, and their lines are made only when shown, so that a great
/// many cost little.
class MatchList : public QAbstractListModel {
  public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_matches.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) {
            return {};
        }
        const PositionMatch& m = m_matches[static_cast<size_t>(index.row())];
        return QStringLiteral("Game %1, position %2: %3")
            .arg(m.game)
            .arg(m.position)
            .arg(QString::fromStdString(m.how));
    }
    void Clear() {
        beginResetModel();
        m_matches.clear();
        endResetModel();
    }
    /// Adds the matches of found not shown yet.
    void Catch(const std::vector<PositionMatch>& found) {
        if (found.size() <= m_matches.size()) {
            return;
        }
        beginInsertRows({}, rowCount(), static_cast<int>(found.size()) - 1);
        m_matches.insert(m_matches.end(), found.begin() + static_cast<std::ptrdiff_t>(m_matches.size()),
                         found.end());
        endInsertRows();
    }

  private:
    std::vector<PositionMatch> m_matches;
};

namespace {

// Fastest the count of matches is repainted, and events let in (Escape).
constexpr qint64 kPumpInterval = 50;
// Matches that reach a short list at once at most, however fast they come.
constexpr size_t kMatchBatch = 4096;
// Longest a long list waits for the matches found (milliseconds).
constexpr qint64 kCatchInterval = 1000;

const char* const kOptions[] = {"&Partial", "&Mirror", "S&hift", "Colo&urs", "&First positions only"};

}  // namespace

void SearchWindow::BuildPositionFrame() {
    QGroupBox* frame = new QGroupBox(QStringLiteral("Position"), this);
    frame->setObjectName(QStringLiteral("Frame4"));
    m_ui.Frame[3] = frame;
    auto* grid = new QGridLayout(frame);
    m_ui.Text2 = new QLineEdit(frame);
    m_ui.Text2->setObjectName(QStringLiteral("Text2"));
    m_ui.Text2->setPlaceholderText(QStringLiteral("FEN placement"));
    connect(m_ui.Text2, &QLineEdit::returnPressed, this, [this] { Ok(); });
    m_ui.Command4 = new QPushButton(QStringLiteral("Use the &board"), frame);
    m_ui.Command4->setObjectName(QStringLiteral("Command4"));
    m_ui.Command4->setAutoDefault(false);
    connect(m_ui.Command4, &QPushButton::clicked, this, [this] { UseTheBoard(); });
    grid->addWidget(m_ui.Text2, 0, 0, 1, 3);
    grid->addWidget(m_ui.Command4, 0, 3);
    for (int i = 0; i < 5; ++i) {
        m_ui.Check1[i] = new QCheckBox(QString::fromLatin1(kOptions[i]), frame);
        m_ui.Check1[i]->setObjectName(QStringLiteral("Check1_%1").arg(i));
        grid->addWidget(m_ui.Check1[i], 1 + i / 4, i % 4);
    }
    m_ui.Command5 = new QPushButton(QStringLiteral("Find &Anticipations..."), frame);
    m_ui.Command5->setObjectName(QStringLiteral("Command5"));
    m_ui.Command5->setAutoDefault(false);
    connect(m_ui.Command5, &QPushButton::clicked, this, [this] { MNAnticipations(); });
    grid->addWidget(m_ui.Command5, 2, 2, 1, 2);
    m_ui.List2 = new QListWidget(frame);
    m_ui.List2->setObjectName(QStringLiteral("List2"));
    m_ui.List2->setMaximumHeight(80);
    m_ui.List2->hide();
    grid->addWidget(m_ui.List2, 3, 0, 1, 4);
    m_matches = new MatchList(this);
    m_ui.List3 = new QListView(frame);
    m_ui.List3->setObjectName(QStringLiteral("List3"));
    m_ui.List3->setModel(m_matches);
    m_ui.List3->setUniformItemSizes(true);  // rows are not measured one by one
    m_ui.List3->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_ui.List3->setMaximumHeight(80);
    m_ui.List3->hide();
    grid->addWidget(m_ui.List3, 4, 0, 1, 4);
}

void SearchWindow::UseTheBoard() {
    m_ui.Text2->setText(m_host.Fen());
}

void SearchWindow::Narrowed() {
    PaintBookLabel(m_host, QColor(255, 0, 0));
    m_host.action(QStringLiteral("MNCriteria"))->setChecked(true);
}

void SearchWindow::FindPosition() {
    diagram::ui::Program& program = m_host.program();
    BookState& book = program.book;
    FindOptions options;
    options.partial = m_ui.Check1[0]->isChecked();
    options.mirror = m_ui.Check1[1]->isChecked();
    options.shift = m_ui.Check1[2]->isChecked();
    options.colours = m_ui.Check1[3]->isChecked();
    options.first = m_ui.Check1[4]->isChecked();
    const position::BoardShape shape = program.Shape();
    PositionIndex index;
    // Without it every record is read in full.
    EnsureIndex(book, shape, index);
    std::vector<PositionMatch> found;
    m_matches->Clear();
    m_ui.List2->hide();
    m_ui.List3->show();
    QElapsedTimer clock;  // invalid: the first match lets events in at once
    m_searching = true;
    m_stop = false;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    // The matches stream into the list; events are let in now and then so
    // that Escape (or Close) can stop a search with a great many matches.
    // The list view lays out all of its rows for every batch it takes, so
    // a long list takes a batch only when it has grown by half (or a
    // second has passed): a fixed batch would cost the square of the
    // matches (a million matches took 14 s instead of 1).
    size_t caught = 0;
    QElapsedTimer caughtClock;
    auto pump = [&](int64_t done, int64_t total) {
        const bool grown = found.size() >= caught + std::max(kMatchBatch, caught / 2);
        if (clock.isValid() && !grown && clock.elapsed() < kPumpInterval) {
            return !m_stop;
        }
        clock.start();
        if (grown || caught < kMatchBatch || !caughtClock.isValid() ||
            caughtClock.elapsed() >= kCatchInterval) {
            caught = found.size();
            caughtClock.start();
            m_matches->Catch(found);
        }
        m_ui.Label4->setText(
            QString::fromStdString(SearchProgressText(static_cast<int64_t>(found.size()), done, total)));
        QApplication::processEvents();
        return !m_stop;
    };
    const FindResult r = FindPositions(
        book, shape, m_ui.Text2->text().toStdString(), options,
        [&](const PositionMatch& m) {
            found.push_back(m);
            return pump(m.record, book.NRecords);
        },
        &index, pump);
    m_searching = false;
    m_matches->Catch(found);
    QApplication::restoreOverrideCursor();
    m_ui.Label4->setText(QStringLiteral(" "));
    if (found.empty()) {
        m_ui.List3->hide();
    }
    if (const std::string problem = FindStatusText(r.status); !problem.empty()) {
        m_host.services().messages->Warning(this, QString::fromStdString(problem), platform::Buttons::kOk,
                                            platform::Icon::kExclamation);
        return;
    }
    if (found.empty()) {
        m_host.services().messages->Warning(this, QStringLiteral("Game not found!"), platform::Buttons::kOk,
                                            platform::Icon::kExclamation);
        return;
    }
    NarrowToMatches(book, std::move(found));
    Narrowed();
    hide();
}

void SearchWindow::MNAnticipations() {
    diagram::ui::WinSeek& seek = diagram::ui::WinSeek::Of(m_host);
    if (seek.Seek(diagram::kSeekOpenBook)) {
        FindAnticipationsIn(seek.fileName().toStdString());
    }
}

void SearchWindow::FindAnticipationsIn(const std::string& otherBook) {
    diagram::ui::Program& program = m_host.program();
    BookState& book = program.book;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Book other;
    other.BookFile = otherBook;
    // Converted into a work file of this copy's own, on a board of its own:
    // the diagram's position stays as it is.
    position::Vet scratch;
    const ConvertInput in{program.settings.AppDir + program.WorkName + "a.tmp", program.style, scratch, {}};
    const LoadResult loaded = LoadBook(other, in);
    std::vector<Anticipation> found;
    if (loaded.status != LoadStatus::kNoWorkFile && loaded.status != LoadStatus::kNoBookFile) {
        found = FindAnticipations(book, other, program.Shape(), m_ui.Check1[0]->isChecked());
    }
    other.CloseWorkFile();
    RemoveWorkFiles(in.workPath);
    QApplication::restoreOverrideCursor();
    m_ui.List2->clear();
    m_ui.List3->hide();
    if (found.empty()) {
        m_ui.List2->hide();
        m_host.services().messages->Warning(this, QStringLiteral("Game not found!"), platform::Buttons::kOk,
                                            platform::Icon::kExclamation);
        return;
    }
    book.positionMatches.clear();
    book.GameIndex.clear();
    for (const Anticipation& a : found) {
        QString line = QStringLiteral("%1:").arg(a.game);
        for (const int64_t g : a.others) {
            line += QStringLiteral(" %1").arg(g);
        }
        m_ui.List2->addItem(line);
        book.GameIndex.push_back(book.FullIndex[static_cast<size_t>(a.game - 1)]);
    }
    m_ui.List2->show();
    book.SearchDone = true;
    Narrowed();
}

}  // namespace books::ui
