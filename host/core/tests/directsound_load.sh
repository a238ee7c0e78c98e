#!/usr/bin/env bash
# Runs the DirectSound start/stop cycles and records the null sink while the last start plays its
# tone, then checks the recording for that tone. Fails when the sound server is not running or
# there is no DirectSound device.
# Usage: directsound_load.sh <wine-run.sh> <load test program> <drivers_directsound_play.exe>
set -u
runner=$1
program=$2
checker=$3
if ! command -v parec >/dev/null || ! pactl info >/dev/null 2>&1; then
  echo "PulseAudio is not running: run the tests with the test command, which starts it"
  exit 1
fi
folder=$(mktemp -d)
recorder=
trap '[ -n "$recorder" ] && kill "$recorder" 2>/dev/null; rm -rf "$folder"' EXIT
export QZ_SIGNAL_FOLDER="Z:${folder//\//\\}\\"
"$runner" "$program" &
test=$!
while [ ! -e "$folder/playing" ] && kill -0 "$test" 2>/dev/null; do sleep 0.1; done
if [ -e "$folder/playing" ]; then
  parec --device=nul.monitor --format=s16le --rate=44100 --channels=2 --latency-msec=200 --raw "$folder/recording.raw" &
  recorder=$!
  # The recorder takes up to a second to connect; the tone plays for five.
  sleep 3.5
  kill "$recorder"
  wait "$recorder" 2>/dev/null
  recorder=
fi
wait "$test"
result=$?
[ "$result" -eq 0 ] || exit "$result"
if [ ! -e "$folder/playing" ]; then
  echo "no DirectSound device"
  exit 1
fi
"$runner" "$checker" check "Z:${folder//\//\\}\\recording.raw"
