#!/usr/bin/env bash
# Checks the Windows packages under Wine, in a Wine prefix made for the run and
# thrown away after it:
#   packaging/windows/check.sh DIST REFERENCE_CLI [ARCHITECTURE]
# REFERENCE_CLI is tallowbrook-cli built for this machine: the installed
# Windows program must write the same files. ARCHITECTURE is x64 (the
# default: the win64 packages) or x86 (win32); the prefix is a 64-bit Windows,
# where the 32-bit installer installs into "Program Files (x86)". When the
# other architecture's installer is in DIST too, each must replace the other. Every check reads files and
# registry values, never only an exit status: Wine can exit 0 with nothing
# installed. Each Wine command is bounded by TALLOWBROOK_WINE_TIMEOUT seconds
# (120). Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
if [ $# -lt 2 ] || [ $# -gt 3 ]; then
  echo "usage: $0 DIST REFERENCE_CLI [x64|x86]" >&2
  exit 2
fi
dist=$(realpath "$1")
reference=$(realpath "$2")
version=$(packaging/project-version.sh)
architecture=${3:-x64}
# What differs between the architectures: the packages' names, the folder the
# installer installs into, the registry view its entries are in (/reg:64 or
# /reg:32: a 32-bit program sees only the second unless told), the installer's
# platform and the programs' file format (objdump's name for it).
case $architecture in
  x64) bits=win64 other_bits=win32 program_files='Program Files' view=64 template=x64 format=pei-x86-64 ;;
  x86) bits=win32 other_bits=win64 program_files='Program Files (x86)' view=32 template=Intel format=pei-i386 ;;
  *) echo "windows package checks: [$architecture] is not x64 or x86" >&2; exit 2 ;;
esac
msi=$dist/tallowbrook-$version-$bits.msi
zip=$dist/tallowbrook-$version-$bits.zip
other_msi=$dist/tallowbrook-$version-$other_bits.msi
limit=${TALLOWBROOK_WINE_TIMEOUT:-120}
for file in "$msi" "$zip" "$reference"; do
  [ -f "$file" ] || { echo "windows package checks: $file is missing" >&2; exit 1; }
done

work=$(mktemp -d /tmp/tallowbrook-package-check.XXXXXX)
logs=$root/build/package-windows/$architecture/check-logs
rm -rf "$logs"
mkdir -p "$logs"
# Wine's own desktop files, should any be written, stay in the throwaway folder.
export XDG_DATA_HOME=$work/xdg-data XDG_CONFIG_HOME=$work/xdg-config
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
  timeout 30 wineserver -k 2>/dev/null || true
  timeout 30 wineserver -w 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
checks=0
ok() {
  checks=$((checks + 1))
  echo "ok - $*"
}
fail() {
  checks=$((checks + 1))
  failures=$((failures + 1))
  echo "FAIL - $*" >&2
}
# expect DESCRIPTION COMMAND...: passes when COMMAND succeeds.
expect() {
  local description=$1
  shift
  if "$@"; then ok "$description"; else fail "$description"; fi
}
run_wine() {
  timeout "$limit" wine "$@"
}
# Wine sees the whole file system as drive Z:.
windows_path() {
  printf 'Z:%s' "${1//\//\\}"
}
milliseconds() {
  echo $(($(date +%s%N) / 1000000))
}
phase_started=0
phase() {
  phase_started=$(milliseconds)
  echo "--- $*"
}
phase_took() {
  echo "    ($(($(milliseconds) - phase_started)) ms)"
}

phase "a new Wine prefix"
# The null graphics driver: no display is needed, and a crash ends the
# program instead of waiting for its dialog to be closed.
# shellcheck source=scripts/wine-prefix.sh
source "$root/scripts/wine-prefix.sh"
home_before=$(tallowbrook_home_outside_prefix)
tallowbrook_wine_prefix "$work/prefix" null </dev/null
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "windows package checks: Wine did not create its prefix in $WINEPREFIX" >&2
  exit 1
