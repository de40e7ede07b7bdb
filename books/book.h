#pragma once
// The open book: its work file of fixed-length records, the game index and
// the record last read.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace books {

/// Length of one work-file record.
inline constexpr int kRecordLength = 132;
/// Width of the game-number field (columns 3 to 8).
inline constexpr int kFieldLength = 6;
/// Room for text in a record (columns 9 to 132).
inline constexpr int kTextLength = kRecordLength - 2 - kFieldLength;
/// Record kinds (column 2).
inline constexpr char kEntry = 'E';
inline constexpr char kTag = '[';
/// Kind of a continuation record: the next 124 characters of the position
/// record before it, for a position whose placement and side to move do not
/// fit in one record (boards much larger than 8 x 8). A continuation is part
/// of its position, never a record of its own: it is not counted, shown or
/// stepped to.
inline constexpr char kMore = '+';
/// Longest position text kept: the longest placement a board of 400
/// squares is written with, and its fields, in 17 records.
inline constexpr size_t kMaxPositionText = 17 * static_cast<size_t>(kTextLength);

/// The game-number field of game n: the number right-aligned in six
/// characters, only its last six digits when it has more.
std::string GameField(int64_t n);

/// Formats one record: "?" + kind + field + text, cut or padded with
/// blanks to 132 characters. out must hold kRecordLength characters.
void FormatRecord(char kind, std::string_view field, std::string_view text, char* out);

/// True when the placement and side to move of a position text (after a
/// tally prefix such as "(16x16)") lie within its first 124 characters, the
/// room of one record. Padding blanks count as the side of a short text.
bool SideFits(std::string_view text);

/// True for a board whose single rank may be too long for one record: a
/// placement without "/" may then still be a position.
bool LongRanks(int columns);

/// Records a text of the kind takes: 1, or more for a position whose
/// placement and side do not fit in one record (SideFits) and whose
/// placement is a board's: it has ranks ("/"), or longRanks says that one
/// rank of the board may be that long. The whole text is kept then, up to
/// kMaxPositionText. Any other text is cut to one record.
int64_t RecordsFor(char kind, std::string_view text, bool longRanks = false);

/// Formats a record and the continuation records its text needs
/// (RecordsFor), each 132 characters, one after the other, into out.
void FormatRecords(char kind, std::string_view field, std::string_view text, std::string& out,
                   bool longRanks = false);

/// The end marker: 132 characters "?".
std::string EndMarker();

/// The book as the program holds it while it is open: the work file, the
/// counts, the game index and the current record. Records are numbered
/// from 1. Moving transfers the open work file; copying is not allowed.
class Book {
  public:
    /// File chosen as the book (command line, recent files, Open Book).
    std::string BookFile;
    /// Number of games (entries) in the book.
    int64_t NGames = 0;
    /// Records in the work file, not counting the end marker.
    int64_t NRecords = 0;
    /// Record number of each game's first record, in game order; narrowed by
    /// a search. Holds every game, whatever the book's size.
    std::vector<int64_t> GameIndex;
    /// The index as built when the book was opened.
    std::vector<int64_t> FullIndex;
    /// The record last read, always 132 characters.
    std::string CurRecord = std::string(kRecordLength, ' ');
    /// Number of the record in CurRecord.
    int64_t CurRecNo = 0;

    Book() = default;
    ~Book();
    Book(const Book&) = delete;
    Book& operator=(const Book&) = delete;
    Book(Book&& other) noexcept;
    Book& operator=(Book&& other) noexcept;

    /// Creates the work file at path, new and empty, and opens it for
    /// reading and writing; closes a work file that was open and removes the
    /// one this book created before. When anything is found at path, the file
    /// takes another name of its pattern (platform::OtherNumber), which
    /// WorkPath gives. False on failure.
    bool OpenWorkFile(const std::string& path);
    /// Opens a work file written before, for reading only; closes a work
    /// file that was open. False on failure.
    bool OpenExistingWorkFile(const std::string& path);
    /// The open work file's descriptor (-1 when none), for reading.
    int Descriptor() const { return m_fd; }
    /// Closes the work file; counts, index and current record stay.
    void CloseWorkFile();
    /// True while a work file is open.
    bool IsOpen() const { return m_fd >= 0; }
    /// Path of the work file this book created last; "" when none.
    const std::string& WorkPath() const { return m_workPath; }

