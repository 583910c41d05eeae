#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build/fuzz (preset fuzz), writes
# their seed corpora, and runs each target for a bounded time with a fixed
# seed. Any finding (crash, sanitizer report, leak, timeout, broken property)
# fails the script; the input that caused it is kept in build/fuzz/artifacts/<target>/.
#
# Environment:
#   FUZZ_SECONDS  seconds per target (default 30)
#   FUZZ_TARGETS  targets to run (default: all three)
#   FUZZ_JOBS     build jobs (default 2)
#   FUZZ_KEEP_CORPUS=1  keep the corpus grown by earlier runs instead of
#                       starting from the seeds again
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-30}
targets=${FUZZ_TARGETS:-"fuzz_converters fuzz_output_path fuzz_merge"}
jobs=${FUZZ_JOBS:-2}
build=build/fuzz

# The preset instruments the libraries as well as the targets, so coverage
# guides the fuzzer through the code under test; Debug keeps the asserts of the
# byte operations live, -O1 keeps the run fast.
cmake --preset fuzz >/dev/null
# shellcheck disable=SC2086
cmake --build --preset fuzz -j "$jobs" --target $targets

python3 fuzz/make-seeds.py "$build/seeds"

# The driver target writes files; a memory file system keeps each flush cheap.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

max_len_of() {
  case "$1" in
    fuzz_converters) echo 2900 ;; # one pair byte and the longest record
    fuzz_merge) echo 3000 ;;      # the pattern repeats, lengths are separate
    *) echo 4096 ;;
  esac
}
seeds_of() { echo "$build/seeds/${1#fuzz_}"; }

status=0
summary=""
for target in $targets; do
  corpus="$build/corpus/$target"
  artifacts="$build/artifacts/$target"
  if [ "${FUZZ_KEEP_CORPUS:-0}" != 1 ]; then
    rm -rf "$corpus"
  fi
  mkdir -p "$corpus" "$artifacts"
  log="$build/$target.log"
  echo "=== $target: ${seconds}s"
  set +e
  "$build/fuzz/$target" "$corpus" "$(seeds_of "$target")" \
    -seed=1 -max_total_time="$seconds" -max_len="$(max_len_of "$target")" \
    -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" >"$log" 2>&1
  rc=$?
  set -e
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
  if [ "$rc" -ne 0 ]; then
    echo "--- $target FAILED (exit $rc); the log's end:"
    tail -n 40 "$log"
    echo "--- reproducer(s): $(ls "$artifacts" | sed "s|^|$artifacts/|" | tr '\n' ' ')"
    status=1
    summary+="$target: FAILED after ${runs:-?} executions"$'\n'
  else
    summary+="$target: ${runs:-?} executions, no finding"$'\n'
  fi
done

echo "=== fuzz summary"
printf '%s' "$summary"
exit "$status"
