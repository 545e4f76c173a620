#!/usr/bin/env bash
# Screenshots of every page and window of the desktop front ends, at 100% and 150% scaling,
# into docs/screenshots/ (or --out DIR):
#
#   tools/screenshots.sh --windows build-win     vedozer-gui.exe under Wine on Xvfb
#   tools/screenshots.sh --linux build           vedozer-gui (Qt 6) on Xvfb, into docs/screenshots/linux
#
# Options: --out DIR (default docs/screenshots), --scales "96 144" (Windows' LogPixels),
# --use-display (draw on the X display in DISPLAY, an Xvfb the caller started, instead of a new
# one), --prefix-ready (use the initialised WINEPREFIX as it is instead of a fresh one; CI).
#
# The Windows part runs in a fresh Wine prefix inside a virtual desktop on its own Xvfb display;
# pictures are cut from the screen (ImageMagick's `import`) around the window shown. Each front
# end has a function of its own below. The Linux part runs vedozer_qt_screenshots (tests/qt), which
# drives the real Qt windows over a planted demo installation and grabs each from the screen;
# QT_SCALE_FACTOR gives the scaling.
# Needs: wine64, xvfb (xvfb-run), imagemagick, python3; the Windows build with its test programs.
# Linux: xvfb (xvfb-run) and a build with Qt 6 (target vedozer_qt_screenshots).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/docs/screenshots"
windows_build=""
linux_build=""
scales="96 144"
use_display=no
prefix_ready=no
one_scale=no
usage() {
  echo "usage: $0 [--windows BUILD_DIR] [--linux BUILD_DIR] [--out DIR] [--scales \"96 144\"] [--use-display] [--prefix-ready]" >&2
  exit 2
}
while [ $# -gt 0 ]; do
  case "$1" in
    --windows) windows_build=$(cd "$2" && pwd); shift 2 ;;
    --linux) linux_build=$(cd "$2" && pwd); shift 2 ;;
    --out) mkdir -p "$2"; out=$(cd "$2" && pwd); shift 2 ;;
    --scales) scales=$2; shift 2 ;;
    --use-display) use_display=yes; shift ;;
    --prefix-ready) prefix_ready=yes; shift ;;
    --one-scale) one_scale=yes; shift ;;  # (inner) the scalings given, in this process
    *) usage ;;
  esac
done
mkdir -p "$out"

# ---------------------------------------------------------------- Windows (Wine on Xvfb)

percent() { echo $(( $1 * 100 / 96 )); }

# Runs a command; when it fails, says which one and what it printed on stderr (its standard output
# goes on as it came).
loud() {  # COMMAND...
  local err rc=0
  err=$(mktemp /tmp/vedozer-pictures-err.XXXXXX)
  "$@" 2>"$err" || rc=$?
  if [ "$rc" -ne 0 ]; then
    { echo "failed (exit $rc): ${*:2}"; cat "$err"; } >&2
  fi
  rm -f "$err"
  return "$rc"
}

# Cuts the rectangle "X Y W H" out of the screen into a file.
cut_screen() {  # FILE X Y W H
  import -window root -crop "${4}x${5}+${2}+${3}" +repage "$1"
}

