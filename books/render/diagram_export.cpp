#include "books/render/diagram_export.h"

#include <filesystem>

#include "books/render/export_painter.h"
#include "settings/style.h"

namespace books::render {

namespace {

// Keeps the book panel's current record as it was, whatever the export read.
class KeepCurrentRecord {
  public:
    explicit KeepCurrentRecord(Book& book)
        : m_book(book), m_record(book.CurRecord), m_number(book.CurRecNo) {}
    ~KeepCurrentRecord() {
        m_book.CurRecord = m_record;
        m_book.CurRecNo = m_number;
    }
    KeepCurrentRecord(const KeepCurrentRecord&) = delete;
    KeepCurrentRecord& operator=(const KeepCurrentRecord&) = delete;

  private:
    Book& m_book;
    std::string m_record;
    int64_t m_number;
};

bool MakeFolder(const std::string& folder, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!ec && std::filesystem::is_directory(folder, ec)) {
        return true;
    }
    error = "cannot make the folder " + folder +
            (ec ? ": " + ec.message() : ": a file of that name is in the way");
    return false;
}

std::string Join(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

}  // namespace

std::optional<ImageFormat> ParseImageFormat(std::string_view text) {
    return diagram::ParseFormat(text);
}

const char* Extension(ImageFormat format) {
    return diagram::FormatName(format);
}

std::optional<std::string> CheckScale(const settings::Style& style, double scale) {
    if (scale == 1) {
        return std::nullopt;
    }
    settings::Style probe = style;
    return diagram::ScaleStyle(probe, scale);
}

ExportResult ExportImages(ExportSource& source, const ImageOptions& options, const ProgressFn& progress) {
    ExportResult result;
    if (const auto reason = CheckScale(source.style, options.scale)) {
        result.status = ExportStatus::kFailed;
        result.error = "cannot draw at that scale: " + *reason;
        return result;
    }
    if (!MakeFolder(options.folder, result.error)) {
        result.status = ExportStatus::kFailed;
        return result;
    }
    Book& book = source.book;
    const KeepCurrentRecord keep(book);
    const GameRange range = ClampRange(options.games, static_cast<int64_t>(book.GameIndex.size()));
    const bool all = options.positions == PositionChoice::kAll;
    const PositionCounts counts = all ? CountPositions(book, range) : PositionCounts{};
    const int64_t total = all ? counts.total : std::max<int64_t>(0, range.last - range.first + 1);
    const int gameWidth =
        DigitCount(std::max<int64_t>(book.NGames, static_cast<int64_t>(book.FullIndex.size())));
    const int positionWidth = DigitCount(counts.most);
    const char* extension = Extension(options.format);

    IndexFile index;
    if (!index.Open(Join(options.folder, "index.csv"), result.error)) {
        result.status = ExportStatus::kFailed;
        return result;
    }
    DiagramPainter painter(source.style, source.settings, source.styleNames, options.scale);
    QByteArray bytes;
    bool going = true;
    for (int64_t n = range.first; going && n <= range.last; ++n) {
        const GameDiagrams game = ReadGameDiagrams(book, n, options.positions, painter.SwitchStyles());
        position::ProblemRecord record;
        if (options.captions) {
            std::vector<position::RecordTag> tags;
            for (const Tag& tag : game.tags) {
                tags.emplace_back(tag.name, tag.value);
            }
            record = position::RecordFromTags(tags);
        }
        for (size_t k = 0; going && k < game.positions.size(); ++k) {
            const std::string name = DiagramFileName(
                game.game, gameWidth, all ? static_cast<int64_t>(k) + 1 : 0, positionWidth, extension);
            bytes.clear();
            if (!painter.Encode(game.positions[k], options.format, record, bytes)) {
                result.status = ExportStatus::kFailed;
                result.error = "cannot draw the diagram " + name + ": " + painter.error();
                going = false;
                break;
            }
            if (!WriteCompleteFile(Join(options.folder, name),
                                   std::string_view(bytes.constData(), bytes.size()), result.error) ||
                !index.Add(game, name, result.error)) {
                result.status = ExportStatus::kFailed;
                going = false;
                break;
            }
            // The record's count is of the problem's position, the game's
            // first.
            if (k == 0 && options.positions != PositionChoice::kLast && !record.count.empty()) {
                const std::string warning = position::CountWarning(record, painter.Count());
                if (!warning.empty()) {
                    result.warnings.push_back("game " + std::to_string(game.game) + ": " + warning);
                }
            }
            ++result.diagrams;
            if (progress && !progress(result.diagrams, total)) {
                result.status = ExportStatus::kStopped;
                going = false;
            }
        }
    }
    std::string indexError;
    if (!index.Finish(indexError) && result.status != ExportStatus::kFailed) {
        result.status = ExportStatus::kFailed;
        result.error = indexError;
    }
    return result;
}

}  // namespace books::render
