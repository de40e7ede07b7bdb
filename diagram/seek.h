#pragma once
// The rules of the file selection window: what each purpose shows on entry,
// which filter it starts with (remembered from the previous use), and how a
// typed name becomes a full path on confirmation.

#include <optional>
#include <string>
#include <vector>

namespace diagram {

/// Purposes a caller hands the file selection window.
enum SeekPurposes : int {
    kSeekSaveImageAs = 0,     ///< Save Image As.
    kSeekOpenBook = 1,        ///< Open Book; also the "confirmed" result of every purpose.
    kSeekLoadBoard = 2,       ///< Style editor: border bitmap.
    kSeekLoadPieces = 3,      ///< Style editor: pieces bitmap.
    kSeekImportStyles = 4,    ///< Style import.
    kSeekExportDiagrams = 5,  ///< Export Book Diagrams: a folder, the format by the filter.
    kSeekBookSheet = 6,       ///< Print Book Sheet: the PDF file.
    kSeekExportLatex = 7,     ///< Export LaTeX: the .tex file.
    kSeekPopeyeInput = 8      ///< Save as Popeye Input: the .inp file.
};

/// The value the window leaves in SeekPurpose when the user confirms.
inline constexpr int kSeekConfirmed = 1;

/// Filter text the window shows before its first use.
inline constexpr const char* kSeekInitialFilter = "*.bmp";

/// What the window shows on entry for one purpose.
struct SeekSetup {
    std::string caption;               ///< Window title.
    std::vector<std::string> filters;  ///< The filter box's list, in order.
    std::string filter;                ///< The filter box's text.
    std::string fileName;              ///< The file name box's text.
    int purpose = 0;                   ///< SeekPurpose while the window is up.
};

/// The entry set-up for `purpose`, given the filter text of the previous use.
/// Open Book starts with SeekPurpose 0 so that only a confirmation gives 1.
/// No value for a purpose the window does not know.
std::optional<SeekSetup> SeekSetupFor(int purpose, const std::string& previousFilter);

/// True when a name names its folder itself ("/", "\" or ":" in it).
bool HasFolderPart(const std::string& name);

/// A typed name with the filter's ending appended when the name has no "."
/// and the filter has one after its first character ("*.bmp" gives ".bmp").
/// An ending with wildcards in it ("*.*") is not a file ending and is not
/// appended.
std::string CompleteExtension(const std::string& name, const std::string& filter);

/// The name with the listed folder in front (one "/" between them) unless
/// it names its folder itself.
std::string CompletePath(const std::string& name, const std::string& folder);

/// The full path the window hands back for a typed name, or no value when
/// the name is empty (the window then stays open).
std::optional<std::string> ConfirmedPath(const std::string& name, const std::string& filter,
                                         const std::string& folder);

/// The patterns of a filter text for the file list ("*.bmp;*.gif" gives two);
/// blanks around each are dropped, and an empty filter lists everything.
std::vector<std::string> FilterPatterns(const std::string& filter);

}  // namespace diagram
