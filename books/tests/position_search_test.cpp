// Position search checked against a plain reading of every record: a
// generated book of a few thousand positions, random positions taken from
// it, every way of matching; duplicates and anticipations between two small
// books; and an index that is missing, stale or damaged.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <random>

#include "book_files.h"
#include "books/position_index.h"
#include "books/position_search.h"

using namespace books;
using namespace books_test;

namespace {

using Grid = std::vector<std::string>;  // rows of letters, '.' empty
const std::string kLetters = "pPnNbBrRqQkK";

std::string ToFen(const Grid& g) {
    std::string out;
    for (size_t r = 0; r < g.size(); ++r) {
        out += r ? "/" : "";
        int empty = 0;
        for (const char c : g[r]) {
            if (c == '.') {
                ++empty;
                continue;
            }
            out += empty ? std::to_string(empty) : "";
            empty = 0;
            out += c;
        }
        out += empty ? std::to_string(empty) : "";
    }
    return out;
}

// The placement of a record's text read the plain way.
Grid FromRecord(const std::string& text, int rows, int cols) {
    std::string cells;
    const size_t from = text.find_first_not_of(' ');
    for (size_t i = from; i < text.size() && text[i] != ' '; ++i) {
        if (text[i] >= '1' && text[i] <= '9') {
            cells.append(static_cast<size_t>(text[i] - '0'), '.');
        } else if (kLetters.find(text[i]) != std::string::npos) {
            cells += text[i];
        }
    }
    cells.resize(static_cast<size_t>(rows * cols), '.');
    Grid g(static_cast<size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        g[static_cast<size_t>(r)] = cells.substr(static_cast<size_t>(r * cols), static_cast<size_t>(cols));
    }
    return g;
}

Grid Transform(const Grid& q, const std::string& how) {
    const int n = static_cast<int>(q.size());
    const int m = static_cast<int>(q[0].size());
    Grid t = q;
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < m; ++c) {
            char ch = q[static_cast<size_t>(r)][static_cast<size_t>(c)];
            int tr = r;
            int tc = c;
            std::string rest = how;
            if (rest.starts_with("colours")) {
                rest = rest.size() > 7 ? rest.substr(8) : "";
            }
            if (rest == "mirror")
                tc = m - 1 - c;
            if (rest == "updown")
                tr = n - 1 - r;
            if (rest == "diagonal")
                tr = c, tc = r;
            if (rest == "antidiagonal")
                tr = n - 1 - c, tc = m - 1 - r;
            if (how.starts_with("colours")) {
                tr = n - 1 - tr;
                ch = static_cast<char>(std::isupper(ch) ? std::tolower(ch) : std::toupper(ch));
            }
            t[static_cast<size_t>(tr)][static_cast<size_t>(tc)] = ch;
        }
    }
    return t;
}

// Whether q shifted by (down, right) lies on the board and matches g.
bool Fits(const Grid& g, const Grid& q, int down, int right, bool partial) {
    const int n = static_cast<int>(g.size());
    const int m = static_cast<int>(g[0].size());
    int qMen = 0;
    int gMen = 0;
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < m; ++c) {
            gMen += g[static_cast<size_t>(r)][static_cast<size_t>(c)] != '.';
            const char ch = q[static_cast<size_t>(r)][static_cast<size_t>(c)];
            if (ch == '.')
                continue;
            ++qMen;
            if (r + down < 0 || r + down >= n || c + right < 0 || c + right >= m ||
                g[static_cast<size_t>(r + down)][static_cast<size_t>(c + right)] != ch)
                return false;
        }
    }
    return partial || qMen == gMen;
}

std::vector<std::string> Forms(const FindOptions& o, bool square) {
    std::vector<std::string> forms = {"exact"};
    if (o.mirror) {
        forms.push_back("mirror");
        if (square)
            forms.insert(forms.end(), {"updown", "diagonal", "antidiagonal"});
    }
    if (o.colours) {
        const size_t plain = forms.size();
        for (size_t i = 0; i < plain; ++i)
            forms.push_back(i == 0 ? "colours" : "colours+" + forms[i]);
    }
    return forms;
}

