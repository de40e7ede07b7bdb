#pragma once
// Style import: merges the named styles of a style file ("*.sty", the block
// syntax of the settings file) into the settings file, and copies the
// bitmaps they name from the style file's folder into the program folder.

#include <string>

#include "settings/style.h"

namespace settings {

/// Buttons of a question the import asks.
enum class ImportButtons { kOk, kOkCancel, kYesNoCancel };
/// The user's answer.
enum class ImportAnswer { kOk, kCancel, kYes, kNo };

/// What the import needs from the window that runs it.
class ImportHost {
  public:
    virtual ~ImportHost() = default;
    /// Shows text in the status line at once.
    virtual void Status(const std::string& text) = 0;
    /// True when the style list holds name (compared in upper case).
    virtual bool HasStyle(const std::string& name) = 0;
    /// Adds name at the end of the style lists.
    virtual void AddStyle(const std::string& name) = 0;
    /// Asks in a warning box and returns the button chosen.
    virtual ImportAnswer Ask(const std::string& text, ImportButtons buttons) = 0;
};

/// How an import ended.
struct ImportResult {
    int saved = 0;        ///< Styles written to the settings file.
    bool failed = false;  ///< Ended by an error (the status line does not say OK).
};

/// The status line after an import that ran to its end or was cancelled.
inline constexpr const char* kImportOk = "Import OK!";
/// The status line after an import that an error ended.
inline constexpr const char* kImportFailed = "Import failed!";

/// The folder part of a style file's path, up to and including its last
/// "/"; "" when it has none.
std::string ImportFolder(const std::string& path);

/// Reads the style file at path block by block into `style` (reset at every
/// BeginStyle; afterwards it holds the last block read) and saves each
/// complete block whose pieces file (and border file, if any) lies in the
/// style file's folder, after copying those bitmaps into the program folder.
/// Blocks named "" or "CUSTOM" are skipped silently; a name already listed is
/// replaced only when the user says Yes; Cancel ends the import. The Popeye
/// dictionary in force is left alone.
ImportResult ImportStyles(const std::string& path, Style& style, const ProgramSettings& program,
                          ImportHost& host);

}  // namespace settings
