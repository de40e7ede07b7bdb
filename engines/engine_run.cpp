#include "engines/engine_run.h"

namespace engines {

void EngineRun::Begin() {
    m_active = true;
    m_stopRequested = false;
    m_shownAny = false;
    m_shown.clear();
    m_clock.Reset();
}

void EngineRun::ShowOutput(std::vector<std::string> items, bool final, RunTick& tick) {
    if (!m_shownAny) {
        m_shownAny = true;
        tick.showWindow = true;
    }
    if (final || items != m_shown) {
        m_shown = items;
        tick.itemsChanged = true;
        tick.items = std::move(items);
    }
}

void EngineRun::Finish(RunTick& tick, std::string message) {
    m_active = false;
    m_stopRequested = false;
    m_clock.Reset();
    tick.clock = std::string();
    tick.finished = true;
    tick.message = std::move(message);
}

}  // namespace engines
