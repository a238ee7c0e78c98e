# Services the tests need, private to one run, so that runs in other trees and other programs on the
# machine never meet them: an X display for windows, a PulseAudio server with a null sink for
# DirectSound, and a Wine session in the build's own prefix.
# Sourced by tools/test.sh and tools/run.sh.

source "$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh"

start_test_services() {  # build folder (absolute)
  start_display
  start_sound_server
  start_wine_session "$1"
}

stop_test_services() {
  stop_wine_session
  stop_sound_server
  stop_display
  return 0
}

# An Xvfb on a display number that it takes itself: two runs starting at once never share one.
start_display() {
  [ -n "${DISPLAY:-}" ] && return
  local number; number=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
  QZ_XVFB_PID=$!
  for _ in $(seq 100); do [ -s "$number" ] && break; sleep 0.1; done
  [ -s "$number" ] || echo "warning: Xvfb did not start" >&2
  export DISPLAY=":$(head -n 1 "$number")"
  rm -f "$number"
}

stop_display() {
  [ -n "${QZ_XVFB_PID:-}" ] && kill "$QZ_XVFB_PID" 2>/dev/null
  QZ_XVFB_PID=
}

# A PulseAudio server of this run alone, reached through its own socket: what one run plays and
# records never mixes with another's.
start_sound_server() {
  QZ_PULSE_DIR=$(mktemp -d)
  PULSE_RUNTIME_PATH=$QZ_PULSE_DIR PULSE_STATE_PATH=$QZ_PULSE_DIR \
    pulseaudio -n --daemonize=no --use-pid-file=no --exit-idle-time=-1 \
    --load="module-null-sink sink_name=nul" \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$QZ_PULSE_DIR/native" >/dev/null 2>&1 &
  QZ_PULSE_PID=$!
  export PULSE_SERVER="unix:$QZ_PULSE_DIR/native"
  for _ in $(seq 100); do pactl info >/dev/null 2>&1 && return; sleep 0.1; done
  echo "warning: PulseAudio did not start" >&2
}

stop_sound_server() {
  [ -n "${QZ_PULSE_PID:-}" ] || return 0
  kill "$QZ_PULSE_PID" 2>/dev/null
  wait "$QZ_PULSE_PID" 2>/dev/null
  rm -rf "$QZ_PULSE_DIR"
  QZ_PULSE_PID=
}

# The Wine session of the whole run. The first program of a session starts the wine server and
# Wine's own background programs (services, desktop window, device managers); they inherit that
# program's output and keep it open until the session ends, after the last Wine program of the run.
# A test program that started them would seem to hang at its end, and a session that ends and
# starts again in the middle of a run races its own start and end. So the session starts here,
# with no output of ours, and a command interpreter that waits for input keeps it up until the run
# ends. The input's only writer is a small process that lasts as long as this shell: the shell
# itself must not hold it, or every program it starts, Wine's background programs among them,
# would inherit it and the interpreter would never see the end of its input.
start_wine_session() {  # build folder (absolute)
  use_wine_prefix "$1"
  QZ_WINE_KEEPER_FIFO=$(mktemp -u)
  mkfifo "$QZ_WINE_KEEPER_FIFO"
  tail --pid=$$ -f /dev/null >"$QZ_WINE_KEEPER_FIFO" &
  QZ_WINE_KEEPER_INPUT=$!
  wine cmd.exe <"$QZ_WINE_KEEPER_FIFO" >/dev/null 2>&1 &
  QZ_WINE_KEEPER=$!
  # Returns once the session is up.
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1
}

stop_wine_session() {
  [ -n "${QZ_WINE_KEEPER_INPUT:-}" ] || return 0
  kill "$QZ_WINE_KEEPER_INPUT" 2>/dev/null  # the interpreter reads the end of its input and leaves
  QZ_WINE_KEEPER_INPUT=
  for _ in $(seq 300); do kill -0 "$QZ_WINE_KEEPER" 2>/dev/null || break; sleep 0.1; done
  rm -f "$QZ_WINE_KEEPER_FIFO"
  # Wine's background programs and then the server follow; the display must outlive them.
  timeout 60 wineserver -w || true
}
