#pragma once
// The diagram output commands of the main window: Save Image, Save Image As,
// Copy Image, Copy HTML and Print. Attach once after making the window:
//     new diagram::ui::OutputCommands(window);
// (the window owns it). It connects itself to the actions MNSave, MNSaveAs,
// MNPicture, MNHtml and MNPrint.

#include <QObject>
#include <QString>

#include "diagram/caption_layout.h"
#include "diagram/image_formats.h"

class QImage;
class QPainter;
class QPrinter;

namespace diagram {
struct RenderResult;
}

namespace diagram::ui {

class MainWindow;

/// What Print says when the system has no printer.
inline constexpr const char* kNoPrinterText =
    "No printer is installed, so the diagram cannot be printed.\n\n"
    "Add a printer in the system's printer settings, or save the diagram with "
    "File > Save Image As... as a PDF or PNG file and print that.";

/// Output commands of one main window.
class OutputCommands : public QObject {
    Q_OBJECT

  public:
    explicit OutputCommands(MainWindow& window);

    /// Save Image: writes the diagram picture as a BMP file under the image
    /// name (completed first) and puts the name in the window title. When the
    /// file cannot be written, says so in a "Warning" box and leaves the title.
    /// Returns true when the file was written.
    bool CmdSave();
    /// Save Image As: asks for a name in the file selection window; on
    /// confirmation makes it the image name and saves.
    void SaveImageAs();
    /// Copy Image: the diagram picture as a bitmap on the clipboard.
    void CopyImage();
    /// Copy HTML: the fragment of per-square GIF names on the clipboard.
    void CopyHtml();
    /// Print: on the default printer. When there is none, or it cannot be
    /// used, a "Warning" box says so and what to do instead.
    void Print();
    /// The printout on a given printer: the tally and FEN line, then the
    /// picture at (400, 400) twips. False when the printer could not be used.
    bool PrintOn(QPrinter& printer);
    /// The line Print writes: the tally label's caption and the FEN text box's text.
    QString PrintedLine() const;
    /// The problem's captions when they go on output, else none.
    CaptionText Captions() const;
    /// Draws the printout on a device of dpi dots per inch: line at the
    /// top-left corner, picture at (400, 400) twips, 15 twips to its pixel.
    static void PaintPrintout(QPainter& painter, int dpi, const QString& line, const QImage& picture);

  private:
    /// The window's diagram with its captions, encoded in a format.
    RenderResult Drawn(ImageFormat format) const;

    MainWindow& m_window;
};

}  // namespace diagram::ui
