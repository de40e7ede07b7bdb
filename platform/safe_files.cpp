#include "platform/safe_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <vector>

namespace platform {

namespace {

// Random draws for names; the quality only has to keep a collision with
// names planted in advance unlikely.
unsigned Draw(unsigned bound) {
    thread_local std::mt19937 engine{std::random_device{}()};
    return std::uniform_int_distribution<unsigned>(0, bound - 1)(engine);
}

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

}  // namespace

NewFile CreateNew(const std::string& path, Access access, mode_t mode) {
    NewFile file;
    file.path = path;
    const int how = access == Access::kReadWrite ? O_RDWR : O_WRONLY;
    do {
        file.fd = ::open(path.c_str(), how | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    } while (file.fd < 0 && errno == EINTR);
    file.error = file.fd < 0 ? errno : 0;
    return file;
}

NewFile CreateUnderFreeName(const std::function<std::string(int attempt)>& nameFor, Access access,
                            mode_t mode, int attempts) {
    NewFile file;
    file.error = EEXIST;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        file = CreateNew(nameFor(attempt), access, mode);
        if (file || file.error != EEXIST) {
            break;
        }
    }
    return file;
}

std::string OtherNumber(const std::string& path, int attempt) {
    if (attempt == 0) {
        return path;
    }
    const size_t nameStart = path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1;
    // The last run of exactly six digits in the file's own name.
    size_t end = path.size();
    while (end > nameStart) {
        size_t start = end;
        while (start > nameStart && path[start - 1] >= '0' && path[start - 1] <= '9') {
            --start;
        }
        if (end - start == 6) {
            std::string other = path;
            for (size_t i = start; i < end; ++i) {
                other[i] = static_cast<char>('0' + Draw(10));
            }
            return other;
        }
        end = start == end ? end - 1 : start;
    }
    return path;
}

NewFile CreateTemporary(const std::string& folder, std::string_view prefix, mode_t mode) {
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    const std::string base = WithSlash(folder) + std::string(prefix) + ".";
    return CreateUnderFreeName(
        [&base](int) {
            std::string name = base;
            for (int i = 0; i < 6; ++i) {
                name += kLetters[Draw(sizeof kLetters - 1)];
            }
            return name;
        },
        Access::kWrite, mode);
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WriteAll(int fd, std::string_view text) {
    const char* data = text.data();
    size_t left = text.size();
    while (left > 0) {
        const ssize_t done = ::write(fd, data, left);
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            if (done == 0) {
                errno = ENOSPC;
            }
            return false;
        }
        data += done;
        left -= static_cast<size_t>(done);
    }
    return true;
}

bool ReplaceFile(const std::string& folder, const std::string& path, std::string_view text,
                 std::string_view tempPrefix, mode_t mode, Durability durability) {
    NewFile temp = CreateTemporary(folder, tempPrefix, mode);
    if (!temp) {
        errno = temp.error;
        return false;
    }
    bool ok = WriteAll(temp.fd, text);
    // On the disk before the name moves, so that a crash leaves the old
    // file or the new one, never an empty one.
    ok = ok && (durability == Durability::kUnsynced || ::fsync(temp.fd) == 0);
    int error = ok ? 0 : errno;
    if (::close(temp.fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temp.path.c_str(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temp.path.c_str());
        errno = error;
    }
    return ok;
}

bool ReplaceFile(const std::string& path, std::string_view text, mode_t mode, Durability durability) {
    return ReplaceFile(FolderOf(path), path, text, "." + NameOf(path), mode, durability);
}

bool WriteOutputFile(const std::string& path, std::string_view text) {
    struct stat st {};
    std::error_code ec;
    const std::string folder = std::filesystem::absolute(FolderOf(path), ec).lexically_normal().string();
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode) && !ec &&
        IsSafeFolderPath(folder)) {
        int fd = -1;
        do {
            fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0) {
            return false;
        }
        bool ok = WriteAll(fd, text);
        const int error = errno;
        ok = ::close(fd) == 0 && ok;
        if (!ok) {
            errno = error;
        }
        return ok;
    }
    return ReplaceFile(path, text, 0666, Durability::kUnsynced);
}

bool RenameIfFree(const std::string& temp, const std::string& path) {
    // A hard link takes the name only when it is free, links included.
    bool ok = ::link(temp.c_str(), path.c_str()) == 0;
    int error = ok ? 0 : errno;
    if (!ok && error != EEXIST) {
        // File systems without hard links: the kernel's no-replace rename.
        ok = ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0;
        error = ok ? 0 : errno;
    }
    ::unlink(temp.c_str());
    errno = error;
    return ok;
}

bool IsPrivateFolder(const std::string& folder) {
    struct stat st {};
    if (folder.empty() || ::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        return false;
    }
    return st.st_uid == ::geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool IsSafeFolderPath(const std::string& path, std::string* why) {
    std::error_code ec;
    const std::string full = path.empty() || path.front() == '/'
                                 ? path
                                 : std::filesystem::absolute(path, ec).lexically_normal().string();
    if (full.empty() || full.front() != '/') {
        if (why != nullptr) {
            *why = path + " names no folder";
        }
        return false;
    }
    // The folders of the way, from "/" down: each is followed through its
    // links (stat), since a link's target is what the name gives.
    std::vector<std::string> way{"/"};
    for (size_t at = 1; at <= full.size(); ++at) {
        if (at == full.size() || full[at] == '/') {
            if (at > 1 && full[at - 1] != '/') {
                way.push_back(full.substr(0, at));
            }
        }
    }
    const uid_t me = ::geteuid();
    for (const std::string& folder : way) {
        struct stat st {};
        if (::stat(folder.c_str(), &st) != 0) {
            break;  // to be made by this user
        }
        // A link on the way counts by its own owner too: whoever owns it
        // can point it elsewhere.
        struct stat link {};
        const bool othersLink = ::lstat(folder.c_str(), &link) == 0 && S_ISLNK(link.st_mode) &&
                                link.st_uid != 0 && link.st_uid != me;
        if ((st.st_uid != 0 && st.st_uid != me) || othersLink) {
            if (why != nullptr) {
                *why = folder + " belongs to another user";
            }
            return false;
        }
        // In a folder every user writes into, only the owner of an entry
        // may rename or remove it (the sticky bit): the next folder of the
        // way, this user's or root's, stays what it is. The folder itself
        // must be closed to others.
        const bool othersWrite = (st.st_mode & S_IWOTH) != 0;
        if (othersWrite && ((st.st_mode & S_ISVTX) == 0 || folder == way.back())) {
            if (why != nullptr) {
                *why = folder + " may be changed by every user";
            }
            return false;
        }
    }
    return true;
}

std::string RuntimeFolder(const std::string& runtimeDir, const std::string& fallback) {
    if (!runtimeDir.empty() && runtimeDir.front() == '/' && IsPrivateFolder(runtimeDir)) {
        return WithSlash(runtimeDir);
    }
    return fallback;
}

}  // namespace platform
