#!/usr/bin/env bash
# Checks the Debian package: installs it with dpkg into a scratch root that knows this
# machine's installed packages (so each dependency must be a real package, installed
# here at a version that satisfies it), checks that the dependencies name the package of
# every library the programs are linked with, of the windowing plugin and of the fonts,
# checks the installation there (check-installed-tree.sh) and removes it, which must
# leave nothing behind.
#
#   tests/package/check-package.sh PACKAGE.deb
set -euo pipefail
deb=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "-- $*"; }

admin=$root/var/lib/dpkg
mkdir -p "$admin/info" "$admin/updates" "$admin/triggers"
cp /var/lib/dpkg/status "$admin/status"
touch "$admin/available"
# The installed packages' files stay on the real system: the scratch root lists none.
dpkg-query --show --showformat='${db:Status-Abbrev} ${binary:Package}\n' |
  awk '$1 == "ii" { print $2 ".list" }' | (cd "$admin/info" && xargs touch --)
# Triggers belong to the packages of the real system (the icon cache, the man database):
# they are not run for a scratch root.
dpkg=(dpkg --root="$root" --log=/dev/null --no-triggers)
if [ "$(id -u)" -ne 0 ]; then
  dpkg=(fakeroot "${dpkg[@]}" --force-not-root)
fi

step "installing $(basename "$deb") into a scratch root"
"${dpkg[@]}" --install "$deb"
status=$(dpkg-query --admindir="$admin" --show --showformat='${Status}' vultaria)
case $status in
  "install ok installed" | "install ok triggers-awaited") ;;
  *) fail "the package is '$status' after installing" ;;
esac

step "dependencies"
depends=$(dpkg-deb --field "$deb" Depends)
echo "Depends: $depends"
# The package names, without versions, alternatives taken one by one.
mapfile -t named < <(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*)//; s/:any//; s/[[:space:]]//g' | grep .)
declare -A depended=()
for name in "${named[@]}"; do depended[$name]=1; done
owner() {
  local file=$1 found
  for candidate in "$file" "$(realpath "$file")"; do
    found=$(dpkg-query --search "$candidate" 2>/dev/null | grep -v '^diversion' | head -n1 | cut -d: -f1 | cut -d, -f1) || true
    [ -n "$found" ] && { echo "$found"; return; }
  done
  fail "no package owns $file"
}
for program in "$root"/usr/bin/*; do
  libraries=$(ldd "$program")
  grep -q "not found" <<<"$libraries" && fail "$(basename "$program") misses a library: $libraries"
  for needed in $(readelf --dynamic "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    path=$(awk -v lib="$needed" '$1 == lib && $2 == "=>" { print $3 }' <<<"$libraries")
    [ -n "$path" ] || fail "$(basename "$program") needs $needed, which ldd does not find"
    package=$(owner "$path")
    [ -n "${depended[$package]:-}" ] || fail "$(basename "$program") needs $needed from $package, which is not a dependency"
  done
done
qt_core=$(ldd "$root/usr/bin/vultaria" | awk '$1 ~ /^libQt6Core/ { print $3 }')
platform_plugin=$(dirname "$(realpath "$qt_core")")/qt6/plugins/platforms/libqxcb.so
package=$(owner "$platform_plugin")
[ -n "${depended[$package]:-}" ] || fail "the X11 windowing plugin's package $package is not a dependency"
for fonts in fonts-liberation2 fonts-dejavu-core; do
  [ -n "${depended[$fonts]:-}" ] || fail "the fonts $fonts are not a dependency"
done

step "the installed files"
"$here/check-installed-tree.sh" "$root"

step "removing the package"
"${dpkg[@]}" --purge vultaria
left=$(find "$root/usr" ! -type d 2>/dev/null || true)
[ -z "$left" ] || fail "removing the package left: $left"
[ ! -e "$root/usr/share/vultaria" ] || fail "removing the package left share/vultaria"

echo "The package installs, works and removes cleanly."