bool PlainMatch(const Grid& g, const Grid& q, const FindOptions& o) {
    for (const std::string& f : Forms(o, g.size() == g[0].size())) {
        const Grid t = Transform(q, f);
        const int n = static_cast<int>(g.size());
        for (int down = o.shift ? 1 - n : 0; down <= (o.shift ? n - 1 : 0); ++down)
            for (int right = o.shift ? 1 - n : 0; right <= (o.shift ? n - 1 : 0); ++right)
                if (Fits(g, t, down, right, o.partial))
                    return true;
    }
    return false;
}

// The named way of matching really matches.
bool HowHolds(const Grid& g, const Grid& q, const std::string& how, bool partial) {
    std::string form = how;
    int down = 0;
    int right = 0;
    if (const size_t s = how.find("shift"); s != std::string::npos) {
        form = s == 0 ? "exact" : how.substr(0, s - 1);
        int up = 0;
        std::sscanf(how.c_str() + s + 5, "%d,%d", &right, &up);
        down = -up;
        if (down == 0 && right == 0)
            return false;
    }
    return Fits(g, Transform(q, form), down, right, partial);
}

struct Found {
    int64_t game, position;
    bool operator==(const Found&) const = default;
};

// Every position of the book read the plain way: game, place, placement.
struct PlainPosition {
    Found at;
    Grid grid;
};

std::vector<PlainPosition> PlainPositions(const Book& book, int rows, int cols) {
    std::vector<PlainPosition> out;
    std::string rec;
    for (size_t g = 0; g < book.FullIndex.size(); ++g) {
        const int64_t end = g + 1 < book.FullIndex.size() ? book.FullIndex[g + 1] : book.NRecords + 1;
        int64_t position = 0;
        for (int64_t r = book.FullIndex[g]; r < end; ++r) {
            book.ReadRecord(r, rec);
            if (rec[1] != kEntry)
                continue;
            std::string text = rec.substr(8);
            for (int64_t k = r + 1; k < end; ++k) {
                std::string more;
                book.ReadRecord(k, more);
                if (more[1] != kMore)
                    break;
                text += more.substr(8);
            }
            out.push_back({{static_cast<int64_t>(g) + 1, ++position}, FromRecord(text, rows, cols)});
        }
    }
    return out;
}

// A book of games of one to four sparse positions; every tenth game also
// holds a mirrored, colour-reversed or shifted form of a position before it.
std::string GeneratedBook(std::mt19937& rng, int games) {
    std::string text;
    std::vector<Grid> made;
    std::uniform_int_distribution<int> sq(0, 7), letter(0, 11), men(2, 7), length(1, 4);
    for (int g = 1; g <= games; ++g) {
        text += "[Event \"" + std::to_string(g) + "\"]\n";
        for (int p = length(rng); p > 0; --p) {
            Grid grid(8, std::string(8, '.'));
            if (g % 10 == 0 && !made.empty()) {
                const Grid& before = made[std::uniform_int_distribution<size_t>(0, made.size() - 1)(rng)];
                static const char* kForms[] = {"mirror", "colours", "diagonal", "exact"};
                grid = Transform(before, kForms[g / 10 % 4]);
                if (g / 10 % 4 == 3) {  // shifted one file right, when it fits
                    Grid moved(8, std::string(8, '.'));
                    if (std::all_of(grid.begin(), grid.end(),
                                    [](const std::string& r) { return r[7] == '.'; })) {
                        for (int r = 0; r < 8; ++r)
                            moved[r] = "." + grid[r].substr(0, 7);
                        grid = moved;
                    }
                }
            } else {
                for (int k = men(rng); k > 0; --k)
                    grid[sq(rng)][sq(rng)] = kLetters[letter(rng)];
            }
            made.push_back(grid);
            text += ToFen(grid) + (p % 2 ? " w - - 0 1\n" : "\n");
        }
    }
    return text;
}

class PositionSearchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::mt19937 rng(27);
        Convert(m_book, "generated.fen", GeneratedBook(rng, 1500));
        ASSERT_EQ(m_book.result.status, LoadStatus::kDone);
        m_plain = PlainPositions(m_book.book, 8, 8);
        ASSERT_GT(m_plain.size(), 3000u);
    }

    std::vector<PositionMatch> Find(const std::string& text, const FindOptions& o,
                                    const PositionIndex* index) {
        std::vector<PositionMatch> out;
        FindPositions(
            m_book.book, m_shape, text, o,
            [&](const PositionMatch& m) {
                out.push_back(m);
                return true;
            },
            index);
        return out;
    }

    Converted m_book;
    position::BoardShape m_shape;
    std::vector<PlainPosition> m_plain;
};

