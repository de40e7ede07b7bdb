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
        std::string number = std::to_string(n + 1000).substr(1);
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
    m_stage = CraftyStage::kCommandFile;
    Begin();
}

std::string CraftyRun::LogPath() const {
    return InFolder(m_appDir, "log." + m_logNumber);
}

std::string CraftyRun::GamePath() const {
    return InFolder(m_appDir, "game." + m_logNumber);
}

RunTick CraftyRun::Tick(double now, bool engineRunning, const std::function<bool()>& startEngine) {
    RunTick tick;
    if (!Active()) {
        return tick;
    }
    if (const std::optional<long long> elapsed = ClockTick(now)) {
        tick.clock = ClockText(*elapsed);
    }
    switch (m_stage) {
        case CraftyStage::kCommandFile:
            if (StopRequested()) {
                Finish(tick, "Crafty was stopped.");
            } else if (HasContent(InFolder(m_appDir, kCraftyRcName)) && startEngine && startEngine()) {
                m_stage = CraftyStage::kStarted;
            }
            break;
        case CraftyStage::kStarted:
            if (HasContent(LogPath())) {
                m_stage = CraftyStage::kLogSeen;
            } else if (!engineRunning) {
                // Gone without a log: nothing will come any more.
                m_stage = CraftyStage::kCommandFile;
                Finish(tick,
                       StopRequested() ? "Crafty was stopped." : "Crafty ended without writing its log.");
            }
            break;
        case CraftyStage::kLogSeen: {
            // The log is shown as it grows; it is complete, and may be
            // deleted, only once the engine has ended.
            const std::optional<std::string> text = ReadWholeFile(LogPath());
            if (!text) {
                break;
            }
            ShowOutput(LogItems(*text), !engineRunning, tick);
            if (!engineRunning) {
                m_stage = CraftyStage::kLogRead;
            }
            break;
        }
        case CraftyStage::kLogRead:
            if (FileExists(LogPath())) {
                RemoveFile(LogPath());
            } else {
                m_stage = CraftyStage::kLogDeleted;
            }
            break;
        case CraftyStage::kLogDeleted:
            if (FileExists(GamePath())) {
                RemoveFile(GamePath());
            } else {
                m_stage = CraftyStage::kCommandFile;
                Finish(tick);
            }
            break;
    }
    return tick;
}

}  // namespace engines
