// Times reading a solver's protocol of about a megabyte into its tree and
// playing every node of it on the board, as the Popeye window and
// "pandrel-cli solution" do. Usage: engines_solution_bench PROTOCOL FEN [RUNS]
// The protocol's lines are repeated under two twins up to a megabyte.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engines/solution_replay.h"
#include "engines/solution_tree.h"
#include "position/vet.h"

namespace {

using Clock = std::chrono::steady_clock;

// Processor time of this process: on a loaded machine the wall clock
// measures the others too.
double CpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

std::string Megabyte(const std::string& protocol) {
    // The lines of play only, under twins that leave the board alone.
    std::string lines;
    std::istringstream in(protocol);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("  1.", 0) == 0) {
            lines += line + "\n";
        }
    }
    std::string text = "Popeye bench v4.104\n\n";
    for (char twin = 'a'; text.size() < (1u << 20) && !lines.empty() && twin <= 'z'; ++twin) {
        text += std::string(1, twin) + ") " + (twin == 'a' ? "" : "Circe") + "  \n\n";
        // Whole lines, up to the megabyte.
        size_t take = std::min(lines.size(), (1u << 20) - text.size());
        take = lines.rfind('\n', take - 1) + 1;
        text += lines.substr(0, take);
        text += "\n";
        if (take < lines.size()) {
            break;
        }
    }
    text += "solution finished. Time = 1.000 s\n";
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: engines_solution_bench PROTOCOL FEN [RUNS]\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    std::ostringstream read;
    read << file.rdbuf();
    const std::string text = Megabyte(read.str());
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    position::NotationStyle style;
    position::Vet diagram;
    position::ParseFEN(diagram, argv[2], style.shape);

    std::vector<double> times;
    std::vector<double> cpu;
    size_t nodes = 0;
    size_t failed = 0;
    for (int run = 0; run < runs; ++run) {
        const Clock::time_point start = Clock::now();
        const double cpuStart = CpuSeconds();
        const engines::SolutionTree tree = engines::ParseSolution(text);
        engines::SolutionReplay replay(tree, diagram, style, "&&N=wS&&n=bS&&");
        size_t length = 0;
        failed = 0;
        for (size_t i = 0; i < tree.nodes.size(); ++i) {
            const engines::ReplayResult after = replay.After(static_cast<int>(i));
            failed += after.ok ? 0 : 1;
            length += position::VetToFEN(after.vet, style.shape).size();
        }
        times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
        cpu.push_back(CpuSeconds() - cpuStart);
        nodes = tree.nodes.size() + (length == 0 ? 1 : 0);
    }
    std::sort(times.begin(), times.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf(
        "solution tree: %zu bytes, %zu nodes (%zu not replayable), parse and replay of every node, "
        "median of %d runs: %.1f ms processor time, %.1f ms elapsed (at most 100 ms wanted)\n",
        text.size(), nodes, failed, runs, cpu[cpu.size() / 2] * 1000.0, times[times.size() / 2] * 1000.0);
    return 0;
}
