# Services that Wine programs need, private to one run, so that runs in other trees and other
# programs on the machine never meet them: an X display for windows, a PulseAudio server with a null
# sink for DirectSound, and a Wine session.
# Sourced by tools/test.sh, tools/play.sh and the host benchmarks. Each start function answers
# non-zero, after saying why, when its service does not start; the stop functions never fail, so that
# one service that died never keeps the others from being stopped. Every service runs in a session of
# its own: a Ctrl+C in the terminal reaches the script alone, which then stops them in order.

source "$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh"

# How long the Wine session may take to end on its own before what is left of it is ended.
QZ_WINE_END_PATIENCE=${QZ_WINE_END_PATIENCE:-5}

service_failed() {
  echo "test services: $*" >&2
  return 1
}

# The services of a test run: all private, the Wine session in the tests' own prefix, in which every
# Wine program of the run starts (tools/wine-run.sh).
start_test_services() {  # build folder (absolute)
  start_display || return
  start_sound_server || return
  start_wine_session "$1/test-wineprefix" || return
  export QZ_WINEPREFIX=$WINEPREFIX
  wine_places_windows yes
}

stop_test_services() {
  stop_wine_session
  stop_sound_server
  stop_display
  return 0
}

# An Xvfb of this run alone, on a display number that it takes itself: two runs starting at once
# never share one, and the tests never act on the user's own desktop.
start_display() {
  local number; number=$(mktemp)
  setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
  QZ_XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$number" ] && break
    kill -0 "$QZ_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  export DISPLAY=":$(head -n 1 "$number")"
  rm -f "$number"
  [ "$DISPLAY" != ":" ] || service_failed "the X display (Xvfb) did not start"
}

stop_display() {
  if [ -n "${QZ_XVFB_PID:-}" ]; then
    kill "$QZ_XVFB_PID" 2>/dev/null || true
    wait "$QZ_XVFB_PID" 2>/dev/null || true
  fi
  QZ_XVFB_PID=
}

# A PulseAudio server of this run alone, reached through its own socket: what one run plays and
# records never mixes with another's.
start_sound_server() {
  QZ_PULSE_DIR=$(mktemp -d)
  PULSE_RUNTIME_PATH=$QZ_PULSE_DIR PULSE_STATE_PATH=$QZ_PULSE_DIR \
    setsid pulseaudio -n --daemonize=no --use-pid-file=no --exit-idle-time=-1 \
    --load="module-null-sink sink_name=nul" \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$QZ_PULSE_DIR/native" >/dev/null 2>&1 &
  QZ_PULSE_PID=$!
  export PULSE_SERVER="unix:$QZ_PULSE_DIR/native"
  for _ in $(seq 100); do
    pactl info >/dev/null 2>&1 && return 0
    kill -0 "$QZ_PULSE_PID" 2>/dev/null || break
    sleep 0.1
  done
  service_failed "the sound server (PulseAudio with a null sink) did not start"
}

stop_sound_server() {
  if [ -n "${QZ_PULSE_PID:-}" ]; then
    kill "$QZ_PULSE_PID" 2>/dev/null || true
    wait "$QZ_PULSE_PID" 2>/dev/null || true
  fi
  [ -n "${QZ_PULSE_DIR:-}" ] && rm -rf "$QZ_PULSE_DIR"
  QZ_PULSE_PID=
  QZ_PULSE_DIR=
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
# Every program of the session carries its mark, QZ_WINE_SESSION, in its environment: the end of the
# session ends no program that another session or the user started in the same prefix.
start_wine_session() {  # prefix (absolute)
  use_wine_prefix "$1" || service_failed "the Wine prefix $1 could not be made" || return
  export QZ_WINE_SESSION="$BASHPID-$(date +%s%N)"
  QZ_WINE_KEEPER_FIFO=$(mktemp -u)
  mkfifo "$QZ_WINE_KEEPER_FIFO"
  setsid tail --pid=$$ -f /dev/null >"$QZ_WINE_KEEPER_FIFO" &
  QZ_WINE_KEEPER_INPUT=$!
  setsid wine cmd.exe <"$QZ_WINE_KEEPER_FIFO" >/dev/null 2>&1 &
  QZ_WINE_KEEPER=$!
  # Returns once the session is up.
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1 && kill -0 "$QZ_WINE_KEEPER" 2>/dev/null ||
    service_failed "the Wine session in $WINEPREFIX did not start"
}

stop_wine_session() {
  [ -n "${QZ_WINE_KEEPER_INPUT:-}" ] || return 0
  kill "$QZ_WINE_KEEPER_INPUT" 2>/dev/null || true  # the interpreter reads the end of its input and leaves
  QZ_WINE_KEEPER_INPUT=
  rm -f "$QZ_WINE_KEEPER_FIFO"
  # Wine's background programs and then the server follow, when this session started them; the
  # display must outlive them. Whatever of the session still runs after a short wait (a program of
  # the run that never ended) is ended.
  local left
  left=$(wait_for_session_end "$QZ_WINE_END_PATIENCE")
  if [ -n "$left" ]; then
    echo "test services: Wine programs still running after ${QZ_WINE_END_PATIENCE} s, ended:" >&2
    cut -d' ' -f3- <<<"$left" | sort -u | sed 's/^/  /' >&2
    end_session_processes "$left"
  fi
  wait "$QZ_WINE_KEEPER" 2>/dev/null || true
  QZ_WINE_KEEPER=
}

# Waits up to the given number of seconds for the session's programs to end; prints those left.
wait_for_session_end() {  # seconds
  local left
  for _ in $(seq $(($1 * 10))); do
    left=$(session_processes)
    [ -n "$left" ] || return 0
    sleep 0.1
  done
  session_processes
}

# Wine's programs of this session, a line each: process id, start time and command line.
session_processes() {
  local environ pid
  for environ in $(grep -lzxF "QZ_WINE_SESSION=$QZ_WINE_SESSION" /proc/[0-9]*/environ 2>/dev/null); do
    pid=${environ#/proc/}; pid=${pid%/environ}
    case $(readlink "/proc/$pid/exe" 2>/dev/null) in */wine*) ;; *) continue ;; esac
    echo "$pid $(process_start "$pid") $(tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline" | sed 's/ *$//')"
  done
}

# Ends the processes listed by session_processes. Each is checked again right before: a process
# that ended meanwhile and left its id to another one is not the one listed, and is left alone.
end_session_processes() {  # list
  local pid start rest
  while read -r pid start rest; do
    if [ -n "$pid" ] && [ "$(process_start "$pid")" = "$start" ] &&
       grep -qzxF "QZ_WINE_SESSION=$QZ_WINE_SESSION" "/proc/$pid/environ" 2>/dev/null; then
      kill -9 "$pid" 2>/dev/null || true
    fi
  done <<<"$1"
}

# When the process started, in clock ticks after boot; nothing when it has gone.
process_start() {  # process id
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 0
  stat=${stat##*) }
  set -- $stat
  echo "${20}"
}
