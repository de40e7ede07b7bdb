#include "engines/ui/solution_view.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "diagram/ui/host.h"
#include "engines/engine_files.h"
#include "engines/engine_state.h"
#include "engines/ui/window_helpers.h"

namespace engines::ui {

namespace {

constexpr int kNodeRole = Qt::UserRole;

QString Numbered(const SolutionNode& node) {
    if (node.number <= 0) {
        return FromFile(node.move);
    }
    return QString::number(node.number) + (node.dots ? QStringLiteral("...") : QStringLiteral(".")) +
           FromFile(node.move);
}

}  // namespace

SolutionView::SolutionView(diagram::ui::Host& host, QWidget* parent) : QWidget(parent), m_host(host) {
    setObjectName(QStringLiteral("SolutionView"));
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("TreeSolution"));
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setUniformRowHeights(true);
    m_tree->installEventFilter(this);
    m_open = new QPushButton(QStringLiteral("Open Protocol..."), this);
    m_open->setObjectName(QStringLiteral("CommandOpen"));
    m_keep = new QPushButton(QStringLiteral("Keep this position"), this);
    m_keep->setObjectName(QStringLiteral("CommandKeep"));
    m_keep->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(m_open);
    buttons->addWidget(m_keep);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(m_tree, 1);
    layout->addLayout(buttons);

    m_chooser = [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Open Protocol"), QString(),
                                            QStringLiteral("Protocols (*.out *.txt);;All files (*)"));
    };
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item, QTreeWidgetItem*) { ShowNode(item); });
    connect(m_keep, &QPushButton::clicked, this, [this] {
        // The position shown stays; hiding the window no longer takes it back.
        m_browsing = false;
        m_keep->setEnabled(false);
    });
    connect(m_open, &QPushButton::clicked, this, [this] {
        const QString path = m_chooser ? m_chooser() : QString();
        if (!path.isEmpty()) {
            OpenProtocol(path);
        }
    });
    m_parser = std::make_unique<SolutionParser>(PopeyeLanguage::kEnglish);
}

void SolutionView::Start() {
    // The protocol belongs to the problem on the board now, before any node
    // of an earlier protocol was shown on it.
    RestoreProblem();
    m_keep->setEnabled(false);
    m_tree->clear();
    m_items.clear();
    m_fed = 0;
    // The window writes its input in English, and the solver answers so.
    m_parser = std::make_unique<SolutionParser>(PopeyeLanguage::kEnglish);
    diagram::ui::Program& program = m_host.program();
    m_style = program.style.Notation();
    m_problemFen = m_host.Fen();
    m_replay = std::make_unique<SolutionReplay>(m_parser->Tree(), program.vet, m_style,
                                                PyDictionaryText(program.engines, program.style));
}

void SolutionView::Update(const std::string& text) {
    if (!m_replay) {
        Start();
    }
    if (text.size() < m_fed) {
        // Not the text fed so far: read it again from its start.
        Start();
    }
    if (text.size() > m_fed) {
        m_parser->Feed(std::string_view(text).substr(m_fed));
        m_fed = text.size();
        AddNewNodes();
    }
}

void SolutionView::Finish() {
    if (!m_replay) {
        Start();
    }
    const PopeyeLanguage before = m_parser->Tree().language;
    m_parser->Finish();
    if (m_parser->Tree().language != before) {
        m_replay->Reset();
    }
    AddNewNodes();
}

bool SolutionView::OpenProtocol(const QString& path) {
    const std::optional<std::string> text = ReadWholeFile(ToFile(path));
    if (!text) {
        m_host.services().messages->Warning(this,
                                            QStringLiteral("The protocol %1 could not be read.").arg(path));
        return false;
    }
    Start();
    // A saved protocol may be in any of the solver's languages: its words
    // tell which.
    m_parser = std::make_unique<SolutionParser>();
    diagram::ui::Program& program = m_host.program();
    m_replay = std::make_unique<SolutionReplay>(m_parser->Tree(), program.vet, m_style,
                                                PyDictionaryText(program.engines, program.style));
    m_parser->Feed(*text);
    m_parser->Finish();
    m_fed = text->size();
    AddNewNodes();
    emit protocolOpened(*text);
    return true;
}

