#pragma once
// Helpers of the book tests: small books written to a temporary folder and
// converted into a work file there.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "books/book_state.h"
#include "books/convert.h"
#include "settings/style.h"

namespace books_test {

/// Removes the folders of a test program at its end, unless a test failed
/// (they are kept then, to be looked at): work files of large books would
/// otherwise stay behind in the temporary folder.
struct FolderSweeper {
    std::mutex mutex;
    std::vector<std::filesystem::path> folders;
    ~FolderSweeper() {
        if (!::testing::UnitTest::GetInstance()->Passed()) {
            return;
        }
        for (const auto& folder : folders) {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    }
};

/// A folder of its own for each test.
inline std::string TempFolder() {
    static std::atomic<int> counter{0};
    static FolderSweeper sweeper;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name =
        std::string(info->test_suite_name()) + "_" + info->name() + "_" + std::to_string(++counter);
    for (char& c : name) {
        if (c == '/') {
            c = '_';
        }
    }
    const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "books" / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    {
        const std::lock_guard<std::mutex> lock(sweeper.mutex);
        sweeper.folders.push_back(dir);
    }
    return dir.string() + "/";
}

inline std::string WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

/// A converted book with its records, trailing blanks removed.
struct Converted {
    books::BookState book;
    books::LoadResult result;
    std::vector<std::string> records;
    position::Vet vet;
    std::vector<int64_t> progress;
};

inline std::vector<std::string> AllRecords(const books::Book& book) {
    std::vector<std::string> out;
    std::string r;
    for (int64_t n = 1; n <= book.RecordsOnFile(); ++n) {
        EXPECT_TRUE(book.ReadRecord(n, r));
        const size_t end = r.find_last_not_of(' ');
        out.push_back(end == std::string::npos ? "" : r.substr(0, end + 1));
    }
    return out;
}

/// Writes bytes as a book named name and converts it with the style.
inline void Convert(Converted& c, const std::string& name, const std::string& bytes,
                    const settings::Style& style = {}) {
    const std::string dir = TempFolder();
    c.book.BookFile = WriteFile(dir + name, bytes);
    const books::ConvertInput in{dir + "F000001.tmp", style, c.vet,
                                 [&c](int64_t games) { c.progress.push_back(games); }};
    c.result = books::LoadBook(c.book, in);
    c.records = AllRecords(c.book);
}

/// "?" + kind + the six-character game number + text.
inline std::string Rec(char kind, int game, const std::string& text) {
    return std::string("?") + kind + books::GameField(game) + text;
}

inline const std::string kMarker(132, '?');
inline const std::string kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

}  // namespace books_test
