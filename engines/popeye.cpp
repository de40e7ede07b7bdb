#include "engines/popeye.h"

#include <cmath>
#include <limits>
#include <utility>

#include "engines/engine_files.h"
#include "engines/popeye_names.h"
#include "settings/style.h"

namespace engines {

namespace {

constexpr double kDefaultMaxTime = 60;
constexpr size_t kLongLine = 51;  // lines this long are cut
constexpr size_t kCutFrom = 44;   // 0-based: position 45

}  // namespace

std::string TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

PickResult ApplyPickItem(std::string_view item, std::string_view old) {
    if (settings::Upper(item) == "NONE") {
        return {true, {}, true};
    }
    char mode = '>';
    const size_t mark = item.find(" '");
    if (mark != std::string_view::npos) {
        mode = mark + 2 < item.size() ? item[mark + 2] : '\0';
        item = item.substr(0, mark);
    }
    const std::string text = TrimBlanks(item);
    const std::string before(old);
    switch (mode) {
        case '>':
            return {true, TrimBlanks(before + " " + text), false};
        case ']':
            return {true, TrimBlanks(before + text), false};
        case '<':
            return {true, TrimBlanks(text + " " + before), false};
        case '[':
            return {true, TrimBlanks(text + before), false};
        case '#':
            return {true, text, false};
        default:
            return {};
    }
}

std::string CheckPopeyeFields(const PopeyeFieldTexts& fields) {
    if (fields[kStipulation].empty()) {
        return "Enter the stipulation!";
    }
    // A stipulation typed with its number ("#2", "ser-h#2.5") needs no moves.
    if (fields[kMoves].empty() && !StipulationHasMoves(fields[kStipulation])) {
        return "Enter the number of moves!";
    }
    if (fields[kWhitePieces].empty() && fields[kBlackPieces].empty() && fields[kNeutralPieces].empty()) {
        return "Enter the pieces list!";
    }
    return PlaceholderWarning(fields);
}

PopeyeOptions MakePopeyeOptions(std::string_view optionsField) {
    PopeyeOptions options;
    options.text = TrimBlanks("NoBoard " + std::string(optionsField));
    const std::string upper = settings::Upper(options.text);
    const std::string_view key = "MAXTIME ";
    const size_t at = upper.find(key);
    if (at == std::string::npos) {
        options.maxTime = kDefaultMaxTime;
        options.text = "MaxTime 60 " + options.text;
        return options;
    }
    std::string rest = TrimBlanks(std::string_view(options.text).substr(at + key.size()));
    rest = rest.substr(0, rest.find(' '));
    const std::optional<double> value = settings::Val(rest);
    options.maxTime = value && std::isfinite(*value) ? *value : 0;
    return options;
}

PopeyeRunFiles MakePopeyeRunFiles(const std::string& appDir, const std::string& workName) {
    return {InFolder(appDir, workName + "o.tmp"), InFolder(appDir, workName + "i.tmp")};
}

std::string ProtocolName(const PopeyeRunFiles& files) {
    const std::string& path = files.protocol;
    if (path.find_first_of(" \t") == std::string::npos) {
        return path;
    }
    return path.substr(path.find_last_of('/') + 1);
}

std::string PopeyeInput(const PopeyeFieldTexts& fields, const std::string& optionsText,
                        const std::string& protocolName) {
    std::string text;
    auto line = [&text](std::string_view keyword, std::string_view value) {
        text += keyword;
        text += OneLine(value);
        text += "\r\n";
    };
    auto lineIfSet = [&line](std::string_view keyword, const std::string& value) {
        if (!value.empty()) {
            line(keyword, value);
        }
    };
    line("BeginProblem", {});
    // The protocol is named first, so that what the solver says about the
    // pieces (an unknown name) is in it too.
    line("Protocol ", protocolName);
    line("Pieces", {});
    lineIfSet("White ", fields[kWhitePieces]);
    lineIfSet("Black ", fields[kBlackPieces]);
    lineIfSet("Neutral ", fields[kNeutralPieces]);
    line("Stipulation ", fields[kStipulation] + fields[kMoves]);
    lineIfSet("Condition ", SolverConditions(fields[kConditions]));
    line("Option ", optionsText);
    // The zero position before the twins: after a twin the solver would
    // take it for one more twin.
    lineIfSet("ZeroPosition ", SolverMirrors(fields[kZeroPosition]));
    for (const std::string& twin : TwinLines(fields[kTwins])) {
        line("Twin ", twin);
    }
    lineIfSet("", fields[kCommand]);
    line("EndProblem", {});
    return text;
}

std::vector<std::string> PopeyeArguments(const PopeyeFieldTexts& fields, const std::string& inputPath) {
    std::vector<std::string> arguments;
    if (!fields[kMaxmem].empty()) {
        arguments.push_back("-maxmem");
        arguments.push_back(fields[kMaxmem]);
    }
    arguments.push_back(inputPath);
    return arguments;
}

PopeyeJob PreparePopeye(const PopeyeFieldTexts& fields, const PopeyeRunFiles& files) {
    PopeyeJob job;
    job.message = CheckPopeyeFields(fields);
    if (!job.message.empty()) {
        return job;
    }
    const PopeyeOptions options = MakePopeyeOptions(SolverOptions(fields[kOptions]));
    job.maxTime = options.maxTime;
    job.inputText = PopeyeInput(fields, options.text, ProtocolName(files));
    job.arguments = PopeyeArguments(fields, files.input);
    return job;
}

std::vector<std::string> ProtocolItems(std::string_view text) {
    std::vector<std::string> items;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(pos, end - pos);
        pos = end;
        if (pos < text.size() && text[pos] == '\r') {
            ++pos;
        }
        if (pos < text.size() && text[pos] == '\n') {
            ++pos;
        }
        if (line.empty()) {
            continue;
        }
        // The rest of the line is a window on it, and the blank a cut looks
        // for is remembered between cuts: a long line without blanks is
        // neither copied nor searched again at every cut.
        size_t start = 0;
        size_t stop = line.size();
        size_t blank = 0;
        bool searched = false;
        while (stop - start >= kLongLine) {
            const size_t from = start + kCutFrom;
            if (!searched || (blank != std::string_view::npos && blank < from)) {
                blank = line.find(' ', from);
                searched = true;
            }
            const size_t cut = blank == std::string_view::npos || blank >= stop ? from : blank;
            items.emplace_back(line.substr(start, cut - start));
            start = cut;
            while (stop > start && line[stop - 1] == ' ') {
                --stop;
            }
            while (start < stop && line[start] == ' ') {
                ++start;
            }
        }
        line = line.substr(start, stop - start);
        items.emplace_back(line);
    }
    return items;
}

