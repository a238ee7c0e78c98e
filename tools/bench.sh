#!/usr/bin/env bash
# Builds and runs every benchmark program under Wine; they print their figures.
# QZ_JOBS sets how many build jobs run at once (default: every core).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}

"$root/tools/bootstrap.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"${QZ_JOBS:-$(nproc)}"
for bench in "$build"/bin/bench_*.exe; do
  [ -e "$bench" ] || continue
  echo "== $(basename "$bench" .exe)"
  "$root/tools/wine-run.sh" "$bench"
done