TEST_F(PositionSearchTest, EveryWayOfMatchingAgreesWithAPlainReading) {
    PositionIndex index;
    ASSERT_TRUE(EnsureIndex(m_book.book, m_shape, index));
    struct Way {
        const char* name;
        FindOptions o;
    };
    auto opts = [](bool partial, bool mirror, bool shift, bool colours, bool first = false) {
        FindOptions o;
        o.partial = partial, o.mirror = mirror, o.shift = shift, o.colours = colours, o.first = first;
        return o;
    };
    const Way ways[] = {{"exact", opts(false, false, false, false)},
                        {"partial", opts(true, false, false, false)},
                        {"mirror", opts(false, true, false, false)},
                        {"colours", opts(false, false, false, true)},
                        {"mirror colours", opts(false, true, false, true)},
                        {"shift", opts(false, false, true, false)},
                        {"partial shift mirror", opts(true, true, true, false)},
                        {"first", opts(false, true, false, true, true)}};
    // The records walked by one thread, by two (the second half's matches
    // kept and told after the first half's), and by two where the second
    // keeps only a few and leaves the rest to the first.
    struct Walking {
        const char* name;
        int64_t twoFrom;
        size_t kept;
    };
    const Walking walkings[] = {{"one walker", int64_t{1} << 40, 1},
                                {"two walkers", 1, size_t{1} << 20},
                                {"two walkers keeping three", 1, 3}};
    std::mt19937 rng(5);
    std::uniform_int_distribution<size_t> pick(0, m_plain.size() - 1);
    int matchedSomewhereElse = 0;
    for (int trial = 0; trial < 6; ++trial) {
        const PlainPosition& from = m_plain[pick(rng)];
        Grid query = from.grid;
        if (trial % 3 == 2) {  // a part of the position: its first two men
            int kept = 0;
            for (auto& row : query)
                for (char& c : row)
                    if (c != '.' && ++kept > 2)
                        c = '.';
        }
        for (const Way& w : ways) {
            SCOPED_TRACE(std::string(w.name) + " " + ToFen(query));
            std::vector<Found> expected;
            for (const PlainPosition& p : m_plain)
                if ((!w.o.first || p.at.position == 1) && PlainMatch(p.grid, query, w.o))
                    expected.push_back(p.at);
            using Run = std::pair<Walking, const PositionIndex*>;
            for (const auto& [walking, idx] : {Run{walkings[0], &index}, Run{walkings[0], nullptr},
                                               Run{walkings[1], nullptr}, Run{walkings[2], nullptr}}) {
                SCOPED_TRACE(walking.name);
                FindOptions o = w.o;
                o.twoWalkersFrom = walking.twoFrom;
                o.keptMatches = walking.kept;
                const std::vector<PositionMatch> got = Find(ToFen(query), o, idx);
                std::vector<Found> at;
                for (const PositionMatch& m : got) {
                    at.push_back({m.game, m.position});
                    const auto it = std::lower_bound(m_plain.begin(), m_plain.end(), at.back(),
                                                     [](const PlainPosition& p, const Found& f) {
                                                         return std::pair(p.at.game, p.at.position) <
                                                                std::pair(f.game, f.position);
                                                     });
                    ASSERT_TRUE(it != m_plain.end() && it->at == at.back());
                    EXPECT_TRUE(HowHolds(it->grid, query, m.how, w.o.partial)) << m.how;
                }
                EXPECT_EQ(at, expected);
            }
            matchedSomewhereElse += expected.size() > 1 ? 1 : 0;
        }
    }
    EXPECT_GT(matchedSomewhereElse, 5);  // the planted forms were found
}

TEST_F(PositionSearchTest, BadSearchPositionsAnswerWithoutMatches) {
    FindOptions o;
    const auto none = [&](const std::string& text, FindStatus status) {
        const FindResult r =
            FindPositions(m_book.book, m_shape, text, o, [](const PositionMatch&) { return true; });
        EXPECT_EQ(r.status, status) << text;
        EXPECT_EQ(r.matches, 0) << text;
    };
    none("8/8/8/8/8/8/8/8", FindStatus::kNoMen);
    none("", FindStatus::kNoMen);
    none("8/8/8/8/8/8/8/8/8/K", FindStatus::kTooLarge);
    o.shift = true;
    none("8/8/8/8/8/8/8/8/K", FindStatus::kTooLarge);
}

