// Times how long a UCI engine's endless search takes to end after Stop, as
// the Analysis window's Start/Stop button asks it; the window promises the
// search ends within a second. Usage: engines_stop_bench ENGINE [RUNS]
// Exit status 1 when a run took a second or more.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engines/chess_position.h"
#include "engines/uci_session.h"

namespace {

double Now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// Polls until done() holds or the session fails; false after 30 seconds.
template <typename Done>
bool PollUntil(engines::UciSession& session, Done done) {
    const double end = Now() + 30;
    while (Now() < end) {
        const engines::UciTick tick = session.Poll(Now(), 20);
        if (done(tick)) {
            return true;
        }
        if (tick.failed) {
            return false;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: engines_stop_bench ENGINE [RUNS]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    engines::UciSession session{position::NotationStyle{}};
    if (!session.Start(argv[1], Now()) ||
        !PollUntil(session, [](const engines::UciTick& t) { return t.ready; })) {
        std::fprintf(stderr, "the engine did not start: %s\n", session.Error().c_str());
        return 2;
    }
    const engines::PositionResult start =
        engines::PositionFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
    double worst = 0;
    for (int run = 0; run < runs; ++run) {
        if (!session.Go(*start.position, {}) ||
            !PollUntil(session, [&](const engines::UciTick&) { return !session.Lines().empty(); })) {
            std::fprintf(stderr, "the engine did not search: %s\n", session.Error().c_str());
            return 2;
        }
        const double asked = Now();
        session.Stop(asked);
        if (!PollUntil(session, [](const engines::UciTick& t) { return t.finished; })) {
            std::fprintf(stderr, "the search did not end: %s\n", session.Error().c_str());
            return 1;
        }
        worst = std::max(worst, Now() - asked);
    }
    session.Quit();
    std::printf("stop to bestmove: worst %.3f s over %d runs (limit 1 s)\n", worst, runs);
    return worst < 1.0 ? 0 : 1;
}
