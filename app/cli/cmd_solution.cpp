// solution: the solver's protocol as a tree of lines, each node with the
// board after it.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "app/cli/cli.h"
#include "engines/discovery.h"
#include "engines/engine_files.h"
#include "engines/engine_state.h"
#include "engines/solution_replay.h"
#include "engines/solution_tree.h"
#include "position/vet.h"
#include "settings/app_dir.h"

namespace cli {

namespace {

std::string ExeFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

// The dictionary in force: the user's Py.dat (or the shipped one) and the
// style's own entries.
std::string Dictionary(const app::Program& program) {
    std::string pyDat = engines::FindInFolder(program.settings.AppDir, {engines::kPyDatName});
    if (pyDat.empty()) {
        const std::string exeDir = ExeFolder();
        pyDat = engines::FindInFolder(exeDir, {engines::kPyDatName});
        if (pyDat.empty()) {
            const std::string shipped = settings::InstalledDataDir(exeDir);
            if (!shipped.empty()) {
                pyDat = engines::FindInFolder(shipped, {engines::kPyDatName});
            }
        }
    }
    // Put together as the window does, so both read the same names.
    engines::EngineState state;
    state.PyDictionaryBase = engines::ReadPyDat(pyDat).dictionary;
    return engines::PyDictionaryText(state, program.style);
}

bool ReadProtocol(const std::string& name, std::string& text) {
    if (name == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return !std::cin.bad();
    }
    std::error_code ec;
    if (std::filesystem::is_directory(name, ec)) {
        return false;
    }
    std::ifstream in(name, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return !in.bad();
}

const Register solution(
    "solution",
    "--fen PLACEMENT PROTOCOL   prints the solver's protocol (a file, or - for standard input) as a tree: "
    "twin, depth, kind, move and the placement after it, one node to a line",
    [](Context& ctx, Args& args) {
        std::string error;
        std::string fen;
        const bool hasFen = args.TakeValue("--fen", fen, error);
        if (!error.empty()) {
            ctx.err << "pandrel-cli solution: " << error << "\n";
            return kUsage;
        }
        if (!hasFen) {
            ctx.err << "pandrel-cli solution: --fen PLACEMENT is needed\n";
            return kUsage;
        }
        if (!ExpectWords(ctx, args, "solution", 1, 1)) {
            return kUsage;
        }
        std::string text;
        if (!ReadProtocol(args.words[0], text)) {
            ctx.err << "pandrel-cli solution: cannot read " << args.words[0] << "\n";
            return kFailure;
        }
        app::Program& program = ctx.program;
        EnterFen(program, fen);
        const position::NotationStyle style = program.style.Notation();
        const engines::SolutionTree tree = engines::ParseSolution(text);
        engines::SolutionReplay replay(tree, program.vet, style, Dictionary(program));
        std::string line;
        for (size_t i = 0; i < tree.nodes.size(); ++i) {
            const engines::SolutionNode& node = tree.nodes[i];
            const engines::SolutionTwin& twin = tree.twins[static_cast<size_t>(node.twin)];
            const engines::ReplayResult after = replay.After(static_cast<int>(i));
            line.clear();
            line += twin.label;
            line += '\t';
            line += std::to_string(node.kind == engines::NodeKind::kTwin ? 0 : node.depth);
            line += '\t';
            line += engines::NodeKindName(node.kind);
            line += '\t';
            line += node.kind == engines::NodeKind::kTwin ? twin.changesText : node.move;
            line += '\t';
            line += position::VetToFEN(after.vet, style.shape);
            line += '\n';
            ctx.out << line;
        }
        return kOk;
    });

}  // namespace

}  // namespace cli
