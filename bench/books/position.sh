#!/usr/bin/env bash
# Finding positions in the 200,000-game book (ten copies of the 20,000 games).
#
#   bench/books/position.sh BUILD_DIR
#
# 1. books_position_bench: conversion with the position index (time, peak
#    memory, index bytes a position), exact search from the index, partial,
#    mirrored and colour-reversed search over every position, shifted search
#    over the first positions of 100,000 problems.
# 2. pandrel-cli find as a whole process: the first run converts and keeps
#    the book, the next ones use what was kept (wall time, best and median).
# 3. Scid (Debian package scid, its Tcl interpreter tkscid) on the same book,
#    when installed: import, an exact board search, a material search.
#
# BOOKS_BENCH_FILE (a .pgn.gz), BOOKS_BENCH_RUNS (default 5) and
# BOOKS_BENCH_TMP (default /tmp: it needs about 3 GB) change the defaults.
set -euo pipefail

build=$(cd "${1:?usage: bench/books/position.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
book_gz=${BOOKS_BENCH_FILE:-$here/../../../shared/bench/games20k.pgn.gz}
runs=${BOOKS_BENCH_RUNS:-5}
cli=$build/bin/pandrel-cli
bench=$build/bin/books_position_bench
for f in "$cli" "$bench" "$book_gz"; do
  [ -e "$f" ] || { echo "missing: $f" >&2; exit 1; }
done

tmp=$(mktemp -d "${BOOKS_BENCH_TMP:-/tmp}/books-position.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/app"
zcat "$book_gz" > "$tmp/one.pgn"
for _ in $(seq 10); do cat "$tmp/one.pgn"; done > "$tmp/book.pgn"
rm -f "$tmp/one.pgn"
echo "load: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"

"$bench" "$tmp/book.pgn" "$tmp" "$runs"

ms() { echo $(( ($2 - $1) / 1000000 )); }
cli_find() {  # prints the wall time in ms of one pandrel-cli find
  local a b
  a=$(date +%s%N)
  "$cli" --appdir "$tmp/app" find "$@" > "$tmp/found"
  b=$(date +%s%N)
  ms "$a" "$b"
}
after_e4_e5_nf3="rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R"
rare="r1bq1rk1/pp2ppbp/2np1np1/8/3NP3/2N1BP2/PPPQ2PP/R3KB1R"
echo "pandrel-cli find, first run (converts and keeps the book): $(cli_find "$tmp/book.pgn" "$rare") ms"
for pos in "$after_e4_e5_nf3" "$rare"; do
  times=()
  for _ in $(seq "$runs"); do times+=("$(cli_find "$tmp/book.pgn" "$pos")"); done
  sorted=$(printf '%s\n' "${times[@]}" | sort -n)
  echo "pandrel-cli find $pos: best $(echo "$sorted" | head -1) ms, median $(echo "$sorted" | sed -n "$(( (runs + 1) / 2 ))p") ms, $(wc -l < "$tmp/found") matches"
done
for flag in --partial --mirror --colours; do
  text=$rare
  [ "$flag" = --partial ] && text="8/8/8/8/4P3/8/8/4K3"
  echo "pandrel-cli find $flag: $(cli_find "$flag" "$tmp/book.pgn" "$text") ms, $(wc -l < "$tmp/found") matches"
done

scid=$(command -v tkscid 2>/dev/null || { [ -x /usr/games/tkscid ] && echo /usr/games/tkscid; } || true)
if [ -z "$scid" ]; then
  echo "Scid (tkscid) not installed: its figures skipped"
  exit 0
fi
cat > "$tmp/scid.tcl" <<TCL
proc ::progressCallBack {args} {}
proc ms {t} { return [format %.1f [expr {([clock microseconds] - \$t) / 1000.0}]] }
set base [sc_base create $tmp/scidbase]
set t [clock microseconds]
sc_base import \$base $tmp/book.pgn
puts "Scid import: [ms \$t] ms, [sc_base numGames \$base] games"
foreach {name fen} {"after 1. e4 e5 2. Nf3" "$after_e4_e5_nf3 b KQkq - 0 1" "rare" "$rare w - - 0 1"} {
  sc_game new
  sc_game startBoard \$fen
  set best 1e9
  for {set i 0} {\$i < $runs} {incr i} {
    set t [clock microseconds]
    sc_search board RESET Exact false false
    set e [ms \$t]
    if {\$e < \$best} { set best \$e }
  }
  puts "Scid exact board search, \$name: best \$best ms, [sc_filter count] games"
  set t [clock microseconds]
  sc_search board RESET Material false false
  puts "Scid material search, \$name: [ms \$t] ms, [sc_filter count] games"
}
exit
TCL
"$scid" "$tmp/scid.tcl" 2>&1 | grep -v '^$' | grep -v "^[0-9]* / " || true
