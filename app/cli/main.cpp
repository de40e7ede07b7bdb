// pandrel-cli: the diagram core without windows, for scripts and batch use.

#ifndef PANDREL_VERSION
#define PANDREL_VERSION "0.0.0"
#endif

#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <vector>

#include "app/cli/cli.h"
#include "app/cli/command_line.h"
#include "diagram/geometry.h"
#include "settings/app_dir.h"
#include "settings/settings_file.h"

namespace cli {

namespace {

struct Entry {
    std::string usage;
    Handler handler;
};

std::map<std::string, Entry>& Table() {
    static std::map<std::string, Entry> table;
    return table;
}

std::string ExeDir() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

}  // namespace

std::string ShippedDataDir() {
    const std::string exeDir = ExeDir();
    const std::string installed = settings::InstalledDataDir(exeDir);
    return installed.empty() ? exeDir : installed;
}

namespace {

constexpr const char* kGlobalOptions =
    "global options, before or after the subcommand:\n"
    "  --appdir DIR   folder of Pandrel.ini and the working files\n"
    "  --style NAME   a style of the settings file\n";
constexpr const char* kTryHelp = "try \"pandrel-cli --help\"\n";

void Usage(std::ostream& out) {
    out << "usage: pandrel-cli [--appdir DIR] [--style NAME] SUBCOMMAND ARGS...\n"
           "       pandrel-cli --version | --help | SUBCOMMAND --help\n";
    for (const auto& [name, entry] : Table()) {
        out << "  pandrel-cli " << name << " " << entry.usage << "\n";
    }
    out << kGlobalOptions;
}

// A full disk or a closed pipe behind standard output is a failed run, not
// a quiet success.
int Flushed(int status) {
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "pandrel-cli: cannot write to standard output\n";
        return status == kOk ? kFailure : status;
    }
    return status;
}

}  // namespace

Register::Register(const std::string& name, const std::string& usage, Handler handler) {
    Table()[name] = Entry{usage, std::move(handler)};
}

bool Args::TakeValue(const std::string& name, std::string& value, std::string& error) {
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i] == name) {
            if (i + 1 >= words.size()) {
                error = "option " + name + " needs a value";
                words.erase(words.begin() + static_cast<long>(i));
                return false;
            }
            value = words[i + 1];
            words.erase(words.begin() + static_cast<long>(i), words.begin() + static_cast<long>(i) + 2);
            return true;
        }
        if (words[i] == "--") {
            break;
        }
    }
    return false;
}

bool Args::TakeFlag(const std::string& name) {
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i] == "--") {
            break;
        }
        if (words[i] == name) {
            words.erase(words.begin() + static_cast<long>(i));
            return true;
        }
    }
    return false;
}

std::string Args::UnknownOption() const {
    for (const auto& w : words) {
        if (w == "--") {
            break;
        }
        if (w.size() > 2 && w.compare(0, 2, "--") == 0) {
            return w;
        }
    }
    return {};
}

bool ExpectWords(Context& ctx, Args& args, const char* name, size_t min, size_t max) {
    if (const std::string bad = args.UnknownOption(); !bad.empty()) {
        ctx.err << "pandrel-cli " << name << ": unknown option " << bad << "\n";
        return false;
    }
    std::erase(args.words, std::string("--"));
    if (args.words.size() < min || args.words.size() > max) {
        ctx.err << "pandrel-cli " << name << ": wrong number of arguments\n";
        return false;
    }
    return true;
}

std::string EnterFen(app::Program& program, const std::string& text) {
    const position::ParseResult r = diagram::Build(program.vet, text, program.style, {});
    return r.complete ? position::Tally(r.white, r.black) : std::string("(0x0) ");
}

}  // namespace cli

int main(int argc, char** argv) {
    using namespace cli;
    const std::vector<std::string> words(argv + 1, argv + argc);
    CommandLine line;
    std::string error;
    if (!ParseCommandLine(words, line, error)) {
        std::cerr << "pandrel-cli: " << error << "\n" << kTryHelp;
        return kUsage;
    }
    if (line.subcommand.empty()) {
        if (line.version) {
            std::cout << "pandrel-cli " << PANDREL_VERSION << "\n";
        } else if (line.help) {
            Usage(std::cout);
        } else {
            Usage(std::cerr);
            return kUsage;
        }
        return Flushed(kOk);
    }
    const auto found = Table().find(line.subcommand);
    if (found == Table().end()) {
        std::cerr << "pandrel-cli: unknown subcommand \"" << line.subcommand << "\"\n" << kTryHelp;
        return kUsage;
    }
    if (line.help) {
        std::cout << "usage: pandrel-cli " << found->first << " " << found->second.usage << "\n"
                  << kGlobalOptions;
        return Flushed(kOk);
    }
    if (line.version) {
        std::cout << "pandrel-cli " << PANDREL_VERSION << "\n";
        return Flushed(kOk);
    }

    Context ctx{app::Program{}, std::cout, std::cerr};
    app::Program& program = ctx.program;
    const std::string& appDir = line.appDir;
    if (line.hasAppDir) {
        program.settings.AppDir = appDir.empty() || appDir.back() != '/' ? appDir + "/" : appDir;
    } else {
        std::string why;
        program.settings.AppDir = settings::ResolveAppDir(ExeDir(), &why);
        if (program.settings.AppDir.empty()) {
            std::cerr << "pandrel-cli: " << why << "; name a folder with --appdir\n";
            return kFailure;
        }
    }
    program.WorkName = settings::MakeWorkName(settings::HundredthsSinceMidnight());

    // As at start-up: the style the settings file names, or its first block.
    const settings::ReadResult read = settings::ReadSettings(program.style, program.settings);
    if (line.hasStyle) {
        // As picking a name in the style list: it must be one of the blocks.
        std::string match;
        for (const auto& s : read.newStyles) {
            if (settings::Upper(s) == settings::Upper(line.style)) {
                match = s;
                break;
            }
        }
        if (match.empty()) {
            std::cerr << "pandrel-cli: unknown style \"" << line.style << "\"\n";
            return kUsage;
        }
        program.style.CurrentStyle = match;
        settings::ReadSettings(program.style, program.settings);
    }
    // Loaded as the window loads it: the computed fields filled in.
    diagram::ApplyComputedGeometry(program.style);
    Args args;
    args.words = line.rest;
    return Flushed(found->second.handler(ctx, args));
}
