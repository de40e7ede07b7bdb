#include "diagram/ui/style/style_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <cmath>

#include "diagram/render/renderer.h"
#include "diagram/seek.h"
#include "diagram/ui/host.h"
#include "diagram/ui/picture_view.h"
#include "diagram/ui/style/pick_color.h"
#include "diagram/ui/style/style_controls.h"
#include "diagram/ui/win_seek.h"
#include "diagram/ui/window_place.h"
#include "engines/engine_state.h"
#include "platform/ui/strings.h"
#include "settings/settings_file.h"
#include "settings/style_import.h"

namespace diagram::ui {

namespace {

using platform::Q;
using platform::S;
using settings::BitmapTwips;
using settings::CenterInBorder;
using settings::ImportAnswer;
using settings::ImportButtons;
using settings::ImportHost;
using settings::IsSavableStyleName;
using settings::kSettingsName;
using settings::PixelText;
using settings::ReplaceQuestion;
using settings::Style;
using settings::Upper;
using settings::WriteStyle;

constexpr int kTwips = kTwipsPerPixel;

constexpr const char* kViewMode = "View mode...";
// Digits a number list shows whole at least.
constexpr int kNumberChars = 5;
platform::Buttons ToButtons(ImportButtons buttons) {
    switch (buttons) {
        case ImportButtons::kOkCancel:
            return platform::Buttons::kOkCancel;
        case ImportButtons::kYesNoCancel:
            return platform::Buttons::kYesNoCancel;
        case ImportButtons::kOk:
            break;
    }
    return platform::Buttons::kOk;
}

ImportAnswer ToAnswer(platform::Answer answer) {
    switch (answer) {
        case platform::Answer::kCancel:
            return ImportAnswer::kCancel;
        case platform::Answer::kYes:
            return ImportAnswer::kYes;
        case platform::Answer::kNo:
            return ImportAnswer::kNo;
        case platform::Answer::kOk:
            break;
    }
    return ImportAnswer::kOk;
}

}  // namespace

StyleWindow::StyleWindow(Host& host)
    : QDialog(host.mainWindow(), Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_main(host) {
    setObjectName(QStringLiteral("StyleWindow"));
    setWindowTitle(QStringLiteral("Style"));
    setModal(true);
    BuildControls();
    BuildMenu();
    ConnectControls();
    FillStyleList();
}

StyleWindow& StyleWindow::Of(Host& host) {
    if (auto* found = qobject_cast<StyleWindow*>(host.SecondaryWindow(Secondary::kStyle))) {
        return *found;
    }
    auto* window = new StyleWindow(host);
    host.RegisterWindow(Secondary::kStyle, window);
    return *window;
}

void StyleWindow::ConnectControls() {
    ConnectFields();
    auto preview = [this] { Preview(); };
    connect(m_ui.Text11, &QLineEdit::returnPressed, this, [this] { PiecesFileEntered(); });
    connect(m_ui.Text8, &QLineEdit::returnPressed, this, [this] { BorderFileEntered(); });
    connect(m_ui.Image3, &ImageButton::clicked, this,
            [this] { Browse(diagram::kSeekLoadBoard, m_ui.Text8); });
    connect(m_ui.Image4, &ImageButton::clicked, this,
            [this] { Browse(diagram::kSeekLoadPieces, m_ui.Text11); });
    for (ColorBox* box : {m_ui.Picture1, m_ui.Picture2, m_ui.Picture4, m_ui.Picture5, m_ui.Picture6}) {
        connect(box, &ColorBox::clicked, this, [this, box] { PickBoxColor(box); });
    }
    connect(m_ui.Check2, &QCheckBox::clicked, this, [this] { GridClicked(); });
    connect(m_ui.Combo5, &QComboBox::activated, this, [this](int index) { StyleChosen(index); });
    connect(m_ui.Command1, &QPushButton::clicked, this, [this] { OkClicked(); });
    connect(m_ui.Command2, &QPushButton::clicked, this, preview);
    connect(m_ui.Command3, &QPushButton::clicked, this, &StyleWindow::reject);
    connect(m_ui.Command5, &QToolButton::clicked, this, [this] {
        ResetPictureSize();
        Preview();
    });
    connect(m_ui.Image9, &ImageButton::clicked, this, [this] { ToggleSizeLock(); });
    connect(m_ui.HScroll1, &QScrollBar::valueChanged, this, [this](int value) { HScrolled(value); });
    connect(m_ui.VScroll1, &QScrollBar::valueChanged, this, [this](int value) { VScrolled(value); });
    connect(m_ui.Timer1, &QTimer::timeout, this, [this] { TimerTick(); });
}

void StyleWindow::FillStyleList() {
    // Entry i here is entry i + 1 of the main window's list ("CUSTOM" first).
    const QString text = m_ui.Combo5->currentText();
    m_ui.Combo5->clear();
    m_ui.Combo5->addItems(m_main.StyleNames());
    m_ui.Combo5->setEditText(text);
}

void StyleWindow::Run() {
    m_committed = false;
    m_openPieces = m_main.renderer().pieces();
    m_openDictionary = m_main.program().settings.PyDictionaryText;
    m_openFen = m_main.Fen();
    exec();
    if (!m_committed) {
        // The style record goes back by the Style command; what the previews
        // changed beside it goes back here. Choosing a style of another board
        // size rewrites the FEN text for that board: the position goes back
        // as it was typed, read with the style it was typed for.
        m_main.renderer().setPieces(m_openPieces);
        m_main.program().settings.PyDictionaryText = m_openDictionary;
        if (m_main.Fen() != m_openFen) {
            m_main.program().style = m_main.program().savedStyle;
            m_main.SetFen(m_openFen);
        }
    }
}

void StyleWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        Activate();
    }
}

