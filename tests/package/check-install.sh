#!/usr/bin/env bash
# Installs a build with `cmake --install` into a scratch folder and checks what it put
# there (check-installed-tree.sh).
#
#   tests/package/check-install.sh BUILD_DIR
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cmake --install "$build" --prefix "$scratch/usr" >/dev/null
"$(dirname "$0")/check-installed-tree.sh" "$scratch"
