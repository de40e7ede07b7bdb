#pragma once
// The style window ("Style"): every field of the current style in labelled
// input fields, previewed on the main window's diagram, and the named styles
// of the settings file: save, delete, import, restore the defaults.
//
// The Style command keeps a copy of the style record, runs this window
// modally (Run) and puts the copy back afterwards; "O&k" overwrites the copy
// first, so only it keeps the edits.

#include <QDialog>
#include <QHash>
#include <QImage>
#include <QString>
#include <array>
#include <string>

#include "settings/style_fields.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QScrollBar;
class QTimer;
class QToolButton;

namespace diagram::ui {

class Host;

class ColorBox;
class ImageButton;

/// The style window.
class StyleWindow : public QDialog {
    Q_OBJECT

  public:
    /// Builds the window over the host's main window; it lists the host's
    /// style names.
    explicit StyleWindow(Host& host);

    /// The host's style window, made (and registered) on first use.
    static StyleWindow& Of(Host& host);

    /// Shows the window modally until it is hidden. Without "O&k" the pieces
    /// picture and the Popeye dictionary in force go back to what they were,
    /// like the style record the Style command puts back.
    void Run();

    /// Fills every control from the style record.
    void LoadStyleFields();
    /// Stores every control into the style record.
    void ApplyStyleFields();
    /// In the manual size state, sets both "Picture: " fields to "0".
    void ResetPictureSize();
    /// Applies the fields, redraws the diagram and shows the derived values.
    void Preview();
    /// Switches between the automatic and the manual picture size state.
    void ToggleSizeLock();
    /// True in the manual picture size state.
    bool ManualSize() const;

    /// Menu commands.
    void SaveStyle();
    void DeleteStyle();
    void ImportStyles();
    void RestoreDefaults();

    /// The status line's text.
    QString status() const;

    /// The controls, under the names they bear.
    struct Controls {
        QComboBox* Combo5 = nullptr;
        QLineEdit* Text11 = nullptr;
        QComboBox* Combo6 = nullptr;
        QLineEdit* Text19 = nullptr;
        QLineEdit* Text20 = nullptr;
        ColorBox* Picture5 = nullptr;
        ColorBox* Picture6 = nullptr;
        QCheckBox* Check8 = nullptr;
        QLineEdit* Text18 = nullptr;
        QLineEdit* Text8 = nullptr;
        QLineEdit* Text12 = nullptr;
        QLineEdit* Text15 = nullptr;
        QLineEdit* Text4 = nullptr;
        QLineEdit* Text17 = nullptr;
        QLineEdit* Text13 = nullptr;
        QLineEdit* Text14 = nullptr;
        QLineEdit* Text16 = nullptr;
        QLineEdit* Text3 = nullptr;
        QCheckBox* Check1 = nullptr;
        QLineEdit* Text1 = nullptr;
        QLineEdit* Text2 = nullptr;
        QLineEdit* Text5 = nullptr;
        QLineEdit* Text6 = nullptr;
        QLineEdit* Text7 = nullptr;
        ColorBox* Picture1 = nullptr;
        ColorBox* Picture2 = nullptr;
        QLineEdit* Text9 = nullptr;
        QLineEdit* Text10 = nullptr;
        QCheckBox* Check2 = nullptr;
        QComboBox* Combo2 = nullptr;
        QComboBox* Combo1 = nullptr;
        ColorBox* Picture4 = nullptr;
        QComboBox* Combo3 = nullptr;
        QComboBox* Combo4 = nullptr;
        QCheckBox* Check3 = nullptr;
        QCheckBox* Check4 = nullptr;
        QCheckBox* Check5 = nullptr;
        QCheckBox* Check6 = nullptr;
        QCheckBox* Check7 = nullptr;
        std::array<QRadioButton*, 3> Option1{};
        std::array<QRadioButton*, 3> Option2{};
        QPushButton* Command1 = nullptr;
        QPushButton* Command2 = nullptr;
        QPushButton* Command3 = nullptr;
        QToolButton* Command5 = nullptr;
        ImageButton* Image9 = nullptr;
        ImageButton* Image3 = nullptr;
        ImageButton* Image4 = nullptr;
        QLabel* Image5 = nullptr;
        QLabel* Image6 = nullptr;
        QLabel* Label21 = nullptr;
        QScrollBar* HScroll1 = nullptr;
        QScrollBar* VScroll1 = nullptr;
        QTimer* Timer1 = nullptr;
        QMenuBar* menuBar = nullptr;
        QScrollArea* fieldsArea = nullptr;  ///< Holds the fields; scrolls on a small screen.
    };
    const Controls& controls() const { return m_ui; }
    /// The label of a field by the field's name ("Text9" gives the label
    /// "Picture: "), or nullptr for a field without one.
    QLabel* label(const QString& control) const;
    /// A File menu item by name ("MNF10save" ...), or nullptr.
    QAction* action(const QString& name) const;

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    /// Scroll bar positions: the middle is the size the fields were loaded
    /// with, each step one pixel.
    static constexpr int kScrollMax = 400;