windows_pictures_at() {  # DPI
  local dpi=$1 scale
  scale=$(percent "$dpi")
  local drive=(loud "$WINE" "$windows_build/vedozer_gui_driver.exe")
  local shot
  # One picture of the window the driver selects (main, or a title) after the commands before it.
  shot() {  # NAME WINDOW [COMMANDS...]
    local name=$1 window=$2
    shift 2
    local rect
    if ! rect=$("${drive[@]}" attach "$@" "window \"$window\" 20" "pause 400" rect) || ! rect=$(tail -n 1 <<<"$rect"); then
      import -window root "$out/failed-$name-$scale.png"
      echo "no picture of $name: the whole screen is in $out/failed-$name-$scale.png" >&2
      return 1
    fi
    # shellcheck disable=SC2086
    cut_screen "$out/win32-$name-$scale.png" $rect
    echo "  $out/win32-$name-$scale.png ($rect)"
  }

  # Nothing of an earlier run left (its programs would keep the Wine server up for ever).
  "$WINESERVER" -k >/dev/null 2>&1 || true
  set_scaling "$dpi"
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -w
  local c="$WINEPREFIX/drive_c"
  rm -rf "$c/users/$(whoami)/AppData/Roaming/RozaVedozerEZO"
  # A first start each time: no settings, per user or machine-wide.
  "$WINE" reg delete 'HKCU\Software\VB and VBA Program Settings' /f >/dev/null 2>&1 || true
  "$WINE" reg delete 'HKLM\SOFTWARE\Vedozer Labs' /f >/dev/null 2>&1 || true
  # Except the automatic update: five idle minutes in, it would ask an unreachable server.
  reg_quiet add 'HKCU\Software\VB and VBA Program Settings\Vedozer Anti-Spyware\OptionAndSettings' \
    /v chkAutomaticUpdate /t REG_SZ /d 0 /f
  loud "$WINE" "$windows_build/vedozer.exe" init >/dev/null
  plant_demo_traces
  "$WINE" "$windows_build/vedozer_test_holdfile.exe" 'C:\KeyShadow\keyshadow.sys' &
  start_gui "$windows_build"

  # The first start offers the language window before the main window shows.
  "${drive[@]}" attach-hidden "window Language 60" "click IDC_LANGUAGE_OK" "window-gone Language 10" >/dev/null
  "${drive[@]}" attach "answer \"Live Update\" no" >/dev/null
  shot status main "click IDC_NAV_STATUS"
  # A scan held by Pause (as soon as it can be: a quick scan may be over before a later stage is
  # seen): the box moved aside, the page as it was at that moment.
  local tries=1
  until "${drive[@]}" attach "click IDC_NAV_SCAN" "click IDC_SCAN_NOW" \
    "click IDC_SCAN_PAUSE 20" "box-move 0 0" >/dev/null; do
    if [ "$tries" -ge 3 ]; then
      import -window root "$out/failed-scan-$scale.png"
      echo "no picture of a scan held by Pause: the whole screen is in $out/failed-scan-$scale.png" >&2
      return 1
    fi
    echo "the scan ended before Pause took it; once more" >&2
    tries=$((tries + 1))
    "${drive[@]}" attach "answer \"\" ok 1" >/dev/null 2>&1 || true
    "${drive[@]}" attach "wait-enabled IDC_SCAN_NOW 120" >/dev/null
  done
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
  # Deutsch chosen in the list; a choice made while the window still settles may go unheard, so
  # once more when the window has not turned German.
  "${drive[@]}" attach "window Language" "select-row IDC_LANGUAGE_LIST text:Deutsch 1" "window Sprache 10" >/dev/null ||
    "${drive[@]}" attach "window Language" "select-row IDC_LANGUAGE_LIST text:English 1" \
      "select-row IDC_LANGUAGE_LIST text:Deutsch 1" "window Sprache 20" >/dev/null
  shot de-language Sprache
  "${drive[@]}" attach "window Sprache" "click IDC_LANGUAGE_OK" "window-gone Sprache" >/dev/null
  shot de-status main "click IDC_NAV_STATUS"
  shot de-results main "click IDC_NAV_RESULTS"
  shot de-scan main "click IDC_NAV_SCAN"
  shot de-options-general main "click IDC_NAV_OPTIONS" "tab IDC_OPTIONS_TABS 3"
  "${drive[@]}" attach "click IDC_NAV_LANGUAGE" "window Sprache" "select-row IDC_LANGUAGE_LIST text:English 1" \
    "window Language" "click IDC_LANGUAGE_OK" "window-gone Language" >/dev/null
  protection_pictures
  # Last: a definition server that takes the connection and never answers keeps Live Update busy.
  reg_quiet add 'HKCU\Software\VB and VBA Program Settings\Vedozer Anti-Spyware\Settings' /v DefinitionServer \
    /t REG_SZ /d "http://127.0.0.1:$SILENT_PORT" /f
  shot live-update "Live Update" "click IDC_NAV_LIVE_UPDATE" "window \"Live Update\" 20" "pause 1500"
  "$WINESERVER" -k >/dev/null 2>&1 || true
  unplant_demo_traces
}

