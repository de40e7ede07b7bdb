#pragma once
// What the Popeye window writes must be what the solver reads: templates the
// user still has to complete, twins in the order the solver expects, and the
// piece-name dictionary in force.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "engines/engine_state.h"

namespace engines {

/// The first placeholder in text: "<", lower-case letters (and blanks or
/// digits after the first letter), ">", for example "<square>". "" when there
/// is none. Pick-list templates carry them where the user's squares or men
/// go; "a1<-->h1" and "h<>3" hold none.
std::string FindPlaceholder(std::string_view text);

/// A placeholder and the field that holds it.
struct PlaceholderAt {
    int field = -1;  ///< -1 when no field holds one
    std::string text;
};

/// The first placeholder of the fields, in field order.
PlaceholderAt FirstPlaceholder(const std::array<std::string, kPopeyeFieldCount>& fields);

/// The warning for the first field that still holds a placeholder, naming
/// the placeholder and the field; "" when none does.
std::string PlaceholderWarning(const std::array<std::string, kPopeyeFieldCount>& fields);

/// Whether the stipulation already ends in its number of moves ("#2",
/// "ser-h#2.5"), so that the Moves field may stay empty.
bool StipulationHasMoves(std::string_view stipulation);

/// Mirror squares as the solver reads them: it takes a1<-->h1, a1<-->a8,
/// a1<-->h8 and a8<-->h1, and refuses the same mirrors written the other way
/// round, which are turned here.
std::string SolverMirrors(std::string_view text);

/// Conditions as the solver reads them: names it does not know, which older
/// data files and habit offer ("Patrol", "Monochrome", "Rex Inclusive",
/// "Black Maximummer" ...), in any case, are replaced by its own names.
/// Anything else is kept as written.
std::string SolverConditions(std::string_view text);

/// The same for options ("ShortSolutions").
std::string SolverOptions(std::string_view text);

/// The texts of the "Twin " lines for the Twins field. The word "Twin"
/// separates several twins; in each, "Continued" (or an abbreviation of at
/// least four letters) is put first, where the solver looks for it; mirrors
/// as SolverMirrors. Empty twins are left out.
std::vector<std::string> TwinLines(std::string_view twins);

/// The dictionary in force: base (the data file's entries, ended by "&&")
/// without the entries for letters that own names, followed by own (the
/// style's entries), so that a style's names win for its letters. Nothing
/// else of base changes.
std::string MergeDictionaries(std::string_view base, std::string_view own);

}  // namespace engines