fi
# A server that stays for the whole run makes each Wine command start in
# milliseconds. The first command starts Wine's own background processes,
# which keep the output they were given: /dev/null here, so that no later
# $(wine ...) waits for them to close it.
wineserver -p </dev/null >/dev/null 2>&1
run_wine reg query 'HKCU\Software\Wine\Drivers' </dev/null >/dev/null 2>&1
phase_took

drive_c=$WINEPREFIX/drive_c
installed="$drive_c/$program_files/Tallowbrook"
installed_windows="C:\\$program_files\\Tallowbrook"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'

# registry_value KEY NAME: the value's data, empty when the key or value is missing.
registry_value() {
  run_wine reg query "$1" /v "$2" "/reg:$view" 2>/dev/null | tr -d '\r' |
    sed -n "s/^    $2    REG_[A-Z_]*    //p"
}
# The uninstall entries named Tallowbrook: our own and the one Windows
# Installer writes under the product code (hidden), one line each, sorted,
# from both registry views: either architecture's product counts.
tallowbrook_entries() {
  for entries_view in 64 32; do
    run_wine reg query "$uninstall_key" /s "/reg:$entries_view" 2>/dev/null
  done | tr -d '\r' |
    awk -v prefix="HKEY_LOCAL_MACHINE\\\\Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\" '
      index($0, prefix) == 1 { key = substr($0, length(prefix) + 1) }
      $0 == "    DisplayName    REG_SZ    Tallowbrook" { print key }' | sort
}
installed_version() {
  registry_value "$uninstall_key\\Tallowbrook" DisplayVersion
}
# only_product CODE: the one product installed is CODE, with our entry.
only_product() {
  [ "$(tallowbrook_entries)" = "$(printf '%s\n' Tallowbrook "$1" | sort)" ]
}
product_code() {
  msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' '$1 == "ProductCode" { print $2 }'
}
# msiexec_status LOG ARGUMENTS...: runs msiexec quietly with a full log; sets status.
msiexec_status() {
  local log=$1
  shift
  status=0
  run_wine msiexec "$@" /qn /l*v "$(windows_path "$logs/$log")" || status=$?
}
start_menu_links() {
  find "$drive_c" -path '*/Start Menu/Programs/*' -iname 'tallowbrook*.lnk' 2>/dev/null
}

phase "the installer's tables"
properties=$(msiinfo export "$msi" Property | tr -d '\r')
property() {
  awk -F'\t' -v name="$1" '$1 == name { print $2 }' <<<"$properties"
}
IFS=. read -r major minor patch tweak <<<"$version"
expected_product_version=$major.$minor.$((patch * 1000 + tweak))
if [ "$(property ProductVersion)" = "$expected_product_version" ]; then
  ok "ProductVersion $expected_product_version stands for $version in the three fields Windows Installer compares"
else
  fail "ProductVersion is [$(property ProductVersion)], expected $expected_product_version"
fi
expect "per-machine installation (ALLUSERS 1)" [ "$(property ALLUSERS)" = 1 ]
expect "Windows Installer's own uninstall entry hidden (ARPSYSTEMCOMPONENT 1)" [ "$(property ARPSYSTEMCOMPONENT)" = 1 ]
expect "an installer for $architecture (Template $template)" grep -q "^Template: $template;" <(msiinfo suminfo "$msi")
expect "the downgrade message is a launch condition" \
  grep -q 'A newer version of Tallowbrook is already installed\.' <(msiinfo export "$msi" LaunchCondition)
# Root 0 is HKEY_CLASSES_ROOT, where file types and their programs live.
registry_rows=$(msiinfo export "$msi" Registry | tail -n +4 | tr -d '\r')
if awk -F'\t' '$2 == 0 || tolower($3) ~ /^software\\classes/ { found = 1 } END { exit !found }' <<<"$registry_rows"; then
  fail "the installer writes file types: $registry_rows"
