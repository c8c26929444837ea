# Sourced: starts a private Xvfb screen of 1024 x 768 and exports DISPLAY.
# The screen ends with the shell that sourced this file.
tarnolux_start_xvfb() {
  local number
  for number in $(seq 91 120); do
    if [[ ! -e /tmp/.X11-unix/X$number && ! -e /tmp/.X$number-lock ]]; then
      Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
      TARNOLUX_XVFB_PID=$!
      export DISPLAY=":$number"
      local tries
      for tries in $(seq 1 50); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
      done
      trap 'kill $TARNOLUX_XVFB_PID 2>/dev/null || true' EXIT
      return 0
    fi
  done
  echo "no free X display number" >&2
  return 1
}
tarnolux_start_xvfb
