#!/usr/bin/env bash
# Helpers for running vedozer-gui.exe under Wine in a virtual desktop on an X display (Xvfb).
# Source it; it needs WINE, WINESERVER, WINEPREFIX (initialised) and DISPLAY.

# Wine's reg.exe, which prints its errors on standard output: quiet, except when it fails.
reg_quiet() {  # add|delete KEY ARGUMENTS...
  local said
  said=$("$WINE" reg "$@" 2>&1) && return 0
  echo "failed: reg $*: $said" >&2
  return 1
}

# Every Wine program started from now on shows in one virtual desktop of this size (the same as
# `explorer /desktop=NAME,WxH`, for programs started without explorer too).
use_virtual_desktop() {  # NAME WxH
  reg_quiet add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d "$1" /f
  reg_quiet add 'HKCU\Software\Wine\Explorer\Desktops' /v "$1" /t REG_SZ /d "$2" /f
  # Wine's own title-bar glyphs: the packaged prefix does not always register the font.
  local fonts=/usr/share/wine/fonts
  [ -f "$fonts/marlett.ttf" ] && cp -n "$fonts/marlett.ttf" "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
  return 0
}

# Screen scaling as Windows' "LogPixels" (96 = 100%, 144 = 150%). Takes effect for programs
# started after the Wine server restarted.
set_scaling() {  # DPI
  reg_quiet add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f
  reg_quiet add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' /v LogPixels \
    /t REG_DWORD /d "$1" /f
  "$WINESERVER" -w
}

GUI_PID=""
start_gui() {  # BUILD [log [ARGUMENTS...]]
  local build=$1 log=${2:-/dev/null}
  shift $(( $# < 2 ? $# : 2 ))
  "$WINE" "$build/vedozer-gui.exe" "$@" > "$log" 2>&1 &
  GUI_PID=$!
}

# Ends a program still running after its test (normally it has exited through its Exit button).
stop_gui() {
  if [ -n "$GUI_PID" ] && kill -0 "$GUI_PID" 2>/dev/null; then
    kill "$GUI_PID" 2>/dev/null || true
    wait "$GUI_PID" 2>/dev/null || true
  fi
  GUI_PID=""
}

# Registry value data as `reg query` prints it ("" when absent).
reg_value() {  # KEY NAME   (the name may hold blanks: "Start Page")
  "$WINE" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v n="$2" '{
    line = $0; sub(/^ +/, "", line)
    if (index(line, n) != 1) next
    rest = substr(line, length(n) + 1)
    if (sub(/^ +REG_[A-Z_]+ */, "", rest)) print rest
  }'
}
