#pragma once
// The desktop services the windows use, as interfaces, so that tests can put
// fakes in their place. Real implementations: qt_services.h; fakes:
// fake_services.h.

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <array>
#include <memory>

class QPrinter;
class QWidget;

namespace platform {

/// Text and pictures on the system clipboard.
class Clipboard {
  public:
    virtual ~Clipboard() = default;
    /// Empties the clipboard.
    virtual void Clear() = 0;
    /// The clipboard's text; "" when it holds no text.
    virtual QString Text() const = 0;
    /// Replaces the clipboard's content with text.
    virtual void SetText(const QString& text) = 0;
    /// The clipboard's picture; a null image when it holds none.
    virtual QImage Image() const = 0;
    /// Replaces the clipboard's content with a picture.
    virtual void SetImage(const QImage& image) = 0;
    /// Replaces the clipboard's content with a picture offered both as a
    /// bitmap and as SVG text ("image/svg+xml").
    virtual void SetImageAndSvg(const QImage& image, const QByteArray& svg) {
        (void)svg;
        SetImage(image);
    }
};

/// Buttons a message box offers.
enum class Buttons { kOk, kOkCancel, kYesNo, kYesNoCancel };
/// Icon of a message box.
enum class Icon { kExclamation, kError };
/// The button the user chose.
enum class Answer { kOk, kCancel, kYes, kNo };

/// Message boxes. All of the program's messages are titled "Warning".
class Messages {
  public:
    virtual ~Messages() = default;
    /// Shows text in a modal box titled "Warning" and returns the user's button.
    virtual Answer Warning(QWidget* parent, const QString& text, Buttons buttons = Buttons::kOk,
                           Icon icon = Icon::kExclamation) = 0;
};

/// Starting outside programs without waiting for them.
class Processes {
  public:
    virtual ~Processes() = default;
    /// Starts program with arguments in workDir ("" = the current folder) and
    /// returns at once. False when it could not be started. When pid is given
    /// it receives the id of the started process (0 when none is known).
    virtual bool StartDetached(const QString& program, const QStringList& arguments,
                               const QString& workDir = {}, qint64* pid = nullptr) = 0;
    /// True while the process StartDetached gave pid for still runs. Engines
    /// whose files must not be read before they are done are followed so.
    virtual bool IsRunning(qint64 pid) const = 0;
    /// Ends the process StartDetached gave pid for (a Stop command): asks it
    /// to end, then forces it. False when there was no such process.
    virtual bool Kill(qint64 pid) = 0;
};

/// The desktop's own viewers.
class Desktop {
  public:
    virtual ~Desktop() = default;
    /// Opens a URL (a local file too) with the desktop's viewer for it.
    /// False when no viewer could be started.
    virtual bool OpenUrl(const QUrl& url) = 0;
};

/// The system's printers.
class Printers {
  public:
    virtual ~Printers() = default;
    /// A printer set up for the default printer; nullptr when no printer is
    /// installed.
    virtual std::unique_ptr<QPrinter> DefaultPrinter() = 0;
};

/// The system colour chooser.
class ColorChooser {
  public:
    virtual ~ColorChooser() = default;
    /// Shows the chooser, owned by no window, with initial preselected and
    /// the 16 custom colours offered; custom keeps what the user left in
    /// them. Returns the chosen colour, or an invalid QColor on cancel.
    virtual QColor Choose(const QColor& initial, std::array<QColor, 16>& custom) = 0;
};

/// The services a window is given; none of the pointers may be null.
struct Services {
    Clipboard* clipboard = nullptr;
    Messages* messages = nullptr;
    Processes* processes = nullptr;
    Desktop* desktop = nullptr;
    ColorChooser* colors = nullptr;
    Printers* printers = nullptr;
};

/// The text every message box of the program carries as its title.
inline const char* const kWarningTitle = "Warning";

}  // namespace platform
