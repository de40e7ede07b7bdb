#!/bin/sh
# Checks the Debian package `make package` built: its name, what it needs,
# that it holds the same files as an install under /usr, that lintian finds
# no error and no warning in it, and that its programs are hardened.
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
  # Each once.
  count=$(echo "$depends" | tr ',' '\n' | sed 's/^ *//; s/[ (].*//' | grep -cx "$need" || true)
  [ "$count" = 1 ] || fail "Depends names $need $count times: $depends"
done
field Description | grep -q "chess diagram editor" || fail "no description"
[ "$(field Section)" = graphics ] || fail "section is $(field Section)"
field Maintainer | grep -q "example\." && fail "the maintainer is a placeholder: $(field Maintainer)"
field Homepage | grep -q "example\." && fail "the homepage is a placeholder: $(field Homepage)"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR="$root/install" cmake --install "$build" --prefix /usr >/dev/null
(cd "$root/install" && find . -type f | sed 's|^\./|/|' | sort) >"$root/installed"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./|/|' | sort >"$root/packaged"
diff -u "$root/installed" "$root/packaged" || fail "the package and the install differ"

# The binaries are stripped and run from the unpacked tree.
dpkg-deb -x "$deb" "$root/unpacked"
file "$root/unpacked/usr/bin/pandrel-cli" | grep -q ", stripped" || fail "pandrel-cli is not stripped"
for program in pandrel pandrel-cli quillet; do
  [ "$(env -u DISPLAY "$root/unpacked/usr/bin/$program" --version)" = "$program $version" ] ||
    fail "$program --version is not $version"
done

# Debian's hardening: fortified calls, stack protector, PIE, RELRO and
# immediate binding (control-flow protection is no default of Debian 12).
command -v hardening-check >/dev/null || fail "hardening-check is missing (devscripts; scripts/setup.sh installs it)"
for program in pandrel pandrel-cli quillet; do
  hardening-check --nocfprotection "$root/unpacked/usr/bin/$program" >"$root/hardening" 2>&1 ||
    { cat "$root/hardening" >&2; fail "$program is not hardened"; }
done

# lintian, as strict as it goes: no error and no warning; informational
# tags only where the override file gives the reason.
command -v lintian >/dev/null || fail "lintian is missing (scripts/setup.sh installs it)"
lintian --pedantic --display-info "$deb" >"$root/lintian" 2>&1 || true
cat "$root/lintian"
if grep -q '^[EW]: ' "$root/lintian"; then
  fail "lintian reports errors or warnings"
fi
echo "package-check: ok ($(du -k "$deb" | cut -f1) KiB, Depends: $depends)"
