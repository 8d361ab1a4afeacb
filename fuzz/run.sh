#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs one of them.
#   fuzz/run.sh NAME [SECONDS]     e.g. fuzz/run.sh style_sheet 600
# New crashers land in fuzz/findings/NAME/; copy each one, under a name that says
# what it broke, into fuzz/regressions/NAME/ once fixed, so the tests replay it.
set -euo pipefail
cd "$(dirname "$0")/.."
name=${1:?usage: fuzz/run.sh NAME [SECONDS]}
seconds=${2:-60}
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DVULTARIA_FUZZ=ON -DVULTARIA_TESTS=OFF >/dev/null
ninja -C build-fuzz "fuzz_${name}"
corpus=build-fuzz/corpus/$name
findings=fuzz/findings/$name
mkdir -p "$corpus" "$findings"
seeds=()
[ -d "fuzz/seeds/$name" ] && seeds+=("fuzz/seeds/$name")
[ -d "fuzz/regressions/$name" ] && seeds+=("fuzz/regressions/$name")
# The bundled collection seeds the page and picture readers.
case "$name" in
  html_*) for folder in output/dados/*/; do seeds+=("$folder"); done ;;
  picture_loader) seeds+=(output/dados/imagens fuzz/seeds/png fuzz/seeds/gif) ;;
esac
# A target's dictionary of tag and attribute names, when it has one.
options=()
for dict in fuzz/*/"$name".dict; do
  if [ -f "$dict" ]; then options+=("-dict=$dict"); fi
done
QT_QPA_PLATFORM=offscreen "build-fuzz/bin/fuzz_${name}" "$corpus" "${seeds[@]}" "${options[@]}" \
  -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -timeout=10 \
  -artifact_prefix="$findings/" -print_final_stats=1
