#!/usr/bin/env bash
# Book conversion speed against pgn-extract, a cross-check of every position
# against pgn-extract's, and the speed of searching the converted book.
#
#   bench/books/run.sh BUILD_DIR
#
# BOOKS_BENCH_FILE (a .pgn.gz) and BOOKS_BENCH_RUNS change the defaults.
set -euo pipefail

build=$(cd "${1:?usage: bench/books/run.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
book_gz=${BOOKS_BENCH_FILE:-$here/../../../shared/bench/games20k.pgn.gz}
runs=${BOOKS_BENCH_RUNS:-5}
cli=$build/bin/pandrel-cli
search=$build/bin/books_search_bench

for f in "$cli" "$search" "$book_gz"; do
  [ -e "$f" ] || { echo "missing: $f" >&2; exit 1; }
done

# pgn-extract (Debian package pgn-extract) lands in /usr/games.
find_pgn_extract() {
  command -v pgn-extract 2>/dev/null || { [ -x /usr/games/pgn-extract ] && echo /usr/games/pgn-extract; } || true
}
pgnx=$(find_pgn_extract)
if [ -z "$pgnx" ]; then
  echo "installing pgn-extract for the comparison"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq pgn-extract >/dev/null
  pgnx=$(find_pgn_extract)
  [ -n "$pgnx" ] || { echo "pgn-extract could not be installed" >&2; exit 1; }
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
book=$tmp/games.pgn
mkdir "$tmp/app"
zcat "$book_gz" > "$book"

now() { date +%s%N; }
median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

# Runs alternate, so that both programs meet the same machine load.
: > "$tmp/ours.times"
: > "$tmp/theirs.times"
for _ in $(seq "$runs"); do
  t0=$(now)
  "$cli" book --appdir "$tmp/app/" "$book" > "$tmp/counts"
  t1=$(now)
  "$pgnx" -s --quiet -Wepd --nofauxep -o "$tmp/out.epd" "$book"
  t2=$(now)
  echo $(( (t1 - t0) / 1000 )) >> "$tmp/ours.times"
  echo $(( (t2 - t1) / 1000 )) >> "$tmp/theirs.times"
done
ours=$(median < "$tmp/ours.times")
theirs=$(median < "$tmp/theirs.times")

echo "book: $(basename "$book_gz"): $(cat "$tmp/counts")"
awk -v o="$ours" -v t="$theirs" -v n="$runs" 'BEGIN {
  printf "conversion, median of %d runs: pandrel-cli book %.3f s, pgn-extract %.3f s, ratio %.3f (at most 0.200 wanted)\n",
         n, o / 1e6, t / 1e6, o / t }'

# Cross-check: the placement of every position record against the placement
# field of pgn-extract's line for the same game and ply.
"$cli" book --records --appdir "$tmp/app/" "$book" |
  awk 'substr($0, 2, 1) == "E" {
         g = substr($0, 3, 6) + 0
         if (g != last) { ply = 0; last = g }
         split(substr($0, 9), f, " ")
         printf "%07d:%04d %s\n", g, ply++, f[1] }' > "$tmp/ours.keys"
awk 'BEGIN { g = 1 }
     /^[[:space:]]*$/ { if (!blank) { g++; ply = 0 } blank = 1; next }
     { blank = 0; printf "%07d:%04d %s\n", g, ply++, $1 }' "$tmp/out.epd" > "$tmp/theirs.keys"
LC_ALL=C join -a 1 -a 2 -e MISSING -o 0,1.2,2.2 "$tmp/ours.keys" "$tmp/theirs.keys" |
  awk '{ n++ } $2 != $3 { m++ } END { printf "cross-check: %d positions, %d mismatches\n", n, m + 0 }'

"$search" "$book" "$tmp" "$runs"

# Conversion against the floor program, on 20,000 and 200,000 games.
"$here/convert.sh" "$build"
