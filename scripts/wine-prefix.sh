# Sourced by the scripts that run the Windows build under Wine: sets up the
# project's own 64-bit prefix and chooses its graphics driver.
#
#   source scripts/wine-prefix.sh
#   tallowbrook_wine_prefix PREFIX DRIVER
#
# PREFIX is the prefix's folder: the Windows build's own (build/windows/wineprefix),
# kept from run to run, or a throwaway one (the package checks).
#
# DRIVER is "null" for the in-process tests, which need no display, or "x11"
# for runs on an X display (the end-to-end run, screenshots). Once per
# prefix: crashes end the program instead of waiting in Wine's crash dialog,
# and Wine's own fonts (fonts-wine) are where this Wine looks for them, so the
# dialogs get "MS Sans Serif" and not a wider stand-in. Sets WINEPREFIX,
# WINEARCH, WINEDEBUG, WINEDLLOVERRIDES and wine_cmd.
#
#   tallowbrook_home_outside_prefix
#
# Lists what lies where Wine would put menu entries, desktop files and icons
# in the user's home; a check lists it before and after and fails when the
# two differ.

tallowbrook_wine_prefix() {
  local prefix=$1 driver=$2
  export WINEPREFIX="$prefix"
  export WINEARCH=win64
  export WINEDEBUG=-all
  # The .NET and HTML runtimes Wine would offer to install are not wanted, nor
  # the menu entries it would copy from each Start-menu shortcut into this
  # machine's desktop. Wine separates the entries with ";".
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  wine_cmd=$(command -v wine64 || command -v wine)
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "=== wine: creating the prefix (slow the first time)"
    mkdir -p "$WINEPREFIX"
    DISPLAY='' wineboot --init >/dev/null 2>&1 || true
    wineserver -w
  fi
  if [ ! -f "$WINEPREFIX/.tallowbrook-setup" ]; then
    "$wine_cmd" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    ln -sf /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    touch "$WINEPREFIX/.tallowbrook-setup"
  fi
  # A running prefix keeps the driver it started with: let it end first.
  if [ "$(cat "$WINEPREFIX/.tallowbrook-driver" 2>/dev/null)" != "$driver" ]; then
    wineserver -w
    "$wine_cmd" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$driver" /f >/dev/null
    wineserver -w
    echo "$driver" >"$WINEPREFIX/.tallowbrook-driver"
  fi
}

tallowbrook_home_outside_prefix() {
  local folder
  for folder in "$HOME/.local/share/applications" "$HOME/.local/share/icons" "$HOME/.config/menus" \
    "$HOME/Desktop"; do
    if [ -e "$folder" ]; then
      find "$folder" -printf '%p %s %T@\n'
    fi
  done | sort
}

# Fails, naming what changed, when the home differs from `before` (an earlier
# tallowbrook_home_outside_prefix).
tallowbrook_home_unchanged() {
  local before=$1 after
  after=$(tallowbrook_home_outside_prefix)
  if [ "$after" != "$before" ]; then
    echo "Wine wrote into $HOME outside its prefix:" >&2
    diff <(printf '%s\n' "$before") <(printf '%s\n' "$after") >&2 || true
    return 1
  fi
}
