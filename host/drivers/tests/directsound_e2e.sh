#!/usr/bin/env bash
# Plays a sine through the DirectSound driver into PulseAudio's null sink while parec records the
# sink's monitor, then checks the recording. Fails when no sound server answers (the test
# command starts one for the run).
# Usage: directsound_e2e.sh <wine-run.sh> <drivers_directsound_play.exe>
set -u
runner=$1
program=$2
source "$(dirname "$0")/../../../tests/support/sink-recording.sh"
start_sink_recordings
start_recording "$folder/recording.raw"
# Give the recorder time to connect on a busy machine.
sleep 1
"$runner" "$program" play 4
played=$?
sleep 1
stop_recording
[ "$played" -eq 0 ] || exit "$played"
"$runner" "$program" check "$(windows_path "$folder/recording.raw")"
