#include "settings/file_io.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

#include "platform/safe_files.h"
#include "settings/settings_file.h"

namespace settings {

SettingsLock::SettingsLock(const std::string& appDir) {
    const std::string path = appDir + std::string(kLockName);
    // Only locked, never written: a link planted at the name is not followed.
    m_fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (m_fd >= 0) {
        while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
}

SettingsLock::~SettingsLock() {
    if (m_fd >= 0) {
        ::close(m_fd);  // and with it the lock
    }
}

bool ReadFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream buf;
    buf << in.rdbuf();
    text = buf.str();
    return true;
}

bool ReplaceFile(const std::string& folder, const std::string& path, const std::string& text) {
    // A name of its own for each write, created exclusively: two copies of
    // the program, or a bitmap copy beside a settings write, never share a
    // half-written file, and nothing planted at a name is written through.
    return platform::ReplaceFile(folder, path, text, kTempName, 0644);
}

}  // namespace settings
