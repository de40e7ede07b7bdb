#include "app/cli/command_line.h"

namespace cli {

bool ParseCommandLine(const std::vector<std::string>& words, CommandLine& line, std::string& error) {
    line = CommandLine{};
    bool ended = false;  // after "--" every word is the subcommand's
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (!ended && (w == "--appdir" || w == "--style")) {
            if (i + 1 >= words.size()) {
                error = "option " + w + " needs a value";
                return false;
            }
            const bool isAppDir = w == "--appdir";
            (isAppDir ? line.hasAppDir : line.hasStyle) = true;
            (isAppDir ? line.appDir : line.style) = words[++i];
        } else if (!ended && (w == "--help" || w == "-h")) {
            line.help = true;
        } else if (!ended && w == "--version") {
            line.version = true;
        } else if (line.subcommand.empty()) {
            if (w.size() > 1 && w.front() == '-') {
                error = "unknown option " + w;
                return false;
            }
            line.subcommand = w;
        } else {
            ended = ended || w == "--";
            line.rest.push_back(w);
        }
    }
    return true;
}

}  // namespace cli
