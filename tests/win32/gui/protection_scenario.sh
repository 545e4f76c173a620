#!/usr/bin/env bash
# vedozer-gui.exe's real-time protection under Wine, driven from outside: started as the Run key
# starts it ("/tray") it waits in the notification area; a schedule one minute ahead runs one
# scan; the automatic update runs once against vedozer-defserver on 127.0.0.1 and its notice
# slides up with the new count; a changed start page raises the home-page alert and Yes puts the
# old one back; a planted program started while the memory shield is on raises its alert and STOP
# ends it; run at start-up writes the Run value; the tray menu brings the window back and ends
# the program, and the icon goes with it.
#
# The program runs with the test switch "/test-clock=0,10": its clock and its protection timers
# run ten times as fast, so the schedule's minute, the five idle minutes of the automatic update
# and the shields' intervals pass in a tenth of the time (the sliding windows keep their pace).
#
# Usage: protection_scenario.sh WINDOWS_BUILD_DIR WINE WINESERVER DEFSERVER
#   (WINEPREFIX initialised, DISPLAY set; CI runs it after gui_scenario.sh in the same prefix)
set -euo pipefail
BUILD=$(cd "$1" && pwd) WINE=$2 WINESERVER=$3 SERVER=$4
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=wine_desktop.sh
. "$here/wine_desktop.sh"
work=$(mktemp -d /tmp/vedozer-protection.XXXXXX)
server_pid="" planted_pid=""
cleanup() {
  set +e  # whatever is already gone, the exit status stays the run's own
  [ -n "$planted_pid" ] && kill "$planted_pid" 2>/dev/null
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  stop_gui
  "$WINE" reg delete 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run' /v vedozer-gui /f >/dev/null 2>&1 || true
  rm -f "${c:-/nonexistent}/Program Files/SearchPilot/spilot32.exe"
  rm -rf "$work"
}
trap cleanup EXIT

failed=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failed=$((failed + 1)); fi; }
drive() { "$WINE" "$BUILD/vedozer_gui_driver.exe" "$@"; }
step() {  # DESCRIPTION OUTPUT-FILE COMMAND...
  local what=$1 out=$2
  shift 2
  if drive "$@" > "$out"; then
    echo "ok: $what"
  else
    echo "FAILED: $what"
    failed=$((failed + 1))
    cat "$out"
  fi
}
# Waits until a command's output differs from a value (seconds; "" when it never did).
wait_change() {  # SECONDS OLD COMMAND...
  local until=$(( $(date +%s) + $1 )) old=$2 now
  shift 2
  while [ "$(date +%s)" -lt "$until" ]; do
    now=$("$@")
    if [ "$now" != "$old" ]; then echo "$now"; return 0; fi
    sleep 0.5
  done
  return 1
}

c="$WINEPREFIX/drive_c"
settings='HKCU\Software\VB and VBA Program Settings\Vedozer Anti-Spyware'
start_page='HKCU\Software\Microsoft\Internet Explorer\Main'
data="$c/users/$(whoami)/AppData/Roaming/RozaVedozerEZO"

# A definition server with two definitions newer than the installed ones.
mkdir -p "$work/repo/changes"
printf 'ADD COOK tracker.wine-test.example\nADD EXE winpop.exe=WinPop|[windir]\n' > "$work/repo/changes/2006-04-01.txt"
"$SERVER" --repo "$work/repo" --port 0 --bind 127.0.0.1 > "$work/server.out" 2> "$work/server.err" &
server_pid=$!
url=""
for _ in $(seq 100); do
  url=$(grep -o 'http://127\.0\.0\.1:[0-9]*' "$work/server.out" 2>/dev/null | head -1 || true)
  [ -n "$url" ] && break
  sleep 0.1
done
[ -n "$url" ] || { echo "vedozer-defserver did not start"; cat "$work/server.err"; exit 1; }

