#include "engines/ui/popeye_window.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "diagram/ui/host.h"
#include "diagram/ui/secondary_windows.h"
#include "engines/engine_files.h"
#include "engines/popeye_names.h"
#include "engines/ui/solution_view.h"
#include "engines/ui/window_helpers.h"

namespace engines::ui {

namespace {

constexpr const char* kLabels[kPopeyeFieldCount] = {
    "Stipulation ", "Moves ",     "Conditions ",  "Options ", "Twins ",  "ZeroPosition ",
    "White pcs ",   "Black pcs ", "Neutral pcs ", "Command ", "Maxmem ",
};

// Layout in pixels: the fields on the left, the solution on the right.
constexpr int kRow = 26;
constexpr int kLabelWidth = 84;
constexpr int kFieldX = 92;
constexpr int kFieldWidth = 210;
constexpr int kListX = 308;
constexpr int kListY = 8;
constexpr int kButtonWidth = 98;
// The margins the solution list keeps in the window, in twips.
constexpr double kListHeightMargin = 465;
constexpr double kListWidthMargin = 4690;
constexpr int kTreeHeight = 260;

std::string Trimmed(const QString& text) {
    return TrimBlanks(ToFile(text));
}

}  // namespace

PopeyeWindow::PopeyeWindow(diagram::ui::Host& host) : QWidget(host.mainWindow(), Qt::Window), m_host(host) {
    setObjectName(QStringLiteral("frmPopeye"));
    setWindowTitle(QStringLiteral("Popeye"));
    BuildControls();
    auto steady = std::make_shared<QElapsedTimer>();
    steady->start();
    m_clock = [steady] { return static_cast<double>(steady->elapsed()) / 1000.0; };
    // Form_Load
    m_fCombo = -1;
    TellProblemFields();
}

void PopeyeWindow::BuildControls() {
    for (int i = 0; i < kPopeyeFieldCount; ++i) {
        const QString index = QString::number(i);
        auto* label = new QLabel(QString::fromLatin1(kLabels[i]), this);
        label->setObjectName(QStringLiteral("Label1(%1)").arg(index));
        label->setGeometry(4, 8 + i * kRow, kLabelWidth, 22);
        auto* combo = new PickListBox(this);
        combo->setObjectName(QStringLiteral("Combo1(%1)").arg(index));
        combo->setEditable(true);
        // Typing neither completes from nor adds to the pick list.
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
        combo->setGeometry(kFieldX, 6 + i * kRow, kFieldWidth, 24);
        label->setBuddy(combo);
        new FocusFrame(combo, label);
        connect(combo->lineEdit(), &QLineEdit::textEdited, this,
                [this, i](const QString& text) { Combo1_Change(i, text); });
        // Only a choice from the list applies an item: typing an item's text
        // and leaving the field must not apply it a second time.
        connect(combo, &QComboBox::activated, this, [this, i, combo](int item) {
            if (combo->ChosenFromList()) {
                Combo1_Click(i, combo->itemText(item));
            }
        });
        m_ui.Combo1[static_cast<size_t>(i)] = combo;
        m_ui.Label1[static_cast<size_t>(i)] = label;
    }

    const int buttonsY = 14 + kPopeyeFieldCount * kRow;
    auto button = [this](const char* name, const char* caption, int column, int row, int top) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(4 + column * (kButtonWidth + 4), top + row * 30, kButtonWidth, 26);
        return b;
    };
    m_ui.Command1 = button("Command1", "Cl&ear All", 0, 0, buttonsY);
    m_ui.Command2 = button("Command2", "&Solution", 1, 0, buttonsY);
    m_ui.Command3 = button("Command3", "Cl&ose", 2, 0, buttonsY);
    m_ui.Command4 = button("Command4", "&Copy Sol", 0, 1, buttonsY);
    m_ui.Command5 = button("Command5", "&Print Sol", 1, 1, buttonsY);
    m_ui.Command6 = button("Command6", "&Stop", 0, 2, buttonsY);
    m_ui.Command6->setEnabled(false);

    m_ui.Label2 = new QLabel(this);
    m_ui.Label2->setObjectName(QStringLiteral("Label2"));
    m_ui.Label2->setGeometry(4 + 2 * (kButtonWidth + 4), buttonsY + 30, kButtonWidth, 26);
    m_ui.Label2->setAlignment(Qt::AlignCenter);

