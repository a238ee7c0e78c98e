#!/usr/bin/env bash
# Sets up the machine (tools/bootstrap.sh), builds everything and runs every test under Wine.
# Usage: tools/test.sh [build-folder] [ctest arguments...]
# QZ_JOBS sets how many build and test jobs run at once (default: every core).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true
jobs=${QZ_JOBS:-$(nproc)}

"$root/tools/bootstrap.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$jobs"

# One X display and one sound server for the whole run.
source "$root/tools/test-services.sh"
start_test_services
trap stop_test_services EXIT

cd "$build"
ctest --output-on-failure -j"$jobs" "$@"
