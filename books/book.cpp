#include "books/book.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/safe_files.h"

namespace books {

namespace {

// Records gathered before one write: about 130 KB.
constexpr size_t kBufferedRecords = 1000;

off_t Offset(int64_t n) {
    return static_cast<off_t>((n - 1) * kRecordLength);
}

// Writes all of data at offset, retrying short writes.
bool WriteAll(int fd, const char* data, size_t size, off_t at) {
    while (size > 0) {
        const ssize_t done = ::pwrite(fd, data, size, at);
        if (done < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (done == 0) {
            errno = ENOSPC;  // nothing taken and no reason given: the disk is full
            return false;
        }
        data += done;
        size -= static_cast<size_t>(done);
        at += done;
    }
    return true;
}

// Reads up to size bytes at offset; returns how many were read.
size_t ReadAt(int fd, char* data, size_t size, off_t at) {
    size_t got = 0;
    while (got < size) {
        const ssize_t done = ::pread(fd, data + got, size - got, at + static_cast<off_t>(got));
        if (done < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if (done == 0) {
            break;
        }
        got += static_cast<size_t>(done);
    }
    return got;
}

}  // namespace

std::string GameField(int64_t n) {
    std::string digits = std::to_string(n);
    if (digits.size() > kFieldLength) {
        return digits.substr(digits.size() - kFieldLength);
    }
    return std::string(kFieldLength - digits.size(), ' ') + digits;
}

void FormatRecord(char kind, std::string_view field, std::string_view text, char* out) {
    out[0] = '?';
    out[1] = kind;
    const size_t f = std::min<size_t>(field.size(), kFieldLength);
    std::memcpy(out + 2, field.data(), f);
    std::memset(out + 2 + f, ' ', kFieldLength - f);
    const size_t t = std::min<size_t>(text.size(), kTextLength);
    std::memcpy(out + 2 + kFieldLength, text.data(), t);
    std::memset(out + 2 + kFieldLength + t, ' ', kTextLength - t);
}

namespace {

// Where the placement of a position text starts (after a tally prefix and
// blanks) and the blank that ends it (npos when there is none).
struct PlacementSpan {
    size_t start = 0;
    size_t blank = std::string_view::npos;
};

PlacementSpan FindPlacement(std::string_view text) {
    size_t start = 0;
    if (!text.empty() && text[0] == '(') {
        const size_t close = text.find(')');
        start = close == std::string_view::npos ? text.size() : close + 1;
    }
    start = std::min(text.find_first_not_of(' ', start), text.size());
    return {start, text.find(' ', start)};
}

}  // namespace

bool SideFits(std::string_view text) {
    // The side to move is the character after the placement's blank.
    const size_t blank = FindPlacement(text).blank;
    return blank != std::string_view::npos && blank + 1 < static_cast<size_t>(kTextLength);
}

bool LongRanks(int columns) {
    return columns + 2 > kTextLength;
}

int64_t RecordsFor(char kind, std::string_view text, bool longRanks) {
    if (kind != kEntry || text.size() <= static_cast<size_t>(kTextLength) || SideFits(text)) {
        return 1;
    }
    const PlacementSpan p = FindPlacement(text);
    const std::string_view placement =
        text.substr(p.start, p.blank == std::string_view::npos ? text.npos : p.blank - p.start);
    // A long text without ranks is no position of a board with short ranks:
    // it is cut as any text.
    if (!longRanks && placement.find('/') == std::string_view::npos) {
        return 1;
    }
    const size_t kept = std::min(text.size(), kMaxPositionText);
    return static_cast<int64_t>((kept + kTextLength - 1) / kTextLength);
}

void FormatRecords(char kind, std::string_view field, std::string_view text, std::string& out,
                   bool longRanks) {
    const int64_t count = RecordsFor(kind, text, longRanks);
    out.resize(static_cast<size_t>(count) * kRecordLength);
    for (int64_t k = 0; k < count; ++k) {
        const size_t from = static_cast<size_t>(k) * kTextLength;
        FormatRecord(k == 0 ? kind : kMore, field, text.substr(std::min(from, text.size())),
                     out.data() + k * kRecordLength);
    }
}

std::string EndMarker() {
    return std::string(kRecordLength, '?');
}

Book::~Book() {
    CloseWorkFile();
}

Book::Book(Book&& other) noexcept
    : BookFile(std::move(other.BookFile)),
      NGames(other.NGames),
      NRecords(other.NRecords),
      GameIndex(std::move(other.GameIndex)),
      FullIndex(std::move(other.FullIndex)),
      CurRecord(std::move(other.CurRecord)),
      CurRecNo(other.CurRecNo),
      m_fd(std::exchange(other.m_fd, -1)),
      m_workPath(std::move(other.m_workPath)) {}

Book& Book::operator=(Book&& other) noexcept {
    if (this != &other) {
        CloseWorkFile();
        BookFile = std::move(other.BookFile);
        NGames = other.NGames;
        NRecords = other.NRecords;
        GameIndex = std::move(other.GameIndex);
        FullIndex = std::move(other.FullIndex);
        CurRecord = std::move(other.CurRecord);
        CurRecNo = other.CurRecNo;
        m_fd = std::exchange(other.m_fd, -1);
        m_workPath = std::move(other.m_workPath);
    }
    return *this;
}

bool Book::OpenWorkFile(const std::string& path) {
    CloseWorkFile();
    // The work file of the book before is this copy's own: it goes, so that
    // no record of it lingers. The new one is created afresh; a file or link
    // found at the name is never opened, the work file then takes another
    // name of the same pattern.
    if (!m_workPath.empty()) {
        ::unlink(m_workPath.c_str());
        m_workPath.clear();
    }
    platform::NewFile file = platform::CreateUnderFreeName(
        [&path](int attempt) { return platform::OtherNumber(path, attempt); }, platform::Access::kReadWrite);
    if (!file) {
        return false;
    }
    m_fd = file.fd;
    m_workPath = std::move(file.path);
    return true;
}

bool Book::OpenExistingWorkFile(const std::string& path) {
    CloseWorkFile();
    m_workPath = path;
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    return m_fd >= 0;
}

void Book::CloseWorkFile() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

bool Book::ReadRecord(int64_t n, std::string& out) const {
    out.resize(kRecordLength);
    return ReadRecords(n, 1, out.data()) == 1;
}

int64_t Book::ReadRecords(int64_t first, int64_t count, char* out) const {
    if (m_fd < 0 || first < 1 || count < 1) {
        return 0;
    }
    const size_t got = ReadAt(m_fd, out, static_cast<size_t>(count) * kRecordLength, Offset(first));
    return static_cast<int64_t>(got / kRecordLength);
}

bool Book::WriteRecord(int64_t n, std::string_view record) {
    if (m_fd < 0 || n < 1) {
        return false;
    }
    char buffer[kRecordLength];
    const size_t t = std::min<size_t>(record.size(), kRecordLength);
    std::memcpy(buffer, record.data(), t);
    std::memset(buffer + t, ' ', kRecordLength - t);
    return WriteAll(m_fd, buffer, kRecordLength, Offset(n));
}

int64_t Book::RecordsOnFile() const {
    struct stat st {};
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0) {
        return 0;
    }
    return static_cast<int64_t>(st.st_size) / kRecordLength;
}

bool Book::ReadGame(int64_t n) {
    CurRecord.assign(kRecordLength, ' ');
    if (n < 1 || n > static_cast<int64_t>(GameIndex.size())) {
        return false;
    }
    CurRecNo = GameIndex[static_cast<size_t>(n - 1)];
    if (CurRecNo < 1 || CurRecNo > NRecords) {
        return false;
    }
    if (!ReadRecord(CurRecNo, CurRecord)) {
        CurRecord.assign(kRecordLength, ' ');
        return false;
    }
    return true;
}

bool Book::NextRecord(char* nextKind) {
    if (nextKind != nullptr) {
        *nextKind = '\0';
    }
    int64_t r = CurRecNo + 1;
    if (r < 1 || r > NRecords) {
        return false;
    }
    // The record and the one after it, in one read.
    char two[2 * kRecordLength];
    int64_t got = ReadRecords(r, 2, two);
    if (got >= 1 && two[1] == kMore) {
        // The rest of the current position, not a record to stop at.
        r = SkipContinuations(r);
        got = r <= NRecords ? ReadRecords(r, 2, two) : 0;
    }
    if (got < 1 || std::memcmp(two + 2, CurRecord.data() + 2, kFieldLength) != 0) {
        return false;
    }
    CurRecord.assign(two, kRecordLength);
    CurRecNo = r;
    if (nextKind != nullptr && got == 2) {
        *nextKind = two[kRecordLength + 1];
        if (*nextKind == kMore) {
            std::string after;
            *nextKind = ReadRecord(SkipContinuations(r + 1), after) ? after[1] : '\0';
        }
    }
    return true;
}

int64_t Book::SkipContinuations(int64_t r) const {
    char rec[kRecordLength];
    while (r >= 1 && r <= NRecords && ReadRecords(r, 1, rec) == 1 && rec[1] == kMore) {
        ++r;
    }
    return r;
}

std::string Book::WholeRecord() const {
    std::string whole = CurRecord;
    if (whole.size() < 2 || whole[1] != kEntry) {
        return whole;
    }
    char rec[kRecordLength];
    for (int64_t r = CurRecNo + 1; r >= 1 && r <= NRecords; ++r) {
        if (ReadRecords(r, 1, rec) != 1 || rec[1] != kMore) {
            break;
        }
        whole.append(rec + 2 + kFieldLength, kTextLength);
    }
    return whole;
}

bool Book::PrevRecord() {
    int64_t r = CurRecNo - 1;
    char rec[kRecordLength];
    // The continuations of the position before lead back to its first record.
    while (r >= 1 && r <= NRecords && ReadRecords(r, 1, rec) == 1 && rec[1] == kMore) {
        --r;
    }
    if (r < 1 || r > NRecords) {
        return false;
    }
    if (ReadRecords(r, 1, rec) != 1 || std::memcmp(rec + 2, CurRecord.data() + 2, kFieldLength) != 0 ||
        rec[1] != kEntry) {
        return false;
    }
    CurRecord.assign(rec, kRecordLength);
    CurRecNo = r;
    return true;
}

RecordWriter::RecordWriter(Book& book) : m_book(book), m_buffer(kBufferedRecords * kRecordLength) {}

RecordWriter::~RecordWriter() {
    Flush();
}

bool RecordWriter::PutRaw(const char* record) {
    if (m_failed) {
        return false;
    }
    if (m_used + kRecordLength > m_buffer.size() && !Flush()) {
        return false;
    }
    std::memcpy(m_buffer.data() + m_used, record, kRecordLength);
    m_used += kRecordLength;
    ++m_next;
    return true;
}

char* RecordWriter::Reserve() {
    if (m_failed) {
        return nullptr;
    }
    if (m_used + kRecordLength > m_buffer.size() && !Flush()) {
        return nullptr;
    }
    return m_buffer.data() + m_used;
}

bool RecordWriter::Put(char kind, std::string_view field, std::string_view text) {
    const int64_t count = RecordsFor(kind, text, longRanks);
    for (int64_t k = 0; k < count; ++k) {
        char* room = Reserve();
        if (room == nullptr) {
            return false;
        }
        const size_t from = static_cast<size_t>(k) * kTextLength;
        FormatRecord(k == 0 ? kind : kMore, field, text.substr(std::min(from, text.size())), room);
        Commit();
    }
    return true;
}

bool RecordWriter::PutEndMarker() {
    const std::string marker = EndMarker();
    if (!PutRaw(marker.data())) {
        return false;
    }
    // The marker takes a place in the file but is not one of the records.
    --m_next;
    if (!Flush()) {
        return false;
    }
    return true;
}

bool RecordWriter::Flush() {
    if (m_used == 0 || m_failed) {
        return !m_failed;
    }
    const int64_t inBuffer = static_cast<int64_t>(m_used / kRecordLength);
    // errno keeps the reason of a failure for the caller (ENOSPC on a full disk).
    if (m_book.m_fd < 0) {
        errno = EBADF;
        m_failed = true;
        return false;
    }
    if (!WriteAll(m_book.m_fd, m_buffer.data(), m_used, Offset(m_written + 1))) {
        m_failed = true;
        return false;
    }
    if (sink != nullptr) {
        sink->Adopt(m_written + 1, m_buffer, inBuffer);
        m_buffer.resize(kBufferedRecords * kRecordLength);
    }
    m_written = std::min(m_written + inBuffer, m_next - 1);
    m_used = 0;
    return true;
}

}  // namespace books
