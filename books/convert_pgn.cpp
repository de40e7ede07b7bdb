// The PGN converter: the book read ahead in stretches of games, converted
// by worker threads and written in order.
#include "books/convert.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "books/conversion.h"
#include "books/convert_pgn_lines.h"

namespace books {

using detail::Conversion;
using detail::IsGap;
using detail::LeadOf;
using detail::PgnLines;
using detail::PgnState;
using detail::StartsWithUpper;

namespace {

// A stretch of the book read ahead, starting with the first line of a game
// (or of the book), with the converter's state there.
struct PgnChunk {
    std::string text;          // the lines, one after the other
    std::vector<size_t> ends;  // where each line ends in text
    PgnState state = PgnState::kTags;
    bool tagSeen = false;
};

// The records of a stretch, game numbers left blank.
class ChunkOut {
  public:
    explicit ChunkOut(bool longRanks) : m_longRanks(longRanks), m_field(kFieldLength, ' ') {}

    bool Put(char kind, std::string_view text) {
        const int64_t count = RecordsFor(kind, text, m_longRanks);
        if (count_ + count > limit) {
            return false;
        }
        for (int64_t k = 0; k < count; ++k) {
            const size_t from = static_cast<size_t>(k) * kTextLength;
            FormatRecord(k == 0 ? kind : kMore, m_field, text.substr(std::min(from, text.size())), Room());
            ++count_;
        }
        return true;
    }
    char* Reserve(char kind) {
        if (count_ >= limit) {
            return nullptr;
        }
        char* room = Room();
        room[0] = '?';
        room[1] = kind;
        return room;
    }
    void Commit() { ++count_; }
    void NewGame() { gameStarts.push_back(count_); }
    // The index key of the record last committed.
    void KnownKey(uint64_t key) { known.emplace_back(count_ - 1, key); }

    std::vector<char> records;
    int64_t count_ = 0;
    std::vector<int64_t> gameStarts;                  // records before which a game starts
    std::vector<std::pair<int64_t, uint64_t>> known;  // index keys of records, in order
    int64_t limit = INT64_MAX;                        // records it takes at most

  private:
    char* Room() {
        const size_t need = static_cast<size_t>(count_ + 1) * kRecordLength;
        if (records.size() < need) {
            records.resize(std::max(need, records.size() * 2));
        }
        return records.data() + need - kRecordLength;
    }

    bool m_longRanks;
    std::string m_field;
};

// Bytes of PGN text a stretch holds at least (a few hundred games): the
// records of a few stretches in flight stay well within the memory wanted.
constexpr size_t kChunkBytes = 64 * 1024;
// A stretch that grows past this without a game starting is not handed out
// (its records could take too much memory).
constexpr size_t kChunkLimit = 512 * 1024;

// A stretch handed to a worker, and what came of it.
struct ChunkJob {
    PgnChunk chunk;
    std::optional<ChunkOut> out;
    position::Vet vet;
    PgnState endState = PgnState::kTags;
    bool touched = false;
    bool unsafe = false;  // to be converted again here, in order
    bool done = false;
};

// Runs lines through the converter.
template <typename Out>
bool Feed(PgnLines<Out>& lines, const PgnChunk& chunk) {
    size_t from = 0;
    for (const size_t end : chunk.ends) {
        if (!lines.Take(std::string_view(chunk.text.data() + from, end - from))) {
            return false;
        }
        from = end;
    }
    return true;
}

// Where a new stretch may start: the converter's state followed line by
// line without playing moves. A stretch starts only with a tag that starts
// a new game while no side is to move, so that nothing of the last game
// (its board, brackets, side) reaches the next.
class Splitter {
  public:
    // Takes a line; true when a stretch may start with it.
    bool Take(std::string_view raw) {
        const char c = LeadOf(raw);
        const bool cut = c == '[' && m_state == PgnState::kAfterText && m_sideNone;
        if (IsGap(c)) {
            if (m_state != PgnState::kFenPending) {
                m_sideNone = true;
            }
            m_state = m_tagSeen ? PgnState::kAfterText : PgnState::kTags;
        } else if (c == '[') {
            m_tagSeen = true;
            if (!StartsWithUpper(settings::Trim(raw), "[FEN")) {
                if (m_state != PgnState::kFenPending) {
                    m_state = PgnState::kTags;
                }
            } else {
                m_state = PgnState::kFenPending;
                m_sideNone = false;
            }
        } else {
            m_state = m_tagSeen ? PgnState::kAfterText : PgnState::kTags;
            m_sideNone = false;
        }
        return cut;
    }

