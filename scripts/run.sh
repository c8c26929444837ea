#!/usr/bin/env bash
# Runs the program: installs what is missing, builds the Windows build
# (build/windows) and starts tarnolux.exe under Wine.
#
# With a reachable X display in DISPLAY the program opens there, and the
# script ends when the program does. Without one the program runs on a
# private virtual screen, inside a Wine desktop of its own so that its window
# has a frame; once the window is up and idle the script saves a screenshot of
# the screen to build/screenshots/tarnolux-start.png, prints that path and
# ends the program (with Esc, as a person would).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target tarnolux tarnolux_e2e
program=$root/build/windows/ui/tarnolux.exe
driver=$root/build/windows/tests/e2e/tarnolux_e2e.exe

if [[ -n ${DISPLAY:-} ]] && xdpyinfo >/dev/null 2>&1; then
  source scripts/wine-env.sh
  exec "$TARNOLUX_WINE" "$program"
fi

source scripts/xvfb.sh
source scripts/wine-env.sh
screenshot=$root/build/screenshots/tarnolux-start.png
mkdir -p "$(dirname "$screenshot")"
rm -f "$screenshot"

# The desktop's own process ends only when told to, so it is ended below.
"$TARNOLUX_WINE" explorer /desktop=tarnolux,1024x768 "$(winepath -w "$program")" >/dev/null 2>&1 &
desktop=$!
trap 'kill "$desktop" 2>/dev/null || true; kill "$TARNOLUX_XVFB_PID" 2>/dev/null || true' EXIT

# The driver joins that desktop, so it waits until the desktop is there (its
# X window carries the desktop's name).
for _ in $(seq 1 300); do
  xwininfo -root -tree 2>/dev/null | grep -q '"tarnolux - Wine desktop"' && break
  sleep 0.1
done

# The driver finds the window on that desktop, waits until it is idle, says
# "ready", waits for a line, then presses Esc and reports the exit code.
coproc session { "$TARNOLUX_WINE" "$driver" --tool --desktop=tarnolux --attach --hold --close 2>&1; }
session_pid=$session_PID
ready=false
while IFS= read -r line <&"${session[0]}"; do
  echo "$line"
  if [[ $line == ready* ]]; then
    ready=true
    break
  fi
done
if $ready; then
  /usr/bin/import -window root "$screenshot"
fi
echo done >&"${session[1]}"
while IFS= read -r line <&"${session[0]}"; do echo "$line"; done
wait "$session_pid" || true

if [[ ! -s $screenshot ]]; then
  echo "no screenshot taken: the window did not come up" >&2
  exit 1
fi
echo "$screenshot"
