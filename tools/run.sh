#!/usr/bin/env bash
# Sets up the machine, builds both programs and starts quillam playing zintara3 under Wine
# (tools/play.sh, which Ctrl+C ends as the program's own quit does).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}

"$root/tools/bootstrap.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
# The two programs and what they are made of; the tests are left to tools/test.sh.
cmake --build "$build" -j"$(nproc)" --target quillam zintara3
exec "$root/tools/play.sh" "$build/bin"