  private:
    PgnState m_state = PgnState::kTags;
    bool m_tagSeen = false;
    bool m_sideNone = true;
};

// Worker threads converting stretches; their results are taken in order.
class ChunkPool {
  public:
    ChunkPool(const ConvertInput& in, bool longRanks)
        : m_in(in), m_startVet(in.vet), m_longRanks(longRanks) {}
    ~ChunkPool() {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_changed.notify_all();
        for (auto& t : m_threads) {
            t.join();
        }
    }
    ChunkPool(const ChunkPool&) = delete;
    ChunkPool& operator=(const ChunkPool&) = delete;

    // Starts up to count workers; false when none could be.
    bool Start(unsigned count) {
        for (unsigned i = 0; i < count; ++i) {
            try {
                m_threads.emplace_back([this] { Work(); });
            } catch (const std::system_error&) {
                break;
            }
        }
        return !m_threads.empty();
    }
    size_t Workers() const { return m_threads.size(); }
    size_t Pending() const { return m_jobs.size(); }

    // Takes back a record buffer for a later stretch.
    void Recycle(std::vector<char>& records) {
        std::lock_guard lock(m_mutex);
        m_freeRecords.emplace_back().swap(records);
    }

    void Submit(std::unique_ptr<ChunkJob> job) {
        {
            std::lock_guard lock(m_mutex);
            m_jobs.push_back(std::move(job));
        }
        m_changed.notify_all();
    }

    // The oldest job, once done.
    std::unique_ptr<ChunkJob> TakeOldest() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_jobs.front()->done; });
        std::unique_ptr<ChunkJob> job = std::move(m_jobs.front());
        m_jobs.pop_front();
        --m_started;
        return job;
    }

  private:
    void Work() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_changed.wait(lock, [this] { return m_stop || m_started < m_jobs.size(); });
            if (m_stop) {
                return;
            }
            ChunkJob& job = *m_jobs[m_started++];
            lock.unlock();
            Run(job);
            lock.lock();
            job.done = true;
            m_changed.notify_all();
        }
    }

    void Run(ChunkJob& job) {
        try {
            job.vet = m_startVet;
            ChunkOut out(m_longRanks);
            {
                // A buffer already grown spares faulting in fresh pages.
                std::lock_guard lock(m_mutex);
                if (!m_freeRecords.empty()) {
                    out.records.swap(m_freeRecords.back());
                    m_freeRecords.pop_back();
                }
            }
            PgnLines<ChunkOut> lines(out, m_in, job.vet, job.chunk.state, job.chunk.tagSeen);
            lines.replay.WatchSpill();
            Feed(lines, job.chunk);
            job.endState = lines.State();
            job.touched = lines.replay.touched;
            job.unsafe = lines.replay.spilled;
            job.out.emplace(std::move(out));
        } catch (...) {
            job.unsafe = true;
        }
    }

    const ConvertInput& m_in;
    const position::Vet m_startVet;
    const bool m_longRanks;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::unique_ptr<ChunkJob>> m_jobs;  // submitted and not yet taken, in order
    size_t m_started = 0;                          // jobs of m_jobs a worker has taken
    bool m_stop = false;
    std::vector<std::vector<char>> m_freeRecords;
    std::vector<std::thread> m_threads;
};

// The PGN converter over a book read ahead in stretches, converted by
// workers and written here in order (the progress reported as they are).
// Books of one stretch, and conversions asked to use no worker, are
// converted here line by line.
class PgnRun {
  public:
    PgnRun(Conversion& conv, const ConvertInput& in)
        : m_conv(conv), m_in(in), m_longRanks(LongRanks(in.style.BORDERWIDTH)) {}

    bool Run(LineReader& reader, PgnState& last) {
        std::string_view raw;
        const unsigned cores = m_in.workers != 0 ? m_in.workers : std::thread::hardware_concurrency();
        if (cores < 2) {
            Sequential(PgnState::kTags, false);
            while (reader.Next(raw)) {
                if (!m_seq->Take(raw)) {
                    return false;
                }
            }
            last = m_seq->State();
            return true;
        }
        m_workers = std::min(cores, 4u);
        Splitter split;
        PgnChunk chunk;
        while (reader.Next(raw)) {
            if (split.Take(raw) && chunk.text.size() >= kChunkBytes) {
                if (!Dispatch(std::move(chunk), false)) {
                    return false;
                }
                chunk = PgnChunk{};
                if (!m_freeText.empty()) {
                    chunk.text.swap(m_freeText.back());
                    m_freeText.pop_back();
                    chunk.text.clear();
                }
                chunk.state = PgnState::kAfterText;
                chunk.tagSeen = true;
            }
            chunk.text.append(raw);
            chunk.ends.push_back(chunk.text.size());
            if (chunk.text.size() > kChunkLimit) {
                // No game starts for long: the rest is converted here, the
                // stretches already handed out written first.
                if (!Drain() || !Feed(*Continue(chunk), chunk)) {
                    return false;
                }
                while (reader.Next(raw)) {
                    if (!m_seq->Take(raw)) {
                        return false;
                    }
                }
                last = m_seq->State();
                return true;
            }
        }
        if (!Dispatch(std::move(chunk), true)) {
            return false;
        }
        if (!Drain()) {
            return false;
        }
        last = m_seq ? m_seq->State() : m_last;
        return true;
    }