else
  ok "no file association (no HKEY_CLASSES_ROOT rows)"
fi
phase_took

phase "unpacking the zip"
unpacked=$work/zip
python3 - "$zip" "$unpacked" >"$work/zip-names" <<'EOF'
import sys
import zipfile

with zipfile.ZipFile(sys.argv[1]) as archive:
    print("\n".join(archive.namelist()))
    archive.extractall(sys.argv[2])
EOF
expected_names=$(printf 'tallowbrook-%s/%s\n' "$version" tallowbrook.exe "$version" tallowbrook-cli.exe \
  "$version" README.txt)
expect "the zip holds tallowbrook-$version/{tallowbrook.exe, tallowbrook-cli.exe, README.txt} and nothing else" \
  [ "$(cat "$work/zip-names")" = "$expected_names" ]
portable=$unpacked/tallowbrook-$version
phase_took

# Installers of a lower, a higher and again the higher version (a rebuild:
# same version, new product code), from the same files, for the upgrade checks.
# The higher one is the next major version, not the highest there is: Wine 8
# took a major version of 255 for one lower than 1.
phase "installers of other versions for the upgrade checks"
previous_version=0.0.0.1
newer_version=$((major + 1)).0.0.0
bash packaging/windows/make-msi.sh "$portable" "$work/previous.msi" "$previous_version" "$architecture"
bash packaging/windows/make-msi.sh "$portable" "$work/newer.msi" "$newer_version" "$architecture"
bash packaging/windows/make-msi.sh "$portable" "$work/newer-rebuilt.msi" "$newer_version" "$architecture"
phase_took

phase "msiexec /i over an older version"
msi_code=$(product_code "$msi")
previous_code=$(product_code "$work/previous.msi")
msiexec_status previous-install.log /i "$(windows_path "$work/previous.msi")"
expect "the older version installed (entry $previous_version)" [ "$(installed_version)" = "$previous_version" ]
started=$(milliseconds)
msiexec_status install.log /i "$(windows_path "$msi")"
echo "    (msiexec /i $(($(milliseconds) - started)) ms, exit status $status)"
expect "msiexec /i reported success" [ "$status" -eq 0 ]
expect "the older version $previous_code was replaced: the entries are Tallowbrook and $msi_code only" \
  only_product "$msi_code"
phase_took

if [ -f "$other_msi" ]; then
  phase "the other architecture's installer of this version, then this one again"
  other_code=$(product_code "$other_msi")
  msiexec_status other-install.log /i "$(windows_path "$other_msi")"
  if [ "$status" -eq 0 ] && only_product "$other_code" && [ ! -e "$installed" ]; then
    ok "$(basename "$other_msi") replaced this architecture's installation: one product, $installed_windows gone"
  else
    fail "$(basename "$other_msi") over this one: exit status $status, entries" \
      "[$(tallowbrook_entries | tr '\n' ' ')], $installed_windows $([ -e "$installed" ] && echo stayed || echo gone)"
  fi
  msiexec_status reinstall.log /i "$(windows_path "$msi")"
  other_folders=$(find "$drive_c" -maxdepth 2 -path "$drive_c/Program Files*/Tallowbrook" ! -path "$installed")
  if [ "$status" -eq 0 ] && only_product "$msi_code" && [ -z "$other_folders" ]; then
    ok "$(basename "$msi") replaced it again: one product, no other Program Files folder"
  else
    fail "$(basename "$msi") over the other: exit status $status, entries" \
      "[$(tallowbrook_entries | tr '\n' ' ')], other folders [$other_folders]"
  fi
  phase_took
fi

phase "what the installer installed"
for file in tallowbrook.exe tallowbrook-cli.exe README.txt; do
  expect "$installed_windows\\$file installed, identical to the zip's" cmp -s "$installed/$file" "$portable/$file"
