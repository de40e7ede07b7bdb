#pragma once
// The style list (Combo1): "CUSTOM" first, then the style names of the
// settings file in ascending order.

#include <QComboBox>

namespace diagram::ui {

/// Name of the first entry, which stands for the Style command.
inline constexpr const char* kCustomStyle = "CUSTOM";

/// Editable list of style names. A click on an entry, or Enter on a text that
/// names one (in any case), chooses it; Enter on any other text empties the
/// text; Escape puts back the chosen entry's name. Keys that are shortcuts of
/// the window's menus are left to the menus (Ctrl+E runs the Style command).
class StyleList : public QComboBox {
    Q_OBJECT

  public:
    explicit StyleList(QWidget* parent = nullptr);

    /// Sorts the entries after the first by their upper-cased names (a stable
    /// sort: equal names keep their order).
    void SortStyles();
    /// Shows name: selects the first entry equal to it ignoring case, or just
    /// shows the text when there is none.
    void ShowStyle(const QString& name);
    /// Index of the first entry equal to name ignoring case, or -1.
    int FindStyle(const QString& name) const;
    /// Enter on name as if typed into the list.
    void EnterName(const QString& name);

  signals:
    /// An entry was chosen (its text as listed). May be "CUSTOM".
    void styleChosen(const QString& name);
    /// Escape was pressed.
    void escapePressed();

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void ChooseText();
};

}  // namespace diagram::ui
