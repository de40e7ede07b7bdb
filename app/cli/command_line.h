#pragma once
// The split of pandrel-cli's command line into the global options, the
// subcommand and the subcommand's own arguments.

#include <string>
#include <vector>

namespace cli {

struct CommandLine {
    std::string subcommand;         ///< "" when none was named.
    std::vector<std::string> rest;  ///< The subcommand's own arguments, in order.
    bool hasAppDir = false;
    std::string appDir;
    bool hasStyle = false;
    std::string style;
    bool help = false;     ///< --help or -h, anywhere before "--".
    bool version = false;  ///< --version, anywhere before "--".
};

/// Splits the words after the program name. The global options (--appdir
/// DIR, --style NAME, --help, -h, --version) may stand before or after the
/// subcommand; a "--" word ends them and stays for the subcommand. False,
/// with the reason, for a global option without its value or an unknown
/// option before the subcommand.
bool ParseCommandLine(const std::vector<std::string>& words, CommandLine& line, std::string& error);

}  // namespace cli
