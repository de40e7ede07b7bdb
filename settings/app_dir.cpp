#include "settings/app_dir.h"

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "settings/style.h"

namespace settings {

namespace {

std::string WithSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/') {
        dir += '/';
    }
    return dir;
}

}  // namespace

std::string ResolveAppDir(const std::string& exeDir) {
    if (!exeDir.empty() && ::access(exeDir.c_str(), W_OK) == 0) {
        return WithSlash(exeDir);
    }
    const char* home = std::getenv("HOME");
    const std::string base = home != nullptr && *home != '\0' ? home : "/tmp";
    const std::string dir = base + "/.local/share/Pandrel/";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    return dir;
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
