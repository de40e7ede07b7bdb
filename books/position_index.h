#pragma once
// The position index kept beside a book's work file: for every position
// record the hash of its placement with the record number, sorted so that
// an exact search reads a few records instead of the whole work file, and
// the game index, so that a converted book opens without its book file.
//
// On disk: a header of sixteen 64-bit numbers (name, version, what it was
// made from), the material of every position in record order (3 bytes a
// position, see MaterialOf; padded to 8 bytes), the game index (8 bytes a
// game), the bucket table (8 bytes a bucket, one bucket for about 16
// positions) and the entries (8 bytes a position: the upper 32 bits of the
// hash, then the record number). About 11.7 bytes a position. Building
// holds at most kRunEntries entries (8 MB, and as much again to order
// them) in memory; longer books put them away in runs on a temporary file,
// split by the top bits of the hash, and sort each range of those parts on
// its own at the end (two ranges of about kRunEntries / 8 at once, unless
// one part alone is larger).

#include <sys/types.h>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "books/book.h"
#include "books/position_match.h"

namespace books {

/// The index file of a work file: "F123456.tmp" gives "F123456x.tmp", so
/// that it goes with the program's other working files.
std::string IndexPathFor(const std::string& workPath);

/// Removes a work file and its index.
void RemoveWorkFiles(const std::string& workPath);

/// What an index was made from; an index is used only while all of it
/// still holds.
struct IndexKey {
    uint64_t bookSize = 0;
    int64_t bookTime = 0;  ///< modification time, nanoseconds
    uint64_t workSize = 0;
    int64_t workTime = 0;
    uint64_t records = 0;  ///< NRecords
    uint64_t games = 0;    ///< games in the full index
    uint64_t shape = 0;    ///< rows, columns and pieces letters
    bool operator==(const IndexKey&) const = default;
};

/// The key of the open book as it is now: its book file's and work file's
/// sizes and times, counts and board. False when a file cannot be examined.
bool CurrentKey(const Book& book, const position::BoardShape& shape, IndexKey& key);

/// Entries held in memory while building, before a sorted run is written.
inline constexpr int64_t kRunEntries = int64_t{1} << 20;

/// Collects the placements of records as they are written (a RecordSink)
/// or read back from the work file, and writes the index file. The records
/// are read on a thread of the builder's own, so that a conversion goes on
/// while they are hashed; Write waits for it.
class IndexBuilder : public RecordSink {
  public:
    /// A builder holding at most runEntries entries in memory.
    IndexBuilder(const position::BoardShape& shape, std::string indexPath, int64_t runEntries = kRunEntries);
    ~IndexBuilder() override;
    IndexBuilder(const IndexBuilder&) = delete;
    IndexBuilder& operator=(const IndexBuilder&) = delete;

    void Records(int64_t first, const char* records, int64_t count) override;
    void Adopt(int64_t first, std::vector<char>& buffer, int64_t count) override;
    void KnownKey(int64_t record, uint64_t key) override;

    /// Reads every record of the open book's work file into the index
    /// (rebuilding an index that is missing or stale).
    bool ReadBook(const Book& book);

    /// Writes the index file (under a temporary name, then renamed) for the
    /// book whose key is given. False when it could not be written; no index
    /// file is left then.
    bool Write(const Book& book, const IndexKey& key);

  private:
    // Records from first on: count copied into records, or, when parts is
    // not empty, the writer's buffers taken whole (partCounts records each).
    struct Batch {
        int64_t first = 0;
        int64_t count = 0;
        std::vector<char> records;
        std::vector<std::vector<char>> parts;
        std::vector<int64_t> partCounts;
        // Keys of records of this batch or a later one, in record order.
        std::vector<std::pair<int64_t, uint64_t>> known;
    };
    void ProcessBatch(Batch& b);
    void Handoff();
    void Finish();
    void Work();
    void Process(int64_t first, const char* records, int64_t count);
    void Hash();
    void HashText(std::string_view text, int64_t rec);
    void AddKey(uint64_t key, int64_t rec);
    bool Spill();
    bool FlushMaterial();

