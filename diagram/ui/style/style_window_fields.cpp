// The style window's controls, made from the table of its input fields:
// the controls and their layout, the labels and focus marks, reading and
// showing the fields, and the events that preview.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <map>

#include "diagram/ui/style/style_controls.h"
#include "diagram/ui/style/style_window.h"
#include "platform/ui/strings.h"

namespace diagram::ui {

namespace {

using platform::Q;
using platform::S;
using settings::ControlKind;
using settings::StyleFieldRow;

// Scroll bar positions: the middle is the size the fields were loaded with,
// each step one pixel.
constexpr int kScrollMax = 400;
// How often the grid-offset suggestions are looked at, in milliseconds.
constexpr int kTimerInterval = 100;
// Widest number a narrow field or list must show unclipped, in characters.
constexpr int kNumberChars = 5;

// An editable list whose typed text never becomes an entry.
QComboBox* EditableList(QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    return combo;
}

// The marks that tell the two fields of a pair apart, and their tips.
struct PairTag {
    const char* tag;
    const char* tip;
};
const std::map<QString, PairTag> kPairTags{
    {QStringLiteral("Text20"), {"w", "Square width in pixels"}},
    {QStringLiteral("Text19"), {"h", "Square height in pixels"}},
    {QStringLiteral("Text14"),
     {"x", "Width of the grid lines between the columns of the pieces bitmap, in pixels"}},
    {QStringLiteral("Text13"),
     {"y", "Height of the grid lines between the rows of the pieces bitmap, in pixels"}},
    {QStringLiteral("Text16"), {"x", "Gap between columns of squares, in pixels"}},
    {QStringLiteral("Text3"), {"y", "Gap between rows of squares, in pixels"}},
    {QStringLiteral("Text2"), {"cols", "Columns (files)"}},
    {QStringLiteral("Text1"), {"rows", "Rows (ranks)"}},
    {QStringLiteral("Text6"), {"x", "Left edge of the board in the picture, in pixels"}},
    {QStringLiteral("Text5"), {"y", "Top edge of the board in the picture, in pixels"}},
    {QStringLiteral("Text10"), {"w", "Picture width in pixels"}},
    {QStringLiteral("Text9"), {"h", "Picture height in pixels"}},
    {QStringLiteral("Combo4"), {"x", "Left edge of the rank numbers, in pixels"}},
    {QStringLiteral("Combo3"), {"y", "Top edge of the file letters, in pixels"}},
};

bool HasOwnCaption(ControlKind kind) {
    return kind == ControlKind::kCheck || kind == ControlKind::kChoice;
}

}  // namespace

void SetFocusCue(QLabel* label, bool on) {
    // The label keeps the frame's room while it has none, so nothing moves
    // when the mark comes and goes.
    label->setLineWidth(1);
    // A framed label would otherwise indent its text by half an "x".
    label->setIndent(0);
    label->setFrameStyle(on ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    label->setMargin(on ? 0 : 1);
}

QWidget* StyleWindow::MakeField(const StyleFieldRow& row) {
    const QString name = QLatin1String(row.control);
    QWidget* made = nullptr;
    switch (row.kind) {
        case ControlKind::kText:
        case ControlKind::kNumber: {
            auto* edit = new QLineEdit(this);
            if (row.kind == ControlKind::kNumber) {
                const int chars =
                    edit->fontMetrics().horizontalAdvance(QString(kNumberChars, QLatin1Char('0')));
                edit->setMaximumWidth(std::max(60, chars + 12));
            }
            made = edit;
            break;
        }
        case ControlKind::kList:
        case ControlKind::kNumberList: {
            QComboBox* combo = EditableList(this);
            if (row.kind == ControlKind::kNumberList) {
                combo->setMinimumContentsLength(kNumberChars);
                combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            }
            made = combo;
            break;
        }
        case ControlKind::kCheck:
            made = new QCheckBox(QString::fromUtf8(row.caption), this);
            break;
        case ControlKind::kColor:
            made = new ColorBox(this);
            break;
        case ControlKind::kChoice: {
            auto* frame = new QGroupBox(QString::fromUtf8(row.caption), this);
            auto* box = new QVBoxLayout(frame);
            const bool vertical = name == QLatin1String("Option1");
            auto& options = vertical ? m_ui.Option1 : m_ui.Option2;
            const std::array<const char*, 3> captions =
                vertical ? std::array<const char*, 3>{"Up", "Middle", "Down"}
                         : std::array<const char*, 3>{"Left", "Center", "Right"};
            for (size_t i = 0; i < options.size(); ++i) {
                options[i] = new QRadioButton(QString::fromUtf8(captions[i]), frame);
                options[i]->setObjectName(QStringLiteral("%1_%2").arg(name).arg(i));
                box->addWidget(options[i]);
            }
            options[0]->setChecked(true);
            m_fields[name] = frame;
            return frame;
        }
    }
    made->setObjectName(name);
    m_fields[name] = made;
    return made;
}

template <typename T>
T* StyleWindow::Field(const char* control) const {
    return qobject_cast<T*>(m_fields.value(QLatin1String(control)));
}

void StyleWindow::BuildControls() {
    auto button = [this](const char* name, const char* caption) {
        auto* push = new QPushButton(QString::fromUtf8(caption), this);
        push->setObjectName(QLatin1String(name));
        // Enter in a field has its own meaning here; no button may take it.
        push->setAutoDefault(false);
        push->setDefault(false);
        return push;
    };
    auto image = [this](const char* name, const QPixmap& picture) {
        auto* made = new ImageButton(picture, this);
        made->setObjectName(QLatin1String(name));
        return made;
    };
    m_ui.Command1 = button("Command1", "O&k");
    m_ui.Command2 = button("Command2", "Pr&eView");
    m_ui.Command3 = button("Command3", "&Cancel");
    m_ui.Command5 = new QToolButton(this);
    m_ui.Command5->setObjectName(QStringLiteral("Command5"));
    m_ui.Command5->setIcon(QIcon(ResetPicture()));
    m_ui.Image9 = image("Image9", LockPicture(true));
    m_ui.Image3 = image("Image3", FolderPicture());
    m_ui.Image4 = image("Image4", FolderPicture());
    for (QLabel** hidden : {&m_ui.Image5, &m_ui.Image6}) {
        *hidden = new QLabel(this);
        (*hidden)->hide();
    }
    m_ui.Image5->setObjectName(QStringLiteral("Image5"));
    m_ui.Image6->setObjectName(QStringLiteral("Image6"));
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

    m_ui.Command5->setToolTip(QStringLiteral("Fit the picture to the board now"));

    // What stands after a field on its line.
    const std::map<QString, std::vector<QWidget*>> after{
        {QStringLiteral("Text11"), {m_ui.Image4}},
        {QStringLiteral("Text8"), {m_ui.Image3}},
        {QStringLiteral("Text9"), {m_ui.Image9, m_ui.Command5}},
    };

    auto* lettering = new QGroupBox(this);
    auto* mainGrid = new QGridLayout;
    auto* letterGrid = new QGridLayout(lettering);
    // One line of a panel: its first label in the grid's first column, the
    // rest side by side after it.
    struct Line {
        QHBoxLayout* rest = nullptr;
        QLabel* label = nullptr;  ///< The last label on the line.
        QString caption;          ///< Its caption.
        bool stretchy = false;    ///< Holds a field that takes the spare width.
    };
    std::map<std::pair<int, int>, Line> lines;
    for (const StyleFieldRow& row : settings::StyleFieldTable()) {
        QWidget* field = MakeField(row);
        QGridLayout* grid = row.panel == settings::FieldPanel::kMain ? mainGrid : letterGrid;
        Line& line = lines[{static_cast<int>(row.panel), row.line}];
        const bool captioned = !HasOwnCaption(row.kind) && row.caption[0] != '\0';
        const QString caption = captioned ? QString::fromUtf8(row.caption) : QString();
        // Fields side by side under one caption share its label.
        QLabel* label = captioned && line.label != nullptr && line.caption == caption ? line.label : nullptr;
        if (line.rest == nullptr) {
            line.rest = new QHBoxLayout;
            if (captioned) {
                label = new QLabel(caption, this);
                grid->addWidget(label, row.line, 0);
                grid->addLayout(line.rest, row.line, 1);
            } else {
                grid->addLayout(line.rest, row.line, 0, 1, 2);
            }
        } else if (captioned && label == nullptr) {
            label = new QLabel(caption, this);
            line.rest->addWidget(label);
        }
        if (label != nullptr) {
            SetFocusCue(label, false);
            label->setBuddy(field);
            line.label = label;
            line.caption = caption;
            m_labels[QLatin1String(row.control)] = label;
        }
        if (const auto tag = kPairTags.find(QLatin1String(row.control)); tag != kPairTags.end()) {
            // Which of a pair is which: width before height, x before y.
            auto* mark = new QLabel(QLatin1String(tag->second.tag), this);
            mark->setObjectName(QLatin1String(row.control) + QStringLiteral("Tag"));
            mark->setBuddy(field);
            line.rest->addWidget(mark);
            field->setToolTip(QLatin1String(tag->second.tip));
        }
        const bool wide = row.kind == ControlKind::kText || row.kind == ControlKind::kList;
        line.rest->addWidget(field, wide ? 1 : 0);
        line.stretchy = line.stretchy || wide;
        if (auto extra = after.find(QLatin1String(row.control)); extra != after.end()) {
            for (QWidget* widget : extra->second) {
                line.rest->addWidget(widget);
            }
        }
        if (QLatin1String(row.control) == QLatin1String("Text9")) {
            line.rest->addWidget(m_ui.HScroll1, 1);
            line.rest->addWidget(m_ui.VScroll1);
            line.stretchy = true;
        }
    }
    for (const auto& [at, line] : lines) {
        if (!line.stretchy) {
            line.rest->addStretch(1);
        }
    }
    mainGrid->addWidget(lettering, mainGrid->rowCount(), 0, 1, 2);

    NameControls();
    for (int size = 6; size <= 24; size += 2) {
        m_ui.Combo1->addItem(QString::number(size));
    }
    QStringList fonts = QFontDatabase::families();
    fonts.sort(Qt::CaseInsensitive);
    m_ui.Combo2->addItems(fonts);
    m_ui.Combo6->addItems(fonts);
    m_ui.Combo3->addItem(QStringLiteral("4"));
    m_ui.Combo4->addItem(QStringLiteral("4"));
    for (QComboBox* list : {m_ui.Combo1, m_ui.Combo3, m_ui.Combo4}) {
        FitToItems(list, kNumberChars);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ui.Command1);
    buttons->addWidget(m_ui.Command2);
    buttons->addWidget(m_ui.Command3);

    // The fields scroll when the screen is too small for them; the buttons
    // and the status line below them stay in sight.
    auto* fields = new QWidget;
    fields->setObjectName(QStringLiteral("Fields"));
    fields->setLayout(mainGrid);
    m_ui.fieldsArea = new QScrollArea(this);
    m_ui.fieldsArea->setObjectName(QStringLiteral("FieldsArea"));
    m_ui.fieldsArea->setFrameShape(QFrame::NoFrame);
    // The keyboard goes from field to field; the area scrolls to show them.
    m_ui.fieldsArea->setFocusPolicy(Qt::NoFocus);
    m_ui.fieldsArea->setWidgetResizable(true);
    m_ui.fieldsArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_ui.fieldsArea->setWidget(fields);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(m_ui.fieldsArea, 1);
    outer->addLayout(buttons);
    outer->addWidget(m_ui.Label21);
    SetTabOrder();
}

void StyleWindow::SetTabOrder() {
    // Reading order: the fields line by line as the table lays them out, the
    // picture's reset button after its fields, then the buttons.
    std::vector<QWidget*> chain;
    for (const StyleFieldRow& row : settings::StyleFieldTable()) {
        QWidget* field = m_fields.value(QLatin1String(row.control));
        if (row.kind == ControlKind::kChoice) {
            for (QRadioButton* option : field->findChildren<QRadioButton*>()) {
                chain.push_back(option);
            }
        } else {
            chain.push_back(field);
        }
        if (QLatin1String(row.control) == QLatin1String("Text9")) {
            chain.push_back(m_ui.Command5);
        }
    }
    for (QWidget* button : {m_ui.Command1, m_ui.Command2, m_ui.Command3}) {
        chain.push_back(button);
    }
    for (size_t i = 1; i < chain.size(); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }
}

bool StyleWindow::FontStyleShown() const {
    return !m_ui.Combo6->currentText().trimmed().isEmpty();
}

void StyleWindow::SizeToScreen() {
    // All the fields without scrolling where the screen has room for them;
    // PlaceBeside makes the window smaller on a smaller screen.
    QWidget* fields = m_ui.fieldsArea->widget();
    const int bar = m_ui.fieldsArea->verticalScrollBar()->sizeHint().width();
    m_ui.fieldsArea->setMinimumWidth(fields->minimumSizeHint().width() + bar);
    const QSize whole = sizeHint();
    const int extra = fields->sizeHint().height() - m_ui.fieldsArea->sizeHint().height();
    resize(whole.width(), whole.height() + std::max(0, extra));
}

void StyleWindow::NameControls() {
    m_ui.Combo5 = Field<QComboBox>("Combo5");
    m_ui.Text11 = Field<QLineEdit>("Text11");
    m_ui.Combo6 = Field<QComboBox>("Combo6");
    m_ui.Text19 = Field<QLineEdit>("Text19");
    m_ui.Text20 = Field<QLineEdit>("Text20");
    m_ui.Picture5 = Field<ColorBox>("Picture5");
    m_ui.Picture6 = Field<ColorBox>("Picture6");
    m_ui.Check8 = Field<QCheckBox>("Check8");
    m_ui.Text18 = Field<QLineEdit>("Text18");
    m_ui.Text8 = Field<QLineEdit>("Text8");
    m_ui.Text12 = Field<QLineEdit>("Text12");
    m_ui.Text15 = Field<QLineEdit>("Text15");
    m_ui.Text4 = Field<QLineEdit>("Text4");
    m_ui.Text17 = Field<QLineEdit>("Text17");
    m_ui.Text13 = Field<QLineEdit>("Text13");
    m_ui.Text14 = Field<QLineEdit>("Text14");
    m_ui.Text16 = Field<QLineEdit>("Text16");
    m_ui.Text3 = Field<QLineEdit>("Text3");
    m_ui.Check1 = Field<QCheckBox>("Check1");
    m_ui.Text1 = Field<QLineEdit>("Text1");
    m_ui.Text2 = Field<QLineEdit>("Text2");
    m_ui.Text5 = Field<QLineEdit>("Text5");
    m_ui.Text6 = Field<QLineEdit>("Text6");
    m_ui.Text7 = Field<QLineEdit>("Text7");
    m_ui.Picture1 = Field<ColorBox>("Picture1");
    m_ui.Picture2 = Field<ColorBox>("Picture2");
    m_ui.Text9 = Field<QLineEdit>("Text9");
    m_ui.Text10 = Field<QLineEdit>("Text10");
    m_ui.Check2 = Field<QCheckBox>("Check2");
    m_ui.Combo2 = Field<QComboBox>("Combo2");
    m_ui.Combo1 = Field<QComboBox>("Combo1");
    m_ui.Picture4 = Field<ColorBox>("Picture4");
    m_ui.Combo3 = Field<QComboBox>("Combo3");
    m_ui.Combo4 = Field<QComboBox>("Combo4");
    m_ui.Check3 = Field<QCheckBox>("Check3");
    m_ui.Check4 = Field<QCheckBox>("Check4");
    m_ui.Check5 = Field<QCheckBox>("Check5");
    m_ui.Check6 = Field<QCheckBox>("Check6");
    m_ui.Check7 = Field<QCheckBox>("Check7");
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

QLabel* StyleWindow::label(const QString& control) const {
    return m_labels.value(control);
}

void StyleWindow::ConnectFields() {
    m_ui.Combo5->lineEdit()->installEventFilter(this);
    connect(m_ui.Combo6, &QComboBox::editTextChanged, this, [this] { ShowFontStyleState(); });
    auto preview = [this] { Preview(); };
    for (const StyleFieldRow& row : settings::StyleFieldTable()) {
        QWidget* field = m_fields.value(QLatin1String(row.control));
        auto* edit = qobject_cast<QLineEdit*>(field);
        auto* combo = qobject_cast<QComboBox*>(field);
        if (combo != nullptr) {
            edit = combo->lineEdit();
        }
        if ((row.events & settings::kEnterPreviews) != 0 && edit != nullptr) {
            connect(edit, &QLineEdit::returnPressed, this, preview);
        }
        if ((row.events & settings::kEditResetsSize) != 0 && edit != nullptr) {
            // Any change of the board's layout lets a manually sized picture follow it.
            connect(edit, &QLineEdit::textEdited, this, [this] { ResetPictureSize(); });
        }
        if ((row.events & settings::kChoosePreviews) != 0) {
            if (combo != nullptr) {
                connect(combo, &QComboBox::activated, this, preview);
            } else if (auto* box = qobject_cast<QCheckBox*>(field)) {
                connect(box, &QCheckBox::clicked, this, preview);
            } else if (row.kind == ControlKind::kChoice) {
                for (QRadioButton* option : field->findChildren<QRadioButton*>()) {
                    connect(option, &QRadioButton::clicked, this, preview);
                }
            }
        }
        // Focus marks on the labels.
        if (QLabel* mark = m_labels.value(QLatin1String(row.control))) {
            if (auto* box = qobject_cast<ColorBox*>(field)) {
                connect(box, &ColorBox::focusChanged, this, [mark](bool in) { SetFocusCue(mark, in); });
            } else {
                field->installEventFilter(this);
            }
        }
    }
}

bool StyleWindow::eventFilter(QObject* watched, QEvent* event) {
    // Enter in the name box would load the style of that name over the
    // unsaved edits; only choosing from the list loads one.
    if ((watched == m_ui.Combo5 || watched == m_ui.Combo5->lineEdit()) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            return true;
        }
    }
    const bool in = event->type() == QEvent::FocusIn;
    const bool out = event->type() == QEvent::FocusOut;
    // A drop-down list opening takes the focus only for a moment.
    if ((in || out) && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        if (QLabel* mark = m_labels.value(watched->objectName())) {
            SetFocusCue(mark, in);
        }
    }
    return QDialog::eventFilter(watched, event);
}

settings::StyleFields StyleWindow::ReadFields() const {
    settings::StyleFields f;
    for (const StyleFieldRow& row : settings::StyleFieldTable()) {
        QWidget* field = m_fields.value(QLatin1String(row.control));
        if (row.text != nullptr) {
            if (auto* combo = qobject_cast<QComboBox*>(field)) {
                f.*row.text = S(combo->currentText());
            } else if (auto* edit = qobject_cast<QLineEdit*>(field)) {
                f.*row.text = S(edit->text());
            }
        } else if (row.check != nullptr) {
            f.*row.check = qobject_cast<QCheckBox*>(field)->isChecked();
        } else if (row.color != nullptr) {
            f.*row.color = qobject_cast<ColorBox*>(field)->color();
        } else if (row.choice != nullptr) {
            const auto options = field->findChildren<QRadioButton*>();
            for (int i = 0; i < options.size(); ++i) {
                if (options[i]->isChecked()) {
                    f.*row.choice = i;
                }
            }
        }
    }
    return f;
}

void StyleWindow::ShowFields(const settings::StyleFields& f) {
    const int listed = EditorIndexOf(f.styleName);
    if (listed >= 0) {
        m_ui.Combo5->setCurrentIndex(listed);
    }
    for (const StyleFieldRow& row : settings::StyleFieldTable()) {
        QWidget* field = m_fields.value(QLatin1String(row.control));
        if (row.text != nullptr) {
            if (auto* combo = qobject_cast<QComboBox*>(field)) {
                combo->setEditText(Q(f.*row.text));
            } else if (auto* edit = qobject_cast<QLineEdit*>(field)) {
                edit->setText(Q(f.*row.text));
            }
        } else if (row.check != nullptr) {
            qobject_cast<QCheckBox*>(field)->setChecked(f.*row.check);
        } else if (row.color != nullptr) {
            qobject_cast<ColorBox*>(field)->setColor(f.*row.color);
        } else if (row.choice != nullptr) {
            const auto options = field->findChildren<QRadioButton*>();
            const int chosen = f.*row.choice;
            if (chosen >= 0 && chosen < options.size()) {
                options[chosen]->setChecked(true);
            }
        }
    }
    ShowFontStyleState();
}

void StyleWindow::ShowFontStyleState() {
    // A bitmap style's squares are as large as the pieces bitmap makes them:
    // its size fields only show that size; a font style's take any size.
    const bool font = FontStyleShown();
    for (QWidget* field : {static_cast<QWidget*>(m_ui.Text19), static_cast<QWidget*>(m_ui.Text20),
                           static_cast<QWidget*>(m_ui.Picture5), static_cast<QWidget*>(m_ui.Picture6),
                           static_cast<QWidget*>(m_ui.Check8), static_cast<QWidget*>(m_ui.Text18)}) {
        field->setEnabled(font);
    }
}

}  // namespace diagram::ui
