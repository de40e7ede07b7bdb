#!/usr/bin/env bash
# Reading and replaying a solver's protocol of about a megabyte, and a UCI
# engine's search ended by Stop.
#
#   bench/engines/run.sh BUILD_DIR
set -euo pipefail

build=$(cd "${1:?usage: bench/engines/run.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
protocol=${SOLUTION_BENCH_FILE:-$here/../../../shared/popeye/cases/26-long-protocol.out}
fen=${SOLUTION_BENCH_FEN:-8/2P5/1p6/4Kb1Q/6k1/8/7p/6N1}
[ -e "$protocol" ] || { echo "missing: $protocol" >&2; exit 1; }
"$build/bin/engines_solution_bench" "$protocol" "$fen" "${SOLUTION_BENCH_RUNS:-7}"
# Stop ends a UCI engine's endless search within a second (given an engine).
engine=${STOP_BENCH_ENGINE:-$(command -v stockfish || command -v /usr/games/stockfish || true)}
if [ -n "$engine" ]; then
    "$build/bin/engines_stop_bench" "$engine" "${STOP_BENCH_RUNS:-5}"
fi