  private:
    QWidget* MakeField(const settings::StyleFieldRow& row);
    template <typename T>
    T* Field(const char* control) const;
    void BuildControls();
    void NameControls();
    void SetTabOrder();
    void BuildMenu();
    void ConnectFields();
    void ConnectControls();
    void Activate();
    /// Moves the window beside the main window (only when it covers part of
    /// it, if onlyWhenCovering), kept on the screen.
    void PlaceBesideMain(bool onlyWhenCovering);
    void FillStyleList();
    void SetManualSize(bool manual);
    /// True while the fields show a font style (a pieces font is named).
    bool FontStyleShown() const;
    /// Sizes the window to its fields, no larger than the screen it opens on
    /// (the fields scroll then; the buttons stay in sight).
    void SizeToScreen();
    void ShowStyleAfterDelete(int removedAt);
    /// Makes a following font style's computed picture large enough for its
    /// lettering.
    void HoldLettering();
    settings::StyleFields ReadFields() const;
    void ShowFields(const settings::StyleFields& fields);
    void ShowGridSuggestions();
    void ShowFontStyleState();
    void TimerTick();
    void PiecesFileEntered();
    void BorderFileEntered();
    void Browse(int purpose, QLineEdit* field);
    void PickBoxColor(ColorBox* box);
    void GridClicked();
    void StyleChosen(int index);
    void OkClicked();
    void HScrolled(int value);
    void VScrolled(int value);
    int EditorIndexOf(const std::string& name) const;
    void AddStyleName(const QString& name);
    void SetStatus(const QString& text);
    void WarnNotWritten();

    Host& m_main;  ///< The main window, through its host.
    Controls m_ui;
    QHash<QString, QWidget*> m_fields;  ///< The table's controls by name.
    QHash<QString, QLabel*> m_labels;   ///< Their labels by the field's name.
    QImage m_pieces;                    ///< The pieces bitmap the square sizes follow (Image5).
    QImage m_border;                    ///< The border bitmap the board is centred in (Image6).

    // Window state, as it persists between uses of the window.
    int m_hScroll = 0;  ///< Diagram width (twips) the scroll bar moves around; 0 while resetting.
    int m_vScroll = 0;  ///< Diagram height likewise.
    int m_vCombo3 = 0;  ///< Pending grid-offset suggestions (pixels), 0 = none.
    int m_vCombo4 = 0;
    bool m_DisableEvent = false;              ///< Filling the fields: no preview.
    bool m_DisableGrid = false;               ///< Filling the fields: no grid handler.
    std::string m_ArqSty;                     ///< The style file imported last.
    QString m_aText5 = QStringLiteral("15");  ///< Board offsets kept while the grid is off.
    QString m_aText6 = QStringLiteral("15");
    QString m_aCombo3 = QStringLiteral("0");  ///< Grid offsets kept while the grid is off.
    QString m_aCombo4 = QStringLiteral("0");
    int32_t m_aPic2 = 0;  ///< Back and font colours kept while the grid is off.
    int32_t m_aPic4 = 0;
    bool m_coloursKept = false;

    // What Run() puts back unless "O&k" was pressed.
    bool m_committed = false;
    QImage m_openPieces;
    std::string m_openDictionary;
    QString m_openFen;
};

/// Marks a field's label while the field has the focus (a single-line
/// border), keeping the border's room when unmarked.
void SetFocusCue(QLabel* label, bool on);

/// Gives the main window its style window (the Style command and the style
/// list's "CUSTOM").
void AttachStyleWindow(Host& host);

}  // namespace diagram::ui
