#!/usr/bin/env bash
# The host program's CPU use per thread while it shows the instrument's editor and plays no note:
# starts quillam.exe with zintara3.dll on DirectSound, lets it settle, then reads every thread's
# CPU time at the start and the end of the span. Prints each thread's share of one core; the GUI
# thread is the process's first. The pointer rests away from the window, or over it with "over".
# Usage: bench/host-cpu.sh [build-folder] [seconds] [frames] [away|over]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
seconds=${2:-20}
frames=${3:-4096}
pointer=${4:-away}
source "$root/tools/test-services.sh"
source "$root/bench/host-session.sh"
trap 'stop_host_session; stop_test_services' EXIT
start_test_services "$build"
start_host_session "$frames"
if [ "$pointer" = over ]; then
  eval "$(xdotool getwindowgeometry --shell "$(host_window)")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
else
  read -r width height < <(xdotool getdisplaygeometry)
  xdotool mousemove $((width - 1)) $((height - 1))
fi
sleep 8

# Per thread: ticks of user and system time, voluntary context switches.
sample() {
  local task
  for task in /proc/"$session_pid"/task/*; do
    local stat
    stat=$(cat "$task/stat" 2>/dev/null) || continue
    stat=${stat##*) }
    set -- $stat
    echo "${task##*/} $((${12} + ${13})) $(awk '/^voluntary_ctxt_switches/ {print $2}' "$task/status")"
  done
}
before=$(sample)
sleep "$seconds"
after=$(sample)
ticks=$(getconf CLK_TCK)
echo "CPU over ${seconds} s, DirectSound blocks of ${frames} frames, pointer ${pointer} (% of one core; wake-ups per second):"
join <(echo "$before" | sort) <(echo "$after" | sort) | while read -r tid t0 s0 t1 s1; do
  share=$(awk -v d=$((t1 - t0)) -v hz="$ticks" -v s="$seconds" 'BEGIN { printf "%.1f", 100 * d / hz / s }')
  wakeups=$(( (s1 - s0) / seconds ))
  label=""
  [ "$tid" = "$session_pid" ] && label=" (GUI thread)"
  echo "  thread $tid: $share %, $wakeups/s$label"
done | sort -t: -k2 -rn
