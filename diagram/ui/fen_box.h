#pragma once
// The FEN text box (Text1): the master copy of the position, with the keys
// that help typing a position.

#include <QLineEdit>
#include <functional>

#include "position/vet.h"

namespace diagram::ui {

/// One-line FEN editor. End drops the empty squares after the last piece,
/// Enter asks for a refresh, Escape empties the board, "/" completes the rank
/// before the caret. Keys that are shortcuts of the window's menus are left to
/// the menus (Ctrl+C copies the FEN, not the selection).
class FenBox : public QLineEdit {
    Q_OBJECT

  public:
    /// shape gives the current board shape and piece letters.
    explicit FenBox(std::function<position::BoardShape()> shape, QWidget* parent = nullptr);

    /// What End leaves of text: everything up to its last piece letter.
    static QString CutAfterLastPiece(const QString& text, const std::string& piecesList);

  signals:
    /// Enter was pressed.
    void refreshRequested();
    /// The box got (true) or lost (false) the keyboard focus.
    void focusChanged(bool hasFocus);

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void InsertSlash();

    std::function<position::BoardShape()> m_shape;
};

}  // namespace diagram::ui
