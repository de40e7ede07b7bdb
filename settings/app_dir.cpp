#include "settings/app_dir.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <vector>

#include "platform/safe_files.h"
#include "settings/file_io.h"
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

// Copies each seed file the folder lacks: written under a temporary name of
// its own in the folder and then given the name only if that is still free,
// so that a copy cut short never passes for the user's own file and nothing
// found at the name (a file, a link) is replaced or written through.
void Seed(const std::string& dir, const std::string& from) {
    if (from.empty() || from == dir) {
        return;
    }
    for (const char* name : kSeededFiles) {
        std::error_code ec;
        const fs::path target = fs::path(dir) / name;
        const fs::path source = fs::path(from) / name;
        if (fs::exists(fs::symlink_status(target, ec)) || !fs::is_regular_file(source, ec)) {
            continue;
        }
        std::string data;
        if (!ReadFile(source.string(), data)) {
            continue;
        }
        platform::NewFile partial = platform::CreateTemporary(dir, std::string(name) + ".seed", 0644);
        if (!partial) {
            continue;
        }
        const bool written = platform::WriteAll(partial.fd, data) && ::fsync(partial.fd) == 0;
        const bool closed = ::close(partial.fd) == 0;
        if (written && closed) {
            platform::RenameIfFree(partial.path, target.string());
        } else {
            ::unlink(partial.path.c_str());
        }
    }
}

// Makes the missing folders of dir, each closed to others: the data folder
// holds the user's settings and the programs it may start.
bool MakeFolders(const std::string& dir) {
    std::string made;
    for (size_t at = 1; at <= dir.size(); ++at) {
        if (at == dir.size() || dir[at] == '/') {
            made = dir.substr(0, at);
            if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST) {
                return false;
            }
        }
    }
    struct stat st {};
    return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The home folder from the password database, for a session without HOME.
std::string PasswordHome() {
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
        found->pw_dir == nullptr) {
        return {};
    }
    return found->pw_dir;
}

}  // namespace

AppDirInput AppDirInput::FromEnvironment(const std::string& exeDir) {
    // Without HOME (a service, a stripped environment) the home is the one
    // the password database gives, never a shared folder.
    std::string home = Env("HOME");
    if (home.empty() || home.front() != '/') {
        home = PasswordHome();
    }
    return AppDirInput{exeDir, Env("XDG_DATA_HOME"), home, {}};
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
    if (home.empty() || home.front() != '/') {
        return {};
    }
    return WithSlash(home) + ".local/share/Pandrel/";
}

std::string ResolveAppDir(const AppDirInput& input, std::string* why) {
    const auto writable = [&input](const std::string& dir) {
        return input.writable ? input.writable(dir) : ::access(dir.c_str(), W_OK) == 0;
    };
    const auto fail = [why](std::string reason) {
        if (why != nullptr) {
            *why = std::move(reason);
        }
        return std::string();
    };
    std::string seedFrom = InstalledDataDir(input.exeDir);
    if (seedFrom.empty()) {
        // A portable copy keeps its files beside itself, unless others could
        // change them there.
        if (!input.exeDir.empty() && writable(input.exeDir) && platform::IsSafeFolderPath(input.exeDir)) {
            return WithSlash(input.exeDir);
        }
        seedFrom = input.exeDir.empty() ? std::string() : WithSlash(input.exeDir);
    }
    std::string dir = UserDataDir(input.xdgDataHome, input.home);
    if (dir.empty()) {
        return fail("no home folder: HOME is not set and the password database names none");
    }
    std::string unsafe;
    if (!platform::IsSafeFolderPath(dir, &unsafe)) {
        return fail("the data folder " + dir + " is not safe: " + unsafe);
    }
    if (!MakeFolders(dir)) {
        return fail("cannot create the data folder " + dir + ": " + std::strerror(errno));
    }
    // Made, or found: it must still be this user's alone.
    if (!platform::IsSafeFolderPath(dir, &unsafe)) {
        return fail("the data folder " + dir + " is not safe: " + unsafe);
    }
    Seed(dir, seedFrom);
    return dir;
}

std::string ResolveAppDir(const std::string& exeDir, std::string* why) {
    return ResolveAppDir(AppDirInput::FromEnvironment(exeDir), why);
}

std::string ManualPath(const std::string& exeDir) {
    if (InstalledDataDir(exeDir).empty()) {
        return WithSlash(exeDir) + "pandrel.html";
    }
    // prefix/bin → prefix/share/doc/pandrel, where the package keeps it.
    fs::path bin(exeDir);
    if (!bin.has_filename()) {
        bin = bin.parent_path();
    }
    return (bin.parent_path() / "share" / "doc" / "pandrel" / "pandrel.html").string();
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
