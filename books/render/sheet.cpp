// The sheet of diagrams: pages of a grid of diagrams, each above its caption,
// with the page number at the foot.

#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "books/convert.h"
#include "books/render/diagram_export.h"
#include "books/render/export_painter.h"
#include "platform/safe_files.h"

namespace books::render {

namespace {

constexpr double kCaptionPoints = 8;

QRectF ToRect(const Box& box) {
    return QRectF(box.x, box.y, box.width, box.height);
}

QString PageText(int page, int pages) {
    return QStringLiteral("Page %1 of %2").arg(page).arg(pages);
}

}  // namespace

ExportResult DrawSheet(ExportSource& source, const SheetOptions& options, QPainter& painter,
                       const std::function<bool()>& newPage, const ProgressFn& progress) {
    ExportResult result;
    const std::optional<SheetLayout> layout = LayoutSheet(options.perPage, options.paper, kCaptionPoints);
    if (!layout) {
        result.status = ExportStatus::kFailed;
        result.error = "cannot put " + std::to_string(options.perPage) + " diagrams on a page";
        return result;
    }
    Book& book = source.book;
    const std::string keptRecord = book.CurRecord;
    const int64_t keptNumber = book.CurRecNo;
    const GameRange range = ClampRange(options.games, static_cast<int64_t>(book.GameIndex.size()));
    const int64_t total = std::max<int64_t>(0, range.last - range.first + 1);
    const int pages = static_cast<int>(std::max<int64_t>(1, (total + options.perPage - 1) / options.perPage));

    // A problem collection names its stipulation in the Event tag: the
    // caption always shows it.
    std::vector<std::string> tags = options.tags;
    if (FormatOf(book.BookFile) == BookFormat::kPBM &&
        std::none_of(tags.begin(), tags.end(),
                     [](const std::string& t) { return settings::Upper(t) == "EVENT"; })) {
        tags.emplace_back("Event");
    }

    // The device's units are taken as points.
    const double unit = painter.device()->logicalDpiX() / 72.0;
    painter.save();
    painter.scale(unit, unit);
    // Sized so that, once scaled, the text is kCaptionPoints high, and the
    // metrics measure in points.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(kCaptionPoints / unit);
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    painter.setPen(Qt::black);
    // The diagrams are drawn as shapes and text; a bitmap style's cells stay
    // exact pictures, never recompressed with loss.
    painter.setRenderHint(QPainter::LosslessImageRendering);

    DiagramPainter diagrams(source.style, source.settings, source.styleNames);
    int page = 1;
    int slot = 0;
    const auto footer = [&] {
        painter.drawText(ToRect(layout->footer), Qt::AlignHCenter | Qt::AlignVCenter, PageText(page, pages));
    };
    for (int64_t n = range.first; n <= range.last; ++n) {
        if (slot == options.perPage) {
            footer();
            if (!newPage()) {
                result.status = ExportStatus::kFailed;
                result.error = "cannot start page " + std::to_string(page + 1);
                break;
            }
            ++page;
            slot = 0;
        }
        const GameDiagrams game = ReadGameDiagrams(book, n, PositionChoice::kFirst, diagrams.SwitchStyles());
        diagrams.Paint(game.positions.front(), painter, ToRect(layout->DiagramBox(slot)));
        const QRectF caption = ToRect(layout->CaptionBox(slot));
        const QString text = metrics.elidedText(QString::fromStdString(SheetCaption(game, tags)),
                                                Qt::ElideRight, caption.width());
        painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        ++slot;
        ++result.diagrams;
        if (progress && !progress(result.diagrams, total)) {
            result.status = ExportStatus::kStopped;
            break;
        }
    }
    if (result.status != ExportStatus::kFailed) {
        footer();
    }
    painter.restore();
    book.CurRecord = keptRecord;
    book.CurRecNo = keptNumber;
    return result;
}

ExportResult WriteSheet(ExportSource& source, const SheetOptions& options, const ProgressFn& progress) {
    ExportResult result;
    const QString path = QString::fromStdString(options.file);
    // Written under a new name of its own and renamed when whole: nothing
    // found at either name is written through.
    const platform::NewFile part = platform::CreateTemporary(platform::FolderOf(options.file),
                                                             "." + platform::NameOf(options.file), 0666);
    const QString temp = QString::fromStdString(part.path);
    QFile file(temp);
    if (!part || !file.open(part.fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        if (part) {
            ::close(part.fd);
            QFile::remove(temp);
        }
        result.status = ExportStatus::kFailed;
        result.error = "cannot write " + options.file + ": " + std::strerror(part ? EIO : part.error);
        return result;
    }
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(options.paper == Paper::kA4 ? QPageSize::A4 : QPageSize::Letter));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(72);
        writer.setCreator(QStringLiteral("Pandrel"));
        writer.setTitle(QFileInfo(path).completeBaseName());
        QPainter painter(&writer);
        result = DrawSheet(
            source, options, painter, [&writer] { return writer.newPage(); }, progress);
        painter.end();
    }
    const bool written = file.flush() && file.error() == QFileDevice::NoError;
    file.close();
    if (result.status == ExportStatus::kFailed || !written ||
        std::rename(temp.toLocal8Bit().constData(), path.toLocal8Bit().constData()) != 0) {
        if (result.status != ExportStatus::kFailed) {
            result.status = ExportStatus::kFailed;
            result.error = "cannot write " + options.file + ": " + file.errorString().toStdString();
        }
        QFile::remove(temp);
    }
    return result;
}

}  // namespace books::render