    m_ui.List1 = new QListWidget(this);
    m_ui.List1->setObjectName(QStringLiteral("List1"));
    m_ui.List1->move(kListX, kListY);

    m_ui.Timer1 = new QTimer(this);
    m_ui.Timer1->setObjectName(QStringLiteral("Timer1"));
    m_ui.Timer1->setInterval(1);

    connect(m_ui.Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(m_ui.Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(m_ui.Command3, &QPushButton::clicked, this, [this] { hide(); });
    connect(m_ui.Command4, &QPushButton::clicked, this,
            [this] { CopyItems(m_ui.List1, *m_host.services().clipboard); });
    connect(m_ui.Command5, &QPushButton::clicked, this,
            [this] { PrintItems(m_ui.List1, m_host.services(), this); });
    connect(m_ui.Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(m_ui.Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });

    // The solution's tree below the buttons, beside the list.
    m_solution = new SolutionView(m_host, this);
    m_solution->move(4, buttonsY + 3 * 30 + 4);
    connect(m_solution, &SolutionView::protocolOpened, this,
            [this](const std::string& text) { ReplaceItems(m_ui.List1, ProtocolItems(text)); });
    resize(kListX + 400 + 4, buttonsY + 3 * 30 + 8 + kTreeHeight);
}

std::string& PopeyeWindow::Field(int index) {
    return m_host.program().engines.PopeyeFields[static_cast<size_t>(index)];
}

void PopeyeWindow::SetField(int i, const std::string& text) {
    Field(i) = text;
    Combo1(i)->setEditText(QLatin1Char(' ') + FromFile(text));
    TellProblemFields();
}

void PopeyeWindow::TellProblemFields() {
    const PopeyeFieldTexts& fields = m_host.program().engines.PopeyeFields;
    const std::array<std::string, 3> told = {fields[kStipulation] + fields[kMoves], fields[kConditions],
                                             fields[kTwins]};
    if (told == m_told) {
        return;
    }
    m_told = told;
    emit m_host.solverFieldsChanged(QString::fromStdString(told[0]), QString::fromStdString(told[1]),
                                    QString::fromStdString(told[2]));
}

void PopeyeWindow::AddPickItems(const std::array<std::vector<std::string>, kPopeyeFieldCount>& lists) {
    for (int i = 0; i < kPopeyeFieldCount; ++i) {
        QComboBox* combo = Combo1(i);
        // Adding the first item must not put it into the field.
        const QString text = combo->currentText();
        for (const std::string& item : lists[static_cast<size_t>(i)]) {
            combo->addItem(FromFile(item));
        }
        combo->setCurrentIndex(-1);
        combo->setEditText(text);
    }
}

void PopeyeWindow::Combo1_Change(int index, const QString& text) {
    Field(index) = Trimmed(text);
    TellProblemFields();
}

void PopeyeWindow::Combo1_Click(int index, const QString& item) {
    const PickResult result = ApplyPickItem(ToFile(item), Field(index));
    if (result.none) {
        Field(index).clear();
        Combo1(index)->setEditText(QString());
        TellProblemFields();
        return;
    }
    if (result.changed) {
        Field(index) = result.value;
        TellProblemFields();
    }
    // The list has put the item's raw text into the field; the next tick
    // shows the element instead.
    m_fCombo = index;
    RunTimer();
}

void PopeyeWindow::ShowElement(int index) {
    QComboBox* combo = Combo1(index);
    combo->setEditText(QLatin1Char(' ') + FromFile(Field(index)));
    combo->lineEdit()->end(false);
}

void PopeyeWindow::Command1_Click() {
    m_ui.List1->clear();
    m_solution->Start();
    for (int i = 0; i < kPopeyeFieldCount; ++i) {
        Field(i).clear();
        Combo1(i)->setEditText(QString());
    }
    TellProblemFields();
}

void PopeyeWindow::Command2_Click() {
    m_ui.List1->clear();
    diagram::ui::Program& program = m_host.program();
    const PopeyeRunFiles files = MakePopeyeRunFiles(program.settings.AppDir, program.WorkName);
    const PopeyeJob job = PreparePopeye(program.engines.PopeyeFields, files);
    platform::Messages& messages = *m_host.services().messages;
    if (!job.message.empty()) {
        messages.Warning(this, QString::fromStdString(job.message));
        SelectPlaceholder(job.message);
        return;
    }
    // A protocol left from an earlier run must not pass for this one's.
    RemoveFile(files.protocol);
    if (!WriteWholeFile(files.input, job.inputText)) {
        messages.Warning(this, QStringLiteral("The input file %1 could not be written.")
                                   .arg(QString::fromStdString(files.input)));
        return;
    }
    m_ui.List1->addItem(QStringLiteral("Calculating..."));
    QStringList arguments;
    for (const std::string& argument : job.arguments) {
        arguments << QString::fromStdString(argument);
    }
    m_pid = 0;
    const QString solver = QString::fromStdString(program.engines.popeyeProgram);
    if (solver.isEmpty() || !m_host.services().processes->StartDetached(
                                solver, arguments, QString::fromStdString(program.settings.AppDir), &m_pid)) {
        // Nothing runs: the list must not say otherwise.
        m_ui.List1->clear();
        messages.Warning(this, QStringLiteral("Popeye could not be started."));
        return;
    }
    m_run.Start(files.protocol, job.maxTime);
    m_solution->Start();
    m_ui.Command2->setEnabled(false);
    m_ui.Command3->setText(QStringLiteral("&Hide"));
    m_ui.Command6->setEnabled(true);
    RunTimer();
}

void PopeyeWindow::SelectPlaceholder(const std::string& warning) {
    // The template the user has still to complete is selected, ready to be
    // typed over; other warnings leave the focus where it is.
    const PopeyeFieldTexts& fields = m_host.program().engines.PopeyeFields;
    const PlaceholderAt at = FirstPlaceholder(fields);
    if (at.field < 0 || warning != PlaceholderWarning(fields)) {
        return;
    }
    QComboBox* combo = Combo1(at.field);
    const QString placeholder = FromFile(at.text);
    const qsizetype start = combo->currentText().indexOf(placeholder);
    combo->setFocus();
    if (start >= 0) {
        combo->lineEdit()->setSelection(static_cast<int>(start), static_cast<int>(placeholder.size()));
    }
}

void PopeyeWindow::Timer1_Timer() {
    if (m_fCombo >= 0) {
        ShowElement(m_fCombo);
        m_fCombo = -1;
    }
    if (m_run.LePy()) {
        // Asked before the run looks at the protocol: a solver that has ended
        // by now has written all of it.
        const bool running = m_pid > 0 && m_host.services().processes->IsRunning(m_pid);
        const RunTick tick = m_run.Tick(m_clock(), running);
        ShowRunTick(*this, m_ui.List1, m_ui.Label2, tick);
        if (tick.itemsChanged) {
            m_solution->Update(m_run.ProtocolText());
        }
        if (tick.finished) {
            m_solution->Finish();
            m_pid = 0;
            m_ui.Command2->setEnabled(true);
            m_ui.Command3->setText(QStringLiteral("Cl&ose"));
            m_ui.Command6->setEnabled(false);
        }
    }
    RunTimer();
}

void PopeyeWindow::Command6_Click() {
    if (!m_run.LePy()) {
        return;
    }
    // The run takes in what the solver wrote and ends as usual.
    m_run.RequestStop();
    if (m_pid > 0) {
        m_host.services().processes->Kill(m_pid);
    }
    m_ui.Command6->setEnabled(false);
}

void PopeyeWindow::RunTimer() {
    // The timer ticks only while there is something to do for it.
    if (m_run.LePy() || m_fCombo >= 0) {
        if (!m_ui.Timer1->isActive()) {
            m_ui.Timer1->start();
        }
    } else {
        m_ui.Timer1->stop();
    }
}

void PopeyeWindow::closeEvent(QCloseEvent* event) {
    if (diagram::ui::HideWhileKept(*this, event, m_host.program().KeepWindows)) {
        return;
    }
    m_ui.Timer1->stop();
}

void PopeyeWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FitList(*this, m_ui.List1, kListWidthMargin, kListHeightMargin);
    if (m_solution) {
        m_solution->resize(kListX - 8, std::max(60, height() - m_solution->y() - 8));
    }
}

void PopeyeWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (m_solution) {
        m_solution->WindowHidden();
    }
}

void PopeyeWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        // Form_Deactivate: the next second of a running count writes it again.
        m_ui.Label2->clear();
    }
}

}  // namespace engines::ui
