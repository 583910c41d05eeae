#!/usr/bin/env bash
# End-to-end run of tallowbrook-cli.exe under Wine.
#
#   tests/windows/e2e.sh WINDOWS_BUILD_DIR REFERENCE_CLI
#
# Converts files of every version to every other version with the Windows
# program and with REFERENCE_CLI (the same program built for this machine) and
# compares the outputs byte for byte; then checks what only Windows does: a
# source that another program holds open for writing is reported with the
# sharing-violation cause and the run goes on, a read-only output ends the
# run, and the command line follows Windows' conventions (a folder of any
# length, wildcards, "/?"). Needs WINEPREFIX set up; exits non-zero on any
# failure.
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 WINDOWS_BUILD_DIR REFERENCE_CLI" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
reference=$2
cli="$build/cli/tallowbrook-cli.exe"
holder="$build/tests/windows/tallowbrook_hold_open.exe"
work="$build/e2e"
wine_cmd=$(command -v wine64 || command -v wine)

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# Wine sees the whole file system as drive Z:.
windows_path() {
  printf 'Z:%s' "${1//\//\\}"
}

run_windows() {
  "$wine_cmd" "$cli" "$@"
}

names=(6.04 7.00 7.05 7.07 8.00 8.02)
suffixes=(_604 _700 _705 _707 _800 _802)
lengths=(1472 1480 1852 1856 2888 2892)

rm -rf "$work"
mkdir -p "$work/inputs"
# One file of each version, two of no version, and names that test the
# output-path rule: no extension, a short name.
for length in "${lengths[@]}" 1473 0; do
  head -c "$length" /dev/urandom >"$work/inputs/v$length.dat"
done
head -c 1856 /dev/urandom >"$work/inputs/settings"
head -c 2892 /dev/urandom >"$work/inputs/a.d"
# A name outside every ANSI code page reaches the program intact.
head -c 1852 /dev/urandom >"$work/inputs/Grüße 設定.dat"

