#pragma once
// Buffered reading of book files: text lines, and bytes for the binary
// problem format.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace books {

/// Reads a file line by line through a fixed buffer. A line ends at a
/// carriage return, a carriage return and line feed pair, or a lone line
/// feed; the last line needs no end. Any byte, NUL included, is text.
class LineReader {
  public:
    LineReader();
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    /// Opens the file; false when it cannot be opened.
    bool Open(const std::string& path);
    /// The next line without its end; line stays valid until the next
    /// call. False at the end of the file or after a read failure.
    bool Next(std::string_view& line);
    /// True when reading failed before the end of the file.
    bool Failed() const { return m_failed; }

  private:
    bool Fill();

    int m_fd = -1;
    std::vector<char> m_buffer;
    size_t m_pos = 0;
    size_t m_end = 0;
    bool m_eof = false;
    bool m_failed = false;
    bool m_afterCR = false;  // the last line ended in a carriage return
    std::string m_line;      // a line that crosses the end of the buffer
};

/// Reads a binary file sequentially through a buffer, and at any offset.
class ByteReader {
  public:
    ByteReader();
    ~ByteReader();
    ByteReader(const ByteReader&) = delete;
    ByteReader& operator=(const ByteReader&) = delete;

    bool Open(const std::string& path);
    /// The next count bytes into out; false when the file ends first.
    bool Read(unsigned char* out, size_t count);
    /// count bytes at offset (from 0) into out; false when the file ends first.
    bool ReadAt(uint64_t offset, char* out, size_t count) const;

  private:
    int m_fd = -1;
    std::vector<unsigned char> m_buffer;
    size_t m_pos = 0;
    size_t m_end = 0;
    bool m_eof = false;
};

}  // namespace books
