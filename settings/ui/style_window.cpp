#include "settings/ui/style_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "diagram/render/renderer.h"
#include "diagram/seek.h"
#include "diagram/ui/main_window.h"
#include "diagram/ui/picture_view.h"
#include "diagram/ui/style_list.h"
#include "diagram/ui/win_seek.h"
#include "settings/settings_file.h"
#include "settings/style_import.h"
#include "settings/ui/pick_color.h"
#include "settings/ui/style_controls.h"

namespace settings::ui {

namespace {

constexpr int kTwips = 15;
// Room the main window keeps beside and below its diagram, in twips.
constexpr int kSideMargin = 3285;
constexpr int kBottomMargin = 1335;
// Where the main window goes while the style window is open, in twips.
constexpr int kMainLeft = 2700;
// Scroll bar positions: the middle is the size the fields were loaded with,
// each step one pixel.
constexpr int kScrollMax = 400;
// How often the grid-offset suggestions are looked at, in milliseconds.
constexpr int kTimerInterval = 100;

constexpr const char* kViewMode = "View mode...";
// Colours of the "Picture: " label and fields in the two size states.
constexpr int32_t kAutomaticColor = 255;
constexpr int32_t kManualColor = 16711680;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

std::string S(const QString& text) {
    return text.toStdString();
}

void SetCue(QLabel* label, bool on) {
    label->setFrameStyle(on ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    label->setLineWidth(1);
}

void SetTextColor(QWidget* widget, int32_t bgr) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, ToColor(bgr));
    palette.setColor(QPalette::Text, ToColor(bgr));
    widget->setPalette(palette);
}

// An editable list whose typed text never becomes an entry.
QComboBox* EditableList(QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    return combo;
}

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

StyleWindow::StyleWindow(diagram::ui::MainWindow& main)
    : QDialog(&main, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_main(main) {
    setObjectName(QStringLiteral("StyleWindow"));
    setWindowTitle(QStringLiteral("Style"));
    setModal(true);
    BuildControls();
    BuildMenu();
    ConnectControls();
    FillStyleList();
}

StyleWindow& StyleWindow::Of(diagram::ui::MainWindow& main) {
    if (auto* found =
            main.findChild<StyleWindow*>(QStringLiteral("StyleWindow"), Qt::FindDirectChildrenOnly)) {
        return *found;
    }
    auto* window = new StyleWindow(main);
    main.RegisterWindow(diagram::ui::Secondary::kStyle, window);
    return *window;
}

void StyleWindow::BuildControls() {
    auto line = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        return edit;
    };
    auto small = [&](const char* name) {
        QLineEdit* edit = line(name);
        edit->setMaximumWidth(60);
        return edit;
    };
    auto list = [this](const char* name) {
        QComboBox* combo = EditableList(this);
        combo->setObjectName(QLatin1String(name));
        return combo;
    };
    auto check = [this](const char* name, const char* caption) {
        auto* box = new QCheckBox(QString::fromUtf8(caption), this);
        box->setObjectName(QLatin1String(name));
        return box;
    };
    auto colorBox = [this](const char* name) {
        auto* box = new ColorBox(this);
        box->setObjectName(QLatin1String(name));
        return box;
    };
    auto button = [this](const char* name, const char* caption) {
        auto* push = new QPushButton(QString::fromUtf8(caption), this);
        push->setObjectName(QLatin1String(name));
        // Enter in a field has its own meaning here; no button may take it.
        push->setAutoDefault(false);
        push->setDefault(false);
        return push;
    };
    auto caption = [this](const char* text, QWidget* buddy) {
        auto* label = new QLabel(QString::fromUtf8(text), this);
        label->setBuddy(buddy);
        return label;
    };
    auto pair = [](QWidget* a, QWidget* b, QWidget* c = nullptr) {
        auto* box = new QHBoxLayout;
        box->addWidget(a);
        box->addWidget(b);
        if (c != nullptr) {
            box->addWidget(c);
        }
        box->addStretch(1);
        return box;
    };

    m_ui.Combo5 = list("Combo5");
    m_ui.Text11 = line("Text11");
    m_ui.Text8 = line("Text8");
    m_ui.Text12 = line("Text12");
    m_ui.Text15 = line("Text15");
    m_ui.Text4 = line("Text4");
    m_ui.Text17 = line("Text17");
    m_ui.Text13 = small("Text13");
    m_ui.Text14 = small("Text14");
    m_ui.Text16 = small("Text16");
    m_ui.Text3 = small("Text3");
    m_ui.Check1 = check("Check1", "Copy counter");
    m_ui.Text1 = small("Text1");
    m_ui.Text2 = small("Text2");
    m_ui.Text5 = small("Text5");
    m_ui.Text6 = small("Text6");
    m_ui.Text7 = small("Text7");
    m_ui.Picture1 = colorBox("Picture1");
    m_ui.Picture2 = colorBox("Picture2");
    m_ui.Text9 = small("Text9");
    m_ui.Text10 = small("Text10");
    m_ui.Check2 = check("Check2", "Show grid");
    m_ui.Combo2 = list("Combo2");
    m_ui.Combo1 = list("Combo1");
    m_ui.Picture4 = colorBox("Picture4");
    m_ui.Combo3 = list("Combo3");
    m_ui.Combo4 = list("Combo4");
    m_ui.Check3 = check("Check3", "&Bold");
    m_ui.Check4 = check("Check4", "&Italic");
    m_ui.Check5 = check("Check5", "&Underline");
    m_ui.Check6 = check("Check6", "S&trikeout");
    m_ui.Check7 = check("Check7", "CA&PS");
    m_ui.Command1 = button("Command1", "O&k");
    m_ui.Command2 = button("Command2", "Pr&eView");
    m_ui.Command3 = button("Command3", "&Cancel");
    m_ui.Command5 = new QToolButton(this);
    m_ui.Command5->setObjectName(QStringLiteral("Command5"));
    m_ui.Command5->setIcon(QIcon(ResetPicture()));
    m_ui.Image9 = new ImageButton(LockPicture(false), this);
    m_ui.Image9->setObjectName(QStringLiteral("Image9"));
    m_ui.Image3 = new ImageButton(FolderPicture(), this);
    m_ui.Image3->setObjectName(QStringLiteral("Image3"));
    m_ui.Image4 = new ImageButton(FolderPicture(), this);
    m_ui.Image4->setObjectName(QStringLiteral("Image4"));
    m_ui.Image5 = new QLabel(this);
    m_ui.Image5->setObjectName(QStringLiteral("Image5"));
    m_ui.Image5->hide();
    m_ui.Image6 = new QLabel(this);
    m_ui.Image6->setObjectName(QStringLiteral("Image6"));
    m_ui.Image6->hide();
    m_ui.Label21 = new QLabel(this);
    m_ui.Label21->setObjectName(QStringLiteral("Label21"));
    m_ui.Label21->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_ui.HScroll1 = new QScrollBar(Qt::Horizontal, this);
    m_ui.HScroll1->setObjectName(QStringLiteral("HScroll1"));
    m_ui.VScroll1 = new QScrollBar(Qt::Vertical, this);
    m_ui.VScroll1->setObjectName(QStringLiteral("VScroll1"));
    for (QScrollBar* bar : {m_ui.HScroll1, m_ui.VScroll1}) {
        bar->setRange(0, kScrollMax);
        bar->setSingleStep(1);
        bar->setPageStep(10);
    }
    m_ui.VScroll1->setFixedHeight(60);
    m_ui.Timer1 = new QTimer(this);
    m_ui.Timer1->setObjectName(QStringLiteral("Timer1"));
    m_ui.Timer1->setInterval(kTimerInterval);

    for (int size = 6; size <= 24; size += 2) {
        m_ui.Combo1->addItem(QString::number(size));
    }
    QStringList fonts = QFontDatabase::families();
    fonts.sort(Qt::CaseInsensitive);
    m_ui.Combo2->addItems(fonts);
    m_ui.Combo3->addItem(QStringLiteral("4"));
    m_ui.Combo4->addItem(QStringLiteral("4"));

    auto* grid = new QGridLayout;
    int row = 0;
    auto wide = [&](const char* text, QWidget* field, QWidget* extra = nullptr) {
        grid->addWidget(caption(text, field), row, 0);
        if (extra == nullptr) {
            grid->addWidget(field, row, 1, 1, 4);
        } else {
            grid->addWidget(field, row, 1, 1, 3);
            grid->addWidget(extra, row, 4);
        }
        ++row;
    };
    wide("Style: ", m_ui.Combo5);
    wide("Pieces file: ", m_ui.Text11, m_ui.Image4);
    wide("Border File: ", m_ui.Text8, m_ui.Image3);
    wide("Pieces list: ", m_ui.Text12);
    wide("English notation: ", m_ui.Text15);
    wide("Start position: ", m_ui.Text4);
    wide("Popeye Dictionary:", m_ui.Text17);
    auto twoPairs = [&](const char* first, QLayout* a, const char* second, QLayout* b, QWidget* aBuddy,
                        QWidget* bBuddy) {
        grid->addWidget(caption(first, aBuddy), row, 0);
        grid->addLayout(a, row, 1);
        grid->addWidget(caption(second, bBuddy), row, 2);
        grid->addLayout(b, row, 3, 1, 2);
        ++row;
    };
    twoPairs("SqrBorder width: ", pair(m_ui.Text13, m_ui.Text14),
             "Sqr. space: ", pair(m_ui.Text16, m_ui.Text3), m_ui.Text13, m_ui.Text16);
    twoPairs("Board (squares): ", pair(m_ui.Text1, m_ui.Text2),
             "Board offset: ", pair(m_ui.Text5, m_ui.Text6), m_ui.Text1, m_ui.Text5);
    auto* colours = new QHBoxLayout;
    colours->addWidget(caption("Frame color: ", m_ui.Picture1));
    colours->addWidget(m_ui.Picture1);
    colours->addWidget(caption("Back color: ", m_ui.Picture2));
    colours->addWidget(m_ui.Picture2);
    colours->addStretch(1);
    grid->addWidget(caption("Frame width: ", m_ui.Text7), row, 0);
    grid->addWidget(m_ui.Text7, row, 1);
    grid->addLayout(colours, row, 2, 1, 3);
    ++row;
    auto* size = pair(m_ui.Text9, m_ui.Text10, m_ui.Image9);
    size->insertWidget(3, m_ui.Command5);
    auto* scrolls = new QHBoxLayout;
    scrolls->addWidget(m_ui.HScroll1, 1);
    scrolls->addWidget(m_ui.VScroll1);
    grid->addWidget(caption("Picture: ", m_ui.Text9), row, 0);
    grid->addLayout(size, row, 1);
    grid->addLayout(scrolls, row, 2, 1, 3);
    ++row;
    grid->addLayout(pair(m_ui.Check1, m_ui.Check2), row, 0, 1, 5);
    ++row;

    auto* lettering = new QGroupBox(this);
    auto* letters = new QGridLayout(lettering);
    letters->addWidget(m_ui.Combo2, 0, 0, 1, 4);
    letters->addWidget(caption("Size: ", m_ui.Combo1), 1, 0);
    letters->addWidget(m_ui.Combo1, 1, 1);
    letters->addWidget(caption("Co&lor", m_ui.Picture4), 1, 2);
    letters->addWidget(m_ui.Picture4, 1, 3);
    letters->addWidget(caption("Grid offset: ", m_ui.Combo3), 2, 0);
    letters->addLayout(pair(m_ui.Combo3, m_ui.Combo4), 2, 1, 1, 3);
    auto* styles = new QHBoxLayout;
    for (QCheckBox* box : {m_ui.Check3, m_ui.Check4, m_ui.Check5, m_ui.Check6, m_ui.Check7}) {
        styles->addWidget(box);
    }
    letters->addLayout(styles, 3, 0, 1, 4);
    auto alignFrame = [this](const char* title, std::array<QRadioButton*, 3>& options, const char* name,
                             std::array<const char*, 3> captions) {
        auto* frame = new QGroupBox(QString::fromUtf8(title), this);
        auto* box = new QVBoxLayout(frame);
        for (int i = 0; i < 3; ++i) {
            options[i] = new QRadioButton(QString::fromUtf8(captions[i]), frame);
            options[i]->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i));
            box->addWidget(options[i]);
        }
        options[0]->setChecked(true);
        return frame;
    };
    auto* frames = new QHBoxLayout;
    frames->addWidget(alignFrame("Vert. align", m_ui.Option1, "Option1", {"Up", "Middle", "Down"}));
    frames->addWidget(alignFrame("Horiz. align", m_ui.Option2, "Option2", {"Left", "Center", "Right"}));
    letters->addLayout(frames, 4, 0, 1, 4);
    grid->addWidget(lettering, row, 0, 1, 5);
    ++row;

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ui.Command1);
    buttons->addWidget(m_ui.Command2);
    buttons->addWidget(m_ui.Command3);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addLayout(buttons);
    outer->addWidget(m_ui.Label21);
}

