#pragma once
// File operations the engine windows need on the outside programs' files.
// None of them throws; failures come back as results.

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace engines {

/// True when path names an existing file (not a folder).
bool FileExists(const std::string& path);

/// True when path names an existing file longer than 0 bytes.
bool HasContent(const std::string& path);

/// Deletes the file at path. False when it is still there afterwards.
bool RemoveFile(const std::string& path);

/// The whole content of a file; nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

/// Creates or replaces a file with text: written under a new name of its
/// own in the same folder and renamed over path, so that a file or link
/// found at path is replaced, never written through. False when it could
/// not be written completely.
bool WriteWholeFile(const std::string& path, std::string_view text);

/// appDir when outside programs may be started from it: a folder of this
/// user that no one else may write into (platform::IsPrivateFolder); ""
/// otherwise, and the programs are then looked for elsewhere only.
std::string EngineFolder(const std::string& appDir);

/// The full path of the file in folder whose name equals one of names,
/// without regard to case; the names are tried in order and a name spelt
/// exactly wins over another spelling. "" when none is there.
std::string FindInFolder(const std::string& folder, std::initializer_list<std::string_view> names);

/// text with every CR and LF replaced by a blank: a value that goes into one
/// line of a command file cannot add lines of its own.
std::string OneLine(std::string_view text);

/// folder joined with a bare file name.
std::string InFolder(const std::string& folder, std::string_view name);

}  // namespace engines
