#pragma once
// Makes writes past a file size fail (EFBIG) while an instance lives, as on
// a disk that fills up part way through a file.

#include <sys/resource.h>

#include <csignal>

namespace testsupport {

class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t size) {
        // Without this the first write past the limit would end the process.
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = size;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

}  // namespace testsupport
