#!/usr/bin/env bash
# Converts books with two builds of books_convert_bench and compares the work
# files and position indexes byte for byte: a change meant only to make
# conversion faster must leave both exactly as they were.
#
#   bench/books/same_output.sh OLD_BENCH NEW_BENCH BOOK...
#
# Besides each book as given, a damaged copy of each PGN book is converted
# too (move texts cut, letters swapped, annotations and odd characters
# thrown in), so that the move interpreter's handling of odd input is
# compared as well as that of ordinary games.
set -euo pipefail

old=${1:?usage: bench/books/same_output.sh OLD_BENCH NEW_BENCH BOOK...}
new=${2:?usage: bench/books/same_output.sh OLD_BENCH NEW_BENCH BOOK...}
shift 2
[ $# -gt 0 ] || { echo "usage: bench/books/same_output.sh OLD_BENCH NEW_BENCH BOOK..." >&2; exit 2; }

tmp=$(mktemp -d "${TMPDIR:-/tmp}/same-output.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

books=()
n=0
for book in "$@"; do
  n=$((n + 1))
  case "$book" in
    *.gz) zcat "$book" > "$tmp/book$n.pgn"; book=$tmp/book$n.pgn ;;
  esac
  books+=("$book")
  case "$book" in
    *.pgn | *.PGN)
      # A fixed seed: the same damage every run.
      awk 'BEGIN { srand(27) }
        /^\[/ { print; next }
        {
          out = ""
          n = split($0, w, " ")
          for (i = 1; i <= n; i++) {
            t = w[i]; r = rand()
            if (r < 0.02) t = substr(t, 1, length(t) - 1)
            else if (r < 0.04) t = toupper(t)
            else if (r < 0.06) t = tolower(t)
            else if (r < 0.07) t = t "!?"
            else if (r < 0.08) t = t "=Q"
            else if (r < 0.09) t = "x" t
            else if (r < 0.10) t = t "ep"
            else if (r < 0.11) t = substr(t, 2)
            else if (r < 0.12) t = "Kd4"
            else if (r < 0.13) t = "Nb" t
            else if (r < 0.135) t = t "9"
            else if (r < 0.14) t = "O-O-O"
            out = out (i > 1 ? " " : "") t
          }
          print out
        }' "$book" > "$tmp/damaged$n.pgn"
      books+=("$tmp/damaged$n.pgn")
      ;;
  esac
done

# The index's header holds the work file's modification time (word 9, bytes
# 72 to 79), which differs from run to run: it is blanked before comparing.
blank_time() {
  [ -e "$1" ] && dd if=/dev/zero of="$1" bs=1 seek=72 count=8 conv=notrunc status=none
  return 0
}

status=0
for book in "${books[@]}"; do
  "$old" "$book" "$tmp/old.tmp" > "$tmp/old.counts"
  "$new" "$book" "$tmp/new.tmp" > "$tmp/new.counts"
  blank_time "$tmp/oldx.tmp"
  blank_time "$tmp/newx.tmp"
  for f in counts tmp x.tmp; do
    a=$tmp/old.$f
    b=$tmp/new.$f
    [ "$f" = x.tmp ] && a=$tmp/oldx.tmp && b=$tmp/newx.tmp
    if [ -e "$a" ] || [ -e "$b" ]; then
      if ! cmp -s "$a" "$b"; then
        echo "DIFFERS: $(basename "$book"): $(basename "$a") and $(basename "$b")"
        status=1
      fi
    fi
  done
  echo "$(basename "$book"): $(cat "$tmp/new.counts"), work $(stat -c %s "$tmp/new.tmp") bytes, index $(stat -c %s "$tmp/newx.tmp" 2>/dev/null || echo none) bytes"
  rm -f "$tmp"/old*.tmp "$tmp"/new*.tmp
done
[ "$status" = 0 ] && echo "work files and indexes: the same byte for byte"
exit "$status"
