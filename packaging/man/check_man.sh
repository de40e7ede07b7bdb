#!/bin/sh
# The subcommands pandrel-cli(1) describes are exactly those that
# `pandrel-cli --help` lists, and each has its own entry.
#   check_man.sh PANDREL_CLI MAN_PAGE
set -eu
cli=$1
page=$2
listed=$("$cli" --help | sed -n 's/^  pandrel-cli \([^ -][^ ]*\).*/\1/p' | sort)
described=$(sed 's/\\-/-/g' "$page" | sed -n 's/^\\fBpandrel-cli \([^\\]*\)\\fR.*/\1/p' | sort)
if [ -z "$listed" ] || [ "$listed" != "$described" ]; then
    echo "man_page_subcommands: --help lists:" $listed >&2
    echo "man_page_subcommands: the page has:" $described >&2
    exit 1
fi
# Each global option is in the page too.
for option in $("$cli" --help | sed -n 's/^  \(--[a-z-]*\).*/\1/p'); do
    grep -q "^\\\\fB$(printf '%s' "$option" | sed 's/-/\\\\-/g')\\\\fR" "$page" ||
        { echo "man_page_subcommands: $option is not in the page" >&2; exit 1; }
done
echo "man_page_subcommands: $(echo $listed | wc -w) subcommands"
