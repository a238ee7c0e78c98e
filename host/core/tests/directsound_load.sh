#!/usr/bin/env bash
# Runs the DirectSound start/stop cycles and records the null sink while the last start plays its
# tone, then checks the recording for that tone. Fails when the sound server is not running or
# there is no DirectSound device.
# Usage: directsound_load.sh <wine-run.sh> <load test program> <drivers_directsound_play.exe>
set -u
runner=$1
program=$2
checker=$3
source "$(dirname "$0")/../../../tests/support/sink-recording.sh"
start_sink_recordings
export QZ_SIGNAL_FOLDER="$(windows_path "$folder")\\"
"$runner" "$program" &
test=$!
while [ ! -e "$folder/playing" ] && kill -0 "$test" 2>/dev/null; do sleep 0.1; done
if [ -e "$folder/playing" ]; then
  start_recording "$folder/recording.raw"
  # The recorder takes up to a second to connect; the tone plays for five.
  sleep 3.5
  stop_recording
fi
wait "$test"
result=$?
[ "$result" -eq 0 ] || exit "$result"
if [ ! -e "$folder/playing" ]; then
  echo "no DirectSound device"
  exit 1
fi
"$runner" "$checker" check "$(windows_path "$folder/recording.raw")"