done
reported=$(run_wine "$installed_windows\\tallowbrook-cli.exe" --version | tr -d '\r')
expect "the installed tallowbrook-cli.exe --version says tallowbrook-cli $version" \
  [ "$reported" = "tallowbrook-cli $version" ]

samples=$work/samples
python3 scripts/make-samples.py "$samples/inputs" >/dev/null
for target in 6.04 8.02; do
  for side in windows reference; do
    mkdir -p "$samples/$target/$side"
    cp "$samples"/inputs/* "$samples/$target/$side/"
  done
  windows_args=()
  for input in "$samples/$target/windows"/*; do
    windows_args+=("$(windows_path "$input")")
  done
  windows_status=0
  run_wine "$installed_windows\\tallowbrook-cli.exe" merge --to "$target" "${windows_args[@]}" \
    >"$samples/$target/windows.out" 2>&1 || windows_status=$?
  reference_status=0
  "$reference" merge --to "$target" "$samples/$target/reference"/* >"$samples/$target/reference.out" 2>&1 ||
    reference_status=$?
  converted=0
  same=1
  for output in "$samples/$target/reference"/*; do
    name=$(basename "$output")
    [ -e "$samples/inputs/$name" ] && continue
    converted=$((converted + 1))
    cmp -s "$output" "$samples/$target/windows/$name" || same=0
  done
  if [ "$windows_status" -eq 0 ] && [ "$reference_status" -eq 0 ] && [ "$same" -eq 1 ] && [ "$converted" -ge 5 ] &&
    [ "$(ls "$samples/$target/windows")" = "$(ls "$samples/$target/reference")" ] &&
    [ "$(tr -d '\r' <"$samples/$target/windows.out")" = "$(cat "$samples/$target/reference.out")" ]; then
    ok "the installed tallowbrook-cli.exe converted the samples to $target: $converted files, identical to this machine's build"
  else
    fail "converting the samples to $target (exit status $windows_status, the reference's $reference_status):" \
      "$(cat "$samples/$target/windows.out") / $(cat "$samples/$target/reference.out")"
  fi
done

links=$(start_menu_links)
# Wine puts a per-machine shortcut into the user's Start menu; Windows puts it
# into the one of all users. Either is the Start menu.
if [ "$(wc -l <<<"$links")" -eq 1 ] && [ -n "$links" ] &&
  grep -qaF "$installed_windows\\tallowbrook.exe" "$links"; then
  ok "the Start-menu shortcut ${links#"$drive_c"/} points to $installed_windows\\tallowbrook.exe"
else
  fail "the Start-menu shortcut: found [$links]"
fi

entry="$uninstall_key\\Tallowbrook"
expect "uninstall entry: DisplayName Tallowbrook" [ "$(registry_value "$entry" DisplayName)" = Tallowbrook ]
expect "uninstall entry: DisplayVersion $version" [ "$(registry_value "$entry" DisplayVersion)" = "$version" ]
expect "uninstall entry: Publisher The Tallowbrook authors" \
  [ "$(registry_value "$entry" Publisher)" = "The Tallowbrook authors" ]
expect "uninstall entry: UninstallString MsiExec.exe /X$msi_code" \
  [ "$(registry_value "$entry" UninstallString)" = "MsiExec.exe /X$msi_code" ]
expect "uninstall entry: InstallLocation $installed_windows\\" \
  [ "$(registry_value "$entry" InstallLocation)" = "$installed_windows\\" ]
expect "uninstall entry: DisplayIcon the installed tallowbrook.exe" \
  [ "$(registry_value "$entry" DisplayIcon)" = "$installed_windows\\tallowbrook.exe,0" ]
expect "Windows Installer's own entry $msi_code is hidden (SystemComponent 1)" \
  [ "$(registry_value "$uninstall_key\\$msi_code" SystemComponent)" = 0x1 ]
phase_took

phase "msiexec /x"
started=$(milliseconds)
msiexec_status uninstall.log /x "$(windows_path "$msi")"
echo "    (msiexec /x $(($(milliseconds) - started)) ms, exit status $status)"
expect "$installed_windows is gone" [ ! -e "$installed" ]
leftovers=$(find "$drive_c" -iname '*tallowbrook*' 2>/dev/null)
expect "no file or folder named Tallowbrook is left anywhere on C: [$leftovers]" [ -z "$leftovers" ]
expect "no uninstall entry is left [$(tallowbrook_entries | tr '\n' ' ')]" [ -z "$(tallowbrook_entries)" ]
phase_took

phase "a newer version installed, then this one"
newer_code=$(product_code "$work/newer.msi")
rebuilt_code=$(product_code "$work/newer-rebuilt.msi")
msiexec_status newer-install.log /i "$(windows_path "$work/newer.msi")"
expect "the newer version installed (entry $newer_version)" [ "$(installed_version)" = "$newer_version" ]
msiexec_status downgrade.log /i "$(windows_path "$msi")"
if [ "$status" -ne 0 ] && [ "$(installed_version)" = "$newer_version" ] && only_product "$newer_code" &&
  [ -f "$installed/tallowbrook.exe" ]; then
  ok "installing $version over $newer_version was refused (exit status $status); the newer version stays"
else
  fail "installing $version over $newer_version: exit status $status, entries [$(tallowbrook_entries | tr '\n' ' ')]"
fi
msiexec_status rebuilt-install.log /i "$(windows_path "$work/newer-rebuilt.msi")"
expect "a rebuild of the same version replaced it instead of installing beside it" only_product "$rebuilt_code"
phase_took

phase "the programs from the unpacked zip"
reported=$(run_wine "$portable/tallowbrook-cli.exe" --version | tr -d '\r')
expect "the zip's tallowbrook-cli.exe --version says tallowbrook-cli $version" \
  [ "$reported" = "tallowbrook-cli $version" ]
# subsystem FILE: "Windows GUI" or "Windows CUI", for a program of this architecture.
subsystem() {
  objdump -p "$1" 2>/dev/null |
    awk -v format="$format" '$0 ~ "file format " format "$" { pe = 1 } /^Subsystem/ && pe { sub(/.*\(/, ""); sub(/\).*/, ""); print }'
}
expect "the zip's tallowbrook-cli.exe is an $architecture Windows console program" \
  [ "$(subsystem "$portable/tallowbrook-cli.exe")" = "Windows CUI" ]
