#pragma once
// The program folder and the names of this copy's working files.

#include <functional>
#include <string>

namespace settings {

/// What choosing the program folder looks at; FromEnvironment() fills it for
/// this process.
struct AppDirInput {
    std::string exeDir;       ///< Folder of the executable.
    std::string xdgDataHome;  ///< $XDG_DATA_HOME, "" when unset.
    std::string home;         ///< $HOME, or the password database's home without it; "" for none.
    /// Whether the program may write into a folder; access(W_OK) when empty.
    std::function<bool(const std::string&)> writable;

    static AppDirInput FromEnvironment(const std::string& exeDir);
};

/// The folder of shipped data (ending in "/") when exeDir is the bin/ folder
/// of an installed copy, i.e. a "bin" folder beside "../share/pandrel/";
/// "" for every other copy.
std::string InstalledDataDir(const std::string& exeDir);

/// The user's own folder: $XDG_DATA_HOME/Pandrel/ when that is an absolute
/// path, else home/.local/share/Pandrel/; "" when home is not an absolute
/// path either.
std::string UserDataDir(const std::string& xdgDataHome, const std::string& home);

/// Files a new user folder is given from the shipped data.
inline constexpr const char* kSeededFiles[] = {"Pandrel.ini", "Py.dat"};

/// The program folder, ending in "/". An installed copy never writes beside
/// its executable: it uses UserDataDir, created when missing, and copies the
/// shipped Pandrel.ini and Py.dat into it when it has none. Any other copy
/// uses its own folder when writable (portable use), else UserDataDir seeded
/// from its own folder. A folder other users could change is never used
/// (platform::IsSafeFolderPath); "" when no folder can be had, the reason in
/// *why (no home folder, an unsafe or uncreatable data folder).
std::string ResolveAppDir(const AppDirInput& input, std::string* why = nullptr);

/// ResolveAppDir for this process's environment.
std::string ResolveAppDir(const std::string& exeDir, std::string* why = nullptr);

/// Where the manual of a copy lies: share/doc/pandrel/pandrel.html when
/// installed, else pandrel.html beside the executable.
std::string ManualPath(const std::string& exeDir);

/// "F" and six digits from the hundredths of a second since midnight; names
/// this copy's book work file.
std::string MakeWorkName(long hundredthsSinceMidnight);

/// Hundredths of a second since local midnight, now.
long HundredthsSinceMidnight();

/// A file name as the program takes it: a bare name (no "/", "\" or ":")
/// lies in the program folder; anything else is used as written.
std::string InAppDir(const std::string& appDir, const std::string& name);

}  // namespace settings
