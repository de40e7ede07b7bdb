#pragma once
// The command-line front end: shared options and the subcommand table.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "app/program.h"

namespace cli {

/// Exit statuses.
inline constexpr int kOk = 0;
inline constexpr int kFailure = 1;  ///< The work could not be done (file not written, nothing found).
inline constexpr int kUsage = 2;    ///< Unknown subcommand, option or style; bad arguments.

/// Arguments after the subcommand, with the common options taken out.
struct Args {
    std::vector<std::string> words;  ///< Remaining arguments in order.

    /// Takes "--name VALUE" out of the words; false when absent. Sets error
    /// when the option has no value.
    bool TakeValue(const std::string& name, std::string& value, std::string& error);
    /// Takes "--name" out of the words; false when absent.
    bool TakeFlag(const std::string& name);
    /// The first word that still looks like an option, or "".
    std::string UnknownOption() const;
};

/// What every subcommand gets: the program block set up as at start-up,
/// with the chosen style read.
struct Context {
    app::Program program;
    std::ostream& out;
    std::ostream& err;
};

/// A subcommand: reads its own arguments and returns the exit status.
using Handler = std::function<int(Context&, Args&)>;

/// Registers a subcommand; used by static registrars in each subcommand file.
struct Register {
    Register(const std::string& name, const std::string& usage, Handler handler);
};

/// Checks that no unknown option is left and that between min and max
/// positional words remain (a "--" word is dropped); reports on ctx.err.
bool ExpectWords(Context& ctx, Args& args, const char* name, size_t min, size_t max);

/// Reads the value of --scale: a positive finite number written in full
/// ("2", "0.5", "1e1"). False for any other text.
bool ParseScale(const std::string& text, double& scale);

/// The folder of the data shipped with the program (the shipped "Py.dat"):
/// share/pandrel of an installed copy, else the executable's folder.
std::string ShippedDataDir();

/// Puts TEXT into the FEN box as the window does: the board update with the
/// tally label's text. Returns the tally text.
std::string EnterFen(app::Program& program, const std::string& text);

}  // namespace cli
