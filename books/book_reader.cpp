#include "books/book_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace books {

namespace {

constexpr size_t kBufferSize = 1 << 20;

int OpenForReading(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
}

// One read into data; -1 on failure, 0 at the end of the file.
ssize_t ReadSome(int fd, void* data, size_t size) {
    for (;;) {
        const ssize_t done = ::read(fd, data, size);
        if (done < 0 && errno == EINTR) {
            continue;
        }
        return done;
    }
}

}  // namespace

LineReader::LineReader() = default;

LineReader::~LineReader() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

bool LineReader::Open(const std::string& path) {
    m_fd = OpenForReading(path);
    if (m_fd < 0) {
        return false;
    }
    m_buffer.resize(kBufferSize);
    return true;
}

bool LineReader::Fill() {
    if (m_eof || m_failed || m_fd < 0) {
        return false;
    }
    const ssize_t done = ReadSome(m_fd, m_buffer.data(), m_buffer.size());
    if (done < 0) {
        m_failed = true;
        return false;
    }
    if (done == 0) {
        m_eof = true;
        return false;
    }
    m_pos = 0;
    m_end = static_cast<size_t>(done);
    return true;
}

bool LineReader::Next(std::string_view& line) {
    // A line inside the buffer is handed out where it lies; one that
    // crosses the buffer's end is put together in m_line.
    m_line.clear();
    bool any = false;
    for (;;) {
        if (m_pos >= m_end && !Fill()) {
            line = m_line;
            return any && !m_failed;
        }
        if (m_afterCR) {
            // The line feed of a carriage return and line feed pair.
            m_afterCR = false;
            if (m_buffer[m_pos] == '\n') {
                ++m_pos;
                continue;
            }
        }
        const char* start = m_buffer.data() + m_pos;
        const size_t left = m_end - m_pos;
        size_t i = 0;
        while (i < left && start[i] != '\n' && start[i] != '\r') {
            ++i;
        }
        if (i < left) {
            m_afterCR = start[i] == '\r';
            m_pos += i + 1;
            if (any) {
                m_line.append(start, i);
                line = m_line;
            } else {
                line = std::string_view(start, i);
            }
            return true;
        }
        m_line.append(start, left);
        any = true;
        m_pos = m_end;
    }
}

ByteReader::ByteReader() = default;

ByteReader::~ByteReader() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

bool ByteReader::Open(const std::string& path) {
    m_fd = OpenForReading(path);
    if (m_fd < 0) {
        return false;
    }
    m_buffer.resize(kBufferSize);
    return true;
}

bool ByteReader::Read(unsigned char* out, size_t count) {
    while (count > 0) {
        if (m_pos >= m_end) {
            if (m_eof || m_fd < 0) {
                return false;
            }
            const ssize_t done = ReadSome(m_fd, m_buffer.data(), m_buffer.size());
            if (done <= 0) {
                m_eof = true;
                return false;
            }
            m_pos = 0;
            m_end = static_cast<size_t>(done);
        }
        const size_t take = std::min(count, m_end - m_pos);
        std::memcpy(out, m_buffer.data() + m_pos, take);
        out += take;
        m_pos += take;
        count -= take;
    }
    return true;
}

bool ByteReader::ReadAt(uint64_t offset, char* out, size_t count) const {
    if (m_fd < 0) {
        return false;
    }
    size_t got = 0;
    while (got < count) {
        const ssize_t done = ::pread(m_fd, out + got, count - got, static_cast<off_t>(offset + got));
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            return false;
        }
        got += static_cast<size_t>(done);
    }
    return true;
}

}  // namespace books