void StyleWindow::BuildMenu() {
    m_ui.menuBar = new QMenuBar(this);
    m_ui.menuBar->setObjectName(QStringLiteral("menuBar"));
    QMenu* file = m_ui.menuBar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("MNF10"));
    auto item = [this, file](const char* name, const char* text, void (StyleWindow::*slot)()) {
        QAction* action = file->addAction(QString::fromUtf8(text));
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, slot);
    };
    item("MNF10save", "&Save style", &StyleWindow::SaveStyle);
    item("MNF10del", "&Delete style", &StyleWindow::DeleteStyle);
    item("MNF10import", "&Import styles", &StyleWindow::ImportStyles);
    item("MNF10restor", "&Restor defaults", &StyleWindow::RestoreDefaults);
    file->addSeparator();
    QAction* exit = file->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("MNF10exit"));
    connect(exit, &QAction::triggered, this, &StyleWindow::reject);
    layout()->setMenuBar(m_ui.menuBar);
}

QAction* StyleWindow::action(const QString& name) const {
    return m_ui.menuBar->findChild<QAction*>(name);
}

QLabel* StyleWindow::label(const QString& caption) const {
    for (QLabel* found : findChildren<QLabel*>()) {
        if (found->text() == caption) {
            return found;
        }
    }
    return nullptr;
}

