#include "engines/ui/crafty_window.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "diagram/ui/host.h"
#include "diagram/ui/secondary_windows.h"
#include "engines/engine_files.h"
#include "engines/ui/window_helpers.h"

namespace engines::ui {

namespace {

// The log fills the window below the controls; its margins, in twips.
constexpr double kListHeightMargin = 1245;
constexpr double kListWidthMargin = 120;
constexpr int kListX = 4;
constexpr int kListY = 79;
constexpr int kButtonWidth = 80;

}  // namespace

CraftyWindow::CraftyWindow(diagram::ui::Host& host) : QWidget(host.mainWindow(), Qt::Window), m_host(host) {
    setObjectName(QStringLiteral("frmCrafty"));
    BuildControls();
    auto steady = std::make_shared<QElapsedTimer>();
    steady->start();
    m_clock = [steady] { return static_cast<double>(steady->elapsed()) / 1000.0; };
}

void CraftyWindow::BuildControls() {
    m_ui.Label1 = new QLabel(QStringLiteral("FEN"), this);
    m_ui.Label1->setObjectName(QStringLiteral("Label1"));
    m_ui.Label1->setGeometry(4, 6, 34, 22);
    m_ui.Text1 = new QLineEdit(this);
    m_ui.Text1->setObjectName(QStringLiteral("Text1"));
    m_ui.Text1->setGeometry(42, 4, 520, 24);
    m_ui.Label1->setBuddy(m_ui.Text1);
    new FocusFrame(m_ui.Text1, m_ui.Label1);

    m_ui.Label2 = new QLabel(this);
    m_ui.Label2->setObjectName(QStringLiteral("Label2"));
    m_ui.Label2->setGeometry(570, 6, 60, 22);
    m_ui.Label2->setAlignment(Qt::AlignCenter);

    m_ui.Label3 = new QLabel(QStringLiteral("Depth "), this);
    m_ui.Label3->setObjectName(QStringLiteral("Label3"));
    m_ui.Label3->setGeometry(4, 40, 44, 22);
    m_ui.Combo1 = new QComboBox(this);
    m_ui.Combo1->setObjectName(QStringLiteral("Combo1"));
    m_ui.Combo1->setEditable(true);
    m_ui.Combo1->setInsertPolicy(QComboBox::NoInsert);
    m_ui.Combo1->setCompleter(nullptr);
    m_ui.Combo1->setGeometry(50, 38, 56, 24);
    m_ui.Label3->setBuddy(m_ui.Combo1);
    new FocusFrame(m_ui.Combo1, m_ui.Label3);

    m_ui.Frame1 = new QGroupBox(QStringLiteral("Move first"), this);
    m_ui.Frame1->setObjectName(QStringLiteral("Frame1"));
    m_ui.Frame1->setGeometry(112, 28, 150, 46);
    m_ui.Option1 = new QRadioButton(QStringLiteral("&White"), m_ui.Frame1);
    m_ui.Option1->setObjectName(QStringLiteral("Option1"));
    m_ui.Option1->setGeometry(8, 20, 66, 22);
    m_ui.Option1->setChecked(true);
    m_ui.Option2 = new QRadioButton(QStringLiteral("&Black"), m_ui.Frame1);
    m_ui.Option2->setObjectName(QStringLiteral("Option2"));
    m_ui.Option2->setGeometry(78, 20, 66, 22);

    auto button = [this](const char* name, const char* caption, int column) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(270 + column * (kButtonWidth + 4), 38, kButtonWidth, 26);
        return b;
    };
    m_ui.Command1 = button("Command1", "&Solution", 0);
    m_ui.Command2 = button("Command2", "&Copy Sol", 1);
    m_ui.Command3 = button("Command3", "&Print Sol", 2);
    m_ui.Command4 = button("Command4", "Cl&ose", 3);
    m_ui.Command5 = button("Command5", "Cl&ear All", 4);
    m_ui.Command6 = button("Command6", "&Stop", 5);
    m_ui.Command6->setEnabled(false);

