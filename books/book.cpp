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
    const int64_t r = CurRecNo + 1;
    if (r < 1 || r > NRecords) {
        return false;
    }
    // The record and the one after it, in one read.
    char two[2 * kRecordLength];
    const int64_t got = ReadRecords(r, 2, two);
    if (got < 1 || std::memcmp(two + 2, CurRecord.data() + 2, kFieldLength) != 0) {
        return false;
    }
    CurRecord.assign(two, kRecordLength);
    CurRecNo = r;
    if (nextKind != nullptr && got == 2) {
        *nextKind = two[kRecordLength + 1];
    }
    return true;
}

bool Book::PrevRecord() {
    const int64_t r = CurRecNo - 1;
    if (r < 1 || r > NRecords) {
        return false;
    }
    char rec[kRecordLength];
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
    char* room = Reserve();
    if (room == nullptr) {
        return false;
    }
    FormatRecord(kind, field, text, room);
    Commit();
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
    m_written = std::min(m_written + inBuffer, m_next - 1);
    m_used = 0;
    return true;
}

}  // namespace books
