#pragma once
// Finding the outside solver and engine in the program folder at start-up,
// Popeye's data file, and the position handed to Crafty.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "engines/engine_state.h"

namespace engines {

/// Names under which the programs and the data file are looked for in the
/// program folder, without regard to case, in this order.
inline constexpr std::string_view kPopeyeNames[] = {"Py.exe", "py", "popeye"};
/// Names under which the solver is looked for on the search path.
inline constexpr std::string_view kPopeyePathNames[] = {"py", "popeye"};
inline constexpr std::string_view kCraftyNames[] = {"Crafty.exe", "crafty"};
inline constexpr std::string_view kPyDatName = "Py.dat";

/// What "Py.dat" gives: pick-list items by field and the dictionary text.
struct PyData {
    std::array<std::vector<std::string>, kPopeyeFieldCount> pickLists;
    /// Dictionary lines (number 90) joined, always ended by "&&".
    std::string dictionary;
};

/// Reads the lines of a "Py.dat" text. Each used line starts with a two-
/// character number: 0 to 10 add the rest of the line to that field's pick
/// list, 90 appends it to the dictionary, other numbers are ignored. Empty
/// lines and lines starting with ";" are skipped; a used line shorter than
/// two characters ends the reading.
PyData ParsePyDat(std::string_view text);

/// ParsePyDat of the file at path; a file that cannot be read gives empty
/// pick lists and the dictionary "&&".
PyData ReadPyDat(const std::string& path);

/// Looks for Popeye in appDir (only when EngineFolder allows it), then as
/// "py" or "popeye" in the folders of
/// pathText (the search path). A remembered engine other than Popeye or
/// Crafty is forgotten. When Popeye is missing: a remembered "Popeye" falls
/// back to "Crafty" and the state says not found. When present: the engine
/// button shows, an empty recentEngine becomes "Popeye", and the pick lists
/// and dictionary base are read from "Py.dat" in appDir.
/// shippedDir is where the program's own "Py.dat" lies, used when appDir has none.
void FindPopeye(EngineState& state, std::string& recentEngine, const std::string& appDir,
                std::string_view pathText = {}, const std::string& shippedDir = {});

/// The Engines menu's note on Popeye (tooltip and status text): the program
/// found, or where it was looked for and how to install it.
std::string PopeyeNote(const EngineState& state, const std::string& appDir);

/// The same for Crafty, which is looked for in the program folder only.
std::string CraftyNote(const EngineState& state, const std::string& appDir);

/// The "Py.dat" in force: the one in appDir, else the one shipped in
/// shippedDir; "" when neither is there.
std::string PyDatPath(const std::string& appDir, const std::string& shippedDir);

/// Looks for Crafty in appDir, only when EngineFolder allows it. When it is
/// missing: a remembered "Crafty" is
/// forgotten and the state says not found. When present: the engine button
/// shows, an empty recentEngine becomes "Crafty", and unless another copy of
/// the program already runs, old log and game files are removed.
void FindCrafty(EngineState& state, std::string& recentEngine, const std::string& appDir,
                bool anotherCopyRunning);

/// Removes the Crafty logs of earlier runs: for every "log.*" in appDir, the
/// last three characters N of its name name the pair "log.N" and "game.N",
/// which are deleted. Files that cannot be deleted are left. Returns the
/// names removed.
std::vector<std::string> RemoveOldCraftyLogs(const std::string& appDir);

/// The FEN text with every letter of piecesList replaced by the letter at the
/// same place in english (first occurrence counts); other characters, and
/// letters without an English counterpart, are kept.
std::string CraftyFen(std::string_view fen, std::string_view piecesList, std::string_view english);

}  // namespace engines
