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
build=$(cd "$build" && pwd)

# One X display, one sound server and one Wine session for the whole run, all of this run alone.
# A run without any of them, or one that runs no test, tests nothing and fails.
source "$root/tools/test-services.sh"
trap stop_test_services EXIT
if ! start_test_services "$build"; then
  echo "tools/test.sh: a service the tests need did not start; nothing was tested" >&2
  exit 1
fi

cd "$build"
ctest --output-on-failure --no-tests=error -j"$jobs" "$@"
