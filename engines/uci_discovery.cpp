#include "engines/uci_discovery.h"

#include <unistd.h>
#include <algorithm>
#include <filesystem>

#include "engines/engine_files.h"

namespace engines {

namespace fs = std::filesystem;

std::vector<std::string> PathFolders(std::string_view pathText) {
    std::vector<std::string> folders;
    if (pathText.empty()) {
        return folders;
    }
    size_t pos = 0;
    while (pos <= pathText.size()) {
        size_t end = pathText.find(':', pos);
        if (end == std::string_view::npos) {
            end = pathText.size();
        }
        const std::string_view folder = pathText.substr(pos, end - pos);
        folders.emplace_back(folder.empty() ? "." : folder);
        pos = end + 1;
    }
    return folders;
}

bool IsExecutableFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec) && access(path.c_str(), X_OK) == 0;
}

std::string ResolveUciEngine(const std::string& name, const std::string& appDir, std::string_view pathText) {
    if (name.empty()) {
        return {};
    }
    if (name.find('/') != std::string::npos) {
        return IsExecutableFile(name) ? name : std::string();
    }
    std::vector<std::string> folders;
    if (const std::string engineDir = EngineFolder(appDir); !engineDir.empty()) {
        folders.push_back(engineDir);
    }
    for (std::string& folder : PathFolders(pathText)) {
        folders.push_back(std::move(folder));
    }
    folders.emplace_back(kGamesFolder);
    for (const std::string& folder : folders) {
        std::string candidate = InFolder(folder, name);
        if (IsExecutableFile(candidate)) {
            return candidate;
        }
    }
    return {};
}

std::vector<std::string> FindUciEngines(const std::string& appDir, std::string_view pathText,
                                        const std::string& configured) {
    std::vector<std::string> found;
    std::vector<std::string> seen;  // the files themselves, however reached
    auto add = [&](const std::string& path) {
        if (path.empty()) {
            return;
        }
        std::error_code ec;
        const fs::path real = fs::canonical(path, ec);
        const std::string key = ec ? path : real.string();
        if (std::find(seen.begin(), seen.end(), key) == seen.end()) {
            seen.push_back(key);
            found.push_back(path);
        }
    };
    add(ResolveUciEngine(configured, appDir, pathText));
    const std::string engineDir = EngineFolder(appDir);
    for (std::string_view name : kUciEngineNames) {
        // Each place in turn, so a copy beside the program wins.
        if (!engineDir.empty() && IsExecutableFile(InFolder(engineDir, name))) {
            add(InFolder(engineDir, name));
        }
        for (const std::string& folder : PathFolders(pathText)) {
            const std::string candidate = InFolder(folder, name);
            if (IsExecutableFile(candidate)) {
                add(candidate);
            }
        }
        const std::string games = InFolder(std::string(kGamesFolder), name);
        if (IsExecutableFile(games)) {
            add(games);
        }
    }
    return found;
}

}  // namespace engines
