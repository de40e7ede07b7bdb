#pragma once
// Reading and replacing the program's files safely: whole reads, atomic
// replacement through a temporary name, and the advisory lock two copies of
// the program take around a read-modify-write of the settings file.

#include <string>

namespace settings {

/// Reads a whole file; false when it cannot be opened.
bool ReadFile(const std::string& path, std::string& text);

/// Writes text to a temporary file in the same folder, flushes it to the disk
/// and renames it over path in one step, so a crash leaves either the old or
/// the new file; a link at path is replaced, not written through.
bool ReplaceFile(const std::string& folder, const std::string& path, const std::string& text);

/// Holds the advisory lock (flock) on the lock file beside the settings file
/// of appDir for its lifetime, so that the read-modify-write of one copy of
/// the program runs whole before another copy reads the file. Without a lock
/// file (a read-only folder) the writers go on unlocked; their writes would
/// fail there anyway.
class SettingsLock {
  public:
    explicit SettingsLock(const std::string& appDir);
    ~SettingsLock();
    SettingsLock(const SettingsLock&) = delete;
    SettingsLock& operator=(const SettingsLock&) = delete;

  private:
    int m_fd = -1;
};

}  // namespace settings
