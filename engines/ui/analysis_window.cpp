#include "engines/ui/analysis_window.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QTreeWidget>

#include "diagram/ui/host.h"
#include "diagram/ui/secondary_windows.h"
#include "engines/ui/window_helpers.h"
#include "platform/ui/services.h"

namespace engines::ui {

namespace {

constexpr int kPollMs = 20;
constexpr int kDefaultDepth = 20;
constexpr int kDefaultSeconds = 10;

enum Column { kLineColumn, kDepthColumn, kScoreColumn, kMovesColumn };

bool SamePosition(const ChessPosition& a, const ChessPosition& b) {
    return a.placement == b.placement && a.WhiteToMove() == b.WhiteToMove();
}

QString Joined(const std::vector<std::string>& moves) {
    QStringList words;
    for (const std::string& move : moves) {
        words << QString::fromStdString(move);
    }
    return words.join(QLatin1Char(' '));
}

}  // namespace

AnalysisWindow::AnalysisWindow(diagram::ui::Host& host, std::vector<std::string> engines)
    : QWidget(host.mainWindow(), Qt::Window), m_host(host), m_engines(std::move(engines)) {
    setObjectName(QStringLiteral("frmAnalysis"));
    setWindowTitle(QStringLiteral("Analysis"));
    auto steady = std::make_shared<QElapsedTimer>();
    steady->start();
    m_clock = [steady] { return static_cast<double>(steady->elapsed()) / 1000.0; };
    m_session = std::make_unique<UciSession>(host.program().style.Notation());
    BuildControls();
    StartEngine();
}

AnalysisWindow::~AnalysisWindow() = default;

void AnalysisWindow::BuildControls() {
    m_ui.LabelEngine = new QLabel(this);
    m_ui.LabelEngine->setObjectName(QStringLiteral("LabelEngine"));
    QFont bold = m_ui.LabelEngine->font();
    bold.setBold(true);
    m_ui.LabelEngine->setFont(bold);

    auto* side = new QGroupBox(QStringLiteral("Move first"), this);
    side->setObjectName(QStringLiteral("FrameSide"));
    m_ui.OptionWhite = new QRadioButton(QStringLiteral("&White"), side);
    m_ui.OptionWhite->setObjectName(QStringLiteral("OptionWhite"));
    m_ui.OptionWhite->setChecked(true);
    m_ui.OptionBlack = new QRadioButton(QStringLiteral("&Black"), side);
    m_ui.OptionBlack->setObjectName(QStringLiteral("OptionBlack"));
    auto* sideLayout = new QHBoxLayout(side);
    sideLayout->addWidget(m_ui.OptionWhite);
    sideLayout->addWidget(m_ui.OptionBlack);

    auto* linesLabel = new QLabel(QStringLiteral("&Lines "), this);
    m_ui.SpinLines = new QSpinBox(this);
    m_ui.SpinLines->setObjectName(QStringLiteral("SpinLines"));
    m_ui.SpinLines->setRange(1, kMaxMultiPv);
    m_ui.SpinLines->setValue(1);
    linesLabel->setBuddy(m_ui.SpinLines);

    m_ui.ComboLimit = new QComboBox(this);
    m_ui.ComboLimit->setObjectName(QStringLiteral("ComboLimit"));
    m_ui.ComboLimit->addItems(
        {QStringLiteral("Depth"), QStringLiteral("Seconds"), QStringLiteral("No limit")});
    m_ui.SpinLimit = new QSpinBox(this);
    m_ui.SpinLimit->setObjectName(QStringLiteral("SpinLimit"));
    m_ui.SpinLimit->setRange(1, 99);
    m_ui.SpinLimit->setValue(kDefaultDepth);

    auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    m_ui.CommandStart = button("CommandStart", "&Start");
    m_ui.CommandCopy = button("CommandCopy", "&Copy");
    m_ui.CommandClose = button("CommandClose", "Cl&ose");

    m_ui.ListLines = new QTreeWidget(this);
    m_ui.ListLines->setObjectName(QStringLiteral("ListLines"));
    m_ui.ListLines->setRootIsDecorated(false);
    m_ui.ListLines->setHeaderLabels(
        {QStringLiteral("Line"), QStringLiteral("Depth"), QStringLiteral("Score"), QStringLiteral("Moves")});
    m_ui.ListLines->header()->setStretchLastSection(true);
    m_ui.ListLines->setColumnWidth(kLineColumn, 40);
    m_ui.ListLines->setColumnWidth(kDepthColumn, 50);
    m_ui.ListLines->setColumnWidth(kScoreColumn, 70);
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::TypeWriter);
    m_ui.ListLines->setFont(fixed);

