#include "books/ui/search_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "books/search.h"
#include "books/ui/book_commands.h"
#include "diagram/ui/main_window.h"

namespace books::ui {

namespace {

const char* const kCaptions[] = {"Words", "White", "Black", "Global", "Notations"};

QPushButton* Button(const char* name, const char* caption, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

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

SearchWindow::SearchWindow(diagram::ui::MainWindow& main)
    : QDialog(&main, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_main(main) {
    setObjectName(QStringLiteral("frmCriteria"));
    setWindowTitle(QStringLiteral("Search Criteria"));
    setModal(true);
    BuildControls();
}

void SearchWindow::BuildControls() {
    for (int i = 0; i < 5; ++i) {
        m_ui.Text1[i] = new QLineEdit(this);
        m_ui.Text1[i]->setObjectName(QStringLiteral("Text1_%1").arg(i));
        m_ui.Text1[i]->installEventFilter(this);
        m_ui.Label3[i] = new QLabel(QString::fromLatin1(kCaptions[i]), this);
        m_ui.Label3[i]->setObjectName(QStringLiteral("Label3_%1").arg(i));
        m_ui.Label3[i]->setBuddy(m_ui.Text1[i]);
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
    m_ui.Command1 = Button("Command1", "O&k", this);
    m_ui.Command2 = Button("Command2", "Cl&ose", this);
    m_ui.Command3 = Button("Command3", "Cl&ear All", this);
    connect(m_ui.Command1, &QPushButton::clicked, this, [this] { Ok(); });
    connect(m_ui.Command2, &QPushButton::clicked, this, [this] { hide(); });
    connect(m_ui.Command3, &QPushButton::clicked, this, [this] { ClearAll(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_ui.Command1);
    buttons->addWidget(m_ui.Command2);
    buttons->addWidget(m_ui.Command3);

    auto* layout = new QVBoxLayout(this);
    for (QGroupBox* frame : m_ui.Frame) {
        layout->addWidget(frame);
    }
    layout->addWidget(m_ui.Label4);
    layout->addLayout(buttons);
    setMinimumWidth(360);
}

void SearchWindow::ClearAll() {
    for (QLineEdit* box : m_ui.Text1) {
        box->clear();
    }
}

void SearchWindow::Ok() {
    app::Program& program = m_main.program();
    BookState& book = program.book;
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

    QAction* criteria = m_main.action(QStringLiteral("MNCriteria"));
    switch (result.outcome) {
        case SearchOutcome::kNotFound:
            QApplication::restoreOverrideCursor();
            m_ui.Label4->setText(QStringLiteral(" "));
            m_main.services().messages->Warning(this, QStringLiteral("Game not found!"),
                                                platform::Buttons::kOk, platform::Icon::kExclamation);
            return;
        case SearchOutcome::kAll:
            PaintBookLabel(m_main, Qt::black);
            criteria->setChecked(false);
            book.SearchDone = true;
            break;
        case SearchOutcome::kFound:
            book.SearchDone = true;
            PaintBookLabel(m_main, QColor(255, 0, 0));
            criteria->setChecked(true);
            break;
    }
    QApplication::restoreOverrideCursor();
    m_ui.Label4->setText(QStringLiteral(" "));
    hide();
}

int SearchWindow::BoxOf(QObject* watched) const {
    for (int i = 0; i < 5; ++i) {
        if (watched == m_ui.Text1[i]) {
            return i;
        }
    }
    return -1;
}

bool SearchWindow::eventFilter(QObject* watched, QEvent* event) {
    const int box = BoxOf(watched);
    if (box < 0) {
        return QDialog::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::FocusIn: {
            m_ui.Label3[box]->setFrameStyle(QFrame::Box | QFrame::Plain);
            // A click places the caret after the focus arrives: select once
            // the click is done, so the whole text ends up selected either way.
            QLineEdit* edit = m_ui.Text1[box];
            QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
            break;
        }
        case QEvent::FocusOut:
            m_ui.Label3[box]->setFrameStyle(QFrame::NoFrame);
            break;
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                Ok();
                return true;
            }
            if (key->key() == Qt::Key_Escape) {
                hide();
                return true;
            }
            break;
        }
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

void SearchWindow::closeEvent(QCloseEvent* event) {
    if (!m_main.program().KeepWindows) {
        event->accept();
        return;
    }
    hide();
    event->ignore();
}

}  // namespace books::ui
