#include "engines/ui/popeye_input_command.h"

#include <QAction>
#include <QMenu>
#include <QSaveFile>

#include "diagram/seek.h"
#include "diagram/ui/host.h"
#include "diagram/ui/problem_window.h"
#include "diagram/ui/win_seek.h"
#include "engines/popeye_file.h"
#include "position/piece_lists.h"

namespace engines::ui {

PopeyeInputCommand::PopeyeInputCommand(diagram::ui::Host& host) : QObject(&host), m_host(host) {
    QMenu* file = host.menu(QStringLiteral("MNFile"));
    if (file == nullptr) {
        return;
    }
    auto* save = new QAction(QStringLiteral("Save as Popeye &Input..."), file);
    save->setObjectName(QStringLiteral("MNPopeyeInput"));
    const QList<QAction*> items = file->actions();
    QAction* latex = host.mainWindow()->findChild<QAction*>(QStringLiteral("MNExportLatex"));
    qsizetype at = items.indexOf(latex != nullptr ? latex : host.action(QStringLiteral("MNSaveAs")));
    file->insertAction(at >= 0 && at + 1 < items.size() ? items[at + 1] : nullptr, save);
    connect(save, &QAction::triggered, this, &PopeyeInputCommand::MNPopeyeInput);
}

void PopeyeInputCommand::MNPopeyeInput() {
    diagram::ui::WinSeek& seek = diagram::ui::WinSeek::Of(m_host);
    if (!seek.Seek(diagram::kSeekPopeyeInput)) {
        return;
    }
    const QString message = SavePopeyeInput(seek.fileName());
    if (!message.isEmpty()) {
        m_host.services().messages->Warning(m_host.mainWindow(), message);
    }
}

QString PopeyeInputCommand::SavePopeyeInput(const QString& path) {
    m_host.Refresh();
    const diagram::ui::Program& program = m_host.program();
    // The pieces as the Popeye command lists them, through the dictionary
    // in force; the rest from the record over the Popeye window's fields.
    const position::PieceLists lists =
        position::FEN2ALG(program.vet, program.style.Notation(), program.settings.PyDictionaryText);
    const PopeyeFieldTexts fields = ProblemFields(program.problem, lists, program.engines.PopeyeFields);
    const PopeyeFile input = WritePopeyeFile(program.problem, fields);
    if (!input.ok()) {
        return QString::fromStdString(input.error);
    }
    QSaveFile file(path);
    const QByteArray bytes = QByteArray::fromStdString(input.text);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        return QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
    }
    QStringList notes;
    for (const std::string& note : input.notes) {
        notes << QString::fromStdString(note);
    }
    return notes.join(QLatin1Char('\n'));
}

}  // namespace engines::ui
