#!/usr/bin/env bash
# Builds the Debian package build/vultaria_VERSION_ARCH.deb (in $BUILD_DIR when set).
# With --check, then installs it into a scratch root and checks it there
# (tests/package/check-package.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
check=no
case "${1:-}" in
  --check) check=yes ;;
  "") ;;
  *) echo "Usage: scripts/package.sh [--check]" >&2; exit 2 ;;
esac
scripts/install-deps.sh
build=${BUILD_DIR:-build}
# The build run.sh uses, installed under /usr as the package is.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVULTARIA_TESTS=OFF \
  -DVULTARIA_SANITIZE=OFF -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
ninja -C "$build"
rm -f "$build"/vultaria_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
packages=("$build"/vultaria_*.deb)
[ ${#packages[@]} -eq 1 ] && [ -f "${packages[0]}" ] || { echo "cpack made no package" >&2; exit 1; }
echo "Package: ${packages[0]}"
dpkg-deb --field "${packages[0]}" Package Version Architecture Depends
if [ $check = yes ]; then
  tests/package/check-package.sh "${packages[0]}"
fi
