#pragma once
// The fairy notations in the Edit menu: "Paste Special..." reads the
// clipboard's text in a notation chosen in a small window (or guessed) onto
// the board, and Copy's "Fairy FEN", "YACPDB" and "Popeye forsyth" put the
// position on the clipboard in that notation. Attach once after making the
// window:
//     new diagram::ui::FairyCommands(window.host());
// (the host owns it).

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <optional>

#include "position/fairy_board.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;

namespace diagram::ui {

class Host;

/// The window of Paste Special: the clipboard's text, the notation to read
/// it in and what reading it gives.
class PasteSpecialDialog : public QDialog {
    Q_OBJECT

  public:
    PasteSpecialDialog(const QString& text, QWidget* parent);

    /// The notation chosen; none for "Auto".
    std::optional<position::Notation> ChosenNotation() const;
    /// The reader's options chosen.
    position::NotationOptions Options() const;
    /// Shows what reading the text gives; OK is enabled only when it reads.
    void ShowResult(const QString& result, bool ok);

  signals:
    /// The notation or its options changed.
    void choiceChanged();

  private:
    QComboBox* m_notation;
    QCheckBox* m_knightS;
    QLabel* m_result;
    QDialogButtonBox* m_buttons;
};

/// The commands, connected to their menu items.
class FairyCommands : public QObject {
    Q_OBJECT

  public:
    explicit FairyCommands(Host& host);

    /// Paste Special: opens its window over the clipboard's text.
    void PasteSpecial();
    /// Reads text onto the board: the style becomes the import's copy when
    /// it needed one. Returns the message of a failure ("" on success).
    QString PasteText(const QString& text, std::optional<position::Notation> notation,
                      const position::NotationOptions& options);
    /// Copy in a notation; a position the notation cannot write is refused
    /// in a "Warning" box and the clipboard is left alone.
    void CopyAs(position::Notation notation);

  private:
    Host& m_host;
    QPointer<PasteSpecialDialog> m_dialog;  // the window shown last
};

}  // namespace diagram::ui
