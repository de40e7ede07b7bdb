// Files the books create (the work file, the export index) never write
// through a file or link someone planted at their names.

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "book_files.h"
#include "books/book_export.h"
#include "settings/file_io.h"

using namespace books;
using namespace books_test;
namespace fs = std::filesystem;

namespace {

std::string Read(const std::string& path) {
    std::string text;
    settings::ReadFile(path, text);
    return text;
}

TEST(PlantedLinks, TheWorkFileTakesAnotherNameAndTheTargetStays) {
    const std::string dir = TempFolder();
    WriteFile(dir + "victim", "precious");
    const std::string book = WriteFile(dir + "two.fen", "8/8/8/8/8/8/8/K7 w\n[Game 2]\n8/8/8/8/8/8/8/k7 b\n");
    const struct {
        const char* what;
        std::string target;
    } cases[] = {{"a link to a file", dir + "victim"}, {"a dangling link", dir + "made-through-link"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string work = dir + "F424242.tmp";
        fs::remove(work);
        fs::create_symlink(c.target, work);
        Converted conv;
        conv.book.BookFile = book;
        const LoadResult r = LoadBook(conv.book, ConvertInput{work, settings::Style{}, conv.vet, {}});
        EXPECT_EQ(r.status, LoadStatus::kDone) << r.reason;
        EXPECT_EQ(conv.book.NGames, 2);
        const std::string used = conv.book.WorkPath();
        EXPECT_NE(used, work);
        EXPECT_TRUE(std::regex_match(fs::path(used).filename().string(), std::regex("F[0-9]{6}\\.tmp")))
            << used;
        EXPECT_EQ(AllRecords(conv.book).size(), 4u);  // two positions, a tag, the end marker
        EXPECT_EQ(Read(dir + "victim"), "precious");
        EXPECT_FALSE(fs::exists(dir + "made-through-link"));
        EXPECT_TRUE(fs::is_symlink(work));  // left as found

        // The next book replaces this copy's own work file, and only that.
        const LoadResult again = LoadBook(conv.book, ConvertInput{work, settings::Style{}, conv.vet, {}});
        EXPECT_EQ(again.status, LoadStatus::kDone);
        EXPECT_FALSE(fs::exists(used) && conv.book.WorkPath() != used);
        EXPECT_EQ(Read(dir + "victim"), "precious");
        conv.book.CloseWorkFile();
        fs::remove(conv.book.WorkPath());
    }
}

TEST(PlantedLinks, ExportedFilesReplaceTheLinkNotItsTarget) {
    const std::string dir = TempFolder();
    WriteFile(dir + "victim", "precious");
    for (const char* name : {"index.csv", ".index.csv.part", "g1.png", ".g1.png.part"}) {
        fs::create_symlink(dir + "victim", dir + name);
    }
    std::string error;
    IndexFile index;
    ASSERT_TRUE(index.Open(dir + "index.csv", error)) << error;
    ASSERT_TRUE(index.Finish(error)) << error;
    ASSERT_TRUE(WriteCompleteFile(dir + "g1.png", "picture", error)) << error;
    EXPECT_EQ(Read(dir + "victim"), "precious");
    EXPECT_FALSE(fs::is_symlink(dir + "index.csv"));
    EXPECT_EQ(Read(dir + "g1.png"), "picture");
}

}  // namespace
