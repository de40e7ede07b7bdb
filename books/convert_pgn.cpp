// The PGN converter: tags as records, the movetext replayed move by move.
#include "books/convert.h"

#include <algorithm>
#include <array>
#include <climits>
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
#include "position/placement_writer.h"
#include "position/play_move.h"

namespace books {

using detail::Conversion;
using detail::PrepareLine;

namespace {

bool StartsWithUpper(std::string_view text, std::string_view upperPrefix) {
    if (text.size() < upperPrefix.size()) {
        return false;
    }
    for (size_t i = 0; i < upperPrefix.size(); ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        if (c != upperPrefix[i]) {
            return false;
        }
    }
    return true;
}

// True when the text holds a blank followed by "b" or "B".
bool BlackToMove(std::string_view fen) {
    for (size_t i = 0; i + 1 < fen.size(); ++i) {
        if (fen[i] == ' ' && (fen[i + 1] == 'b' || fen[i + 1] == 'B')) {
            return true;
        }
    }
    return false;
}

// Movetext characters that are neither brackets nor token ends.
constexpr std::array<bool, 256> kPlain = [] {
    std::array<bool, 256> plain{};
    plain.fill(true);
    for (const char c : {' ', '.', '(', ')', '{', '}'}) {
        plain[static_cast<unsigned char>(c)] = false;
    }
    return plain;
}();

inline bool IsPlain(char ch) {
    return kPlain[static_cast<unsigned char>(ch)];
}

// The movetext half of the PGN converter: walks tokens, replays them and
// writes one position record per move applied. Nothing here allocates once
// its buffers have grown to the longest token.
template <typename Out>
class Replay {
  public:
    Replay(Out& conv, const ConvertInput& in, position::Vet& vet)
        : m_conv(conv),
          m_style{in.style.Shape(), in.style.ENGLISHNOTATION},
          m_startPos(in.style.STARTPOS),
          m_vet(vet),
          m_placement(m_style.shape) {
        m_token.reserve(64);
    }

    // Side to move; none before the game's first position.
    std::optional<position::Side> side;

    void SetUp(std::string_view fen) {
        if (m_watchSpill) {
            Watched(fen);
        } else {
            position::Build2(m_vet, position::kPosition, fen, m_style.shape);
        }
        m_changed = position::PlacementWriter::kAllRanks;
        touched = true;
    }

    // True once the board was set up.
    bool touched = false;
    // True when a placement ran past the board's squares: the cells beyond
    // them, which a board of its own cannot know, were written.
    bool spilled = false;

    // Watches for placements running past the board's squares.
    void WatchSpill() { m_watchSpill = true; }

    // One movetext line (trimmed, one blank appended).
    bool Line(std::string_view line) {
        const char* p = line.data();
        const char* const end = p + line.size();
        while (p < end) {
            const char ch = *p;
            if (IsPlain(ch)) {
                // A run of token characters is taken at once.
                const char* q = p + 1;
                while (q < end && IsPlain(*q)) {
                    ++q;
                }
                if (m_depth < 1) {
                    m_token.append(p, static_cast<size_t>(q - p));
                    // A stray closing bracket leaves no lasting harm.
                    m_depth = 0;
                }
                p = q;
                continue;
            }
            if (ch == '(' || ch == '{') {
                ++m_depth;
            } else if (ch == ')' || ch == '}') {
                --m_depth;
            } else if (!EndToken()) {
                return false;
            }
            ++p;
        }
        return true;
    }

    // A new game starts: a bracket left open by the last game's text does
    // not swallow the moves of every later game.
    void NewGame() {
        m_depth = 0;
        m_token.clear();
    }

  private:
    bool EndToken() {
        // Move numbers and results are skipped; castling with zeros is not.
        if (!m_token.empty() && m_token[0] >= '1' && m_token[0] <= '9') {
            m_token.clear();
            return true;
        }
        if (!side) {
            if (!m_conv.Put(kEntry, m_startPos)) {
                return false;
            }
            side = position::Side::kWhite;
            SetUp(m_startPos);
        }
        if (!m_token.empty()) {
            const position::PlayResult r = position::PlayMove(m_vet, m_style, *side, m_token);
            m_changed |= ChangedRanks(r);
            if (r.Applied() && !PutPosition()) {
                return false;
            }
        }
        m_token.clear();
        return true;
    }

