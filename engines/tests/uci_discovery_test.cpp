#include "engines/uci_discovery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engines/tests/temp_folder.h"

namespace engines {
namespace {

namespace fs = std::filesystem;

class UciDiscovery : public ::testing::Test {
  protected:
    std::string Program(const std::string& relative, bool executable = true) {
        const fs::path path = fs::path(m_root.dir()) / relative;
        fs::create_directories(path.parent_path());
        m_root.Write(relative, "#!/bin/sh\n");
        fs::permissions(path, executable ? fs::perms::owner_all : fs::perms::owner_read);
        return path.string();
    }
    std::string Dir(const std::string& relative) { return m_root.dir() + relative + "/"; }

    testing::TempFolder m_root;
};

TEST_F(UciDiscovery, PlacesInOrderAndEachOnce) {
    const std::string beside = Program("app/stockfish");
    const std::string onPath = Program("bin/fairy-stockfish");
    Program("bin/stockfish", false);  // not executable: not an engine
    const std::string configured = Program("opt/my-engine");
    fs::create_directories(Dir("other"));
    fs::create_symlink(beside, Dir("other") + "stockfish");
    const std::string pathText = Dir("bin") + ":" + Dir("other") + ":" + Dir("none");

    std::vector<std::string> found = FindUciEngines(Dir("app"), pathText, configured);
    // The games folder of the machine may add its own stockfish.
    ASSERT_GE(found.size(), 3u);
    EXPECT_EQ(found[0], configured);
    EXPECT_EQ(found[1], Dir("app") + "stockfish");
    // Every stockfish comes before a fairy-stockfish.
    const auto fairy = std::find(found.begin(), found.end(), Dir("bin") + "fairy-stockfish");
    ASSERT_NE(fairy, found.end());
    EXPECT_EQ(std::find(fairy, found.end(), "/usr/games/stockfish"), found.end());
    for (const std::string& path : found) {
        EXPECT_NE(path, Dir("other") + "stockfish") << "the same file twice";
        EXPECT_NE(path, Dir("bin") + "stockfish");
    }

    // A configured name is searched like the known ones.
    found = FindUciEngines(Dir("app"), Dir("opt"), "my-engine");
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found[0], Dir("opt") + "my-engine");
}

TEST_F(UciDiscovery, NamesAndPaths) {
    const std::string engine = Program("bin/engine");
    EXPECT_EQ(ResolveUciEngine(engine, "", ""), engine);
    EXPECT_EQ(ResolveUciEngine("engine", "", Dir("x") + ":" + Dir("bin")), Dir("bin") + "engine");
    EXPECT_EQ(ResolveUciEngine("engine", Dir("bin"), ""), Dir("bin") + "engine");
    EXPECT_EQ(ResolveUciEngine("nothing-of-the-kind", Dir("bin"), Dir("bin")), "");
    EXPECT_EQ(ResolveUciEngine(Dir("bin") + "missing", "", ""), "");
    EXPECT_EQ(ResolveUciEngine("", Dir("bin"), Dir("bin")), "");
    EXPECT_EQ(PathFolders("/a::/b"), (std::vector<std::string>{"/a", ".", "/b"}));
    EXPECT_TRUE(PathFolders("").empty());
}

}  // namespace
}  // namespace engines