TEST_F(PositionSearchTest, StoppingEndsTheSearch) {
    // Stopped at the third match, or near the end (by two walkers: while the
    // second half's kept matches are told, or after the first walker took
    // over from a second that kept few); also stopped through progress.
    struct Case {
        int64_t twoFrom;
        size_t kept;
        bool nearEnd;
    };
    const Case cases[] = {
        {int64_t{1} << 40, 1, false}, {1, 1 << 20, false}, {1, 1 << 20, true}, {1, 5, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.twoFrom << " " << c.kept << " " << c.nearEnd);
        FindOptions o;
        o.partial = true;
        o.twoWalkersFrom = c.twoFrom;
        o.keptMatches = c.kept;
        const int64_t all =
            FindPositions(m_book.book, m_shape, "k", o, [](const PositionMatch&) { return true; }).matches;
        ASSERT_GT(all, 20);
        const int64_t stopAt = c.nearEnd ? all - 2 : 3;
        int64_t seen = 0;
        const FindResult r = FindPositions(m_book.book, m_shape, "k", o,
                                           [&](const PositionMatch&) { return ++seen < stopAt; });
        EXPECT_EQ(r.status, FindStatus::kStopped);
        EXPECT_EQ(seen, stopAt);
        const FindResult p = FindPositions(
            m_book.book, m_shape, "k", o, [](const PositionMatch&) { return true; }, nullptr,
            [](int64_t, int64_t) { return false; });
        EXPECT_EQ(p.status, FindStatus::kStopped);
    }
}

TEST_F(PositionSearchTest, DamagedOrStaleIndexesAreNoticedAndRebuilt) {
    const std::string path = IndexPathFor(m_book.book.WorkPath());
    IndexKey key;
    ASSERT_TRUE(CurrentKey(m_book.book, m_shape, key));
    PositionIndex index;
    ASSERT_EQ(index.Open(path, &key), IndexState::kReady);  // written during conversion
    const auto bytes = std::filesystem::file_size(path);
    // Under 12 bytes a position, besides the game index it keeps (8 a game).
    EXPECT_LT(bytes, m_plain.size() * 12 + m_book.book.FullIndex.size() * 8 + 4096);
    std::string original;
    {
        std::ifstream in(path, std::ios::binary);
        original.assign(std::istreambuf_iterator<char>(in), {});
    }
    Converted other;
    Convert(other, "other.fen", "4k3/8/8/8/8/8/8/4K3\n");
    const std::string otherIndex = IndexPathFor(other.book.WorkPath());
    struct Damage {
        const char* name;
        std::function<void()> make;
        IndexState state;
    };
    const Damage damages[] = {
        {"missing", [&] { std::filesystem::remove(path); }, IndexState::kMissing},
        {"truncated", [&] { std::filesystem::resize_file(path, bytes - 8); }, IndexState::kDamaged},
        {"wrong version",
         [&] {
             std::string b = original;
             b[8] = 7;
             WriteFile(path, b);
         },
         IndexState::kDamaged},
        {"bucket table out of order",
         [&] {
             std::string b = original;
             b[b.size() - m_plain.size() * 8 - 16] = 0x7F;
             WriteFile(path, b);
         },
         IndexState::kDamaged},
        {"another book's",
         [&] {
             std::filesystem::copy_file(otherIndex, path, std::filesystem::copy_options::overwrite_existing);
         },
         IndexState::kStale},
        {"the work file changed",
         [&] {
             WriteFile(path, original);
             std::string rec;
             m_book.book.ReadRecord(2, rec);
             Book& b = m_book.book;
             b.WriteRecord(2, rec);
             // A new time for the work file, whatever the clock's grain.
             const std::string work = b.WorkPath();
             std::filesystem::last_write_time(
                 work, std::filesystem::last_write_time(work) + std::chrono::seconds(1));
             ASSERT_TRUE(CurrentKey(b, m_shape, key));
         },
         IndexState::kStale},
    };
    const PlainPosition& some = m_plain[m_plain.size() / 2];
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.name);
        d.make();
        EXPECT_EQ(index.Open(path, &key), d.state);
        PositionIndex rebuilt;
        ASSERT_TRUE(EnsureIndex(m_book.book, m_shape, rebuilt));
        const auto got = Find(ToFen(some.grid), {}, &rebuilt);
        EXPECT_TRUE(std::any_of(got.begin(), got.end(), [&](const PositionMatch& m) {
            return Found{m.game, m.position} == some.at;
        }));
        EXPECT_EQ(index.Open(path, &key), IndexState::kReady);
    }
}

