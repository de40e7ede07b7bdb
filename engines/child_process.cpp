#include "engines/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace engines {

namespace {

constexpr size_t kLongestLine = 1 << 20;

double Milliseconds() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

ChildProcess::~ChildProcess() {
    Kill();
}

bool ChildProcess::Start(const std::string& program, const std::vector<std::string>& arguments,
                         std::string& error) {
    Kill();
    m_atEnd = false;
    m_reaped = false;
    m_pending.clear();
    // A socket rather than pipes: writing to a program that has ended then
    // fails with an error instead of a signal that would end this program.
    int channel[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, channel) != 0) {
        error = std::strerror(errno);
        return false;
    }
    int report[2];  // carries the child's errno when the program cannot be run
    if (pipe2(report, O_CLOEXEC) != 0) {
        error = std::strerror(errno);
        close(channel[0]);
        close(channel[1]);
        return false;
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t parent = getpid();

    const pid_t pid = fork();
    if (pid < 0) {
        error = std::strerror(errno);
        close(channel[0]);
        close(channel[1]);
        close(report[0]);
        close(report[1]);
        return false;
    }
    if (pid == 0) {
        // Only calls that are safe between fork and exec.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) {
            _exit(127);
        }
        dup2(channel[1], STDIN_FILENO);
        dup2(channel[1], STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, STDERR_FILENO);
        }
        signal(SIGPIPE, SIG_DFL);
        execv(program.c_str(), argv.data());
        const int code = errno;
        [[maybe_unused]] const ssize_t written = write(report[1], &code, sizeof code);
        _exit(127);
    }
    close(channel[1]);
    close(report[1]);
    int code = 0;
    ssize_t got;
    do {
        got = read(report[0], &code, sizeof code);
    } while (got < 0 && errno == EINTR);
    close(report[0]);
    if (got == static_cast<ssize_t>(sizeof code)) {
        close(channel[0]);
        waitpid(pid, nullptr, 0);
        error = std::strerror(code);
        return false;
    }
    m_pid = pid;
    m_fd = channel[0];
    fcntl(m_fd, F_SETFL, fcntl(m_fd, F_GETFL) | O_NONBLOCK);
    return true;
}

bool ChildProcess::Running() {
    if (m_pid <= 0 || m_reaped) {
        return false;
    }
    int status = 0;
    const pid_t r = waitpid(m_pid, &status, WNOHANG);
    if (r == m_pid || (r < 0 && errno == ECHILD)) {
        m_reaped = true;
        return false;
    }
    return true;
}

bool ChildProcess::Write(std::string_view text) {
    if (m_fd < 0) {
        return false;
    }
    while (!text.empty()) {
        const ssize_t n = send(m_fd, text.data(), text.size(), MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                pollfd p{m_fd, POLLOUT, 0};
                if (poll(&p, 1, 1000) <= 0) {
                    return false;
                }
                continue;
            }
            return false;
        }
        text.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

std::vector<std::string> ChildProcess::ReadLines(int waitMs) {
    std::vector<std::string> lines;
    if (m_fd < 0) {
        return lines;
    }
    const double deadline = Milliseconds() + waitMs;
    char buffer[8192];
    while (!m_atEnd) {
        const ssize_t n = read(m_fd, buffer, sizeof buffer);
        if (n > 0) {
            m_pending.append(buffer, static_cast<size_t>(n));
            size_t start = 0;
            for (size_t nl = m_pending.find('\n'); nl != std::string::npos;
                 nl = m_pending.find('\n', start)) {
                lines.emplace_back(m_pending, start, nl - start);
                start = nl + 1;
            }
            m_pending.erase(0, start);
            if (m_pending.size() > kLongestLine) {
                // An endless line must not fill the memory: it is taken as it is.
                lines.push_back(std::move(m_pending));
                m_pending.clear();
            }
            continue;
        }
        if (n == 0) {
            m_atEnd = true;
            break;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            m_atEnd = true;
            break;
        }
        const int left = static_cast<int>(deadline - Milliseconds());
        if (!lines.empty() || left <= 0) {
            break;
        }
        pollfd p{m_fd, POLLIN, 0};
        poll(&p, 1, left);
    }
    if (m_atEnd && !m_pending.empty()) {
        lines.push_back(std::move(m_pending));
        m_pending.clear();
    }
    return lines;
}

bool ChildProcess::WaitForExit(int waitMs) {
    const double deadline = Milliseconds() + waitMs;
    while (Running()) {
        if (Milliseconds() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

void ChildProcess::Kill() {
    if (m_pid > 0 && !m_reaped) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_reaped = true;
    }
    CloseChannel();
    m_pid = -1;
}

void ChildProcess::CloseChannel() {
    if (m_fd >= 0) {
        close(m_fd);
        m_fd = -1;
    }
}

}  // namespace engines
