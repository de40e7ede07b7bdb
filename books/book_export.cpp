#include "books/book_export.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "books/navigation.h"
#include "platform/safe_files.h"
#include "settings/settings_file.h"

namespace books {

namespace {

bool ParseNumber(std::string_view text, int64_t& value) {
    if (text.empty()) {
        return false;
    }
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

std::string Padded(int64_t n, int width) {
    std::string digits = std::to_string(n);
    if (static_cast<int>(digits.size()) < width) {
        digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
    }
    return digits;
}

bool IsPosition(const std::string& record) {
    return record.size() > 1 && record[1] == kEntry;
}

// Where the n-th game of the index ends, and the positions it holds.
struct GameSpan {
    int64_t lastPosition = 0;  // its last position record (0 when it has none)
    int64_t positions = 0;
};

GameSpan SpanOf(const Book& book, int64_t n) {
    GameSpan span;
    if (n < 1 || n > static_cast<int64_t>(book.GameIndex.size())) {
        return span;
    }
    constexpr int64_t kChunk = 256;
    std::vector<char> buffer(static_cast<size_t>(kChunk * kRecordLength));
    int64_t record = book.GameIndex[static_cast<size_t>(n - 1)];
    std::string field;
    while (record >= 1 && record <= book.NRecords) {
        const int64_t got =
            book.ReadRecords(record, std::min(kChunk, book.NRecords - record + 1), buffer.data());
        if (got < 1) {
            break;
        }
        for (int64_t k = 0; k < got; ++k) {
            const char* r = buffer.data() + k * kRecordLength;
            if (field.empty()) {
                field.assign(r + 2, kFieldLength);
            } else if (field.compare(0, kFieldLength, r + 2, kFieldLength) != 0) {
                return span;
            }
            // Continuation records are part of the position before them.
            if (r[1] == kEntry) {
                span.lastPosition = record + k;
                ++span.positions;
            }
        }
        record += got;
    }
    return span;
}

}  // namespace

std::optional<PositionChoice> ParsePositionChoice(std::string_view text) {
    if (text == "first") {
        return PositionChoice::kFirst;
    }
    if (text == "last") {
        return PositionChoice::kLast;
    }
    if (text == "all") {
        return PositionChoice::kAll;
    }
    return std::nullopt;
}

const char* PositionChoiceName(PositionChoice choice) {
    switch (choice) {
        case PositionChoice::kLast:
            return "last";
        case PositionChoice::kAll:
            return "all";
        case PositionChoice::kFirst:
            break;
    }
    return "first";
}

std::optional<GameRange> ParseGameRange(std::string_view text) {
    GameRange range;
    const size_t dash = text.find('-');
    if (dash == std::string_view::npos) {
        if (!ParseNumber(text, range.first)) {
            return std::nullopt;
        }
        range.last = range.first;
    } else {
        const std::string_view from = text.substr(0, dash);
        const std::string_view to = text.substr(dash + 1);
        if (from.empty() && to.empty()) {
            return std::nullopt;
        }
        if (!from.empty() && !ParseNumber(from, range.first)) {
            return std::nullopt;
        }
        if (!to.empty() && !ParseNumber(to, range.last)) {
            return std::nullopt;
        }
    }
    if (range.first < 1 || range.last < range.first) {
        return std::nullopt;
    }
    return range;
}

GameRange ClampRange(GameRange range, int64_t games) {
    range.last = std::min(range.last, games);
    return range;
}

int DigitCount(int64_t n) {
    int digits = 1;
    while (n >= 10) {
        n /= 10;
        ++digits;
    }
    return digits;
}

std::string DiagramFileName(int64_t game, int gameWidth, int64_t position, int positionWidth,
                            std::string_view extension) {
    std::string name = Padded(game, gameWidth);
    if (position > 0) {
        name += '-';
        name += Padded(position, positionWidth);
    }
    name += '.';
    name += extension;
    return name;
}

std::string CsvField(std::string_view text) {
    const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote) {
        return std::string(text);
    }
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
    return out;
}

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            line += ',';
        }
        line += CsvField(fields[i]);
    }
    line += '\n';
    return line;
}

std::string IndexHeader() {
    std::vector<std::string> fields = {"Game", "File"};
    for (const char* tag : kIndexTags) {
        fields.emplace_back(tag);
    }
    return CsvLine(fields);
}

