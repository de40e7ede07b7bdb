#!/bin/sh
# Writes a manual page from a program's own --help and a hand-written
# template, so that the page lists every subcommand and option the program
# has. The template is roff with lines standing for the generated parts:
#   @SYNOPSIS@     the usage lines
#   @TEXT@         the free text of the usage, as a paragraph
#   @SUBCOMMANDS@  one entry per "  PROGRAM SUBCOMMAND ARGS   what" line
#   @OPTIONS@      one entry per "  --option ARG   what" line (or
#                  "  PROGRAM --option   what")
# and @VERSION@ anywhere for the version.
#   make_man.sh PROGRAM TEMPLATE VERSION OUTPUT
set -eu
program=$1
template=$2
version=$3
output=$4
name=$(basename "$program")

help=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen "$program" --help)

generated=$(printf '%s\n' "$help" | awk -v prog="$name" '
function roff(s) {
    gsub(/\\/, "\\e", s)
    gsub(/-/, "\\-", s)
    sub(/^[.\047]/, "\\\\&&", s)
    return s
}
# "USAGE   WHAT": the usage and the explanation, split at the first run of
# three blanks.
function entry(tag, rest,    at, usage, what) {
    if (rest ~ /^   /) {
        usage = ""  # no arguments: the explanation follows the name
        what = rest
    } else {
        sub(/^ /, "", rest)
        at = index(rest, "   ")
        usage = at ? substr(rest, 1, at - 1) : rest
        what = at ? substr(rest, at) : ""
    }
    sub(/^ +/, "", what)
    out = ".TP\n\\fB" roff(tag) "\\fR"
    if (usage != "") out = out " " roff(usage)
    out = out "\n"
    if (what != "") out = out roff(what) "\n"
    return out
}
/^usage: / { line = substr($0, 8); synopsis = synopsis "\\fB" roff(prog) "\\fR" roff(substr(line, length(prog) + 1)) "\n.br\n"; next }
/^       / && synopsis != "" && subs == "" && opts == "" {
    line = $0; sub(/^ +/, "", line)
    synopsis = synopsis "\\fB" roff(prog) "\\fR" roff(substr(line, length(prog) + 1)) "\n.br\n"
    next
}
index($0, "  " prog " ") == 1 {
    rest = substr($0, length(prog) + 4)
    word = rest; sub(/ .*/, "", word)
    tail = substr(rest, length(word) + 1)
    if (word ~ /^-/) opts = opts entry(word, tail)
    else subs = subs entry(prog " " word, tail)
    next
}
/^  -/ {
    rest = substr($0, 3)
    word = rest; sub(/ .*/, "", word)
    opts = opts entry(word, substr(rest, length(word) + 1))
    next
}
/^  / { line = $0; sub(/^ +/, "", line); text = text roff(line) "\n"; next }
END {
    printf "%s", "@@SYNOPSIS\n" synopsis "@@TEXT\n" text "@@SUBCOMMANDS\n" subs "@@OPTIONS\n" opts
}')

# One part of the generated text, by its @@ heading.
part() {
    printf '%s\n' "$generated" | awk -v want="@@$1" '/^@@/ { on = ($0 == want); next } on'
}

tmp="$output.tmp.$$"
trap 'rm -f "$tmp"' EXIT
while IFS= read -r line || [ -n "$line" ]; do
    case $line in
    @SYNOPSIS@) part SYNOPSIS ;;
    @TEXT@) part TEXT ;;
    @SUBCOMMANDS@) part SUBCOMMANDS ;;
    @OPTIONS@) part OPTIONS ;;
    *) printf '%s\n' "$line" | sed "s/@VERSION@/$version/g" ;;
    esac
done <"$template" >"$tmp"
mv "$tmp" "$output"