reg() { "$WINE" reg add "$@" /f >/dev/null; }
use_virtual_desktop vedozer 1280x800
# Not a first start (the scenario before this one made that), and the shipped definitions (older
# than the server's).
reg 'HKLM\SOFTWARE\Vedozer Labs\Vedozer Anti-Spyware\Settings' /v FirstTime /t REG_SZ /d Yes
reg "$settings\\Settings" /v Language /t REG_SZ /d English
reg "$settings\\Settings" /v showHelp /t REG_SZ /d 0
rm -f "$data/date.dat"
"$WINE" "$BUILD/vedozer.exe" init --force >/dev/null
reg "$settings\\Settings" /v DefinitionServer /t REG_SZ /d "$url"
reg "$settings\\Settings" /v Minimized /t REG_SZ /d No
# The automatic update as a fresh installation has it: the option never stored.
"$WINE" reg delete "$settings\\OptionAndSettings" /v chkAutomaticUpdate /f >/dev/null 2>&1 || true
"$WINE" reg delete "$settings\\OptionAndSettings" /v Homepage /f >/dev/null 2>&1 || true
reg "$settings\\OptionAndSettings" /v optMemorySheildOn /t REG_SZ /d True
reg "$settings\\OptionAndSettings" /v optMemorySheildOff /t REG_SZ /d False
# Daily, two minutes of the fast clock (twelve seconds) after the start.
reg "$settings\\OptionAndSettings" /v chkAutomaticScanYesOrNo /t REG_SZ /d 1
reg "$settings\\OptionAndSettings" /v Day /t REG_SZ /d 7
reg "$settings\\OptionAndSettings" /v Time /t REG_SZ /d "$(date -d '+120 seconds' +%H:%M:%S)"
reg "$settings\\OptionAndSettings" /v Date /t REG_SZ /d Null
reg "$start_page" /v 'Start Page' /t REG_SZ /d 'http://home.wine-test.example/'
last_scan=$(reg_value "$settings\\Settings" lblLastScan || true)
# The program the memory shield will find: a listed executable name in its listed folder.
mkdir -p "$c/Program Files/SearchPilot"
cp "$BUILD/vedozer_test_sleeper.exe" "$c/Program Files/SearchPilot/spilot32.exe"

echo "== started from the Run key: in the notification area"
start_gui "$BUILD" "$work/gui.log" /tray /test-clock=0,10
step "no window, the icon in the notification area" "$work/tray.txt" attach-hidden "pause 1500" expect-main-hidden \
  "tray-icon present 20"

echo "== the scheduled scan"
scanned=$(wait_change 180 "$last_scan" reg_value "$settings\\Settings" lblLastScan || true)
check "the schedule started a scan" "[ -n \"$scanned\" ]"
# Eight seconds are eighty of the program's: past the minute in which a late start may still come.
sleep 8
check "exactly one scan ran" "[ \"\$(reg_value '$settings\\Settings' lblLastScan)\" = \"$scanned\" ]"

echo "== the automatic update"
step "the notice slides up with the new definitions" "$work/notice.txt" attach-hidden "window-with IDC_NOTICE_TEXT 240" \
  "wait-text IDC_NOTICE_TEXT \"definitions have been updated\" 10" "text IDC_NOTICE_TEXT" rect "pause 3500" rect \
  "click IDC_NOTICE_OK" "wait-hidden IDC_NOTICE_TEXT 10"
"$WINE" "$BUILD/vedozer.exe" info > "$work/info.txt" 2>&1 || true
count=$(tr -d '\r' < "$work/info.txt" | grep -io 'definitions *: *[0-9,]*' | grep -o '[0-9,]*$' | head -1 || true)
check "the notice names the new count ($count) and date" \
  "[ -n \"$count\" ] && grep -q \"$count definitions, dated 4/1/2006\" '$work/notice.txt'"
rects=$(tr -d '\r' < "$work/notice.txt" | grep -E '^-?[0-9]+ -?[0-9]+ [0-9]+ [0-9]+$' || true)
read -r _ sliding_top _ _ <<< "$(head -1 <<< "$rects")"
read -r nl nt nw nh <<< "$(tail -1 <<< "$rects")"
check "it slid up to rest at the bottom right, above the taskbar (${sliding_top:-?} -> $nl $nt $nw $nh)" \
  "[ ${sliding_top:-0} -gt ${nt:-0} ] && [ $((nl + nw)) -ge 1260 ] && [ $((nt + nh)) -le 800 ] && [ ${nt:-0} -ge 500 ]"
