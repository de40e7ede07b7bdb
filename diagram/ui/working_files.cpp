#include "diagram/ui/working_files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace diagram::ui {

bool IsOwnWorkingFile(const std::string& fileName, const std::string& workName) {
    constexpr std::string_view kExt = ".tmp";
    if (workName.empty() || fileName.size() < workName.size() + kExt.size() ||
        fileName.compare(0, workName.size(), workName) != 0 ||
        fileName.compare(fileName.size() - kExt.size(), kExt.size(), kExt) != 0) {
        return false;
    }
    const auto middleBegin = fileName.begin() + static_cast<long>(workName.size());
    const auto middleEnd = fileName.end() - static_cast<long>(kExt.size());
    return std::all_of(middleBegin, middleEnd, [](unsigned char c) { return std::isalpha(c) != 0; });
}

std::vector<std::string> RemoveWorkingFiles(const std::string& appDir, const std::string& workName,
                                            bool crafty) {
    namespace fs = std::filesystem;
    std::vector<std::string> removed;
    std::error_code ec;
    // Only names made from this copy's own working name: another copy running
    // from the same folder keeps its book work file and engine files.
    std::vector<fs::path> doomed;
    for (fs::directory_iterator it(appDir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (IsOwnWorkingFile(name, workName) && !it->is_directory(typeError)) {
            doomed.push_back(it->path());
        }
    }
    if (crafty) {
        for (const char* name : kCraftyLearningFiles) {
            doomed.push_back(fs::path(appDir) / name);
        }
    }
    for (const fs::path& path : doomed) {
        std::error_code removeError;
        if (fs::remove(path, removeError)) {
            removed.push_back(path.filename().string());
        }
    }
    return removed;
}

}  // namespace diagram::ui