void SolutionView::AddNewNodes() {
    const SolutionTree& tree = m_parser->Tree();
    // A relabelled first twin changes its text.
    if (!m_items.empty() && !tree.nodes.empty() && tree.nodes.front().kind == NodeKind::kTwin) {
        const QString label = Label(tree.nodes.front());
        if (m_items.front()->text(0) != label) {
            m_items.front()->setText(0, label);
            // Its changes are new: its position is worked out again.
            m_replay->Reset();
        }
    }
    for (size_t i = m_items.size(); i < tree.nodes.size(); ++i) {
        const SolutionNode& node = tree.nodes[i];
        auto* item = new QTreeWidgetItem;
        item->setText(0, Label(node));
        item->setData(0, kNodeRole, static_cast<int>(i));
        if (node.kind == NodeKind::kUnparsed) {
            QFont font = item->font(0);
            font.setItalic(true);
            item->setFont(0, font);
        } else if (node.kind != NodeKind::kTwin) {
            const ReplayResult after = m_replay->After(static_cast<int>(i));
            if (!after.ok) {
                item->setForeground(0, QBrush(Qt::gray));
                item->setToolTip(0, FromFile(after.note));
            }
        }
        if (node.kind == NodeKind::kKey) {
            QFont font = item->font(0);
            font.setBold(true);
            item->setFont(0, font);
        }
        QTreeWidgetItem* parent = node.parent >= 0 && static_cast<size_t>(node.parent) < m_items.size()
                                      ? m_items[static_cast<size_t>(node.parent)]
                                      : nullptr;
        if (parent) {
            parent->addChild(item);
        } else {
            m_tree->addTopLevelItem(item);
            item->setExpanded(true);
        }
        // Direct play opens down to the defences, so that the answers show.
        if (node.kind == NodeKind::kKey || node.kind == NodeKind::kTry || node.kind == NodeKind::kDefence) {
            item->setExpanded(true);
        }
        m_items.push_back(item);
    }
}

QString SolutionView::Label(const SolutionNode& node) const {
    switch (node.kind) {
        case NodeKind::kTwin:
        case NodeKind::kUnparsed:
            return FromFile(node.move);
        case NodeKind::kKey:
        case NodeKind::kTry: {
            QString text =
                Numbered(node) + (node.kind == NodeKind::kKey ? QStringLiteral(" !") : QStringLiteral(" ?"));
            if (node.threat) {
                text += QStringLiteral(" threat:");
            }
            if (node.zugzwang) {
                text += QStringLiteral(" zugzwang.");
            }
            return text;
        }
        case NodeKind::kRefutation:
            return QStringLiteral("but ") + Numbered(node) + QStringLiteral(" !");
        case NodeKind::kSet: {
            const bool first =
                node.parent < 0 || Tree().nodes[static_cast<size_t>(node.parent)].kind == NodeKind::kTwin;
            return first ? QStringLiteral("set play: ") + Numbered(node) : Numbered(node);
        }
        default: {
            QString text = Numbered(node);
            if (node.threat) {
                text += QStringLiteral(" threat:");
            }
            if (node.section == 1 && node.depth == 1) {
                text = QStringLiteral("duplex: ") + text;
            }
            return text;
        }
    }
}

QTreeWidgetItem* SolutionView::Item(int node) const {
    return node >= 0 && static_cast<size_t>(node) < m_items.size() ? m_items[static_cast<size_t>(node)]
                                                                   : nullptr;
}

void SolutionView::ShowNode(QTreeWidgetItem* item) {
    if (!item || !m_replay) {
        return;
    }
    const int node = item->data(0, kNodeRole).toInt();
    const ReplayResult after = m_replay->After(node);
    // Browsing only shows positions: it records nothing in the History list.
    m_shownFen = FromFile(position::VetToFEN(after.vet, m_style.shape));
    m_host.SetFen(m_shownFen);
    m_browsing = true;
    m_keep->setEnabled(true);
}

void SolutionView::Home() {
    m_tree->setCurrentItem(nullptr);
    m_tree->clearSelection();
    RestoreProblem();
}

void SolutionView::RestoreProblem() {
    // A board the user has edited since is theirs, not a browsed position.
    if (m_browsing && m_host.Fen() == m_shownFen) {
        m_host.SetFen(m_problemFen);
    }
    m_browsing = false;
    m_keep->setEnabled(false);
}

void SolutionView::Step(bool forward) {
    QTreeWidgetItem* current = m_tree->currentItem();
    QTreeWidgetItem* next = nullptr;
    if (forward) {
        if (!current) {
            next = m_tree->topLevelItem(0);
        } else if (current->childCount() > 0) {
            current->setExpanded(true);
            next = current->child(0);
        }
    } else if (current) {
        next = current->parent();
        if (!next) {
            Home();
            return;
        }
    }
    if (next) {
        m_tree->setCurrentItem(next);
    }
}

void SolutionView::WindowHidden() {
    RestoreProblem();
}

bool SolutionView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_tree && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
            case Qt::Key_Right:
                Step(true);
                return true;
            case Qt::Key_Left:
                Step(false);
                return true;
            case Qt::Key_Home:
                Home();
                return true;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace engines::ui
