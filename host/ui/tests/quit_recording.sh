#!/usr/bin/env bash
# Quits the host program while it holds a note on DirectSound, at blocks of 1024 and of 4096 frames,
# while parec records the null sink, and checks each recording for a clean end. Fails when no
# sound server answers.
# Usage: quit_recording.sh <wine-run.sh> <ui_quit_while_playing.exe>
set -u
runner=$1
program=$2
root="$(dirname "$0")/../../.."
source "$root/tests/support/sink-recording.sh"
source "$root/tools/directsound-config.sh"
start_sink_recordings
result=0
for frames in 1024 4096; do
  write_directsound_config "$folder/$frames.cfg" "$frames"
  start_recording "$folder/$frames.raw"
  # Give the recorder time to connect on a busy machine.
  sleep 1
  "$runner" "$program" quit "$frames" "$(windows_path "$folder/$frames.cfg")" || result=1
  # What the sound server still held reaches the recording.
  sleep 1
  stop_recording
  "$runner" "$program" check "$(windows_path "$folder/$frames.raw")" || result=1
done
exit "$result"
