#include "diagram/ui/fen_exchange.h"

#include <QAction>
#include <QLabel>

#include "diagram/ui/fen_box.h"

namespace diagram::ui {

FenExchange::FenExchange(diagram::ui::Program& program, FenBox* text1, QLabel* label3, platform::Clipboard* clipboard,
                         QAction* undo, QAction* rec, QObject* parent)
    : QObject(parent),
      m_program(program),
      m_text1(text1),
      m_label3(label3),
      m_clipboard(clipboard),
      m_undo(undo),
      m_rec(rec) {}

void FenExchange::Refresh() {
    m_text1->setText(QString::fromStdString(position::VetToFEN(m_program.vet, m_program.Shape())));
    m_text1->end(false);
}

void FenExchange::CopyFEN() {
    Refresh();
    QString line = m_text1->text();
    if (m_program.style.COPYCOUNTER == 1) {
        line = m_label3->text() + line;
    }
    m_program.editing.History.push_back(line.toStdString());
    m_undo->setEnabled(true);
    m_clipboard->Clear();
    m_clipboard->SetText(line);
    emit fenCopied(line);
}

void FenExchange::Paste() {
    const std::string text = m_clipboard->Text().toStdString();
    m_text1->setText(QString::fromStdString(position::FixFEN(text, m_program.Shape())));
}

void FenExchange::PicMove() {
    m_text1->setText(QString::fromStdString(position::VetToFEN(m_program.vet, m_program.Shape())));
    if (m_rec->isChecked()) {
        CopyFEN();
    }
}

}  // namespace diagram::ui
