#pragma once
// What the runs of the outside solver and engine share: a run is followed
// by a fast timer, tick by tick, over the files the program writes; each
// tick tells the window what to show, and the run ends in one finish.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engines/run_clock.h"

namespace engines {

/// What one timer tick of a run gives its window.
struct RunTick {
    /// New text of the time label ("" once the run is over).
    std::optional<std::string> clock;
    /// The output has begun: the window shows itself if it is hidden.
    bool showWindow = false;
    /// items replace the result list.
    bool itemsChanged = false;
    std::vector<std::string> items;
    /// The run is over; the window is idle again.
    bool finished = false;
    /// Why it ended without output ("" when it gave some).
    std::string message;
};

/// The frame of a polled run: whether it is active, its clock, the output
/// shown last, Stop and the finish.
class EngineRun {
  public:
    /// A run is in progress (LePy, LeCrafty).
    bool Active() const { return m_active; }
    /// The user asked the run to stop; the window ends the program. The run
    /// takes in what output there is and finishes.
    void RequestStop() { m_stopRequested = m_active; }
    bool StopRequested() const { return m_stopRequested; }

  protected:
    /// A new run: active, the clock idle, nothing shown yet.
    void Begin();
    /// The whole seconds since the first tick, when they changed.
    std::optional<long long> ClockTick(double now) { return m_clock.Tick(now); }
    /// The output read so far: items replace the list when they differ from
    /// those shown last, or always when final; the first output shows the
    /// window.
    void ShowOutput(std::vector<std::string> items, bool final, RunTick& tick);
    /// Back to idle: the label emptied, the window told the run is over.
    void Finish(RunTick& tick, std::string message = {});

  private:
    bool m_active = false;
    bool m_stopRequested = false;
    bool m_shownAny = false;
    std::vector<std::string> m_shown;
    RunClock m_clock;
};

}  // namespace engines
