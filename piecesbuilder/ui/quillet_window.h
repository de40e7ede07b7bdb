#pragma once

#include <QMainWindow>

#include "grid.h"

class QAction;
class QLabel;
class QMenu;
class QScrollArea;

namespace piecesbuilder {

class MessageSink;
class PictureBox;

/// Quillet's one window: a grid of 2 rows of squares into which clipboard images are pasted,
/// and the commands that size, crop, duplicate and copy the set.
class QuilletWindow : public QMainWindow {
    Q_OBJECT
  public:
    /// The window; messages and the offset question go to messages, which must outlive it.
    explicit QuilletWindow(MessageSink& messages, QWidget* parent = nullptr);

    /// The grid's current state.
    const Grid& State() const { return m_grid; }

    /// Runs a command as its menu item or key does.
    void Run(Command command);

    /// The finished set as Copy Set and Save Pieces File give it: the squares alone, 2 rows of
    /// the columns, no frame lines, no letters, no margin; a square never filled is white.
    QImage PiecesImage() const;

    /// Text of the help message.
    static QString HelpText();
    /// Title of the help message.
    static QString HelpTitle();

    /// The work picture; it takes the keys and the clicks.
    PictureBox* Picture1 = nullptr;
    /// Scratch picture, hidden.
    PictureBox* Picture2 = nullptr;
    /// Holder of the clipboard bitmap being pasted, hidden.
    PictureBox* Image1 = nullptr;
    /// The status line.
    QLabel* Label1 = nullptr;

    QMenu* MNfunctions = nullptr;
    QAction* MNreset = nullptr;
    QAction* MNline = nullptr;
    QAction* MNdup = nullptr;
    QAction* MNcopy = nullptr;
    QAction* MNcopySet = nullptr;
    QAction* MNsavePieces = nullptr;
    QAction* MNpaste = nullptr;
    QAction* MNexit = nullptr;
    QMenu* MNconvert = nullptr;
    QAction* MNaddCol = nullptr;
    QAction* MNremoveCol = nullptr;
    QAction* MNAllDown = nullptr;
    QAction* MNTopDown = nullptr;
    QAction* MNzoomOut = nullptr;
    QAction* MNzoomIn = nullptr;
    QAction* MNoffset = nullptr;
    QAction* MNhelp = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void BuildMenus();
    QAction* AddCommand(QMenu* menu, const QString& caption, const char* name, Command command);

    void DrawGrid();
    void DrawLegend(int col);
    void ShowStatus();
    void PutSquare(int row, int col);
    void SaveImage();
    void RestoreImage(int widthPx);
    void FitWindow();
    void ShrinkSquares(int shift);
    void ZoomSquares(double factor);

    void New();
    void Line();
    void Duplicate();
    void Copy();
    void CopySet();
    void SavePiecesFile();
    void PasteSet();
    void AddColumn();
    void RemoveColumn();
    void SquareOffset();
    void Help();
    void PasteIntoSquare(QPoint pos);
    void KeyOnPicture(int key, const QString& text);

    MessageSink& m_messages;
    Grid m_grid;
    Filling m_filling;
    QString m_lastPiecesFile;
    QScrollArea* m_scroll = nullptr;
    bool m_started = false;
};

}  // namespace piecesbuilder
