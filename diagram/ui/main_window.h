#pragma once
// The main window: the diagram, the FEN text box, the style list, the book
// panel and the menus. It owns start-up and shut-down of the whole program.
//
// How other parts of the program plug in
// --------------------------------------
// The subsystems' windows and commands are given host() (diagram/ui/host.h),
// never this class; what follows is what the host hands on.
// * Menu items: every item of the menu table exists from construction on, as
//   a QAction found by its name: action("MNReverse"), action("MNFileList2"),
//   and the menus themselves: menu("MNEffects"). Connect to triggered() (or
//   toggled()) to give an item its command. Items this window handles itself
//   (New, Start Position, recent files, Exit, Refresh, Copy Pandrel, Paste,
//   Style, Contents, About) are already connected. MNRec, MNReverse, MNpy and
//   MNCrafty are checkable: Qt flips their mark before triggered() runs.
// * Hooks (hooks()): fill them in before Load(). CmdLoad opens
//   program().book.BookFile as a book; the start-up steps FindEngines,
//   ToolbarPictures and FillWindowLists run at their place in the start-up
//   order; StyleWindow shows the style window modally; StyleChanged runs after
//   the Style command (to repaint the palette); AddToBook is the History
//   window's "A&dd to Book" button; unloadSteps run first at
//   unload (close open files). An empty hook does nothing.
// * Secondary windows: create them on first use with this window as parent
//   (Qt::Window flag) and RegisterWindow() them. Minimising this window hides
//   the visible History, View, Graphic, Popeye and Crafty windows and
//   restoring shows them again; closing it sets program().KeepWindows to false
//   and then calls close() on every registered window in the Secondary order,
//   so a window's closeEvent should hide while KeepWindows is true and clean
//   up otherwise (HideWhileKept in secondary_windows.h does the first part).
// * Position commits: edit program().vet and call PicMove() (text box :=
//   VetToFEN, then Copy FEN in record mode), or run Refresh(). Writing
//   Text1()->setText() (the host's SetFen()) rebuilds the board. After changing the look (style,
//   size, Reversed) call Redraw(). boardDrawn(square) tells whether Rotate 90
//   and Diagonal Mirror apply; fenCopied(line) follows every Copy FEN (the line
//   is already in program().editing.History).
// * Keys: the menus' shortcuts win over the FEN box and the style list, which
//   would take some of them as editing keys (menu_shortcut.h).
// * The Popeye dictionary in force is made at start-up and with every style
//   change by engines::PyDictionaryText (engines/engine_state.h).
// * Mouse: PicMain() reports presses, moves and releases in twips.

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

#include "diagram/render/renderer.h"
#include "diagram/ui/host.h"
#include "diagram/ui/program.h"
#include "platform/ui/services.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QToolBar;

namespace diagram::ui {

class BookPanel;
class FenBox;
class FenExchange;
class MainMenus;
class PictureView;
class RecentFilesMenu;
class SecondaryWindows;
class StyleList;

/// What start-up takes from outside the window.
struct StartupOptions {
    /// Folder of the executable: the program folder when writable, and where
    /// further copies of the program are started from.
    std::string exeDir;
    /// File arguments of the command line, absolute or relative to the folder
    /// the program was started in (resolved before the program folder becomes
    /// the current one).
    QStringList files;
    /// The manual page; "" means exeDir + "/pandrel.html".
    QString manualPath;
    /// The program folder when the caller has chosen it already; "" means
    /// settings::ResolveAppDir(exeDir).
    std::string appDir;
};

/// The program's main window.
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    /// Builds the window's controls and menus; start-up proper is Load().
    MainWindow(diagram::ui::Program& program, platform::Services services, QWidget* parent = nullptr);
    ~MainWindow() override;

    /// Start-up, steps 1 to 11: working-file name, program folder, settings,
    /// style list, engines, first board, command line.
    void Load(const StartupOptions& options);

    /// The program block this window owns.
    diagram::ui::Program& program() { return m_program; }
    /// The diagram picture's painter.
    diagram::Renderer& renderer() { return m_renderer; }
    /// The executable's folder, as start-up was given it (data shipped with
    /// the program lies there).
    const std::string& exeDir() const { return m_exeDir; }
    /// The desktop services handed in at construction.
    const platform::Services& services() const { return m_services; }
    /// Places for other subsystems; fill them in before Load().
    MainWindowHooks& hooks() { return m_hooks; }
    /// This window as the other windows see it.
    Host& host() { return *m_host; }

