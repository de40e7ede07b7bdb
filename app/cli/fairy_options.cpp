#include "app/cli/fairy_options.h"

#include <filesystem>
#include <ostream>

#include "diagram/fairy_exchange.h"
#include "engines/discovery.h"

namespace cli {

namespace {

bool NotationValue(Context& ctx, const char* command, const char* option, const std::string& word,
                   bool allowAuto, std::optional<position::Notation>& notation) {
    notation = position::NotationOfName(word);
    if (notation || (allowAuto && word == "auto")) {
        return true;
    }
    ctx.err << "pandrel-cli " << command << ": " << option << " is ffen, yacpdb"
            << (allowAuto ? ", popeye or auto" : " or popeye") << ", not \"" << word << "\"\n";
    return false;
}

}  // namespace

bool TakeFairyOptions(Context& ctx, Args& args, const char* command, bool allowOutput, FairyOptions& fairy) {
    std::string error;
    std::string word;
    fairy.options.knightS = args.TakeFlag("--knight-s");
    if (args.TakeValue("--notation", word, error)) {
        fairy.read = true;
        if (!NotationValue(ctx, command, "--notation", word, true, fairy.notation)) {
            return false;
        }
    }
    if (error.empty() && allowOutput && args.TakeValue("--output", word, error)) {
        if (!NotationValue(ctx, command, "--output", word, false, fairy.output)) {
            return false;
        }
    }
    if (!error.empty()) {
        ctx.err << "pandrel-cli " << command << ": " << error << "\n";
        return false;
    }
    return true;
}

std::string DictionaryBase(const app::Program& program) {
    std::error_code ec;
    const std::string path = program.settings.AppDir + std::string(engines::kPyDatName);
    if (!program.settings.AppDir.empty() && std::filesystem::is_regular_file(path, ec)) {
        return engines::ReadPyDat(path).dictionary;
    }
    return {};
}

bool ImportText(Context& ctx, const char* command, const FairyOptions& fairy, const std::string& text,
                std::string& placement, position::Notation& read, bool& styleChanged) {
    app::Program& program = ctx.program;
    const diagram::FairyImport in =
        diagram::ImportFairyText(text, fairy.notation, fairy.options, program.style, DictionaryBase(program));
    if (!in.ok()) {
        ctx.err << "pandrel-cli " << command << ": cannot read the text as "
                << position::NotationName(in.notation) << ": " << in.error << "\n";
        return false;
    }
    program.style = in.style;
    placement = in.placement;
    read = in.notation;
    styleChanged = in.styleChanged;
    return true;
}

}  // namespace cli
