#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the native build,
# the sanitizer build, the Windows build under Wine on a private virtual
# screen, and a short run of each fuzzer. Ends with one summary line.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/deps.sh || exit 1

failed_steps=()
step() {
  local name=$1
  shift
  echo "=== $name"
  if ! "$@"; then failed_steps+=("$name"); fi
}

preset() {
  local name=$1
  cmake --preset "$name" >/dev/null && cmake --build --preset "$name" && ctest --preset "$name"
}

step host preset host
step host-asan preset host-asan

windows() {
  source scripts/xvfb.sh
  source scripts/wine-env.sh
  preset windows
}
step windows windows

if [[ -x scripts/fuzz.sh ]]; then
  step fuzz scripts/fuzz.sh "${TARNOLUX_FUZZ_SECONDS:-10}"
fi

total=4
[[ -x scripts/fuzz.sh ]] || total=3
echo
echo "$((total - ${#failed_steps[@]})) passed, ${#failed_steps[@]} failed"
((${#failed_steps[@]} == 0))
