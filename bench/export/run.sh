#!/usr/bin/env bash
# Book export speed: render-book to PNG, BMP, SVG and PDF, and a sheet of 12
# diagrams a page, on the first 2,000 games of the benchmark book. Each
# figure is the best of a few whole-process runs (conversion included).
#
#   bench/export/run.sh BUILD_DIR
#
# EXPORT_BENCH_FILE (a .pgn.gz), EXPORT_BENCH_GAMES and EXPORT_BENCH_RUNS
# change the defaults.
set -euo pipefail

build=$(cd "${1:?usage: bench/export/run.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
book_gz=${EXPORT_BENCH_FILE:-$here/../../../shared/bench/games20k.pgn.gz}
games=${EXPORT_BENCH_GAMES:-2000}
runs=${EXPORT_BENCH_RUNS:-3}
cli=$build/bin/pandrel-cli
for f in "$cli" "$book_gz"; do
  [ -e "$f" ] || { echo "missing: $f" >&2; exit 1; }
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/app" "$tmp/run"
chmod 700 "$tmp/run"
export XDG_RUNTIME_DIR=$tmp/run
book=$tmp/games.pgn
# The first games: everything before the tags of game games + 1.
{ zcat "$book_gz" || true; } | awk -v n="$games" '/^\[Event /{ if (++seen > n) exit } { print }' > "$book"

# Runs the command runs times; prints the best wall time and the best CPU
# time (user + system) in seconds. The machine may be shared: the CPU time
# is the figure that does not depend on the other load. Every run writes
# into a folder of its own (@OUT@ in the command), removed only at the end:
# on ext4, files made just after thousands were deleted cost the kernel
# several times what the program spends drawing them.
run_no=0
best() {
  local wall="" cpu="" out
  for _ in $(seq "$runs"); do
    run_no=$((run_no + 1))
    out=$tmp/run$run_no
    /usr/bin/time -f "%e %U %S" -o "$tmp/time" "${@//@OUT@/$out}" > "$tmp/stdout" 2>/dev/null
    read -r e u s < "$tmp/time"
    wall=$(awk -v a="$wall" -v b="$e" 'BEGIN { print (a == "" || b < a) ? b : a }')
    cpu=$(awk -v a="$cpu" -v b="$u" -v c="$s" 'BEGIN { t = b + c; print (a == "" || t < a) ? t : a }')
  done
  echo "$wall $cpu"
}

report() {
  local label=$1 wall=$2 cpu=$3 n
  n=$(awk '{print $2}' "$tmp/stdout")
  awk -v l="$label" -v n="$n" -v w="$wall" -v c="$cpu" 'BEGIN {
    printf "%s: %d diagrams, wall %.2f s (%.0f a second), CPU %.2f s (%.0f a second)\n", l, n, w, n / w, c, n / c }'
}

echo "== Book export, first $games games (best of $runs; load average $(cut -d' ' -f1 /proc/loadavg)) =="
for format in png bmp svg pdf; do
  if ! "$cli" render-book --appdir "$tmp/app" "$book" -o "$tmp/probe" --format "$format" --games 1 >/dev/null 2>&1; then
    echo "render-book --format $format: not available in this build"
    continue
  fi
  read -r wall cpu < <(best "$cli" render-book --appdir "$tmp/app" "$book" -o @OUT@ --format "$format")
  report "render-book --format $format" "$wall" "$cpu"
done
# With each game's captions (authors, source, stipulation, count ...) around
# its diagram: to stay above 1,000 PNG diagrams a second.
read -r wall cpu < <(best "$cli" render-book --appdir "$tmp/app" "$book" -o @OUT@ --format png --captions)
report "render-book --format png --captions" "$wall" "$cpu"
read -r wall cpu < <(best "$cli" sheet --appdir "$tmp/app" "$book" -o @OUT@.pdf --per-page 12)
report "sheet --per-page 12" "$wall" "$cpu"
rss=$( { /usr/bin/time -f "%M" "$cli" render-book --appdir "$tmp/app" "$book" -o "$tmp/rss" --format png >/dev/null; } 2>&1 | tail -1)
echo "render-book peak memory: ${rss} KiB"
