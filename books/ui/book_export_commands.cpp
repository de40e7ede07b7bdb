#include "books/ui/book_export_commands.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "books/sheet_layout.h"
#include "diagram/seek.h"
#include "diagram/ui/book_panel.h"
#include "diagram/ui/host.h"
#include "diagram/ui/win_seek.h"
#include "diagram/ui/window_place.h"
#include "settings/settings_file.h"

namespace books::ui {

namespace {

// Fastest the book label shows the count and the window repaints.
constexpr qint64 kProgressInterval = 50;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QString ProgressLabel(int64_t done, int64_t total) {
    return QStringLiteral("%1 of %2 diagrams").arg(done).arg(total);
}

// The format a filter of the file selection window names ("*.svg").
render::ImageFormat FormatOfFilter(const QString& filter) {
    const qsizetype dot = filter.lastIndexOf(QLatin1Char('.'));
    const auto format = render::ParseImageFormat(filter.mid(dot + 1).toStdString());
    return format.value_or(render::ImageFormat::kPng);
}

// Results of the sheet window.
enum SheetChoice { kSheetCancel = 0, kSheetPdf = 1, kSheetPrint = 2 };

}  // namespace

BookExportCommands::BookExportCommands(diagram::ui::Host& host) : QObject(host.mainWindow()), m_host(host) {
    QMenu* file = host.menu(QStringLiteral("MNFile"));
    QAction* close = host.action(QStringLiteral("MNClose"));
    m_export = new QAction(QStringLiteral("Export Book &Diagrams..."), file);
    m_export->setObjectName(QStringLiteral("MNExportBook"));
    m_sheet = new QAction(QStringLiteral("Print Book S&heet..."), file);
    m_sheet->setObjectName(QStringLiteral("MNPrintSheet"));
    const QList<QAction*> items = file->actions();
    const qsizetype at = items.indexOf(close);
    QAction* before = at >= 0 && at + 1 < items.size() ? items[at + 1] : nullptr;
    file->insertAction(before, m_export);
    file->insertAction(before, m_sheet);
    // Enabled exactly while a book is open, as Close Book is.
    const auto follow = [this, close] {
        m_export->setEnabled(close->isEnabled() && !m_running);
        m_sheet->setEnabled(close->isEnabled() && !m_running);
    };
    follow();
    connect(close, &QAction::changed, this, follow);
    connect(m_export, &QAction::triggered, this, [this] { MNExportBook(); });
    connect(m_sheet, &QAction::triggered, this, [this] { MNPrintSheet(); });
}

render::ExportSource BookExportCommands::Source() {
    diagram::ui::Program& program = m_host.program();
    settings::Style probe;
    settings::ProgramSettings copy = program.settings;
    std::vector<std::string> names = settings::ReadSettings(probe, copy).newStyles;
    return render::ExportSource{program.book, program.style, program.settings, std::move(names)};
}

render::ProgressFn BookExportCommands::Progress() {
    return [this](int64_t done, int64_t total) {
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        if (now - m_lastShown >= kProgressInterval || done == total) {
            m_lastShown = now;
            QLabel* label = m_host.bookPanel()->Label1();
            label->setText(ProgressLabel(done, total));
            label->repaint();
            // Paints and Escape get through; other input waits (eventFilter).
            QCoreApplication::processEvents();
        }
        return !m_stop;
    };
}

void BookExportCommands::Begin() {
    m_running = true;
    m_stop = false;
    m_lastShown = 0;
    m_export->setEnabled(false);
    m_sheet->setEnabled(false);
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::BusyCursor);
}

void BookExportCommands::End(const render::ExportResult& result) {
    QApplication::restoreOverrideCursor();
    qApp->removeEventFilter(this);
    m_running = false;
    m_export->setEnabled(m_host.program().book.IsOpen());
    m_sheet->setEnabled(m_host.program().book.IsOpen());
    if (result.status == render::ExportStatus::kFailed) {
        m_host.services().messages->Warning(m_host.mainWindow(), Q(result.error));
    } else if (!result.warnings.empty()) {
        // The captions were drawn, but some games name a count their board
        // disagrees with: a long list is cut short.
        constexpr size_t kShown = 10;
        QStringList lines;
        for (size_t i = 0; i < result.warnings.size() && i < kShown; ++i) {
            lines << Q(result.warnings[i]);
        }
        if (result.warnings.size() > kShown) {
            lines << QStringLiteral("and %1 more").arg(result.warnings.size() - kShown);
        }
        m_host.services().messages->Warning(m_host.mainWindow(), lines.join(QLatin1Char('\n')));
    }
}

