#include "diagram/ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

#include "diagram/geometry.h"
#include "diagram/ui/book_panel.h"
#include "diagram/ui/fen_box.h"
#include "diagram/ui/fen_exchange.h"
#include "diagram/ui/main_menus.h"
#include "diagram/ui/picture_view.h"
#include "diagram/ui/recent_files.h"
#include "diagram/ui/secondary_windows.h"
#include "diagram/ui/style_list.h"
#include "engines/engine_state.h"
#include "platform/ui/teardown.h"
#include "settings/settings_file.h"

namespace diagram::ui {

namespace {

// Width of the column right of the diagram: style list, View button, book
// panel. The window size rule leaves 3300 twips beside the picture.
constexpr int kSideWidth = 200;

// The host the other windows are given: the main window's narrow face.
class MainHost final : public Host {
  public:
    explicit MainHost(MainWindow& main) : Host(&main), m_main(main) {}

    Program& program() override { return m_main.program(); }
    const platform::Services& services() const override { return m_main.services(); }
    MainWindowHooks& hooks() override { return m_main.hooks(); }
    diagram::Renderer& renderer() override { return m_main.renderer(); }
    PictureView* PicMain() const override { return m_main.PicMain(); }
    QWidget* mainWindow() const override { return &m_main; }
    BookPanel* bookPanel() const override { return m_main.Frame2(); }
    const std::string& exeDir() const override { return m_main.exeDir(); }
    void AddToolBarRow(QToolBar* bar) override { m_main.AddToolBarRow(bar); }
    QAction* action(const QString& name) const override { return m_main.action(name); }
    QMenu* menu(const QString& name) const override { return m_main.menu(name); }

    QString Fen() const override { return m_main.Text1()->text(); }
    void SetFen(const QString& fen) override {
        m_main.Text1()->setText(fen);
        m_main.Text1()->end(false);
    }
    void FenToEnd() override { m_main.Text1()->end(false); }
    void FocusFen() override { m_main.Text1()->setFocus(); }
    void SetFenColor(const QColor& color) override {
        QPalette palette = m_main.Text1()->palette();
        palette.setColor(QPalette::Text, color);
        m_main.Text1()->setPalette(palette);
    }

    void Build() override { m_main.Build(); }
    void DrawBoard() override { m_main.DrawBoard(); }
    void Redraw() override { m_main.Redraw(); }
    void Refresh() override { m_main.Refresh(); }
    void PicMove() override { m_main.PicMove(); }
    void CopyFEN() override { m_main.CopyFEN(); }
    void CmdLoad() override { m_main.CmdLoad(); }
    void AddRecentFile(const std::string& name) override { m_main.AddRecentFile(name); }

    QStringList StyleNames() const override {
        QStringList names;
        const StyleList* list = m_main.Combo1();
        for (int i = 1; i < list->count(); ++i) {
            names << list->itemText(i);
        }
        return names;
    }
    void ChooseStyle(const QString& name) override {
        StyleList* list = m_main.Combo1();
        const int index = list->findText(name, Qt::MatchFixedString);
        if (index >= 0) {
            list->setCurrentIndex(index);
        }
        m_main.ChooseStyle(name);
    }
    void EnterStyleName(const QString& name) override { m_main.Combo1()->EnterName(name); }
    void AddStyleName(const QString& name) override { m_main.Combo1()->addItem(name); }
    void RemoveStyleName(int index) override { m_main.Combo1()->removeItem(index + 1); }

    void RegisterWindow(Secondary which, QWidget* window) override { m_main.RegisterWindow(which, window); }
    QWidget* SecondaryWindow(Secondary which) const override { return m_main.SecondaryWindow(which); }