void StyleWindow::hideEvent(QHideEvent* event) {
    m_ui.Timer1->stop();
    QDialog::hideEvent(event);
}

void StyleWindow::closeEvent(QCloseEvent* event) {
    if (m_main.program().KeepWindows) {
        event->ignore();
        reject();
        return;
    }
    QDialog::closeEvent(event);
}

void StyleWindow::Activate() {
    // The fields are loaded each time the window is shown; windows opened
    // over it (file selection, colour chooser, messages) leave them alone.
    m_DisableGrid = true;
    FillStyleList();
    LoadStyleFields();
    // A font style's picture follows its board unless the user locks it; a
    // bitmap style's stays as it is unless the user unlocks it.
    SetManualSize(FontStyleShown());
    SizeToScreen();
    PlaceBesideMain(false);
    SetStatus(QLatin1String(kViewMode));
    m_DisableGrid = false;
    m_ui.Timer1->start();
    // A keyboard user starts with the style's name.
    m_ui.Combo5->setFocus(Qt::OtherFocusReason);
    m_ui.Combo5->lineEdit()->selectAll();
}

void StyleWindow::SetStatus(const QString& text) {
    m_ui.Label21->setText(text);
    m_ui.Label21->repaint();
}

QString StyleWindow::status() const {
    return m_ui.Label21->text();
}

void StyleWindow::LoadStyleFields() {
    m_DisableEvent = true;
    const Style& style = m_main.program().style;

    // The square sizes follow the pieces bitmap the diagram is drawn with:
    // the style's own, or, when it names none or one that does not load, the
    // one the diagram keeps using.
    QImage pieces = diagram::LoadBitmap(Q(style.PIECESFILE));
    m_pieces = pieces.isNull() ? m_main.renderer().pieces() : pieces;
    m_ui.Image5->setPixmap(QPixmap::fromImage(m_pieces));
    if (!style.BORDERFILE.empty()) {
        QImage border = diagram::LoadBitmap(Q(style.BORDERFILE));
        if (!border.isNull()) {
            m_border = border;
            m_ui.Image6->setPixmap(QPixmap::fromImage(m_border));
        }
    }

    ShowFields(settings::LoadStyleFields(style));

    const diagram::ui::PictureView* picture = m_main.PicMain();
    m_hScroll = 0;
    m_ui.HScroll1->setValue(kScrollMax / 2);
    m_hScroll = picture->width() * kTwips;
    m_vScroll = 0;
    m_ui.VScroll1->setValue(kScrollMax / 2);
    m_vScroll = picture->height() * kTwips;

    ShowGridSuggestions();
    m_DisableEvent = false;
}

