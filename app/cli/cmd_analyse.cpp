// analyse: a UCI engine's lines for a position, without a window.

#include <chrono>
#include <cstdlib>
#include <ostream>

#include "app/cli/cli.h"
#include "engines/chess_position.h"
#include "engines/uci_discovery.h"
#include "engines/uci_session.h"

namespace cli {

namespace {

double Now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

bool ReadCount(const std::string& text, int low, int high, int& value) {
    char* end = nullptr;
    const long n = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || n < low || n > high) {
        return false;
    }
    value = static_cast<int>(n);
    return true;
}

constexpr int kDefaultDepth = 16;

int Analyse(Context& ctx, Args& args) {
    std::string error;
    std::string engineName;
    std::string depthText;
    std::string movetimeText;
    std::string multipvText;
    args.TakeValue("--engine", engineName, error);
    const bool hasDepth = error.empty() && args.TakeValue("--depth", depthText, error);
    const bool hasMovetime = error.empty() && args.TakeValue("--movetime", movetimeText, error);
    const bool hasMultipv = error.empty() && args.TakeValue("--multipv", multipvText, error);
    if (!error.empty()) {
        ctx.err << "pandrel-cli analyse: " << error << "\n";
        return kUsage;
    }
    engines::UciLimits limits;
    limits.depth = kDefaultDepth;
    if (hasDepth && hasMovetime) {
        ctx.err << "pandrel-cli analyse: give --depth or --movetime, not both\n";
        return kUsage;
    }
    if (hasDepth && !ReadCount(depthText, 1, 99, limits.depth)) {
        ctx.err << "pandrel-cli analyse: --depth takes a number from 1 to 99\n";
        return kUsage;
    }
    if (hasMovetime) {
        limits.depth = 0;
        if (!ReadCount(movetimeText, 1, 3'600'000, limits.movetimeMs)) {
            ctx.err << "pandrel-cli analyse: --movetime takes milliseconds from 1 to 3600000\n";
            return kUsage;
        }
    }
    if (hasMultipv && !ReadCount(multipvText, 1, engines::kMaxMultiPv, limits.multipv)) {
        ctx.err << "pandrel-cli analyse: --multipv takes a number from 1 to " << engines::kMaxMultiPv << "\n";
        return kUsage;
    }
    if (!ExpectWords(ctx, args, "analyse", 1, 1)) {
        return kUsage;
    }

    const engines::PositionResult read = engines::PositionFromFen(args.words[0]);
    if (!read.position) {
        ctx.err << "pandrel-cli analyse: illegal position: " << read.error << "\n";
        return kFailure;
    }
    const char* pathEnv = std::getenv("PATH");
    const std::string pathText = pathEnv != nullptr ? pathEnv : "";
    const std::string& appDir = ctx.program.settings.AppDir;
    std::string engine;
    if (!engineName.empty()) {
        engine = engines::ResolveUciEngine(engineName, appDir, pathText);
        if (engine.empty()) {
            ctx.err << "pandrel-cli analyse: no engine \"" << engineName << "\" found\n";
            return kFailure;
        }
    } else {
        const std::vector<std::string> found =
            engines::FindUciEngines(appDir, pathText, ctx.program.settings.UciEngine);
        if (found.empty()) {
            ctx.err << "pandrel-cli analyse: no UCI engine found (looked for stockfish and fairy-stockfish "
                       "in the program folder, on PATH and in /usr/games)\n";
            return kFailure;
        }
        engine = found.front();
    }

    engines::UciSession session(ctx.program.style.Notation());
    if (!session.Start(engine, Now())) {
        ctx.err << "pandrel-cli analyse: " << session.Error() << "\n";
        return kFailure;
    }
    bool searching = false;
    while (true) {
        const engines::UciTick tick = session.Poll(Now(), 100);
        if (tick.failed) {
            ctx.err << "pandrel-cli analyse: " << session.Error() << "\n";
            return kFailure;
        }
        if (tick.ready && !searching) {
            session.Go(*read.position, limits);
            searching = true;
        }
        if (tick.finished) {
            break;
        }
    }
    for (const engines::AnalysisLine& line : session.Lines()) {
        ctx.out << line.multipv << ": " << line.scoreText;
        for (const std::string& move : line.moves) {
            ctx.out << ' ' << move;
        }
        ctx.out << "\n";
    }
    return kOk;
}

const Register analyse("analyse",
                       "[--engine NAME|PATH] [--depth N | --movetime MS] [--multipv K] TEXT   "
                       "a UCI engine's lines for the FEN TEXT (side, castling, en passant default \"w - -\")",
                       Analyse);

}  // namespace

}  // namespace cli
