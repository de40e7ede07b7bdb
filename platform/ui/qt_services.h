#pragma once
// The desktop services as Qt provides them.

#include "platform/ui/services.h"

namespace platform {

/// System clipboard (QGuiApplication::clipboard()).
class QtClipboard : public Clipboard {
  public:
    void Clear() override;
    QString Text() const override;
    void SetText(const QString& text) override;
    QImage Image() const override;
    void SetImage(const QImage& image) override;
    void SetImageAndSvg(const QImage& image, const QByteArray& svg) override;
};

/// QMessageBox titled "Warning".
class QtMessages : public Messages {
  public:
    Answer Warning(QWidget* parent, const QString& text, Buttons buttons, Icon icon) override;
};

/// QProcess::startDetached.
class QtProcesses : public Processes {
  public:
    bool StartDetached(const QString& program, const QStringList& arguments, const QString& workDir,
                       qint64* pid) override;
    bool IsRunning(qint64 pid) const override;
    bool Kill(qint64 pid) override;
};

/// QDesktopServices::openUrl.
class QtDesktop : public Desktop {
  public:
    bool OpenUrl(const QUrl& url) override;
};

/// QColorDialog.
class QtColorChooser : public ColorChooser {
  public:
    QColor Choose(const QColor& initial, std::array<QColor, 16>& custom) override;
};

/// QPrinterInfo::defaultPrinter.
class QtPrinters : public Printers {
  public:
    std::unique_ptr<QPrinter> DefaultPrinter() override;
};

/// All real services in one place; services() hands them out.
class QtServices {
  public:
    Services services() {
        return {&m_clipboard, &m_messages, &m_processes, &m_desktop, &m_colors, &m_printers};
    }

  private:
    QtClipboard m_clipboard;
    QtMessages m_messages;
    QtProcesses m_processes;
    QtDesktop m_desktop;
    QtColorChooser m_colors;
    QtPrinters m_printers;
};

}  // namespace platform