void StyleWindow::ConnectControls() {
    auto preview = [this] { Preview(); };
    // Enter previews in the size and offset fields.
    for (QLineEdit* edit : {m_ui.Text1, m_ui.Text2, m_ui.Text3, m_ui.Text5, m_ui.Text6, m_ui.Text7,
                            m_ui.Text9, m_ui.Text10, m_ui.Text13, m_ui.Text14, m_ui.Text16}) {
        connect(edit, &QLineEdit::returnPressed, this, preview);
    }
    for (QComboBox* combo : {m_ui.Combo1, m_ui.Combo3, m_ui.Combo4}) {
        connect(combo->lineEdit(), &QLineEdit::returnPressed, this, preview);
    }
    for (QComboBox* combo : {m_ui.Combo1, m_ui.Combo2, m_ui.Combo3, m_ui.Combo4}) {
        connect(combo, &QComboBox::activated, this, preview);
    }
    for (QCheckBox* box : {m_ui.Check3, m_ui.Check4, m_ui.Check5, m_ui.Check6, m_ui.Check7}) {
        connect(box, &QCheckBox::clicked, this, preview);
    }
    for (auto* options : {&m_ui.Option1, &m_ui.Option2}) {
        for (QRadioButton* option : *options) {
            connect(option, &QRadioButton::clicked, this, preview);
        }
    }
    // Any change of the board's layout lets a manually sized picture follow it.
    for (QLineEdit* edit : {m_ui.Text1, m_ui.Text2, m_ui.Text3, m_ui.Text5, m_ui.Text6, m_ui.Text7,
                            m_ui.Text12, m_ui.Text13, m_ui.Text14, m_ui.Text16}) {
        connect(edit, &QLineEdit::textEdited, this, [this] { ResetPictureSize(); });
    }
    connect(m_ui.Text11, &QLineEdit::returnPressed, this, [this] { PiecesFileEntered(); });
    connect(m_ui.Text8, &QLineEdit::returnPressed, this, [this] { BorderFileEntered(); });
    connect(m_ui.Image3, &ImageButton::clicked, this,
            [this] { Browse(diagram::kSeekLoadBoard, m_ui.Text8); });
    connect(m_ui.Image4, &ImageButton::clicked, this,
            [this] { Browse(diagram::kSeekLoadPieces, m_ui.Text11); });
    for (ColorBox* box : {m_ui.Picture1, m_ui.Picture2, m_ui.Picture4}) {
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

    // Focus marks on the labels.
    const std::pair<QWidget*, const char*> marks[] = {
        {m_ui.Text1, "Board (squares): "},
        {m_ui.Text2, "Board (squares): "},
        {m_ui.Text5, "Board offset: "},
        {m_ui.Text6, "Board offset: "},
        {m_ui.Text7, "Frame width: "},
        {m_ui.Text9, "Picture: "},
        {m_ui.Text10, "Picture: "},
        {m_ui.Text8, "Border File: "},
        {m_ui.Text11, "Pieces file: "},
        {m_ui.Text12, "Pieces list: "},
        {m_ui.Text13, "SqrBorder width: "},
        {m_ui.Text14, "SqrBorder width: "},
        {m_ui.Text15, "English notation: "},
        {m_ui.Text16, "Sqr. space: "},
        {m_ui.Text3, "Sqr. space: "},
        {m_ui.Text4, "Start position: "},
        {m_ui.Text17, "Popeye Dictionary:"},
        {m_ui.Combo1, "Size: "},
        {m_ui.Combo3, "Grid offset: "},
        {m_ui.Combo4, "Grid offset: "},
        {m_ui.Combo5, "Style: "},
    };
    for (const auto& [field, text] : marks) {
        field->setProperty("focusLabel", QString::fromUtf8(text));
        field->installEventFilter(this);
    }
    const std::pair<ColorBox*, const char*> boxes[] = {
        {m_ui.Picture1, "Frame color: "}, {m_ui.Picture2, "Back color: "}, {m_ui.Picture4, "Co&lor"}};
    for (const auto& [box, text] : boxes) {
        QLabel* mark = label(QString::fromUtf8(text));
        connect(box, &ColorBox::focusChanged, this, [mark](bool in) { SetCue(mark, in); });
    }
}

bool StyleWindow::eventFilter(QObject* watched, QEvent* event) {
    const bool in = event->type() == QEvent::FocusIn;
    const bool out = event->type() == QEvent::FocusOut;
    // A drop-down list opening takes the focus only for a moment.
    if ((in || out) && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        if (QLabel* mark = label(watched->property("focusLabel").toString())) {
            SetCue(mark, in);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void StyleWindow::FillStyleList() {
    // Entry i here is entry i + 1 of the main window's list ("CUSTOM" first).
    const QString text = m_ui.Combo5->currentText();
    m_ui.Combo5->clear();
    const diagram::ui::StyleList* names = m_main.Combo1();
    for (int i = 1; i < names->count(); ++i) {
        m_ui.Combo5->addItem(names->itemText(i));
    }
    m_ui.Combo5->setEditText(text);
}

void StyleWindow::Run() {
    m_committed = false;
    m_openPieces = m_main.renderer().pieces();
    m_openDictionary = m_main.program().settings.PyDictionaryText;
    exec();
    if (!m_committed) {
        // The style record goes back by the Style command; what the previews
        // changed beside it goes back here.
        m_main.renderer().setPieces(m_openPieces);
        m_main.program().settings.PyDictionaryText = m_openDictionary;
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
    move(0, 0);
    if (m_main.windowState() == Qt::WindowNoState) {
        m_main.move(kMainLeft / kTwips, 0);
    }
    SetManualSize(false);
    FillStyleList();
    LoadStyleFields();
    SetStatus(QLatin1String(kViewMode));
    m_DisableGrid = false;
    m_ui.Timer1->start();
}

void StyleWindow::SetStatus(const QString& text) {
    m_ui.Label21->setText(text);
    m_ui.Label21->repaint();
}

QString StyleWindow::status() const {
    return m_ui.Label21->text();
}

bool StyleWindow::ManualSize() const {
    return m_ui.Command5->isEnabled();
}

void StyleWindow::SetManualSize(bool manual) {
    m_ui.Command5->setEnabled(manual);
    m_ui.Image9->setPixmap(LockPicture(manual));
    const int32_t color = manual ? kManualColor : kAutomaticColor;
    for (QWidget* widget : {static_cast<QWidget*>(label(QStringLiteral("Picture: "))),
                            static_cast<QWidget*>(m_ui.Text9), static_cast<QWidget*>(m_ui.Text10)}) {
        SetTextColor(widget, color);
    }
}

void StyleWindow::ToggleSizeLock() {
    SetManualSize(!ManualSize());
}

void StyleWindow::ResetPictureSize() {
    if (ManualSize()) {
        m_ui.Text9->setText(QStringLiteral("0"));
        m_ui.Text10->setText(QStringLiteral("0"));
    }
}

StyleFields StyleWindow::ReadFields() const {
    StyleFields f;
    f.Combo5 = S(m_ui.Combo5->currentText());
    f.Text11 = S(m_ui.Text11->text());
    f.Text8 = S(m_ui.Text8->text());
    f.Text12 = S(m_ui.Text12->text());
    f.Text15 = S(m_ui.Text15->text());
    f.Text4 = S(m_ui.Text4->text());
    f.Text17 = S(m_ui.Text17->text());
    f.Text13 = S(m_ui.Text13->text());
    f.Text14 = S(m_ui.Text14->text());
    f.Text16 = S(m_ui.Text16->text());
    f.Text3 = S(m_ui.Text3->text());
    f.Check1 = m_ui.Check1->isChecked();
    f.Text1 = S(m_ui.Text1->text());
    f.Text2 = S(m_ui.Text2->text());
    f.Text5 = S(m_ui.Text5->text());
    f.Text6 = S(m_ui.Text6->text());
    f.Text7 = S(m_ui.Text7->text());
    f.Picture1 = m_ui.Picture1->color();
    f.Picture2 = m_ui.Picture2->color();
    f.Text9 = S(m_ui.Text9->text());
    f.Text10 = S(m_ui.Text10->text());
    f.Check2 = m_ui.Check2->isChecked();
    f.Combo2 = S(m_ui.Combo2->currentText());
    f.Combo1 = S(m_ui.Combo1->currentText());
    f.Picture4 = m_ui.Picture4->color();
    f.Combo3 = S(m_ui.Combo3->currentText());
    f.Combo4 = S(m_ui.Combo4->currentText());
    f.Check3 = m_ui.Check3->isChecked();
    f.Check4 = m_ui.Check4->isChecked();
    f.Check5 = m_ui.Check5->isChecked();
    f.Check6 = m_ui.Check6->isChecked();
    f.Check7 = m_ui.Check7->isChecked();
    for (int i = 0; i < 3; ++i) {
        if (m_ui.Option1[i]->isChecked()) {
            f.Option1 = i;
        }
        if (m_ui.Option2[i]->isChecked()) {
            f.Option2 = i;
        }
    }
    return f;
}

void StyleWindow::ShowFields(const StyleFields& f) {
    const int listed = EditorIndexOf(f.Combo5);
    if (listed >= 0) {
        m_ui.Combo5->setCurrentIndex(listed);
    }
    m_ui.Combo5->setEditText(Q(f.Combo5));
    m_ui.Text11->setText(Q(f.Text11));
    m_ui.Text8->setText(Q(f.Text8));
    m_ui.Text12->setText(Q(f.Text12));
    m_ui.Text15->setText(Q(f.Text15));
    m_ui.Text4->setText(Q(f.Text4));
    m_ui.Text17->setText(Q(f.Text17));
    m_ui.Text13->setText(Q(f.Text13));
    m_ui.Text14->setText(Q(f.Text14));
    m_ui.Text16->setText(Q(f.Text16));
    m_ui.Text3->setText(Q(f.Text3));
    m_ui.Check1->setChecked(f.Check1);
    m_ui.Text1->setText(Q(f.Text1));
    m_ui.Text2->setText(Q(f.Text2));
    m_ui.Text5->setText(Q(f.Text5));
    m_ui.Text6->setText(Q(f.Text6));
    m_ui.Text7->setText(Q(f.Text7));
    m_ui.Picture1->setColor(f.Picture1);
    m_ui.Picture2->setColor(f.Picture2);
    m_ui.Text9->setText(Q(f.Text9));
    m_ui.Text10->setText(Q(f.Text10));
    m_ui.Check2->setChecked(f.Check2);
    m_ui.Combo2->setEditText(Q(f.Combo2));
    m_ui.Combo1->setEditText(Q(f.Combo1));
    m_ui.Picture4->setColor(f.Picture4);
    m_ui.Combo3->setEditText(Q(f.Combo3));
    m_ui.Combo4->setEditText(Q(f.Combo4));
    m_ui.Check3->setChecked(f.Check3);
    m_ui.Check4->setChecked(f.Check4);
    m_ui.Check5->setChecked(f.Check5);
    m_ui.Check6->setChecked(f.Check6);
    m_ui.Check7->setChecked(f.Check7);
    m_ui.Option1[static_cast<size_t>(f.Option1)]->setChecked(true);
    m_ui.Option2[static_cast<size_t>(f.Option2)]->setChecked(true);
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
        pending = 0;
    };
    suggest(m_ui.Combo3, m_vCombo3);
    suggest(m_ui.Combo4, m_vCombo4);
}

void StyleWindow::ApplyStyleFields() {
    app::Program& program = m_main.program();
    settings::ApplyStyleFields(ReadFields(), BitmapTwips(m_pieces.width(), m_pieces.height()), program.style);
    const auto& base = m_main.hooks().PyDictionaryBase;
    program.settings.PyDictionaryText = (base ? base() : std::string()) + program.style.PYDICTIONARY;
}

void StyleWindow::Preview() {
    if (m_DisableEvent) {
        return;
    }
    ApplyStyleFields();
    m_main.Redraw();
    LoadStyleFields();
    SetStatus(QLatin1String(kViewMode));
}

void StyleWindow::OkClicked() {
    ApplyStyleFields();
    m_main.program().savedStyle = m_main.program().style;
    m_committed = true;
    accept();
}

void StyleWindow::StyleChosen(int index) {
    diagram::ui::StyleList* names = m_main.Combo1();
    if (index < 0 || index + 1 >= names->count()) {
        return;
    }
    names->setCurrentIndex(index + 1);
    m_main.ChooseStyle(names->itemText(index + 1));
    LoadStyleFields();
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
    const int32_t color = PickColor(m_main, box->color(), box);
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
    if (ManualSize()) {
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

void StyleWindow::HScrolled(int value) {
    if (m_hScroll == 0) {
        return;
    }
    const int width = static_cast<int>(std::lround(m_hScroll + (value - kScrollMax / 2.0) * kTwips));
    m_main.PicMain()->setFixedWidth(std::max(1, width / kTwips));
    m_ui.Text10->setText(Q(PixelText(width)));
    if (width + kSideMargin >= m_main.width() * kTwips) {
        m_main.resize((width + kSideMargin) / kTwips, m_main.height());
    }
}

void StyleWindow::VScrolled(int value) {
    if (m_vScroll == 0) {
        return;
    }
    const int height = static_cast<int>(std::lround(m_vScroll + (value - kScrollMax / 2.0) * kTwips));
    m_main.PicMain()->setFixedHeight(std::max(1, height / kTwips));
    m_ui.Text9->setText(Q(PixelText(height)));
    if (height + kBottomMargin >= m_main.height() * kTwips) {
        m_main.resize(m_main.width(), (height + kBottomMargin) / kTwips);
    }
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
    m_main.Combo1()->addItem(name);
    m_ui.Combo5->addItem(name);
}

void StyleWindow::WarnNotWritten() {
    const std::string path = m_main.program().settings.AppDir + std::string(kSettingsName);
    m_main.services().messages->Warning(this, Q("Error writing " + path));
}

void StyleWindow::SaveStyle() {
    ApplyStyleFields();
    app::Program& program = m_main.program();
    Style& style = program.style;
    platform::Messages& messages = *m_main.services().messages;
    if (style.PIECESFILE.empty()) {
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
    int mode = 1;
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
    app::Program& program = m_main.program();
    int mode = 0;
    if (!WriteStyle(program.style, program.settings, mode)) {
        WarnNotWritten();
        return;
    }
    const int index = EditorIndexOf(program.style.CurrentStyle);
    if (index >= 0) {
        m_ui.Combo5->removeItem(index);
        m_main.Combo1()->removeItem(index + 1);
        m_ui.Combo5->setEditText(name);
    }
}

void StyleWindow::ImportStyles() {
    diagram::ui::WinSeek& seek = diagram::ui::WinSeek::Of(m_main);
    if (!seek.Seek(diagram::kSeekImportStyles) || seek.fileName().isEmpty()) {
        return;
    }
    m_ArqSty = S(seek.fileName());

    class Host : public ImportHost {
      public:
        explicit Host(StyleWindow& window) : m_window(window) {}
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
    app::Program& program = m_main.program();
    settings::ImportStyles(m_ArqSty, program.style, program.settings, host);
}

void StyleWindow::RestoreDefaults() {
    app::Program& program = m_main.program();
    settings::RestoreDefaults(program.style, program.settings);
    // The defaults name no pieces file: the diagram goes back to the
    // program's own pieces, and the square sizes follow them.
    m_main.renderer().setPieces(diagram::Renderer().pieces());
    LoadStyleFields();
    m_ui.Command5->setEnabled(false);
    ToggleSizeLock();
    Preview();
}

void Attach(diagram::ui::MainWindow& main) {
    main.hooks().StyleWindow = [&main] { StyleWindow::Of(main).Run(); };
}

}  // namespace settings::ui
