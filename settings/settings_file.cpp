#include "settings/settings_file.h"

#include <algorithm>
#include <filesystem>

#include "settings/settings_keys.h"

namespace settings {

namespace {

constexpr std::string_view kEol = "\r\n";

// Splits text into lines; CR LF and bare LF both end a line.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The record a line holds when the line is one quoted record, as the writers
// put a value with a comma; other lines as they stand. The writers recognise
// their own lines by what the reader will take from them.
std::string_view QuotedRecord(std::string_view line) {
    if (line.empty() || line.front() != '"') {
        return line;
    }
    const size_t close = line.find('"', 1);
    return close == std::string_view::npos ? line.substr(1) : line.substr(1, close - 1);
}

void PushRecent(std::array<std::string, 4>& files, const std::string& name) {
    int i = 3;
    for (int k = 0; k < 4; ++k) {
        if (files[k] == name) {
            i = k;
            break;
        }
    }
    for (int j = i; j >= 1; --j) {
        files[j] = files[j - 1];
    }
    files[0] = name;
}

// Before the first write over a settings file that could not be read whole,
// the file is kept as it was beside it; a copy already there is the first
// damaged file and stays.
void KeepDamagedCopy(const std::string& appDir, const std::string& oldText) {
    const std::string bad = appDir + std::string(kBadCopyName);
    std::error_code ec;
    if (!std::filesystem::exists(bad, ec) && FirstDamagedLine(oldText) != 0) {
        ReplaceFile(appDir, bad, oldText);
    }
}

}  // namespace

std::vector<std::string> SplitRecords(std::string_view line) {
    std::vector<std::string> records;
    size_t i = 0;
    while (true) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
            ++i;
        }
        if (i < line.size() && line[i] == '"') {
            const size_t close = line.find('"', i + 1);
            if (close == std::string_view::npos) {
                records.emplace_back(line.substr(i + 1));
                return records;
            }
            records.emplace_back(line.substr(i + 1, close - i - 1));
            // Whatever stands between the closing quote and the next comma is dropped.
            const size_t comma = line.find(',', close + 1);
            if (comma == std::string_view::npos) {
                return records;
            }
            i = comma + 1;
            continue;
        }
        const size_t comma = line.find(',', i);
        if (comma == std::string_view::npos) {
            records.emplace_back(Trim(line.substr(std::min(i, line.size()))));
            return records;
        }
        records.emplace_back(Trim(line.substr(i, comma - i)));
        i = comma + 1;
    }
}

int FirstDamagedLine(std::string_view text) {
    int lineNo = 0;
    for (std::string_view line : Lines(text)) {
        ++lineNo;
        if (!IsTextLine(line)) {
            return lineNo;
        }
    }
    return 0;
}