std::optional<Tag> ParseTag(std::string_view text) {
    text = settings::Trim(text);
    if (text.size() < 2 || text[0] != '[') {
        return std::nullopt;
    }
    Tag tag;
    const size_t nameEnd = text.find_first_of(" \t\"]", 1);
    tag.name.assign(text.substr(1, (nameEnd == std::string_view::npos ? text.size() : nameEnd) - 1));
    if (tag.name.empty()) {
        return std::nullopt;
    }
    const size_t open = text.find('"');
    if (open == std::string_view::npos) {
        // An operation of an EPD line ("[bm Nf3]"): the rest up to the bracket.
        if (nameEnd != std::string_view::npos) {
            std::string_view rest = text.substr(nameEnd);
            if (!rest.empty() && rest.back() == ']') {
                rest.remove_suffix(1);
            }
            tag.value.assign(settings::Trim(rest));
        }
        return tag;
    }
    // The value ends at the last quote: a value that holds unescaped quotes
    // (as problem files may) stays whole.
    size_t close = text.rfind('"');
    if (close == open) {
        close = text.size();
    }
    const std::string_view raw = text.substr(open + 1, close - open - 1);
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\' && i + 1 < raw.size() && (raw[i + 1] == '"' || raw[i + 1] == '\\')) {
            ++i;
        }
        tag.value += raw[i];
    }
    return tag;
}

std::string GameDiagrams::TagValue(std::string_view name) const {
    const std::string wanted = settings::Upper(name);
    for (const Tag& tag : tags) {
        if (settings::Upper(tag.name) == wanted) {
            return tag.value;
        }
    }
    return {};
}

int64_t BookGameNumber(const Book& book, int64_t n) {
    if (n < 1 || n > static_cast<int64_t>(book.GameIndex.size())) {
        return n;
    }
    const int64_t record = book.GameIndex[static_cast<size_t>(n - 1)];
    const auto at = std::lower_bound(book.FullIndex.begin(), book.FullIndex.end(), record);
    if (at == book.FullIndex.end() || *at != record) {
        return n;
    }
    return static_cast<int64_t>(at - book.FullIndex.begin()) + 1;
}

GameDiagrams ReadGameDiagrams(Book& book, int64_t n, PositionChoice choice, const StyleHook& applyStyles) {
    GameDiagrams game;
    game.game = BookGameNumber(book, n);
    // The tags, and the Style values exactly as the first-position button
    // takes them.
    bool ok = book.ReadGame(n);
    while (ok && !IsPosition(book.CurRecord)) {
        const std::string t = DelComment(book.CurRecord);
        if (settings::Upper(std::string_view(t).substr(0, 6)) == "[STYLE") {
            const size_t open = t.find('"');
            const size_t close = open == std::string::npos ? open : t.find('"', open + 1);
            if (close != std::string::npos) {
                game.styles.push_back(t.substr(open + 1, close - open - 1));
            }
        }
        if (std::optional<Tag> tag = ParseTag(t)) {
            game.tags.push_back(std::move(*tag));
        }
        ok = book.NextRecord();
    }
    const position::BoardShape shape = applyStyles ? applyStyles(game.styles) : position::BoardShape{};
    if (!ok) {
        // A game that cannot be read shows the empty placement.
        game.positions.push_back(ShowRecord(book, shape).fen);
        return game;
    }
    game.positionCount = 1;
    switch (choice) {
        case PositionChoice::kFirst:
        case PositionChoice::kLast: {
            // The rest of the game is counted (and its last record found)
            // in reads of many records, not one read a record.
            const GameSpan span = SpanOf(book, n);
            game.positionCount = std::max<int64_t>(1, span.positions);
            if (choice == PositionChoice::kLast && span.lastPosition > book.CurRecNo &&
                book.ReadRecord(span.lastPosition, book.CurRecord)) {
                book.CurRecNo = span.lastPosition;
            }
            game.positions.push_back(ShowRecord(book, shape).fen);
            break;
        }
        case PositionChoice::kAll:
            game.positions.push_back(ShowRecord(book, shape).fen);
            while (book.NextRecord()) {
                if (IsPosition(book.CurRecord)) {
                    ++game.positionCount;
                    game.positions.push_back(ShowRecord(book, shape).fen);
                }
            }
            break;
    }
    return game;
}

