#include "settings/app_dir.h"

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "settings/style.h"

namespace settings {

namespace fs = std::filesystem;

namespace {

std::string WithSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/') {
        dir += '/';
    }
    return dir;
}

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Copies each seed file the folder lacks, through a temporary name, so that
// a copy cut short never passes for the user's own file. Files already there
// are never touched.
void Seed(const std::string& dir, const std::string& from) {
    if (from.empty() || from == dir) {
        return;
    }
    for (const char* name : kSeededFiles) {
        std::error_code ec;
        const fs::path target = fs::path(dir) / name;
        const fs::path source = fs::path(from) / name;
        if (fs::exists(target, ec) || !fs::is_regular_file(source, ec)) {
            continue;
        }
        const fs::path partial = fs::path(dir) / (std::string(name) + ".seed");
        if (fs::copy_file(source, partial, fs::copy_options::overwrite_existing, ec)) {
            fs::rename(partial, target, ec);
        }
        if (ec) {
            fs::remove(partial, ec);
        }
    }
}

}  // namespace

AppDirInput AppDirInput::FromEnvironment(const std::string& exeDir) {
    return AppDirInput{exeDir, Env("XDG_DATA_HOME"), Env("HOME"), {}};
}

std::string InstalledDataDir(const std::string& exeDir) {
    fs::path bin(exeDir);
    if (!bin.empty() && !bin.has_filename()) {
        bin = bin.parent_path();  // "…/bin/" names the same folder
    }
    if (bin.filename() != "bin") {
        return {};
    }
    const fs::path data = bin.parent_path() / "share" / "pandrel";
    std::error_code ec;
    return fs::is_directory(data, ec) ? WithSlash(data.string()) : std::string();
}

std::string UserDataDir(const std::string& xdgDataHome, const std::string& home) {
    // A relative XDG_DATA_HOME is to be ignored.
    if (!xdgDataHome.empty() && xdgDataHome.front() == '/') {
        return WithSlash(xdgDataHome) + "Pandrel/";
    }
    const std::string base = !home.empty() ? home : "/tmp";
    return WithSlash(base) + ".local/share/Pandrel/";
}

std::string ResolveAppDir(const AppDirInput& input) {
    const auto writable = [&input](const std::string& dir) {
        return input.writable ? input.writable(dir) : ::access(dir.c_str(), W_OK) == 0;
    };
    std::string seedFrom = InstalledDataDir(input.exeDir);
    if (seedFrom.empty()) {
        if (!input.exeDir.empty() && writable(input.exeDir)) {
            return WithSlash(input.exeDir);
        }
        seedFrom = input.exeDir.empty() ? std::string() : WithSlash(input.exeDir);
    }
    const std::string dir = UserDataDir(input.xdgDataHome, input.home);
    std::error_code ec;
    fs::create_directories(dir, ec);
    Seed(dir, seedFrom);
    return dir;
}

std::string ResolveAppDir(const std::string& exeDir) {
    return ResolveAppDir(AppDirInput::FromEnvironment(exeDir));
}

std::string ManualPath(const std::string& exeDir) {
    const std::string data = InstalledDataDir(exeDir);
    return data.empty() ? WithSlash(exeDir) + "pandrel.html" : data + "pandrel.html";
}

std::string MakeWorkName(long hundredthsSinceMidnight) {
    const std::string digits = "000000" + std::to_string(hundredthsSinceMidnight);
    return "F" + digits.substr(digits.size() - 6);
}

long HundredthsSinceMidnight() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    return (local.tm_hour * 3600L + local.tm_min * 60L + local.tm_sec) * 100L + ms / 10;
}

std::string InAppDir(const std::string& appDir, const std::string& name) {
    return IsBareName(name) ? appDir + name : name;
}

}  // namespace settings
