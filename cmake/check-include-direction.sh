#!/bin/sh
# Fails when a production folder includes from a folder above it, or from one
# beside it that it does not build on. Each folder lists what it may include;
# anything else ("tests/", a folder added later) is refused until listed here.
#   check-include-direction.sh SOURCE_DIR
set -eu
cd "$1"

allowed() {
  case "$1" in
    text)    echo "text" ;;
    records) echo "records text" ;;
    winapi)  echo "winapi" ;;
    files)   echo "files text winapi" ;;
    convert) echo "convert records files text" ;;
    dialog)  echo "dialog convert records files text tallowbrook_version.h" ;;
    cli)     echo "cli convert records files text winapi tallowbrook_version.h" ;;
    app)     echo "app dialog convert records files text tallowbrook_version.h" ;;
    win32)   echo "win32 dialog convert records files text winapi tallowbrook_version.h" ;;
  esac
}

status=0
for folder in text records winapi files convert dialog cli app win32; do
  [ -d "$folder" ] || continue
  permitted=$(allowed "$folder")
  # Quoted includes only: <...> names the system's and libraries' headers.
  matches=$(grep -rn --include='*.h' --include='*.cpp' --include='*.rc' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$folder" || true)
  [ -n "$matches" ] || continue
  while IFS= read -r line; do
    target=$(printf '%s\n' "$line" | sed 's/^[^"]*"\([^"]*\)".*/\1/')
    top=${target%%/*}
    case " $permitted " in
      *" $top "*) ;;
      *)
        echo "$line: $folder/ may include only from: $permitted" >&2
        status=1
        ;;
    esac
  done <<LINES
$matches
LINES
done
[ "$status" -eq 0 ] && echo "ok: every include points down"
exit "$status"
