#include "engines/run_clock.h"

#include <cmath>
#include <cstdio>

namespace engines {

std::optional<long long> RunClock::Tick(double now) {
    if (!m_start) {
        m_start = now;
    }
    const auto elapsed = static_cast<long long>(std::floor(now - *m_start));
    if (elapsed == m_lastElapsed) {
        return std::nullopt;
    }
    m_lastElapsed = elapsed;
    return elapsed;
}

void RunClock::Reset() {
    m_start.reset();
    m_lastElapsed = 0;
}

std::string ClockText(long long seconds) {
    if (seconds < 0) {
        seconds = 0;
    }
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", static_cast<int>(seconds / 60 % 100),
                  static_cast<int>(seconds % 60));
    return text;
}

}  // namespace engines