    // Ranks a move may have changed: those of its two squares, and for a
    // pawn or a promotion the ranks beside the destination (an en-passant
    // capture empties the square behind it). Anything else: every rank.
    uint32_t ChangedRanks(const position::PlayResult& r) const {
        if (r.status != position::PlayStatus::kMoved || !m_placement.Eight()) {
            return position::PlacementWriter::kAllRanks;
        }
        const int to = r.to / 8;
        uint32_t ranks = (1u << (r.from / 8)) | (1u << to);
        const char kind = m_style.KindOf(m_vet(position::kPosition, r.to));
        if (kind == 'P' || kind == 'p' || std::find(m_token.begin(), m_token.end(), '=') != m_token.end()) {
            ranks |= (to > 0 ? 1u << (to - 1) : 0u) | (to < 7 ? 1u << (to + 1) : 0u);
        }
        return ranks;
    }

    // Writes the position record of the board after a move.
    bool PutPosition() {
        const char* suffix = *side == position::Side::kBlack ? " w - - 0 0" : " b - - 0 0";
        side = position::Other(*side);
        const uint32_t changed = m_changed;
        m_changed = 0;
        if (!m_placement.Eight()) {
            int len = m_placement.Write(m_vet, m_text.data(), changed);
            std::memcpy(m_text.data() + len, suffix, 10);
            len += 10;
            return m_conv.Put(kEntry, std::string_view(m_text.data(), static_cast<size_t>(len)));
        }
        // Written straight into the record: the placement of 8 x 8 squares
        // and the side always fit.
        char* room = m_conv.Reserve(kEntry);
        if (room == nullptr) {
            return false;
        }
        char* text = room + 2 + kFieldLength;
        const int len = m_placement.Write(m_vet, text, changed);
        std::memcpy(text + len, suffix, 10);
        std::memset(text + len + 10, ' ', static_cast<size_t>(kTextLength - len - 10));
        m_conv.Commit();
        return true;
    }

    // Sets up the board and notes whether the placement reached the cell
    // after the last square (the cells are written in order).
    void Watched(std::string_view fen) {
        const int squares = m_style.shape.Squares();
        if (squares >= position::kCells) {
            position::Build2(m_vet, position::kPosition, fen, m_style.shape);
            return;
        }
        int16_t& beyond = m_vet(position::kPosition, squares);
        const int16_t kept = beyond;
        constexpr int16_t kMark = INT16_MIN;
        beyond = kMark;
        position::Build2(m_vet, position::kPosition, fen, m_style.shape);
        if (beyond == kMark) {
            beyond = kept;
        } else {
            spilled = true;
        }
    }

    Out& m_conv;
    bool m_watchSpill = false;
    position::NotationStyle m_style;
    const std::string& m_startPos;
    position::Vet& m_vet;
    position::PlacementWriter m_placement;
    uint32_t m_changed = position::PlacementWriter::kAllRanks;  // ranks changed since the last record
    std::string m_token;
    int64_t m_depth = 0;
    std::array<char, position::kMaxPlacement + 16> m_text{};
};

// Where the PGN converter stands between lines.
enum class PgnState {
    kTags,        // tags or nothing yet
    kAfterText,   // after movetext, or a blank line following tags: the next tag starts a new game
    kFenPending,  // a FEN tag was read; its position is written at the next blank line
};

// The first character of a line as PrepareLine leaves it.
char LeadOf(std::string_view raw) {
    const std::string_view t = settings::Trim(raw);
    return t.empty() ? ' ' : t[0];
}

bool IsGap(char c) {
    return c == ' ' || c == ';' || c == '%' || c == '*';
}

// The line-by-line half of the PGN converter, writing to out: the records
// of the book itself (Conversion) or those of a stretch of it (ChunkOut).
template <typename Out>
class PgnLines {
  public:
    PgnLines(Out& out, const ConvertInput& in, position::Vet& vet, PgnState state, bool tagSeen)
        : replay(out, in, vet),
          m_out(out),
          m_startPos(in.style.STARTPOS),
          m_pending(m_startPos),
          m_state(state),
          m_tagSeen(tagSeen) {}

