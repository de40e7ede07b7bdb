#pragma once
// The host: what the secondary windows and the subsystems' commands know of
// the main window. They reach the program through it and hear through its
// signals what others did; none of them touches another window's widgets.
//
// * The program block (program(): board vector, style, settings and the
//   subsystems' states; app/main.cpp owns it), the desktop services and the
//   diagram's renderer and picture.
// * The position: Fen()/SetFen() read and write the FEN text box, the master
//   copy; SetFen rebuilds the board. After editing program().vet call
//   PicMove() (or Refresh()); after changing the look (style, size, Reversed)
//   call Redraw().
// * Commands: action("MNReverse") and menu("MNEffects") are the menu table's
//   items; hooks() are the start-up steps and plug-in points (fill them in
//   before start-up). AddToolBarRow() puts a toolbar on the main window;
//   the style list is reached by name (StyleNames, ChooseStyle,
//   EnterStyleName ...), never as a control.
// * Secondary windows: make them on first use with mainWindow() as parent
//   (Qt::Window flag) and RegisterWindow() them, so minimising and closing the
//   main window take them along; SecondaryWindow() finds a registered one.
// * Signals: bookOpened/bookClosed (the books subsystem emits them),
//   positionChanged (every board update), styleChanged (the Style command
//   or the style list changed the look), historyChanged (the History list
//   changed), historyLineShown, viewRequested (the View button), boardDrawn,
//   fenCopied, problemChanged (the problem record was filled anew) and
//   solverFieldsChanged (the solver's window holds a new stipulation,
//   conditions or twins).

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

#include "diagram/ui/program.h"
#include "platform/ui/services.h"

class QAction;
class QColor;
class QMenu;
class QToolBar;
class QWidget;

namespace diagram {
class Renderer;
}

namespace diagram::ui {

class BookPanel;
class PictureView;

/// Secondary windows in the order closing the main window unloads them. The
/// values of History, View, Graphic, Popeye and Crafty are also the digits of
/// the hidden-window list that minimising keeps.
enum class Secondary : int {
    kFileSelection = 1,
    kAbout = 2,
    kHistory = 3,
    kSearchCriteria = 4,
    kAddToBook = 5,
    kView = 6,
    kGraphic = 7,
    kPopeye = 8,
    kCrafty = 9,
    kStyle = 10,
    kAnalysis = 11,
    kManual = 12,
    kProblem = 13,
};

/// Places where later parts of the program plug into the main window.
struct MainWindowHooks {
    /// Opens program().book.BookFile as a book.
    std::function<void()> CmdLoad;
    /// Start-up step 5: looks for Popeye, then Crafty.
    std::function<void()> FindEngines;
    /// Start-up step 8: gives the toolbar buttons their normal pictures.
    std::function<void()> ToolbarPictures;
    /// Start-up step 11: fills the Graphic width and Crafty depth lists.
    std::function<void()> FillWindowLists;
    /// The Style command's window, shown modally.
    std::function<void()> StyleWindow;
    /// After the Style command has redrawn the board (repaints the palette).
    std::function<void()> StyleChanged;
    /// The History window's "A&dd to Book": shows the add-to-book window
    /// modally for the lines of program().editing.History.
    std::function<void()> AddToBook;
    /// First steps of unload, in order (close open files). Each runs even
    /// when an earlier one failed.
    std::vector<std::function<void()>> unloadSteps;
};

/// The main window as the other windows see it.
class Host : public QObject {
    Q_OBJECT

  public:
    using QObject::QObject;
    ~Host() override = default;

    /// The program block.
    virtual Program& program() = 0;
    /// The desktop services.
    virtual const platform::Services& services() const = 0;
    /// Plug-in points of the start-up and of the main window's commands.
    virtual MainWindowHooks& hooks() = 0;
    /// The diagram's painter.
    virtual diagram::Renderer& renderer() = 0;
    /// The diagram picture: mouse editing, overlays and sizes follow it.
    virtual PictureView* PicMain() const = 0;
    /// The main window: parent of the secondary windows; what they raise,
    /// move beside themselves or keep disabled under a modal chooser.
    virtual QWidget* mainWindow() const = 0;
    /// The book panel the books subsystem fills (hidden until a book is open).
    virtual BookPanel* bookPanel() const = 0;
    /// The executable's folder, as start-up was given it (data shipped with
    /// the program lies there).
    virtual const std::string& exeDir() const = 0;
    /// Puts bar at the top of the main window, on a row of its own below the
    /// toolbars added before it.
    virtual void AddToolBarRow(QToolBar* bar) = 0;

