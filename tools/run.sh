#!/usr/bin/env bash
# Sets up the machine, builds both programs and starts quillam playing zintara3 under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}

"$root/tools/bootstrap.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)"
build=$(cd "$build" && pwd)

source "$root/tools/test-services.sh"
# The desktop's own display and sound server when there are any; else private ones, as for the tests.
trap stop_test_services EXIT
[ -n "${DISPLAY:-}" ] || start_display
pulseaudio --check >/dev/null 2>&1 || start_sound_server
start_wine_session "$build"
"$root/tools/wine-run.sh" "$build/bin/quillam.exe" "$(winepath -w "$build/bin/zintara3.dll")"