expect "the zip's tallowbrook.exe is an $architecture Windows GUI program" \
  [ "$(subsystem "$portable/tallowbrook.exe")" = "Windows GUI" ]
# The dialog waits for its user: with the null display driver it starts and
# stays, which shows that it loads (no missing library) and does not crash
# while it opens. Its window is checked by the Windows build's own tests.
run_wine "$portable/tallowbrook.exe" >"$logs/desktop-run.log" 2>&1 &
desktop=$!
for _ in $(seq 1 30); do
  kill -0 "$desktop" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$desktop" 2>/dev/null; then
  ok "the zip's tallowbrook.exe started under Wine and was still running after 3 s"
else
  status=0
  wait "$desktop" || status=$?
  fail "the zip's tallowbrook.exe ended at once (exit status $status): $(cat "$logs/desktop-run.log")"
fi
timeout 30 wineserver -k 2>/dev/null || true
wait "$desktop" 2>/dev/null || true
phase_took

phase "the home folder outside the prefix"
expect "nothing was written under $HOME outside the prefix (menus, desktop files, icons)" \
  tallowbrook_home_unchanged "$home_before"

if [ "$failures" -ne 0 ]; then
  echo "windows package checks: $failures of $checks failed; msiexec logs in $logs" >&2
  exit 1
fi
echo "windows package checks: all $checks passed"
