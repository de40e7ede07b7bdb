#pragma once
// "Pandrel.ini": recent files, recent engine, current style name and the
// named style blocks.

#include <string>
#include <string_view>
#include <vector>

#include "settings/file_io.h"
#include "settings/style.h"

namespace settings {

/// Name of the settings file inside the program folder.
inline constexpr std::string_view kSettingsName = "Pandrel.ini";
/// Start of the names under which a new file is built before it replaces
/// the old (a suffix of its own is added for each write).
inline constexpr std::string_view kTempName = "F0000000.tmp";
/// The lock file beside the settings file: every read-modify-write of the
/// settings file holds an advisory lock (flock) on it.
inline constexpr std::string_view kLockName = "Pandrel.ini.lock";
/// The copy kept of a settings file that could not be read whole, made
/// before the first write over it.
inline constexpr std::string_view kBadCopyName = "Pandrel.ini.bad";
/// Longest line the settings reader takes as text.
inline constexpr size_t kMaxSettingsLine = 64 * 1024;

/// Splits one physical line into records the way comma-separated input is
/// read: a comma outside double quotes ends a record; a record that begins
/// with a double quote runs to the next one and loses both quotes.
std::vector<std::string> SplitRecords(std::string_view line);

/// What one reading of the settings file did.
struct ReadResult {
    bool found = false;     ///< The file could be opened.
    int stoppedAtLine = 0;  ///< 1-based line that ended the reading early, or 0.
    int damagedLine = 0;    ///< First line skipped as not text (binary, too long, bad UTF-8), or 0.
    std::vector<std::string> newStyles;  ///< Block names for the style list (first reading only).
};

/// Fills the style record of `CurrentStyle` (or, when that is empty, of the
/// style the file names, else of its first block) and the program-wide
/// settings from AppDir + "Pandrel.ini". A value too large for its field ends
/// the reading at that line; earlier lines stay applied.
ReadResult ReadSettings(Style& style, ProgramSettings& program);

/// Same, from text already in memory (used by the reader and by tests).
ReadResult ReadSettingsText(std::string_view text, Style& style, ProgramSettings& program);

/// Rewrites the recent lines (files oldest first, engine) at the top of the
/// settings file and the current style name in place. Under the settings
/// lock the file is read again, and what another copy saved there meanwhile
/// stays: its recent files fill the places this copy's files leave, and its
/// engine line stands when this copy has none. Returns false when the new
/// file could not be written; the old file then stays as it was.
bool SaveRecent(const Style& style, const ProgramSettings& program);

/// The text SaveRecent writes, given the old file's text (nullptr when none).
std::string SaveRecentText(const Style& style, const ProgramSettings& program, const std::string* oldText);

/// What WriteStyle does with the block named `CurrentStyle`: the old block of
/// that name always goes; kSave writes the style's block in its place.
enum class StyleWrite : int {
    kDelete = 0,  ///< Only removes the block (and what a save leaves once written).
    kSave = 1,    ///< Writes the block, replacing the old one.
};

/// Saves or deletes the block named `CurrentStyle`, on the file as it is
/// under the settings lock. Blocks keep ascending order of their upper-cased
/// names. On return mode is kDelete when the block was written. Returns false
/// when the file could not be written (mode is then left as it was).
bool WriteStyle(Style& style, const ProgramSettings& program, StyleWrite& mode);

/// The text WriteStyle writes, given the old file's text (nullptr when none).
std::string WriteStyleText(Style& style, const std::string* oldText, StyleWrite& mode);

/// The lines of one style block as WriteStyle writes them, CR LF ended.
std::string StyleBlock(Style& style);

/// Puts a file name at the top of the recent files; an entry already there
/// moves up, otherwise the oldest drops out.
void AddRecentFile(ProgramSettings& program, const std::string& name);

/// Shortens a path for display to about limit characters, keeping its first
/// three characters and its last folders: "C:\...\OPENINGS\NAJDORF.PGN".
std::string CutName(const std::string& path, int limit);

/// Caption of recent-file menu item i (0..3): "&1 " and the shortened name.
std::string RecentCaption(int index, const std::string& name);

/// True for a line the settings reader takes: at most kMaxSettingsLine
/// bytes of valid UTF-8 without control characters other than the tab.
bool IsTextLine(std::string_view line);

/// The first line (from 1) of text that is not a text line, or 0.
int FirstDamagedLine(std::string_view text);

}  // namespace settings
