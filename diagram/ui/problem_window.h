#pragma once
// The problem as it is published: the "Problem" window (Edit menu), where
// every field of the problem record is typed, and File > "Export LaTeX...",
// which writes the position and its record for the diagram package. Attach
// once after making the window:
//     new diagram::ui::ProblemCommands(window.host());
// (the host owns it).

#include <QObject>
#include <QWidget>

#include "position/problem_record.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace diagram::ui {

class Host;
struct Program;

/// The record the outputs of the problem use: the program's record, with
/// the solver window's stipulation (and moves), conditions and twins where
/// the record has none (program.solverProblem, which ProblemCommands keeps
/// from Host::solverFieldsChanged).
position::ProblemRecord RecordForOutput(const Program& program);

/// The window: one control per field of program().problem; each edit
/// writes the record at once. The count of the board is shown beside the
/// count typed, with a warning when they disagree. A secondary window
/// (Secondary::kProblem): placed beside the main window the first time,
/// hidden by its close box, closed with the main window.
class ProblemWindow : public QWidget {
    Q_OBJECT

  public:
    ProblemWindow(Host& host, QWidget* parent);

    /// Shows the fields of program().problem.
    void Load();
    /// Shows the board's count and the check of the count typed, and the
    /// preview of the diagram with its captions.
    void ShowCount();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Store();

    Host& m_host;
    bool m_loading = false;
    QPlainTextEdit* m_authors;
    QLineEdit* m_source;
    QLineEdit* m_date;
    QLineEdit* m_award;
    QLineEdit* m_stipulation;
    QLineEdit* m_conditions;
    QLineEdit* m_twins;
    QPlainTextEdit* m_legend;
    QPlainTextEdit* m_solution;
    QPlainTextEdit* m_remarks;
    QLineEdit* m_count;
    QLabel* m_countCheck;
    QLabel* m_preview;
};

/// The menu items and what they do; keeps program().solverProblem from
/// Host::solverFieldsChanged.
class ProblemCommands : public QObject {
    Q_OBJECT

  public:
    explicit ProblemCommands(Host& host);

    /// Edit > Problem: shows the window.
    void MNProblem();
    /// File > Export LaTeX: asks for the file and writes it; what the
    /// package cannot draw is said in a "Warning" box after writing.
    void MNExportLatex();
    /// Writes the LaTeX document of the current position to path; returns
    /// the message for the user ("" when written and complete).
    QString ExportLatex(const QString& path);

  private:
    Host& m_host;
};

}  // namespace diagram::ui
