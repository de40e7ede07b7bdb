#include "settings/file_io.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "settings/settings_file.h"

namespace settings {

SettingsLock::SettingsLock(const std::string& appDir) {
    const std::string path = appDir + std::string(kLockName);
    m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
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
    // A name of its own for each write: two copies of the program, or a
    // bitmap copy beside a settings write, never share a half-written file.
    std::string temp = folder + std::string(kTempName) + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        return false;
    }
    ::fchmod(fd, 0644);
    bool ok = true;
    const char* data = text.data();
    size_t left = text.size();
    while (ok && left > 0) {
        const ssize_t done = ::write(fd, data, left);
        if (done < 0 && errno == EINTR) {
            continue;
        }
        ok = done > 0;
        if (ok) {
            data += done;
            left -= static_cast<size_t>(done);
        }
    }
    // On the disk before the name moves, so that a crash leaves the old
    // file or the new one, never an empty one.
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
    }
    return ok;
}

}  // namespace settings