void StyleWindow::ShowGridSuggestions() {
    const QImage& picture = m_main.renderer().picture();
    const QFontMetricsF metrics(diagram::Renderer::LetteringQFont(m_main.program().style), &picture);
    m_vCombo3 = static_cast<int>(std::lround(metrics.height()));
    m_vCombo4 = static_cast<int>(std::lround(metrics.horizontalAdvance(QStringLiteral("2"))));
}

void StyleWindow::TimerTick() {
    auto suggest = [](QComboBox* combo, int& pending) {
        if (pending <= 0) {
            return;
        }
        const QString typed = combo->currentText();
        const QString value = QString::number(pending);
        if (combo->count() < 2) {
            combo->addItem(value);
        } else {
            combo->setItemText(1, value);
        }
        combo->setEditText(typed);
        FitToItems(combo, kNumberChars);
        pending = 0;
    };
    suggest(m_ui.Combo3, m_vCombo3);
    suggest(m_ui.Combo4, m_vCombo4);
}

void StyleWindow::ApplyStyleFields() {
    diagram::ui::Program& program = m_main.program();
    settings::ApplyStyleFields(
        ReadFields(), BitmapTwips(m_pieces.width(), m_pieces.height()), program.style,
        ManualSize() ? settings::PictureFit::kFollowBoard : settings::PictureFit::kKept);
    if (ManualSize()) {
        HoldLettering();
    }
    program.settings.PyDictionaryText = engines::PyDictionaryText(program.engines, program.style);
}

void StyleWindow::Preview() {
    if (m_DisableEvent) {
        return;
    }
    ApplyStyleFields();
    m_main.Redraw();
    LoadStyleFields();
    SetStatus(QLatin1String(kViewMode));
    // A larger board grows the main window, maybe past the screen's edge or
    // under this one.
    KeepOnScreen(*m_main.mainWindow());
    PlaceBesideMain(true);
}

void StyleWindow::OkClicked() {
    ApplyStyleFields();
    m_main.program().savedStyle = m_main.program().style;
    m_committed = true;
    accept();
}

void StyleWindow::StyleChosen(int index) {
    const QStringList names = m_main.StyleNames();
    if (index < 0 || index >= names.size()) {
        return;
    }
    m_main.ChooseStyle(names[index]);
    LoadStyleFields();
    if (FontStyleShown()) {
        SetManualSize(true);
    }
    SetStatus(QLatin1String(kViewMode));
}

void StyleWindow::PiecesFileEntered() {
    Style& style = m_main.program().style;
    style.PIECESFILE = S(m_ui.Text11->text());
    const QImage pieces = diagram::LoadBitmap(m_ui.Text11->text());
    if (pieces.isNull()) {
        return;
    }
    m_pieces = pieces;
    m_ui.Image5->setPixmap(QPixmap::fromImage(m_pieces));
    ResetPictureSize();
    Preview();
}

void StyleWindow::BorderFileEntered() {
    Style& style = m_main.program().style;
    style.BORDERFILE = S(m_ui.Text8->text());
    const QImage border = diagram::LoadBitmap(m_ui.Text8->text());
    if (border.isNull()) {
        return;
    }
    m_border = border;
    m_ui.Image6->setPixmap(QPixmap::fromImage(m_border));
    CenterInBorder(BitmapTwips(m_border.width(), m_border.height()), style);
    m_ui.Text6->setText(Q(PixelText(style.XBASE)));
    m_ui.Text5->setText(Q(PixelText(style.YBASE)));
    ResetPictureSize();
    Preview();
}

