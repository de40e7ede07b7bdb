#pragma once
// The files one copy of the program leaves in the program folder while it
// runs, and their removal at exit.

#include <string>
#include <vector>

namespace diagram::ui {

/// Learning files Crafty writes into the program folder.
inline constexpr const char* kCraftyLearningFiles[] = {"position.bin", "position.lrn", "book.lrn"};

/// True for a working file of the copy whose working name is workName:
/// workName, then letters only (none, or a suffix such as "o" or "i"), then
/// ".tmp". Files of other copies differ in their six digits.
bool IsOwnWorkingFile(const std::string& fileName, const std::string& workName);

/// Deletes this copy's working files in appDir and, when crafty is true,
/// Crafty's learning files there. Errors are ignored. Returns the names of
/// the files removed.
std::vector<std::string> RemoveWorkingFiles(const std::string& appDir, const std::string& workName,
                                            bool crafty);

}  // namespace diagram::ui
