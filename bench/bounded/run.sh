#!/usr/bin/env bash
# Peak memory and time of pandrel-cli on inputs built to exhaust a reader:
# deep nesting of variations and comments, a line of 100 MB, a PBM file
# whose count names 65536 problems it has not got, a FEN of 100,000
# characters. Each runs at two sizes, so that the growth can be read off.
#
#   bench/bounded/run.sh BUILD_DIR
set -euo pipefail

build=$(cd "${1:?usage: bench/bounded/run.sh BUILD_DIR}" && pwd)
cli=$build/bin/pandrel-cli
[ -x "$cli" ] || { echo "missing: $cli" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "missing: /usr/bin/time (Debian package time)" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/app"

# Prints: name, peak resident set in MB, wall seconds, exit status.
measure() {
  local name=$1
  shift
  local status=0
  /usr/bin/time -v -o "$tmp/time.txt" "$@" >/dev/null 2>"$tmp/err.txt" || status=$?
  local rss wall
  rss=$(awk -F': ' '/Maximum resident set size/ {printf "%.1f", $2 / 1024}' "$tmp/time.txt")
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "$tmp/time.txt")
  printf '%-34s peak %8s MB  wall %10s  exit %s\n' "$name" "$rss" "$wall" "$status"
}

repeat() {  # repeat TEXT COUNT: TEXT COUNT times, no line end
  python3 -c 'import sys; sys.stdout.write(sys.argv[1] * int(sys.argv[2]))' "$1" "$2"
}

for n in 1000000 2000000; do
  for open in '(' '{'; do
    f=$tmp/nested.pgn
    { printf '[Event "deep"]\n\n1. e4 '; repeat "$open" "$n"; printf ' e5 *\n'; } > "$f"
    measure "PGN $n nested '$open'" "$cli" book --appdir "$tmp/app" "$f"
  done
done

for mb in 50 100; do
  f=$tmp/long.pgn
  { printf '[Event "long"]\n\n1. e4 '; repeat x $((mb * 1024 * 1024)); printf ' e5 *\n'; } > "$f"
  measure "PGN line of $mb MB, one token" "$cli" book --appdir "$tmp/app" "$f"
  { printf '[Event "long"]\n\n1. e4 {'; repeat 'word ' $((mb * 1024 * 1024 / 5)); printf '} e5 *\n'; } > "$f"
  measure "PGN line of $mb MB, a comment" "$cli" book --appdir "$tmp/app" "$f"
  f=$tmp/long.fen
  { repeat x $((mb * 1024 * 1024)); printf '\n'; } > "$f"
  measure "FEN book line of $mb MB" "$cli" book --appdir "$tmp/app" "$f"
done

# The count field says 65536 problems; the file holds one or none.
f=$tmp/huge.pbm
printf '\xff\xff' > "$f"
measure "PBM count 65536, no problem" "$cli" book --appdir "$tmp/app" "$f"
python3 - "$f" <<'PY'
import sys
head = bytes([0xff, 0xff])
count = 1000
empty_string = 2 + count * 96          # a length of 0 after the problems
ref = empty_string.to_bytes(3, "little") + b"\0"
problem = bytes([0, 0, 2, 2]) + ref * 7 + bytes([32] * 64)
open(sys.argv[1], "wb").write(head + problem * count + bytes(2))
PY
measure "PBM count 65536, 1000 problems" "$cli" book --appdir "$tmp/app" "$f"

for n in 100000 200000; do
  fen=$(repeat 'K7/' $((n / 3)))
  measure "FEN of $n characters (fen)" "$cli" fen --appdir "$tmp/app" "$fen"
  printf '%s\n' "$fen" > "$tmp/one.fen"
  measure "FEN of $n characters (book)" "$cli" book --appdir "$tmp/app" "$tmp/one.fen"
done
