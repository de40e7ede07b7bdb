#include "books/ui/search_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "books/search.h"
#include "books/ui/book_commands.h"
#include "books/ui/form_controls.h"
#include "diagram/ui/host.h"
#include "diagram/ui/secondary_windows.h"

namespace books::ui {

namespace {

const char* const kCaptions[] = {"Words", "White", "Black", "Global", "Notations"};

QLabel* Hint(const char* text, QWidget* parent) {
    auto* hint = new QLabel(QString::fromLatin1(text), parent);
    hint->setWordWrap(true);
    return hint;
}

// A caption label and its box on one row of a frame's grid.
void AddRow(QGridLayout* grid, int row, QLabel* caption, QLineEdit* box) {
    grid->addWidget(caption, row, 0);
    grid->addWidget(box, row, 1);
}

}  // namespace

SearchWindow::SearchWindow(diagram::ui::Host& host)
    : QDialog(host.mainWindow(), Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_host(host) {
    setObjectName(QStringLiteral("frmCriteria"));
    setWindowTitle(QStringLiteral("Search Criteria"));
    setModal(true);
    BuildControls();
}

void SearchWindow::BuildControls() {
    auto* boxes = new FormBoxes(this, [this] { Ok(); });
    for (int i = 0; i < 5; ++i) {
        const CaptionedBox added = boxes->Add(QStringLiteral("Label3"), i, QString::fromLatin1(kCaptions[i]));
        m_ui.Label3[i] = added.caption;
        m_ui.Text1[i] = added.box;
    }

    const char* const titles[] = {"Any Identification", "Mens", "Pieces and Positions"};
    for (int f = 0; f < 3; ++f) {
        m_ui.Frame[f] = new QGroupBox(QString::fromLatin1(titles[f]), this);
        m_ui.Frame[f]->setObjectName(QStringLiteral("Frame%1").arg(f + 1));
    }

    auto* words = new QGridLayout(m_ui.Frame[0]);
    AddRow(words, 0, m_ui.Label3[0], m_ui.Text1[0]);
    words->addWidget(
        Hint("Enter words separated by commas or plus signs. For example: Paul, 2000", m_ui.Frame[0]), 1, 0,
        1, 2);

    auto* men = new QGridLayout(m_ui.Frame[1]);
    for (int i = 1; i <= 3; ++i) {
        AddRow(men, i - 1, m_ui.Label3[i], m_ui.Text1[i]);
    }
    men->addWidget(
        Hint("Enter numbers and/or ranges separated by commas. For example: 1-6, 9", m_ui.Frame[1]), 3, 0, 1,
        2);

    auto* pieces = new QGridLayout(m_ui.Frame[2]);
    AddRow(pieces, 0, m_ui.Label3[4], m_ui.Text1[4]);
    pieces->addWidget(
        Hint("Enter algebraic notations separated by commas or plus signs. For example: Ke1+ke8",
             m_ui.Frame[2]),
        1, 0, 1, 2);

    m_ui.Label4 = new QLabel(QStringLiteral(" "), this);
    m_ui.Label4->setObjectName(QStringLiteral("Label4"));
    const FormButtons buttons = MakeFormButtons(
        this, [this] { Ok(); }, [this] { ClearAll(); });
    m_ui.Command1 = buttons.Command1;
    m_ui.Command2 = buttons.Command2;
    m_ui.Command3 = buttons.Command3;

    BuildPositionFrame();
    auto* layout = new QVBoxLayout(this);
    for (QGroupBox* frame : m_ui.Frame) {
        layout->addWidget(frame);
    }
    layout->addWidget(m_ui.Label4);
    layout->addLayout(buttons.row);
    setMinimumWidth(360);
}

void SearchWindow::ClearAll() {
    for (QLineEdit* box : m_ui.Text1) {
        box->clear();
    }
    m_ui.Text2->clear();
}

void SearchWindow::Ok() {
    if (m_searching) {
        return;
    }
    if (!m_ui.Text2->text().trimmed().isEmpty()) {
        FindPosition();
        return;
    }
    diagram::ui::Program& program = m_host.program();
    BookState& book = program.book;
    book.positionMatches.clear();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::array<std::string, 5> boxes;
    for (int i = 0; i < 5; ++i) {
        boxes[i] = m_ui.Text1[i]->text().toStdString();
    }
    book.criteria = ParseCriteria(boxes, program.Shape());
    const SearchResult result =
        Search(book, book.criteria, [this](int64_t found, int64_t examined, int64_t total) {
            m_ui.Label4->setText(QString::fromStdString(SearchProgressText(found, examined, total)));
            m_ui.Label4->repaint();
        });

    QAction* criteria = m_host.action(QStringLiteral("MNCriteria"));
    switch (result.outcome) {
        case SearchOutcome::kNotFound:
            QApplication::restoreOverrideCursor();
            m_ui.Label4->setText(QStringLiteral(" "));
            m_host.services().messages->Warning(this, QStringLiteral("Game not found!"),
                                                platform::Buttons::kOk, platform::Icon::kExclamation);
            return;
        case SearchOutcome::kAll:
            PaintBookLabel(m_host, Qt::black);
            criteria->setChecked(false);
            book.SearchDone = true;
            break;
        case SearchOutcome::kFound:
            book.SearchDone = true;
            PaintBookLabel(m_host, QColor(255, 0, 0));
            criteria->setChecked(true);
            break;
    }
    QApplication::restoreOverrideCursor();
    m_ui.Label4->setText(QStringLiteral(" "));
    hide();
}

void SearchWindow::setVisible(bool visible) {
    if (!visible && m_searching) {
        m_stop = true;
        return;
    }
    QDialog::setVisible(visible);
}

void SearchWindow::reject() {
    if (m_searching) {
        m_stop = true;
        return;
    }
    QDialog::reject();
}

void SearchWindow::keyPressEvent(QKeyEvent* event) {
    if (m_searching && event->key() == Qt::Key_Escape) {
        m_stop = true;
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SearchWindow::closeEvent(QCloseEvent* event) {
    if (m_searching) {
        m_stop = true;
        event->ignore();
        return;
    }
    diagram::ui::HideWhileKept(*this, event, m_host.program().KeepWindows);
}

}  // namespace books::ui
