#include "diagram/ui/problem_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QScrollArea>

#include "diagram/fairy_exchange.h"
#include "diagram/latex_writer.h"
#include "diagram/render/captions.h"
#include "diagram/render/export.h"
#include "diagram/seek.h"
#include "diagram/ui/host.h"
#include "diagram/ui/secondary_windows.h"
#include "diagram/ui/win_seek.h"
#include "diagram/ui/window_place.h"

namespace diagram::ui {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

std::string S(const QString& text) {
    return text.trimmed().toStdString();
}

// Lines of a text box, trimmed, empty ones dropped.
std::vector<std::string> Lines(const QPlainTextEdit* box) {
    std::vector<std::string> lines;
    for (const QString& line : box->toPlainText().split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty()) {
            lines.push_back(S(line));
        }
    }
    return lines;
}

QLineEdit* Line(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QPlainTextEdit* Box(QWidget* parent, const char* name, int lines) {
    auto* edit = new QPlainTextEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setTabChangesFocus(true);
    edit->setFixedHeight(edit->fontMetrics().lineSpacing() * lines + 12);
    return edit;
}

}  // namespace

position::ProblemRecord RecordForOutput(const Program& program) {
    position::ProblemRecord r = program.problem;
    const position::ProblemRecord& solver = program.solverProblem;
    if (r.stipulation.empty()) {
        r.stipulation = solver.stipulation;
    }
    if (r.conditions.empty()) {
        r.conditions = solver.conditions;
    }
    if (r.twins.empty()) {
        r.twins = solver.twins;
    }
    return r;
}

ProblemWindow::ProblemWindow(Host& host, QWidget* parent) : QWidget(parent, Qt::Window), m_host(host) {
    setObjectName(QStringLiteral("Problem"));
    setWindowTitle(QStringLiteral("Problem"));
    auto* form = new QFormLayout(this);
    m_authors = Box(this, "Authors", 2);
    m_source = Line(this, "Source");
    m_date = Line(this, "Date");
    m_award = Line(this, "Award");
    m_stipulation = Line(this, "Stipulation");
    m_conditions = Line(this, "Conditions");
    m_twins = Line(this, "Twins");
    m_legend = Box(this, "Legend", 2);
    m_solution = Box(this, "Solution", 4);
    m_remarks = Box(this, "Remarks", 2);
    m_count = Line(this, "Count");
    m_countCheck = new QLabel(this);
    m_countCheck->setObjectName(QStringLiteral("CountCheck"));
    m_countCheck->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    form->addRow(QStringLiteral("&Authors (one a line)"), m_authors);
    form->addRow(QStringLiteral("&Source"), m_source);
    form->addRow(QStringLiteral("&Date"), m_date);
    form->addRow(QStringLiteral("A&ward"), m_award);
    form->addRow(QStringLiteral("S&tipulation"), m_stipulation);
    form->addRow(QStringLiteral("&Conditions"), m_conditions);
    form->addRow(QStringLiteral("T&wins"), m_twins);
    form->addRow(QStringLiteral("&Legend (G = Grasshopper)"), m_legend);
    form->addRow(QStringLiteral("So&lution"), m_solution);
    form->addRow(QStringLiteral("&Remarks"), m_remarks);
    form->addRow(QStringLiteral("C&ount"), m_count);
    form->addRow(QString(), m_countCheck);
    // The diagram as it leaves the program with its captions.
    // It shows at its own size and scrolls: a large style's diagram would
    // otherwise make the window taller than the screen once filled in.
    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("Preview"));
    auto* previewArea = new QScrollArea(this);
    previewArea->setObjectName(QStringLiteral("PreviewArea"));
    previewArea->setWidget(m_preview);
    previewArea->setMinimumSize(240, 200);
    previewArea->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    form->addRow(QStringLiteral("Preview"), previewArea);
    for (QLineEdit* edit : {m_source, m_date, m_award, m_stipulation, m_conditions, m_twins, m_count}) {
        connect(edit, &QLineEdit::textEdited, this, &ProblemWindow::Store);
    }
    for (QPlainTextEdit* box : {m_authors, m_legend, m_solution, m_remarks}) {
        connect(box, &QPlainTextEdit::textChanged, this, &ProblemWindow::Store);
    }
    connect(&host, &Host::problemChanged, this, &ProblemWindow::Load);
    connect(&host, &Host::positionChanged, this, &ProblemWindow::ShowCount);
    connect(&host, &Host::styleChanged, this, &ProblemWindow::ShowCount);
    // The solver's fields show in the preview where the record has none.
    connect(&host, &Host::solverFieldsChanged, this, &ProblemWindow::ShowCount);
    Load();
}

void ProblemWindow::Load() {
    if (m_loading) {
        return;
    }
    m_loading = true;
    const position::ProblemRecord& r = m_host.program().problem;
    QStringList authors;
    for (const std::string& a : r.authors) {
        authors << Q(a);
    }
    m_authors->setPlainText(authors.join(QLatin1Char('\n')));
    m_source->setText(Q(r.source));
    m_date->setText(Q(r.date));
    m_award->setText(Q(r.award));
    m_stipulation->setText(Q(r.stipulation));
    m_conditions->setText(Q(r.conditions));
    m_twins->setText(Q(r.twins));
    QStringList legend;
    for (const position::LegendEntry& e : r.legend) {
        legend << Q(e.letter + " = " + e.name);
    }
    m_legend->setPlainText(legend.join(QLatin1Char('\n')));
    m_solution->setPlainText(Q(r.solution));
    m_remarks->setPlainText(Q(r.remarks));
    m_count->setText(Q(r.count));
    m_loading = false;
    ShowCount();
}

