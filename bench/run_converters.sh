#!/usr/bin/env bash
# Builds the converter benchmark in Release (build/bench, preset bench), runs
# it and prints, for every pair, the converter's time as a multiple of a memcpy
# of the target record's length. The goal is at most 3x. Extra arguments go to the benchmark
# (e.g. --benchmark_repetitions=9).
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/bench
cmake --preset bench >/dev/null
cmake --build --preset bench -j 2 --target tallowbrook_bench_converters >/dev/null

json="$build/bench_converters.json"
"$build/bench/tallowbrook_bench_converters" --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true --benchmark_format=json "$@" >"$json"

python3 - "$json" <<'PY'
import json, sys

LENGTHS = {"604": 1472, "700": 1480, "705": 1852, "707": 1856, "800": 2888, "802": 2892}
GOAL = 3.0

runs = json.load(open(sys.argv[1]))["benchmarks"]
# Medians of the repetitions when there are some, the single run otherwise.
median = {r["run_name"]: r["cpu_time"] for r in runs if r.get("aggregate_name") == "median"}
if not median:
    median = {r["run_name"]: r["cpu_time"] for r in runs if r.get("run_type") == "iteration"}
unit = runs[0]["time_unit"]

print(f"{'pair':<10} {'converter':>12} {'memcpy':>12} {'ratio':>7}")
misses = []
for name in sorted(n for n in median if n.startswith("convert/")):
    pair = name.split("/", 1)[1]
    target = pair.split("To")[1]
    base = median[f"memcpy/{LENGTHS[target]}"]
    ratio = median[name] / base
    mark = "" if ratio <= GOAL else "  over the goal"
    if ratio > GOAL:
        misses.append((pair, ratio))
    print(f"{pair:<10} {median[name]:>9.1f} {unit} {base:>9.1f} {unit} {ratio:>6.2f}x{mark}")
if misses:
    print(f"{len(misses)} converter(s) above {GOAL:g}x memcpy: " +
          ", ".join(f"{p} ({r:.2f}x)" for p, r in misses))
else:
    print(f"every converter within {GOAL:g}x memcpy")
PY