    /// Reads record n (any record on file, the end marker included) into
    /// out, which becomes 132 characters. False when it cannot be read.
    bool ReadRecord(int64_t n, std::string& out) const;
    /// Reads up to count records from record first on into out (count *
    /// 132 characters); returns the number of whole records read.
    int64_t ReadRecords(int64_t first, int64_t count, char* out) const;
    /// Writes record n, cut or padded with blanks to 132 characters.
    bool WriteRecord(int64_t n, std::string_view record);
    /// Number of whole records on file, the end marker included.
    int64_t RecordsOnFile() const;

    /// Makes the first record of game n (from 1, in GameIndex) current.
    /// On failure CurRecord is blank and false is returned.
    bool ReadGame(int64_t n);
    /// Steps to the next record of the same game. On success nextKind (when
    /// given) receives the kind of the record after the new current one
    /// ('\0' when there is none).
    bool NextRecord(char* nextKind = nullptr);
    /// Steps back to the previous position record of the same game.
    bool PrevRecord();

    /// The first record from r on that is not a continuation record (at
    /// most NRecords + 1, the end marker).
    int64_t SkipContinuations(int64_t r) const;
    /// The current record with the texts of its continuation records
    /// appended: a record whose text holds the whole position. CurRecord
    /// itself for a record that has none.
    std::string WholeRecord() const;

  private:
    friend class RecordWriter;
    int m_fd = -1;
    std::string m_workPath;
};

/// Receives the records of a conversion as they are written, in order:
/// count records of 132 characters from record number first on (the end
/// marker among them).
class RecordSink {
  public:
    virtual ~RecordSink() = default;
    virtual void Records(int64_t first, const char* records, int64_t count) = 0;
    /// The same, the records being the first count of the writer's own
    /// buffer: a sink may take the buffer and leave another vector (of any
    /// size) in its place, sparing a copy. By default they are read with
    /// Records.
    virtual void Adopt(int64_t first, std::vector<char>& buffer, int64_t count) {
        Records(first, buffer.data(), count);
    }
    /// The index key (BoardKeyer::Key) of the position the record of the
    /// number will hold, known before the record is put: the sink need not
    /// read that record's text. By default it is read all the same.
    virtual void KnownKey(int64_t /*record*/, uint64_t /*key*/) {}
};

/// Sequential, buffered writer of the records of a conversion, from record
/// 1 on. Records are kept in memory until the buffer fills or Flush runs.
class RecordWriter {
  public:
    explicit RecordWriter(Book& book);
    ~RecordWriter();
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    /// Appends a record of the kind with the field and text, and the
    /// continuation records a long position needs (RecordsFor).
    bool Put(char kind, std::string_view field, std::string_view text);
    /// Appends a record already formatted (132 characters).
    bool PutRaw(const char* record);
    /// Room for the next record, to be filled in place (132 characters) and
    /// then kept with Commit; nullptr after a write failure.
    char* Reserve();
    /// Keeps the record filled in the room Reserve gave.
    void Commit() {
        m_used += kRecordLength;
        ++m_next;
    }
    /// Writes the end marker after the last record, without counting it.
    bool PutEndMarker();
    /// Writes out the buffered records. False when writing failed.
    bool Flush();
    /// Number the next record will get.
    int64_t Next() const { return m_next; }
    /// Records known to be on file (all of them after a successful Flush).
    int64_t Written() const { return m_written; }
    /// True after a write failed; nothing more is written then.
    bool Failed() const { return m_failed; }
    /// Whether one rank of the board converted for may not fit in a
    /// record (LongRanks); RecordsFor takes it.
    bool longRanks = false;
    /// Told of every record written, when set.
    RecordSink* sink = nullptr;

  private:
    Book& m_book;
    std::vector<char> m_buffer;
    size_t m_used = 0;
    int64_t m_next = 1;     // number of the next record to be put
    int64_t m_written = 0;  // records already on file
    bool m_failed = false;
};

}  // namespace books
