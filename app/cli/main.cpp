// pandrel-cli: the diagram core without windows, for scripts and batch use.

#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <map>

#include "app/cli/cli.h"
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

void Usage(std::ostream& err) {
    err << "usage: pandrel-cli SUBCOMMAND [--appdir DIR] [--style NAME] ARGS...\n";
    for (const auto& [name, entry] : Table()) {
        err << "  pandrel-cli " << name << " " << entry.usage << "\n";
    }
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
    if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h") {
        Usage(std::cerr);
        return argc < 2 ? kUsage : kOk;
    }
    const std::string name = argv[1];
    const auto found = Table().find(name);
    if (found == Table().end()) {
        std::cerr << "pandrel-cli: unknown subcommand \"" << name << "\"\n";
        return kUsage;
    }
    Args args;
    for (int i = 2; i < argc; ++i) {
        args.words.emplace_back(argv[i]);
    }
    std::string error;
    std::string appDir;
    std::string styleName;
    const bool hasAppDir = args.TakeValue("--appdir", appDir, error);
    const bool hasStyle = error.empty() && args.TakeValue("--style", styleName, error);
    if (!error.empty()) {
        std::cerr << "pandrel-cli: " << error << "\n";
        return kUsage;
    }

    Context ctx{app::Program{}, std::cout, std::cerr};
    app::Program& program = ctx.program;
    program.settings.AppDir = hasAppDir ? (appDir.empty() || appDir.back() != '/' ? appDir + "/" : appDir)
                                        : settings::ResolveAppDir(ExeDir());
    program.WorkName = settings::MakeWorkName(settings::HundredthsSinceMidnight());

    // As at start-up: the style the settings file names, or its first block.
    const settings::ReadResult read = settings::ReadSettings(program.style, program.settings);
    if (hasStyle) {
        // As picking a name in the style list: it must be one of the blocks.
        std::string match;
        for (const auto& s : read.newStyles) {
            if (settings::Upper(s) == settings::Upper(styleName)) {
                match = s;
                break;
            }
        }
        if (match.empty()) {
            std::cerr << "pandrel-cli: unknown style \"" << styleName << "\"\n";
            return kUsage;
        }
        program.style.CurrentStyle = match;
        settings::ReadSettings(program.style, program.settings);
    }
    diagram::PrepareStyle(program.style);
    return found->second.handler(ctx, args);
}
