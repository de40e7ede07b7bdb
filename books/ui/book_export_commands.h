#pragma once
// The File menu's book export items: "Export Book Diagrams..." writes one
// diagram per game of the open book into a folder (as pandrel-cli
// render-book), "Print Book Sheet..." writes the pages of diagrams with
// captions as a PDF file or prints them. Both run with the style in force,
// show their progress in the book label and stop at Escape.

#include <QObject>
#include <string>

#include "books/render/diagram_export.h"

class QAction;
class QComboBox;
class QDialog;
class QLineEdit;

namespace diagram::ui {
class Host;
}

namespace books::ui {

/// The export commands of the main window. Lives as a child of the window.
class BookExportCommands : public QObject {
    Q_OBJECT

  public:
    /// Adds the two File menu items after "Cl&ose book"; they are enabled
    /// while a book is open.
    explicit BookExportCommands(diagram::ui::Host& host);

    /// "Export Book Diagrams...": a folder and a format through the file
    /// selection window, then ExportTo.
    void MNExportBook();
    /// "Print Book Sheet...": the sheet window (diagrams a page, paper,
    /// caption tags), then a PDF file through the file selection window, or
    /// the printer.
    void MNPrintSheet();

    /// Writes the diagrams of every game of the book's list into folder.
    /// Failures are told in a Warning box.
    render::ExportResult ExportTo(const std::string& folder, render::ImageFormat format);
    /// Writes the sheet as a PDF file. Failures are told in a Warning box.
    render::ExportResult SheetTo(const render::SheetOptions& options);

    /// True while an export runs.
    bool Running() const { return m_running; }

    QAction* exportAction() const { return m_export; }
    QAction* sheetAction() const { return m_sheet; }

  protected:
    /// While an export runs: Escape stops it, other input waits.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    render::ExportSource Source();
    render::ProgressFn Progress();
    void Begin();
    void End(const render::ExportResult& result);
    void PrintSheet(const render::SheetOptions& options);

    diagram::ui::Host& m_host;
    QAction* m_export = nullptr;
    QAction* m_sheet = nullptr;
    bool m_running = false;
    bool m_stop = false;
    qint64 m_lastShown = 0;
};

/// Attaches the export commands to the main window (owned by it).
BookExportCommands* AttachBookExport(diagram::ui::Host& host);

}  // namespace books::ui
