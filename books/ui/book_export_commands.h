#pragma once
// The File menu's book export items: "Export Book Diagrams..." writes one
// diagram per game of the open book into a folder (as pandrel-cli
// render-book), "Print Book Sheet..." writes the pages of diagrams with
// captions as a PDF file or prints them. Both run with the style in force,
// show their progress in the book label and stop at Escape.

#include <QObject>
#include <optional>
#include <string>

#include "books/book_export.h"
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

    /// "Export Book Diagrams...": the export window (the positions of each
    /// game: first, last or all, as chosen the last time), then a folder and
    /// a format through the file selection window, then ExportTo.
    void MNExportBook();
    /// "Print Book Sheet...": the sheet window (diagrams a page, paper,
    /// caption tags), then a PDF file through the file selection window, or
    /// the printer.
    void MNPrintSheet();

    /// Writes the diagrams of every game of the book's list into folder,
    /// named as pandrel-cli render-book names them. Failures are told in a
    /// Warning box.
    render::ExportResult ExportTo(const std::string& folder, render::ImageFormat format,
                                  PositionChoice positions = PositionChoice::kFirst);

    /// The positions the export window offers first: the last choice of
    /// this run, else the one the settings file kept, else the first.
    PositionChoice RememberedPositions() const;
    /// Keeps a choice of positions for the next export and the settings
    /// file.
    void RememberPositions(PositionChoice positions);
    /// Puts the choice of this run, if any, back into the settings before
    /// they are written: reading a style's block since the choice takes
    /// them back to the file's older value.
    void StoreChoice();
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
    std::optional<PositionChoice> AskPositions();

    diagram::ui::Host& m_host;
    QAction* m_export = nullptr;
    QAction* m_sheet = nullptr;
    bool m_running = false;
    bool m_stop = false;
    qint64 m_lastShown = 0;
    // Chosen in this run (see StoreChoice).
    std::optional<PositionChoice> m_positions;
};

/// Attaches the export commands to the main window (owned by it).
BookExportCommands* AttachBookExport(diagram::ui::Host& host);

}  // namespace books::ui
