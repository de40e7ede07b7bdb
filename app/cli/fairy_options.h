#pragma once
// The options that read and write the fairy notations: --notation,
// --output and --knight-s, shared by fen, render and render-book.

#include <optional>
#include <string>

#include "app/cli/cli.h"
#include "position/fairy_board.h"

namespace cli {

/// What the fairy options asked for.
struct FairyOptions {
    bool read = false;                           ///< --notation was given.
    std::optional<position::Notation> notation;  ///< Unset with --notation auto.
    std::optional<position::Notation> output;    ///< --output.
    position::NotationOptions options;           ///< --knight-s.
};

/// Takes the options out of args (--output only when allowOutput); false
/// after a message on a bad value.
bool TakeFairyOptions(Context& ctx, Args& args, const char* command, bool allowOutput, FairyOptions& fairy);

/// The solver's base dictionary: "Py.dat" of the program folder, when there
/// is one.
std::string DictionaryBase(const app::Program& program);

/// Reads text in the notation asked for onto the style of program: the
/// style becomes the import's copy when it needed one. Gives the placement
/// for the FEN box, and the notation read; false after a message.
bool ImportText(Context& ctx, const char* command, const FairyOptions& fairy, const std::string& text,
                std::string& placement, position::Notation& read, bool& styleChanged);

}  // namespace cli

namespace cli {

/// Copies the book at path into folder with every position (FEN and EPD
/// lines, PGN FEN tags) read in the notation asked for and written in the
/// letters of the style of program, which gains the letters and board size
/// they need. Gives the copy's path, or "" after a message.
std::string FairyBookCopy(Context& ctx, const char* command, const FairyOptions& fairy,
                          const std::string& path, const std::string& folder);

}  // namespace cli
