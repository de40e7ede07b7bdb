#!/bin/sh
# Checks the Debian package `make package` built: its name, what it needs,
# and that it holds the same files as an install under /usr.
#   check_package.sh BUILD_DIR
set -eu
build=$1
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb="$build/pandrel_${version}_amd64.deb"
[ -f "$deb" ] || { echo "package-check: $deb is missing" >&2; exit 1; }

fail() { echo "package-check: $*" >&2; exit 1; }
field() { dpkg-deb -f "$deb" "$1"; }

[ "$(field Package)" = pandrel ] || fail "package name is $(field Package)"
[ "$(field Version)" = "$version" ] || fail "version is $(field Version)"
[ "$(field Architecture)" = amd64 ] || fail "architecture is $(field Architecture)"
depends=$(field Depends)
for need in libqt6widgets6 libqt6gui6 libqt6core6 libc6 libstdc++6 fonts-dejavu-core fonts-noto-core; do
  echo "$depends" | grep -q "$need" || fail "Depends lacks $need: $depends"
done
field Description | grep -q "chess diagram editor" || fail "no description"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR="$root/install" cmake --install "$build" --prefix /usr >/dev/null
(cd "$root/install" && find . -type f | sed 's|^\./|/|' | sort) >"$root/installed"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./|/|' | sort >"$root/packaged"
diff -u "$root/installed" "$root/packaged" || fail "the package and the install differ"

# The binaries are stripped and run from the unpacked tree.
dpkg-deb -x "$deb" "$root/unpacked"
file "$root/unpacked/usr/bin/pandrel-cli" | grep -q ", stripped" || fail "pandrel-cli is not stripped"
"$root/unpacked/usr/bin/pandrel-cli" --version | grep -q "^pandrel-cli $version$" || fail "--version"
echo "package-check: ok ($(du -k "$deb" | cut -f1) KiB, Depends: $depends)"
