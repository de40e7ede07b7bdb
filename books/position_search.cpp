#include "books/position_search.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <numeric>
#include <system_error>
#include <thread>
#include <unordered_map>

namespace books {

namespace {

constexpr int64_t kChunk = 512;            // records read at once
constexpr int64_t kProgressEvery = 65536;  // records between progress reports

// The ordinal of a position whose place among the position records is not
// known.
constexpr uint64_t kNoOrdinal = UINT64_MAX;

std::string_view TextOf(const char* record) {
    return {record + 2 + kFieldLength, static_cast<size_t>(kTextLength)};
}

// Where a walk over the records starts and ends, and what is known there:
// the game (index into FullIndex) and the positions of it before the start,
// and the ordinal of the next position record (kNoOrdinal: not known).
struct Stretch {
    int64_t from = 1;
    int64_t to = 0;  // the last record
    size_t game = 0;
    int64_t position = 0;
    uint64_t ordinal = 0;
};

// Walks every position record of a stretch of the book in order, with its
// game (from 1), its place in the game and its ordinal among the work
// file's position records (from 0, or kNoOrdinal); a position's
// continuation records are joined to its text. fn returns false to stop;
// so does progress, told of the records walked.
template <typename Fn>
bool ForEachPosition(const Book& book, const Stretch& stretch, Fn&& fn, const FindProgressFn& progress) {
    const std::vector<int64_t>& games = book.FullIndex;
    if (games.empty()) {
        return true;
    }
    // A chunk small enough to stay in the processor's cache while it is read.
    std::vector<char> chunk(static_cast<size_t>(kChunk * kRecordLength));
    size_t g = stretch.game;
    int64_t position = stretch.position;
    uint64_t ordinal = stretch.ordinal;
    std::string pending;
    int64_t pendingRec = 0;
    int64_t pendingGame = 0;
    int64_t pendingPosition = 0;
    uint64_t pendingOrdinal = 0;
    auto flush = [&]() {
        if (pendingRec == 0) {
            return true;
        }
        const int64_t rec = pendingRec;
        pendingRec = 0;
        return fn(pendingGame, pendingPosition, pendingOrdinal, rec, std::string_view(pending));
    };
    const int64_t start = games.front();
    for (int64_t r = stretch.from; r <= stretch.to; r += kChunk) {
        const int64_t want = std::min(kChunk, stretch.to - r + 1);
        const int64_t got = book.ReadRecords(r, want, chunk.data());
        for (int64_t i = 0; i < got; ++i) {
            const int64_t rec = r + i;
            const char* record = chunk.data() + i * kRecordLength;
            const char kind = record[1];
            if (kind == kMore) {
                if (pendingRec != 0 && pending.size() < kMaxPositionText) {
                    pending.append(TextOf(record));
                }
                continue;
            }
            if (!flush()) {
                return false;
            }
            if (kind != kEntry) {
                continue;
            }
            const uint64_t at = ordinal == kNoOrdinal ? kNoOrdinal : ordinal++;
            if (rec < start) {
                continue;  // before the first game: no game's position
            }
            while (g + 1 < games.size() && rec >= games[g + 1]) {
                ++g;
                position = 0;
            }
            ++position;
            // A position without continuations is read where it lies.
            if (i + 1 < got && record[kRecordLength + 1] != kMore) {
                if (!fn(static_cast<int64_t>(g) + 1, position, at, rec, TextOf(record))) {
                    return false;
                }
                continue;
            }
            pending.assign(TextOf(record));
            pendingRec = rec;
            pendingGame = static_cast<int64_t>(g) + 1;
            pendingPosition = position;
            pendingOrdinal = at;
        }
        if (progress && ((r - stretch.from) / kChunk) % (kProgressEvery / kChunk) == 0 &&
            !progress(r - stretch.from, stretch.to - stretch.from + 1)) {
            return false;
        }
        if (got != want) {
            break;
        }
    }
    return flush();
}

// The whole text of the position at record rec (with its continuations).
bool PositionAt(const Book& book, int64_t rec, std::string& text) {
    char record[kRecordLength];
    if (book.ReadRecords(rec, 1, record) != 1 || record[1] != kEntry) {
        return false;
    }
    text.assign(TextOf(record));
    for (int64_t r = rec + 1; r <= book.NRecords && text.size() < kMaxPositionText; ++r) {
        if (book.ReadRecords(r, 1, record) != 1 || record[1] != kMore) {
            break;
        }
        text.append(TextOf(record));
    }
    return true;
}

// The place of the position at record rec in the game starting at record
// start: the position records from start to rec.
int64_t PositionNumber(const Book& book, int64_t start, int64_t rec) {
    std::vector<char> chunk(static_cast<size_t>(std::min<int64_t>(rec - start + 1, kChunk) * kRecordLength));
    int64_t count = 0;
    for (int64_t r = start; r <= rec; r += kChunk) {
        const int64_t want = std::min(kChunk, rec - r + 1);
        const int64_t got = book.ReadRecords(r, want, chunk.data());
        for (int64_t i = 0; i < got; ++i) {
            count += chunk[static_cast<size_t>(i * kRecordLength + 1)] == kEntry ? 1 : 0;
        }
        if (got != want) {
            break;
        }
    }
    return count;
}

// The game (index into FullIndex) whose records hold rec, or -1.
int64_t GameOf(const Book& book, int64_t rec) {
    const auto& games = book.FullIndex;
    const auto it = std::upper_bound(games.begin(), games.end(), rec);
    return it == games.begin() ? -1 : static_cast<int64_t>(it - games.begin()) - 1;
}

// The second half of a long book's records: from a record that does not
// continue a position, within a game. False when the book is too short to
// be worth two walkers.
bool SecondHalf(const Book& book, int64_t twoWalkersFrom, Stretch& second) {
    const std::vector<int64_t>& games = book.FullIndex;
    if (book.NRecords < std::max<int64_t>(twoWalkersFrom, 2) || games.empty()) {
        return false;
    }
    int64_t from = book.NRecords / 2 + 1;
    char record[kRecordLength];
    // A position's continuations stay with it (a damaged run of them gives
    // up the split).
    for (int k = 0;; ++from, ++k) {
        if (k == 4096 || from > book.NRecords || book.ReadRecords(from, 1, record) != 1) {
            return false;
        }
        if (record[1] != kMore) {
            break;
        }
    }
    if (from <= games.front()) {
        return false;
    }
    const auto g = static_cast<size_t>(GameOf(book, from));
    second = {from, book.NRecords, g, from > games[g] ? PositionNumber(book, games[g], from - 1) : 0,
              kNoOrdinal};
    return true;
}

// Walks the two halves of a long book's records side by side: the first
// on this thread, whose test reports its matches as they come; the second
// on a helper (testWith with a walker of its own, no materials: the
// ordinals are not known there), whose matches are kept and reported once
// the first half is done, in book order. A helper that has kept many stops
// there and leaves the rest to this thread. progress is told of the
// records both have walked. False when stopped.
template <typename Test, typename TestWith, typename Report, typename Walker>
bool WalkInTwo(const Book& book, const Stretch& second, size_t keptMatches, const FindProgressFn& progress,
               Test& test, TestWith& testWith, Report& report, Walker theirs) {
    std::atomic<bool> stop{false};
    std::atomic<int64_t> walked{0};
    // A match kept is 24 bytes; its "how" is one of few texts.
    struct Kept {
        int64_t record;
        int32_t game;
        int32_t position;
        uint32_t how;
    };
    std::vector<Kept> kept;
    std::vector<std::string> hows;
    std::unordered_map<std::string, uint32_t> howAt;
    bool capped = false;
    Stretch rest;  // where this thread goes on after the kept matches
    auto keep = [&](int64_t game, int64_t position, int64_t rec, const std::string& how) {
        const auto [at, added] = howAt.try_emplace(how, static_cast<uint32_t>(hows.size()));
        if (added) {
            hows.push_back(how);
        }
        kept.push_back({rec, static_cast<int32_t>(game), static_cast<int32_t>(position), at->second});
        if (kept.size() < std::max<size_t>(keptMatches, 1)) {
            return !stop;
        }
        capped = true;
        rest = {rec + 1, second.to, static_cast<size_t>(game - 1), position, kNoOrdinal};
        return false;
    };
    std::mutex mutex;
    std::condition_variable ended;
    bool helperDone = false;
    auto helperWalk = [&] {
        ForEachPosition(
            book, second,
            [&](int64_t game, int64_t position, uint64_t ordinal, int64_t rec, std::string_view text) {
                return !stop && testWith(theirs, keep, game, position, ordinal, rec, text);
            },
            [&](int64_t done, int64_t) {
                walked = done;
                return !stop;
            });
        const std::lock_guard<std::mutex> lock(mutex);
        helperDone = true;
        ended.notify_all();
    };
    std::thread helper;
    try {
        helper = std::thread(helperWalk);
    } catch (const std::system_error&) {
        return ForEachPosition(book, Stretch{1, book.NRecords, 0, 0, 0}, test, progress);
    }
    auto told = [&](int64_t done, int64_t) { return !progress || progress(done + walked, book.NRecords); };
    const int64_t firstLength = second.from - 1;
    const bool finished = ForEachPosition(book, Stretch{1, firstLength, 0, 0, 0}, test, told);
    if (!finished) {
        stop = true;
    }
    {
        // The caller (a window) is told of the progress while the helper
        // ends, and may stop it.
        std::unique_lock<std::mutex> lock(mutex);
        while (!helperDone) {
            if (!ended.wait_for(lock, std::chrono::milliseconds(50), [&] { return helperDone; }) && !stop) {
                lock.unlock();
                stop = !told(firstLength, 0);
                lock.lock();
            }
        }
    }
    helper.join();
    if (stop) {
        return false;
    }
    for (const Kept& m : kept) {
        if (!report(m.game, m.position, m.record, hows[m.how])) {
            return false;
        }
    }
    if (!capped) {
        return true;
    }
    return ForEachPosition(book, rest, test, [&](int64_t done, int64_t) {
        return !progress || progress(rest.from - 1 + done, book.NRecords);
    });
}

}  // namespace

std::string FindStatusText(FindStatus status) {
    switch (status) {
        case FindStatus::kNoMen:
            return "The position has no men.";
        case FindStatus::kTooLarge:
            return "The position is larger than the book's board.";
        case FindStatus::kDone:
        case FindStatus::kStopped:
            break;
    }
    return {};
}

void ForEachFirstPosition(
    const Book& book, const std::function<bool(int64_t game, int64_t record, std::string_view text)>& fn) {
    const auto& games = book.FullIndex;
    constexpr int64_t kAhead = 16;
    std::vector<char> chunk(static_cast<size_t>(kAhead * kRecordLength));
    std::string text;
    for (size_t g = 0; g < games.size(); ++g) {
        const int64_t end = g + 1 < games.size() ? games[g + 1] : book.NRecords + 1;
        int64_t found = 0;
        for (int64_t r = games[g]; r < end && found == 0; r += kAhead) {
            const int64_t want = std::min(kAhead, end - r);
            const int64_t got = book.ReadRecords(r, want, chunk.data());
            for (int64_t i = 0; i < got; ++i) {
                if (chunk[static_cast<size_t>(i * kRecordLength + 1)] == kEntry) {
                    found = r + i;
                    break;
                }
            }
            if (got != want) {
                break;
            }
        }
        if (found != 0 && PositionAt(book, found, text) && !fn(static_cast<int64_t>(g) + 1, found, text)) {
            return;
        }
    }
}

FindResult FindPositions(const Book& book, const position::BoardShape& shape, std::string_view text,
                         const FindOptions& options, const MatchFn& onMatch, const PositionIndex* index,
                         const FindProgressFn& progress) {
    FindResult result;
    const PlacementReader reader(shape);
    Placement query;
    reader.Read(text, query);
    if (query.outside != 0) {
        result.status = FindStatus::kTooLarge;
        return result;
    }
    if (query.men.empty()) {
        result.status = FindStatus::kNoMen;
        return result;
    }
    const std::vector<Variant> variants = MakeVariants(query, reader, options.mirror, options.colours);
    // The index's materials turn most positions away before their text is
    // read: a shift keeps the material too. Only an index of this very work
    // file has them in step with its records.
    const bool useMaterial = index != nullptr && index->Ready() &&
                             index->Key().records == static_cast<uint64_t>(book.NRecords) &&
                             index->Key().games == book.FullIndex.size();
    std::vector<uint32_t> materials;
    std::vector<TextMatcher> matchers;
    for (const Variant& v : variants) {
        materials.push_back(MaterialOf(v.placement));
        matchers.emplace_back(reader, v.placement, options.partial);
    }
    const MaterialFilter filter(materials, options.partial);
    // Materials that turn few positions away (men present in nearly every
    // position) only cost time: after a trial they are no longer looked at.
    constexpr uint64_t kTrial = 65536;
    // What each walker over the records keeps of its own.
    struct Walker {
        uint64_t positions = 0;  // those whose material is looked at
        uint64_t passed = 0;
        uint64_t turnedAway = 0;
        Placement record;
        std::string how;
    };
    auto testWith = [&](Walker& w, auto&& found, int64_t game, int64_t position, uint64_t ordinal,
                        int64_t rec, std::string_view recordText) {
        if (ordinal < w.positions) {
            if (!filter.Passes(index->MaterialAt(ordinal))) {
                ++w.turnedAway;
                return true;
            }
            if (++w.passed == kTrial && w.turnedAway < kTrial / 8) {
                w.positions = 0;
            }
        }
        if (options.shift) {
            // Shifts need the men: the whole placement is read.
            reader.Read(recordText, w.record);
            return !MatchPlacement(w.record, variants, options, reader, w.how) ||
                   found(game, position, rec, w.how);
        }
        for (size_t v = 0; v < matchers.size(); ++v) {
            if (matchers[v].Matches(recordText)) {
                return found(game, position, rec, variants[v].how);
            }
        }
        return true;
    };
    auto report = [&](int64_t game, int64_t position, int64_t rec, const std::string& how) {
        ++result.matches;
        if (!onMatch({game, position, rec, how})) {
            result.status = FindStatus::kStopped;
            return false;
        }
        return true;
    };
    Walker mine;
    mine.positions = useMaterial ? index->Positions() : 0;
    auto test = [&](int64_t game, int64_t position, uint64_t ordinal, int64_t rec,
                    std::string_view recordText) {
        return testWith(mine, report, game, position, ordinal, rec, recordText);
    };

    if (index != nullptr && index->Ready() && !options.partial && !options.shift) {
        result.indexed = true;
        std::vector<int64_t> candidates;
        for (const Variant& v : variants) {
            index->Candidates(PlacementHash(v.placement.cells), candidates);
        }
        std::sort(candidates.begin(), candidates.end());
        candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
        std::string whole;
        int64_t done = 0;
        for (const int64_t rec : candidates) {
            if (progress && ++done % 4096 == 0 && !progress(done, static_cast<int64_t>(candidates.size()))) {
                result.status = FindStatus::kStopped;
                return result;
            }
            const int64_t g = GameOf(book, rec);
            if (g < 0 || rec > book.NRecords || !PositionAt(book, rec, whole)) {
                continue;
            }
            const int64_t position = PositionNumber(book, book.FullIndex[static_cast<size_t>(g)], rec);
            if (options.first && position != 1) {
                continue;
            }
            if (!test(g + 1, position, kNoOrdinal, rec, whole)) {
                return result;
            }
        }
        return result;
    }

    if (options.first) {
        int64_t done = 0;
        const int64_t total = static_cast<int64_t>(book.FullIndex.size());
        ForEachFirstPosition(book, [&](int64_t game, int64_t rec, std::string_view t) {
            if (progress && ++done % 1024 == 0 && !progress(done, total)) {
                result.status = FindStatus::kStopped;
                return false;
            }
            return test(game, 1, kNoOrdinal, rec, t);
        });
        return result;
    }
    const Stretch whole{1, book.NRecords, 0, 0, 0};
    Stretch second;
    bool finished = true;
    // Games and positions fit the kept matches' 32 bits: a work file holds
    // fewer records than that.
    if (book.NRecords >= INT32_MAX || !SecondHalf(book, options.twoWalkersFrom, second)) {
        finished = ForEachPosition(book, whole, test, progress);
    } else {
        finished = WalkInTwo(book, second, options.keptMatches, progress, test, testWith, report, Walker{});
    }
    if (!finished && result.status == FindStatus::kDone) {
        result.status = FindStatus::kStopped;
    }
    return result;
}

namespace {

struct FirstPlacement {
    int64_t game = 0;
    Placement placement;
};

std::vector<FirstPlacement> FirstPlacements(const Book& book, const PlacementReader& reader) {
    std::vector<FirstPlacement> out;
    ForEachFirstPosition(book, [&](int64_t game, int64_t, std::string_view text) {
        FirstPlacement f;
        f.game = game;
        reader.Read(text, f.placement);
        out.push_back(std::move(f));
        return true;
    });
    return out;
}

std::string CellsKey(const Placement& p) {
    return std::string(p.cells.begin(), p.cells.end());
}

}  // namespace

std::vector<std::vector<int64_t>> FindDuplicates(const Book& book, const position::BoardShape& shape,
                                                 bool mirror, bool colours) {
    const PlacementReader reader(shape);
    const std::vector<FirstPlacement> firsts = FirstPlacements(book, reader);
    // Games joined whenever one's placement, or one of its transformed
    // forms, is another's: the groups are the connected games.
    std::vector<size_t> parent(firsts.size());
    std::iota(parent.begin(), parent.end(), size_t{0});
    auto root = [&](size_t i) {
        while (parent[i] != i) {
            parent[i] = parent[parent[i]];
            i = parent[i];
        }
        return i;
    };
    std::unordered_map<std::string, size_t> seen;
    for (size_t i = 0; i < firsts.size(); ++i) {
        const auto [it, fresh] = seen.emplace(CellsKey(firsts[i].placement), i);
        if (!fresh) {
            parent[root(i)] = root(it->second);
        }
    }
    if (mirror || colours) {
        for (size_t i = 0; i < firsts.size(); ++i) {
            const std::vector<Variant> variants = MakeVariants(firsts[i].placement, reader, mirror, colours);
            for (size_t v = 1; v < variants.size(); ++v) {
                const auto it = seen.find(CellsKey(variants[v].placement));
                if (it != seen.end()) {
                    parent[root(i)] = root(it->second);
                }
            }
        }
    }
    std::unordered_map<size_t, size_t> groupOf;
    std::vector<std::vector<int64_t>> groups;
    for (size_t i = 0; i < firsts.size(); ++i) {
        const auto [it, fresh] = groupOf.emplace(root(i), groups.size());
        if (fresh) {
            groups.emplace_back();
        }
        groups[it->second].push_back(firsts[i].game);
    }
    std::erase_if(groups, [](const std::vector<int64_t>& g) { return g.size() < 2; });
    return groups;
}

std::vector<Anticipation> FindAnticipations(const Book& book, const Book& other,
                                            const position::BoardShape& shape, bool partial) {
    const PlacementReader reader(shape);
    const std::vector<FirstPlacement> mine = FirstPlacements(book, reader);
    const std::vector<FirstPlacement> theirs = FirstPlacements(other, reader);
    std::vector<Anticipation> out;
    if (!partial) {
        std::unordered_map<std::string, std::vector<int64_t>> byPlacement;
        for (const FirstPlacement& f : theirs) {
            byPlacement[CellsKey(f.placement)].push_back(f.game);
        }
        for (const FirstPlacement& f : mine) {
            const auto it = byPlacement.find(CellsKey(f.placement));
            if (it != byPlacement.end()) {
                out.push_back({f.game, it->second});
            }
        }
        return out;
    }
    // The games of the other book that have a man on a square, for every
    // man and square; a position is looked for among the games of its
    // rarest man.
    std::unordered_map<int, std::vector<uint32_t>> withMan;
    for (uint32_t i = 0; i < theirs.size(); ++i) {
        for (const Man& m : theirs[i].placement.men) {
            withMan[(m.square << 8) | m.code].push_back(i);
        }
    }
    for (const FirstPlacement& f : mine) {
        Anticipation a{f.game, {}};
        if (f.placement.men.empty()) {
            for (const FirstPlacement& t : theirs) {
                a.others.push_back(t.game);
            }
        } else {
            const std::vector<uint32_t>* rarest = nullptr;
            for (const Man& m : f.placement.men) {
                const auto it = withMan.find((m.square << 8) | m.code);
                if (it == withMan.end()) {
                    rarest = nullptr;
                    break;
                }
                if (rarest == nullptr || it->second.size() < rarest->size()) {
                    rarest = &it->second;
                }
            }
            if (rarest != nullptr) {
                for (const uint32_t i : *rarest) {
                    if (MatchesInPlace(theirs[i].placement, f.placement, true, reader.Squares())) {
                        a.others.push_back(theirs[i].game);
                    }
                }
            }
        }
        if (!a.others.empty()) {
            out.push_back(std::move(a));
        }
    }
    return out;
}

}  // namespace books