    m_ui.LabelStatus = new QLabel(this);
    m_ui.LabelStatus->setObjectName(QStringLiteral("LabelStatus"));
    m_ui.LabelStatus->setWordWrap(true);

    m_ui.Timer1 = new QTimer(this);
    m_ui.Timer1->setObjectName(QStringLiteral("Timer1"));
    m_ui.Timer1->setInterval(kPollMs);

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_ui.LabelEngine, 0, 0, 1, 6);
    grid->addWidget(side, 1, 0, 2, 1);
    grid->addWidget(linesLabel, 1, 1);
    grid->addWidget(m_ui.SpinLines, 1, 2);
    grid->addWidget(m_ui.ComboLimit, 2, 1);
    grid->addWidget(m_ui.SpinLimit, 2, 2);
    grid->addWidget(m_ui.CommandStart, 1, 3);
    grid->addWidget(m_ui.CommandCopy, 1, 4);
    grid->addWidget(m_ui.CommandClose, 1, 5);
    grid->addWidget(m_ui.ListLines, 3, 0, 1, 6);
    grid->addWidget(m_ui.LabelStatus, 4, 0, 1, 6);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(0, 1);

    connect(m_ui.CommandStart, &QPushButton::clicked, this, [this] { CommandStart_Click(); });
    connect(m_ui.CommandCopy, &QPushButton::clicked, this,
            [this] { m_host.services().clipboard->SetText(RowsText()); });
    connect(m_ui.CommandClose, &QPushButton::clicked, this, [this] { close(); });
    connect(m_ui.OptionWhite, &QRadioButton::toggled, this, [this] { SideChanged(); });
    connect(m_ui.ComboLimit, &QComboBox::currentIndexChanged, this, [this] { LimitChanged(); });
    connect(m_ui.ListLines, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { PlayFirstMove(m_ui.ListLines->indexOfTopLevelItem(item)); });
    connect(m_ui.Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(&m_host, &diagram::ui::Host::positionChanged, this, [this] { BoardChanged(); });
    resize(640, 320);
}

double AnalysisWindow::Now() const {
    return m_clock();
}

void AnalysisWindow::StartEngine(const QString& note) {
    m_ui.LabelEngine->clear();
    while (m_nextEngine < m_engines.size()) {
        const std::string& path = m_engines[m_nextEngine++];
        if (m_session->Start(path, Now())) {
            m_ui.LabelEngine->setText(QString::fromStdString(path));
            // What went wrong with the one before stays in view.
            m_ui.LabelStatus->setText(note.isEmpty() ? QStringLiteral("Starting the engine...")
                                                     : note + QStringLiteral(" Starting the next engine..."));
            m_ui.Timer1->start();
            ShowState();
            return;
        }
        m_ui.LabelStatus->setText(QString::fromStdString(m_session->Error()));
    }
    if (m_engines.empty()) {
        m_ui.LabelStatus->setText(QStringLiteral("No UCI engine was found."));
    }
    ShowState();
}

std::string AnalysisWindow::SetPosition(const ChessPosition& pos) {
    m_position = pos;
    if (m_linesValid && !SamePosition(pos, m_searched)) {
        StopSearch();
        ForgetLines(QStringLiteral("The position has changed: Start analyses the new one."));
    }
    const QSignalBlocker blockWhite(m_ui.OptionWhite);
    const QSignalBlocker blockBlack(m_ui.OptionBlack);
    m_ui.OptionWhite->setChecked(pos.WhiteToMove());
    m_ui.OptionBlack->setChecked(!pos.WhiteToMove());
    return {};
}

UciLimits AnalysisWindow::Limits() const {
    UciLimits limits;
    limits.multipv = m_ui.SpinLines->value();
    switch (static_cast<LimitKind>(m_ui.ComboLimit->currentIndex())) {
        case LimitKind::kDepth:
            limits.depth = m_ui.SpinLimit->value();
            break;
        case LimitKind::kSeconds:
            limits.movetimeMs = m_ui.SpinLimit->value() * 1000;
            break;
        case LimitKind::kInfinite:
            break;
    }
    return limits;
}

