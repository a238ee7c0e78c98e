#!/usr/bin/env bash
# Quits the host program while it holds a note on DirectSound, at blocks of 1024 and of 4096 frames,
# while parec records the null sink, and checks each recording for a clean end. Skips (77) when no
# sound server answers (the test services start one for the run).
# Usage: quit_recording.sh <wine-run.sh> <ui_quit_while_playing.exe>
set -u
runner=$1
program=$2
if ! command -v parec >/dev/null || ! pactl info >/dev/null 2>&1; then
  echo "PulseAudio is not running: start the test services"
  exit 77
fi
folder=$(mktemp -d)
recorder=
trap '[ -n "$recorder" ] && kill "$recorder" 2>/dev/null; rm -rf "$folder"' EXIT
result=0
for frames in 1024 4096; do
  parec --device=nul.monitor --format=s16le --rate=44100 --channels=2 --latency-msec=200 --raw "$folder/$frames.raw" &
  recorder=$!
  # Give the recorder time to connect on a busy machine.
  sleep 1
  "$runner" "$program" quit "$frames" || result=1
  # What the sound server still held reaches the recording.
  sleep 1
  kill "$recorder"
  wait "$recorder" 2>/dev/null
  recorder=
  "$runner" "$program" check "Z:${folder//\//\\}\\$frames.raw" || result=1
done
exit "$result"
