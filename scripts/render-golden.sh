#!/bin/sh
# Renders every shipped style and a few odd ones over several positions in
# every format, with the book and sheet commands, and saves each style
# block: run it on two builds and compare the folders with `cmp`/`diff -r`
# to see that nothing drawn or written changed. PDF creation dates and
# document ids are masked.
#   scripts/render-golden.sh OUTDIR [BUILDDIR]
set -eu
# Qt orders the fonts of a PDF by a hash seeded afresh in each run unless
# the seed is fixed.
export QT_HASH_SEED=0
out=${1:?usage: render-golden.sh OUTDIR [BUILDDIR]}
build=${2:-build}
src=$(cd "$(dirname "$0")/.." && pwd)
cli="$build/bin/pandrel-cli"
mkdir -p "$out"
out=$(cd "$out" && pwd)
app="$out/appdir"
mkdir -p "$app"
# The shipped styles, then odd ones: pitches and picture size 0, boards of
# 10 x 10 and 20 x 20, and one of 500 squares the program sets back to 8 x 8.
{
    cat "$src/app/styles/Pandrel.ini"
    printf 'BeginStyle = Odd Pitches\r\n  SqrWidth = 30\r\n  SqrHeight = 26\r\n  SqrHTab = 0\r\n  SqrVTab = 0\r\n  SqrHSpc = 2\r\n  XBase = 5\r\n  WndWidth = 0\r\n  WndHeight = 0\r\n  FrameWidth = 2\r\n  FrameColor = &H0000FF\r\nEndStyle\r\n'
    printf 'BeginStyle = Ten\r\n  PiecesFont = FreeSerif\r\n  SqrWidth = 24\r\n  SqrHeight = 24\r\n  BorderWidth = 10\r\n  BorderHeight = 10\r\n  ShowGrid = Yes\r\n    FontPos = CENTER DOWN\r\nEndStyle\r\n'
    printf 'BeginStyle = Twenty\r\n  SqrWidth = 15\r\n  SqrHeight = 15\r\n  BorderWidth = 20\r\n  BorderHeight = 20\r\n  FrameWidth = 1\r\nEndStyle\r\n'
    printf 'BeginStyle = Oversized\r\n  PiecesFont = FreeSerif\r\n  SqrWidth = 20\r\n  SqrHeight = 20\r\n  BorderWidth = 25\r\n  BorderHeight = 20\r\n  WndWidth = 0\r\nEndStyle\r\n'
} >"$app/Pandrel.ini"

start='rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR'
fairy='g2G4/1z3Z2/2x2X2/a6A/8/8/8/K6k'
ffen='-*2q6*1Q/8/c7/3-k4/8/8/8/K7'
ten='K9/10/10/4qQ5/10/10/10/10/10/9k'
twenty='K19/20/20/20/20/20/20/20/20/9Q10/20/20/20/20/20/20/20/20/20/19k'
printf '%s\n' "$start" "$fairy" 'r3k2r/8/8/8/8/8/8/R3K2R' >"$out/book.fen"

# Masks what a PDF holds of the time it was made.
mask() {
    case "$1" in
        *.pdf) perl -0777 -pi -e 's/\/CreationDate \(D:[^)]*\)/\/CreationDate (D:masked)/g; s/\/ID \[[^]]*\]/\/ID [masked]/g' "$1" ;;
    esac
}

run() {
    "$cli" --appdir "$app" "$@" >>"$out/log.txt" 2>&1 || echo "exit $? $*" >>"$out/log.txt"
}

styles=$(grep -a '^BeginStyle = ' "$app/Pandrel.ini" | sed 's/^BeginStyle = //; s/\r$//')
echo "$styles" | while IFS= read -r style; do
    tag=$(echo "$style" | tr ' ' '_')
    n=0
    for text in "$start" "$fairy" "$ten" "$twenty"; do
        n=$((n + 1))
        for fmt in bmp png svg pdf; do
            for variant in plain reversed scaled captions; do
                file="$out/$tag-$n-$variant.$fmt"
                case $variant in
                    plain) run --style "$style" render -o "$file" "$text" ;;
                    reversed) run --style "$style" render --reversed -o "$file" "$text" ;;
                    scaled) run --style "$style" render --scale 1.5 --reversed -o "$file" "$text" ;;
                    captions) run --style "$style" render --captions --author 'A. Author' \
                        --stipulation '#2' --source 'Some Source 1990' -o "$file" "$text" ;;
                esac
                [ -f "$file" ] && mask "$file"
            done
        done
    done
    file="$out/$tag-ffen.png"
    run --style "$style" render --notation ffen -o "$file" "$ffen"
    run --style "$style" render --notation ffen --reversed --format svg -o "$out/$tag-ffen.svg" "$ffen"
    for fmt in png svg pdf bmp; do
        dir="$out/$tag-book-$fmt"
        run --style "$style" render-book "$out/book.fen" -o "$dir" --format "$fmt" --positions all --captions
        for f in "$dir"/*; do mask "$f"; done
    done
    run --style "$style" render-book "$out/book.fen" -o "$out/$tag-book-scaled" --format png --scale 2
    run --style "$style" sheet "$out/book.fen" -o "$out/$tag-sheet.pdf" --per-page 4 --captions
    [ -f "$out/$tag-sheet.pdf" ] && mask "$out/$tag-sheet.pdf"
done

# Saving: each block as the style editor writes it.
g++ -std=c++20 -I"$src" "$src/scripts/save_styles.cpp" "$build/settings/libsettings_core.a" \
    "$build/position/libposition_core.a" "$build/platform/libplatform_core.a" -o "$out/save_styles"
"$out/save_styles" "$app/Pandrel.ini" >"$out/saved.txt"
rm -f "$out/save_styles"
echo "$(find "$out" -type f | wc -l) files in $out"