echo "--- every version to every other version, compared with $reference"
for index in "${!names[@]}"; do
  name=${names[$index]}
  suffix=${suffixes[$index]}
  for side in windows reference; do
    mkdir -p "$work/$suffix/$side"
    cp "$work"/inputs/* "$work/$suffix/$side/"
  done

  windows_args=()
  reference_args=()
  for input in "$work"/inputs/*; do
    file=$(basename "$input")
    if [ "$index" -eq 3 ]; then
      # Forward slashes separate folders on Windows too.
      windows_args+=("Z:$work/$suffix/windows/$file")
    else
      windows_args+=("$(windows_path "$work/$suffix/windows/$file")")
    fi
    reference_args+=("$work/$suffix/reference/$file")
  done

  status=0
  run_windows merge --to "$name" "${windows_args[@]}" >"$work/$suffix/windows.out" 2>"$work/$suffix/windows.err" ||
    status=$?
  [ "$status" -eq 0 ] || fail "$name: tallowbrook-cli.exe exited with $status"
  status=0
  "$reference" merge --to "$name" "${reference_args[@]}" >"$work/$suffix/reference.out" \
    2>"$work/$suffix/reference.err" || status=$?
  [ "$status" -eq 0 ] || fail "$name: the reference exited with $status"

  # Standard output is in text mode on Windows.
  if ! diff <(tr -d '\r' <"$work/$suffix/windows.out") "$work/$suffix/reference.out" >/dev/null; then
    fail "$name: summaries differ: $(cat "$work/$suffix/windows.out") / $(cat "$work/$suffix/reference.out")"
  fi
  if [ -s "$work/$suffix/windows.err" ]; then
    fail "$name: unexpected messages: $(cat "$work/$suffix/windows.err")"
  fi
  windows_files=$(cd "$work/$suffix/windows" && ls -A)
  reference_files=$(cd "$work/$suffix/reference" && ls -A)
  if [ "$windows_files" != "$reference_files" ]; then
    fail "$name: different files written: [$windows_files] / [$reference_files]"
  fi
  written=0
  for output in "$work/$suffix/reference"/*; do
    file=$(basename "$output")
    [ -e "$work/inputs/$file" ] && continue
    written=$((written + 1))
    cmp -s "$output" "$work/$suffix/windows/$file" || fail "$name: $file differs"
  done
  # Five versions plus the three specially named files, less the one of the target's own version.
  expected=$((5 + 3 - (index == 2 || index == 3 || index == 5 ? 1 : 0)))
  [ "$written" -eq "$expected" ] || fail "$name: $written outputs, expected $expected"
  echo "$name: $written outputs identical"
done

echo "--- the command line by Windows conventions: a folder of 300 characters, wildcards, /?"
long="$work/long/$(printf 'f%.0s' $(seq 140))/$(printf 'g%.0s' $(seq 140))/Grüße 設定"
mkdir -p "$long/sub.dat"
cp "$work/inputs/v1472.dat" "$long/a.dat"
cp "$work/inputs/v1856.dat" "$long/B.DAT"
cp "$work/inputs/Grüße 設定.dat" "$long/"
long_windows=$(windows_path "$long")
[ ${#long_windows} -gt 300 ] || fail "the long folder's name has only ${#long_windows} characters"
long_outputs() { find "$long" -maxdepth 1 -name '*_802.*' | wc -l; }
# expect_run STATUS OUT ERR ARGUMENTS...: OUT is a pattern standard output must
# match, ERR what standard error must say.
expect_run() {
  local status=$1 out=$2 err=$3 got=0
  shift 3
  run_windows "$@" >"$work/conventions.out" 2>"$work/conventions.err" || got=$?
  [ "$got" -eq "$status" ] || fail "$*: exit status $got, not $status"
  [[ "$(tr -d '\r' <"$work/conventions.out")" == $out ]] || fail "$*: printed [$(cat "$work/conventions.out")]"
  [ "$(tr -d '\r' <"$work/conventions.err")" = "$err" ] || fail "$*: reported [$(cat "$work/conventions.err")]"
}
expect_run 0 'Done! Merged 3 configuration files.' '' merge --to 8.02 "$long_windows"
[ "$(long_outputs)" -eq 3 ] || fail "the long folder: $(long_outputs) outputs, not 3"
find "$long" -name '*_802.*' -delete
expect_run 0 'Done! Merged 3 configuration files.' '' merge --to 8.02 "$long_windows\\*.dat"
[ "$(long_outputs)" -eq 3 ] || fail "the long folder's *.dat: $(long_outputs) outputs, not 3"
expect_run 3 '*B.DAT: Version 7.07*' "tallowbrook-cli: no file matches $long_windows\\*.none" \
  identify "$long_windows\\*.none" "$long_windows\\?.dat"
expect_run 0 '*Subcommands:*' '' '/?'
expect_run 0 '*Usage: tallowbrook-cli merge*' '' merge '/?'
expect_run 0 '*: Version 6.04 (1472 bytes)' '' identify "$long/a.dat" # "/" begins a path here too
# cmd hands the wildcard over as it was typed (from a shorter folder: no
# current folder may be longer than 260 characters).
status=0
(cd "$work/inputs" && "$wine_cmd" cmd /c "$(windows_path "$cli")" identify '*.DAT') >"$work/conventions.out" 2>&1 \
  </dev/null || status=$?
[ "$status" -eq 0 ] && [ "$(grep -c ' bytes)' "$work/conventions.out")" -eq 9 ] ||
  fail "identify *.DAT from cmd: exit status $status, printed [$(cat "$work/conventions.out")]"
echo "long folders, wildcards and /? as on Windows"

echo "--- a source held open for writing by another program"
held="$work/held"
mkdir -p "$held/folder"
for file in first held last folder/inside; do
  head -c 1472 /dev/urandom >"$held/$file.dat"
done
# hold PATH: another program opens PATH without sharing it until
# $held/release appears; returns once it holds it (or has given up).
hold() {
  rm -f "$held/ready" "$held/release"
  "$wine_cmd" "$holder" "$(windows_path "$1")" "$(windows_path "$held/ready")" \
    "$(windows_path "$held/release")" 60 &
  holder_pid=$!
  for _ in $(seq 1 600); do
    [ -e "$held/ready" ] && break
    kill -0 "$holder_pid" 2>/dev/null || break
    sleep 0.05
  done
}
hold "$held/held.dat"
if [ ! -e "$held/ready" ]; then
  fail "the helper did not take hold of the file"
else
  status=0
  run_windows merge --to 8.02 "$(windows_path "$held/first.dat")" "$(windows_path "$held/held.dat")" \
    "$(windows_path "$held/last.dat")" >"$held/out" 2>"$held/err" || status=$?
  expected_err=$(printf 'File could not be opened \nA sharing violation occurred while accessing %s.' \
    "$(windows_path "$held/held.dat")")
  [ "$status" -eq 3 ] || fail "held source: exit status $status, not 3 (a source could not be opened)"
  [ "$(tr -d '\r' <"$held/err")" = "$expected_err" ] || fail "held source: message was [$(cat "$held/err")]"
  [ "$(tr -d '\r' <"$held/out")" = "Done! Merged 2 configuration files." ] ||
    fail "held source: summary was [$(cat "$held/out")]"
  [ -e "$held/first_802.dat" ] && [ -e "$held/last_802.dat" ] || fail "held source: the other entries were not converted"
  [ ! -e "$held/held_802.dat" ] || fail "held source: an output was written for it"
fi
touch "$held/release"
status=0
wait "$holder_pid" || status=$?
[ "$status" -eq 0 ] || fail "the helper exited with $status"
echo "held source reported, run went on"

echo "--- a folder another program holds cannot be listed: reported, and the run goes on"
hold "$held/folder"
if [ ! -e "$held/ready" ]; then
  fail "the helper did not take hold of the folder"
else
  expect_run 3 '*first.dat: Version 6.04 (1472 bytes)' \
    "$(printf 'Folder could not be read \nA sharing violation occurred while accessing %s.' \
      "$(windows_path "$held/folder")")" identify "$(windows_path "$held/folder")" "$(windows_path "$held/first.dat")"
fi
touch "$held/release"
wait "$holder_pid" || fail "the helper holding the folder failed"
echo "held folder reported, run went on"

echo "--- a read-only output ends the run"
blocked="$work/readonly"
mkdir -p "$blocked"
for file in first second third; do
  head -c 1480 /dev/urandom >"$blocked/$file.dat"
done
printf 'old' >"$blocked/second_604.dat"
chmod a-w "$blocked/second_604.dat" # Wine shows this as the read-only attribute
status=0
run_windows merge --to 6.04 "$(windows_path "$blocked/first.dat")" "$(windows_path "$blocked/second.dat")" \
  "$(windows_path "$blocked/third.dat")" >"$blocked/out" 2>"$blocked/err" || status=$?
[ "$status" -eq 1 ] || fail "read-only output: exit status $status"
[ "$(tr -d '\r' <"$blocked/err")" = "tallowbrook-cli: Access to $(windows_path "$blocked/second_604.dat") was denied." ] ||
  fail "read-only output: message was [$(cat "$blocked/err")]"
[ ! -s "$blocked/out" ] || fail "read-only output: a summary was shown"
[ -e "$blocked/first_604.dat" ] || fail "read-only output: the entry before it lost its output"
[ ! -e "$blocked/third_604.dat" ] || fail "read-only output: the run went past it"
[ "$(cat "$blocked/second_604.dat")" = "old" ] || fail "read-only output: the file was changed"
leftovers=$(find "$work" -name '.tallowbrook-*' | wc -l)
[ "$leftovers" -eq 0 ] || fail "$leftovers temporary files left behind"
echo "read-only output refused"

if [ "$failures" -ne 0 ]; then
  echo "end-to-end: $failures failure(s); files kept in $work" >&2
  exit 1
fi
echo "end-to-end: all passed"
