#pragma once
// What the Popeye and Crafty windows share: their result lists on the
// clipboard, the printer and in the window, the border that marks a field
// being edited, and text conversions to the engines' files.

#include <QComboBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPainter;
class QPrinter;
class QWidget;

namespace platform {
class Clipboard;
struct Services;
}  // namespace platform

namespace engines {
struct RunTick;
}

namespace engines::ui {

/// The list's items in order.
QStringList Items(const QListWidget* list);

/// Copy Sol: empties the clipboard, then puts the items there as text, each
/// followed by CR LF, unless there are none.
void CopyItems(const QListWidget* list, platform::Clipboard& clipboard);

/// Print Sol: the items on the default printer, one per line, when there are
/// any. Without a printer, a "Warning" box over parent says so.
void PrintItems(const QListWidget* list, const platform::Services& services, QWidget* parent);

/// The items on printer, one per line, a new page when one is full. False
/// when the printer could not be used.
bool PrintLines(QPrinter& printer, const QStringList& lines);

/// Gives label a single-line border while field (or its editor) has the
/// keyboard focus. Lives as a child of field.
class FocusFrame : public QObject {
  public:
    FocusFrame(QWidget* field, QLabel* label);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLabel* m_label;
};

/// An editable field with a pick list that tells a choice from its list
/// apart from Enter pressed on typed text, which also reports an item when
/// the text equals one.
class PickListBox : public QComboBox {
  public:
    using QComboBox::QComboBox;
    /// True while the item being reported was chosen from the open list.
    bool ChosenFromList() const;

    void showPopup() override;
    void hidePopup() override;

  private:
    bool m_justClosed = false;
};

/// Text of the engines' files (bytes as written) for the window, and back.
QString FromFile(const std::string& text);
std::string ToFile(const QString& text);

/// The list's items replaced by lines.
void ReplaceItems(QListWidget* list, const std::vector<std::string>& lines);

/// What a tick of a run brought: the time label (repainted at once), the
/// window shown once the output begins, the output replacing the list, and
/// why a run ended without output.
void ShowRunTick(QWidget& window, QListWidget* list, QLabel* clock, const RunTick& tick);

/// After a resize of window: the list takes the window's size less the
/// margins (in twips). A minimised, maximised or full-screen window leaves it
/// as it is.
void FitList(const QWidget& window, QListWidget* list, double widthMargin, double heightMargin);

}  // namespace engines::ui
