# Services the tests need: an X display for windows and a PulseAudio null sink for DirectSound.
# Sourced by tools/test.sh and tools/run.sh.

start_test_services() {
  if [ -z "${DISPLAY:-}" ]; then
    local n
    for n in $(seq 90 140); do
      [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      QZ_XVFB_PID=$!
      export DISPLAY=":$n"
      break
    done
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break; sleep 0.1; done
  fi
  if ! pulseaudio --check >/dev/null 2>&1; then
    pulseaudio -D -n --exit-idle-time=-1 --load="module-null-sink sink_name=nul" \
      --load=module-native-protocol-unix >/dev/null 2>&1 || echo "warning: PulseAudio did not start"
  fi
}

stop_test_services() {
  [ -n "${QZ_XVFB_PID:-}" ] && kill "$QZ_XVFB_PID" 2>/dev/null
  return 0
}
