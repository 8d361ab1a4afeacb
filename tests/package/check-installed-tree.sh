#!/usr/bin/env bash
# Checks an installation of the reader under ROOT/usr (made by `cmake --install --prefix
# ROOT/usr`, or by the package installed into a scratch root): every file in its place,
# the desktop entry, the AppStream metainfo, the icons and the man pages valid, and the
# installed programs working from there on the installed collection.
#
#   tests/package/check-installed-tree.sh ROOT
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
root=$(cd "$1" && pwd)
usr=$root/usr
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "-- $*"; }

step "files in their places"
desktop=("$usr"/share/applications/*.desktop)
[ ${#desktop[@]} -eq 1 ] && [ -f "${desktop[0]}" ] || fail "not one desktop entry: ${desktop[*]}"
id=$(basename "${desktop[0]}" .desktop)
collection=$usr/share/vultaria/output
for file in bin/vultaria bin/vultaria-render \
    share/metainfo/$id.metainfo.xml \
    share/icons/hicolor/scalable/apps/$id.svg \
    share/icons/hicolor/48x48/apps/$id.png \
    share/icons/hicolor/256x256/apps/$id.png \
    share/man/man1/vultaria.1.gz share/man/man1/vultaria-render.1.gz; do
  [ -f "$usr/$file" ] || fail "missing $file"
done
[ -x "$usr/bin/vultaria" ] && [ -x "$usr/bin/vultaria-render" ] || fail "the programs cannot be run"
diff -r "$source_dir/output" "$collection" >/dev/null || fail "the installed collection differs from output/"

step "icons"
for size in 48 256; do
  read -r width height < <(python3 - "$usr/share/icons/hicolor/${size}x$size/apps/$id.png" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read(24)
assert data[:8] == b'\x89PNG\r\n\x1a\n' and data[12:16] == b'IHDR', 'not a PNG file'
print(*struct.unpack('>II', data[16:24]))
PY
  )
  [ "$width x $height" = "$size x $size" ] || fail "the $size px icon is $width x $height"
done
grep -q '<svg' "$usr/share/icons/hicolor/scalable/apps/$id.svg" || fail "the scalable icon is no SVG"

step "desktop entry"
desktop-file-validate "${desktop[0]}"
grep -qx "Exec=vultaria" "${desktop[0]}" || fail "the desktop entry does not start vultaria"
grep -qx "Icon=$id" "${desktop[0]}" || fail "the desktop entry names another icon"

step "AppStream metainfo"
appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml"
appstreamcli validate-tree --no-net "$root"

step "man pages"
for page in vultaria vultaria-render; do
  zcat "$usr/share/man/man1/$page.1.gz" | groff -k -man -Tutf8 -ww -z 2>"$work/groff.txt"
  [ ! -s "$work/groff.txt" ] || fail "$page.1: $(cat "$work/groff.txt")"
  zcat "$usr/share/man/man1/$page.1.gz" | grep -q "^$page \\\\- " || fail "$page.1 names another program"
done

step "the programs"
# --help and --version need no windowing system at all.
help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr/bin/vultaria" --help)
[[ $help == "Uso: vultaria "* ]] || fail "vultaria --help: $help"
version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr/bin/vultaria" --version)
release=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$usr/share/metainfo/$id.metainfo.xml")
[ "$version" = "vultaria $release" ] || fail "vultaria --version says '$version', the metainfo $release"
version=$("$usr/bin/vultaria-render" --version)
[ "$version" = "vultaria-render $release" ] || fail "vultaria-render --version says '$version'"
page=$collection/dados/literatura/machado_de_assis.htm
"$usr/bin/vultaria-render" "$page" --text >"$work/page.txt"
grep -q "Machado de Assis" "$work/page.txt" || fail "vultaria-render --text lost the page"
"$usr/bin/vultaria-render" "$page" --width 600 --png "$work/page.png"
python3 - "$work/page.png" <<'PY' || fail "vultaria-render --png did not draw the page 600 px wide"
import struct, sys
data = open(sys.argv[1], 'rb').read(24)
width, height = struct.unpack('>II', data[16:24])
sys.exit(0 if data[:8] == b'\x89PNG\r\n\x1a\n' and width == 600 and height > 200 else 1)
PY

step "the installed reader on its collection"
before=$(cd "$collection" && find . | sort)
HOME=$work/home XDG_CACHE_HOME='' QT_QPA_PLATFORM=offscreen \
  "$usr/bin/vultaria" --screenshot "$work/window.png"
[ -s "$work/window.png" ] || fail "the reader did not show its window"
cached=$work/home/.cache/vultaria
[ -f "$cached/principal.txt" ] || fail "the home page is not in the user's cache"
! grep -q "##DATA" "$cached/principal.txt" || fail "the home page was not filled in"
cmp -s "$cached/main.css" "$collection/main.css" || fail "no copy of the style sheet beside it"
[ "$(cd "$collection" && find . | sort)" = "$before" ] || fail "the reader wrote into its installed collection"

step "--data still wins"
cp -r "$collection" "$work/mine"
HOME=$work/home QT_QPA_PLATFORM=offscreen \
  "$usr/bin/vultaria" --data "$work/mine" --screenshot "$work/mine.png"
[ -f "$work/mine/principal.txt" ] || fail "--data was not the collection shown"

echo "The installation under $root is complete and works."