    /// The diagram picture.
    PictureView* PicMain() const { return m_ui.PicMain; }
    /// The FEN text box, master copy of the position.
    FenBox* Text1() const { return m_ui.Text1; }
    /// The piece tally.
    QLabel* Label3() const { return m_ui.Label3; }
    /// The style list.
    StyleList* Combo1() const { return m_ui.Combo1; }
    /// The "&View" button; the palette window connects to its clicked().
    QPushButton* Command9() const { return m_ui.Command9; }
    /// The book panel (hidden until a book is open).
    BookPanel* Frame2() const { return m_ui.Frame2; }

    /// A menu item by name ("MNSave", "MNFileList0" ...); nullptr if unknown.
    QAction* action(const QString& name) const;
    /// A menu by name ("MNFile", "MNCopy", "MNEffects" ...); nullptr if unknown.
    QMenu* menu(const QString& name) const;

    /// The board update: parses the FEN text box into the board vector,
    /// repaints the squares that changed and sets the tally.
    void Build();
    /// Prepares the picture for the current style (no squares), enables the
    /// square-board commands and sizes the window.
    void DrawBoard();
    /// DrawBoard, reset of the painted plane, Build: after a change of look.
    void Redraw();
    /// Text box := VetToFEN, caret at the end.
    void Refresh();
    /// The commit of the editing commands: Refresh, then Copy FEN in record mode.
    void PicMove();
    /// Copy FEN: the position (with the tally when COPYCOUNTER is set) to the
    /// History list and the clipboard.
    void CopyFEN();
    /// Text box := FixFEN of the clipboard's text.
    void Paste();
    /// Opens program().book.BookFile as a book, through the CmdLoad hook.
    void CmdLoad();
    /// Puts a file at the top of the recent files and of the File menu.
    void AddRecentFile(const std::string& name);
    /// The Style command: runs the style window around a saved copy of the
    /// style, then redraws.
    void StyleCommand();
    /// Switches to the named style (a click in the style list).
    void ChooseStyle(const QString& name);

    /// Puts bar at the top, on a row of its own below the toolbars added
    /// before it.
    void AddToolBarRow(QToolBar* bar);

    /// Makes a secondary window known for minimising and closing.
    void RegisterWindow(Secondary which, QWidget* window);
    /// A registered secondary window, or nullptr.
    QWidget* SecondaryWindow(Secondary which) const;

    /// "&Contents": shows the manual in the program's own window; when the
    /// manual file is missing, a "Warning" box names it.
    void Help();
    /// "&About...": the About window, modal.
    void About();

  signals:
    /// The picture was prepared for a style; square tells whether the board
    /// has as many rows as columns.
    void boardDrawn(bool square);
    /// Copy FEN appended line to the History list and put it on the clipboard.
    void fenCopied(const QString& line);

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    struct Controls {
        PictureView* PicMain = nullptr;
        FenBox* Text1 = nullptr;
        QLabel* Label3 = nullptr;
        StyleList* Combo1 = nullptr;
        QPushButton* Command9 = nullptr;
        BookPanel* Frame2 = nullptr;
    };

    void BuildControls();
    void ConnectCommands();
    void UpdatePyDictionary();
    void ShowRecentEngine();
    void OpenCommandLine(const QStringList& files);
    void QueryUnload();
    void Unload();

    diagram::ui::Program& m_program;
    platform::Services m_services;
    MainWindowHooks m_hooks;
    diagram::Renderer m_renderer;
    Controls m_ui;
    MainMenus* m_menus = nullptr;
    RecentFilesMenu* m_recent = nullptr;
    FenExchange* m_fen = nullptr;
    SecondaryWindows* m_windows = nullptr;
    Host* m_host = nullptr;
    std::string m_exeDir;
    QString m_manualPath;
    int m_toolBarRows = 0;
    bool m_unloaded = false;
    bool m_activatedOnce = false;  ///< Kept on the screen at its first activation.
};

}  // namespace diagram::ui
