// Times finding positions in a converted book: the conversion with its
// position index (time, peak memory, index bytes a position), exact search
// of positions taken from the book (from the index), partial, mirrored and
// colour-reversed search over every position, and shifted search over the
// first positions of a book of problems made from the book's positions.
// Usage: books_position_bench BOOK WORKFOLDER [RUNS]

#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "books/book_state.h"
#include "books/convert.h"
#include "books/position_index.h"
#include "books/position_search.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

// Processor time (user and system) of the process so far, in seconds.
double CpuSeconds() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

long PeakKb() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

int64_t Find(const books::Book& book, const std::string& text, const books::FindOptions& o,
             const books::PositionIndex* index) {
    int64_t n = 0;
    books::FindPositions(
        book, position::BoardShape{}, text, o,
        [&](const books::PositionMatch&) {
            ++n;
            return true;
        },
        index);
    return n;
}

std::string Placement(const books::Book& book, int64_t rec) {
    std::string r;
    book.ReadRecord(rec, r);
    const std::string text = r.substr(8);
    return text.substr(0, text.find(' '));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: books_position_bench BOOK WORKFOLDER [RUNS]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    const std::string folder = argv[2];
    settings::Style style;
    position::Vet vet;
    books::BookState book;
    book.BookFile = argv[1];
    const books::ConvertInput in{folder + "/Fpos.tmp", style, vet, {}};
    const auto start = Clock::now();
    const books::LoadResult result = books::LoadBook(book, in);
    const double convert = Seconds(start);
    if (result.status != books::LoadStatus::kDone) {
        std::fprintf(stderr, "conversion failed: %s\n", result.reason.c_str());
        return 1;
    }
    const long convertPeak = PeakKb();
    books::PositionIndex index;
    if (!books::EnsureIndex(book, position::BoardShape{}, index)) {
        std::fprintf(stderr, "no index\n");
        return 1;
    }
    struct stat st {};
    ::stat(books::IndexPathFor(in.workPath).c_str(), &st);
    std::printf("convert with index: %.3f s, %lld games, %lld records, %llu positions, peak %ld KB\n",
                convert, static_cast<long long>(book.NGames), static_cast<long long>(book.NRecords),
                static_cast<unsigned long long>(index.Positions()), convertPeak);
    std::printf("index: %lld bytes, %.2f bytes a position\n", static_cast<long long>(st.st_size),
                static_cast<double>(st.st_size) / static_cast<double>(index.Positions()));

    // Positions taken from the book: records picked at random.
    std::mt19937_64 rng(27);
    std::uniform_int_distribution<int64_t> pick(1, book.NRecords);
    std::vector<std::string> queries;
    while (queries.size() < 20) {
        std::string r;
        const int64_t rec = pick(rng);
        book.ReadRecord(rec, r);
        if (r[1] == books::kEntry) {
            queries.push_back(Placement(book, rec));
        }
    }
    std::vector<double> exact;
    int64_t found = 0;
    for (const std::string& q : queries) {
        const auto t = Clock::now();
        found += Find(book, q, {}, &index);
        exact.push_back(Seconds(t));
    }
    std::printf("exact (index), %zu positions of the book: median %.2f ms, worst %.2f ms, %lld matches\n",
                queries.size(), Median(exact) * 1e3, *std::max_element(exact.begin(), exact.end()) * 1e3,
                static_cast<long long>(found));
    {
        const auto t = Clock::now();
        const int64_t n = Find(book, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", {}, &index);
        std::printf("exact (index), the start position: %.1f ms, %lld matches\n", Seconds(t) * 1e3,
                    static_cast<long long>(n));
    }
    struct Way {
        const char* name;
        books::FindOptions o;
    };
    books::FindOptions partial, mirror, colours, scan;
    partial.partial = true;
    mirror.mirror = true;
    colours.colours = true;
    struct Timed {
        const char* name;
        books::FindOptions o;
        const books::PositionIndex* index;
    };
    const Timed ways[] = {
        {"exact without the index", scan, nullptr},      {"partial (index materials)", partial, &index},
        {"partial without the index", partial, nullptr}, {"mirror (index)", mirror, &index},
        {"mirror without the index", mirror, nullptr},   {"colours (index)", colours, &index},
        {"colours without the index", colours, nullptr}};
    for (const Timed& w : ways) {
        std::vector<double> times;
        std::vector<double> cpu;
        int64_t n = 0;
        for (int k = 0; k < std::min(runs, 3); ++k) {
            const auto t = Clock::now();
            const double c = CpuSeconds();
            n = Find(book, w.o.partial ? "8/8/8/8/4P3/8/8/4K3" : queries[static_cast<size_t>(k)], w.o,
                     w.index);
            times.push_back(Seconds(t));
            cpu.push_back(CpuSeconds() - c);
        }
        // Processor time too: on a shared machine the wall time waits for it.
        std::printf("%s over every position: median %.3f s (processor %.3f s), %lld matches (last)\n", w.name,
                    Median(times), Median(cpu), static_cast<long long>(n));
    }
    {
        // Both queens on their first squares: positions without both
        // queens are turned away by their material alone.
        books::FindOptions o;
        o.partial = true;
        for (const auto* idx : {static_cast<const books::PositionIndex*>(&index),
                                static_cast<const books::PositionIndex*>(nullptr)}) {
            const auto t = Clock::now();
            const int64_t n = Find(book, "3q4/8/8/8/8/8/8/3Q4", o, idx);
            std::printf("partial, the two queens at home (%s): %.3f s, %lld matches\n",
                        idx != nullptr ? "index materials" : "without the index", Seconds(t),
                        static_cast<long long>(n));
        }
    }

    // A book of 100,000 problems: positions of the book, one a game.
    const std::string problems = folder + "/problems.fen";
    {
        std::ofstream out(problems);
        int written = 0;
        for (int64_t rec = 1; rec <= book.NRecords && written < 100000; rec += 97) {
            std::string r;
            book.ReadRecord(rec, r);
            if (r[1] != books::kEntry) {
                continue;
            }
            out << "[Event \"" << ++written << "\"]\n" << Placement(book, rec) << "\n";
        }
    }
    books::BookState pb;
    pb.BookFile = problems;
    const books::ConvertInput pin{folder + "/Fprob.tmp", style, vet, {}};
    books::LoadBook(pb, pin);
    books::FindOptions shift;
    shift.shift = true;
    shift.first = true;
    books::FindOptions shiftPartial = shift;
    shiftPartial.partial = true;
    for (const auto& [name, o, text] :
         {std::tuple{"shift", shift, std::string("8/8/8/8/8/8/6k1/4K2R")},
          std::tuple{"shift, partial", shiftPartial, std::string("8/8/8/8/8/8/5kp1/4K3")}}) {
        std::vector<double> times;
        int64_t n = 0;
        for (int k = 0; k < runs; ++k) {
            const auto t = Clock::now();
            n = Find(pb, text, o, nullptr);
            times.push_back(Seconds(t));
        }
        std::printf("%s over the first positions of %lld problems: median %.3f s, %lld matches\n", name,
                    static_cast<long long>(pb.NGames), Median(times), static_cast<long long>(n));
    }
    books::RemoveWorkFiles(pin.workPath);
    books::RemoveWorkFiles(in.workPath);
    std::printf("peak memory of the whole run: %ld KB\n", PeakKb());
    return 0;
}
