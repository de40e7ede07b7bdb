#include "engines/ui/engines.h"

#include <QAction>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QLineEdit>
#include <QLockFile>
#include <QMenu>

#include "diagram/ui/host.h"
#include "diagram/ui/window_place.h"
#include "engines/chess_position.h"
#include "engines/discovery.h"
#include "engines/uci_discovery.h"
#include "engines/ui/analysis_window.h"
#include "engines/ui/crafty_window.h"
#include "engines/ui/popeye_window.h"
#include "engines/ui/window_helpers.h"
#include "platform/safe_files.h"
#include "position/piece_lists.h"
#include "settings/style.h"

namespace engines::ui {

namespace {

void ShowWindow(QWidget* window) {
    diagram::ui::PlaceBesideOnce(*window, *window->parentWidget());
    window->show();
    window->raise();
    window->activateWindow();
}

bool HasPickItems(const EngineState& state) {
    for (const auto& list : state.pickLists) {
        if (!list.empty()) {
            return true;
        }
    }
    return false;
}

// A menu item's note shows as its tooltip, in the menu too, and as its
// status text.
void SetNote(QAction* action, const std::string& note) {
    const QString text = QString::fromStdString(note);
    action->setToolTip(text);
    action->setStatusTip(text);
    for (QObject* object : action->associatedObjects()) {
        if (auto* menu = qobject_cast<QMenu*>(object)) {
            menu->setToolTipsVisible(true);
        }
    }
}

std::string TrimRight(const std::string& text) {
    const size_t last = text.find_last_not_of(' ');
    return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

}  // namespace

Engines::Engines(diagram::ui::Host& host) : QObject(host.mainWindow()), m_host(host) {
    setObjectName(QStringLiteral("Engines"));
    auto& hooks = host.hooks();
    auto findBefore = hooks.FindEngines;
    hooks.FindEngines = [this, findBefore] {
        if (findBefore) {
            findBefore();
        }
        FindEngines();
    };
    auto fillBefore = hooks.FillWindowLists;
    hooks.FillWindowLists = [this, fillBefore] {
        if (fillBefore) {
            fillBefore();
        }
        Crafty()->FillDepthList();
    };
    connect(host.action(QStringLiteral("MNpy")), &QAction::triggered, this, [this] { MNpy_Click(); });
    connect(host.action(QStringLiteral("MNCrafty")), &QAction::triggered, this, [this] { MNCrafty_Click(); });
    connect(host.action(QStringLiteral("MNAnalysis")), &QAction::triggered, this,
            [this] { MNAnalysis_Click(); });
}

Engines::~Engines() = default;

bool Engines::CheckOtherCopy() {
    // One lock per program folder, held for as long as this copy runs; a
    // copy that ended without releasing it leaves a stale lock, which is
    // taken over. It lies in the user's private run-time folder, or in the
    // program folder itself, never in a folder shared with other users.
    const std::string& appDir = m_host.program().settings.AppDir;
    const QByteArray folder = QByteArray::fromStdString(appDir);
    const QString key =
        QString::fromLatin1(QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex());
    const QString lockDir =
        QString::fromStdString(platform::RuntimeFolder(qgetenv("XDG_RUNTIME_DIR").toStdString(), appDir));
    m_lock = std::make_unique<QLockFile>(QDir(lockDir).filePath(QStringLiteral("pandrel-%1.lock").arg(key)));
    m_lock->setStaleLockTime(0);
    return !m_lock->tryLock(0);
}

void Engines::FindEngines() {
    diagram::ui::Program& program = m_host.program();
    EngineState& state = program.engines;
    std::string& recent = program.settings.RecentEngine;
    const std::string& appDir = program.settings.AppDir;
    m_anotherCopy = CheckOtherCopy();

    const std::string pathText = qgetenv("PATH").toStdString();
    FindPopeye(state, recent, appDir, pathText, m_host.exeDir());
    m_host.action(QStringLiteral("MNpy"))->setEnabled(state.popeyeFound);
    SetNote(m_host.action(QStringLiteral("MNpy")), PopeyeNote(state, appDir));
    if (HasPickItems(state)) {
        Popeye();  // the pick lists live in its fields
    }

    FindCrafty(state, recent, appDir, m_anotherCopy);
    m_host.action(QStringLiteral("MNCrafty"))->setEnabled(state.craftyFound);
    SetNote(m_host.action(QStringLiteral("MNCrafty")), CraftyNote(state, appDir));
    if (state.craftyFound) {
        Crafty()->setWindowTitle(QStringLiteral("Crafty"));
    }

    m_uciEngines = FindUciEngines(appDir, pathText, program.settings.UciEngine);
    m_host.action(QStringLiteral("MNAnalysis"))->setEnabled(!m_uciEngines.empty());
}

PopeyeWindow* Engines::Popeye() {
    if (m_popeye == nullptr) {
        m_popeye = new PopeyeWindow(m_host);
        m_popeye->AddPickItems(m_host.program().engines.pickLists);
        m_host.RegisterWindow(diagram::ui::Secondary::kPopeye, m_popeye);
    }
    return m_popeye;
}

CraftyWindow* Engines::Crafty() {
    if (m_crafty == nullptr) {
        m_crafty = new CraftyWindow(m_host);
        m_crafty->setWindowTitle(QStringLiteral("Crafty"));
        m_host.RegisterWindow(diagram::ui::Secondary::kCrafty, m_crafty);
    }
    return m_crafty;
}

AnalysisWindow* Engines::Analysis() {
    if (m_analysis == nullptr) {
        m_analysis = new AnalysisWindow(m_host, m_uciEngines);
        m_host.RegisterWindow(diagram::ui::Secondary::kAnalysis, m_analysis);
    }
    return m_analysis;
}

void Engines::MNAnalysis_Click() {
    m_host.Refresh();
    const diagram::ui::Program& program = m_host.program();
    const position::NotationStyle style = program.style.Notation();
    // The side the window shows first; the other when only it can move here.
    const bool white = m_analysis == nullptr || m_analysis->position().WhiteToMove();
    PositionResult read = PositionFromBoard(program.vet, style, white);
    if (!read.position) {
        PositionResult other = PositionFromBoard(program.vet, style, !white);
        if (!other.position) {
            m_host.services().messages->Warning(m_host.mainWindow(), QString::fromStdString(read.error));
            return;
        }
        read = std::move(other);
    }
    AnalysisWindow* window = Analysis();
    window->SetPosition(*read.position);
    ShowWindow(window);
}

void Engines::Check(const char* checked, const char* unchecked) {
    m_host.action(QString::fromLatin1(unchecked))->setChecked(false);
    m_host.action(QString::fromLatin1(checked))->setChecked(true);
}

void Engines::MNpy_Click() {
    m_host.Refresh();
    diagram::ui::Program& program = m_host.program();
    const position::PieceLists lists =
        position::FEN2ALG(program.vet, program.style.Notation(), program.settings.PyDictionaryText);
    PopeyeWindow* window = Popeye();
    window->SetField(kWhitePieces, TrimRight(lists.white));
    window->SetField(kBlackPieces, TrimRight(lists.black));
    window->SetField(kNeutralPieces, TrimRight(lists.neutral));
    program.settings.RecentEngine = "Popeye";
    Check("MNpy", "MNCrafty");
    ShowWindow(window);
}

void Engines::MNCrafty_Click() {
    m_host.Refresh();
    diagram::ui::Program& program = m_host.program();
    const std::string fen =
        CraftyFen(ToFile(m_host.Fen()), program.style.PIECESLIST, program.style.ENGLISHNOTATION);
    program.settings.RecentEngine = "Crafty";
    Check("MNCrafty", "MNpy");
    CraftyWindow* window = Crafty();
    window->Text1()->setText(FromFile(fen));
    ShowWindow(window);
}

void RunRecentEngine(diagram::ui::Host& host) {
    const std::string engine = settings::Upper(host.program().settings.RecentEngine);
    const char* name = engine == "POPEYE" ? "MNpy" : engine == "CRAFTY" ? "MNCrafty" : nullptr;
    if (name != nullptr) {
        QAction* action = host.action(QString::fromLatin1(name));
        if (action->isEnabled()) {
            action->trigger();
        }
    }
}

Engines* Attach(diagram::ui::Host& host) {
    return new Engines(host);
}

}  // namespace engines::ui