  private:
    MainWindow& m_main;
};

}  // namespace

MainWindow::MainWindow(diagram::ui::Program& program, platform::Services services, QWidget* parent)
    : QMainWindow(parent), m_program(program), m_services(services) {
    setObjectName(QStringLiteral("frmMain"));
    m_menus = new MainMenus(menuBar());
    BuildControls();
    std::array<QAction*, 4> recentItems{};
    for (int i = 0; i < MainMenus::kRecentItems; ++i) {
        recentItems[i] = action(QStringLiteral("MNFileList%1").arg(i));
    }
    m_recent = new RecentFilesMenu(recentItems, this);
    m_fen = new FenExchange(m_program, m_ui.Text1, m_ui.Label3, m_services.clipboard, action("MNUndo"),
                            action("MNRec"), this);
    m_windows = new SecondaryWindows;
    m_host = new MainHost(*this);
    connect(this, &MainWindow::boardDrawn, m_host, &Host::boardDrawn);
    connect(this, &MainWindow::fenCopied, m_host, &Host::fenCopied);
    connect(this, &MainWindow::fenCopied, m_host, &Host::historyChanged);
    connect(m_ui.Command9, &QPushButton::clicked, m_host, &Host::viewRequested);
    ConnectCommands();
}

MainWindow::~MainWindow() {
    // The host is taken down last of this window's children: the subsystems'
    // objects and windows hold it, and a window that loses the focus as it
    // goes still reaches the program through it.
    m_host->setParent(nullptr);
    m_host->setParent(this);
    // The controls and the secondary windows go while this window is still
    // whole: one that loses the focus as it goes calls back into it.
    platform::ui::DeleteChildWidgets(this);
    delete m_windows;
}

void MainWindow::BuildControls() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("central"));

    m_ui.PicMain = new PictureView(m_renderer, central);
    m_ui.PicMain->setObjectName(QStringLiteral("PicMain"));
    m_ui.Text1 = new FenBox([this] { return m_program.Shape(); }, central);
    m_ui.Text1->setObjectName(QStringLiteral("Text1"));
    m_ui.Label3 = new QLabel(QStringLiteral("(0x0) "), central);
    m_ui.Label3->setObjectName(QStringLiteral("Label3"));
    m_ui.Combo1 = new StyleList(central);
    m_ui.Combo1->setObjectName(QStringLiteral("Combo1"));
    m_ui.Command9 = new QPushButton(QStringLiteral("&View"), central);
    m_ui.Command9->setObjectName(QStringLiteral("Command9"));
    m_ui.Frame2 = new BookPanel(central);

    auto* side = new QVBoxLayout;
    side->addWidget(m_ui.Combo1);
    side->addWidget(m_ui.Command9);
    side->addWidget(m_ui.Frame2, 1);
    side->addStretch(0);
    auto* sideBox = new QWidget(central);
    sideBox->setLayout(side);
    sideBox->setFixedWidth(kSideWidth);
    side->setContentsMargins(0, 0, 0, 0);

    auto* top = new QHBoxLayout;
    top->addWidget(m_ui.PicMain, 0, Qt::AlignTop | Qt::AlignLeft);
    top->addStretch(1);
    top->addWidget(sideBox);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_ui.Label3);
    bottom->addWidget(m_ui.Text1, 1);

    auto* layout = new QVBoxLayout(central);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);
    setCentralWidget(central);
}

void MainWindow::ConnectCommands() {
    auto on = [this](const char* name, auto slot) {
        connect(action(QString::fromLatin1(name)), &QAction::triggered, this, slot);
    };
    on("MNNew", [this] {
        m_ui.Text1->setText(QString());
        m_ui.Text1->setFocus();
    });
    on("MNStart", [this] {
        m_ui.Text1->setText(QString::fromStdString(m_program.style.STARTPOS));
        m_ui.Text1->end(false);
    });
    on("MNExit", [this] { close(); });
    on("MNRefresh", [this] { Refresh(); });
    on("MNPandrel", [this] { CopyFEN(); });
    on("MNPaste", [this] { Paste(); });
    on("MNstyle", [this] { StyleCommand(); });
    on("MNContents", [this] { Help(); });
    on("MNAbout", [this] { About(); });

    connect(m_recent, &RecentFilesMenu::fileChosen, this, [this](int index) {
        m_program.book.BookFile = m_program.settings.RecentFiles[index];
        CmdLoad();
    });
    connect(m_fen, &FenExchange::fenCopied, this, &MainWindow::fenCopied);
    connect(m_ui.Text1, &QLineEdit::textChanged, this, [this] { Build(); });
    connect(m_ui.Text1, &FenBox::refreshRequested, this, [this] { Refresh(); });
    connect(m_ui.Text1, &FenBox::focusChanged, this, [this](bool hasFocus) {
        m_ui.Label3->setFrameStyle(hasFocus ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    });
    connect(m_ui.Frame2->Picture1(), &StepArea::refreshRequested, this, [this] { Refresh(); });
    connect(m_ui.Combo1, &StyleList::styleChosen, this, [this](const QString& name) {
        if (name.toUpper() == QLatin1String(kCustomStyle)) {
            StyleCommand();
        } else {
            ChooseStyle(name);
        }
    });
    connect(m_ui.Combo1, &StyleList::escapePressed, this, [this] { m_ui.Text1->setFocus(); });
    // A command that put a style of its own in force (a fairy import's
    // "CUSTOM") shows its name in the list.
    connect(m_host, &Host::styleChanged, this,
            [this] { m_ui.Combo1->ShowStyle(QString::fromStdString(m_program.style.CurrentStyle)); });
}

QAction* MainWindow::action(const QString& name) const {
    return m_menus->action(name);
}

QMenu* MainWindow::menu(const QString& name) const {
    return m_menus->menu(name);
}

void MainWindow::Build() {
    // The hourglass while the board is read and painted; a large board with a
    // slow pieces bitmap can take a moment.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const position::ParseResult result = m_renderer.Build(m_program.vet, m_ui.Text1->text().toStdString(),
                                                          m_program.style, m_program.editing.Reversed);
    // A text that needed more cells than the vector has leaves the tally alone.
    if (result.complete) {
        m_ui.Label3->setText(QString::fromStdString(position::Tally(result.white, result.black)));
    }
    m_ui.PicMain->update();
    QApplication::restoreOverrideCursor();
    emit m_host->positionChanged();
}

