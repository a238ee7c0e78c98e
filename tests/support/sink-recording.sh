# Recording what the run's sound server plays into its null sink, for the scripts of the DirectSound
# tests. Sourced.

# Fails the test unless a sound server answers (the test command starts one for the run).
# Then sets folder to a fresh folder for the recordings, removed at exit with a recorder still running.
start_sink_recordings() {
  if ! command -v parec >/dev/null || ! pactl info >/dev/null 2>&1; then
    echo "PulseAudio is not running: run the tests with the test command, which starts it"
    exit 1
  fi
  folder=$(mktemp -d)
  recorder=
  trap '[ -n "$recorder" ] && kill "$recorder" 2>/dev/null; rm -rf "$folder"' EXIT
}

# Records the null sink into the file (raw 16-bit stereo at 44100 Hz), in the background.
start_recording() {
  parec --device=nul.monitor --format=s16le --rate=44100 --channels=2 --latency-msec=200 --raw "$1" &
  recorder=$!
}

stop_recording() {
  kill "$recorder"
  wait "$recorder" 2>/dev/null
  recorder=
}

# The file's path as the Windows programs of the test name it.
windows_path() {
  echo "Z:${1//\//\\}"
}