void AnalysisWindow::CommandStart_Click() {
    switch (m_session->state()) {
        case UciState::kSearching:
            StopSearch();
            return;
        case UciState::kStopping:
            return;
        default:
            break;
    }
    // Always the position now on the board, with the side chosen here.
    const PositionResult read = PositionFromBoard(m_host.program().vet, m_host.program().style.Notation(),
                                                  m_ui.OptionWhite->isChecked());
    if (!read.position) {
        ForgetLines(QString::fromStdString(read.error));
        return;
    }
    m_position = *read.position;
    // The moves are written in the letters of the style in force now.
    m_session->SetStyle(m_host.program().style.Notation());
    if (m_session->state() == UciState::kReady) {
        Search();
    } else {
        m_startWhenReady = true;
        if (m_session->state() != UciState::kStarting) {
            // The engine failed or was never started: try them all again.
            m_nextEngine = 0;
            StartEngine();
        }
    }
    ShowState();
}

void AnalysisWindow::StopSearch() {
    m_startWhenReady = false;
    m_restart = false;
    if (m_session->state() == UciState::kSearching) {
        m_session->Stop(Now());
        m_ui.LabelStatus->setText(QStringLiteral("Stopping..."));
    }
    ShowState();
}

void AnalysisWindow::Timer1_Timer() {
    const bool handshake = m_session->state() == UciState::kStarting;
    const UciTick tick = m_session->Poll(Now());
    if (tick.ready) {
        m_ui.LabelEngine->setText(QString::fromStdString(m_session->Name()));
        m_host.program().settings.UciEngine = m_engines[m_nextEngine - 1];
        m_ui.LabelStatus->setText(QStringLiteral("Ready."));
        if (m_startWhenReady) {
            m_startWhenReady = false;
            Search();
        }
    }
    if (tick.linesChanged) {
        ShowLines();
    }
    if (tick.finished) {
        if (m_restart) {
            m_restart = false;
            Search();
        } else if (m_linesValid) {
            m_ui.LabelStatus->setText(QStringLiteral("Done."));
        }
    }
    if (tick.failed) {
        m_ui.LabelStatus->setText(QString::fromStdString(m_session->Error()));
        if (handshake && m_nextEngine < m_engines.size()) {
            StartEngine(m_ui.LabelStatus->text());  // this one does not answer; the next may
        }
    }
    const UciState state = m_session->state();
    if (state == UciState::kIdle || state == UciState::kFailed) {
        m_ui.Timer1->stop();
    }
    ShowState();
}

void AnalysisWindow::ShowState() {
    const UciState state = m_session->state();
    const bool searching = state == UciState::kSearching || state == UciState::kStopping;
    m_ui.CommandStart->setText(searching ? QStringLiteral("&Stop") : QStringLiteral("&Start"));
    m_ui.CommandStart->setEnabled(state != UciState::kStopping && !m_engines.empty());
}

void AnalysisWindow::Search() {
    m_searched = m_position;
    m_linesValid = true;
    m_session->Go(m_position, Limits());
    m_ui.ListLines->clear();
    m_ui.LabelStatus->setText(QStringLiteral("Searching..."));
}

void AnalysisWindow::ForgetLines(const QString& why) {
    m_linesValid = false;
    m_ui.ListLines->clear();
    m_ui.LabelStatus->setText(why);
}

void AnalysisWindow::BoardChanged() {
    if (!m_linesValid && m_session->state() != UciState::kSearching && !m_restart && !m_startWhenReady) {
        return;
    }
    const PositionResult read = PositionFromBoard(m_host.program().vet, m_host.program().style.Notation(),
                                                  m_ui.OptionWhite->isChecked());
    // The position the window holds, redrawn (another style, the reversed
    // view) or just played from a line, keeps its search.
    if (read.position && SamePosition(*read.position, m_position)) {
        return;
    }
    StopSearch();
    ForgetLines(read.position ? QStringLiteral("The position has changed: Start analyses the new one.")
                              : QString::fromStdString(read.error));
}