void StyleWindow::Browse(int purpose, QLineEdit* field) {
    diagram::ui::WinSeek& seek = diagram::ui::WinSeek::Of(m_main);
    if (!seek.Seek(purpose)) {
        return;
    }
    field->setText(seek.fileName());
    if (field == m_ui.Text8) {
        BorderFileEntered();
    } else {
        PiecesFileEntered();
    }
    field->end(false);
}

void StyleWindow::PickBoxColor(ColorBox* box) {
    const int32_t color = PickColor(m_main.services().colors, m_main.program().settings.CustomColors,
                                    {m_main.mainWindow(), m_main.SecondaryWindow(Secondary::kGraphic),
                                     m_main.SecondaryWindow(Secondary::kStyle)},
                                    box->color(), box);
    if (color == -1) {
        return;
    }
    box->setColor(color);
    Preview();
}

void StyleWindow::GridClicked() {
    if (m_DisableGrid) {
        return;
    }
    // A font style's picture keeps following its board (offsets of 0 make it smaller).
    if (ManualSize() && !FontStyleShown()) {
        SetManualSize(false);
    }
    if (!m_ui.Check2->isChecked()) {
        m_aText5 = m_ui.Text5->text();
        m_aText6 = m_ui.Text6->text();
        m_aCombo3 = m_ui.Combo3->currentText();
        m_aCombo4 = m_ui.Combo4->currentText();
        m_aPic2 = m_ui.Picture2->color();
        m_aPic4 = m_ui.Picture4->color();
        m_coloursKept = true;
        m_ui.Text5->setText(QStringLiteral("0"));
        m_ui.Text6->setText(QStringLiteral("0"));
    } else {
        m_ui.Text5->setText(m_aText5);
        m_ui.Text6->setText(m_aText6);
        m_ui.Combo3->setEditText(m_aCombo3);
        m_ui.Combo4->setEditText(m_aCombo4);
        // Colours never kept (the grid was off when the window came up) are
        // not overwritten with made-up ones.
        if (m_coloursKept) {
            m_ui.Picture2->setColor(m_aPic2);
            m_ui.Picture4->setColor(m_aPic4);
        }
    }
    Preview();
}

int StyleWindow::EditorIndexOf(const std::string& name) const {
    const std::string upper = Upper(name);
    for (int i = 0; i < m_ui.Combo5->count(); ++i) {
        if (Upper(S(m_ui.Combo5->itemText(i))) == upper) {
            return i;
        }
    }
    return -1;
}

void StyleWindow::AddStyleName(const QString& name) {
    m_main.AddStyleName(name);
    m_ui.Combo5->addItem(name);
}

void StyleWindow::WarnNotWritten() {
    const std::string path = m_main.program().settings.AppDir + std::string(kSettingsName);
    m_main.services().messages->Warning(this, Q("Error writing " + path));
}

void StyleWindow::SaveStyle() {
    ApplyStyleFields();
    diagram::ui::Program& program = m_main.program();
    Style& style = program.style;
    platform::Messages& messages = *m_main.services().messages;
    // A font style draws its men itself; only a bitmap style needs a pieces file.
    if (style.PIECESFILE.empty() && !style.IsFontStyle()) {
        messages.Warning(this, QStringLiteral("There's no a valid pieces file!"));
        return;
    }
    if (!IsSavableStyleName(style.CurrentStyle)) {
        messages.Warning(this, QStringLiteral("There's no a valid style name!"));
        return;
    }
    const bool known = EditorIndexOf(style.CurrentStyle) >= 0;
    if (known && messages.Warning(this, Q(ReplaceQuestion(style.CurrentStyle)), platform::Buttons::kYesNo) ==
                     platform::Answer::kNo) {
        return;
    }
    settings::StyleWrite mode = settings::StyleWrite::kSave;
    if (!WriteStyle(style, program.settings, mode)) {
        WarnNotWritten();
        return;
    }
    // Listed only once it is in the file, so the lists never name a style
    // that is not there.
    if (!known) {
        AddStyleName(Q(style.CurrentStyle));
    }
    SetStatus(Q(style.CurrentStyle + " saved!"));
}

