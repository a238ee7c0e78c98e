#!/usr/bin/env bash
# Key press to sound: clicks a key of the host's on-screen keyboard (xdotool) while the null sink's
# monitor is recorded (parec), and prints, per press, the time from the button going down to the
# first sound the sink played. Usage: bench/host-latency.sh [build-folder] [frames] [presses]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
frames=${2:-4096}
presses=${3:-10}
source "$root/tools/test-services.sh"
source "$root/bench/host-session.sh"
trap 'stop_host_session; stop_test_services' EXIT
start_test_services "$build"
start_host_session "$frames"
sleep 3

# The keyboard: a click on "View" in the menu bar, then on its first item, "Keyboard". The menu bar
# lies below the title bar that Wine draws, 23 pixels high.
window=$(host_window)
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 36)) $((Y + 32)) click 1
sleep 0.7
xdotool mousemove $((X + 50)) $((Y + 52)) click 1
sleep 1.5
# The key of note 60 (the view starts with note 24 at its left edge): its lower, white-only part,
# 20 pixels above the window's lower edge.
eval "$(xdotool getwindowgeometry --shell "$window")"
x=$((X + 408))
y=$((Y + HEIGHT - 20))

python3 - "$x" "$y" "$presses" "$frames" <<'PY'
import os, struct, subprocess, sys, threading, time
x, y, presses, frames = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
rate = 44100.0
# The recording, with the wall-clock time at which each piece arrived: the earliest arrival against
# the samples received so far fixes when each sample was played.
parec = subprocess.Popen(["parec", "--device=nul.monitor", "--format=s16le", "--rate=44100", "--channels=2",
                          "--latency-msec=5", "--raw"], stdout=subprocess.PIPE)
chunks, arrivals = [], []
def read():
    received = 0
    while True:
        piece = os.read(parec.stdout.fileno(), 4096)
        if not piece:
            return
        received += len(piece)
        chunks.append(piece)
        arrivals.append((received // 4, time.time()))
reader = threading.Thread(target=read, daemon=True)
reader.start()
time.sleep(1.0)
def xdotool(*args):
    subprocess.run(["xdotool"] + list(args), check=True)
clicks = []
for _ in range(presses):
    xdotool("mousemove", x, y)
    time.sleep(0.2)
    clicks.append(time.time())
    xdotool("mousedown", "1")
    time.sleep(0.3)
    xdotool("mouseup", "1")
    time.sleep(2.5)
parec.terminate()
reader.join(2)
data = b"".join(chunks)
count = len(data) // 4
left = struct.unpack("<%dh" % (count * 2), data[:count * 4])[0::2]
start = min(t - n / rate for n, t in arrivals)  # when sample 0 was played
results = []
for click in clicks:
        first = int((click - start) * rate)
        print("click at sample", first, "before:", max(map(abs, left[max(first - 2205, 0):first] or [0])),
              "after:", [max(map(abs, left[first + k * 2205:first + (k + 1) * 2205] or [0])) for k in range(12)])
for click in clicks:
    first = int((click - start) * rate)
    if first < 4410:
        continue
    # The sound starts where it rises clearly above what still sounds of the press before.
    floor = max(map(abs, left[first - 4410:first]))
    threshold = 2 * floor + (2 if floor == 0 else 100)
    onset = next((i for i in range(first, min(first + int(rate), count)) if abs(left[i]) > threshold), None)
    if onset is not None:
        results.append((onset - first) / rate * 1000.0)
print("key press to sound, DirectSound blocks of %d frames: %d of %d presses measured" % (frames, len(results), presses))
if results:
    print("  " + " ".join("%.0f" % r for r in results) + " ms")
    print("  min %.0f ms, median %.0f ms, max %.0f ms" % (min(results), sorted(results)[len(results) // 2], max(results)))
PY
