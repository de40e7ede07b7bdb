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
#include "diagram/caption_layout.h"
#include "diagram/render/captions.h"
#include "platform/safe_files.h"
#include "position/problem_record.h"

namespace books::render {

namespace {

constexpr double kCaptionPoints = 8;

QRectF ToRect(const Box& box) {
    return QRectF(box.x, box.y, box.width, box.height);
}

QString PageText(int page, int pages) {
    return QStringLiteral("Page %1 of %2").arg(page).arg(pages);
}

// A game's diagram with its problem's captions in the classic layout: the
// lines above and below take their room from the cell, the diagram the rest,
// and every line is wrapped to the diagram's width (or, where the cell has
// too little room for so many lines, elided). The lines and the width depend
// on each other: the lines are wrapped to the cell's width first, then again
// to the diagram's until they stay the same. Returns the warning when
// the record names a count the board disagrees with.
std::string PaintCaptioned(DiagramPainter& diagrams, const GameDiagrams& game, QPainter& painter,
                           const QRectF& cell, const QFontMetricsF& metrics) {
    std::vector<position::RecordTag> tags;
    for (const Tag& tag : game.tags) {
        tags.emplace_back(tag.name, tag.value);
    }
    const position::ProblemRecord record = position::RecordFromTags(tags);
    const std::string& fen = game.positions.front();
    const double line = metrics.lineSpacing();
    QRectF board = diagrams.Place(fen, cell);
    const diagram::CaptionText c = diagram::CaptionsOf(record, diagrams.Count());
    const std::string warning = position::CountWarning(record, diagrams.Count());
    diagram::WrappedCaptions w;
    bool fits = false;
    // Wrapped where the cell has room for the lines, else one line a field.
    for (diagram::CaptionFit fit : {diagram::CaptionFit::kWrap, diagram::CaptionFit::kElide}) {
        double width = cell.width();
        for (int pass = 0; pass < 6 && !fits; ++pass) {
            w = diagram::WrapCaptions(c, painter.font(), painter.device(), width, fit);
            const QRectF room = cell.adjusted(0, w.LinesAbove() * line, 0, -w.LinesBelow() * line);
            if (room.height() < cell.height() / 3) {
                break;
            }
            board = diagrams.Place(fen, room);
            fits = !board.isEmpty() && board.width() >= width - 0.01;
            width = board.width();
        }
        if (fits) {
            break;
        }
    }
    if (!fits) {
        // Too little room for the captions: the diagram alone.
        diagrams.Paint(fen, painter, cell);
        return warning;
    }
    board = diagrams.Paint(fen, painter, board);
    if (board.isEmpty()) {
        return warning;
    }
    double y = board.top() - w.LinesAbove() * line + metrics.ascent();
    const auto draw = [&painter, &board, &y, line](const QStringList& lines) {
        for (const QString& text : lines) {
            painter.drawText(QPointF(board.left(), y), text);
            y += line;
        }
    };
    draw(w.above);
    y = board.bottom() + metrics.ascent();
    if (!w.count.isEmpty()) {
        painter.drawText(QPointF(board.right() - metrics.horizontalAdvance(w.count), y), w.count);
        if (!w.stipulationBeside || w.stipulation.isEmpty()) {
            y += line;
        }
    }
    draw(w.stipulation);
    draw(w.below);
    return warning;
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
    std::vector<std::string> answers;
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
        if (options.answers) {
            const std::string solution = game.TagValue("Solution");
            if (!solution.empty() && solution != "?") {
                answers.push_back(std::to_string(game.game) + ". " + solution);
            }
        }
        if (options.captions) {
            const std::string warning =
                PaintCaptioned(diagrams, game, painter, ToRect(layout->DiagramBox(slot)), metrics);
            if (!warning.empty()) {
                result.warnings.push_back("game " + std::to_string(game.game) + ": " + warning);
            }
        } else {
            diagrams.Paint(game.positions.front(), painter, ToRect(layout->DiagramBox(slot)));
        }
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
    if (result.status == ExportStatus::kDone && !answers.empty()) {
        // The solutions on pages of their own, after the diagrams.
        const QRectF area = ToRect(layout->area);
        bool started = newPage();
        double y = area.top();
        for (const std::string& answer : answers) {
            const QString text = QString::fromStdString(answer);
            const QRectF needed =
                metrics.boundingRect(QRectF(area.left(), 0, area.width(), 1e6), Qt::TextWordWrap, text);
            if (started && y + needed.height() > area.bottom() && y > area.top()) {
                started = newPage();
                y = area.top();
            }
            if (!started) {
                result.status = ExportStatus::kFailed;
                result.error = "cannot start the page of the solutions";
                break;
            }
            painter.drawText(QRectF(area.left(), y, area.width(), needed.height()), Qt::TextWordWrap, text);
            y += needed.height() + metrics.lineSpacing() / 2;
        }
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