    Replay<Out> replay;

    PgnState State() const { return m_state; }

    // Takes one line; false when writing failed and the conversion stops.
    bool Take(std::string_view raw) {
        PrepareLine(raw, m_line);
        const std::string& line = m_line;
        const char c = line[0];
        if (IsGap(c)) {
            if (m_state == PgnState::kFenPending) {
                if (!m_out.Put(kEntry, m_pending)) {
                    return false;
                }
                m_pending = m_startPos;
            } else {
                replay.side.reset();
            }
            m_state = m_tagSeen ? PgnState::kAfterText : PgnState::kTags;
        } else if (c == '[') {
            m_tagSeen = true;
            if (m_state == PgnState::kAfterText) {
                m_out.NewGame();
                replay.NewGame();
            }
            if (!StartsWithUpper(line, "[FEN")) {
                if (!m_out.Put(kTag, line)) {
                    return false;
                }
                if (m_state != PgnState::kFenPending) {
                    m_state = PgnState::kTags;
                }
            } else {
                std::string_view fen = settings::Trim(std::string_view(line).substr(4));
                if (const size_t q = fen.find('"'); q != std::string_view::npos) {
                    fen.remove_prefix(q + 1);
                    if (const size_t q2 = fen.find('"'); q2 != std::string_view::npos) {
                        fen = fen.substr(0, q2);
                    }
                }
                m_pending.assign(fen);
                m_state = PgnState::kFenPending;
                replay.side = BlackToMove(m_pending) ? position::Side::kBlack : position::Side::kWhite;
                replay.SetUp(m_pending);
            }
        } else {
            m_state = m_tagSeen ? PgnState::kAfterText : PgnState::kTags;
            if (!replay.Line(line)) {
                return false;
            }
        }
        return true;
    }

  private:
    Out& m_out;
    const std::string& m_startPos;
    std::string m_pending;
    PgnState m_state;
    bool m_tagSeen;
    std::string m_line;
};

// A stretch of the book read ahead, starting with the first line of a game
// (or of the book), with the converter's state there.
struct PgnChunk {
    std::string text;            // the lines, one after the other
    std::vector<uint32_t> ends;  // where each line ends in text
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

    std::vector<char> records;
    int64_t count_ = 0;
    std::vector<int64_t> gameStarts;  // records before which a game starts
    int64_t limit = INT64_MAX;        // records it takes at most

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

constexpr size_t kChunkBytes = 256 * 1024;

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
    for (const uint32_t end : chunk.ends) {
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
    std::vector<std::thread> m_threads;
};

// The PGN converter over a book read ahead in stretches, converted by
// workers and written here in order. Conversions whose caller follows the
// progress, and books of one stretch, are converted here line by line.
class PgnRun {
  public:
    PgnRun(Conversion& conv, const ConvertInput& in)
        : m_conv(conv), m_in(in), m_longRanks(LongRanks(in.style.BORDERWIDTH)) {}

    bool Run(LineReader& reader, PgnState& last) {
        std::string_view raw;
        const unsigned cores = std::thread::hardware_concurrency();
        if (m_conv.Reports() || cores < 2) {
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
                chunk.state = PgnState::kAfterText;
                chunk.tagSeen = true;
            }
            chunk.text.append(raw);
            chunk.ends.push_back(static_cast<uint32_t>(chunk.text.size()));
        }
        if (!Dispatch(std::move(chunk), true)) {
            return false;
        }
        while (m_pool && m_pool->Pending() > 0) {
            if (!Merge(m_pool->TakeOldest())) {
                return false;
            }
        }
        last = m_seq ? m_seq->State() : m_last;
        return true;
    }

  private:
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
        while (m_pool->Pending() > 2 * m_pool->Workers() + 1) {
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
        const ChunkOut& out = *job->out;
        size_t g = 0;
        for (int64_t i = 0; i < out.count_; ++i) {
            while (g < out.gameStarts.size() && out.gameStarts[g] == i) {
                m_conv.NewGame();
                ++g;
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
