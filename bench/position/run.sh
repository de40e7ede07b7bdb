#!/usr/bin/env bash
# Fairy notations: reading and writing a 20 x 20 position (target: under 1 ms).
set -euo pipefail
build=$(cd "${1:?usage: bench/position/run.sh BUILD_DIR}" && pwd)
echo "== Fairy notations, 20 x 20 =="
"$build/bin/bench_fairy_notation"