std::string Countdown(double maxTime, long long elapsed) {
    const double left = maxTime - static_cast<double>(elapsed);
    long long remaining = 0;
    if (left > 0) {
        remaining = settings::RoundHalfEven(left).value_or(std::numeric_limits<int32_t>::max());
    }
    return ClockText(remaining);
}

void PopeyeRun::Start(std::string protocolPath, double maxTime) {
    m_protocol = std::move(protocolPath);
    m_maxTime = maxTime;
    m_stage = PopeyeStage::kWaiting;
    m_text.clear();
    Begin();
}

RunTick PopeyeRun::Tick(double now, bool solverRunning) {
    RunTick tick;
    if (!Active()) {
        return tick;
    }
    if (const std::optional<long long> elapsed = ClockTick(now)) {
        tick.clock = Countdown(m_maxTime, *elapsed);
    }
    switch (m_stage) {
        case PopeyeStage::kWaiting:
            if (HasContent(m_protocol)) {
                m_stage = PopeyeStage::kProtocolSeen;
            } else if (!solverRunning) {
                // Gone without a protocol: nothing will come any more.
                m_stage = PopeyeStage::kWaiting;
                Finish(tick, StopRequested() ? "Popeye was stopped."
                                             : "Popeye ended without writing its protocol.");
            }
            break;
        case PopeyeStage::kProtocolSeen: {
            // The protocol is shown as it grows; it is complete, and may be
            // deleted, only once the solver has ended.
            std::optional<std::string> text = ReadWholeFile(m_protocol);
            if (!text) {
                break;
            }
            ShowOutput(ProtocolItems(*text), !solverRunning, tick);
            m_text = std::move(*text);
            if (!solverRunning) {
                m_stage = PopeyeStage::kProtocolRead;
            }
            break;
        }
        case PopeyeStage::kProtocolRead:
            if (FileExists(m_protocol)) {
                RemoveFile(m_protocol);
            } else {
                m_stage = PopeyeStage::kWaiting;
                Finish(tick);
            }
            break;
    }
    return tick;
}

}  // namespace engines