int64_t PositionsOf(const Book& book, int64_t n) {
    return SpanOf(book, n).positions;
}

PositionCounts CountPositions(const Book& book, GameRange range) {
    range = ClampRange(range, static_cast<int64_t>(book.GameIndex.size()));
    PositionCounts counts;
    for (int64_t n = range.first; n <= range.last; ++n) {
        const int64_t count = std::max<int64_t>(PositionsOf(book, n), 1);
        counts.most = std::max(counts.most, count);
        counts.total += count;
    }
    return counts;
}

void DropUnfinishedGame(Book& book) {
    const int64_t last = static_cast<int64_t>(book.GameIndex.size());
    if (last > 0 && PositionsOf(book, last) == 0) {
        book.GameIndex.pop_back();
        if (book.FullIndex.size() > book.GameIndex.size()) {
            book.FullIndex.pop_back();
        }
        book.NGames = std::max<int64_t>(0, book.NGames - 1);
    }
}

namespace {

std::string Reason(int error) {
    return std::strerror(error);
}

}  // namespace

bool WriteCompleteFile(const std::string& path, std::string_view bytes, std::string& error) {
    // Under a name of its own first, renamed when whole: a file or link
    // found at either name is never written through.
    if (!platform::WriteOutputFile(path, bytes)) {
        error = "cannot write " + path + ": " + Reason(errno);
        return false;
    }
    return true;
}

IndexFile::~IndexFile() {
    if (m_file != nullptr) {
        std::fclose(m_file);
        ::unlink(m_temp.c_str());
    }
}

bool IndexFile::Open(const std::string& path, std::string& error) {
    m_path = path;
    platform::NewFile temp =
        platform::CreateTemporary(platform::FolderOf(path), "." + platform::NameOf(path), 0666);
    m_file = temp ? ::fdopen(temp.fd, "wb") : nullptr;
    if (m_file == nullptr) {
        const int failure = temp ? errno : temp.error;
        if (temp) {
            ::close(temp.fd);
            ::unlink(temp.path.c_str());
        }
        error = "cannot write " + path + ": " + Reason(failure);
        return false;
    }
    m_temp = temp.path;
    const std::string header = IndexHeader();
    if (std::fwrite(header.data(), 1, header.size(), m_file) != header.size()) {
        error = "cannot write " + path + ": " + Reason(errno);
        return false;
    }
    return true;
}

bool IndexFile::Add(const GameDiagrams& game, const std::string& fileName, std::string& error) {
    if (m_file == nullptr) {
        return false;
    }
    std::vector<std::string> fields = {std::to_string(game.game), fileName};
    for (const char* tag : kIndexTags) {
        fields.push_back(game.TagValue(tag));
    }
    const std::string line = CsvLine(fields);
    if (std::fwrite(line.data(), 1, line.size(), m_file) != line.size()) {
        error = "cannot write " + m_path + ": " + Reason(errno);
        return false;
    }
    return true;
}

bool IndexFile::Finish(std::string& error) {
    if (m_file == nullptr) {
        return false;
    }
    std::FILE* file = m_file;
    m_file = nullptr;
    const bool written = std::fflush(file) == 0 && std::ferror(file) == 0;
    const int failure = written ? 0 : errno;
    if (std::fclose(file) != 0 || !written || ::rename(m_temp.c_str(), m_path.c_str()) != 0) {
        error = "cannot write " + m_path + ": " + Reason(failure != 0 ? failure : errno);
        ::unlink(m_temp.c_str());
        return false;
    }
    return true;
}

StyleSwitcher::StyleSwitcher(settings::Style& style, settings::ProgramSettings& program,
                             std::vector<std::string> names)
    : m_style(style), m_program(program), m_names(std::move(names)) {}

bool StyleSwitcher::Apply(const std::vector<std::string>& values) {
    bool changed = false;
    for (const std::string& value : values) {
        const std::string wanted = settings::Upper(value);
        if (wanted == settings::Upper(m_style.CurrentStyle)) {
            continue;
        }
        const auto known = std::find_if(m_names.begin(), m_names.end(), [&](const std::string& name) {
            return settings::Upper(name) == wanted;
        });
        if (known == m_names.end()) {
            continue;
        }
        m_style.CurrentStyle = *known;
        settings::ReadSettings(m_style, m_program);
        changed = true;
    }
    return changed;
}

}  // namespace books