void StyleWindow::DeleteStyle() {
    const QString name = m_ui.Combo5->currentText();
    if (m_main.services().messages->Warning(this,
                                            QStringLiteral("Are you sure you want to delete %1?").arg(name),
                                            platform::Buttons::kYesNo) != platform::Answer::kYes) {
        return;
    }
    ApplyStyleFields();
    diagram::ui::Program& program = m_main.program();
    settings::StyleWrite mode = settings::StyleWrite::kDelete;
    if (!WriteStyle(program.style, program.settings, mode)) {
        WarnNotWritten();
        return;
    }
    const int index = EditorIndexOf(program.style.CurrentStyle);
    if (index >= 0) {
        m_ui.Combo5->removeItem(index);
        m_main.RemoveStyleName(index);
    }
    ShowStyleAfterDelete(index);
}

void StyleWindow::ShowStyleAfterDelete(int removedAt) {
    // The deleted style is gone from the file: the lists, the board and what
    // Cancel puts back turn to one that is there, the one that took its
    // place in the list (else the one before it); when the name deleted was
    // listed nowhere, the style the window opened with. Without one left,
    // the edits stay on the board under no name.
    diagram::ui::Program& program = m_main.program();
    const QStringList names = m_main.StyleNames();
    int next = std::min<int>(removedAt, static_cast<int>(names.size()) - 1);
    if (removedAt < 0) {
        next = std::max<int>(0, static_cast<int>(names.indexOf(Q(program.savedStyle.CurrentStyle), 0)));
    }
    if (names.isEmpty()) {
        program.style.CurrentStyle.clear();
        m_ui.Combo5->setEditText(QString());
    } else {
        m_main.ChooseStyle(names[next]);
        LoadStyleFields();
    }
    program.savedStyle = program.style;
    m_openPieces = m_main.renderer().pieces();
    m_openDictionary = program.settings.PyDictionaryText;
    m_openFen = m_main.Fen();
    // The name the next start-up reads is one that is there.
    settings::SaveRecent(program.style, program.settings);
    SetStatus(QLatin1String(kViewMode));
}

void StyleWindow::ImportStyles() {
    diagram::ui::WinSeek& seek = diagram::ui::WinSeek::Of(m_main);
    if (!seek.Seek(diagram::kSeekImportStyles) || seek.fileName().isEmpty()) {
        return;
    }
    m_ArqSty = S(seek.fileName());

    class WindowImportHost : public ImportHost {
      public:
        explicit WindowImportHost(StyleWindow& window) : m_window(window) {}
        void Status(const std::string& text) override { m_window.SetStatus(Q(text)); }
        bool HasStyle(const std::string& name) override { return m_window.EditorIndexOf(name) >= 0; }
        void AddStyle(const std::string& name) override { m_window.AddStyleName(Q(name)); }
        ImportAnswer Ask(const std::string& text, ImportButtons buttons) override {
            return ToAnswer(
                m_window.m_main.services().messages->Warning(&m_window, Q(text), ToButtons(buttons)));
        }

      private:
        StyleWindow& m_window;
    } host(*this);
    diagram::ui::Program& program = m_main.program();
    settings::ImportStyles(m_ArqSty, program.style, program.settings, host);
}

void StyleWindow::RestoreDefaults() {
    diagram::ui::Program& program = m_main.program();
    settings::RestoreDefaults(program.style, program.settings);
    // The defaults name no pieces file: the diagram goes back to the
    // program's own pieces, and the square sizes follow them.
    m_main.renderer().setPieces(diagram::Renderer().pieces());
    LoadStyleFields();
    m_ui.Command5->setEnabled(false);
    ToggleSizeLock();
    Preview();
}

void AttachStyleWindow(Host& host) {
    host.hooks().StyleWindow = [&host] { StyleWindow::Of(host).Run(); };
}

}  // namespace diagram::ui
