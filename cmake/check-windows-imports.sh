#!/usr/bin/env bash
# Checks that Windows programs import nothing that Windows 7 SP1 lacks:
#   cmake/check-windows-imports.sh OBJDUMP ALLOW_LIST LISTING PROGRAM...
# Lists every function each PROGRAM imports (OBJDUMP -p: the import tables)
# and fails on any one not in ALLOW_LIST, and on any import of a compiler
# runtime DLL, which a statically linked program must not need. On success
# writes the imports, one "program dll function" line each, to LISTING.
set -euo pipefail
if [ $# -lt 4 ]; then
  echo "usage: $0 OBJDUMP ALLOW_LIST LISTING PROGRAM..." >&2
  exit 2
fi
objdump=$1 allow_list=$2 listing=$3
shift 3

# DLL names compare without regard to case, as Windows loads them.
allowed=$(awk '!/^#/ && NF >= 2 { print tolower($1), $2 }' "$allow_list" | sort -u)
imports=""
for program in "$@"; do
  # "DLL Name: X" opens a DLL's table; its functions follow as "vma hint name".
  table=$("$objdump" -p "$program" | awk -v program="$(basename "$program")" '
    /^\tDLL Name: / { dll = $3; next }
    dll != "" && /^\t[0-9a-f]+\t/ { print program, dll, ($3 == "" ? "ordinal-" $2 : $3) }
    /^The Export Tables|^PE File Base Relocations/ { dll = "" }')
  if [ -z "$table" ]; then
    echo "imports: $program: no import table found" >&2
    exit 1
  fi
  imports+="$table"$'\n'
done
imports=${imports%$'\n'}

status=0
runtime=$(awk 'tolower($2) ~ /^(libgcc_s_|libstdc\+\+-|libwinpthread-)/ { print $1, $2 }' <<<"$imports" | sort -u)
if [ -n "$runtime" ]; then
  echo "imports: a compiler runtime DLL is imported; link it statically:" >&2
  sed 's/^/    /' <<<"$runtime" >&2
  status=1
fi
missing=$(awk 'NR == FNR { allowed[$0] = 1; next } !((tolower($2) " " $3) in allowed)' \
  <(printf '%s\n' "$allowed") <(printf '%s\n' "$imports"))
if [ -n "$missing" ]; then
  echo "imports: not known to be in Windows 7 SP1 (add each to $allow_list with its source only" \
    "when the platform's documentation or the library says it is; otherwise look it up at run time):" >&2
  sed 's/^/    /' <<<"$missing" >&2
  status=1
fi
if [ "$status" -ne 0 ]; then
  rm -f "$listing"
  exit "$status"
fi
printf '%s\n' "$imports" >"$listing"
counts=$(awk '{ count[$1]++ } END { for (program in count) { printf "%s%s %d", separator, program, count[program]; separator = ", " } }' \
  "$listing")
echo "imports: $counts functions from $(awk '{ print tolower($2) }' "$listing" | sort -u | wc -l) DLLs," \
  "all in Windows 7 SP1"