TEST(PositionIndexTest, IsWrittenUnderItsOwnNameNotThroughAPlantedLink) {
    const std::string dir = TempFolder();
    const std::string victim = WriteFile(dir + "victim", "keep me");
    std::filesystem::create_symlink(victim, dir + "F000001x.tmp");
    Converted c;
    c.book.BookFile = WriteFile(dir + "b.fen", "4k3/8/8/8/8/8/8/4K3\n");
    const ConvertInput in{dir + "F000001.tmp", settings::Style{}, c.vet, {}};
    LoadBook(c.book, in);
    std::ifstream v(victim);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(v), {}), "keep me");
    EXPECT_FALSE(std::filesystem::is_symlink(dir + "F000001x.tmp"));
    RemoveWorkFiles(dir + "F000001.tmp");
    EXPECT_FALSE(std::filesystem::exists(dir + "F000001x.tmp"));
    EXPECT_FALSE(std::filesystem::exists(dir + "F000001.tmp"));
}

// Records of n positions of four men, each of its own placement for the
// first 4,096 (the record number in the men's files), with a tag in every
// fifth record when asked.
std::string ManyPositions(int64_t n, char blackMan, bool withTags) {
    std::string all;
    for (int64_t r = 1; r <= n; ++r) {
        const std::string fen = std::to_string(1 + r % 8) + "K/" + std::to_string(1 + r / 8 % 8) + "k/8/" +
                                std::to_string(1 + r / 64 % 8) + "Q/" + std::to_string(1 + r / 512 % 8) +
                                blackMan;
        std::string rec(kRecordLength, ' ');
        const bool tag = withTags && r % 5 == 0;
        FormatRecord(tag ? kTag : kEntry, GameField(withTags ? 1 + r / 50 : 1), tag ? "[Event \"x\"]" : fen,
                     rec.data());
        all += rec;
    }
    return all;
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(PositionIndexTest, LongBooksAreSortedInRunsOnDisk) {
    // Many more positions than one run holds: the runs put away and sorted
    // part by part must give the index built wholly in memory, byte for
    // byte, and the same lookups as the records. Few positions of many
    // hashes, many runs of a few entries, and a book of one run and a
    // remainder; a small book has buckets wider than a part (one thread).
    struct Case {
        int64_t positions;
        int64_t runEntries;
    };
    const Case cases[] = {{20000, 1000}, {20000, 7}, {1500, 100}, {20000, 12000}};
    const std::string dir = TempFolder();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.runEntries);
        Book book;
        ASSERT_TRUE(book.OpenWorkFile(dir + "F000002.tmp"));
        position::BoardShape shape;
        const int64_t n = c.positions;
        const std::string all = ManyPositions(n, 'q', false);
        book.NRecords = n;
        book.FullIndex = {1};
        IndexKey key;
        ASSERT_TRUE(CurrentKey(book, shape, key));
        const std::string inMemory = dir + "memory.idx";
        for (const auto& [runEntries, path] :
             {std::pair{n + 1, inMemory}, std::pair{c.runEntries, IndexPathFor(book.WorkPath())}}) {
            IndexBuilder builder(shape, path, runEntries);
            for (int64_t r = 1; r <= n; r += 4096) {
                const int64_t count = std::min<int64_t>(4096, n - r + 1);
                builder.Records(r, all.data() + (r - 1) * kRecordLength, count);
            }
            ASSERT_TRUE(builder.Write(book, key));
        }
        const std::string made = FileBytes(IndexPathFor(book.WorkPath()));
        ASSERT_FALSE(made.empty());
        EXPECT_TRUE(made == FileBytes(inMemory));
        PositionIndex index;
        ASSERT_EQ(index.Open(IndexPathFor(book.WorkPath()), &key), IndexState::kReady);
        EXPECT_EQ(index.Positions(), static_cast<uint64_t>(n));
        const PlacementReader reader(shape);
        Placement p;
        reader.ReadCells("3K/5k/8/2Q/1q", p);  // r % 8 == 2, r / 8 % 8 == 4, ...
        std::vector<int64_t> found;
        index.Candidates(PlacementHash(p.cells), found);
        ASSERT_FALSE(found.empty());
        for (const int64_t r : found) {
            EXPECT_EQ(r % 8, 2);
            EXPECT_EQ(r / 8 % 8, 4);
        }
        RemoveWorkFiles(book.WorkPath());
    }
}

