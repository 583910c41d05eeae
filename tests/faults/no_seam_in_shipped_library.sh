#!/bin/sh
# The shipped driver library must neither hold nor call the fault seam.
#   no_seam_in_shipped_library.sh NM LIBRARY
set -eu
nm_tool=$1
library=$2
symbols=$("$nm_tool" -C "$library")
# Without the file access in the listing, an empty or unreadable one would pass.
if ! printf '%s\n' "$symbols" | grep -q 'tallowbrook::OutputFile::commit'; then
  echo "FAIL: $library lists no file access; is it the driver library?" >&2
  exit 1
fi
# Functions of the seam's namespace, defined or called; its enum may still name
# the parameter of a function that does nothing without the seam.
if printf '%s\n' "$symbols" | grep 'tallowbrook::fault::[A-Za-z_]*('; then
  echo "FAIL: $library holds the fault seam (above)" >&2
  exit 1
fi
echo "ok: no fault seam in $library"
