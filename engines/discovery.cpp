#include "engines/discovery.h"

#include <filesystem>

#include "engines/engine_files.h"
#include "engines/uci_discovery.h"
#include "settings/style.h"

namespace engines {

namespace {

constexpr std::string_view kDictionaryEnd = "&&";
constexpr int kDictionaryLine = 90;

// The number in the first two characters of a line, as the data file writes
// it: leading blanks skipped, "7 " and "07" alike, no digits give 0.
int LineNumber(std::string_view line) {
    const std::optional<double> value = settings::Val(line.substr(0, 2));
    if (!value) {
        return 0;
    }
    return settings::RoundHalfEven(*value).value_or(0);
}

bool IsPopeyeEngine(const std::string& engine) {
    return settings::Upper(engine) == "POPEYE";
}

bool IsCraftyEngine(const std::string& engine) {
    return settings::Upper(engine) == "CRAFTY";
}

}  // namespace

PyData ParsePyDat(std::string_view text) {
    PyData data;
    size_t pos = 0;
    while (pos < text.size()) {
        // Lines end in CR LF, LF or CR.
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = text.substr(pos, end - pos);
        pos = end;
        if (pos < text.size() && text[pos] == '\r') {
            ++pos;
        }
        if (pos < text.size() && text[pos] == '\n') {
            ++pos;
        }
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.size() < 2) {
            break;  // a broken line ends the reading; what came before stays
        }
        const int number = LineNumber(line);
        const std::string entry(line.substr(2));
        if (number >= 0 && number < kPopeyeFieldCount) {
            data.pickLists[static_cast<size_t>(number)].push_back(entry);
        } else if (number == kDictionaryLine) {
            data.dictionary += entry;
        }
    }
    data.dictionary += kDictionaryEnd;
    return data;
}

PyData ReadPyDat(const std::string& path) {
    const std::optional<std::string> text = path.empty() ? std::nullopt : ReadWholeFile(path);
    return ParsePyDat(text ? *text : std::string_view());
}

void FindPopeye(EngineState& state, std::string& recentEngine, const std::string& appDir,
                std::string_view pathText, const std::string& shippedDir) {
    // Only the two engines' names are remembered; anything else would keep
    // the engine button from ever choosing one.
    if (!IsPopeyeEngine(recentEngine) && !IsCraftyEngine(recentEngine)) {
        recentEngine.clear();
    }
    // The program folder first, when no one else could have put a program there.
    const std::string engineDir = EngineFolder(appDir);
    state.popeyeProgram = engineDir.empty()
                              ? std::string()
                              : FindInFolder(engineDir, {kPopeyeNames[0], kPopeyeNames[1], kPopeyeNames[2]});
    for (const std::string& folder : PathFolders(pathText)) {
        if (!state.popeyeProgram.empty()) {
            break;
        }
        for (std::string_view name : kPopeyePathNames) {
            const std::string candidate = InFolder(folder, name);
            if (IsExecutableFile(candidate)) {
                state.popeyeProgram = candidate;
                break;
            }
        }
    }
    state.popeyeFound = !state.popeyeProgram.empty();
    if (!state.popeyeFound) {
        if (IsPopeyeEngine(recentEngine)) {
            recentEngine = "Crafty";
        }
        return;
    }
    state.engineButton = true;
    if (recentEngine.empty()) {
        recentEngine = "Popeye";
    }
    PyData data = ReadPyDat(PyDatPath(appDir, shippedDir));
    for (int i = 0; i < kPopeyeFieldCount; ++i) {
        auto& list = state.pickLists[static_cast<size_t>(i)];
        auto& read = data.pickLists[static_cast<size_t>(i)];
        list.insert(list.end(), read.begin(), read.end());
    }
    state.PyDictionaryBase += data.dictionary;
}

std::string PyDatPath(const std::string& appDir, const std::string& shippedDir) {
    // The user's own data file wins over the one shipped with the program.
    std::string pyDat = FindInFolder(appDir, {kPyDatName});
    if (pyDat.empty() && !shippedDir.empty()) {
        pyDat = FindInFolder(shippedDir, {kPyDatName});
    }
    return pyDat;
}

std::string PopeyeNote(const EngineState& state, const std::string& appDir) {
    if (state.popeyeFound) {
        return "Popeye: " + state.popeyeProgram;
    }
    return "Popeye was not found: Pandrel looked for py or popeye in " + appDir +
           " and in the folders of the search path (PATH). Build Popeye from its source "
           "(make -f makefile.unx), put the program there as py, and start Pandrel again.";
}

std::string CraftyNote(const EngineState& state, const std::string& appDir) {
    if (state.craftyFound) {
        return "Crafty: " + state.craftyProgram;
    }
    return "Crafty was not found: Pandrel looked for crafty in " + appDir +
           ". Install or build Crafty, copy or link the program there as crafty, and start Pandrel again.";
}

void FindCrafty(EngineState& state, std::string& recentEngine, const std::string& appDir,
                bool anotherCopyRunning) {
    const std::string engineDir = EngineFolder(appDir);
    state.craftyProgram =
        engineDir.empty() ? std::string() : FindInFolder(engineDir, {kCraftyNames[0], kCraftyNames[1]});
    state.craftyFound = !state.craftyProgram.empty();
    if (!state.craftyFound) {
        if (IsCraftyEngine(recentEngine)) {
            recentEngine.clear();
        }
        return;
    }
    state.engineButton = true;
    if (recentEngine.empty()) {
        recentEngine = "Crafty";
    }
    // Another copy may be in the middle of an analysis whose log is here.
    if (!anotherCopyRunning) {
        RemoveOldCraftyLogs(appDir);
    }
}

std::vector<std::string> RemoveOldCraftyLogs(const std::string& appDir) {
    namespace fs = std::filesystem;
    std::vector<std::string> logs;
    std::error_code ec;
    for (fs::directory_iterator it(appDir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (name.rfind("log.", 0) == 0 && it->is_regular_file(typeError)) {
            logs.push_back(name);
        }
    }
    // One pass over the logs found: a file that cannot be deleted, or whose
    // name does not end in its own number, must not hold up start-up.
    std::vector<std::string> removed;
    for (const std::string& log : logs) {
        const std::string number = log.substr(log.size() >= 3 ? log.size() - 3 : 0);
        for (const std::string& name : {"log." + number, "game." + number}) {
            const std::string path = InFolder(appDir, name);
            if (FileExists(path) && RemoveFile(path)) {
                removed.push_back(name);
            }
        }
    }
    return removed;
}

std::string CraftyFen(std::string_view fen, std::string_view piecesList, std::string_view english) {
    std::string out;
    out.reserve(fen.size());
    for (char c : fen) {
        const size_t k = piecesList.find(c);
        out += (k != std::string_view::npos && k < english.size()) ? english[k] : c;
    }
    return out;
}

}  // namespace engines