    /// A menu item by name ("MNSave", "MNFileList0" ...); nullptr if unknown.
    virtual QAction* action(const QString& name) const = 0;
    /// A menu by name ("MNFile", "MNEffects" ...); nullptr if unknown.
    virtual QMenu* menu(const QString& name) const = 0;

    /// The FEN text box's text.
    virtual QString Fen() const = 0;
    /// Writes the FEN text box (which rebuilds the board); caret at the end.
    virtual void SetFen(const QString& fen) = 0;
    /// Caret of the FEN text box to its end.
    virtual void FenToEnd() = 0;
    /// The keyboard focus to the FEN text box.
    virtual void FocusFen() = 0;
    /// The colour of the FEN text (the turned view shows it in another).
    virtual void SetFenColor(const QColor& color) = 0;

    /// The board update from the FEN text box.
    virtual void Build() = 0;
    /// Prepares the picture for the current style and sizes the window.
    virtual void DrawBoard() = 0;
    /// DrawBoard, reset of the painted plane, Build: after a change of look.
    virtual void Redraw() = 0;
    /// Text box := VetToFEN, caret at the end.
    virtual void Refresh() = 0;
    /// The commit of the editing commands: Refresh, then Copy FEN in record mode.
    virtual void PicMove() = 0;
    /// Copy FEN (to the History list and the clipboard).
    virtual void CopyFEN() = 0;

    /// Opens program().book.BookFile as a book (the CmdLoad hook).
    virtual void CmdLoad() = 0;
    /// Puts a file at the top of the recent files and of the File menu.
    virtual void AddRecentFile(const std::string& name) = 0;

    /// The style names of the style list, without its "CUSTOM".
    virtual QStringList StyleNames() const = 0;
    /// Switches to the named style, as a click in the style list does.
    virtual void ChooseStyle(const QString& name) = 0;
    /// Enter on name typed into the style list: a known name (in any case)
    /// switches to that style, "CUSTOM" runs the Style command, any other
    /// text is cleared from the list.
    virtual void EnterStyleName(const QString& name) = 0;
    /// Adds a style name at the end of the style list.
    virtual void AddStyleName(const QString& name) = 0;
    /// Removes the index-th style name (0 is the first after "CUSTOM").
    virtual void RemoveStyleName(int index) = 0;

    /// Makes a secondary window known for minimising and closing.
    virtual void RegisterWindow(Secondary which, QWidget* window) = 0;
    /// A registered secondary window, or nullptr.
    virtual QWidget* SecondaryWindow(Secondary which) const = 0;

  signals:
    /// A book was opened (its work file is ready) or closed.
    void bookOpened();
    void bookClosed();
    /// The board was built from the FEN text box.
    void positionChanged();
    /// The style in force or its look changed and the board was redrawn.
    void styleChanged();
    /// Lines were added to or removed from the History list.
    void historyChanged();
    /// A line of the History list was put on the board.
    void historyLineShown();
    /// The main window's "&View" button was clicked.
    void viewRequested();
    /// The picture was prepared for a style; square tells whether the board
    /// has as many rows as columns.
    void boardDrawn(bool square);
    /// Copy FEN appended line to the History list and put it on the clipboard.
    void fenCopied(const QString& line);
    /// program().problem was filled anew (a book game shown, the Problem
    /// window edited).
    void problemChanged();
    /// The solver's window holds a new stipulation (with its number of
    /// moves: "h#2"), conditions or twins; they stand in for what the
    /// problem record lacks.
    void solverFieldsChanged(const QString& stipulation, const QString& conditions, const QString& twins);
};

}  // namespace diagram::ui
