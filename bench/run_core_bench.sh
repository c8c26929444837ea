#!/usr/bin/env bash
# Builds core_bench with the host preset in its own build folder (build/bench),
# runs it five times over in random order, and prints per routine the median
# time of ours and of the naive way, the ratio ours / naive and, where the
# program sets one, the target ratio. Prints figures only: whatever the
# ratios, it exits 0 once the benchmark has run.
#
#   bench/run_core_bench.sh [BENCHMARK FLAGS...]   e.g. --benchmark_filter=Format
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/bench
cmake --preset host -B "$build" >/dev/null
cmake --build "$build" --target core_bench -j2

json=$build/core_bench.json
# Random interleaving spreads the repetitions of ours and of the naive side
# over the whole run, so a change in machine load hits both alike.
"$build/bench/core_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_enable_random_interleaving=true --benchmark_out="$json" \
  --benchmark_out_format=json "$@"

python3 - "$json" <<'EOF'
import json
import sys

# Ratios ours / naive the program must stay within.
TARGETS = {"FormatNumber": 2.0, "ConvertWeight": 1.5}

with open(sys.argv[1]) as f:
    report = json.load(f)

# (side, routine) -> {"median": ns, "cv": percent}
figures = {}
for run in report["benchmarks"]:
    if run.get("run_type") != "aggregate" or run["aggregate_name"] not in ("median", "cv"):
        continue
    side, _, routine = run["run_name"].partition("/")
    if run["aggregate_name"] == "cv":
        value = run["cpu_time"] * 100  # a fraction of the mean
    else:
        value = run["cpu_time"] * {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}[run["time_unit"]]
    figures.setdefault((side, routine), {})[run["aggregate_name"]] = value

ORDER = ["ParseNumber", "RoundToPlaces", "FormatNumber", "FormatNumberUnrounded", "ConvertWeight"]
routines = sorted({routine for _, routine in figures},
                  key=lambda r: (ORDER.index(r) if r in ORDER else len(ORDER), r))

print()
print("Medians of the repetitions, CPU time per call (cv: coefficient of variation)")
print(f"{'routine':24} {'ours ns':>10} {'cv':>6} {'naive ns':>10} {'cv':>6} {'ours/naive':>11}  target")
for routine in routines:
    ours = figures.get(("ours", routine))
    naive = figures.get(("naive", routine))
    if not ours or not naive:
        continue
    ratio = ours["median"] / naive["median"]
    target = TARGETS.get(routine)
    verdict = ""
    if target is not None:
        verdict = f"<= {target:.1f}  " + ("met" if ratio <= target else "NOT MET")
    print(f"{routine:24} {ours['median']:10.1f} {ours.get('cv', 0):5.1f}% "
          f"{naive['median']:10.1f} {naive.get('cv', 0):5.1f}% {ratio:11.2f}  {verdict}")
EOF
