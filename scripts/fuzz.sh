#!/usr/bin/env bash
# Builds the libFuzzer targets (preset `fuzz`, clang, build/fuzz) and runs each
# one for SECONDS seconds (default 10), starting from a copy of its seed corpus
# in fuzz/corpus/<target>, so the repository is never written to.
#
#   scripts/fuzz.sh [SECONDS]
#
# Prints per target the executions and the corpus size reached, then a line
# "N passed, N failed". Fails when any target finds a crash, a sanitizer report
# or a violated property; the input that did it is kept in
# build/fuzz/artifacts/<target>/ and its bytes are printed.
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-10}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: scripts/fuzz.sh [SECONDS]   (a whole number of seconds per target)" >&2
  exit 2
fi
if ! command -v clang++ >/dev/null; then
  echo "fuzz.sh: clang++ is missing (scripts/deps.sh installs it)" >&2
  exit 1
fi

cmake --preset fuzz >/dev/null && cmake --build --preset fuzz || {
  echo "fuzz.sh: the fuzz build failed" >&2
  exit 1
}

targets=(fuzz_parse_number fuzz_format_round fuzz_convert_weight fuzz_concat_texts)
work=$(mktemp -d "${TMPDIR:-/tmp}/tarnolux-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT

passed=0
failed=0
for target in "${targets[@]}"; do
  corpus=$work/$target
  artifacts=build/fuzz/artifacts/$target
  mkdir -p "$corpus" "$artifacts"
  cp fuzz/corpus/"$target"/* "$corpus"/
  log=$work/$target.log
  # -timeout: an input that takes a second is a hang, not slowness.
  build/fuzz/fuzz/"$target" "$corpus" -max_total_time="$seconds" -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" </dev/null >"$log" 2>&1
  status=$?
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  files=$(find "$corpus" -type f | wc -l)
  if ((status == 0)); then
    passed=$((passed + 1))
    printf '%-20s ok      %10s executions in %ss, corpus %s files\n' \
      "$target" "${executions:-?}" "$seconds" "$files"
  else
    failed=$((failed + 1))
    printf '%-20s FAILED  (exit %s) after %s executions\n' "$target" "$status" "${executions:-?}"
    # The report: the violated property or the sanitizer's first lines.
    grep -E -A12 '^property violated|ERROR: (AddressSanitizer|UndefinedBehaviorSanitizer|libFuzzer)|runtime error|ALARM' \
      "$log" | head -40
    crash=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -1)
    if [[ -n $crash && -f $crash ]]; then
      echo "  input kept in $crash:"
      od -An -tx1 -v "$crash" | head -8
    fi
  fi
done

echo "$passed passed, $failed failed"
((failed == 0))
