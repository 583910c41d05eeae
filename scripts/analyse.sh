#!/usr/bin/env bash
# Static analysis: clang-tidy (checks in .clang-tidy) and cppcheck over
# text/, records/, files/, convert/, dialog/, cli/, fuzz/ and, when Qt 6 is
# installed, app/; cppcheck also over win32/ and winapi/. Any warning fails the script.
#
# clang-tidy reads the compile database of its own clang configuration in
# build/analyse (preset analyse); nothing is compiled there but Qt's generated
# sources.
#
# Environment:
#   ANALYSE_APP   auto (default: app/ when Qt 6 is found), on, off
#   ANALYSE_JOBS  parallel analyser processes (default 2)
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=${ANALYSE_JOBS:-2}
build=build/analyse
folders=(text records files convert dialog cli fuzz)

app=OFF
case "${ANALYSE_APP:-auto}" in
  on) app=ON ;;
  off) app=OFF ;;
  *) if [ -f app/CMakeLists.txt ] && pkg-config --exists Qt6Widgets 2>/dev/null; then app=ON; fi ;;
esac
if [ "$app" = ON ]; then
  folders+=(app)
else
  echo "note: app/ is not analysed (Qt 6 not found or ANALYSE_APP=off)"
fi

cmake --preset analyse -DTALLOWBROOK_BUILD_APP="$app" >/dev/null
if [ "$app" = ON ]; then
  # The moc and resource outputs the app's sources include.
  autogen=$(ninja -C "$build" -t targets all | sed -n 's/^\(app\/[A-Za-z_]*_autogen\): phony$/\1/p' | sort -u)
  if [ -n "$autogen" ]; then
    # shellcheck disable=SC2086
    ninja -C "$build" -j "$jobs" $autogen >/dev/null
  fi
fi

status=0

echo "=== clang-tidy over: ${folders[*]}"
regex="$(pwd)/($(IFS='|'; echo "${folders[*]}"))/.*\\.cpp\$"
if ! run-clang-tidy -p "$build" -j "$jobs" -quiet "$regex" >"$build/clang-tidy.log" 2>&1; then
  status=1
fi
# Show the findings only, not the progress lines.
sed 's/\x1b\[[0-9;]*m//g' "$build/clang-tidy.log" | grep -E '(warning|error):' | sort -u || true

echo "=== cppcheck over: ${folders[*]}"
cppcheck_args=(
  --std=c++20 --language=c++ -I . -j "$jobs" --quiet
  --enable=warning,style,performance,portability
  --inline-suppr --error-exitcode=1
  --suppress=missingIncludeSystem
  --library=qt --library=posix
  # Each platform's file access is built only on its platform.
  -U_WIN32
)
# Its exit code is not reliable with several jobs; any line it prints is a finding.
cppcheck "${cppcheck_args[@]}" "${folders[@]}" >"$build/cppcheck.log" 2>&1 || true
# The Windows desktop program is Windows code throughout; clang-tidy cannot
# compile it here, cppcheck reads it with the Windows API's declarations.
if [ -d win32 ]; then
  echo "=== cppcheck over: win32 winapi (as Windows code)"
  cppcheck --std=c++20 --language=c++ -I . -j "$jobs" --quiet --enable=warning,style,performance,portability \
    --inline-suppr --error-exitcode=1 --suppress=missingIncludeSystem --library=windows -D_WIN32 -DUNICODE \
    win32 winapi >>"$build/cppcheck.log" 2>&1 || true
fi
if [ -s "$build/cppcheck.log" ]; then
  cat "$build/cppcheck.log"
  status=1
fi

if [ "$status" -ne 0 ]; then
  echo "=== analysis FAILED: see the warnings above ($build/clang-tidy.log has clang-tidy's full output)"
else
  echo "=== analysis clean"
fi
exit "$status"
