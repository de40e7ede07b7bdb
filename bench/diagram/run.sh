#!/usr/bin/env bash
# Font-style diagrams: pandrel-cli render of the 60-pixel Print style to PNG
# and to SVG as whole processes, and the full repaint of a 20 x 20 font-style
# board at 40-pixel squares on the renderer.
#
#   bench/diagram/run.sh BUILD_DIR
#
# DIAGRAM_BENCH_RUNS changes the number of runs of each command (default 30).
set -euo pipefail

build=$(cd "${1:?usage: bench/diagram/run.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
runs=${DIAGRAM_BENCH_RUNS:-30}
cli=$build/bin/pandrel-cli
[ -x "$cli" ] || { echo "missing: $cli" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/app" "$tmp/run"
chmod 700 "$tmp/run"
export XDG_RUNTIME_DIR=$tmp/run
# The shipped styles, with the 60-pixel Print style in force.
sed 's/^RecentStyle = .*/RecentStyle = Print/' "$here/../../app/styles/Pandrel.ini" > "$tmp/app/Pandrel.ini"
fen="r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR"

# Median and best wall time, and best CPU time (user + system), of runs
# whole-process runs, in milliseconds. The machine may be shared: the CPU
# time is the figure that does not depend on the other load.
measure() {
  local times=() cpus=() t0 t1 u s
  for _ in $(seq "$runs"); do
    t0=$(date +%s%N)
    if [ -x /usr/bin/time ]; then
      /usr/bin/time -f "%U %S" -o "$tmp/time" "$@" > /dev/null
      read -r u s < "$tmp/time"
      cpus+=($(awk -v u="$u" -v s="$s" 'BEGIN { printf "%d", (u + s) * 1000 }'))
    else
      "$@" > /dev/null
    fi
    t1=$(date +%s%N)
    times+=($(( (t1 - t0) / 1000 )))
  done
  local sorted cpu="-1"
  sorted=($(printf '%s\n' "${times[@]}" | sort -n))
  if [ "${#cpus[@]}" -gt 0 ]; then
    cpu=$(printf '%s\n' "${cpus[@]}" | sort -n | head -1)
  fi
  awk -v m="${sorted[runs / 2]}" -v b="${sorted[0]}" -v c="$cpu" 'BEGIN { printf "%.1f %.1f %d\n", m / 1000, b / 1000, c }'
}

report() {
  local label=$1 target=$2 median=$3 best=$4 cpu=$5
  awk -v l="$label" -v t="$target" -v m="$median" -v b="$best" -v c="$cpu" 'BEGIN {
    printf "%s: wall median %.1f ms, best %.1f ms", l, m, b
    if (c >= 0) printf ", CPU best %d ms", c
    # Judged by the CPU time where it is known (to 10 ms): on a shared
    # machine the wall time mostly measures the others.
    v = (c >= 0) ? c : b
    printf " (target < %d ms: %s)\n", t, (v < t) ? "met" : "MISSED" }'
}

echo "== Font styles: pandrel-cli render, whole process, $runs runs (load average $(cut -d' ' -f1 /proc/loadavg)) =="
"$cli" render --appdir "$tmp/app" -o "$tmp/probe.png" "$fen"
size=$(file -b "$tmp/probe.png" | grep -o '[0-9]* x [0-9]*' || true)
echo "Print style (60-pixel squares, FreeSerif men, hatched): ${size:-?} pixels"
read -r median best cpu < <(measure "$cli" render --appdir "$tmp/app" -o "$tmp/d.png" "$fen")
report "render PNG" 60 "$median" "$best" "$cpu"
read -r median best cpu < <(measure "$cli" render --appdir "$tmp/app" -o "$tmp/d.svg" "$fen")
report "render SVG" 40 "$median" "$best" "$cpu"

echo
echo "== Font styles: full repaint of a 20 x 20 board at 40-pixel squares (target < 5 ms) =="
if [ -x "$build/bin/bench_font_render" ]; then
  "$build/bin/bench_font_render"
else
  echo "bench_font_render: not built (Google Benchmark missing)"
fi
