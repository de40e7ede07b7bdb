#include "engines/uci.h"

#include <charconv>
#include <cstdlib>

namespace engines {

namespace {

std::vector<std::string_view> Tokens(std::string_view line) {
    std::vector<std::string_view> tokens;
    size_t pos = 0;
    while (pos < line.size()) {
        const size_t start = line.find_first_not_of(" \t", pos);
        if (start == std::string_view::npos) {
            break;
        }
        size_t end = line.find_first_of(" \t", start);
        if (end == std::string_view::npos) {
            end = line.size();
        }
        tokens.push_back(line.substr(start, end - start));
        pos = end;
    }
    return tokens;
}

std::optional<int> Number(std::string_view text) {
    int value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (!text.empty() && text.front() == '+') {
        ++first;
    }
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last) {
        return std::nullopt;
    }
    return value;
}

// The rest of the line from token i on, as the engine wrote it.
std::string Rest(std::string_view line, const std::vector<std::string_view>& tokens, size_t i) {
    if (i >= tokens.size()) {
        return {};
    }
    const size_t start = static_cast<size_t>(tokens[i].data() - line.data());
    std::string_view rest = line.substr(start);
    const size_t end = rest.find_last_not_of(" \t");
    return std::string(rest.substr(0, end + 1));
}

// Info fields that carry one value each; it is skipped.
bool TakesOneValue(std::string_view key) {
    for (std::string_view k : {"seldepth", "time", "nodes", "currmove", "currmovenumber", "hashfull", "nps",
                               "tbhits", "sbhits", "cpuload", "wdl"}) {
        if (key == k) {
            return true;
        }
    }
    return false;
}

UciInfo ParseInfo(std::string_view line, const std::vector<std::string_view>& t) {
    UciInfo info;
    size_t i = 1;
    while (i < t.size()) {
        const std::string_view key = t[i++];
        if (key == "depth" && i < t.size()) {
            info.depth = Number(t[i++]);
        } else if (key == "multipv" && i < t.size()) {
            if (const auto n = Number(t[i++]); n && *n >= 1) {
                info.multipv = *n;
            }
        } else if (key == "score") {
            while (i < t.size()) {
                const std::string_view part = t[i];
                if ((part == "cp" || part == "mate") && i + 1 < t.size()) {
                    const auto n = Number(t[i + 1]);
                    i += 2;
                    if (n) {
                        info.score.kind = part == "cp" ? UciScore::Kind::kCentipawns : UciScore::Kind::kMate;
                        info.score.value = *n;
                    }
                } else if (part == "lowerbound") {
                    info.score.bound = UciScore::Bound::kLower;
                    ++i;
                } else if (part == "upperbound") {
                    info.score.bound = UciScore::Bound::kUpper;
                    ++i;
                } else {
                    break;
                }
            }
        } else if (key == "pv") {
            // The variation runs to the end of the line.
            for (; i < t.size(); ++i) {
                info.pv.emplace_back(t[i]);
            }
        } else if (key == "string") {
            info.string = Rest(line, t, i);
            break;
        } else if (key == "wdl") {
            i += 3;
        } else if (key == "refutation" || key == "currline") {
            break;  // move lists to the end of the line that the analysis does not use
        } else if (TakesOneValue(key)) {
            ++i;
        }
    }
    return info;
}

}  // namespace

UciMessage ParseUciLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    UciMessage message;
    const std::vector<std::string_view> t = Tokens(line);
    if (t.empty()) {
        return message;
    }
    if (t[0] == "uciok") {
        message.kind = UciMessage::Kind::kUciOk;
    } else if (t[0] == "readyok") {
        message.kind = UciMessage::Kind::kReadyOk;
    } else if (t[0] == "id" && t.size() >= 2 && t[1] == "name") {
        message.kind = UciMessage::Kind::kIdName;
        message.text = Rest(line, t, 2);
    } else if (t[0] == "bestmove") {
        message.kind = UciMessage::Kind::kBestMove;
        if (t.size() >= 2 && t[1] != "(none)" && t[1] != "0000") {
            message.text = std::string(t[1]);
        }
    } else if (t[0] == "info") {
        message.kind = UciMessage::Kind::kInfo;
        message.info = ParseInfo(line, t);
    }
    return message;
}

std::string FormatScore(const UciScore& score, bool whiteToMove) {
    if (score.kind == UciScore::Kind::kNone) {
        return {};
    }
    // The engine speaks for the side to move; the user reads White's side.
    const long long value = whiteToMove ? score.value : -static_cast<long long>(score.value);
    UciScore::Bound bound = score.bound;
    if (!whiteToMove && bound != UciScore::Bound::kExact) {
        bound = bound == UciScore::Bound::kLower ? UciScore::Bound::kUpper : UciScore::Bound::kLower;
    }
    std::string text = bound == UciScore::Bound::kLower ? ">=" : bound == UciScore::Bound::kUpper ? "<=" : "";
    if (score.kind == UciScore::Kind::kMate) {
        if (score.value == 0) {
            // The side to move is mated already.
            return text + (whiteToMove ? "#-0" : "#0");
        }
        return text + "#" + std::to_string(value);
    }
    if (value == 0) {
        return text + "0.00";
    }
    const long long magnitude = std::llabs(value);
    char digits[32];
    std::snprintf(digits, sizeof digits, "%c%lld.%02lld", value > 0 ? '+' : '-', magnitude / 100,
                  magnitude % 100);
    return text + digits;
}

}  // namespace engines
