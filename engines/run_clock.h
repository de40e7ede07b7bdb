#pragma once
// The clock of an engine run, shown once a second in the engine windows.

#include <optional>
#include <string>

namespace engines {

/// Counts whole seconds from the first tick of a run.
class RunClock {
  public:
    /// The whole seconds (rounded down) between the first tick since Reset
    /// and now, when they differ from those reported last; nothing otherwise.
    /// now is in seconds on a clock that never goes back.
    std::optional<long long> Tick(double now);
    /// Back to idle: the next tick starts the count again.
    void Reset();

  private:
    std::optional<double> m_start;  // StartTime; none while not set
    long long m_lastElapsed = 0;    // LastElapsed
};

/// "MM:SS": minutes (seconds div 60, modulo 100) and seconds, each as two
/// digits with a leading zero. Negative values count as 0.
std::string ClockText(long long seconds);

}  // namespace engines
