#pragma once
// An outside program started with its standard input and output connected
// to this one, read without blocking, so that a timer or a loop can follow
// it line by line. The program is killed when the object goes, and also
// when this program dies first.

#include <sys/types.h>
#include <string>
#include <string_view>
#include <vector>

namespace engines {

class ChildProcess {
  public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    /// Starts program (a path) with arguments; its error output is dropped.
    /// False, with error set, when it cannot be started.
    bool Start(const std::string& program, const std::vector<std::string>& arguments, std::string& error);

    /// Whether the program was started and has not ended yet.
    bool Running();
    /// Writes text to the program's input. False when it cannot take it (it
    /// has ended or closed its input).
    bool Write(std::string_view text);
    /// The complete lines the program has written by now, waiting up to
    /// waitMs for the first of them. A last line without its line end is
    /// kept for the next call, unless the output has ended.
    std::vector<std::string> ReadLines(int waitMs);
    /// True once the program's output has ended (it ended or closed it).
    bool AtEnd() const { return m_atEnd; }
    /// Waits up to waitMs for the program to end by itself.
    bool WaitForExit(int waitMs);
    /// Ends the program at once and waits for it.
    void Kill();

    pid_t pid() const { return m_pid; }

  private:
    void CloseChannel();

    pid_t m_pid = -1;
    int m_fd = -1;
    bool m_atEnd = false;
    bool m_reaped = false;
    std::string m_pending;
};

}  // namespace engines