void ProblemWindow::Store() {
    if (m_loading) {
        return;
    }
    position::ProblemRecord r;
    r.authors = Lines(m_authors);
    r.source = S(m_source->text());
    r.date = S(m_date->text());
    r.award = S(m_award->text());
    r.stipulation = S(m_stipulation->text());
    r.conditions = S(m_conditions->text());
    r.twins = S(m_twins->text());
    for (const std::string& line : Lines(m_legend)) {
        const size_t eq = line.find('=');
        const QString letter = Q(line.substr(0, eq)).trimmed();
        const QString name = eq == std::string::npos ? QString() : Q(line.substr(eq + 1)).trimmed();
        r.legend.push_back({letter.toStdString(), name.toStdString()});
    }
    r.solution = m_solution->toPlainText().trimmed().toStdString();
    r.remarks = m_remarks->toPlainText().trimmed().toStdString();
    r.count = S(m_count->text());
    m_host.program().problem = std::move(r);
    // The window hears its own news without reloading its fields.
    m_loading = true;
    emit m_host.problemChanged();
    m_loading = false;
    ShowCount();
}

void ProblemWindow::ShowCount() {
    const Program& program = m_host.program();
    const position::MenCount count = position::CountMen(program.vet, FairyStyleOf(program.style));
    const std::string warning = position::CountWarning(program.problem, count);
    m_countCheck->setText(QStringLiteral("The board: %1%2")
                              .arg(Q(position::CountText(count)))
                              .arg(warning.empty() ? QString() : QStringLiteral("   ") + Q(warning)));
    m_countCheck->setStyleSheet(warning.empty() ? QString() : QStringLiteral("color: red"));
    if (isVisible()) {
        const QImage board =
            DiagramImage(m_host.renderer(), program.style, program.vet, program.editing.Reversed);
        m_preview->setPixmap(QPixmap::fromImage(
            CaptionedImage(board, CaptionsOf(RecordForOutput(program), count), program.style)));
        m_preview->adjustSize();
    }
}

void ProblemWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ShowCount();
}

void ProblemWindow::closeEvent(QCloseEvent* event) {
    HideWhileKept(*this, event, m_host.program().KeepWindows);
}

ProblemCommands::ProblemCommands(Host& host) : QObject(&host), m_host(host) {
    // Connected before any window hears the news, so that they find the
    // fields stored.
    connect(&host, &Host::solverFieldsChanged, this,
            [this](const QString& stipulation, const QString& conditions, const QString& twins) {
                position::ProblemRecord& solver = m_host.program().solverProblem;
                solver.stipulation = S(stipulation);
                solver.conditions = S(conditions);
                solver.twins = S(twins);
            });
    if (QMenu* edit = host.menu(QStringLiteral("MNEdit"))) {
        auto* problem = new QAction(QStringLiteral("Pro&blem..."), edit);
        problem->setObjectName(QStringLiteral("MNProblem"));
        edit->addSeparator();
        edit->addAction(problem);
        connect(problem, &QAction::triggered, this, &ProblemCommands::MNProblem);
    }
    if (QMenu* file = host.menu(QStringLiteral("MNFile"))) {
        auto* latex = new QAction(QStringLiteral("Export &LaTeX..."), file);
        latex->setObjectName(QStringLiteral("MNExportLatex"));
        // Beside the other outputs of the position, after Save Image As.
        const QList<QAction*> items = file->actions();
        const qsizetype at = items.indexOf(host.action(QStringLiteral("MNSaveAs")));
        file->insertAction(at >= 0 && at + 1 < items.size() ? items[at + 1] : nullptr, latex);
        connect(latex, &QAction::triggered, this, &ProblemCommands::MNExportLatex);
        auto* captions = new QAction(QStringLiteral("Capt&ions on Output"), file);
        captions->setObjectName(QStringLiteral("MNCaptions"));
        captions->setCheckable(true);
        captions->setChecked(host.program().CaptionsOnOutput);
        file->insertAction(latex, captions);
        connect(captions, &QAction::toggled, this,
                [this](bool on) { m_host.program().CaptionsOnOutput = on; });
    }
}

void ProblemCommands::MNProblem() {
    auto* window = qobject_cast<ProblemWindow*>(m_host.SecondaryWindow(Secondary::kProblem));
    if (window == nullptr) {
        window = new ProblemWindow(m_host, m_host.mainWindow());
        m_host.RegisterWindow(Secondary::kProblem, window);
    }
    window->Load();
    PlaceBesideOnce(*window, *m_host.mainWindow());
    window->show();
    window->raise();
    window->activateWindow();
}

void ProblemCommands::MNExportLatex() {
    WinSeek& seek = WinSeek::Of(m_host);
    if (!seek.Seek(kSeekExportLatex)) {
        return;
    }
    const QString message = ExportLatex(seek.fileName());
    if (!message.isEmpty()) {
        m_host.services().messages->Warning(m_host.mainWindow(), message);
    }
}

QString ProblemCommands::ExportLatex(const QString& path) {
    m_host.Refresh();
    const Program& program = m_host.program();
    const position::FairyBoard board =
        position::PublishedBoard(program.vet, FairyStyleOf(program.style), program.engines.PyDictionaryBase);
    const LatexDocument doc = WriteLatex({{RecordForOutput(program), board}}, false);
    QSaveFile file(path);
    const QByteArray bytes = QByteArray::fromStdString(doc.text);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        return QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
    }
    QStringList notes;
    for (const std::string& note : doc.notes) {
        notes << Q(note);
    }
    return notes.isEmpty() ? QString()
                           : QStringLiteral("Not drawn in LaTeX:\n") + notes.join(QLatin1Char('\n'));
}

}  // namespace diagram::ui
