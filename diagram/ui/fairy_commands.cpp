#include "diagram/ui/fairy_commands.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "diagram/fairy_exchange.h"
#include "diagram/ui/host.h"
#include "engines/engine_state.h"

namespace diagram::ui {

namespace {

using position::Notation;

// The notations as the window names them, in the order of its list after "Auto".
struct NotationCaption {
    Notation notation;
    const char* caption;
    const char* copyName;
    const char* copyCaption;
};
constexpr NotationCaption kNotations[] = {
    {Notation::kFfen, "Fairy FEN", "MNCopyFfen", "&Fairy FEN"},
    {Notation::kYacpdb, "YACPDB", "MNCopyYacpdb", "&YACPDB"},
    {Notation::kPopeye, "Popeye forsyth", "MNCopyPopeye", "Popeye &forsyth"},
};

QString CaptionOf(Notation notation) {
    for (const NotationCaption& n : kNotations) {
        if (n.notation == notation) {
            return QString::fromLatin1(n.caption);
        }
    }
    return {};
}

// What reading gives, in a line for the window.
QString Describe(const FairyImport& in, bool guessed) {
    const QString as = CaptionOf(in.notation);
    if (!in.ok()) {
        return QStringLiteral("Cannot read it as %1: %2").arg(as, QString::fromStdString(in.error));
    }
    QString line = guessed ? QStringLiteral("Guessed: %1, a board of %2 \u00d7 %3")
                           : QStringLiteral("%1, a board of %2 \u00d7 %3");
    line = line.arg(as).arg(in.style.BORDERHEIGHT).arg(in.style.BORDERWIDTH);
    if (in.styleChanged) {
        line += QStringLiteral(", shown in the style \"%1\"").arg(QString::fromLatin1(kImportStyle));
    }
    return line;
}

}  // namespace

PasteSpecialDialog::PasteSpecialDialog(const QString& text, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PasteSpecial"));
    setWindowTitle(QStringLiteral("Paste Special"));
    auto* layout = new QVBoxLayout(this);
    auto* shown = new QLabel(text.left(200), this);
    shown->setObjectName(QStringLiteral("LblText"));
    shown->setTextFormat(Qt::PlainText);
    shown->setWordWrap(true);
    m_notation = new QComboBox(this);
    m_notation->setObjectName(QStringLiteral("CmbNotation"));
    m_notation->addItem(QStringLiteral("Auto"));
    for (const NotationCaption& n : kNotations) {
        m_notation->addItem(QString::fromLatin1(n.caption));
    }
    m_knightS = new QCheckBox(QStringLiteral("Fairy FEN with &S for the knight (g for the square)"), this);
    m_knightS->setObjectName(QStringLiteral("ChkKnightS"));
    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("LblResult"));
    m_result->setTextFormat(Qt::PlainText);
    m_result->setWordWrap(true);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("CmdOK"));
    m_buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CmdCancel"));
    auto* label = new QLabel(QStringLiteral("&Notation:"), this);
    label->setBuddy(m_notation);
    layout->addWidget(shown);
    layout->addWidget(label);
    layout->addWidget(m_notation);
    layout->addWidget(m_knightS);
    layout->addWidget(m_result);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_notation, &QComboBox::currentIndexChanged, this, &PasteSpecialDialog::choiceChanged);
    connect(m_knightS, &QCheckBox::toggled, this, &PasteSpecialDialog::choiceChanged);
}

std::optional<Notation> PasteSpecialDialog::ChosenNotation() const {
    const int index = m_notation->currentIndex();
    if (index < 1 || index > static_cast<int>(std::size(kNotations))) {
        return std::nullopt;
    }
    return kNotations[index - 1].notation;
}

position::NotationOptions PasteSpecialDialog::Options() const {
    return {m_knightS->isChecked()};
}

void PasteSpecialDialog::ShowResult(const QString& result, bool ok) {
    m_result->setText(result);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(ok);
}

FairyCommands::FairyCommands(Host& host) : QObject(&host), m_host(host) {
    QMenu* edit = host.menu(QStringLiteral("MNEdit"));
    QAction* paste = host.action(QStringLiteral("MNPaste"));
    if (edit != nullptr && paste != nullptr) {
        auto* special = new QAction(QStringLiteral("Paste Spe&cial..."), edit);
        special->setObjectName(QStringLiteral("MNPasteSpecial"));
        special->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+V")));
        const QList<QAction*> actions = edit->actions();
        const qsizetype at = actions.indexOf(paste);
        edit->insertAction(at >= 0 && at + 1 < actions.size() ? actions.at(at + 1) : nullptr, special);
        connect(special, &QAction::triggered, this, &FairyCommands::PasteSpecial);
    }
    if (QMenu* copy = host.menu(QStringLiteral("MNCopy"))) {
        copy->addSeparator();
        for (const NotationCaption& n : kNotations) {
            auto* action = new QAction(QString::fromLatin1(n.copyCaption), copy);
            action->setObjectName(QString::fromLatin1(n.copyName));
            copy->addAction(action);
            const Notation notation = n.notation;
            connect(action, &QAction::triggered, this, [this, notation] { CopyAs(notation); });
        }
    }
}

void FairyCommands::PasteSpecial() {
    const QString text = m_host.services().clipboard->Text();
    delete m_dialog;
    m_dialog = new PasteSpecialDialog(text, m_host.mainWindow());
    PasteSpecialDialog* dialog = m_dialog;
    auto preview = [this, dialog, text] {
        const Program& program = m_host.program();
        const FairyImport in =
            ImportFairyText(text.toStdString(), dialog->ChosenNotation(), dialog->Options(), program.style,
                            program.engines.PyDictionaryBase);
        dialog->ShowResult(Describe(in, !dialog->ChosenNotation()), in.ok());
    };
    connect(dialog, &PasteSpecialDialog::choiceChanged, this, preview);
    connect(dialog, &QDialog::accepted, this, [this, dialog, text] {
        const QString failure = PasteText(text, dialog->ChosenNotation(), dialog->Options());
        if (!failure.isEmpty()) {
            m_host.services().messages->Warning(m_host.mainWindow(), failure);
        }
    });
    preview();
    dialog->open();
}

QString FairyCommands::PasteText(const QString& text, std::optional<Notation> notation,
                                 const position::NotationOptions& options) {
    Program& program = m_host.program();
    const FairyImport in = ImportFairyText(text.toStdString(), notation, options, program.style,
                                           program.engines.PyDictionaryBase);
    if (!in.ok()) {
        return Describe(in, false);
    }
    if (in.styleChanged) {
        // As a change of style does: the picture is made for the new board
        // first, then the position is read onto it.
        program.style = in.style;
        program.settings.PyDictionaryText = engines::PyDictionaryText(program.engines, program.style);
        m_host.Redraw();
    }
    m_host.SetFen(QString::fromStdString(in.placement));
    if (in.styleChanged) {
        emit m_host.styleChanged();
    }
    return {};
}

void FairyCommands::CopyAs(Notation notation) {
    const Program& program = m_host.program();
    const position::NotationWrite w =
        ExportFairyText(program.vet, program.style, program.engines.PyDictionaryBase, notation, {});
    if (!w.ok()) {
        m_host.services().messages->Warning(m_host.mainWindow(), QString::fromStdString(w.error));
        return;
    }
    platform::Clipboard* clipboard = m_host.services().clipboard;
    clipboard->Clear();
    clipboard->SetText(QString::fromStdString(w.text));
}

}  // namespace diagram::ui
