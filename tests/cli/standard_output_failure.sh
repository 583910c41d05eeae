#!/bin/sh
# tallowbrook-cli with a standard output that cannot be written, as a shell
# runs it: the summary lost to a full device or a closed descriptor must end
# the program with exit status 1 and "tallowbrook-cli: write error: ..." on
# standard error. A closed standard output that nothing was written to is no
# error of its own.
#   standard_output_failure.sh CLI
set -u
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# expect NAME STATUS STDERR -- COMMAND... (standard output redirected by the caller's eval)
expect() {
  name=$1 want_status=$2 want_err=$3
  shift 3
  status=0
  eval "$*" 2>"$work/err" || status=$?
  got_err=$(cat "$work/err")
  if [ "$status" -ne "$want_status" ] || [ "$got_err" != "$want_err" ]; then
    echo "FAIL: $name: exit $status (want $want_status), stderr \"$got_err\" (want \"$want_err\")" >&2
    failures=$((failures + 1))
  else
    echo "ok: $name"
  fi
}

head -c 1472 /dev/zero >"$work/a.dat" # version 6.04, known by its length
cli_q="'$cli'"
full="tallowbrook-cli: write error: No space left on device"
closed="tallowbrook-cli: write error: Bad file descriptor"

expect "merge, standard output writable" 0 "" "$cli_q merge --to 8.02 '$work/a.dat' >'$work/out'"
if [ "$(cat "$work/out")" != "Done! Merged 1 configuration files." ]; then
  echo "FAIL: the summary was not written" >&2
  failures=$((failures + 1))
fi
expect "merge, summary to a full device" 1 "$full" "$cli_q merge --to 8.02 '$work/a.dat' >/dev/full"
expect "merge --verbose to a full device" 1 "$full" "$cli_q merge -v --to 8.02 '$work/a.dat' >/dev/full"
expect "identify to a full device" 1 "$full" "$cli_q identify '$work/a.dat' >/dev/full"
expect "--version to a full device" 1 "$full" "$cli_q --version >/dev/full"
expect "--help to a full device" 1 "$full" "$cli_q --help >/dev/full"
expect "merge, standard output closed" 1 "$closed" "$cli_q merge --to 8.02 '$work/a.dat' >&-"
# Nothing to write: a usage error keeps its own status and says only what it says.
expect "usage error, standard output closed" 2 "$("$cli" frobnicate 2>&1 >/dev/null)" "$cli_q frobnicate >&-"

if [ "$failures" -ne 0 ]; then
  echo "$failures failed" >&2
  exit 1
fi
