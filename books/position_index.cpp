#include "books/position_index.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <thread>

namespace books {

namespace {

constexpr uint64_t kMagic = 0x0A5849504C444E50ULL;  // "PNDLPIX\n"
constexpr uint64_t kVersion = 3;
constexpr size_t kHeaderWords = 16;
constexpr size_t kHeaderBytes = kHeaderWords * sizeof(uint64_t);
constexpr int64_t kReadChunk = 4096;  // records read at once when rebuilding

int64_t TimeOf(const struct stat& st) {
    return static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

uint64_t ShapeKey(const position::BoardShape& shape) {
    uint64_t h = 1469598103934665603ULL;
    auto add = [&h](uint64_t v) {
        h ^= v;
        h *= 1099511628211ULL;
    };
    add(static_cast<uint64_t>(shape.rows));
    add(static_cast<uint64_t>(shape.cols));
    for (const char c : shape.piecesList) {
        add(static_cast<unsigned char>(c));
    }
    return h;
}

// All of size bytes at offset through pread or pwrite, calling again where
// a call was interrupted or moved only a part.
template <class Byte, class Call>
bool AllAt(Call call, int fd, Byte* p, size_t size, off_t offset) {
    while (size > 0) {
        const ssize_t n = call(fd, p, size, offset);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        p += n;
        size -= static_cast<size_t>(n);
        offset += n;
    }
    return true;
}

bool WriteAllAt(int fd, const void* data, size_t size, off_t offset) {
    return AllAt(::pwrite, fd, static_cast<const char*>(data), size, offset);
}

bool ReadAllAt(int fd, void* data, size_t size, off_t offset) {
    return AllAt(::pread, fd, static_cast<char*>(data), size, offset);
}

// A new file of its own beside path: created, never an existing file or a
// link someone planted.
int CreateBeside(const std::string& path, const char* what, std::string& made) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        made = path + "." + what + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        const int fd = ::open(made.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

uint64_t BucketBits(uint64_t entries) {
    uint64_t bits = 1;
    while (bits < 24 && (uint64_t{16} << bits) < entries) {
        ++bits;
    }
    return bits;
}

// The parts a long book's entries are split into: by the top bits of the
// hash, so that the parts, each sorted, follow one another in key order.
constexpr int kPartBits = 8;
constexpr size_t kParts = size_t{1} << kPartBits;

size_t PartOf(uint64_t key) {
    return static_cast<size_t>(key >> (64 - kPartBits));
}

// Puts keys into out in the order of their parts, keeping their order
// within a part (record order); starts gets where each part starts, and
// the end.
void Partition(const std::vector<uint64_t>& keys, std::vector<uint64_t>& out, std::vector<int64_t>& starts) {
    starts.assign(kParts + 1, 0);
    for (const uint64_t k : keys) {
        ++starts[PartOf(k) + 1];
    }
    for (size_t p = 1; p <= kParts; ++p) {
        starts[p] += starts[p - 1];
    }
    std::vector<int64_t> at(starts.begin(), starts.end() - 1);
    out.resize(keys.size());
    for (const uint64_t k : keys) {
        out[static_cast<size_t>(at[PartOf(k)]++)] = k;
    }
}

// Bytes of the material section for so many positions.
uint64_t MaterialBytes(uint64_t positions) {
    return (3 * positions + 7) / 8 * 8;
}

// Sorts the keys of a run. They come in record order, so a stable sort on
// the hash half alone (three passes of eleven bits) leaves them in key
// order; a run that somehow is not is sorted the ordinary way.
void SortKeys(std::vector<uint64_t>& keys, std::vector<uint64_t>& space) {
    constexpr int kBits = 11;
    constexpr size_t kRadix = size_t{1} << kBits;
    space.resize(keys.size());
    for (int pass = 0; pass < 3; ++pass) {
        const int shift = 32 + pass * kBits;
        size_t count[kRadix] = {};
        for (const uint64_t k : keys) {
            ++count[(k >> shift) & (kRadix - 1)];
        }
        size_t at = 0;
        for (size_t& c : count) {
            const size_t n = c;
            c = at;
            at += n;
        }
        for (const uint64_t k : keys) {
            space[count[(k >> shift) & (kRadix - 1)]++] = k;
        }
        keys.swap(space);
    }
    if (!std::is_sorted(keys.begin(), keys.end())) {
        std::sort(keys.begin(), keys.end());
    }
}

}  // namespace

std::string IndexPathFor(const std::string& workPath) {
    constexpr std::string_view kExt = ".tmp";
    if (workPath.size() >= kExt.size() &&
        workPath.compare(workPath.size() - kExt.size(), kExt.size(), kExt) == 0) {
        return workPath.substr(0, workPath.size() - kExt.size()) + "x.tmp";
    }
    return workPath + ".idx";
}

void RemoveWorkFiles(const std::string& workPath) {
    if (!workPath.empty()) {
        ::unlink(workPath.c_str());
        ::unlink(IndexPathFor(workPath).c_str());
    }
}

bool CurrentKey(const Book& book, const position::BoardShape& shape, IndexKey& key) {
    struct stat st {};
    if (!book.IsOpen() || ::fstat(book.Descriptor(), &st) != 0) {
        return false;
    }
    key = {};
    key.workSize = static_cast<uint64_t>(st.st_size);
    key.workTime = TimeOf(st);
    // A book read from standard input is gone by now; the work file's own
    // figures still tie the index to it.
    if (::stat(book.BookFile.c_str(), &st) == 0) {
        key.bookSize = static_cast<uint64_t>(st.st_size);
        key.bookTime = TimeOf(st);
    }
    key.records = static_cast<uint64_t>(book.NRecords);
    key.games = book.FullIndex.size();
    key.shape = ShapeKey(shape);
    return true;
}

IndexBuilder::IndexBuilder(const position::BoardShape& shape, std::string indexPath, int64_t runEntries)
    : m_reader(shape), m_path(std::move(indexPath)), m_runEntries(std::max<int64_t>(runEntries, 1)) {
    // Reserved whole (pages are used only as entries come): growing would
    // hold the old and the new array at once.
    m_keys.reserve(static_cast<size_t>(m_runEntries));
}

IndexBuilder::~IndexBuilder() {
    Finish();
    if (m_runFd >= 0) {
        ::close(m_runFd);
    }
    if (m_outFd >= 0) {
        ::close(m_outFd);
        ::unlink(m_outName.c_str());
    }
}

bool IndexBuilder::FlushMaterial() {
    if (m_outFd < 0) {
        m_outFd = CreateBeside(m_path, "new", m_outName);
        if (m_outFd < 0) {
            return false;
        }
        m_materialAt = static_cast<off_t>(kHeaderBytes);
    }
    if (!WriteAllAt(m_outFd, m_material.data(), m_material.size(), m_materialAt)) {
        return false;
    }
    m_materialAt += static_cast<off_t>(m_material.size());
    m_material.clear();
    return true;
}

void IndexBuilder::Hash() {
    if (m_pendingRec == 0) {
        return;
    }
    HashText(m_pending, m_pendingRec);
    m_pendingRec = 0;
}

void IndexBuilder::HashText(std::string_view text, int64_t rec) {
    if (m_failed) {
        return;
    }
    const uint32_t material = m_reader.ReadCellsMaterial(text, m_placement);
    AddKey((PlacementHash(m_placement.cells) >> 32 << 32) | material, rec);
}

void IndexBuilder::AddKey(uint64_t key, int64_t rec) {
    if (m_failed) {
        return;
    }
    if (rec > static_cast<int64_t>(UINT32_MAX)) {
        m_failed = true;  // a book this long is searched without an index
        return;
    }
    const auto material = static_cast<uint32_t>(key & 0xFFFFFF);
    m_keys.push_back((key >> 32 << 32) | static_cast<uint64_t>(rec));
    ++m_total;
    m_material.push_back(static_cast<uint8_t>(material));
    m_material.push_back(static_cast<uint8_t>(material >> 8));
    m_material.push_back(static_cast<uint8_t>(material >> 16));
    if (m_material.size() >= 3 * 65536) {
        m_failed = !FlushMaterial();
    }
    if (!m_failed && static_cast<int64_t>(m_keys.size()) >= m_runEntries) {
        m_failed = !Spill();
    }
}

void IndexBuilder::Process(int64_t first, const char* records, int64_t count) {
    for (int64_t i = 0; i < count; ++i) {
        const char* rec = records + i * kRecordLength;
        const char kind = rec[1];
        const char* text = rec + 2 + kFieldLength;
        if (kind == kMore) {
            if (m_pendingRec != 0 && m_pending.size() < kMaxPositionText) {
                m_pending.append(text, kTextLength);
            }
            continue;
        }
        Hash();
        if (kind != kEntry) {
            continue;
        }
        const int64_t number = first + i;
        while (!m_known.empty() && m_known.front().first < number) {
            m_known.pop_front();
        }
        if (!m_known.empty() && m_known.front().first == number) {
            AddKey(m_known.front().second, number);
            m_known.pop_front();
            continue;
        }
        // A position the next record does not continue is read where it
        // lies; the last of a batch waits, as the next batch may continue it.
        if (i + 1 < count && rec[kRecordLength + 1] != kMore) {
            HashText({text, static_cast<size_t>(kTextLength)}, first + i);
        } else {
            m_pending.assign(text, kTextLength);
            m_pendingRec = first + i;
        }
    }
}

bool IndexBuilder::Spill() {
    // Only split into parts here, a pass over the entries: each part is
    // sorted once, at the end, with the same part of every run.
    std::vector<int64_t> starts;
    Partition(m_keys, m_sortSpace, starts);
    if (m_runFd < 0) {
        std::string name;
        m_runFd = CreateBeside(m_path, "run", name);
        if (m_runFd < 0) {
            return false;
        }
        ::unlink(name.c_str());  // nameless from now on; gone when closed
    }
    const size_t bytes = m_sortSpace.size() * sizeof(uint64_t);
    if (!WriteAllAt(m_runFd, m_sortSpace.data(), bytes, m_runEnd)) {
        return false;
    }
    m_runs.push_back({m_runEnd, std::move(starts)});
    m_runEnd += static_cast<off_t>(bytes);
    m_keys.clear();
    return true;
}

bool IndexBuilder::ReadBook(const Book& book) {
    std::vector<char> chunk(static_cast<size_t>(kReadChunk * kRecordLength));
    for (int64_t r = 1; r <= book.NRecords; r += kReadChunk) {
        const int64_t want = std::min(kReadChunk, book.NRecords - r + 1);
        const int64_t got = book.ReadRecords(r, want, chunk.data());
        Records(r, chunk.data(), got);
        if (got != want) {
            Finish();
            m_failed = true;
            return false;
        }
    }
    return true;
}

bool IndexBuilder::Write(const Book& book, const IndexKey& key) {
    Finish();
    Hash();
    if (m_failed || !FlushMaterial()) {
        m_failed = true;
        return false;
    }
    const uint64_t bits = BucketBits(static_cast<uint64_t>(m_total));
    const size_t buckets = (size_t{1} << bits) + 1;
    const int fd = m_outFd;
    bool ok = true;
    const off_t gamesAt = static_cast<off_t>(kHeaderBytes + MaterialBytes(static_cast<uint64_t>(m_total)));
    const off_t bucketsAt = gamesAt + static_cast<off_t>(book.FullIndex.size() * sizeof(uint64_t));
    const off_t keysAt = bucketsAt + static_cast<off_t>(buckets * sizeof(uint64_t));
    {
        // The material section's padding, then the game index.
        const uint64_t zero = 0;
        const size_t pad = static_cast<size_t>(gamesAt - m_materialAt);
        ok = pad == 0 || WriteAllAt(fd, &zero, pad, m_materialAt);
        std::vector<uint64_t> games(book.FullIndex.begin(), book.FullIndex.end());
        ok = ok && WriteAllAt(fd, games.data(), games.size() * sizeof(uint64_t), gamesAt);
    }
    std::vector<uint64_t> counts(buckets, 0);
    const uint64_t written = static_cast<uint64_t>(m_total);
    ok = ok && WriteParts(fd, keysAt, bits, counts);
    for (size_t b = 1; b < buckets; ++b) {
        counts[b] += counts[b - 1];
    }
    ok = ok && WriteAllAt(fd, counts.data(), counts.size() * sizeof(uint64_t), bucketsAt);
    uint64_t header[kHeaderWords] = {kMagic,
                                     kVersion,
                                     bits,
                                     book.FullIndex.size(),
                                     written,
                                     key.records,
                                     key.bookSize,
                                     static_cast<uint64_t>(key.bookTime),
                                     key.workSize,
                                     static_cast<uint64_t>(key.workTime),
                                     key.shape,
                                     0,
                                     0,
                                     0,
                                     0,
                                     0};
    ok = ok && WriteAllAt(fd, header, sizeof header, 0);
    ok = ::close(fd) == 0 && ok;
    m_outFd = -1;
    // Renaming replaces whatever bears the name, a planted link included,
    // without following it.
    if (!ok || ::rename(m_outName.c_str(), m_path.c_str()) != 0) {
        ::unlink(m_outName.c_str());
        m_failed = true;
        return false;
    }
    return true;
}

bool IndexBuilder::WriteParts(int fd, off_t keysAt, uint64_t bits, std::vector<uint64_t>& counts) {
    auto count = [&counts, bits](const std::vector<uint64_t>& keys) {
        for (const uint64_t k : keys) {
            ++counts[(k >> 32 >> (32 - bits)) + 1];
        }
    };
    if (m_runs.empty()) {
        SortKeys(m_keys, m_sortSpace);
        m_sortSpace = {};
        count(m_keys);
        return WriteAllAt(fd, m_keys.data(), m_keys.size() * sizeof(uint64_t), keysAt);
    }
    // The entries still in memory are split as a run is; then each range of
    // parts is read from every run, sorted and written in its place.
    std::vector<int64_t> memStarts;
    Partition(m_keys, m_sortSpace, memStarts);
    m_keys.swap(m_sortSpace);
    m_sortSpace = {};
    std::vector<int64_t> partSize(kParts, 0);
    for (size_t p = 0; p < kParts; ++p) {
        partSize[p] = memStarts[p + 1] - memStarts[p];
        for (const Run& run : m_runs) {
            partSize[p] += run.starts[p + 1] - run.starts[p];
        }
    }
    struct Range {
        size_t first = 0;  // parts first to last - 1
        size_t last = 0;
        int64_t before = 0;  // entries of the ranges before it
        int64_t size = 0;
    };
    std::vector<Range> ranges;
    // Ranges of about a megabyte: sorted within the processor's cache, and
    // two of them (with room to sort) beside the entries still in memory.
    const int64_t budget = std::max<int64_t>(m_runEntries / 8, 1);
    int64_t before = 0;
    for (size_t p = 0; p < kParts;) {
        Range r{p, p, before, 0};
        while (r.last < kParts && (r.last == r.first || r.size + partSize[r.last] <= budget)) {
            r.size += partSize[r.last++];
        }
        before += r.size;
        ranges.push_back(r);
        p = r.last;
    }
    std::atomic<size_t> next{0};
    std::atomic<bool> good{before == m_total};
    auto work = [&] {
        std::vector<uint64_t> keys;
        std::vector<uint64_t> space;
        for (size_t i = next++; i < ranges.size() && good; i = next++) {
            const Range& r = ranges[i];
            keys.clear();
            keys.reserve(static_cast<size_t>(r.size));
            for (const Run& run : m_runs) {
                const int64_t from = run.starts[r.first];
                const size_t have = keys.size();
                keys.resize(have + static_cast<size_t>(run.starts[r.last] - from));
                if (!ReadAllAt(m_runFd, keys.data() + have, (keys.size() - have) * sizeof(uint64_t),
                               run.at + static_cast<off_t>(from * static_cast<int64_t>(sizeof(uint64_t))))) {
                    good = false;
                }
            }
            keys.insert(keys.end(), m_keys.begin() + memStarts[r.first], m_keys.begin() + memStarts[r.last]);
            // Runs in record order, so the entries of a hash stay in record
            // order through the stable sort.
            SortKeys(keys, space);
            good = good && static_cast<int64_t>(keys.size()) == r.size;
            count(keys);
            const off_t at = keysAt + static_cast<off_t>(r.before * static_cast<int64_t>(sizeof(uint64_t)));
            if (!WriteAllAt(fd, keys.data(), keys.size() * sizeof(uint64_t), at)) {
                good = false;
            }
        }
    };
    // Two ranges never count into one bucket while a bucket is no wider
    // than a part. A helper that cannot be started leaves it all to this one.
    std::thread helper;
    try {
        helper = bits >= kPartBits && ranges.size() > 1 ? std::thread(work) : std::thread();
    } catch (const std::system_error&) {
    }
    work();
    if (helper.joinable()) {
        helper.join();
    }
    return good;
}

PositionIndex::~PositionIndex() {
    Close();
}

void PositionIndex::Close() {
    if (m_data != nullptr) {
        ::munmap(const_cast<unsigned char*>(m_data), m_size);
    }
    m_data = nullptr;
    m_size = 0;
}

IndexState PositionIndex::Open(const std::string& path, const IndexKey* key) {
    Close();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENOENT ? IndexState::kMissing : IndexState::kDamaged;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < static_cast<off_t>(kHeaderBytes)) {
        ::close(fd);
        return IndexState::kDamaged;
    }
    const size_t size = static_cast<size_t>(st.st_size);
    void* map = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
    ::close(fd);
    if (map == MAP_FAILED) {
        return IndexState::kDamaged;
    }
    uint64_t h[kHeaderWords];
    std::memcpy(h, map, sizeof h);
    const uint64_t bits = h[2];
    const uint64_t games = h[3];
    const uint64_t entries = h[4];
    const uint64_t limit = size / sizeof(uint64_t);
    bool ok =
        h[0] == kMagic && h[1] == kVersion && bits >= 1 && bits <= 24 && games < limit && entries < limit;
    const uint64_t buckets = (uint64_t{1} << (ok ? bits : 1)) + 1;
    const uint64_t material = ok ? MaterialBytes(entries) : 0;
    ok = ok && kHeaderBytes + material + (games + buckets + entries) * sizeof(uint64_t) == size;
    if (!ok) {
        ::munmap(map, size);
        return IndexState::kDamaged;
    }
    const auto* words = static_cast<const uint64_t*>(map);
    const uint64_t* table = words + kHeaderWords + material / sizeof(uint64_t) + games;
    // The bucket table must run from 0 to the number of entries, never
    // backwards, or a lookup could read outside the entries.
    for (uint64_t b = 0; ok && b + 1 < buckets; ++b) {
        ok = table[b] <= table[b + 1];
    }
    ok = ok && table[0] == 0 && table[buckets - 1] == entries;
    if (!ok) {
        ::munmap(map, size);
        return IndexState::kDamaged;
    }
    IndexKey made;
    made.records = h[5];
    made.bookSize = h[6];
    made.bookTime = static_cast<int64_t>(h[7]);
    made.workSize = h[8];
    made.workTime = static_cast<int64_t>(h[9]);
    made.shape = h[10];
    made.games = games;
    if (key != nullptr && !(made == *key)) {
        ::munmap(map, size);
        return IndexState::kStale;
    }
    m_data = static_cast<const unsigned char*>(map);
    m_size = size;
    m_key = made;
    m_bits = bits;
    m_games = games;
    m_entries = entries;
    m_material = m_data + kHeaderBytes;
    m_gameTable = words + kHeaderWords + material / sizeof(uint64_t);
    m_buckets = table;
    m_keys = table + buckets;
    return IndexState::kReady;
}

std::vector<int64_t> PositionIndex::Games() const {
    if (m_data == nullptr) {
        return {};
    }
    return std::vector<int64_t>(m_gameTable, m_gameTable + m_games);
}

void PositionIndex::Candidates(uint64_t hash, std::vector<int64_t>& out) const {
    if (m_data == nullptr) {
        return;
    }
    const uint64_t upper = hash >> 32;
    const uint64_t b = upper >> (32 - m_bits);
    const uint64_t* from = m_keys + m_buckets[b];
    const uint64_t* to = m_keys + m_buckets[b + 1];
    for (const uint64_t* p = std::lower_bound(from, to, upper << 32); p != to && (*p >> 32) == upper; ++p) {
        out.push_back(static_cast<int64_t>(*p & 0xFFFFFFFFULL));
    }
}

bool EnsureIndex(const Book& book, const position::BoardShape& shape, PositionIndex& index) {
    IndexKey key;
    if (!CurrentKey(book, shape, key)) {
        return false;
    }
    const std::string path = IndexPathFor(book.WorkPath());
    if (index.Open(path, &key) == IndexState::kReady && index.Games() == book.FullIndex) {
        return true;
    }
    IndexBuilder builder(shape, path);
    if (!builder.ReadBook(book) || !builder.Write(book, key)) {
        return false;
    }
    return index.Open(path, &key) == IndexState::kReady && index.Games() == book.FullIndex;
}

}  // namespace books