TEST(PositionIndexTest, BuffersTakenWholeGiveTheIndexOfCopiedRecords) {
    // The writer's buffers, of any sizes, handed over whole: the index must
    // be the one the same records give when copied, byte for byte.
    const std::string dir = TempFolder();
    Book book;
    ASSERT_TRUE(book.OpenWorkFile(dir + "F000003.tmp"));
    position::BoardShape shape;
    const int64_t n = 30000;
    // Tags among the positions: a position is read only once the next
    // record shows it is not continued.
    const std::string all = ManyPositions(n, 'r', true);
    book.NRecords = n;
    book.FullIndex = {1};
    IndexKey key;
    ASSERT_TRUE(CurrentKey(book, shape, key));
    const std::string copied = dir + "copied.idx";
    const std::string taken = dir + "taken.idx";
    {
        IndexBuilder builder(shape, copied, 5000);
        builder.Records(1, all.data(), n);
        ASSERT_TRUE(builder.Write(book, key));
    }
    {
        IndexBuilder builder(shape, taken, 5000);
        const int64_t sizes[] = {1, 7, 1000, 999, 8191, 8193, 3};
        int64_t first = 1;
        std::vector<char> buffer;
        for (size_t k = 0; first <= n; ++k) {
            const int64_t count = std::min(sizes[k % std::size(sizes)], n - first + 1);
            buffer.assign(all.begin() + (first - 1) * kRecordLength,
                          all.begin() + (first - 1 + count) * kRecordLength);
            builder.Adopt(first, buffer, count);
            first += count;
        }
        ASSERT_TRUE(builder.Write(book, key));
    }
    const std::string a = FileBytes(copied);
    ASSERT_FALSE(a.empty());
    EXPECT_TRUE(a == FileBytes(taken));
    RemoveWorkFiles(book.WorkPath());
}

// Two small books: A with repeated, mirrored and colour-reversed problems,
// B with some of them and one with a man more.
const char* kBookA =
    "4k3/8/8/8/8/8/3P4/4K3\n[Event \"2\"]\n2k5/8/8/8/8/8/8/R3K3\n[Event \"3\"]\n4k3/8/8/8/8/8/3P4/4K3 b\n"
    "[Event \"4\"]\n3k4/8/8/8/8/8/4P3/3K4\n[Event \"5\"]\n4k3/3p4/8/8/8/8/8/4K3\n[Event "
    "\"6\"]\n8/8/8/8/8/8/8/7B\n";
const char* kBookB =
    "2k5/8/8/8/8/8/8/R3K3\n[Event \"2\"]\n4k3/8/8/8/8/8/3P3p/4K3\n[Event \"3\"]\n4k3/8/8/8/8/8/3P4/4K3\n";

TEST(DuplicatesTest, GroupsOfEqualFirstPositions) {
    Converted a;
    Convert(a, "a.fen", kBookA);
    const position::BoardShape shape;
    using Groups = std::vector<std::vector<int64_t>>;
    EXPECT_EQ(FindDuplicates(a.book, shape, false, false), (Groups{{1, 3}}));
    EXPECT_EQ(FindDuplicates(a.book, shape, true, false), (Groups{{1, 3, 4}}));
    EXPECT_EQ(FindDuplicates(a.book, shape, false, true), (Groups{{1, 3, 5}}));
    EXPECT_EQ(FindDuplicates(a.book, shape, true, true), (Groups{{1, 3, 4, 5}}));
}

TEST(AnticipationsTest, EqualOrHeldInTheOtherBook) {
    Converted a;
    Converted b;
    Convert(a, "a.fen", kBookA);
    Convert(b, "b.fen", kBookB);
    const position::BoardShape shape;
    auto lines = [](const std::vector<Anticipation>& found) {
        std::vector<std::pair<int64_t, std::vector<int64_t>>> out;
        for (const auto& x : found)
            out.push_back({x.game, x.others});
        return out;
    };
    using Lines = std::vector<std::pair<int64_t, std::vector<int64_t>>>;
    EXPECT_EQ(lines(FindAnticipations(a.book, b.book, shape, false)), (Lines{{1, {3}}, {2, {1}}, {3, {3}}}));
    EXPECT_EQ(lines(FindAnticipations(a.book, b.book, shape, true)),
              (Lines{{1, {2, 3}}, {2, {1}}, {3, {2, 3}}}));
    EXPECT_TRUE(FindAnticipations(b.book, a.book, shape, false).size() == 2);
}

}  // namespace

