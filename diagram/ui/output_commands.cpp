#include "diagram/ui/output_commands.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFontMetricsF>
#include <QImageWriter>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <memory>

#include "diagram/fairy_exchange.h"
#include "diagram/geometry.h"
#include "diagram/output.h"
#include "diagram/render/captions.h"
#include "diagram/render/render.h"
#include "diagram/seek.h"
#include "diagram/ui/fen_box.h"
#include "diagram/ui/main_window.h"
#include "diagram/ui/problem_window.h"
#include "diagram/ui/win_seek.h"
#include "settings/app_dir.h"

namespace diagram::ui {

namespace {

// Hourglass for the length of a command.
class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

OutputCommands::OutputCommands(MainWindow& window) : QObject(&window), m_window(window) {
    setObjectName("OutputCommands");
    const auto bind = [this](const char* name, auto slot) {
        if (QAction* action = m_window.action(name)) {
            connect(action, &QAction::triggered, this, slot);
        }
    };
    bind("MNSave", [this] { CmdSave(); });
    bind("MNSaveAs", [this] { SaveImageAs(); });
    bind("MNPicture", [this] { CopyImage(); });
    bind("MNHtml", [this] { CopyHtml(); });
    bind("MNPrint", [this] { Print(); });
}

bool OutputCommands::CmdSave() {
    diagram::ui::Program& program = m_window.program();
    program.ImageName = CompleteImageName(program.ImageName);
    const QString path =
        QString::fromStdString(settings::InAppDir(program.settings.AppDir, program.ImageName));
    bool written = false;
    {
        const WaitCursor wait;
        // The format follows the name: BMP as ever, or PNG, SVG, PDF.
        written =
            WriteRendered(Drawn(FormatOfName(program.ImageName)), QFile::encodeName(path).toStdString());
    }
    if (!written) {
        // The title names the file last saved, so it stays as it was.
        m_window.services().messages->Warning(&m_window,
                                              QString("The image could not be saved as %1").arg(path));
        return false;
    }
    m_window.setWindowTitle(QString::fromStdString(SavedTitle(program.ImageName)));
    return true;
}

void OutputCommands::SaveImageAs() {
    diagram::ui::Program& program = m_window.program();
    WinSeek& seek = WinSeek::Of(m_window.host());
    if (!seek.Seek(kSeekSaveImageAs)) {
        return;
    }
    program.ImageName = seek.fileName().toStdString();
    CmdSave();
}

void OutputCommands::CopyImage() {
    platform::Clipboard& clipboard = *m_window.services().clipboard;
    clipboard.Clear();
    clipboard.SetImageAndSvg(Drawn(ImageFormat::kBmp).image, Drawn(ImageFormat::kSvg).bytes);
}

void OutputCommands::CopyHtml() {
    const diagram::ui::Program& program = m_window.program();
    platform::Clipboard& clipboard = *m_window.services().clipboard;
    clipboard.Clear();
    clipboard.SetText(QString::fromStdString(HtmlFragment(program.vet, program.Shape())));
}

void OutputCommands::Print() {
    platform::Messages& messages = *m_window.services().messages;
    const std::unique_ptr<QPrinter> printer = m_window.services().printers->DefaultPrinter();
    if (printer == nullptr) {
        // A command that does nothing at all leaves the user guessing.
        messages.Warning(&m_window, QString::fromLatin1(kNoPrinterText));
        return;
    }
    if (!PrintOn(*printer)) {
        messages.Warning(&m_window, QStringLiteral("The printer \"%1\" could not be used. Check it in the "
                                                   "system's printer settings, or save the diagram with "
                                                   "File > Save Image As... as a PDF file and print that.")
                                        .arg(printer->printerName()));
    }
}

bool OutputCommands::PrintOn(QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    PaintPrintout(painter, printer.resolution(), PrintedLine(), Drawn(ImageFormat::kBmp).image);
    return painter.end();
}

RenderResult OutputCommands::Drawn(ImageFormat format) const {
    // The picture the window shows, as drawn square by square with the
    // strokes drawn into it, or for a drawing the same board afresh.
    RenderOptions options;
    options.format = format;
    options.captions = Captions();
    return EncodeDrawn(m_window.renderer(), m_window.program().vet, options);
}

CaptionText OutputCommands::Captions() const {
    const diagram::ui::Program& program = m_window.program();
    if (!program.CaptionsOnOutput) {
        return {};
    }
    return CaptionsOf(RecordForOutput(program), position::CountMen(program.vet, FairyStyleOf(program.style)));
}

QString OutputCommands::PrintedLine() const {
    return QString::fromStdString(
        PrintLine(m_window.Label3()->text().toStdString(), m_window.Text1()->text().toStdString()));
}

void OutputCommands::PaintPrintout(QPainter& painter, int dpi, const QString& line, const QImage& picture) {
    const QFontMetricsF metrics(painter.font(), painter.device());
    painter.drawText(QPointF(0, metrics.ascent()), line);
    // The picture at its natural size: each pixel is 15 twips on the page.
    const QRectF target(TwipsToDevice(kPrintPictureX, dpi), TwipsToDevice(kPrintPictureY, dpi),
                        TwipsToDevice(picture.width() * double(kTwipsPerPixel), dpi),
                        TwipsToDevice(picture.height() * double(kTwipsPerPixel), dpi));
    painter.drawImage(target, picture);
}

}  // namespace diagram::ui
