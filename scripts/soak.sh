#!/usr/bin/env bash
# Soak run: N conversions (default 10,000) from the keyboard in one run of
# the test-hooks build, on a private virtual screen. Prints the live Text
# blocks and the GDI and USER object counts before and after, and the time
# taken; fails when Text blocks were left behind.
#
#   scripts/soak.sh [N]
#
# Expects the Windows build in build/windows.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
conversions=${1:-10000}
program=$root/build/windows/ui/tarnolux_testhooks.exe
driver=$root/build/windows/tests/e2e/tarnolux_e2e.exe
for file in "$program" "$driver"; do
  [[ -f $file ]] || { echo "missing $file: build the windows preset first" >&2; exit 1; }
done

source scripts/xvfb.sh
source scripts/wine-env.sh
"$TARNOLUX_WINE" "$driver" --tool "--testhooks=$program" "--soak=$conversions" --close </dev/null
