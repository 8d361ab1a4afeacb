#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
build=${BUILD_DIR:-build-test}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVULTARIA_SANITIZE=ON -DVULTARIA_TESTS=ON >/dev/null
ninja -C "$build"
export QT_QPA_PLATFORM=offscreen QT_ENABLE_HIGHDPI_SCALING=0
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd "$build"
# Once in the plain C locale and once in our users' own (install-deps.sh generates it),
# so nothing the tests check may follow the process locale.
for locale in C pt_BR.UTF-8; do
  echo "Tests under the $locale locale"
  LC_ALL=$locale LANG=$locale ctest --output-on-failure -j"$(nproc)" --timeout 600
done
