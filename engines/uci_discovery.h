#pragma once
// Where UCI engines are looked for: the program folder, the folders of the
// search path, and /usr/games, where the distribution puts chess engines
// (often not on the search path of the administrator).

#include <string>
#include <string_view>
#include <vector>

namespace engines {

/// Names a UCI engine is known by, in order of preference.
inline constexpr std::string_view kUciEngineNames[] = {"stockfish", "fairy-stockfish"};
/// Folder searched after the search path.
inline constexpr std::string_view kGamesFolder = "/usr/games";

/// The folders of a search-path text ("a:b:c"); an empty entry is the
/// current folder.
std::vector<std::string> PathFolders(std::string_view pathText);

/// True when path names an executable file.
bool IsExecutableFile(const std::string& path);

/// The engines found, best first and each once: the configured one (the
/// UCIENGINE setting, a path or a name searched like the others), then each
/// known name in the program folder (when EngineFolder allows it), on the
/// search path and in /usr/games.
std::vector<std::string> FindUciEngines(const std::string& appDir, std::string_view pathText,
                                        const std::string& configured);

/// The engine a user names: a text with "/" is a path; a bare name is
/// looked for in the program folder (when EngineFolder allows it), on the
/// search path and in /usr/games.
/// "" when there is no such executable.
std::string ResolveUciEngine(const std::string& name, const std::string& appDir, std::string_view pathText);

}  // namespace engines
