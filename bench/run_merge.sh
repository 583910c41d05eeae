#!/usr/bin/env bash
# Times the Merge driver over generated files (1,000 and 10,000 unless told) against a
# minimal loop making the same system calls per file, alternating the two in
# the same script, and compares the driver's peak memory at both sizes.
# Files live in build/bench/merge-N (on the disk, so flushes are real).
# Usage: bench/run_merge.sh [ROUNDS [COUNT...]]   (default 3 rounds, the median
# round counts; default counts 1000 10000)
set -euo pipefail
cd "$(dirname "$0")/.."

rounds=${1:-3}
counts=("${@:2}")
((${#counts[@]})) || counts=(1000 10000)
build=build/bench
cmake --preset bench >/dev/null
cmake --build --preset bench -j 2 --target tallowbrook_bench_merge >/dev/null
bench="$build/bench/tallowbrook_bench_merge"

results=$(mktemp)
trap 'rm -f "$results"' EXIT
for count in "${counts[@]}"; do
  folder="$build/merge-$count"
  rm -rf "$folder" && mkdir -p "$folder"
  "$bench" generate "$folder" "$count"
  for ((round = 0; round < rounds; round++)); do
    # Alternate which goes first, so neither always meets a warmer cache.
    if ((round % 2 == 0)); then order="merge baseline"; else order="baseline merge"; fi
    for mode in $order; do
      sync
      "$bench" "$mode" "$folder" "$count" >>"$results"
    done
  done
  rm -rf "$folder"
done

python3 - "$results" <<'PY'
import statistics, sys
rows = [line.split() for line in open(sys.argv[1])]
times, memory = {}, {}
for mode, count, seconds, rss in rows:
    times.setdefault((mode, int(count)), []).append(float(seconds))
    memory[(mode, int(count))] = max(memory.get((mode, int(count)), 0), int(rss))
print(f"{'files':>6} {'merge s':>9} {'loop s':>9} {'ratio':>6} {'merge peak KiB':>15}")
for count in sorted({c for _, c in times}):
    m = statistics.median(times[("merge", count)])
    b = statistics.median(times[("baseline", count)])
    print(f"{count:>6} {m:>9.3f} {b:>9.3f} {m / b:>5.2f}x {memory[('merge', count)]:>15}")
sizes = sorted({c for _, c in memory})
if len(sizes) > 1:
    small, large = memory[("merge", sizes[0])], memory[("merge", sizes[-1])]
    print(f"peak memory {sizes[-1]:,} vs {sizes[0]:,} files: {large} KiB vs {small} KiB ({large / small:.2f}x)")
PY
