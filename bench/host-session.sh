# Runs the host program with the instrument on DirectSound for the measurements of bench/host-*.sh.
# Sourced; needs root (the repository) and build (the build folder) set, and tools/test-services.sh.

source "$root/tools/directsound-config.sh"

# Starts quillam.exe with zintara3.dll in a fresh folder, DirectSound at the block size given, and
# waits until the editor shows and the audio runs. Sets session_folder and session_pid.
start_host_session() {
  local frames=$1
  session_folder=$(mktemp -d /tmp/quillam-session.XXXXXX)
  # QZ_HOST_EXE: another build of the program to measure (an earlier one, for comparison).
  cp "${QZ_HOST_EXE:-$build/bin/quillam.exe}" "$session_folder/quillam.exe"
  cp "$build/bin/zintara3.dll" "$session_folder/"
  # The first DirectSound device on both outputs, at the block size given.
  write_directsound_config "$session_folder/Quillam.cfg" "$frames"
  local plugin
  # In the Wine session (prefix, display, sound server) that start_test_services started.
  plugin=$(winepath -w "$session_folder/zintara3.dll" 2>/dev/null)
  (cd "$session_folder" && exec wine quillam.exe "$plugin" >/dev/null 2>&1) &
  local waited
  for waited in $(seq 300); do
    grep -q "<= PluginSizeChanged" "$session_folder/Quillam.log" 2>/dev/null && break
    sleep 0.1
  done
  session_pid=$(pgrep -f "quillam.exe" | while read -r pid; do
    [ "$(readlink "/proc/$pid/cwd")" = "$session_folder" ] && echo "$pid"; done | head -1)
  if [ -z "$session_pid" ] || ! grep -q "Loading finished" "$session_folder/Quillam.log"; then
    echo "the host did not start" >&2
    return 1
  fi
  if grep -q "Audio inactive\|No audio driver" "$session_folder/Quillam.log"; then
    echo "the audio did not start" >&2
    return 1
  fi
}

# The X window of the host's main window (titled with the plug-in's name).
host_window() {
  local window
  for window in $(xdotool search --pid "$session_pid" 2>/dev/null); do
    case "$(xdotool getwindowname "$window" 2>/dev/null)" in Zintara*) echo "$window"; return;; esac
  done
}

# Ends the program.
stop_host_session() {
  [ -n "${session_pid:-}" ] || return 0
  kill "$session_pid" 2>/dev/null || true
  local waited
  for waited in $(seq 50); do
    kill -0 "$session_pid" 2>/dev/null || break
    sleep 0.1
  done
  rm -rf "$session_folder"
}