bool IsTextLine(std::string_view line) {
    if (line.size() > kMaxSettingsLine) {
        return false;
    }
    size_t i = 0;
    while (i < line.size()) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c < 0x80) {
            if ((c < 0x20 && c != '\t') || c == 0x7F) {
                return false;
            }
            ++i;
            continue;
        }
        // One UTF-8 sequence: its length from the lead byte, no overlong
        // forms, no surrogates, nothing past U+10FFFF.
        int more = 0;
        uint32_t code = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            code = c & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<size_t>(more) >= line.size()) {
            return false;
        }
        for (int k = 1; k <= more; ++k) {
            const auto d = static_cast<unsigned char>(line[i + static_cast<size_t>(k)]);
            if ((d & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (d & 0x3F);
        }
        if ((more == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
            (more == 3 && (code < 0x10000 || code > 0x10FFFF))) {
            return false;
        }
        i += static_cast<size_t>(more) + 1;
    }
    return true;
}

ReadResult ReadSettingsText(std::string_view text, Style& style, ProgramSettings& program) {
    ResetStyle(style, program);
    ClearProgramTexts(program);
    const bool hadStyle = !style.CurrentStyle.empty();
    bool inStyle = false;
    ReadResult result;
    result.found = true;
    int lineNo = 0;
    for (std::string_view line : Lines(text)) {
        ++lineNo;
        if (!IsTextLine(line)) {
            // What such a line said is lost: its fields keep their defaults,
            // and the block it may have begun is not taken for the one before.
            if (result.damagedLine == 0) {
                result.damagedLine = lineNo;
            }
            inStyle = false;
            continue;
        }
        for (std::string record : SplitRecords(line)) {
            const size_t semi = record.find(';');
            if (semi != std::string::npos && semi > 0) {
                record.resize(semi);
            }
            const std::string_view trimmed = Trim(record);
            const size_t eq = trimmed.find('=');
            if (eq == std::string_view::npos || eq == 0) {
                continue;
            }
            const std::string key = Upper(Trim(trimmed.substr(0, eq)));
            const std::string value(Trim(trimmed.substr(eq + 1)));

            // Every value is taken as a number first; one whose 15-fold does not
            // fit ends the reading, whatever its key.
            const auto n = SettingsNumber(value);
            if (!n) {
                result.stoppedAtLine = lineNo;
                return result;
            }

            if (StoreProgramValue(program, key, value, *n)) {
                continue;
            }
            if (key == "STYLE" || key == "RECENTSTYLE") {
                if (!hadStyle) {
                    style.CurrentStyle = value;
                }
            } else if (key == "BEGINSTYLE") {
                if (!hadStyle) {
                    result.newStyles.push_back(value);
                }
                if (style.CurrentStyle.empty()) {
                    style.CurrentStyle = value;
                }
                inStyle = Upper(value) == Upper(style.CurrentStyle);
            } else if (inStyle) {
                const StyleKey* styleKey = FindStyleKey(key);
                if (styleKey != nullptr &&
                    StoreKeyValue(*styleKey, style, value, *n, program.AppDir) == StoreResult::kOverflow) {
                    result.stoppedAtLine = lineNo;
                    return result;
                }
            }
        }
    }
    return result;
}

ReadResult ReadSettings(Style& style, ProgramSettings& program) {
    std::string text;
    if (!ReadFile(program.AppDir + std::string(kSettingsName), text)) {
        ResetStyle(style, program);
        ClearProgramTexts(program);
        return {};
    }
    return ReadSettingsText(text, style, program);
}

std::string SaveRecentText(const Style& style, const ProgramSettings& program, const std::string* oldText) {
    std::string out = ProgramKeyLines(program);
    if (oldText == nullptr) {
        return out;
    }
    for (std::string_view line : Lines(*oldText)) {
        const std::string u = Upper(QuotedRecord(Trim(line)));
        if (StartsWith(u, "RECENTSTYLE") || StartsWith(u, "STYLE")) {
            out += KeyLine("", "RecentStyle", style.CurrentStyle);
        } else if (IsProgramKeyLine(u)) {
            continue;
        } else {
            out += line;
        }
        out += kEol;
    }
    return out;
}

bool SaveRecent(const Style& style, const ProgramSettings& program) {
    const std::string path = program.AppDir + std::string(kSettingsName);
    const SettingsLock lock(program.AppDir);
    std::string old;
    const bool hasOld = ReadFile(path, old);
    ProgramSettings merged = program;
    if (hasOld) {
        // The recent lines as the file has them now, another copy's saves
        // included: this copy's files first, then those it does not know,
        // as long as there is room; its engine when it has one, else the
        // file's only when another copy saved that one after this copy read
        // the file (an engine this copy forgot at start-up stays forgotten).
        Style scratch;
        ProgramSettings onFile;
        ReadSettingsText(old, scratch, onFile);
        size_t count = 0;
        while (count < merged.RecentFiles.size() && !merged.RecentFiles[count].empty()) {
            ++count;
        }
        for (const std::string& name : onFile.RecentFiles) {
            const auto known = merged.RecentFiles.begin() + static_cast<std::ptrdiff_t>(count);
            if (count < merged.RecentFiles.size() && !name.empty() &&
                std::find(merged.RecentFiles.begin(), known, name) == known) {
                merged.RecentFiles[count++] = name;
            }
        }
        if (merged.RecentEngine.empty() && Upper(onFile.RecentEngine) != Upper(program.RecentEngineRead)) {
            merged.RecentEngine = onFile.RecentEngine;
        }
        KeepDamagedCopy(program.AppDir, old);
    }
    return ReplaceFile(program.AppDir, path, SaveRecentText(style, merged, hasOld ? &old : nullptr));
}

std::string StyleBlock(Style& s) {
    return KeyLine("", "BeginStyle", s.CurrentStyle) + std::string(kEol) + StyleKeyLines(s) + "EndStyle" +
           std::string(kEol);
}

std::string WriteStyleText(Style& style, const std::string* oldText, StyleWrite& mode) {
    std::string out;
    std::string last;
    auto writeBlock = [&]() {
        if (!last.empty()) {
            out += kEol;
        }
        out += StyleBlock(style);
    };
    if (oldText != nullptr) {
        const std::string name = Upper(style.CurrentStyle);
        bool skip = false;
        for (std::string_view line : Lines(*oldText)) {
            std::string u = Upper(QuotedRecord(line));
            const size_t semi = u.find(';');
            if (semi != std::string::npos && semi > 0) {
                u = std::string(Trim(std::string_view(u).substr(0, semi)));
            }
            const size_t eq = u.find('=');
            if (eq != std::string::npos && eq > 0 && StartsWith(u, "BEGINSTYLE")) {
                const std::string v(Trim(std::string_view(u).substr(eq + 1)));
                if (v == name) {
                    skip = true;
                } else if (v > name) {
                    skip = false;
                    if (mode == StyleWrite::kSave) {
                        writeBlock();
                        mode = StyleWrite::kDelete;
                        out += kEol;
                    }
                } else {
                    skip = false;
                }
            }
            if (!skip) {
                out += line;
                out += kEol;
                last = std::string(Trim(line));
            }
        }
    }
    if (mode == StyleWrite::kSave) {
        writeBlock();
        mode = StyleWrite::kDelete;
    }
    return out;
}

bool WriteStyle(Style& style, const ProgramSettings& program, StyleWrite& mode) {
    const std::string path = program.AppDir + std::string(kSettingsName);
    const SettingsLock lock(program.AppDir);
    std::string old;
    const bool hasOld = ReadFile(path, old);
    if (hasOld) {
        KeepDamagedCopy(program.AppDir, old);
    }
    StyleWrite newMode = mode;
    const std::string text = WriteStyleText(style, hasOld ? &old : nullptr, newMode);
    if (!ReplaceFile(program.AppDir, path, text)) {
        return false;
    }
    mode = newMode;
    return true;
}

void AddRecentFile(ProgramSettings& program, const std::string& name) {
    PushRecent(program.RecentFiles, name);
}

std::string CutName(const std::string& path, int limit) {
    std::string p = path;
    bool cut = false;
    const auto size = [&] { return static_cast<int>(p.size()); };
    while (size() > limit) {
        const size_t sep = p.find_first_of("\\/");
        if (sep == std::string::npos) {
            break;
        }
        p.erase(0, sep + 1);
        cut = true;
    }
    if (size() > limit) {
        p.erase(0, p.size() - static_cast<size_t>(std::max(limit, 0)));
        cut = true;
    }
    if (!cut) {
        return p;
    }
    // Paths from the root of a Linux file system keep just the "/".
    if (!path.empty() && path[0] == '/') {
        return "/.../" + p;
    }
    const char sep = path.find('\\') != std::string::npos ? '\\' : '/';
    return path.substr(0, 3) + "..." + sep + p;
}

std::string RecentCaption(int index, const std::string& name) {
    return "&" + std::to_string(index + 1) + " " + CutName(name, 30);
}

}  // namespace settings