bool BookExportCommands::eventFilter(QObject* watched, QEvent* event) {
    if (!m_running) {
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
                m_stop = true;
            }
            return true;
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::Close:
            return true;
        default:
            return QObject::eventFilter(watched, event);
    }
}

render::ExportResult BookExportCommands::ExportTo(const std::string& folder, render::ImageFormat format,
                                                  PositionChoice positions) {
    render::ImageOptions options;
    options.folder = folder;
    options.format = format;
    options.positions = positions;
    render::ExportSource source = Source();
    Begin();
    const render::ExportResult result = render::ExportImages(source, options, Progress());
    End(result);
    return result;
}

render::ExportResult BookExportCommands::SheetTo(const render::SheetOptions& options) {
    render::ExportSource source = Source();
    Begin();
    const render::ExportResult result = render::WriteSheet(source, options, Progress());
    End(result);
    return result;
}

PositionChoice BookExportCommands::RememberedPositions() const {
    if (m_positions) {
        return *m_positions;
    }
    return ParsePositionChoice(m_host.program().settings.ExportPositions).value_or(PositionChoice::kFirst);
}

void BookExportCommands::RememberPositions(PositionChoice positions) {
    m_positions = positions;
    m_host.program().settings.ExportPositions = PositionChoiceName(positions);
}

void BookExportCommands::StoreChoice() {
    if (m_positions) {
        m_host.program().settings.ExportPositions = PositionChoiceName(*m_positions);
    }
}

std::optional<PositionChoice> BookExportCommands::AskPositions() {
    QDialog window(m_host.mainWindow());
    window.setObjectName(QStringLiteral("BookExport"));
    window.setWindowTitle(QStringLiteral("Export Book Diagrams"));
    auto* layout = new QVBoxLayout(&window);
    auto* group = new QGroupBox(QStringLiteral("Positions"), &window);
    auto* column = new QVBoxLayout(group);
    struct Choice {
        PositionChoice choice;
        const char* name;
        const char* text;
    };
    const Choice choices[] = {
        {PositionChoice::kFirst, "FirstPosition", "&First position of each game"},
        {PositionChoice::kLast, "LastPosition", "&Last position of each game"},
        {PositionChoice::kAll, "AllPositions", "&All positions of each game"},
    };
    const PositionChoice remembered = RememberedPositions();
    std::vector<std::pair<QRadioButton*, PositionChoice>> buttons;
    for (const Choice& c : choices) {
        auto* button = new QRadioButton(QString::fromLatin1(c.text), group);
        button->setObjectName(QString::fromLatin1(c.name));
        button->setChecked(c.choice == remembered);
        column->addWidget(button);
        buttons.emplace_back(button, c.choice);
    }
    layout->addWidget(group);
    auto* box = new QDialogButtonBox(&window);
    QPushButton* folder = box->addButton(QStringLiteral("&Folder..."), QDialogButtonBox::AcceptRole);
    folder->setObjectName(QStringLiteral("FolderCmd"));
    folder->setDefault(true);
    QPushButton* cancel = box->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("CancelCmd"));
    connect(folder, &QPushButton::clicked, &window, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, &window, &QDialog::reject);
    layout->addWidget(box);
    if (window.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    for (const auto& [button, choice] : buttons) {
        if (button->isChecked()) {
            RememberPositions(choice);
            return choice;
        }
    }
    return remembered;
}

void BookExportCommands::MNExportBook() {
    if (!m_host.program().book.IsOpen() || m_running) {
        return;
    }
    const std::optional<PositionChoice> positions = AskPositions();
    if (!positions) {
        return;
    }
    diagram::ui::WinSeek& seek = diagram::ui::WinSeek::Of(m_host);
    if (!seek.Seek(diagram::kSeekExportDiagrams)) {
        return;
    }
    const render::ImageFormat format = FormatOfFilter(seek.filter());
    QString folder = seek.fileName();
    // The window completes a bare name with the filter's ending; the name
    // stands for a folder here.
    const QString ending = QLatin1Char('.') + QString::fromLatin1(render::Extension(format));
    if (folder.endsWith(ending, Qt::CaseInsensitive)) {
        folder.chop(ending.size());
    }
    ExportTo(folder.toStdString(), format, *positions);
}

