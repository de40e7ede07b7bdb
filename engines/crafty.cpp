#include "engines/crafty.h"

#include "engines/engine_files.h"

namespace engines {

std::string CraftyRc(std::string_view depth, std::string_view fen, bool whiteToMove) {
    const char* side = whiteToMove ? "white" : "black";
    std::string text;
    for (const std::string& line : {
             std::string("log off"),
             std::string("ponder off"),
             "sd " + OneLine(depth),
             "setboard " + OneLine(fen) + (whiteToMove ? " w - -" : " b - -"),
             std::string(side),
             std::string("log on"),
             std::string("analyze"),
             std::string("exit"),
             std::string("quit"),
             std::string("exit"),
         }) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string PredictLogNumber(const std::string& appDir) {
    for (int n = 1; n <= 999; ++n) {
        const std::string number = std::to_string(n + 1000).substr(1);
        if (!FileExists(InFolder(appDir, "log." + number))) {
            return number;
        }
    }
    return "000";
}

std::vector<std::string> LogItems(std::string_view text) {
    // One pass: each line is copied once, whatever its length.
    std::vector<std::string> items;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            break;  // a line the engine has not ended yet
        }
        if (end > start) {
            items.emplace_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return items;
}

void CraftyRun::Start(std::string appDir, std::string logNumber) {
    m_appDir = std::move(appDir);
    m_logNumber = std::move(logNumber);
    m_pollState = 0;
    m_clock.Reset();
    m_leCrafty = true;
}

std::string CraftyRun::LogPath() const {
    return InFolder(m_appDir, "log." + m_logNumber);
}

std::string CraftyRun::GamePath() const {
    return InFolder(m_appDir, "game." + m_logNumber);
}

CraftyTick CraftyRun::Tick(double now, bool engineRunning, const std::function<bool()>& startEngine) {
    CraftyTick tick;
    if (!m_leCrafty) {
        return tick;
    }
    if (const std::optional<long long> elapsed = m_clock.Tick(now)) {
        tick.elapsed = ClockText(*elapsed);
    }
    switch (m_pollState) {
        case 0:
            if (HasContent(InFolder(m_appDir, kCraftyRcName)) && startEngine && startEngine()) {
                m_pollState = 1;
            }
            break;
        case 1:
            if (HasContent(LogPath())) {
                m_pollState = 2;
            } else if (!engineRunning) {
                // Gone without a log: nothing will come any more.
                tick.noLog = true;
                Finish(tick);
            }
            break;
        case 2: {
            // Files here are not locked while the engine writes them: the
            // log is complete only once the engine has ended.
            if (engineRunning) {
                break;
            }
            const std::optional<std::string> text = ReadWholeFile(LogPath());
            if (!text) {
                break;
            }
            tick.logRead = true;
            tick.items = LogItems(*text);
            m_pollState = 3;
            break;
        }
        case 3:
            if (FileExists(LogPath())) {
                RemoveFile(LogPath());
            } else {
                m_pollState = 4;
            }
            break;
        default:
            if (FileExists(GamePath())) {
                RemoveFile(GamePath());
            } else {
                Finish(tick);
            }
            break;
    }
    return tick;
}

void CraftyRun::Finish(CraftyTick& tick) {
    m_pollState = 0;
    m_leCrafty = false;
    m_clock.Reset();
    tick.elapsed = std::string();
    tick.finished = true;
}

}  // namespace engines
