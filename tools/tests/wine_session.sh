#!/usr/bin/env bash
# The Wine session that the test command and the run command start and end (tools/test-services.sh):
# - the test run's programs use a prefix of their own, not the run command's build/wineprefix;
# - at its end a session ends its own programs that never end, and no Wine program that it did not
#   start, here one started before it in the same prefix;
# - a listed process is ended only while it is still the one listed: same start time and mark.
# Usage: wine_session.sh <build folder> <prefix for the check>
set -u
build=$1
prefix=$2
source "$(dirname "$0")/../test-services.sh"

failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# Whether a child of this script runs: it stays a zombie, with its id, until it is waited for.
running() {  # process id
  local state
  state=$(ps -o stat= -p "$1") && [[ $state != Z* ]]
}

# The test command's session, in which this script runs.
[ "${WINEPREFIX:-}" = "$build/test-wineprefix" ] && [ "${QZ_WINEPREFIX:-}" = "$WINEPREFIX" ] ||
  fail "the tests run in the prefix ${WINEPREFIX:-(none)}, not in their own $build/test-wineprefix"

# Each Wine program below waits for the end of its input, which it gets when the writer is ended.
work=$(mktemp -d)
writers=()
trap 'kill "${writers[@]}" 2>/dev/null; rm -rf "$work"' EXIT
waiting_program() {  # name; sets started
  mkfifo "$work/$1"
  sleep infinity >"$work/$1" &
  writers+=($!)
  wine cmd.exe <"$work/$1" >/dev/null 2>&1 &
  started=$!
}

# A program of another session, or of the user, that runs in the prefix before the session starts.
export QZ_WINEPREFIX=$prefix
unset QZ_WINE_SESSION
use_wine_prefix "$prefix"
waiting_program other
other=$started
wine cmd.exe /c exit </dev/null >/dev/null 2>&1

if start_wine_session "$prefix"; then
  waiting_program stuck
  stuck=$started
  QZ_WINE_END_PATIENCE=2 stop_wine_session 2>"$work/stop.txt"
  grep -q "cmd.exe" "$work/stop.txt" || fail "the session's end named no program that it ended"
  ! running "$stuck" || fail "the session's own program that never ends still runs after the session"
  running "$other" || fail "the session's end ended a Wine program that it did not start"
else
  fail "the Wine session did not start"
fi

# A process of the session, listed with a start time that is not its own: another process now.
sleep infinity &
sleeper=$!
end_session_processes "$sleeper 1 sleep infinity"
running "$sleeper" || fail "a process that was not the one listed was ended"
end_session_processes "$sleeper $(process_start "$sleeper") sleep infinity"
! running "$sleeper" || fail "the process listed was not ended"
kill "$sleeper" 2>/dev/null
wait "$sleeper" 2>/dev/null

# The other program ends with its input, and the prefix's server after it.
kill "${writers[@]}" 2>/dev/null
wait "$other" 2>/dev/null
wineserver -w
[ "$failures" -eq 0 ] && echo "passed"
exit $((failures > 0))