    m_ui.List1 = new QListWidget(this);
    m_ui.List1->setObjectName(QStringLiteral("List1"));
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::TypeWriter);
    m_ui.List1->setFont(fixed);
    m_ui.List1->move(kListX, kListY);

    m_ui.Timer1 = new QTimer(this);
    m_ui.Timer1->setObjectName(QStringLiteral("Timer1"));
    m_ui.Timer1->setInterval(1);

    connect(m_ui.Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(m_ui.Command2, &QPushButton::clicked, this,
            [this] { CopyItems(m_ui.List1, *m_host.services().clipboard); });
    connect(m_ui.Command3, &QPushButton::clicked, this,
            [this] { PrintItems(m_ui.List1, m_host.services(), this); });
    connect(m_ui.Command4, &QPushButton::clicked, this, [this] { hide(); });
    connect(m_ui.Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(m_ui.Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(m_ui.Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });

    resize(780, 400);
}

void CraftyWindow::FillDepthList() {
    m_ui.Combo1->clear();
    for (int depth = 8; depth <= 14; ++depth) {
        m_ui.Combo1->addItem(QString::number(depth));
    }
    m_ui.Combo1->setCurrentText(QStringLiteral("12"));
}

void CraftyWindow::Command1_Click() {
    m_ui.List1->clear();
    if (m_ui.Text1->text().isEmpty()) {
        m_host.services().messages->Warning(this, QStringLiteral("Enter the FEN position!"));
        return;
    }
    diagram::ui::Program& program = m_host.program();
    const std::string& appDir = program.settings.AppDir;
    const std::string rc =
        CraftyRc(ToFile(m_ui.Combo1->currentText()), ToFile(m_ui.Text1->text()), m_ui.Option1->isChecked());
    if (!WriteWholeFile(InFolder(appDir, kCraftyRcName), rc)) {
        return;
    }
    // The engine on Linux reads its start-up commands from this one.
    WriteWholeFile(InFolder(appDir, kCraftyRcLinuxName), rc);
    program.engines.CraftyLogNumber = PredictLogNumber(appDir);
    // The log shows here as the engine writes it.
    m_ui.List1->addItem(QStringLiteral("Calculating..."));
    m_pid = 0;
    m_lastStartFailure.reset();
    m_run.Start(appDir, program.engines.CraftyLogNumber);
    m_ui.Command1->setEnabled(false);
    m_ui.Command4->setText(QStringLiteral("&Hide"));
    m_ui.Command6->setEnabled(true);
    m_ui.Timer1->start();
}

void CraftyWindow::Command5_Click() {
    m_ui.List1->clear();
    m_ui.Text1->clear();
}

bool CraftyWindow::StartEngine() {
    // An engine that cannot be started is tried again, but once a second
    // rather than on every tick.
    const double now = m_clock();
    if (m_lastStartFailure && now - *m_lastStartFailure < 1.0) {
        return false;
    }
    const diagram::ui::Program& program = m_host.program();
    const QString engine = QString::fromStdString(program.engines.craftyProgram);
    // The engine reads its command file from the folder it runs in.
    const bool started =
        !engine.isEmpty() && m_host.services().processes->StartDetached(
                                 engine, {}, QString::fromStdString(program.settings.AppDir), &m_pid);
    if (started) {
        m_lastStartFailure.reset();
    } else {
        m_lastStartFailure = now;
    }
    return started;
}

void CraftyWindow::Timer1_Timer() {
    if (!m_run.LeCrafty()) {
        m_ui.Timer1->stop();
        return;
    }
    // Asked before the run looks at the log: an engine that has ended by now
    // has written all of it.
    const bool running = m_pid > 0 && m_host.services().processes->IsRunning(m_pid);
    const RunTick tick = m_run.Tick(m_clock(), running, [this] { return StartEngine(); });
    ShowRunTick(*this, m_ui.List1, m_ui.Label2, tick);
    if (tick.finished) {
        m_pid = 0;
        m_ui.Command1->setEnabled(true);
        m_ui.Command4->setText(QStringLiteral("Cl&ose"));
        m_ui.Command6->setEnabled(false);
        m_ui.Timer1->stop();
    }
}

void CraftyWindow::Command6_Click() {
    if (!m_run.LeCrafty()) {
        return;
    }
    // The analysis takes in what the engine logged and ends as usual.
    m_run.RequestStop();
    if (m_pid > 0) {
        m_host.services().processes->Kill(m_pid);
    }
    m_ui.Command6->setEnabled(false);
}

void CraftyWindow::closeEvent(QCloseEvent* event) {
    if (diagram::ui::HideWhileKept(*this, event, m_host.program().KeepWindows)) {
        return;
    }
    m_ui.Timer1->stop();
}

void CraftyWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FitList(*this, m_ui.List1, kListWidthMargin, kListHeightMargin);
}

}  // namespace engines::ui
