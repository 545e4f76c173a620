#!/usr/bin/env bash
# Screenshots of every page and window of the desktop front ends, at 100% and 150% scaling,
# into docs/screenshots/ (or --out DIR):
#
#   tools/screenshots.sh --windows build-win     vedozer-gui.exe under Wine on Xvfb
#
# Options: --out DIR (default docs/screenshots), --scales "96 144" (Windows' LogPixels),
# --use-display (draw on the X display in DISPLAY, an Xvfb the caller started, instead of a new
# one), --prefix-ready (use the initialised WINEPREFIX as it is instead of a fresh one; CI).
#
# The Windows part runs in a fresh Wine prefix inside a virtual desktop on its own Xvfb display;
# pictures are cut from the screen (ImageMagick's `import`) around the window shown. Each front
# end has a function of its own below, so another one (the Linux desktop) joins as a sibling.
# Needs: wine64, xvfb (xvfb-run), imagemagick, python3; the Windows build with its test programs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/docs/screenshots"
windows_build=""
scales="96 144"
use_display=no
prefix_ready=no
usage() {
  echo "usage: $0 --windows BUILD_DIR [--out DIR] [--scales \"96 144\"] [--use-display] [--prefix-ready]" >&2
  exit 2
}
while [ $# -gt 0 ]; do
  case "$1" in
    --windows) windows_build=$(cd "$2" && pwd); shift 2 ;;
    --out) mkdir -p "$2"; out=$(cd "$2" && pwd); shift 2 ;;
    --scales) scales=$2; shift 2 ;;
    --use-display) use_display=yes; shift ;;
    --prefix-ready) prefix_ready=yes; shift ;;
    *) usage ;;
  esac
done
mkdir -p "$out"

# ---------------------------------------------------------------- Windows (Wine on Xvfb)

percent() { echo $(( $1 * 100 / 96 )); }

# Cuts the rectangle "X Y W H" out of the screen into a file.
cut_screen() {  # FILE X Y W H
  import -window root -crop "${4}x${5}+${2}+${3}" +repage "$1"
}

windows_pictures_at() {  # DPI
  local dpi=$1 scale
  scale=$(percent "$dpi")
  local drive=("$WINE" "$windows_build/vedozer_gui_driver.exe")
  local shot
  # One picture of the window the driver selects (main, or a title) after the commands before it.
  shot() {  # NAME WINDOW [COMMANDS...]
    local name=$1 window=$2
    shift 2
    local rect
    if ! rect=$("${drive[@]}" attach "$@" "window \"$window\" 20" "pause 400" rect | tail -n 1); then
      import -window root "$out/failed-$name-$scale.png"
      echo "no picture of $name: the whole screen is in $out/failed-$name-$scale.png" >&2
      return 1
    fi
    # shellcheck disable=SC2086
    cut_screen "$out/win32-$name-$scale.png" $rect
    echo "  $out/win32-$name-$scale.png ($rect)"
  }

  set_scaling "$dpi"
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -w
  local c="$WINEPREFIX/drive_c"
  rm -rf "$c/users/$(whoami)/AppData/Roaming/RozaVedozerEZO"
  # A first start each time: no settings, per user or machine-wide.
  "$WINE" reg delete 'HKCU\Software\VB and VBA Program Settings' /f >/dev/null 2>&1 || true
  "$WINE" reg delete 'HKLM\SOFTWARE\Vedozer Labs' /f >/dev/null 2>&1 || true
  "$WINE" "$windows_build/vedozer.exe" init >/dev/null
  plant_demo_traces
  "$WINE" "$windows_build/vedozer_test_holdfile.exe" 'C:\KeyShadow\keyshadow.sys' &
  start_gui "$windows_build"

  # The first start offers the language window before the main window shows.
  "${drive[@]}" attach-hidden "window Language 60" "click IDC_LANGUAGE_OK" "window-gone Language 10" >/dev/null
  "${drive[@]}" attach "answer \"Live Update\" no" >/dev/null
  shot status main "click IDC_NAV_STATUS"
  # A scan held by Pause: the box moved aside, the page as it was at that moment.
  "${drive[@]}" attach "click IDC_NAV_SCAN" "click IDC_SCAN_NOW" "wait-text IDC_SCAN_STAGE registry 20" \
    "click IDC_SCAN_PAUSE 20" "box-move 0 0" >/dev/null
  shot scan-in-progress main
  "${drive[@]}" attach "answer \"\" ok" "wait-enabled IDC_SCAN_NOW 120" >/dev/null
  shot scan-finished main
  shot results main "click IDC_SCAN_CONTINUE" "wait-rows IDC_RESULTS_LIST +5" \
    "check-row IDC_RESULTS_LIST text:AdBuddy 1" "check-row IDC_RESULTS_LIST text:KeyShadow 1"
  shot options-scanning main "click IDC_NAV_OPTIONS" "tab IDC_OPTIONS_TABS 0"
  shot options-protection main "tab IDC_OPTIONS_TABS 1"
  shot options-schedule main "tab IDC_OPTIONS_TABS 2"
  shot options-general main "tab IDC_OPTIONS_TABS 3"
  shot report Log "click IDC_NAV_REPORT"
  "${drive[@]}" attach "window Log" "click IDC_REPORT_OK" "window-gone Log" >/dev/null
  shot undeletable "Not Deleted" "click IDC_NAV_RESULTS" "click IDC_DELETE" "answer \"delete the selected\" yes" \
    "window \"Not Deleted\" 120"
  shot results-after-removal main "window \"Not Deleted\"" "click IDC_UNDELETABLE_OK" "window-gone \"Not Deleted\""
  shot quarantine Quarantine "command IDM_QUARANTINE_WINDOW"
  "${drive[@]}" attach "window Quarantine" "click IDC_QUARANTINE_CLOSE" "window-gone Quarantine" >/dev/null
  shot about About "click IDC_NAV_ABOUT"
  "${drive[@]}" attach "window About" "click IDC_ABOUT_OK" "window-gone About" >/dev/null
  shot help Help "click IDC_NAV_HELP"
  "${drive[@]}" attach "window Help" "click IDC_HELP_OK" >/dev/null
  shot submit "Submit" "click IDC_NAV_SUBMIT"
  "${drive[@]}" attach "window Submit" "click IDC_SUBMIT_CLOSE" >/dev/null
  # The language window, then the main window in German, and English again for what follows.
  shot language Language "click IDC_NAV_LANGUAGE"
  shot de-language Sprache "window Language" "select-row IDC_LANGUAGE_LIST text:Deutsch 1"
  "${drive[@]}" attach "window Sprache" "click IDC_LANGUAGE_OK" "window-gone Sprache" >/dev/null
  shot de-status main "click IDC_NAV_STATUS"
  shot de-results main "click IDC_NAV_RESULTS"
  shot de-scan main "click IDC_NAV_SCAN"
  shot de-options-general main "click IDC_NAV_OPTIONS" "tab IDC_OPTIONS_TABS 3"
  "${drive[@]}" attach "click IDC_NAV_LANGUAGE" "window Sprache" "select-row IDC_LANGUAGE_LIST text:English 1" \
    "window Language" "click IDC_LANGUAGE_OK" "window-gone Language" >/dev/null
  # Last: a definition server that takes the connection and never answers keeps Live Update busy.
  "$WINE" reg add 'HKCU\Software\VB and VBA Program Settings\Vedozer Anti-Spyware\Settings' /v DefinitionServer \
    /t REG_SZ /d "http://127.0.0.1:$SILENT_PORT" /f >/dev/null
  shot live-update "Live Update" "click IDC_NAV_LIVE_UPDATE" "window \"Live Update\" 20" "pause 1500"
  "$WINESERVER" -k >/dev/null 2>&1 || true
  unplant_demo_traces
}

