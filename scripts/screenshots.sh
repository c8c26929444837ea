#!/usr/bin/env bash
# Makes the screenshots in docs/ from the real program on a private virtual
# screen, with real input:
#   docs/screenshot-start.png      the window as it starts
#   docs/screenshot-converted.png  after choosing 普通角钢∠40x4, typing 6 and
#                                  clicking the button (the results in red)
# Each is cropped to the window. Expects the Windows build in build/windows
# (scripts/run.sh or `cmake --build --preset windows` makes it).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
program=$root/build/windows/ui/tarnolux.exe
driver=$root/build/windows/tests/e2e/tarnolux_e2e.exe
for file in "$program" "$driver"; do
  [[ -f $file ]] || { echo "missing $file: build the windows preset first" >&2; exit 1; }
done

source scripts/xvfb.sh
source scripts/wine-env.sh
mkdir -p docs

# One session of the driver on a Wine desktop of its own: it starts the
# program, acts, prints "window LEFT TOP WIDTH HEIGHT" and "ready", and waits
# for a line before it closes the program.
shoot() {
  local name=$1
  shift
  local geometry= line
  coproc session { "$TARNOLUX_WINE" "$driver" --tool "--program=$program" --hold --close "$@" 2>&1; }
  local pid=$session_PID
  while IFS= read -r line <&"${session[0]}"; do
    echo "$line"
    [[ $line == window* ]] && geometry=$line
    [[ $line == ready* ]] && break
  done
  if [[ -n $geometry ]]; then
    read -r _ left top width height <<<"$geometry"
    /usr/bin/import -window root -crop "${width}x${height}+${left}+${top}" +repage "docs/$name.png"
    echo "docs/$name.png"
  fi
  echo done >&"${session[1]}"
  while IFS= read -r line <&"${session[0]}"; do echo "$line"; done
  wait "$pid"
  [[ -n $geometry ]]
}

shoot screenshot-start
shoot screenshot-converted --act=converted