    PlacementReader m_reader;
    std::string m_path;
    int m_outFd = -1;  // the index being written, under a temporary name
    std::string m_outName;
    std::vector<uint8_t> m_material;  // materials not yet written
    off_t m_materialAt = 0;
    std::vector<uint64_t> m_sortSpace;
    std::vector<uint64_t> m_keys;  // hash upper half << 32 | record number
    std::string m_pending;         // the text of a position still taking continuations
    // Keys known of records not yet read (the thread's own), in record order.
    std::deque<std::pair<int64_t, uint64_t>> m_known;
    int64_t m_pendingRec = 0;
    Placement m_placement;
    // A long book's entries are put away in runs on a temporary file, each
    // in the order of its parts (the top bits of the hash).
    struct Run {
        off_t at = 0;                 // where it starts in the file
        std::vector<int64_t> starts;  // where each part starts in it, and its end
    };
    int m_runFd = -1;
    off_t m_runEnd = 0;
    std::vector<Run> m_runs;
    // Writes the entries of runs and memory part by part, each range of
    // parts sorted on its own, on two threads.
    bool WriteParts(int fd, off_t keysAt, uint64_t bits, std::vector<uint64_t>& counts);
    int64_t m_total = 0;
    int64_t m_runEntries;
    bool m_failed = false;

    // Handing records to the thread: the batch being filled, the batches
    // waiting (a few at most) and empty ones to reuse.
    Batch m_filling;
    std::deque<Batch> m_waiting;
    int64_t m_waitingRecords = 0;  // records in the waiting batches
    std::vector<Batch> m_spare;
    std::vector<std::vector<char>> m_freeParts;  // buffers read, for the writer to take back
    bool m_closed = false;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::thread m_worker;
};

/// How opening an index went.
enum class IndexState {
    kReady,    ///< usable
    kMissing,  ///< no index file
    kStale,    ///< made from another book, work file or board
    kDamaged,  ///< not an index, a version of its own, cut short
};

/// A read-only index in memory (mapped).
class PositionIndex {
  public:
    PositionIndex() = default;
    ~PositionIndex();
    PositionIndex(const PositionIndex&) = delete;
    PositionIndex& operator=(const PositionIndex&) = delete;

    /// Opens the index file and checks it against key (when given).
    IndexState Open(const std::string& path, const IndexKey* key);
    bool Ready() const { return m_data != nullptr; }
    /// The key it was made from.
    const IndexKey& Key() const { return m_key; }
    /// The game index stored with it.
    std::vector<int64_t> Games() const;
    /// Record numbers, ascending, whose placement may hash to hash.
    void Candidates(uint64_t hash, std::vector<int64_t>& out) const;
    /// Entries (positions) in the index.
    uint64_t Positions() const { return m_entries; }
    /// The material of the work file's position record number ordinal
    /// (from 0, counting position records only); ordinal < Positions().
    uint32_t MaterialAt(uint64_t ordinal) const {
        const unsigned char* m = m_material + 3 * ordinal;
        return static_cast<uint32_t>(m[0]) | static_cast<uint32_t>(m[1]) << 8 |
               static_cast<uint32_t>(m[2]) << 16;
    }

  private:
    void Close();

    const unsigned char* m_data = nullptr;
    size_t m_size = 0;
    IndexKey m_key;
    uint64_t m_bits = 0;
    uint64_t m_games = 0;
    uint64_t m_entries = 0;
    const uint64_t* m_gameTable = nullptr;
    const uint64_t* m_buckets = nullptr;
    const uint64_t* m_keys = nullptr;
    const unsigned char* m_material = nullptr;
};

/// Opens the index of the open book, rebuilding it from the work file when
/// it is missing, stale or damaged. False (search without it) when it can
/// be neither opened nor rebuilt.
bool EnsureIndex(const Book& book, const position::BoardShape& shape, PositionIndex& index);

}  // namespace books
