#include "editing/ui/graphic_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "diagram/render/renderer.h"
#include "diagram/ui/host.h"
#include "diagram/ui/secondary_windows.h"
#include "diagram/ui/style/pick_color.h"

namespace editing::ui {

namespace {

constexpr int kSwatchSize = 22;

// Swatch indexes by place: the top row, then the bottom row.
constexpr int kSwatchRows[2][5] = {{0, 1, 2, 3, 8}, {4, 5, 6, 7, 9}};

}  // namespace

SampleLine::SampleLine(QWidget* parent) : QWidget(parent) {
    setMinimumSize(60, 24);
}

void SampleLine::SetPenWidth(int width) {
    m_width = width;
    update();
}

void SampleLine::SetPenColor(int32_t color) {
    m_color = color;
    update();
}

void SampleLine::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(diagram::ToQColor(m_color), m_width, Qt::SolidLine, Qt::FlatCap));
    const int y = height() / 2;
    painter.drawLine(4, y, width() - 5, y);
}

ColorSwatch::ColorSwatch(int index, int32_t color, QWidget* parent)
    : QFrame(parent), m_index(index), m_color(color) {
    setObjectName(QStringLiteral("Picture1_%1").arg(index));
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(kSwatchSize, kSwatchSize);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
}

void ColorSwatch::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(contentsRect(), diagram::ToQColor(m_color));
    painter.end();
    QFrame::paintEvent(event);
}

void ColorSwatch::mousePressEvent(QMouseEvent* event) {
    m_clickArmed = event->button() == Qt::LeftButton;
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        m_clickArmed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_clickArmed = false;
    if (click) {
        emit chosen(m_index);
    }
}

void ColorSwatch::mouseDoubleClickEvent(QMouseEvent* event) {
    // The release that ends a double click is no click: it would put the
    // swatch's colour over the one just picked.
    m_clickArmed = false;
    if (event->button() == Qt::LeftButton) {
        emit doubleClicked(m_index);
    }
}

void ColorSwatch::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            emit chosen(m_index);
            event->accept();
            return;
        default:
            QFrame::keyPressEvent(event);
    }
}

void ColorSwatch::focusInEvent(QFocusEvent* event) {
    QFrame::focusInEvent(event);
    // The frame keeps its width, so the colour area does not jump.
    setFrameStyle(QFrame::NoFrame);
    setContentsMargins(lineWidth(), lineWidth(), lineWidth(), lineWidth());
}

void ColorSwatch::focusOutEvent(QFocusEvent* event) {
    QFrame::focusOutEvent(event);
    setContentsMargins(0, 0, 0, 0);
    setFrameStyle(QFrame::Box | QFrame::Plain);
}

GraphicWindow::GraphicWindow(diagram::ui::Host& host) : QWidget(host.mainWindow(), Qt::Window), m_host(host) {
    setObjectName(QStringLiteral("frmGraphic"));
    setWindowTitle(QStringLiteral("Graphic"));
    BuildControls();
    ConnectControls();
}

