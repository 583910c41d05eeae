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

tallowbrook_wine_prefix() {
  local prefix=$1 driver=$2
  export WINEPREFIX="$prefix"
  export WINEARCH=win64
  export WINEDEBUG=-all
  # The .NET and HTML runtimes Wine would offer to install are not wanted, nor
  # the menu entries it would copy from each Start-menu shortcut into this
  # machine's desktop.
  export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
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