  private:
    // Writes every stretch handed out.
    bool Drain() {
        while (m_pool && m_pool->Pending() > 0) {
            if (!Merge(m_pool->TakeOldest())) {
                return false;
            }
        }
        return true;
    }

    // The line-by-line converter, from the start of the stretch on unless
    // it already runs.
    PgnLines<Conversion>* Continue(const PgnChunk& chunk) {
        if (!m_seq) {
            Sequential(chunk.state, chunk.tagSeen);
        }
        return &*m_seq;
    }

    void Sequential(PgnState state, bool tagSeen) { m_seq.emplace(m_conv, m_in, m_in.vet, state, tagSeen); }

    bool Dispatch(PgnChunk chunk, bool final) {
        if (!m_seq && !m_pool) {
            m_pool.emplace(m_in, m_longRanks);
            if (final || !m_pool->Start(m_workers)) {
                m_pool.reset();
                Sequential(chunk.state, chunk.tagSeen);
            }
        }
        if (!m_pool) {
            return Feed(*m_seq, chunk);
        }
        auto job = std::make_unique<ChunkJob>();
        job->chunk = std::move(chunk);
        m_pool->Submit(std::move(job));
        while (m_pool->Pending() > m_pool->Workers() + 1) {
            if (!Merge(m_pool->TakeOldest())) {
                return false;
            }
        }
        return true;
    }

    // Writes a worker's records in order, numbering the games.
    bool Merge(std::unique_ptr<ChunkJob> job) {
        if (m_seq) {
            return Feed(*m_seq, job->chunk);
        }
        if (job->unsafe || !job->out) {
            Sequential(job->chunk.state, job->chunk.tagSeen);
            return Feed(*m_seq, job->chunk);
        }
        ChunkOut& out = *job->out;
        size_t g = 0;
        size_t k = 0;
        for (int64_t i = 0; i < out.count_; ++i) {
            while (g < out.gameStarts.size() && out.gameStarts[g] == i) {
                m_conv.NewGame();
                ++g;
            }
            if (k < out.known.size() && out.known[k].first == i) {
                m_conv.KeyOfNextRecord(out.known[k++].second);
            }
            if (!m_conv.PutFormatted(out.records.data() + i * kRecordLength)) {
                LeaveBoardAt(job->chunk, i);
                return false;
            }
        }
        for (; g < out.gameStarts.size(); ++g) {
            m_conv.NewGame();
        }
        if (job->touched) {
            m_in.vet = job->vet;
        }
        m_pool->Recycle(job->out->records);
        m_freeText.emplace_back().swap(job->chunk.text);
        m_last = job->endState;
        return true;
    }

    // Writing stopped at a record of the stretch: the board is left as
    // converting line by line would have left it there.
    void LeaveBoardAt(const PgnChunk& chunk, int64_t record) {
        ChunkOut out(m_longRanks);
        out.limit = record;
        PgnLines<ChunkOut> lines(out, m_in, m_in.vet, chunk.state, chunk.tagSeen);
        Feed(lines, chunk);
    }

    Conversion& m_conv;
    const ConvertInput& m_in;
    const bool m_longRanks;
    unsigned m_workers = 1;
    PgnState m_last = PgnState::kTags;
    std::vector<std::string> m_freeText;  // text of stretches written, for later ones
    std::optional<PgnLines<Conversion>> m_seq;
    std::optional<ChunkPool> m_pool;
};

}  // namespace

LoadResult LoadPGN(Book& book, const ConvertInput& in) {
    Conversion conv(book, in, 10);
    conv.StartWithGameOne();
    return ConvertLines(conv, book.BookFile, [&](LineReader& reader) {
        PgnState last = PgnState::kTags;
        PgnRun run(conv, in);
        if (!run.Run(reader, last)) {
            return;
        }
        if (!EndOfBook(conv, reader)) {
            return;
        }
        if (last == PgnState::kTags && book.NGames >= 2) {
            conv.DropLastGame();
        }
    });
}

}  // namespace books
