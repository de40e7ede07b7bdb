#pragma once
// Creating the program's files so that nothing found at their names is ever
// written through: a file or a symbolic link that someone else put there
// (another user in a shared folder, a leftover) is never opened for writing.
// New files are created exclusively (O_CREAT | O_EXCL | O_NOFOLLOW); a file
// that replaces another is written under a new temporary name in the same
// folder and renamed over it, which replaces a link instead of following it.

#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>

namespace platform {

/// A file this process has just created.
struct NewFile {
    int fd = -1;       ///< Open for writing (and reading with kReadWrite); -1 on failure.
    std::string path;  ///< The name it got.
    int error = 0;     ///< errno of the last attempt on failure.

    explicit operator bool() const { return fd >= 0; }
};

/// How a new file is opened.
enum class Access { kWrite, kReadWrite };

/// Creates path as a new file (O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC).
/// Fails with EEXIST when anything, a dangling link included, has the name.
NewFile CreateNew(const std::string& path, Access access = Access::kWrite, mode_t mode = 0600);

/// Creates a new file under the first free name of nameFor(0), nameFor(1),
/// ...: the first is the preferred name, the others names of the same
/// pattern. Gives up after `attempts` names or at an error other than a
/// taken name.
NewFile CreateUnderFreeName(const std::function<std::string(int attempt)>& nameFor,
                            Access access = Access::kWrite, mode_t mode = 0600, int attempts = 200);

/// path with its last run of six digits replaced, for attempt > 0, by six
/// other digits ("F123456.tmp" → "F804113.tmp"); path itself for attempt 0
/// or when it has no such run. The naming pattern of the program's working
/// files ("F" and six digits) is kept.
std::string OtherNumber(const std::string& path, int attempt);

/// A temporary file in folder, named prefix + "." + six random letters and
/// digits, created exclusively.
NewFile CreateTemporary(const std::string& folder, std::string_view prefix, mode_t mode = 0600);

/// Writes all of text to fd; false (errno set) on a short write.
bool WriteAll(int fd, std::string_view text);

/// Whether a replaced file reaches the disk before its name moves.
enum class Durability { kSynced, kUnsynced };

/// Writes text under a temporary name in folder (prefix as CreateTemporary),
/// flushes it to the disk (kSynced) and renames it over path in one step: a
/// crash leaves the old file or the new one, and a link at path is replaced,
/// not written through. New files get mode & ~umask. False (errno set) on
/// any failure, with the temporary file removed.
bool ReplaceFile(const std::string& folder, const std::string& path, std::string_view text,
                 std::string_view tempPrefix, mode_t mode = 0666,
                 Durability durability = Durability::kSynced);

/// ReplaceFile in path's own folder, the temporary named "." + path's name.
bool ReplaceFile(const std::string& path, std::string_view text, mode_t mode = 0666,
                 Durability durability = Durability::kSynced);

/// Writes a file the user names as output (an exported image, a sheet):
/// ReplaceFile, unsynced, so that a file or link found at path is replaced,
/// never written through. A device or pipe (/dev/null, /dev/stdout) is
/// written to as it is, when its name lies in a folder no other user can
/// change (IsSafeFolderPath), since nobody could have planted it there.
bool WriteOutputFile(const std::string& path, std::string_view text);

/// The folder part of path with its "/" ("./" for a bare name), and the name.
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);

/// Gives a finished temporary file the name path, only when that name is
/// free: nothing at path is ever replaced or written through. The
/// temporary name is gone afterwards either way. False (errno set) when the
/// name was taken or the rename failed.
bool RenameIfFree(const std::string& temp, const std::string& path);

/// True when folder is a folder of this user (the effective user) that no
/// one else may write into: neither group- nor other-writable. Programs are
/// started from such a folder only.
bool IsPrivateFolder(const std::string& folder);

/// True when no other user can change what path names: every existing
/// folder from "/" down to path belongs to root or to this user; one that
/// others may write into has the sticky bit (as /tmp has, so that the
/// user's own folder in it stays the user's); path itself is closed to
/// others. Folders still to be made count as the user's; a relative path
/// is taken from the current folder. Why when it is not, in *why.
bool IsSafeFolderPath(const std::string& path, std::string* why = nullptr);

/// The folder for this copy's run-time files (the single-instance lock):
/// runtimeDir ($XDG_RUNTIME_DIR) when it is an absolute path to a private
/// folder, else fallback.
std::string RuntimeFolder(const std::string& runtimeDir, const std::string& fallback);

}  // namespace platform
