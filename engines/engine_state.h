#pragma once
// State of the outside solver and engine, kept in the program block.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "settings/style.h"

namespace engines {

/// Number of input fields of the Popeye window.
inline constexpr int kPopeyeFieldCount = 11;

/// Indices of the Popeye fields.
enum PopeyeField : int {
    kStipulation = 0,
    kMoves = 1,
    kConditions = 2,
    kOptions = 3,
    kTwins = 4,
    kZeroPosition = 5,
    kWhitePieces = 6,
    kBlackPieces = 7,
    kNeutralPieces = 8,
    kCommand = 9,
    kMaxmem = 10,
};

/// Which outside programs were found at start-up, and what the engine
/// windows keep while they are hidden.
struct EngineState {
    bool popeyeFound = false;
    bool craftyFound = false;
    /// Full paths of the programs found in the program folder ("" if none).
    std::string popeyeProgram;
    std::string craftyProgram;
    /// Whether the toolbar's engine button (Image4(8)) is shown. Its click
    /// runs the engine of RecentEngine (engines::ui::RunRecentEngine).
    bool engineButton = false;

    /// The Popeye window's field texts, trimmed, by PopeyeField index.
    std::array<std::string, kPopeyeFieldCount> PopeyeFields;
    /// Pick-list items of the Popeye fields, read from "Py.dat".
    std::array<std::vector<std::string>, kPopeyeFieldCount> pickLists;
    /// The dictionary lines of "Py.dat" joined, ended by "&&"; "" when
    /// Popeye was not found.
    std::string PyDictionaryBase;

    /// Three digits: the log file of the current Crafty analysis.
    std::string CraftyLogNumber;
};

/// The base dictionary without the entries for letters that own names,
/// followed by own (engines/popeye_names.h).
std::string MergeDictionaries(std::string_view base, std::string_view own);

/// The Popeye dictionary in force: the base dictionary of "Py.dat"
/// (PyDictionaryBase, "" while Popeye is not found) in front of the style's
/// own entries (PYDICTIONARY); for the letters the style names, its own
/// entries are the ones in force.
inline std::string PyDictionaryText(const EngineState& engines, const settings::Style& style) {
    return MergeDictionaries(engines.PyDictionaryBase, style.PYDICTIONARY);
}

}  // namespace engines
