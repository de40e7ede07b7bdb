#include "settings/style_import.h"

#include <cstdint>
#include <filesystem>

#include "settings/settings_file.h"
#include "settings/style_fields.h"

namespace settings {

namespace {

namespace fs = std::filesystem;

bool IsFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(fs::path(path), ec);
}

// The style file lying in the program folder names the very files the copy
// would write; copying a file onto itself would fail or truncate it.
bool SameFile(const std::string& a, const std::string& b) {
    if (a == b) {
        return true;
    }
    std::error_code ec;
    return fs::equivalent(fs::path(a), fs::path(b), ec) && !ec;
}

bool CopyOver(const std::string& source, const std::string& target) {
    std::error_code ec;
    return fs::copy_file(fs::path(source), fs::path(target), fs::copy_options::overwrite_existing, ec) && !ec;
}

// True when the number of a value, and its 15-fold, fit the reader's integers.
bool NumberFits(std::string_view value) {
    const auto val = Val(value);
    const auto n = val ? RoundHalfEven(*val) : std::nullopt;
    if (!n) {
        return false;
    }
    const int64_t twips = static_cast<int64_t>(*n) * 15;
    return twips >= INT32_MIN && twips <= INT32_MAX;
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
            for (std::string field : SplitRecords(line)) {
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
            if (!NumberFits(value)) {
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
        } else if (!(pieces.empty() && m_style.IsFontStyle()) && !InFolder(pieces)) {
            // A font style draws its men and needs no pieces bitmap.
            answer = m_host.Ask("PiecesFile " + m_folder + pieces + " not found!", ImportButtons::kOkCancel);
        } else if (!border.empty() && !InFolder(border)) {
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
        const std::string source = m_folder + (pieces.empty() ? border : pieces);
        const std::string target = m_program.AppDir + (pieces.empty() ? border : pieces);
        if (!(pieces.empty() && border.empty()) && !SameFile(source, target)) {
            if (!pieces.empty() && !Copy(source, target)) {
                return;
            }
            if (!border.empty() && !Copy(m_folder + border, m_program.AppDir + border)) {
                return;
            }
        }
        int mode = 1;
        if (!WriteStyle(m_style, m_program, mode)) {
            Fail("Error writing " + m_program.AppDir + std::string(kSettingsName));
            return;
        }
        ++m_result.saved;
    }

    // True when name is a file of the import folder itself. A name with a
    // folder part ("../x.bmp", "/etc/x") is not: copied to the same name in
    // the program folder it would land outside that folder.
    bool InFolder(const std::string& name) const {
        return !name.empty() && IsBareName(name) && name != "." && name != ".." && IsFile(m_folder + name);
    }

    // One bitmap copy; false when the user ends the import after a failure.
    bool Copy(const std::string& source, const std::string& target) {
        if (CopyOver(source, target)) {
            return true;
        }
        const ImportAnswer answer =
            m_host.Ask("Error on copy:\r\nfrom " + source + "\r\nto " + target, ImportButtons::kOkCancel);
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