void MainWindow::DrawBoard() {
    auto& style = m_program.style;
    auto& reversed = m_program.editing.Reversed;
    // The style in force keeps the computed fields: the style editor shows
    // them and saves them, and the board updates read them.
    const bool square = ApplyComputedGeometry(style);
    // A reversed board keeps counting its squares from the far corner: when
    // the style changed the board size, the turn must follow the new size or
    // squares would be painted outside the board.
    reversed = FollowBoardSize(reversed, style);
    // Font styles are drawn at the screen's own density, so the men stay sharp.
    m_renderer.setDevicePixelRatio(m_ui.PicMain->devicePixelRatioF());
    m_renderer.DrawBoard(style, reversed);
    action("MNRotate")->setEnabled(square);
    action("MNDMirror")->setEnabled(square);
    m_ui.PicMain->FitPicture();
    if (!isMinimized() && !isMaximized()) {
        // The layouts take the picture's new size now, not on their next
        // pass: until then the window's minimum is that of the old picture,
        // and a smaller board would leave the window as large as the last one.
        for (QWidget* holder : {centralWidget(), static_cast<QWidget*>(this)}) {
            if (holder != nullptr && holder->layout() != nullptr) {
                holder->layout()->activate();
            }
        }
        const WindowSize size = MainWindowSize(style, !m_ui.Frame2->isHidden());
        resize(size.width / kTwipsPerPixel, size.height / kTwipsPerPixel);
    }
    emit boardDrawn(square);
}

void MainWindow::Redraw() {
    DrawBoard();
    position::ResetVet(m_program.vet, m_program.Shape());
    Build();
}

void MainWindow::Refresh() {
    m_fen->Refresh();
}

void MainWindow::PicMove() {
    m_fen->PicMove();
}

void MainWindow::CopyFEN() {
    m_fen->CopyFEN();
}

void MainWindow::Paste() {
    m_fen->Paste();
}

void MainWindow::CmdLoad() {
    if (m_hooks.CmdLoad) {
        m_hooks.CmdLoad();
    }
}

void MainWindow::AddRecentFile(const std::string& name) {
    settings::AddRecentFile(m_program.settings, name);
    m_recent->Show(m_program.settings.RecentFiles);
}

void MainWindow::UpdatePyDictionary() {
    m_program.settings.PyDictionaryText = engines::PyDictionaryText(m_program.engines, m_program.style);
}

void MainWindow::ChooseStyle(const QString& name) {
    m_program.style.CurrentStyle = name.toStdString();
    // The engines chosen since start-up are the program's, not the style's:
    // reading the style's block must not take them back to the file's.
    const std::string recentEngine = m_program.settings.RecentEngine;
    const std::string recentEngineRead = m_program.settings.RecentEngineRead;
    const std::string uciEngine = m_program.settings.UciEngine;
    settings::ReadSettings(m_program.style, m_program.settings);
    m_program.settings.RecentEngine = recentEngine;
    m_program.settings.RecentEngineRead = recentEngineRead;
    m_program.settings.UciEngine = uciEngine;
    m_recent->Show(m_program.settings.RecentFiles);
    DrawBoard();
    position::ResetVet(m_program.vet, m_program.Shape());
    // The squares are read again in order with the new board size.
    const QString fen = QString::fromStdString(position::VetToFEN(m_program.vet, m_program.Shape()));
    UpdatePyDictionary();
    if (m_ui.Text1->text() != fen) {
        m_ui.Text1->setText(fen);
    } else {
        Build();
    }
    m_ui.Text1->end(false);
    emit m_host->styleChanged();
}

void MainWindow::StyleCommand() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_program.savedStyle = m_program.style;
    QApplication::restoreOverrideCursor();
    if (m_hooks.StyleWindow) {
        m_hooks.StyleWindow();
    }
    m_program.style = m_program.savedStyle;
    m_ui.Combo1->ShowStyle(QString::fromStdString(m_program.style.CurrentStyle));
    Redraw();
    if (m_hooks.StyleChanged) {
        m_hooks.StyleChanged();
    }
    emit m_host->styleChanged();
}

void MainWindow::AddToolBarRow(QToolBar* bar) {
    if (m_toolBarRows++ > 0) {
        addToolBarBreak(Qt::TopToolBarArea);
    }
    addToolBar(Qt::TopToolBarArea, bar);
}

void MainWindow::RegisterWindow(Secondary which, QWidget* window) {
    m_windows->Register(static_cast<int>(which), window);
}

QWidget* MainWindow::SecondaryWindow(Secondary which) const {
    return m_windows->Window(static_cast<int>(which));
}

}  // namespace diagram::ui
