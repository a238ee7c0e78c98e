#!/usr/bin/env bash
# Plays a sine through the DirectSound driver into PulseAudio's null sink while parec records the
# sink's monitor, then checks the recording. Fails when no sound server answers (the test
# services start one for the run).
# Usage: directsound_e2e.sh <wine-run.sh> <drivers_directsound_play.exe>
set -u
runner=$1
program=$2
if ! command -v parec >/dev/null || ! pactl info >/dev/null 2>&1; then
  echo "PulseAudio is not running: run the tests with the test command, which starts it"
  exit 1
fi
folder=$(mktemp -d)
trap 'kill "$recorder" 2>/dev/null; rm -rf "$folder"' EXIT
parec --device=nul.monitor --format=s16le --rate=44100 --channels=2 --latency-msec=200 --raw "$folder/recording.raw" &
recorder=$!
# Give the recorder time to connect on a busy machine.
sleep 1
"$runner" "$program" play 4
played=$?
sleep 1
kill "$recorder"
wait "$recorder" 2>/dev/null
[ "$played" -eq 0 ] || exit "$played"
"$runner" "$program" check "Z:${folder//\//\\}\\recording.raw"