check "the server was asked once for the feed" "[ \$(grep -c 'getDefsNEW.asp' '$work/server.err') = 1 ]"
check "the installed date is the server's" "grep -q '4/1/2006' '$data/date.dat'"
check "closing the notice recorded SHOW" "[ \"\$(reg_value '$settings\\OptionAndSettings' SHOW)\" = false ]"

echo "== the home-page shield"
remembered=$(wait_change 60 "" reg_value "$settings\\OptionAndSettings" Homepage || true)
check "the start page was remembered" "[ \"$remembered\" = 'http://home.wine-test.example/' ]"
reg "$start_page" /v 'Start Page' /t REG_SZ /d 'http://changed.wine-test.example/'
step "the alert names both pages and Yes restores" "$work/homepage.txt" attach-hidden \
  "window-with IDC_HOME_PAGE_YES 60" "text IDC_HOME_PAGE_INFO" "click IDC_HOME_PAGE_YES" "window-gone \"Home Page Changed\" 10"
check "the alert named the new page" "grep -q 'changed.wine-test.example' '$work/homepage.txt'"
page=$(reg_value "$start_page" 'Start Page' || true)
check "the remembered page is back ($page)" "[ \"\$page\" = 'http://home.wine-test.example/' ]"

echo "== the memory shield"
"$WINE" 'C:\Program Files\SearchPilot\spilot32.exe' &
planted_pid=$!
step "the alert names the program and STOP ends it" "$work/threat.txt" attach-hidden "window-with IDC_ALERT_STOP 60" \
  "wait-text IDC_ALERT_FILE_NAME SPILOT32.EXE 5" "text IDC_ALERT_COMPANY_NAME" "click IDC_ALERT_STOP" \
  "window-gone \"Malicious Program Found\" 20"
ended=no
for _ in $(seq 100); do
  kill -0 "$planted_pid" 2>/dev/null || { ended=yes; break; }
  sleep 0.1
done
check "the planted program has ended" "[ $ended = yes ]"
[ $ended = yes ] && planted_pid=""

echo "== the tray menu, run at start-up, Exit"
step "the menu brings the window back" "$work/menu.txt" attach-hidden "tray-click right" \
  "window-with IDC_TRAY_SHOW_PROGRAM 10" "click IDC_TRAY_SHOW_PROGRAM" attach "tray-icon present 5"
step "run at start-up switched on" "$work/run.txt" attach "click IDC_NAV_OPTIONS" "tab IDC_OPTIONS_TABS 3" \
  "click IDC_RUN_AT_STARTUP" "expect-checked IDC_RUN_AT_STARTUP 1"
run_value=$(reg_value 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run' vedozer-gui || true)
check "the Run value starts it in the tray ($run_value)" "[[ \"\$run_value\" == '\"'*'\\vedozer-gui.exe\" /tray' ]]"
step "run at start-up switched off" "$work/run-off.txt" attach "click IDC_RUN_AT_STARTUP" "expect-checked IDC_RUN_AT_STARTUP 0"
check "the Run value is gone" "[ -z \"\$(reg_value 'HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run' vedozer-gui)\" ]"
step "Send to Tray, then Exit Program from the menu; the icon goes" "$work/exit.txt" attach "click IDC_SEND_TO_TRAY" \
  "pause 500" expect-main-hidden "tray-icon present 5" "tray-click right" "window-with IDC_TRAY_EXIT_PROGRAM 10" \
  "click IDC_TRAY_EXIT_PROGRAM" "wait-exit 30" "tray-icon absent 10"
check "the stopped state is recorded" "[ \"\$(reg_value '$settings\\OptionAndSettings' STATUS)\" = STOPPED ]"

if [ "$failed" -ne 0 ]; then
  echo "protection scenario: $failed check(s) failed; the program's output:"
  cat "$work/gui.log" || true
  exit 1
fi
echo "protection scenario: all checks passed"
