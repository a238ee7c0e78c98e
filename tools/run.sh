#!/usr/bin/env bash
# Sets up the machine, builds both programs and starts quillam playing zintara3 under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}

"$root/tools/bootstrap.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
# The two programs and what they are made of; the tests are left to tools/test.sh.
cmake --build "$build" -j"$(nproc)" --target quillam zintara3
build=$(cd "$build" && pwd)

# Without settings the program starts silent and asks about the audio in a dialog, which nobody can
# answer on a private display: settings that play DirectSound go beside it then. Settings that are
# there already are left as they are.
source "$root/tools/directsound-config.sh"
[ -e "$build/bin/Quillam.cfg" ] || write_directsound_config "$build/bin/Quillam.cfg"

source "$root/tools/test-services.sh"
# The desktop's own display and sound server when there are any; else private ones, as for the tests.
trap stop_test_services EXIT
[ -n "${DISPLAY:-}" ] || start_display
pulseaudio --check >/dev/null 2>&1 || start_sound_server
start_wine_session "$build"
"$root/tools/wine-run.sh" "$build/bin/quillam.exe" "$(winepath -w "$build/bin/zintara3.dll")"
