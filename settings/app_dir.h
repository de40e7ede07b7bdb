#pragma once
// The program folder and the names of this copy's working files.

#include <string>

namespace settings {

/// The program folder: the executable's folder when it is writable, else
/// ~/.local/share/Pandrel/ (created when missing). Always ends in "/".
std::string ResolveAppDir(const std::string& exeDir);

/// "F" and six digits from the hundredths of a second since midnight; names
/// this copy's book work file.
std::string MakeWorkName(long hundredthsSinceMidnight);

/// Hundredths of a second since local midnight, now.
long HundredthsSinceMidnight();

/// A file name as the program takes it: a bare name (no "/", "\" or ":")
/// lies in the program folder; anything else is used as written.
std::string InAppDir(const std::string& appDir, const std::string& name);

}  // namespace settings
