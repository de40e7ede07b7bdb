#!/usr/bin/env bash
# Searching an open 200,000-game book, and opening it in the window.
#
#   bench/books/search.sh BUILD_DIR
#
# 1. books_search_bench: converts the book once, then times searches of the
#    open book (men, pieces, words criteria) with its work file in the page
#    cache; wall time best and median, user and system time.
# 2. books_window_bench (when built): the main window, offscreen, opens the
#    book (Open Book with the book label counting the games), shows its last
#    game, and searches through the Search Criteria window.
#
# The book is ten copies of BOOKS_BENCH_FILE (a .pgn.gz, default the 20,000
# games of ../shared/bench). BOOKS_BENCH_RUNS (default 5), BOOKS_BENCH_COPIES
# (default 10) and BOOKS_BENCH_TMP (default /tmp: it needs about 3 GB) change
# the defaults. Wall times mean little on a loaded machine: see user + sys.
set -euo pipefail

build=$(cd "${1:?usage: bench/books/search.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
book_gz=${BOOKS_BENCH_FILE:-$here/../../../shared/bench/games20k.pgn.gz}
runs=${BOOKS_BENCH_RUNS:-5}
copies=${BOOKS_BENCH_COPIES:-10}
search=$build/bin/books_search_bench
window=$build/bin/books_window_bench
for f in "$search" "$book_gz"; do
  [ -e "$f" ] || { echo "missing: $f" >&2; exit 1; }
done

tmp=$(mktemp -d "${BOOKS_BENCH_TMP:-/tmp}/books-search.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
zcat "$book_gz" > "$tmp/one.pgn"
for _ in $(seq "$copies"); do cat "$tmp/one.pgn"; done > "$tmp/book.pgn"
rm -f "$tmp/one.pgn"

echo "load: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
"$search" "$tmp/book.pgn" "$tmp" "$runs"
if [ -x "$window" ]; then
  # Fewer runs: each one converts the whole book again.
  QT_QPA_PLATFORM=offscreen "$window" "$tmp/book.pgn" "$(( runs < 3 ? runs : 3 ))" 2> /dev/null
else
  echo "books_window_bench not built (no Qt): window figures skipped"
fi
