#include "editing/ui/toolbars.h"

#include <QAction>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QToolBar>
#include <cmath>

#include "diagram/geometry.h"
#include "diagram/ui/host.h"
#include "editing/ui/toolbar_pictures.h"
#include "settings/style.h"

namespace editing::ui {

namespace {

// A place on a toolbar, in twips from the container's top-left corner.
struct Place {
    int x, y, width, height;
};

// The first toolbar: nine square buttons in a row.
constexpr int kSide = 285;
constexpr int kFirstPitch = 300;

// The second toolbar: New, Start, Right over Left, Up beside Down, Rotate,
// Horizontal and Diagonal mirror.
constexpr Place kSecondPlaces[Toolbars::kButtons] = {
    {0, 0, 285, 285},    {290, 0, 285, 285},  {690, 0, 285, 142},  {690, 143, 285, 142}, {985, 0, 142, 285},
    {1122, 0, 142, 285}, {1400, 0, 285, 285}, {1680, 0, 285, 285}, {1970, 0, 285, 285},
};

constexpr ToolbarIcon kFirstIcons[Toolbars::kButtons] = {
    ToolbarIcon::kSaveImage, ToolbarIcon::kGraphic,  ToolbarIcon::kHistory,
    ToolbarIcon::kCopyImage, ToolbarIcon::kCopyHtml, ToolbarIcon::kCopyFen,
    ToolbarIcon::kPasteFen,  ToolbarIcon::kPrint,    ToolbarIcon::kEngine,
};
constexpr ToolbarIcon kSecondIcons[Toolbars::kButtons] = {
    ToolbarIcon::kNew,  ToolbarIcon::kStart,  ToolbarIcon::kRight,   ToolbarIcon::kLeft,    ToolbarIcon::kUp,
    ToolbarIcon::kDown, ToolbarIcon::kRotate, ToolbarIcon::kHMirror, ToolbarIcon::kDMirror,
};

// Menu items the buttons run. The first toolbar's engine button has none of
// its own: it runs the engine used last.
constexpr const char* kFirstCommands[Toolbars::kButtons] = {
    "MNSave", "MNGraphic", "MNHistory", "MNPicture", "MNHtml", "MNPandrel", "MNPaste", "MNPrint", nullptr,
};
constexpr const char* kSecondCommands[Toolbars::kButtons] = {
    "MNNew", "MNStart", "MNRight", "MNLeft", "MNUp", "MNDown", "MNRotate", "MNHMirror", "MNDMirror",
};

int Px(int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / diagram::kTwipsPerPixel));
}

// Pixel rectangle of a place; both edges are rounded, so neighbours that
// share an edge in twips share it in pixels.
QRect PxRect(const Place& p) {
    const int left = Px(p.x);
    const int top = Px(p.y);
    return {left, top, Px(p.x + p.width) - left, Px(p.y + p.height) - top};
}

QWidget* Container(const char* name, QSize size) {
    auto* container = new QWidget;
    container->setObjectName(QString::fromLatin1(name));
    container->setFixedSize(size);
    container->setFocusPolicy(Qt::ClickFocus);
    return container;
}

QToolBar* Bar(diagram::ui::Host& host, const char* name) {
    auto* bar = new QToolBar(host.mainWindow());
    bar->setObjectName(QString::fromLatin1(name));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    return bar;
}

// "Save Image (Ctrl+S)": the menu item's caption without its mnemonic or
// dots, and its shortcut as this desktop writes it.
QString CommandTip(const QAction* action, const QString& menu = {}) {
    QString name = menu + action->text();
    name.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    name.remove(QRegularExpression(QStringLiteral("\\.\\.\\.$|\\s*=.*$")));
    const QString keys = action->shortcut().toString(QKeySequence::NativeText);
    return keys.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, keys);
}

}  // namespace

PictureButton::PictureButton(const QString& name, bool pressLook, QWidget* parent)
    : QWidget(parent), m_pressLook(pressLook) {
    setObjectName(name);
    setFocusPolicy(Qt::NoFocus);
}

void PictureButton::SetUpPicture(const QPixmap& picture) {
    m_up = picture;
    ShowDown(false);
}

void PictureButton::SetPressedPicture(const QPixmap& picture) {
    m_pressedPicture = picture;
}

void PictureButton::ShowDown(bool down) {
    m_down = down && m_pressLook;
    m_shown = m_down ? m_pressedPicture : m_up;
    update();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(rect(), m_shown);
}

void PictureButton::mousePressEvent(QMouseEvent*) {
    emit pressed();
    ShowDown(true);
}

void PictureButton::mouseDoubleClickEvent(QMouseEvent*) {
    emit pressed();
    ShowDown(true);
}

void PictureButton::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) {
        ShowDown(rect().contains(event->position().toPoint()));
    }
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
    ShowDown(false);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

