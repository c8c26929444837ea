#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the native build,
# the sanitizer build, the Windows build under Wine on a private virtual
# screen, and a short run of each fuzzer. Ends with one summary line counting
# every test of every step; a step that fails to build counts as one failure.
set -uo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh || exit 1

log_dir=build/test-logs
mkdir -p "$log_dir"
passed=0
failed=0
failed_steps=()

# Runs one step, its output shown and kept; adds its ctest (or fuzz) counts.
step() {
  local name=$1
  shift
  echo "=== $name"
  local log=$log_dir/$name.log
  "$@" 2>&1 | tee "$log"
  local status=${PIPESTATUS[0]}
  local counts
  counts=$(grep -E "tests passed, [0-9]+ tests? failed out of [0-9]+" "$log" | tail -1)
  if [[ -n $counts ]]; then
    local step_failed step_total
    step_failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$counts")
    step_total=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$counts")
    passed=$((passed + step_total - step_failed))
    failed=$((failed + step_failed))
    if ((status != 0 && step_failed == 0)); then failed=$((failed + 1)); fi
  elif counts=$(grep -E "^[0-9]+ passed, [0-9]+ failed$" "$log" | tail -1) && [[ -n $counts ]]; then
    passed=$((passed + $(cut -d' ' -f1 <<<"$counts")))
    failed=$((failed + $(cut -d' ' -f3 <<<"$counts")))
    if ((status != 0)) && [[ $(cut -d' ' -f3 <<<"$counts") == 0 ]]; then failed=$((failed + 1)); fi
  elif ((status == 0)); then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
  fi
  ((status == 0)) || failed_steps+=("$name")
}

preset() {
  local name=$1
  cmake --preset "$name" >/dev/null && cmake --build --preset "$name" && ctest --preset "$name"
}

windows() {
  source scripts/xvfb.sh
  source scripts/wine-env.sh
  preset windows
}

step host preset host
step host-asan preset host-asan
step windows windows
if [[ -x scripts/fuzz.sh ]]; then
  step fuzz scripts/fuzz.sh "${TARNOLUX_FUZZ_SECONDS:-10}"
fi

echo
if ((${#failed_steps[@]})); then echo "Failed steps: ${failed_steps[*]}"; fi
echo "$passed passed, $failed failed"
((${#failed_steps[@]} == 0 && failed == 0))
