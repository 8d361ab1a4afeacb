#!/usr/bin/env bash
# Installs what is missing, builds, and opens the reader on the bundled collection.
# Without a display it runs under Xvfb and saves a screenshot instead.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVULTARIA_TESTS=OFF -DVULTARIA_SANITIZE=OFF >/dev/null
ninja -C "$build" vultaria collection
reader="$build/bin/vultaria"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$reader" "$@"
fi
shot="$build/screenshot.png"
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$reader" --screenshot "$shot" "$@"
echo "No display: the reader ran under Xvfb; its window is in $shot"
