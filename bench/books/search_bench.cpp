// Times the book converter in process (once) and the search of the converted book
// for several kinds of criteria. Usage: books_search_bench BOOK WORKFOLDER [RUNS]

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "books/book_state.h"
#include "books/convert.h"
#include "books/search.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double Best(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

// User and system time of the process so far, in seconds.
struct CpuTime {
    double user = 0;
    double system = 0;
};

CpuTime Cpu() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    const auto s = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return {s(u.ru_utime), s(u.ru_stime)};
}

struct Query {
    const char* name;
    std::array<std::string, 5> boxes;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: books_search_bench BOOK WORKFOLDER [RUNS]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    settings::Style style;
    position::Vet vet;
    books::BookState book;
    book.BookFile = argv[1];
    const books::ConvertInput in{std::string(argv[2]) + "/Fbench.tmp", style, vet, {}};

    // Converted once: the searches then run on the open book, its work file
    // in the page cache as right after Open Book.
    const auto start = Clock::now();
    const books::LoadResult result = books::LoadBook(book, in);
    const double convert = Seconds(start);
    if (result.status != books::LoadStatus::kDone) {
        std::fprintf(stderr, "conversion failed: %s\n", result.reason.c_str());
        return 1;
    }
    std::printf("convert (in process): %.3f s, %lld games, %lld records\n", convert,
                static_cast<long long>(book.NGames), static_cast<long long>(book.NRecords));

    const Query queries[] = {
        {"men: White 16, Black 16", {"", "16", "16", "", ""}},
        {"men: Global 20-32", {"", "", "", "20-32", ""}},
        {"pieces: Ke1+ke8", {"", "", "", "", "Ke1+ke8"}},
        {"men and pieces: White 16, Ke1+Pe2, d7", {"", "16", "", "", "Ke1+Pe2, d7"}},
        {"words: \"Generated game 1999\"", {"\"Generated game 1999\"", "", "", "", ""}},
    };
    for (const Query& q : queries) {
        std::vector<double> times;
        std::vector<double> user;
        std::vector<double> system;
        size_t found = 0;
        for (int r = 0; r < runs; ++r) {
            const books::Criteria criteria = books::ParseCriteria(q.boxes, style.Shape());
            const CpuTime cpu = Cpu();
            const auto start = Clock::now();
            const books::SearchResult result = books::Search(book, criteria);
            times.push_back(Seconds(start));
            const CpuTime after = Cpu();
            user.push_back(after.user - cpu.user);
            system.push_back(after.system - cpu.system);
            found = result.positions.size();
        }
        // Wall time is what the user waits; user and system time tell where
        // it went, and stay meaningful on a loaded machine.
        std::printf(
            "search %-40s wall best %.3f s, median %.3f s; user %.3f s, sys %.3f s (best); %zu games found\n",
            q.name, Best(times), Median(times), Best(user), Best(system), found);
    }
    const std::string work = book.WorkPath();
    book.CloseWorkFile();
    ::unlink(work.c_str());
    return 0;
}
