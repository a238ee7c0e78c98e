#!/usr/bin/env bash
# The run command's playing part, tools/play.sh, on a copy of the two programs, ended each time with a
# Ctrl+C as a terminal sends it: to the whole foreground process group. Three runs:
#   private: no display set and no sound server answering, in the run's own prefix;
#   desktop: the test run's display and sound server standing for a desktop's, in the same prefix;
#   named:   no display set, in the same prefix named by QZ_WINEPREFIX, as a user's own prefix.
# Checks that the settings written for a folder without any ask for blocks of 1024 frames; that the
# program then quits as its own quit does (it saves Quillam.cfg again); that nothing started by the
# run is left running; that a sound server that answers is used, not a private one; that Wine places
# the windows itself on the private display alone, and that a named prefix keeps its setting; and
# that the prefix has Wine's Marlett font.
# Usage: play.sh <bin folder of the build> <work folder, kept between runs>
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$2
folder=$work/bin
prefix=$work/wineprefix
mkdir -p "$folder"
cp "$1/quillam.exe" "$1/zintara3.dll" "$folder/"

failures=0
fail() {
  echo "FAILED ($run): $*"
  failures=$((failures + 1))
}

# The processes of one run, a line each: id and command line. The run's mark is in the
# environment of everything that it starts.
run_processes() {
  local environ pid
  for environ in $(grep -lzxF "QZ_PLAY_CHECK=$mark" /proc/[0-9]*/environ 2>/dev/null); do
    pid=${environ#/proc/}; pid=${pid%/environ}
    echo "$pid $(tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline")"
  done
}

# Whether Wine places the windows itself in the prefix, as its registry file holds it.
wine_places_windows_in() {  # prefix
  grep -q '^"Managed"="N"' "$1/user.reg" 2>/dev/null
}

play() {  # name, then the environment of the run: a list of env arguments
  run=$1
  shift
  mark="$run-$$-$(date +%s%N)"
  rm -f "$folder/Quillam.cfg" "$folder/Quillam.log"
  # A job of its own process group, as a shell on a terminal starts it, with Ctrl+C not ignored.
  set -m
  env "$@" QZ_PLAY_CHECK="$mark" "$root/tools/play.sh" "$folder" >"$work/$run.txt" 2>&1 &
  local group=$!
  set +m

  # Up once the editor shows (or given up on after three minutes: a fresh prefix takes a while).
  local waited
  for waited in $(seq 1800); do
    grep -q "<= PluginSizeChanged" "$folder/Quillam.log" 2>/dev/null && break
    kill -0 "$group" 2>/dev/null || break
    sleep 0.1
  done
  if grep -q "<= PluginSizeChanged" "$folder/Quillam.log" 2>/dev/null; then
    grep -q 'BufferSize="1024"' "$folder/Quillam.cfg" ||
      fail "the settings written ask for no block size of 1024 frames: $(grep BufferSize "$folder/Quillam.cfg")"
    ! grep -q "Audio inactive\|No audio driver" "$folder/Quillam.log" || fail "the audio did not start"
    if [ "$run" = desktop ] && run_processes | grep -q "pulseaudio"; then
      fail "a private sound server started while the desktop's answers"
    fi
  else
    fail "the program did not show the editor"
  fi
  rm -f "$folder/Quillam.cfg"
  kill -INT -- "-$group" 2>/dev/null
  wait "$group"
  [ -f "$folder/Quillam.cfg" ] || fail "the program did not save its settings when ended with Ctrl+C"

  local left
  left=$(run_processes)
  if [ -n "$left" ]; then
    fail "left running: $(cut -d' ' -f2- <<<"$left" | tr '\n' ';')"
    kill -9 $(cut -d' ' -f1 <<<"$left") 2>/dev/null
  fi
  [ "$failures" -eq 0 ] || cat "$work/$run.txt"
}

# The prefix is set up again, as a fresh one, but for Wine's own files: those are kept between runs.
rm -f "$prefix"/.done-* "$prefix/drive_c/windows/Fonts/marlett.ttf"
play private -u DISPLAY -u PULSE_SERVER -u QZ_WINEPREFIX
wine_places_windows_in "$prefix" || fail "Wine does not place the windows itself on the private display"
[ -f "$prefix/drive_c/windows/Fonts/marlett.ttf" ] || fail "the prefix has no Marlett font"

play desktop -u QZ_WINEPREFIX
! wine_places_windows_in "$prefix" || fail "Wine places the windows itself on the desktop's display"

play named -u DISPLAY QZ_WINEPREFIX="$prefix"
! wine_places_windows_in "$prefix" || fail "the prefix named by QZ_WINEPREFIX was changed to let Wine place the windows"

[ "$failures" -eq 0 ] && echo "passed"
exit $((failures > 0))
