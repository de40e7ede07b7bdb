#pragma once
// Stand-ins for the desktop services that record what was asked of them;
// for window tests.

#include <QPrinter>
#include <vector>

#include "platform/ui/services.h"

namespace platform {

/// A clipboard in memory.
class FakeClipboard : public Clipboard {
  public:
    void Clear() override {
        text.clear();
        image = QImage();
    }
    QString Text() const override { return text; }
    void SetText(const QString& t) override {
        text = t;
        image = QImage();
    }
    QImage Image() const override { return image; }
    void SetImage(const QImage& i) override {
        image = i;
        text.clear();
        svg.clear();
    }
    void SetImageAndSvg(const QImage& i, const QByteArray& s) override {
        SetImage(i);
        svg = s;
    }

    QString text;
    QImage image;
    QByteArray svg;
};

/// Records every message and answers with `answer`.
class FakeMessages : public Messages {
  public:
    struct Message {
        QString text;
        Buttons buttons;
        Icon icon;
    };
    Answer Warning(QWidget*, const QString& text, Buttons buttons, Icon icon) override {
        shown.push_back({text, buttons, icon});
        return answer;
    }

    std::vector<Message> shown;
    Answer answer = Answer::kOk;
};

/// Records every start and succeeds unless `fail` is set. Started processes
/// get the ids 1, 2, ... and count as running while `running` is set.
class FakeProcesses : public Processes {
  public:
    struct Start {
        QString program;
        QStringList arguments;
        QString workDir;
    };
    bool StartDetached(const QString& program, const QStringList& arguments, const QString& workDir,
                       qint64* pid) override {
        started.push_back({program, arguments, workDir});
        if (pid != nullptr) {
            *pid = fail ? 0 : static_cast<qint64>(started.size());
        }
        return !fail;
    }
    bool IsRunning(qint64 pid) const override { return running && pid > 0; }
    bool Kill(qint64 pid) override {
        killed.push_back(pid);
        const bool was = running && pid > 0;
        running = false;
        return was;
    }

    std::vector<Start> started;
    std::vector<qint64> killed;
    bool fail = false;
    bool running = false;
};

/// Records every URL and succeeds unless `fail` is set.
class FakeDesktop : public Desktop {
  public:
    bool OpenUrl(const QUrl& url) override {
        opened.push_back(url);
        return !fail;
    }

    std::vector<QUrl> opened;
    bool fail = false;
};

/// Records the colours offered and answers with `answer` (invalid = cancel);
/// sets the first custom colour to `customAfter` when that is valid.
class FakeColorChooser : public ColorChooser {
  public:
    QColor Choose(const QColor& initial, std::array<QColor, 16>& custom) override {
        offered.push_back(initial);
        customSeen = custom;
        if (customAfter.isValid()) {
            custom[0] = customAfter;
        }
        return answer;
    }

    std::vector<QColor> offered;
    std::array<QColor, 16> customSeen;
    QColor answer;
    QColor customAfter;
};

/// No printer unless `pdfFile` is set: then the default printer writes PDF
/// pages into that file. Counts the times a printer was asked for.
class FakePrinters : public Printers {
  public:
    std::unique_ptr<QPrinter> DefaultPrinter() override {
        ++asked;
        if (pdfFile.isEmpty()) {
            return nullptr;
        }
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdfFile);
        return printer;
    }

    QString pdfFile;
    int asked = 0;
};

/// All fakes in one place; services() hands them out.
struct FakeServices {
    FakeClipboard clipboard;
    FakeMessages messages;
    FakeProcesses processes;
    FakeDesktop desktop;
    FakeColorChooser colors;
    FakePrinters printers;

    Services services() { return {&clipboard, &messages, &processes, &desktop, &colors, &printers}; }
};

}  // namespace platform
