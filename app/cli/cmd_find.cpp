// find, duplicates and anticipations: positions looked for in converted
// books. A book converted for these stays converted: its work file and
// position index are kept in the program folder under a name made from the
// book's full path, and used again while the index shows that they were
// made from the book as it is now.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <ostream>

#include "app/cli/cli.h"
#include "books/convert.h"
#include "books/position_index.h"
#include "books/position_search.h"

namespace cli {

namespace {

std::string CachePath(const std::string& appDir, const std::string& file) {
    std::error_code ec;
    std::string full = std::filesystem::absolute(file, ec).lexically_normal().string();
    if (ec) {
        full = file;
    }
    uint64_t h = 1469598103934665603ULL;
    for (const char c : full) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ULL;
    }
    char name[40];
    std::snprintf(name, sizeof name, "F%016llxc.tmp", static_cast<unsigned long long>(h));
    return appDir + name;
}

int64_t TimeOf(const struct stat& st) {
    return static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

// The kept conversion of file, when its index shows it was made from the
// book as it is now, opened into book.
bool OpenKept(const std::string& file, const std::string& cache, const position::BoardShape& shape,
              books::Book& book, books::PositionIndex& index) {
    struct stat bookStat {};
    struct stat workStat {};
    if (::stat(file.c_str(), &bookStat) != 0 || ::lstat(cache.c_str(), &workStat) != 0 ||
        !S_ISREG(workStat.st_mode)) {
        return false;
    }
    if (index.Open(books::IndexPathFor(cache), nullptr) != books::IndexState::kReady) {
        return false;
    }
    const books::IndexKey& made = index.Key();
    if (made.bookSize != static_cast<uint64_t>(bookStat.st_size) || made.bookTime != TimeOf(bookStat) ||
        made.workSize != static_cast<uint64_t>(workStat.st_size) || made.workTime != TimeOf(workStat)) {
        return false;
    }
    book.BookFile = file;
    if (!book.OpenExistingWorkFile(cache)) {
        return false;
    }
    book.FullIndex = index.Games();
    book.GameIndex = book.FullIndex;
    book.NGames = static_cast<int64_t>(book.FullIndex.size());
    book.NRecords = static_cast<int64_t>(made.records);
    books::IndexKey now;
    return books::CurrentKey(book, shape, now) && now == made;
}

// A book opened for the search commands: kept from an earlier run or
// converted now (and kept). The work file goes when it could not be kept.
class SearchedBook {
  public:
    books::Book book;
    books::PositionIndex index;

    SearchedBook() = default;
    SearchedBook(const SearchedBook&) = delete;
    SearchedBook& operator=(const SearchedBook&) = delete;
    ~SearchedBook() {
        book.CloseWorkFile();
        books::RemoveWorkFiles(m_temporary);
    }

    // Returns the exit status: kFailure when the book cannot be read whole.
    int Open(Context& ctx, const char* name, const std::string& file, const std::string& suffix) {
        app::Program& program = ctx.program;
        const position::BoardShape shape = program.Shape();
        const std::string cache = CachePath(program.settings.AppDir, file);
        if (OpenKept(file, cache, shape, book, index)) {
            return kOk;
        }
        book = books::Book{};
        book.BookFile = file;
        const std::string work = program.settings.AppDir + program.WorkName + suffix + ".tmp";
        const books::ConvertInput in{work, program.style, program.vet, {}};
        const books::LoadResult r = books::LoadBook(book, in);
        m_temporary = book.WorkPath();
        if (r.status != books::LoadStatus::kDone) {
            ctx.err << "pandrel-cli " << name << ": "
                    << (r.ioFailure ? books::IncompleteBookText(file, r) : r.reason) << "\n";
            return kFailure;
        }
        // Kept under the book's own name; renaming replaces a link planted
        // there instead of following it.
        const std::string indexPath = books::IndexPathFor(work);
        if (::rename(work.c_str(), cache.c_str()) == 0) {
            m_temporary.clear();
            if (::rename(indexPath.c_str(), books::IndexPathFor(cache).c_str()) != 0) {
                ::unlink(indexPath.c_str());
            }
            books::EnsureIndex(KeptAs(cache), shape, index);
        } else {
            books::EnsureIndex(book, shape, index);
        }
        return kOk;
    }

  private:
    // The book now named cache: reopened so that its work path is the kept one.
    books::Book& KeptAs(const std::string& cache) {
        if (!book.OpenExistingWorkFile(cache)) {
            m_temporary.clear();
        }
        return book;
    }

    std::string m_temporary;
};

std::string GameList(const std::vector<int64_t>& games) {
    std::string line;
    for (const int64_t g : games) {
        if (!line.empty()) {
            line.push_back(' ');
        }
        line += std::to_string(g);
    }
    return line;
}

const Register find(
    "find",
    "[--partial] [--mirror] [--shift] [--colours] [--first] BOOK TEXT   prints \"game<TAB>position<TAB>how\" "
    "for each position of BOOK matching the FEN placement TEXT",
    [](Context& ctx, Args& args) {
        books::FindOptions options;
        options.partial = args.TakeFlag("--partial");
        options.mirror = args.TakeFlag("--mirror");
        options.shift = args.TakeFlag("--shift");
        options.colours = args.TakeFlag("--colours");
        options.first = args.TakeFlag("--first");
        if (!ExpectWords(ctx, args, "find", 2, 2)) {
            return kUsage;
        }
        SearchedBook searched;
        if (const int status = searched.Open(ctx, "find", args.words[0], "f"); status != kOk) {
            return status;
        }
        std::string line;
        const books::FindResult r = books::FindPositions(
            searched.book, ctx.program.Shape(), args.words[1], options,
            [&](const books::PositionMatch& m) {
                line.clear();
                line += std::to_string(m.game);
                line.push_back('\t');
                line += std::to_string(m.position);
                line.push_back('\t');
                line += m.how;
                line.push_back('\n');
                ctx.out << line;
                return true;
            },
            &searched.index);
        if (r.status == books::FindStatus::kNoMen) {
            ctx.err << "pandrel-cli find: " << books::FindStatusText(r.status) << "\n";
            return kUsage;
        }
        if (r.status == books::FindStatus::kTooLarge) {
            ctx.err << "pandrel-cli find: " << books::FindStatusText(r.status) << "\n";
        }
        return kOk;
    });

const Register duplicates(
    "duplicates",
    "[--mirror] [--colours] BOOK   prints the games whose first positions are equal, one "
    "group a line",
    [](Context& ctx, Args& args) {
        const bool mirror = args.TakeFlag("--mirror");
        const bool colours = args.TakeFlag("--colours");
        if (!ExpectWords(ctx, args, "duplicates", 1, 1)) {
            return kUsage;
        }
        SearchedBook searched;
        if (const int status = searched.Open(ctx, "duplicates", args.words[0], "d"); status != kOk) {
            return status;
        }
        for (const auto& group : books::FindDuplicates(searched.book, ctx.program.Shape(), mirror, colours)) {
            ctx.out << GameList(group) << "\n";
        }
        return kOk;
    });

const Register anticipations(
    "anticipations",
    "[--partial] BOOK OTHER   prints each game of BOOK whose first position OTHER has, a tab, then OTHER's "
    "games",
    [](Context& ctx, Args& args) {
        const bool partial = args.TakeFlag("--partial");
        if (!ExpectWords(ctx, args, "anticipations", 2, 2)) {
            return kUsage;
        }
        SearchedBook mine;
        if (const int status = mine.Open(ctx, "anticipations", args.words[0], "a"); status != kOk) {
            return status;
        }
        SearchedBook other;
        if (const int status = other.Open(ctx, "anticipations", args.words[1], "b"); status != kOk) {
            return status;
        }
        for (const auto& a : books::FindAnticipations(mine.book, other.book, ctx.program.Shape(), partial)) {
            ctx.out << a.game << "\t" << GameList(a.others) << "\n";
        }
        return kOk;
    });

}  // namespace

}  // namespace cli
