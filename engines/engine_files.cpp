#include "engines/engine_files.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/safe_files.h"
#include "settings/style.h"

namespace engines {

namespace fs = std::filesystem;

bool FileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool HasContent(const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        return false;
    }
    const auto size = fs::file_size(path, ec);
    return !ec && size > 0;
}

bool RemoveFile(const std::string& path) {
    std::error_code ec;
    fs::remove(path, ec);
    return !FileExists(path);
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) {
        return std::nullopt;
    }
    return std::move(content).str();
}

bool WriteWholeFile(const std::string& path, std::string_view text) {
    return platform::ReplaceFile(path, text, 0644, platform::Durability::kUnsynced);
}

std::string EngineFolder(const std::string& appDir) {
    return platform::IsPrivateFolder(appDir) ? appDir : std::string();
}

std::string FindInFolder(const std::string& folder, std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) {
        std::string exact = InFolder(folder, name);
        if (FileExists(exact)) {
            return exact;
        }
        // The installation may spell the name otherwise on a file system
        // that tells the cases apart.
        const std::string wanted = settings::Upper(name);
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string found = it->path().filename().string();
            std::error_code typeError;
            if (settings::Upper(found) == wanted && it->is_regular_file(typeError)) {
                return it->path().string();
            }
        }
    }
    return {};
}

std::string OneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return line;
}

std::string InFolder(const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/') {
        path += '/';
    }
    path += name;
    return path;
}

}  // namespace engines