void BookExportCommands::MNPrintSheet() {
    if (!m_host.program().book.IsOpen() || m_running) {
        return;
    }
    QDialog window(m_host.mainWindow());
    window.setObjectName(QStringLiteral("BookSheet"));
    window.setWindowTitle(QStringLiteral("Print Book Sheet"));
    auto* form = new QFormLayout(&window);
    auto* perPage = new QComboBox(&window);
    perPage->setObjectName(QStringLiteral("PerPage"));
    for (const int n : books::kPerPageChoices) {
        perPage->addItem(QString::number(n), n);
    }
    perPage->setCurrentText(QStringLiteral("6"));
    auto* paper = new QComboBox(&window);
    paper->setObjectName(QStringLiteral("Paper"));
    paper->addItems({QStringLiteral("A4"), QStringLiteral("Letter")});
    auto* tags = new QLineEdit(QStringLiteral("White, Black, Event"), &window);
    tags->setObjectName(QStringLiteral("Tags"));
    form->addRow(QStringLiteral("Diagrams a page: "), perPage);
    form->addRow(QStringLiteral("Paper: "), paper);
    form->addRow(QStringLiteral("Caption tags: "), tags);
    auto* captions = new QCheckBox(QStringLiteral("The problems' &captions around the diagrams"), &window);
    captions->setObjectName(QStringLiteral("Captions"));
    auto* answers = new QCheckBox(QStringLiteral("The &solutions on pages after the diagrams"), &window);
    answers->setObjectName(QStringLiteral("Answers"));
    form->addRow(captions);
    form->addRow(answers);
    auto* buttons = new QDialogButtonBox(&window);
    QPushButton* pdf = buttons->addButton(QStringLiteral("&PDF File..."), QDialogButtonBox::AcceptRole);
    pdf->setObjectName(QStringLiteral("PdfCmd"));
    QPushButton* print = buttons->addButton(QStringLiteral("P&rint..."), QDialogButtonBox::AcceptRole);
    print->setObjectName(QStringLiteral("PrintCmd"));
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("CancelCmd"));
    connect(pdf, &QPushButton::clicked, &window, [&window] { window.done(kSheetPdf); });
    connect(print, &QPushButton::clicked, &window, [&window] { window.done(kSheetPrint); });
    connect(cancel, &QPushButton::clicked, &window, [&window] { window.done(kSheetCancel); });
    form->addRow(buttons);

    diagram::ui::PlaceBeside(window, *m_host.mainWindow());
    const int choice = window.exec();
    if (choice == kSheetCancel) {
        return;
    }
    render::SheetOptions options;
    options.perPage = perPage->currentData().toInt();
    options.paper = paper->currentIndex() == 0 ? Paper::kA4 : Paper::kLetter;
    options.tags = SplitTagList(tags->text().toStdString());
    options.captions = captions->isChecked();
    options.answers = answers->isChecked();
    if (choice == kSheetPrint) {
        PrintSheet(options);
        return;
    }
    diagram::ui::WinSeek& seek = diagram::ui::WinSeek::Of(m_host);
    if (!seek.Seek(diagram::kSeekBookSheet)) {
        return;
    }
    options.file = seek.fileName().toStdString();
    SheetTo(options);
}

void BookExportCommands::PrintSheet(const render::SheetOptions& options) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(options.paper == Paper::kA4 ? QPageSize::A4 : QPageSize::Letter));
    printer.setFullPage(true);
    QPrintDialog dialog(&printer, m_host.mainWindow());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    render::ExportSource source = Source();
    Begin();
    QPainter painter;
    render::ExportResult result;
    if (!painter.begin(&printer)) {
        result.status = render::ExportStatus::kFailed;
        result.error = "The printer cannot be used.";
    } else {
        result = render::DrawSheet(
            source, options, painter, [&printer] { return printer.newPage(); }, Progress());
        painter.end();
    }
    End(result);
}

BookExportCommands* AttachBookExport(diagram::ui::Host& host) {
    auto* commands = new BookExportCommands(host);
    host.hooks().unloadSteps.push_back([commands] { commands->StoreChoice(); });
    return commands;
}

}  // namespace books::ui
