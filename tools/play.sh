#!/usr/bin/env bash
# Starts quillam playing zintara3 under Wine, from a folder that holds both (tools/run.sh gives it the
# build's bin folder), and returns when it has ended: play.sh folder
# Uses the desktop's X display and sound server when there are any; else starts private ones. Ctrl+C
# ends the program as its own quit does, settings saved, and then all that this script started.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
folder=$(cd "$1" && pwd)

# Without settings the program starts silent and asks about the audio in a dialog, which nobody can
# answer on a private display: settings that play DirectSound go beside it then, at blocks of 1024
# frames (a key sounds about 0.1 s after the press; DirectSound's own 4096 frames take 0.3 s).
# Settings that are there already are left as they are.
source "$root/tools/directsound-config.sh"
[ -e "$folder/Quillam.cfg" ] || write_directsound_config "$folder/Quillam.cfg" 1024

source "$root/tools/test-services.sh"
trap stop_test_services EXIT
private_display=no
if [ -z "${DISPLAY:-}" ]; then
  start_display
  private_display=yes
fi
# A sound server that answers here, PulseAudio's or PipeWire's; else a private one that plays into
# a null sink, so that the program runs, silent.
pactl info >/dev/null 2>&1 || start_sound_server
start_wine_session "$(build_wine_prefix "$(dirname "$folder")")"
# A prefix that the user named is left as it is.
[ -n "${QZ_WINEPREFIX:-}" ] || wine_places_windows "$private_display"

# Sends the X windows given the request that a desktop's close button sends: Wine hands it to the
# window as the close command of its system menu.
ask_windows_to_close() {  # X window ids
  python3 - "$@" <<'PY'
import ctypes, sys
x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

class ClientMessage(ctypes.Structure):  # an XClientMessageEvent in the size of any XEvent
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5), ("rest", ctypes.c_long * 12)]

display = x11.XOpenDisplay(None)
for window in map(int, sys.argv[1:]):
    event = ClientMessage(type=33, window=window, format=32,
                          message_type=x11.XInternAtom(display, b"WM_PROTOCOLS", 0))
    event.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    x11.XSendEvent(display, window, 0, 0, ctypes.byref(event))
x11.XCloseDisplay(display)
PY
}

# The program in a session of its own, so that a Ctrl+C reaches this script alone, which asks the
# program to close as the close button of its window does. A window that waits for an answer keeps
# its program from closing, and the request closes it instead where it can: the next Ctrl+C asks
# again, the third ends the program at once.
setsid wine "$folder/quillam.exe" "$(winepath -w "$folder/zintara3.dll")" &
program=$!
close_requests=0
close_program() {
  close_requests=$((close_requests + 1))
  if [ "$close_requests" -lt 3 ]; then
    echo "play.sh: asking quillam to close (a third Ctrl+C ends it at once)" >&2
    ask_windows_to_close $(xdotool search --onlyvisible --pid "$program" 2>/dev/null) || true
  else
    kill -9 "$program" 2>/dev/null || true
  fi
}
trap 'interrupted=yes; close_program' INT TERM HUP
while :; do
  interrupted=no
  status=0
  wait "$program" || status=$?
  [ "$interrupted" = yes ] || break
done
exit "$status"
