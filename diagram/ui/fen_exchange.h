#pragma once
// Position text between the board, the FEN text box and the clipboard:
// Refresh, Copy FEN, Paste and the commit step of the editing commands.

#include <QObject>

#include "diagram/ui/program.h"
#include "platform/ui/services.h"

class QAction;
class QLabel;

namespace diagram::ui {

class FenBox;

/// The FEN commands of the Edit menu.
class FenExchange : public QObject {
    Q_OBJECT

  public:
    /// undo is MNUndo, rec is MNRec.
    FenExchange(diagram::ui::Program& program, FenBox* text1, QLabel* label3, platform::Clipboard* clipboard,
                QAction* undo, QAction* rec, QObject* parent);

    /// Text box := VetToFEN; caret at the end.
    void Refresh();
    /// Refresh, then the text (with the tally in front when COPYCOUNTER is
    /// set) to the History list and the clipboard; enables Undo Rec.
    void CopyFEN();
    /// Text box := FixFEN of the clipboard's text.
    void Paste();
    /// Text box := VetToFEN; then Copy FEN in record mode.
    void PicMove();

  signals:
    /// Copy FEN appended line to the History list.
    void fenCopied(const QString& line);

  private:
    diagram::ui::Program& m_program;
    FenBox* m_text1;
    QLabel* m_label3;
    platform::Clipboard* m_clipboard;
    QAction* m_undo;
    QAction* m_rec;
};

}  // namespace diagram::ui
