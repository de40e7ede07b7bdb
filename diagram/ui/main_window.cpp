#include "diagram/ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
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
#include "settings/settings_file.h"

namespace diagram::ui {

namespace {

// Width of the column right of the diagram: style list, View button, book
// panel. The window size rule leaves 3300 twips beside the picture.
constexpr int kSideWidth = 200;

}  // namespace

MainWindow::MainWindow(app::Program& program, platform::Services services, QWidget* parent)
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
    ConnectCommands();
}

MainWindow::~MainWindow() {
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
}

void MainWindow::DrawBoard() {
    auto& style = m_program.style;
    auto& reversed = m_program.editing.Reversed;
    // Font styles are drawn at the screen's own density, so the men stay sharp.
    m_renderer.setDevicePixelRatio(m_ui.PicMain->devicePixelRatioF());
    bool square = m_renderer.DrawBoard(style, reversed);
    // A reversed board keeps counting its squares from the far corner: when
    // the style changed the board size, the turn must follow the new size or
    // squares would be painted outside the board.
    const int turned = style.BORDERHEIGHT * style.BORDERWIDTH + 1;
    if (reversed != 0 && reversed != turned) {
        reversed = static_cast<int16_t>(turned);
        square = m_renderer.DrawBoard(style, reversed);
    }
    action("MNRotate")->setEnabled(square);
    action("MNDMirror")->setEnabled(square);
    m_ui.PicMain->FitPicture();
    if (!isMinimized() && !isMaximized()) {
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
    const std::string base = m_hooks.PyDictionaryBase ? m_hooks.PyDictionaryBase() : std::string();
    m_program.settings.PyDictionaryText = base + m_program.style.PYDICTIONARY;
}

void MainWindow::ChooseStyle(const QString& name) {
    m_program.style.CurrentStyle = name.toStdString();
    settings::ReadSettings(m_program.style, m_program.settings);
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
}

void MainWindow::RegisterWindow(Secondary which, QWidget* window) {
    m_windows->Register(static_cast<int>(which), window);
}

QWidget* MainWindow::SecondaryWindow(Secondary which) const {
    return m_windows->Window(static_cast<int>(which));
}

}  // namespace diagram::ui
