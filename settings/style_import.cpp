#include "settings/style_import.h"

#include <cstdint>
#include <filesystem>

#include "settings/settings_file.h"
#include "settings/settings_keys.h"
#include "settings/style_fields.h"

namespace settings {

namespace {

namespace fs = std::filesystem;

// The style file lying in the program folder names the very files the copy
// would write; copying a file onto itself would fail or truncate it.
bool SameFile(const std::string& a, const std::string& b) {
    if (a == b) {
        return true;
    }
    std::error_code ec;
    return fs::equivalent(fs::path(a), fs::path(b), ec) && !ec;
}

// A bitmap name the import may copy: one file name, no folder part, nothing
// that climbs out of a folder, and none of the program's own files.
bool IsCopyableName(const std::string& name) {
    if (name.empty() || name == "." || name == ".." || !IsBareName(name)) {
        return false;
    }
    for (const char ch : name) {
        if (static_cast<unsigned char>(ch) < 0x20) {
            return false;
        }
    }
    const std::string upper = Upper(name);
    const std::string settingsName = Upper(kSettingsName);
    return upper != settingsName && upper.rfind(settingsName + ".", 0) != 0 && upper != Upper(kTempName);
}

// The file a plain name stands for in the style file's folder, or "" when
// there is none. A link is followed only as far as the same folder: a style
// file must not hand out files from elsewhere on the disk.
std::string SourceIn(const std::string& folder, const std::string& name) {
    std::error_code ec;
    const fs::path base = fs::canonical(fs::path(folder.empty() ? "." : folder), ec);
    if (ec) {
        return {};
    }
    const fs::path real = fs::canonical(base / name, ec);
    if (ec || real.parent_path() != base || !fs::is_regular_file(real, ec)) {
        return {};
    }
    return real.string();
}

// Writes a new file beside the target and renames it over the target: the
// rename replaces a link standing at the target instead of writing through
// it, so nothing outside the program folder is touched.
bool CopyOver(const std::string& folder, const std::string& name, const std::string& appDir) {
    const std::string source = SourceIn(folder, name);
    std::string data;
    return !source.empty() && ReadFile(source, data) && ReplaceFile(appDir, appDir + name, data);
}

class Import {
  public:
    Import(const std::string& path, Style& style, const ProgramSettings& program, ImportHost& host)
        : m_path(path), m_folder(ImportFolder(path)), m_style(style), m_program(program), m_host(host) {}

    ImportResult Run() {
        std::string text;
        if (!ReadFile(m_path, text)) {
            return Fail("Error reading " + m_path);
        }
        bool inBlock = false;
        size_t start = 0;
        while (start < text.size() && !m_stop) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos) {
                end = text.size();
            }
            std::string_view line(text.data() + start, end - start);
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            start = end + 1;
            for (const std::string& field : SplitRecords(line)) {
                if (m_stop || m_failed) {
                    break;
                }
                if (!Field(field, inBlock)) {
                    return Fail("Error reading " + m_path);
                }
            }
            if (m_failed) {
                return m_result;
            }
        }
        m_host.Status(kImportOk);
        return m_result;
    }

  private:
    // One field of the file; false when it cannot be read into the record.
    bool Field(std::string field, bool& inBlock) {
        const size_t semi = field.find(';');
        if (semi != std::string::npos && semi > 0) {
            field.resize(semi);
        }
        const std::string_view trimmed = Trim(field);
        std::string key;
        std::string value;
        const size_t eq = trimmed.find('=');
        if (eq != std::string_view::npos && eq > 0) {
            key = Upper(Trim(trimmed.substr(0, eq)));
            value = std::string(Trim(trimmed.substr(eq + 1)));
            if (!SettingsNumber(value)) {
                return false;
            }
        } else {
            key = Upper(trimmed);
        }

        if (key == "BEGINSTYLE") {
            m_host.Status("Style " + value);
            ProgramSettings scratch = m_program;  // keeps the dictionary in force
            ResetStyle(m_style, scratch);
            m_style.CurrentStyle = value;
            inBlock = true;
        } else if (key == "ENDSTYLE") {
            if (inBlock) {
                inBlock = false;
                FinishBlock();
            }
        } else if (inBlock) {
            // Bitmap names stay as written: they name files in the style
            // file's folder, and once copied, files in the program folder.
            if (StoreStyleValue(m_style, key, value, std::string()) == StoreResult::kOverflow) {
                return false;
            }
        }
        return true;
    }

    void FinishBlock() {
        const std::string& name = m_style.CurrentStyle;
        const std::string& pieces = m_style.PIECESFILE;
        const std::string& border = m_style.BORDERFILE;
        ImportAnswer answer;
        if (!IsSavableStyleName(name)) {
            answer = ImportAnswer::kNo;
        } else if (!(pieces.empty() && m_style.IsFontStyle()) &&
                   (!IsCopyableName(pieces) || SourceIn(m_folder, pieces).empty())) {
            // A font style draws its men and needs no pieces bitmap.
            answer = m_host.Ask("PiecesFile " + m_folder + pieces + " not found!", ImportButtons::kOkCancel);
        } else if (!border.empty() && (!IsCopyableName(border) || SourceIn(m_folder, border).empty())) {
            answer = m_host.Ask("BorderFile " + m_folder + border + " not found!", ImportButtons::kOkCancel);
        } else if (m_host.HasStyle(name)) {
            answer = m_host.Ask(ReplaceQuestion(name), ImportButtons::kYesNoCancel);
        } else {
            m_host.AddStyle(name);
            answer = ImportAnswer::kYes;
        }

        if (answer == ImportAnswer::kCancel) {
            m_stop = true;
            return;
        }
        if (answer != ImportAnswer::kYes) {
            return;
        }
        // A style file in the program folder names the very files a copy
        // would write: nothing is copied then.
        const std::string& first = pieces.empty() ? border : pieces;
        if (!first.empty() && !SameFile(m_folder + first, m_program.AppDir + first)) {
            if (!pieces.empty() && !Copy(pieces)) {
                return;
            }
            if (!border.empty() && !Copy(border)) {
                return;
            }
        }
        StyleWrite mode = StyleWrite::kSave;
        if (!WriteStyle(m_style, m_program, mode)) {
            Fail("Error writing " + m_program.AppDir + std::string(kSettingsName));
            return;
        }
        ++m_result.saved;
    }

    // One bitmap copy; false when the user ends the import after a failure.
    bool Copy(const std::string& name) {
        if (CopyOver(m_folder, name, m_program.AppDir)) {
            return true;
        }
        const ImportAnswer answer =
            m_host.Ask("Error on copy:\r\nfrom " + m_folder + name + "\r\nto " + m_program.AppDir + name,
                       ImportButtons::kOkCancel);
        if (answer == ImportAnswer::kCancel) {
            Fail({});
            return false;
        }
        return true;
    }

    // Ends the import after an error, with its message (if any).
    ImportResult Fail(const std::string& message) {
        if (!message.empty()) {
            m_host.Ask(message, ImportButtons::kOk);
        }
        m_failed = true;
        m_result.failed = true;
        m_host.Status(kImportFailed);
        return m_result;
    }

    const std::string m_path;
    const std::string m_folder;
    Style& m_style;
    const ProgramSettings& m_program;
    ImportHost& m_host;
    ImportResult m_result;
    bool m_stop = false;
    bool m_failed = false;
};

}  // namespace

std::string ImportFolder(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

ImportResult ImportStyles(const std::string& path, Style& style, const ProgramSettings& program,
                          ImportHost& host) {
    return Import(path, style, program, host).Run();
}

}  // namespace settings