windows_pictures() {
  WINE=/usr/lib/wine/wine64
  [ -x "$WINE" ] || WINE=$(command -v wine64 || command -v wine)
  WINESERVER=/usr/lib/wine/wineserver64
  [ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver)
  export WINE WINESERVER WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
  local fresh=yes
  if [ "$prefix_ready" = yes ] && [ -n "${WINEPREFIX:-}" ]; then
    fresh=no
  else
    WINEPREFIX=$(mktemp -d /tmp/vedozer-pictures.XXXXXX)
  fi

  port_file=$(mktemp /tmp/vedozer-pictures-port.XXXXXX)
  # shellcheck source=../tests/win32/gui/wine_desktop.sh
  . "$root/tests/win32/gui/wine_desktop.sh"
  # shellcheck source=../tests/win32/compare/plant_demo_traces.sh
  . "$root/tests/win32/compare/plant_demo_traces.sh"
  python3 - <<'PY' > "$port_file" &
import socket, sys, time
s = socket.socket()
s.bind(("127.0.0.1", 0))
s.listen(8)
print(s.getsockname()[1], flush=True)
held = []
while True:
    c, _ = s.accept()
    held.append(c)  # taken, never answered
PY
  silent=$!
  if [ "$fresh" = yes ]; then
    trap 'kill $silent 2>/dev/null; "$WINESERVER" -k >/dev/null 2>&1; rm -rf "$WINEPREFIX" "$port_file"' EXIT
    "$WINE" wineboot --init >/dev/null 2>&1 || true
  else
    trap 'kill $silent 2>/dev/null; rm -f "$port_file"' EXIT
  fi
  while [ ! -s "$port_file" ]; do sleep 0.1; done
  SILENT_PORT=$(head -n 1 "$port_file")
  use_virtual_desktop vedozer 1280x800
  for dpi in $scales; do
    echo "== vedozer-gui.exe at $(percent "$dpi")%"
    windows_pictures_at "$dpi"
  done
  set_scaling 96
}

# ---------------------------------------------------------------- the front ends

[ -n "$windows_build" ] || usage
if [ "$use_display" = yes ]; then
  windows_pictures
else
  # A display of our own, the size of the virtual desktop.
  args=(--windows "$windows_build" --out "$out" --scales "$scales" --use-display)
  [ "$prefix_ready" = yes ] && args+=(--prefix-ready)
  xvfb-run -a -s "-screen 0 1280x800x24" "$0" "${args[@]}"
fi
