// The solver's protocol read into a tree, whole and piece by piece, and every
// node played on a board: a shape byte, a chunk-size byte, the placement, the
// dictionary, then the protocol.

#include <algorithm>

#include "engines/solution_replay.h"
#include "engines/solution_tree.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input input(data, size);
    const position::NotationStyle style = fuzz::Shape(input.Byte());
    const size_t chunk = 1 + input.Byte();
    const std::string fen(input.Line());
    const std::string dictionary(input.Line());
    const std::string_view protocol = input.Rest();

    const engines::SolutionTree whole = engines::ParseSolution(protocol);
    engines::SolutionParser parser;
    for (size_t pos = 0; pos < protocol.size(); pos += chunk) {
        parser.Feed(protocol.substr(pos, chunk));
    }
    parser.Finish();
    fuzz::Check(parser.Tree().nodes.size() == whole.nodes.size(), "pieces and whole give one tree");

    for (size_t i = 0; i < whole.nodes.size(); ++i) {
        const engines::SolutionNode& node = whole.nodes[i];
        fuzz::Check(node.parent < static_cast<int>(i), "a node follows its parent");
        fuzz::Check(node.twin >= 0 && node.twin < static_cast<int>(whole.twins.size()),
                    "a node has its twin");
        fuzz::Check((node.kind == engines::NodeKind::kTwin) == (node.parent < 0), "only twins are roots");
    }
    position::Vet vet;
    position::ParseFEN(vet, fen, style.shape);
    engines::SolutionReplay replay(whole, vet, style, dictionary);
    const size_t limit = std::min<size_t>(whole.nodes.size(), 3000);
    for (size_t i = 0; i < limit; ++i) {
        const engines::ReplayResult after = replay.After(static_cast<int>(i));
        fuzz::Check(after.ok == (after.stoppedAt < 0), "a replay that stops says where");
        position::VetToFEN(after.vet, style.shape);
    }
    return 0;
}