Toolbars::Toolbars(diagram::ui::Host& host) : QObject(host.mainWindow()), m_host(host) {
    setObjectName(QStringLiteral("Toolbars"));
    QToolBar* first = Bar(host, "Toolbar1");
    QToolBar* second = Bar(host, "Toolbar2");
    BuildFirst(first);
    BuildSecond(second);
    host.AddToolBarRow(first);
    host.AddToolBarRow(second);

    auto& hooks = host.hooks();
    auto before = hooks.ToolbarPictures;
    hooks.ToolbarPictures = [this, before] {
        if (before) {
            before();
        }
        ToolbarPictures();
    };
    connect(&host, &diagram::ui::Host::boardDrawn, this, [this](bool square) {
        m_image7[6]->setVisible(square);
        m_image7[8]->setVisible(square);
    });
    connect(host.action(QStringLiteral("MNRec")), &QAction::toggled, this,
            [this](bool on) { m_image6->SetUpPicture(m_image8[on ? 1 : 0]); });

    // Every button names the command it runs; the engine button the engine
    // it starts now.
    for (int i = 0; i < kButtons; ++i) {
        // The three copy commands sit in the Copy submenu, whose name they need.
        const QString menu = i >= 3 && i <= 5 ? QStringLiteral("Copy ") : QString();
        if (kFirstCommands[i] != nullptr) {
            m_image4[i]->setToolTip(CommandTip(host.action(QString::fromLatin1(kFirstCommands[i])), menu));
        }
        m_image7[i]->setToolTip(CommandTip(host.action(QString::fromLatin1(kSecondCommands[i]))));
    }
    m_image6->setToolTip(CommandTip(host.action(QStringLiteral("MNRec"))));
    for (const char* engine : {"MNpy", "MNCrafty"}) {
        connect(host.action(QString::fromLatin1(engine)), &QAction::changed, this, [this] { EngineTip(); });
    }
}

void Toolbars::EngineTip() {
    const std::string engine = settings::Upper(m_host.program().settings.RecentEngine);
    const char* name = engine == "POPEYE" ? "MNpy" : engine == "CRAFTY" ? "MNCrafty" : nullptr;
    m_image4[8]->setToolTip(name != nullptr ? CommandTip(m_host.action(QString::fromLatin1(name)))
                                            : QString());
}

void Toolbars::BuildFirst(QToolBar* bar) {
    const QSize size(Px(kSide), Px(kSide));
    m_picture3 = Container("Picture3", QSize(Px((kButtons - 1) * kFirstPitch + kSide), Px(kSide)));
    for (bool pressed : {false, true}) {
        for (ToolbarIcon icon : kFirstIcons) {
            m_image3.push_back(ToolbarPicture(icon, size, pressed));
        }
    }
    for (int i = 0; i < kButtons; ++i) {
        auto* button = new PictureButton(QStringLiteral("Image4_%1").arg(i), true, m_picture3);
        button->setGeometry(PxRect({i * kFirstPitch, 0, kSide, kSide}));
        connect(button, &PictureButton::pressed, m_picture3, [this] { m_picture3->setFocus(); });
        connect(button, &PictureButton::clicked, this, [this, i] { Image4_Click(i); });
        m_image4[i] = button;
    }
    // The engine button stays hidden until an engine is found.
    m_image4[8]->hide();

    m_image8 = {RecordPicture(size, false), RecordPicture(size, true)};
    m_image6 = new PictureButton(QStringLiteral("Image6"), false);
    m_image6->setFixedSize(size);
    connect(m_image6, &PictureButton::clicked, this, &Toolbars::Image6_Click);

    bar->addWidget(m_picture3);
    bar->addSeparator();
    bar->addWidget(m_image6);
}

void Toolbars::BuildSecond(QToolBar* bar) {
    const QRect last = PxRect(kSecondPlaces[kButtons - 1]);
    m_picture4 = Container("Picture4", QSize(last.right() + 1, Px(kSide)));
    for (bool pressed : {false, true}) {
        for (int i = 0; i < kButtons; ++i) {
            m_image5.push_back(ToolbarPicture(kSecondIcons[i], PxRect(kSecondPlaces[i]).size(), pressed));
        }
    }
    for (int i = 0; i < kButtons; ++i) {
        auto* button = new PictureButton(QStringLiteral("Image7_%1").arg(i), true, m_picture4);
        button->setGeometry(PxRect(kSecondPlaces[i]));
        connect(button, &PictureButton::pressed, m_picture4, [this] { m_picture4->setFocus(); });
        connect(button, &PictureButton::clicked, this, [this, i] { Image7_Click(i); });
        m_image7[i] = button;
    }
    bar->addWidget(m_picture4);
}

void Toolbars::ToolbarPictures() {
    m_image6->SetUpPicture(m_image8[0]);
    for (int i = 0; i < kButtons; ++i) {
        m_image4[i]->SetUpPicture(m_image3[i]);
        m_image4[i]->SetPressedPicture(m_image3[i + kButtons]);
        m_image7[i]->SetUpPicture(m_image5[i]);
        m_image7[i]->SetPressedPicture(m_image5[i + kButtons]);
    }
    // The engines were looked for just before.
    m_image4[8]->setVisible(m_host.program().engines.engineButton);
    EngineTip();
}

void Toolbars::Image4_Click(int i) {
    if (i == 8) {
        const std::string engine = settings::Upper(m_host.program().settings.RecentEngine);
        const char* name = engine == "POPEYE" ? "MNpy" : engine == "CRAFTY" ? "MNCrafty" : nullptr;
        if (name != nullptr) {
            m_host.action(QString::fromLatin1(name))->trigger();
        }
    } else {
        m_host.action(QString::fromLatin1(kFirstCommands[i]))->trigger();
        // The Graphic and History windows keep the focus they took.
        if (i != 1 && i != 2) {
            FenFocus();
        }
    }
    m_host.FenToEnd();
}

void Toolbars::Image7_Click(int i) {
    m_host.action(QString::fromLatin1(kSecondCommands[i]))->trigger();
    FenFocus();
    m_host.FenToEnd();
}

void Toolbars::Image6_Click() {
    m_host.action(QStringLiteral("MNRec"))->trigger();
}

void Toolbars::FenFocus() {
    m_host.FocusFen();
}

}  // namespace editing::ui