# The windows of real-time protection: the program started again as the Run key starts it (in
# the notification area, with the test clock that runs its shields ten times as fast), a changed
# start page, a planted program, the tray menu and the notice after Live Update. Leaves the main
# window shown.
protection_pictures() {
  local settings='HKCU\Software\VB and VBA Program Settings\Vedozer Anti-Spyware'
  local start_page='HKCU\Software\Microsoft\Internet Explorer\Main'
  local c="$WINEPREFIX/drive_c" planted
  # One picture of the program's window that holds CONTROL, after the commands before it.
  shot_of() {  # NAME CONTROL PAUSE [COMMANDS...]
    local name=$1 control=$2 wait=$3 rect
    shift 3
    if ! rect=$("${drive[@]}" attach-hidden "$@" "window-with $control 60" "pause $wait" rect) || ! rect=$(tail -n 1 <<<"$rect"); then
      import -window root "$out/failed-$name-$scale.png"
      echo "no picture of $name: the whole screen is in $out/failed-$name-$scale.png" >&2
      return 1
    fi
    # shellcheck disable=SC2086
    cut_screen "$out/win32-$name-$scale.png" $rect
    echo "  $out/win32-$name-$scale.png ($rect)"
  }
  "${drive[@]}" attach "click IDC_EXIT" "wait-exit 30" >/dev/null
  reg_quiet add "$settings\\OptionAndSettings" /v chkAutomaticUpdate /t REG_SZ /d 0 /f
  "$WINE" reg delete "$settings\\OptionAndSettings" /v Homepage /f >/dev/null 2>&1 || true
  reg_quiet add "$settings\\Settings" /v DefinitionServer /t REG_SZ /d "http://127.0.0.1:$ANSWER_PORT" /f
  reg_quiet add "$start_page" /v 'Start Page' /t REG_SZ /d 'http://www.example.com/' /f
  mkdir -p "$c/Program Files/SearchPilot"
  cp "$windows_build/vedozer_test_sleeper.exe" "$c/Program Files/SearchPilot/spilot32.exe"
  start_gui "$windows_build" /dev/null /tray /test-clock=0,10
  "${drive[@]}" attach-hidden "tray-icon present 30" >/dev/null
  for _ in $(seq 60); do
    [ -n "$(reg_value "$settings\\OptionAndSettings" Homepage)" ] && break
    sleep 0.5
  done
  reg_quiet add "$start_page" /v 'Start Page' /t REG_SZ /d 'http://search.changed-by-adware.example/start?from=toolbar' /f
  shot_of home-page-alert IDC_HOME_PAGE_YES 400
  "${drive[@]}" attach-hidden "window-with IDC_HOME_PAGE_YES" "click IDC_HOME_PAGE_YES" "window-gone \"Home Page Changed\" 10" >/dev/null
  "$WINE" 'C:\Program Files\SearchPilot\spilot32.exe' &
  planted=$!
  shot_of threat-alert IDC_ALERT_STOP 400
  "${drive[@]}" attach-hidden "window-with IDC_ALERT_STOP" "click IDC_ALERT_STOP" "window-gone \"Malicious Program Found\" 20" >/dev/null
  kill "$planted" 2>/dev/null || true
  rm -f "$c/Program Files/SearchPilot/spilot32.exe"
  shot_of tray-menu IDC_TRAY_EXIT_PROGRAM 1000 "tray-click right"
  "${drive[@]}" attach-hidden "window-with IDC_TRAY_SHOW_PROGRAM" "click IDC_TRAY_SHOW_PROGRAM" attach >/dev/null
  shot_of update-notice IDC_NOTICE_OK 4000 "click IDC_NAV_LIVE_UPDATE"
  "${drive[@]}" attach "window-with IDC_NOTICE_OK" "click IDC_NOTICE_OK" "wait-hidden IDC_NOTICE_OK 10" >/dev/null
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
  # A definition server whose definitions are no newer than the installed ones.
  answer_file=$(mktemp /tmp/vedozer-pictures-port.XXXXXX)
  python3 - <<'PY' > "$answer_file" &
import http.server, sys
class Answer(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        body = b"1/1/2000 12:00:00 AM"
        self.send_response(200)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
    def log_message(self, *args):
        pass
server = http.server.HTTPServer(("127.0.0.1", 0), Answer)
print(server.server_address[1], flush=True)
server.serve_forever()
PY
  answering=$!
  if [ "$fresh" = yes ]; then
    trap 'set +e; kill $silent $answering 2>/dev/null; "$WINESERVER" -k >/dev/null 2>&1; rm -rf "$WINEPREFIX" "$port_file" "$answer_file"' EXIT
    "$WINE" wineboot --init >/dev/null 2>&1 || true
  else
    # The prefix stays, but nothing of this run goes on in it (a run that failed half-way would
    # otherwise keep its programs, and the next `wineserver -w` would wait for them for ever).
    trap 'set +e; kill $silent $answering 2>/dev/null; "$WINESERVER" -k >/dev/null 2>&1; rm -f "$port_file" "$answer_file"' EXIT
  fi
  while [ ! -s "$port_file" ]; do sleep 0.1; done
  SILENT_PORT=$(head -n 1 "$port_file")
  while [ ! -s "$answer_file" ]; do sleep 0.1; done
  ANSWER_PORT=$(head -n 1 "$answer_file")
  use_virtual_desktop vedozer 1280x800
  for dpi in $scales; do
    echo "== vedozer-gui.exe at $(percent "$dpi")%"
    windows_pictures_at "$dpi"
  done
  set_scaling 96
}

# ---------------------------------------------------------------- Linux (Qt 6 on Xvfb)

linux_pictures() {
  local tool="$linux_build/vedozer_qt_screenshots"
  [ -x "$tool" ] || { echo "no $tool: build the target vedozer_qt_screenshots (needs Qt 6)" >&2; exit 1; }
  mkdir -p "$out/linux"
  for dpi in $scales; do
    echo "== vedozer-gui at $(percent "$dpi")%"
    # The system theme as a plain X session without a desktop gives it; the scaling as a
    # high-DPI screen asks for it.
    # A display of its own, room enough for the main window at every scaling.
    QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$(awk "BEGIN { print $dpi / 96 }") \
      xvfb-run -a -s "-screen 0 2400x1600x24" "$tool" "$out/linux" "$(percent "$dpi")"
  done
}

# ---------------------------------------------------------------- the front ends

[ -n "$windows_build" ] || [ -n "$linux_build" ] || usage
[ -z "$linux_build" ] || linux_pictures
[ -n "$windows_build" ] || exit 0
if [ "$use_display" = yes ] && [ "$one_scale" = yes ]; then
  windows_pictures
elif [ "$use_display" = yes ]; then
  # Each scaling in a run of its own, and once more when that run fails: a desktop under Wine on
  # a busy machine now and then misses a window.
  for dpi in $scales; do
    args=(--windows "$windows_build" --out "$out" --scales "$dpi" --use-display --one-scale)
    [ "$prefix_ready" = yes ] && args+=(--prefix-ready)
    if ! "$0" "${args[@]}"; then
      echo "== the pictures at $(percent "$dpi")% failed (what failed is above); once more" >&2
      "$0" "${args[@]}"
    fi
  done
else
  # A display of our own, the size of the virtual desktop.
  args=(--windows "$windows_build" --out "$out" --scales "$scales" --use-display)
  [ "$prefix_ready" = yes ] && args+=(--prefix-ready)
  xvfb-run -a -s "-screen 0 1280x800x24" "$0" "${args[@]}"
fi
