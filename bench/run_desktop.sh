#!/usr/bin/env bash
# The desktop programs against the command line, as users meet them:
#  - a Merge of 10,000 files in the Qt dialog (the real button, the real summary
#    box, offscreen) against `tallowbrook-cli merge` on the same files;
#  - a Merge of 1,000 files in the native dialog under Wine against
#    `tallowbrook-cli.exe merge`, with a running wineserver;
#  - adding 100,000 files in one batch in ascending, descending and shuffled
#    order, and 10,000 shuffled, from the open-file dialog's answer to the drawn
#    list in the Qt dialog.
# The two sides of each comparison alternate, round by round; the median round
# counts. The dialog's time runs from the press of "Merge" to its summary box
# on screen; the command line's is its whole run as a process.
# Uses build/ci (Qt dialog, command line) and build/windows (the native side,
# skipped when Wine is missing). Files live in build/bench-desktop (on disk).
#
#   bench/run_desktop.sh [ROUNDS]   (default 3)
# BENCH_PARTS="qt add wine" (the default) chooses what runs.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
rounds=${1:-3}
parts=" ${BENCH_PARTS:-qt add wine} "
work=$root/build/bench-desktop
mkdir -p "$work"
results=$work/results.txt # kept: the raw times, a line per run
: >"$results"

cmake --preset ci >/dev/null
cmake --build --preset ci -j 2 --target tallowbrook_bench_desktop_qt tallowbrook_bench_merge tallowbrook-cli >/dev/null
bench=build/ci/bench
cli=build/ci/cli/tallowbrook-cli
export QT_QPA_PLATFORM=offscreen

time_of() { # prints the seconds "$@" takes as a process
  python3 -c 'import subprocess, sys, time
start = time.monotonic()
subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
print(f"{time.monotonic() - start:.4f}")' "$@"
}

if [[ $parts == *" qt "* ]]; then
echo "=== Qt dialog against tallowbrook-cli, 10,000 files"
rm -rf "$work/qt" && mkdir -p "$work/qt"
"$bench/tallowbrook_bench_merge" generate "$work/qt" 10000
for ((round = 0; round < rounds; round++)); do
  if ((round % 2 == 0)); then order="gui cli"; else order="cli gui"; fi
  for side in $order; do
    sync
    if [ "$side" = gui ]; then
      "$bench/tallowbrook_bench_desktop_qt" merge "$work/qt" 10000 2>/dev/null | sed "s/^/qt $round /" >>"$results"
    else
      echo "qt $round cli-merge 10000 $(time_of "$cli" merge --to 8.02 "$work/qt")" >>"$results"
    fi
  done
done
rm -rf "$work/qt"
fi

if [[ $parts == *" add "* ]]; then
echo "=== adding files in the Qt dialog"
for ((round = 0; round < rounds; round++)); do
  for order in ascending descending shuffled; do
    "$bench/tallowbrook_bench_desktop_qt" add 100000 "$order" 2>/dev/null | sed "s/^/add $round /" >>"$results"
  done
  "$bench/tallowbrook_bench_desktop_qt" add 10000 shuffled 2>/dev/null | sed "s/^/add $round /" >>"$results"
done
fi

if [[ $parts == *" wine "* ]] && command -v wine >/dev/null; then
  echo "=== native dialog under Wine against tallowbrook-cli.exe, 1,000 files"
  cmake --preset windows >/dev/null
  cmake --build --preset windows -j 2 --target tallowbrook_bench_desktop_win32 tallowbrook-cli >/dev/null
  # shellcheck source=scripts/wine-prefix.sh
  source scripts/wine-prefix.sh
  unset DISPLAY WAYLAND_DISPLAY
  tallowbrook_wine_prefix "$root/build/windows/wineprefix" null
  wineserver -p || true # one may be running already
  rm -rf "$work/win" && mkdir -p "$work/win"
  "$bench/tallowbrook_bench_merge" generate "$work/win" 1000
  folder=$(winepath -w "$work/win")
  for ((round = 0; round < rounds; round++)); do
    if ((round % 2 == 0)); then order="gui cli"; else order="cli gui"; fi
    for side in $order; do
      sync
      if [ "$side" = gui ]; then
        "$wine_cmd" build/windows/tests/windows/tallowbrook_bench_desktop_win32.exe "$folder" 1000 |
          tr -d '\r' | sed "s/^/wine $round /" >>"$results"
      else
        echo "wine $round cli-merge 1000 $(time_of "$wine_cmd" build/windows/cli/tallowbrook-cli.exe merge --to 8.02 "$folder")" >>"$results"
      fi
    done
  done
  wineserver -k || true
  rm -rf "$work/win"
fi

python3 - "$results" <<'PY'
import statistics, sys
rows = [line.split() for line in open(sys.argv[1]) if line.strip()]
times = {}
for where, rnd, what, count, seconds in rows:
    times.setdefault((where, what, int(count)), {})[int(rnd)] = float(seconds)
for where, count in (("qt", 10000), ("wine", 1000)):
    gui, cli = times.get((where, "gui-merge", count)), times.get((where, "cli-merge", count))
    if not gui or not cli:
        continue
    ratios = [gui[r] / cli[r] for r in sorted(gui) if r in cli]
    print(f"{where:>4} merge of {count} files: dialog {statistics.median(gui.values()):.3f} s, "
          f"command line {statistics.median(cli.values()):.3f} s, ratio median {statistics.median(ratios):.2f} "
          f"(rounds {', '.join(f'{r:.2f}' for r in ratios)})")
base = times.get(("add", "add-ascending", 100000))
for (where, what, count), by_round in sorted(times.items()):
    if where != "add":
        continue
    median = statistics.median(by_round.values())
    against = f", {median / statistics.median(base.values()):.2f}x ascending" if base and count == 100000 else ""
    print(f" add {count} files, {what[4:]}: median {median:.3f} s{against}")
PY
