#!/usr/bin/env bash
# Runs the benchmarks against a build folder (default: build).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../build}"
bin="$build/bin"

echo "== Diagram repaint =="
"$bin/bench_render"

echo
echo "== pandrel-cli render, whole process, start position =="
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
runs=50
times=()
for i in $(seq "$runs"); do
  t0=$(date +%s%N)
  "$bin/pandrel-cli" render --appdir "$tmp" -o "$tmp/start.bmp" rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR
  t1=$(date +%s%N)
  times+=($(( (t1 - t0) / 1000 )))
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "median $(( sorted[runs / 2] )) us, max ${sorted[runs - 1]} us over $runs runs"

for extra in "$here"/*/run.sh; do
  [ -x "$extra" ] || continue
  echo
  "$extra" "$build"
done
