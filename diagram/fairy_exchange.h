#pragma once
// Positions in the fairy notations to and from the board of a style: a text
// comes in as the FEN box's placement, in a copy of the style (named
// "CUSTOM") when the style needs another board size or letters it lacks;
// the board goes out as text in any of the notations.

#include <optional>
#include <string>
#include <string_view>

#include "position/fairy_board.h"
#include "position/fairy_style.h"
#include "position/vet.h"
#include "settings/style.h"

namespace diagram {

/// Name of the style a text that needs other letters or another board size
/// is shown in.
inline constexpr const char* kImportStyle = "CUSTOM";

/// A fairy text put on the board of a style.
struct FairyImport {
    std::string placement;          ///< For the FEN box, in the letters of style.
    settings::Style style;          ///< The style to show it in.
    bool styleChanged = false;      ///< style is a copy named kImportStyle.
    position::Notation notation{};  ///< The notation read (the guess, when guessed).
    std::string error;              ///< Why nothing was read.
    bool ok() const { return error.empty(); }
};

/// Reads text in notation (guessed when none) for style. dictionaryBase is
/// the solver's base dictionary (the part of the dictionary in force before
/// the style's own entries). A copy of the style gains the board size of the
/// text and the letters it lacks (their English letters, glyph entries and
/// dictionary entries); a style that cuts its men from a picture draws them
/// from FreeSerif in that copy, so the new men show. style itself is never
/// changed.
FairyImport ImportFairyText(std::string_view text, std::optional<position::Notation> notation,
                            const position::NotationOptions& options, const settings::Style& style,
                            std::string_view dictionaryBase);

/// The style fields the fairy notations and the problem's outputs read.
position::FairyStyle FairyStyleOf(const settings::Style& style);

/// The position plane of vet, on the board of style, in notation.
position::NotationWrite ExportFairyText(const position::Vet& vet, const settings::Style& style,
                                        std::string_view dictionaryBase, position::Notation notation,
                                        const position::NotationOptions& options);

}  // namespace diagram
