#!/usr/bin/env bash
# Book conversion at the disk's pace.
#
#   bench/books/convert.sh BUILD_DIR
#
# 1. Fingerprint: the work file and game index of the 20,000-game book
#    against those of a known good build (bench/books/fingerprint.txt).
# 2. 20,000 and 200,000 games (ten copies of the file): pandrel-cli book
#    against the floor program (the same number of 132-byte records written
#    through a 1 MB stdio buffer, and nothing else) and, for 20,000 games,
#    pgn-extract. The programs alternate run by run so that they meet the same
#    load; the best of the runs is quoted for wall time, user + system time
#    and peak memory (/usr/bin/time -v).
# 3. Searching the open 200,000-game book.
#
# BOOKS_BENCH_FILE (a .pgn.gz), BOOKS_BENCH_RUNS (default 5) and
# BOOKS_BENCH_TMP (default /tmp: it needs about 3 GB) change the defaults.
# BOOKS_BENCH_SIZES=20k skips the big book.
set -euo pipefail

build=$(cd "${1:?usage: bench/books/convert.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
book_gz=${BOOKS_BENCH_FILE:-$here/../../../shared/bench/games20k.pgn.gz}
runs=${BOOKS_BENCH_RUNS:-5}
sizes=${BOOKS_BENCH_SIZES:-"20k 200k"}
cli=$build/bin/pandrel-cli
convert=$build/bin/books_convert_bench
search=$build/bin/books_search_bench
for f in "$cli" "$convert" "$search" "$book_gz" /usr/bin/time; do
  [ -e "$f" ] || { echo "missing: $f" >&2; exit 1; }
done
pgnx=$(command -v pgn-extract 2>/dev/null || { [ -x /usr/games/pgn-extract ] && echo /usr/games/pgn-extract; } || true)

tmp=$(mktemp -d "${BOOKS_BENCH_TMP:-/tmp}/books-bench.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/app"
zcat "$book_gz" > "$tmp/20k.pgn"
for _ in $(seq 10); do cat "$tmp/20k.pgn"; done > "$tmp/200k.pgn"
${CC:-cc} -O2 -o "$tmp/floor" "$here/floor.c"

# --- 1. fingerprint --------------------------------------------------------
"$convert" "$tmp/20k.pgn" "$tmp/work.tmp" > "$tmp/counts"
got="$(cat "$tmp/counts") work $(sha256sum < "$tmp/work.tmp" | cut -d' ' -f1)"
rm -f "$tmp/work.tmp"
want=$(grep -v '^#' "$here/fingerprint.txt" | grep "^$(basename "$book_gz") " | cut -d' ' -f2- || true)
if [ -z "$want" ]; then
  echo "fingerprint: $(basename "$book_gz") $got (none on file to compare)"
elif [ "$got" = "$want" ]; then
  echo "fingerprint: work file, counts and index as on file ($got)"
else
  echo "fingerprint: DIFFERS: got $got, on file $want"
  fingerprint_failed=1
fi

# --- 2. conversion against the floor ----------------------------------------
# Runs a command under /usr/bin/time -v; appends "wall cpu rss_kb" to $1.
measure() {
  local out=$1
  shift
  /usr/bin/time -v -o "$tmp/time.txt" "$@" > /dev/null
  awk -F': ' '
    /Elapsed \(wall clock\)/ { n = split($2, t, ":"); w = 0; for (i = 1; i <= n; i++) w = w * 60 + t[i] }
    /User time/ { u = $2 } /System time/ { s = $2 } /Maximum resident/ { m = $2 }
    END { printf "%.3f %.3f %d\n", w, u + s, m }' "$tmp/time.txt" >> "$out"
}
best() { sort -n -k"$2" "$1" | head -1 | awk -v k="$2" '{ print $k }'; }
peak() { sort -n -k3 "$1" | tail -1 | awk '{ print $3 }'; }

declare -A cpu wall floor_wall
for size in $sizes; do
  book=$tmp/$size.pgn
  records=$("$cli" book --appdir "$tmp/app/" "$book" | awk '{ print $4 }')
  : > "$tmp/ours.$size"
  : > "$tmp/floor.$size"
  : > "$tmp/pgnx.$size"
  for _ in $(seq "$runs"); do
    measure "$tmp/ours.$size" "$cli" book --appdir "$tmp/app/" "$book"
    # The floor writes the records and the end marker, as the work file has them.
    measure "$tmp/floor.$size" "$tmp/floor" "$tmp/floor.out" $((records + 1))
    rm -f "$tmp/floor.out"
    if [ "$size" = 20k ] && [ -n "$pgnx" ]; then
      measure "$tmp/pgnx.$size" "$pgnx" -s --quiet -Wepd --nofauxep -o "$tmp/out.epd" "$book"
      rm -f "$tmp/out.epd"
    fi
  done
  wall[$size]=$(best "$tmp/ours.$size" 1)
  cpu[$size]=$(best "$tmp/ours.$size" 2)
  floor_wall[$size]=$(best "$tmp/floor.$size" 1)
  echo "$size games ($records records), best of $runs alternating runs:"
  echo "  pandrel-cli book: wall $(best "$tmp/ours.$size" 1) s (worst $(sort -n "$tmp/ours.$size" | tail -1 | cut -d' ' -f1)), user+sys ${cpu[$size]} s, peak memory $(( $(peak "$tmp/ours.$size") / 1024 )) MB"
  echo "  floor program:    wall ${floor_wall[$size]} s (worst $(sort -n "$tmp/floor.$size" | tail -1 | cut -d' ' -f1)), user+sys $(best "$tmp/floor.$size" 2) s"
  awk -v o="${wall[$size]}" -v f="${floor_wall[$size]}" 'BEGIN { printf "  wall against the floor: %.2f times (at most 1.70 wanted for 200k)\n", o / f }'
  if [ -s "$tmp/pgnx.$size" ]; then
    px=$(best "$tmp/pgnx.$size" 1)
    echo "  pgn-extract:      wall $px s, user+sys $(best "$tmp/pgnx.$size" 2) s"
    awk -v o="${wall[$size]}" -v p="$px" 'BEGIN { printf "  against pgn-extract: %.3f (at most 0.130 wanted)\n", o / p }'
  fi
done
if [ -n "${cpu[20k]:-}" ] && [ -n "${cpu[200k]:-}" ]; then
  awk -v a="${cpu[20k]}" -v b="${cpu[200k]}" 'BEGIN { printf "user+sys, 200k against 20k: %.2f times (at most 11 wanted)\n", b / a }'
fi

# --- 3. searching the open big book -------------------------------------------
last=${sizes##* }
"$search" "$tmp/$last.pgn" "$tmp" "$runs"

[ -z "${fingerprint_failed:-}" ]