namespace {

TEST(LongPositionSearchTest, PositionsGoingOnInContinuationsAreFoundWholeAndCountedOnce) {
    settings::Style style;
    style.BORDERWIDTH = 20;
    style.BORDERHEIGHT = 20;
    const position::BoardShape shape = style.Shape();
    auto board = [](char last) {
        std::string fen;
        for (int r = 0; r < 20; ++r) {
            fen += (r ? "/" : "") + std::string(r == 19 ? "pPpPpPpPpPpPpPpPpPp" : "pPpPpPpPpPpPpPpPpPpP");
        }
        return fen + last;
    };
    Converted c;
    Convert(c, "big.fen", "[Event \"1\"]\n" + board('Q') + " w\n" + board('R') + " b\n" + board('N') + " w\n",
            style);
    ASSERT_EQ(c.result.status, LoadStatus::kDone);
    ASSERT_GT(c.book.NRecords, 8);  // continuations
    PositionIndex index;
    ASSERT_TRUE(EnsureIndex(c.book, shape, index));
    for (const PositionIndex* idx :
         {static_cast<const PositionIndex*>(nullptr), static_cast<const PositionIndex*>(&index)}) {
        std::vector<std::pair<int64_t, int64_t>> found;
        FindPositions(
            c.book, shape, board('R'), {},
            [&](const PositionMatch& m) {
                found.push_back({m.game, m.position});
                return true;
            },
            idx);
        EXPECT_EQ(found, (std::vector<std::pair<int64_t, int64_t>>{{1, 2}}));
    }
    // Walked by two threads too: the half way lands among continuations.
    for (const int64_t twoFrom : {int64_t{1} << 40, int64_t{1}}) {
        FindOptions partial;
        partial.partial = true;
        partial.twoWalkersFrom = twoFrom;
        std::vector<int64_t> positions;
        FindPositions(c.book, shape, std::string(399, '1') + "N", partial, [&](const PositionMatch& m) {
            positions.push_back(m.position);
            return true;
        });
        EXPECT_EQ(positions, std::vector<int64_t>{3}) << twoFrom;
    }
}

TEST(WalkersTest, EveryPositionIsToldWithItsGameAndPlace) {
    // Games of one to nine positions, each with a white king on a1: a
    // partial search for it finds every position, whichever way the records
    // are walked (the second half starting within a game; a second walker
    // keeping a few matches and the first going on from there).
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> file(0, 7);
    std::string text;
    std::vector<std::pair<int64_t, int64_t>> every;
    for (int g = 1; g <= 60; ++g) {
        text += "[Event \"" + std::to_string(g) + "\"]\n";
        for (int p = 1; p <= g % 9 + 1; ++p) {
            const int f = file(rng);
            text += "8/8/8/8/8/8/" + (f ? std::to_string(f) : "") + "q" +
                    (f < 7 ? std::to_string(7 - f) : "") + "/K7 w\n";
            every.push_back({g, p});
        }
    }
    Converted c;
    Convert(c, "walked.fen", text);
    ASSERT_EQ(c.result.status, LoadStatus::kDone);
    const position::BoardShape shape;
    for (const auto& [twoFrom, kept] : {std::pair{int64_t{1} << 40, size_t{1}},
                                        std::pair{int64_t{1}, size_t{1000}}, std::pair{int64_t{1}, size_t{1}},
                                        std::pair{int64_t{1}, size_t{3}}, std::pair{int64_t{1}, size_t{7}}}) {
        SCOPED_TRACE(testing::Message() << twoFrom << " " << kept);
        FindOptions o;
        o.partial = true;
        o.twoWalkersFrom = twoFrom;
        o.keptMatches = kept;
        std::vector<std::pair<int64_t, int64_t>> found;
        const FindResult r = FindPositions(c.book, shape, "8/8/8/8/8/8/8/K7", o, [&](const PositionMatch& m) {
            found.push_back({m.game, m.position});
            return true;
        });
        EXPECT_EQ(r.status, FindStatus::kDone);
        EXPECT_EQ(found, every);
    }
}

}  // namespace
