#!/usr/bin/env bash
# Builds in Release and runs the benchmarks, median of 5 repetitions each.
#   bench/run.sh [FILTER]    e.g. bench/run.sh StartUp
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --bench
build=build-bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVULTARIA_TESTS=OFF \
  -DVULTARIA_SANITIZE=OFF -DVULTARIA_BENCHMARKS=ON >/dev/null
ninja -C "$build"
filter=${1:-.}
repeat=(--benchmark_repetitions=5 --benchmark_report_aggregates_only=true --benchmark_filter="$filter")
export QT_QPA_PLATFORM=offscreen QT_ENABLE_HIGHDPI_SCALING=0

# The main window: the bundled collection against a generated one of 200,000 biographies.
big=$build/collections/n200000
if [ ! -f "$big/lista_nome.txt" ]; then
  python3 tools/collection/generate.py --count 200000 --out "$big" --no-pages
fi
"$build/bin/bench_app" --collection bundled="$build/bin/output" --collection n200000="$big" "${repeat[@]}"

for program in "$build"/bin/bench_*; do
  [ "$(basename "$program")" = bench_app ] && continue
  "$program" "${repeat[@]}"
done