void GraphicWindow::BuildControls() {
    auto radio = [this](int i, const char* caption, QWidget* parent) {
        auto* button = new QRadioButton(QString::fromLatin1(caption), parent);
        button->setObjectName(QStringLiteral("Option%1").arg(i));
        m_ui.Option[i - 1] = button;
        parent->layout()->addWidget(button);
    };
    auto frame = [this](const char* name, const char* caption) {
        auto* box = new QGroupBox(QString::fromLatin1(caption), this);
        box->setObjectName(QString::fromLatin1(name));
        return box;
    };

    m_ui.Frame1 = frame("Frame1", "Object");
    new QVBoxLayout(m_ui.Frame1);
    radio(1, "&Line", m_ui.Frame1);
    radio(2, "C&ircle", m_ui.Frame1);
    radio(3, "Free &Hand", m_ui.Frame1);
    m_ui.Option[0]->setChecked(true);

    m_ui.Frame2 = frame("Frame2", "Mode");
    new QVBoxLayout(m_ui.Frame2);
    radio(4, "&Snap to square corner", m_ui.Frame2);
    radio(5, "S&nap to square center", m_ui.Frame2);
    radio(6, "Snap Of&f", m_ui.Frame2);
    m_ui.Option[5]->setChecked(true);

    m_ui.Frame3 = frame("Frame3", "Width");
    m_ui.Combo1 = new QComboBox(m_ui.Frame3);
    m_ui.Combo1->setObjectName(QStringLiteral("Combo1"));
    m_ui.Combo1->setEditable(true);
    m_ui.Combo1->setInsertPolicy(QComboBox::NoInsert);
    m_ui.Combo1->setEditText(QStringLiteral("1"));
    m_ui.Line1 = new SampleLine(m_ui.Frame3);
    m_ui.Line1->setObjectName(QStringLiteral("Line1"));
    auto* width = new QHBoxLayout(m_ui.Frame3);
    width->addWidget(m_ui.Combo1);
    width->addWidget(m_ui.Line1, 1);

    m_ui.Frame4 = frame("Frame4", "Color");
    auto* colors = new QGridLayout(m_ui.Frame4);
    colors->setSpacing(3);
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 5; ++col) {
            const int index = kSwatchRows[row][col];
            m_ui.Picture1[index] = new ColorSwatch(index, kSwatchColors[index], m_ui.Frame4);
            colors->addWidget(m_ui.Picture1[index], row, col);
        }
    }

    m_ui.Command2 = new QPushButton(QStringLiteral("&Clear Graphic"), this);
    m_ui.Command2->setObjectName(QStringLiteral("Command2"));
    m_ui.Command1 = new QPushButton(QStringLiteral("O&k"), this);
    m_ui.Command1->setObjectName(QStringLiteral("Command1"));

    auto* left = new QVBoxLayout;
    left->addWidget(m_ui.Frame1);
    left->addWidget(m_ui.Frame2);
    auto* right = new QVBoxLayout;
    right->addWidget(m_ui.Frame3);
    right->addWidget(m_ui.Frame4);
    right->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ui.Command2);
    buttons->addWidget(m_ui.Command1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void GraphicWindow::ConnectControls() {
    // Snapping only applies to lines and circles; the choice is kept while
    // free hand is drawn.
    for (int i = 0; i < 3; ++i) {
        connect(m_ui.Option[i], &QRadioButton::toggled, this, [this] {
            const bool snaps = !m_ui.Option[2]->isChecked();
            for (int k = 3; k < 6; ++k) {
                m_ui.Option[k]->setEnabled(snaps);
            }
        });
    }
    connect(m_ui.Combo1, &QComboBox::editTextChanged, this,
            [this](const QString& text) { m_ui.Line1->SetPenWidth(PenWidthOf(text.toStdString())); });
    connect(m_ui.Combo1, &QComboBox::activated, this, [this](int k) {
        m_ui.Combo1->setEditText(QString::number(k + 1));
        m_ui.Line1->SetPenWidth(k + 1);
    });
    for (ColorSwatch* swatch : m_ui.Picture1) {
        connect(swatch, &ColorSwatch::chosen, this,
                [this](int index) { m_ui.Line1->SetPenColor(m_ui.Picture1[index]->color()); });
        connect(swatch, &ColorSwatch::doubleClicked, this, &GraphicWindow::PickSwatchColor);
    }
    connect(m_ui.Command2, &QPushButton::clicked, this, [this] { m_host.Redraw(); });
    connect(m_ui.Command1, &QPushButton::clicked, this, [this] { hide(); });
}

GraphicObject GraphicWindow::Object() const {
    if (m_ui.Option[1]->isChecked()) {
        return GraphicObject::kCircle;
    }
    return m_ui.Option[2]->isChecked() ? GraphicObject::kFreeHand : GraphicObject::kLine;
}

SnapMode GraphicWindow::Mode() const {
    if (m_ui.Option[3]->isChecked()) {
        return SnapMode::kCorner;
    }
    return m_ui.Option[4]->isChecked() ? SnapMode::kCenter : SnapMode::kOff;
}

void GraphicWindow::FillWidthList() {
    const QString text = m_ui.Combo1->currentText();
    m_ui.Combo1->clear();
    for (int i = 1; i <= 9; ++i) {
        m_ui.Combo1->addItem(QString::number(i));
    }
    // Filling the list must not change the width the box shows.
    m_ui.Combo1->setEditText(text);
}

void GraphicWindow::PickSwatchColor(int index) {
    ColorSwatch* swatch = m_ui.Picture1[index];
    using diagram::ui::Secondary;
    const int32_t color =
        diagram::ui::PickColor(m_host.services().colors, m_host.program().settings.CustomColors,
                               {m_host.mainWindow(), m_host.SecondaryWindow(Secondary::kGraphic),
                                m_host.SecondaryWindow(Secondary::kStyle)},
                               swatch->color(), swatch);
    if (color != -1) {
        m_ui.Line1->SetPenColor(color);
    }
}

void GraphicWindow::closeEvent(QCloseEvent* event) {
    diagram::ui::HideWhileKept(*this, event, m_host.program().KeepWindows);
}

}  // namespace editing::ui
