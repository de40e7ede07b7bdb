// Programs are started from the program folder only when no one else could
// have put them there, and the files handed to them never write through a
// link planted at their names.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "engines/crafty.h"
#include "engines/discovery.h"
#include "engines/engine_files.h"
#include "engines/popeye.h"
#include "engines/tests/temp_folder.h"
#include "engines/uci_discovery.h"

namespace engines {
namespace {

namespace fs = std::filesystem;

TEST(EngineFolder, ProgramsOnlyFromAFolderOfTheUsersOwn) {
    const struct {
        mode_t mode;
        bool fromFolder;
    } cases[] = {{0700, true}, {0755, true}, {0775, false}, {0777, false}, {01777, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        testing::TempFolder folder;
        for (const char* name : {"py", "crafty", "stockfish"}) {
            folder.Write(name, "#!/bin/sh\n");
            fs::permissions(folder.file(name), fs::perms::owner_all);
        }
        ::chmod(folder.dir().c_str(), c.mode);
        EngineState state;
        std::string recent;
        FindPopeye(state, recent, folder.dir(), "");
        FindCrafty(state, recent, folder.dir(), true);
        EXPECT_EQ(state.popeyeFound, c.fromFolder);
        EXPECT_EQ(state.craftyFound, c.fromFolder);
        EXPECT_EQ(FindUciEngines(folder.dir(), "", "").empty() ||
                      FindUciEngines(folder.dir(), "", "").front() != folder.file("stockfish"),
                  !c.fromFolder);
        EXPECT_EQ(ResolveUciEngine("stockfish", folder.dir(), "") == folder.file("stockfish"), c.fromFolder);
        // The search path is searched as ever.
        EngineState onPath;
        FindPopeye(onPath, recent, "/nonexistent/", folder.dir());
        EXPECT_EQ(onPath.popeyeProgram, folder.file("py"));
        ::chmod(folder.dir().c_str(), 0700);
    }
}

TEST(EngineFolder, HandedFilesReplaceAPlantedLink) {
    testing::TempFolder folder;
    folder.Write("victim", "precious");
    const PopeyeRunFiles run = MakePopeyeRunFiles(folder.dir(), "F123456");
    const std::string names[] = {folder.file(std::string(kCraftyRcName)),
                                 folder.file(std::string(kCraftyRcLinuxName)), run.input};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        fs::create_symlink(folder.file("victim"), name);
        EXPECT_TRUE(WriteWholeFile(name, "commands\r\n"));
        EXPECT_FALSE(fs::is_symlink(name));
        EXPECT_EQ(ReadWholeFile(name).value_or(""), "commands\r\n");
    }
    EXPECT_EQ(ReadWholeFile(folder.file("victim")).value_or(""), "precious");
}

}  // namespace
}  // namespace engines
