#!/bin/sh
# Installs the build into a scratch DESTDIR and compares the file list with
# the layout a user's system expects; then runs the installed pandrel-cli.
#   check_install.sh BUILD_DIR SOURCE_DIR
set -eu
build=$1
source=$2
# The shipped copy of a data file, "" when the tree has none (the same
# folders as the install rule, first found wins).
shipped() {
  for d in app/styles data settings/data diagram/data engines/data; do
    if [ -f "$source/$d/$1" ]; then echo "$source/$d/$1"; return; fi
  done
}
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

DESTDIR="$root" cmake --install "$build" --prefix /usr/local >/dev/null

expected="$root/expected"
actual="$root/actual"
{
  for p in bin/pandrel bin/pandrel-cli bin/quillet \
           share/doc/pandrel/pandrel.html share/doc/pandrel/copyright share/doc/pandrel/changelog.gz \
           share/applications/org.pandrel.Pandrel.desktop share/applications/org.pandrel.Quillet.desktop \
           share/metainfo/org.pandrel.Pandrel.metainfo.xml \
           share/mime/packages/pandrel.xml \
           share/doc-base/pandrel.pandrel-manual \
           share/man/man1/pandrel.1.gz share/man/man1/pandrel-cli.1.gz share/man/man1/quillet.1.gz; do
    echo "usr/local/$p"
  done
  for id in org.pandrel.Pandrel org.pandrel.Quillet; do
    echo "usr/local/share/icons/hicolor/scalable/apps/$id.svg"
    for s in 48 128 256; do echo "usr/local/share/icons/hicolor/${s}x${s}/apps/$id.png"; done
  done
  for f in Pandrel.ini Py.dat; do
    if [ -n "$(shipped "$f")" ]; then echo "usr/local/share/pandrel/$f"; fi
  done
} | sort >"$expected"
(cd "$root" && find usr -type f -o -type l) | sort >"$actual"
if ! diff -u "$expected" "$actual"; then
  echo "install_layout: the installed files differ from the expected list" >&2
  exit 1
fi

# The fixed-size icons have their sizes.
for s in 48 128 256; do
  file "$root/usr/local/share/icons/hicolor/${s}x${s}/apps/org.pandrel.Pandrel.png" | grep -q "$s x $s" ||
    { echo "install_layout: the ${s}px icon is not ${s} x ${s}" >&2; exit 1; }
done

# The installed entries still validate where they lie.
desktop-file-validate "$root"/usr/local/share/applications/*.desktop

# An installed copy keeps its settings in the user's data folder, seeded from
# share/pandrel, and writes nothing beside its executable.
data="$root/data"
XDG_DATA_HOME="$data" "$root/usr/local/bin/pandrel-cli" fen K7/8/8/8/8/8/8/8 >/dev/null
[ -d "$data/Pandrel" ] || { echo "install_layout: $data/Pandrel was not created" >&2; exit 1; }
for f in Pandrel.ini Py.dat; do
  from=$(shipped "$f")
  if [ -n "$from" ] && ! cmp -s "$from" "$data/Pandrel/$f"; then
    echo "install_layout: $f was not seeded into the data folder" >&2
    exit 1
  fi
done
[ "$(ls "$root/usr/local/bin")" = "$(printf 'pandrel\npandrel-cli\nquillet')" ] ||
  { echo "install_layout: something was written into bin/" >&2; exit 1; }
# A data folder other users could change is refused, with the reason, and
# nothing is made there.
mkdir -m 0777 "$root/open"
status=0
XDG_DATA_HOME="$root/open" "$root/usr/local/bin/pandrel-cli" fen K7/8/8/8/8/8/8/8 >/dev/null 2>"$root/err" || status=$?
[ "$status" = 1 ] && grep -q "not safe" "$root/err" && [ ! -e "$root/open/Pandrel" ] ||
  { echo "install_layout: a data folder open to all was used (status $status)" >&2; exit 1; }
# The versions come without a window, even with no display to open one on,
# and are the same for the three programs.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
for program in pandrel-cli pandrel quillet; do
  [ "$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/local/bin/$program" --version)" = "$program $version" ] ||
    { echo "install_layout: $program --version is not $version" >&2; exit 1; }
done
# The manual pages are compressed roff that man reads without complaint.
for page in pandrel pandrel-cli quillet; do
  gzip -t "$root/usr/local/share/man/man1/$page.1.gz"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$root/usr/local/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "install_layout: $page.1: $warnings" >&2; exit 1; }
done
echo "install_layout: ok"