void AnalysisWindow::ShowLines() {
    if (!m_linesValid) {
        // What the engine still says about the position before.
        m_ui.ListLines->clear();
        return;
    }
    const std::vector<AnalysisLine>& lines = m_session->Lines();
    while (m_ui.ListLines->topLevelItemCount() > static_cast<int>(lines.size())) {
        delete m_ui.ListLines->takeTopLevelItem(m_ui.ListLines->topLevelItemCount() - 1);
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        QTreeWidgetItem* item = m_ui.ListLines->topLevelItem(static_cast<int>(i));
        if (item == nullptr) {
            item = new QTreeWidgetItem(m_ui.ListLines);
        }
        const AnalysisLine& line = lines[i];
        item->setText(kLineColumn, QString::number(line.multipv));
        item->setText(kDepthColumn, QString::number(line.depth));
        item->setText(kScoreColumn, QString::fromStdString(line.scoreText));
        item->setText(kMovesColumn, Joined(line.moves));
    }
}

QString AnalysisWindow::RowsText() const {
    QString text;
    for (int i = 0; i < m_ui.ListLines->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = m_ui.ListLines->topLevelItem(i);
        text += item->text(kLineColumn) + QStringLiteral(": ") + item->text(kScoreColumn) +
                QStringLiteral(" (depth ") + item->text(kDepthColumn) + QStringLiteral(") ") +
                item->text(kMovesColumn) + QStringLiteral("\r\n");
    }
    return text;
}

void AnalysisWindow::PlayFirstMove(int row) {
    const std::vector<AnalysisLine>& lines = m_session->Lines();
    if (!m_linesValid || row < 0 || row >= static_cast<int>(lines.size()) ||
        lines[static_cast<size_t>(row)].uci.empty()) {
        return;
    }
    const std::optional<ChessMove> move =
        ParseUciMove(m_searched, lines[static_cast<size_t>(row)].uci.front());
    if (!move) {
        return;
    }
    const ChessPosition before = m_searched;
    const ChessPosition next = Play(before, *move);
    diagram::ui::Program& program = m_host.program();
    const position::NotationStyle style = program.style.Notation();
    const std::optional<position::Placement> after = PlacementInStyle(next, style);
    if (!after || !PlacementInStyle(before, style)) {
        return;
    }
    for (int s = 0; s < kChessSquares; ++s) {
        program.vet(position::kPosition, s) = (*after)[static_cast<size_t>(s)];
    }
    const bool searching = m_session->state() == UciState::kSearching;
    // The rows were for the position before the move.
    m_linesValid = false;
    m_ui.ListLines->clear();
    m_position = next;
    {
        const QSignalBlocker blockWhite(m_ui.OptionWhite);
        const QSignalBlocker blockBlack(m_ui.OptionBlack);
        m_ui.OptionWhite->setChecked(next.WhiteToMove());
        m_ui.OptionBlack->setChecked(!next.WhiteToMove());
    }
    // Through the FEN box, so that record mode records the move.
    m_host.PicMove();
    if (searching) {
        // The old search ends first; the new one follows its bestmove.
        m_session->Stop(Now());
        m_restart = true;
    } else {
        m_ui.LabelStatus->setText(QStringLiteral("Start analyses the position after the move."));
    }
    ShowState();
}

void AnalysisWindow::SideChanged() {
    if (m_session->state() == UciState::kSearching) {
        StopSearch();
    }
    if (m_linesValid && m_ui.OptionWhite->isChecked() != m_searched.WhiteToMove()) {
        ForgetLines(QStringLiteral("The side to move has changed: Start analyses the position for it."));
    }
}

void AnalysisWindow::LimitChanged() {
    const auto kind = static_cast<LimitKind>(m_ui.ComboLimit->currentIndex());
    m_ui.SpinLimit->setEnabled(kind != LimitKind::kInfinite);
    if (kind == LimitKind::kDepth) {
        m_ui.SpinLimit->setRange(1, 99);
        m_ui.SpinLimit->setValue(kDefaultDepth);
    } else if (kind == LimitKind::kSeconds) {
        m_ui.SpinLimit->setRange(1, 3600);
        m_ui.SpinLimit->setValue(kDefaultSeconds);
    }
}

void AnalysisWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    StopSearch();
}

void AnalysisWindow::closeEvent(QCloseEvent* event) {
    StopSearch();
    if (diagram::ui::HideWhileKept(*this, event, m_host.program().KeepWindows)) {
        return;
    }
    m_ui.Timer1->stop();
    m_session->Quit();
}

}  // namespace engines::ui
