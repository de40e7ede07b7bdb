#pragma once
// The keys of the settings file, one table for the style blocks and one for
// the program-wide lines: the reader, the writers and the style import all
// work from them, so a new key is added in one place.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "settings/style.h"

namespace settings {

/// How a key's value is read into its field and written back.
enum class KeyKind {
    kNumber,     ///< A whole number (16-bit), written " 8 ".
    kPixels,     ///< A length held in twips, written in whole pixels: " 20 ".
    kColor,      ///< 0x00BBGGRR, written "&HFF"; a negative number read counts up from 65536.
    kYesNo,      ///< A flag of 1 or 0: "Yes" in any case sets it, any other value leaves it.
    kText,       ///< The text as it stands.
    kUpperText,  ///< The text, upper-cased when read.
    kFileName,   ///< A file name; a bare one is read as a file in the program folder.
};

/// When the writer puts a key's line in a style block.
enum class WrittenWhen {
    kAlways,
    kNotEmpty,           ///< Text that is not empty.
    kPositive,           ///< A number above 0.
    kNotDefault,         ///< A value other than the key's default.
    kNotSame,            ///< A value other than that of the field `same` (a pitch and its square).
    kNotComputedWidth,   ///< A width other than the picture's computed one.
    kNotComputedHeight,  ///< A height other than the picture's computed one.
};

/// One key of a style block. Exactly one of text, field16 and field32 is set.
struct StyleKey {
    const char* name;  ///< As the writer spells it ("SqrWidth"); read in any case.
    KeyKind kind;
    WrittenWhen when;
    /// The key whose line must have been written for this one to be
    /// ("ShowGrid" for the lettering keys), or nullptr.
    const char* under = nullptr;
    /// Indentation level of the line: 1 in the block, 2 below ShowGrid.
    int depth = 1;
    std::string Style::*text = nullptr;
    int16_t Style::*field16 = nullptr;
    int32_t Style::*field32 = nullptr;
    /// The field's value in a reset style (numbers, and text in textDefault).
    int32_t numberDefault = 0;
    std::string_view textDefault = {};
    /// For kNotSame: the field whose value leaves this key unwritten.
    int16_t Style::*same = nullptr;
};

/// Every key of a style block, in the order the writer puts them.
std::span<const StyleKey> StyleKeys();

/// The style key of that name in any case, or nullptr.
const StyleKey* FindStyleKey(std::string_view name);

/// The whole number a settings value reads as (see Val, rounded halves to
/// even), or none when it or its 15-fold does not fit 32 bits. The reader
/// takes every value as a number first, whatever its key.
std::optional<int32_t> SettingsNumber(std::string_view value);

/// Stores a value under its key. `number` is SettingsNumber(value). kOverflow
/// when the number does not fit the field; bare file names are taken in
/// appDir ("" leaves them as written).
StoreResult StoreKeyValue(const StyleKey& key, Style& style, std::string_view value, int32_t number,
                          const std::string& appDir);

/// The lines between "BeginStyle" and "EndStyle" for a style, CR LF ended.
/// The picture size is compared with ComputedPictureSize, which may set an
/// oversized board back to 8 x 8 (after its own lines are written).
std::string StyleKeyLines(Style& style);

/// One "key = value" line after indent; a value with a comma (and no quote)
/// is written as one quoted record so that the reader takes it whole.
std::string KeyLine(std::string_view indent, std::string_view key, const std::string& value);

/// How a program-wide key is kept.
enum class ProgramKeyKind {
    kRecentFile,   ///< One of the recent files: each line read moves its name to the top.
    kText,         ///< A text, written when not empty, emptied before a reading.
    kWindowPlace,  ///< A screen coordinate; reading either marks the window position as kept.
};

/// One program-wide key.
struct ProgramKey {
    const char* name;  ///< As the writer spells it ("UciEngine"); read in any case.
    ProgramKeyKind kind;
    std::string ProgramSettings::*text = nullptr;
    int ProgramSettings::*number = nullptr;
    /// A second field that keeps the text as read (RecentEngineRead), or nullptr.
    std::string ProgramSettings::*asRead = nullptr;
};

/// Every program-wide key, in the order the writer puts them at the top of the file.
std::span<const ProgramKey> ProgramKeys();

/// Empties the program-wide texts before a reading (the recent files and
/// the window position stay).
void ClearProgramTexts(ProgramSettings& program);

/// Stores a value under an upper-cased program-wide key; false when the key
/// is none of them. `number` is SettingsNumber(value).
bool StoreProgramValue(ProgramSettings& program, std::string_view key, const std::string& value,
                       int32_t number);

/// The program-wide lines, CR LF ended: recent files oldest first, then the rest.
std::string ProgramKeyLines(const ProgramSettings& program);

/// True when an upper-cased line begins with a program-wide key (the lines
/// the writer replaces).
bool IsProgramKeyLine(std::string_view upperLine);

}  // namespace settings
