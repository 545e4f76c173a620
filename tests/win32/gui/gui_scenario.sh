#!/usr/bin/env bash
# vedozer-gui.exe under Wine, driven through its controls as a person would use it: start, scan a
# planted system, check rows, delete, find them gone from the registry and the disk and kept in
# the quarantine, a file that cannot be deleted in the undeletable list (Copy List), restore from
# the quarantine window, the report viewer, an option changed and found in the registry, German
# chosen in the language window and back, a second instance that ends by itself, and Exit.
# Usage: gui_scenario.sh WINDOWS_BUILD_DIR WINE WINESERVER   (WINEPREFIX initialised, DISPLAY set)
set -euo pipefail
BUILD=$(cd "$1" && pwd) WINE=$2 WINESERVER=$3
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=wine_desktop.sh
. "$here/wine_desktop.sh"
# shellcheck source=../compare/plant_demo_traces.sh
. "$here/../compare/plant_demo_traces.sh"
work=$(mktemp -d /tmp/vedozer-gui.XXXXXX)
holder=""
cleanup() {
  set +e  # whatever is already gone, the exit status stays the run's own
  [ -n "$holder" ] && kill "$holder" 2>/dev/null
  stop_gui
  unplant_demo_traces
  rm -rf "$work"
}
trap cleanup EXIT

failed=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failed=$((failed + 1)); fi; }
drive() { "$WINE" "$BUILD/vedozer_gui_driver.exe" "$@"; }
# A run of driver commands, checked like the rest: what they printed is kept in OUTPUT-FILE (and
# shown when they fail, after the driver's own FAILED line).
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

c="$WINEPREFIX/drive_c"
data="$c/users/$(whoami)/AppData/Roaming/RozaVedozerEZO"
settings='HKCU\Software\VB and VBA Program Settings\Vedozer Anti-Spyware'
use_virtual_desktop vedozer 1280x800
# A first start: no data folder and no settings of the program, per user or machine-wide.
rm -rf "$data"
"$WINE" reg delete "$settings" /f >/dev/null 2>&1 || true
"$WINE" reg delete 'HKLM\SOFTWARE\Vedozer Labs' /f >/dev/null 2>&1 || true
# Except the automatic update: five idle minutes into a long run it would ask an unreachable server.
"$WINE" reg add "$settings\\OptionAndSettings" /v chkAutomaticUpdate /t REG_SZ /d 0 /f >/dev/null
"$WINE" "$BUILD/vedozer.exe" init >/dev/null
plant_demo_traces
# keyshadow.sys stays open in another program without leave to delete it.
"$WINE" "$BUILD/vedozer_test_holdfile.exe" 'C:\KeyShadow\keyshadow.sys' &
holder=$!

echo "== start, first-run question, scan"
start_gui "$BUILD" "$work/gui.log"
step "a first start offers the language window before the main window; OK keeps English" "$work/first-language.txt" \
  attach-hidden "window Language 60" "rows IDC_LANGUAGE_LIST" "click IDC_LANGUAGE_OK" "window-gone Language 10"
check "the shipped languages are listed" "grep -q English '$work/first-language.txt' && grep -q Deutsch '$work/first-language.txt'"
check "English is saved on the first start" "[ \"\$(reg_value '$settings\\Settings' Language)\" = English ]"
step "the first-run question answered, a scan run, its results shown" "$work/rows.txt" attach "answer \"Live Update\" no" "click IDC_NAV_SCAN" "click IDC_SCAN_NOW" \
  "wait-disabled IDC_SCAN_NOW 10" "wait-enabled IDC_SCAN_NOW 180" "click IDC_SCAN_CONTINUE" \
  "wait-rows IDC_RESULTS_LIST 5" "rows IDC_RESULTS_LIST"
check "five threats listed, none checked" "[ \$(grep -c '^\[ \]' '$work/rows.txt') = 5 ]"
check "the summary counts them" "drive attach 'wait-text IDC_RESULTS_SUMMARY \"5 threats, 18 traces\" 5' >/dev/null"

step "a click on a column sorts by it, the next one the other way" "$work/sort.txt" attach "sort IDC_RESULTS_LIST 0" "wait-row IDC_RESULTS_LIST 0 AdBuddy 5" \
  "sort IDC_RESULTS_LIST 0" "wait-row IDC_RESULTS_LIST 0 SearchPilot 5" "sort IDC_RESULTS_LIST 2" \
  "wait-row IDC_RESULTS_LIST 4 \"Pop-up Adware\" 5"

echo "== a second instance ends by itself"
set +e
timeout 60 "$WINE" "$BUILD/vedozer-gui.exe" >/dev/null 2>&1
second=$?
set -e
check "the second instance ended (exit $second) and the first still answers" \
  "[ $second = 0 ] && drive attach 'wait-rows IDC_RESULTS_LIST 5 5' >/dev/null"

echo "== check three rows and delete them"
step "three rows checked and deleted, the undeletable one listed and copied" "$work/after.txt" attach "check-row IDC_RESULTS_LIST text:AdBuddy 1" "check-row IDC_RESULTS_LIST text:PopWhirl 1" \
  "check-row IDC_RESULTS_LIST text:KeyShadow 1" "wait-enabled IDC_DELETE 5" "click IDC_DELETE" \
  "answer \"delete the selected\" yes 10" "window \"Not Deleted\" 60" \
  "rows IDC_UNDELETABLE_LIST" \
  "click IDC_COPY_LIST" "wait-clipboard keyshadow.sys 10" "click IDC_UNDELETABLE_OK" "window-gone \"Not Deleted\" 10" \
  "rows IDC_RESULTS_LIST"
check "the undeletable list names keyshadow.sys" "grep -qi '^\[ \] | c:.keyshadow.keyshadow.sys' '$work/after.txt'"
check "Copy List put it on the clipboard, one line each" "tr -d '\\r' < '$work/after.txt' | grep -qix 'c:.keyshadow.keyshadow.sys'"
check "AdBuddy and PopWhirl left the list" "! grep -q 'AdBuddy\|PopWhirl' <(tail -n 3 '$work/after.txt')"
check "AdBuddy's key is gone from the registry" "! \"\$WINE\" reg query 'HKLM\\SOFTWARE\\AdBuddy' >/dev/null 2>&1"
check "AdBuddy's Run value is gone" "[ -z \"\$(reg_value 'HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run' AdBuddyTray)\" ]"
check "popwhirl.dll is gone from the disk" "[ ! -e '$c/windows/system32/popwhirl.dll' ]"
check "adbuddy.exe is gone from the disk" "[ ! -e '$c/Program Files/AdBuddy/adbuddy.exe' ]"
check "keyshadow.sys could not be deleted and is still there" "[ -e '$c/KeyShadow/keyshadow.sys' ]"
check "the quarantine keeps popwhirl.dll" "[ -f '$data/quarantine/popwhirl.dll' ]"
check "the quarantine keeps adbuddy.exe" "[ -f '$data/quarantine/adbuddy.exe' ]"
check "the quarantine log names them" "grep -qi popwhirl.dll '$data/quarantine/QuarantineLog.txt'"
check "the removed total is saved" "[ \"\$(reg_value '$settings\\Settings' lblDefRemoved)\" != '' ]"

echo "== restore popwhirl.dll from the quarantine window"
step "an item restored in the quarantine window" "$work/quarantine.txt" attach "command IDM_QUARANTINE_WINDOW" "window Quarantine 10" "rows IDC_QUARANTINE_LIST" \
  "select-row IDC_QUARANTINE_LIST text:popwhirl.dll 1" "wait-enabled IDC_RESTORE 5" "click IDC_RESTORE" \
  "wait-text IDC_QUARANTINE_RESULTS popwhirl 30" "text IDC_QUARANTINE_RESULTS" "click IDC_QUARANTINE_CLOSE" \
  "window-gone Quarantine 10"
check "popwhirl.dll is back on the disk" "[ -f '$c/windows/system32/popwhirl.dll' ]"
check "with its content" "grep -q 'MZ PopWhirl' '$c/windows/system32/popwhirl.dll'"
check "adbuddy.exe stays away" "[ ! -e '$c/Program Files/AdBuddy/adbuddy.exe' ]"

echo "== the report viewer"
step "the report viewer opened and closed" "$work/report.txt" attach "click IDC_NAV_REPORT" "window Log 10" "text IDC_REPORT_TEXT" "click IDC_REPORT_OK" \
  "window-gone Log 10"
check "the report viewer shows the scan's report" "grep -q 'PopWhirl' '$work/report.txt'"

echo "== the keyboard"
step "Esc closes the about window, Enter the report viewer, Enter on the status page scans" "$work/keys.txt" \
  attach "click IDC_NAV_ABOUT" "window About 10" "key ESCAPE" "window-gone About 10" "click IDC_NAV_REPORT" \
  "window Log 10" "key ENTER" "window-gone Log 10" "click IDC_NAV_STATUS" "key ENTER" \
  "wait-disabled IDC_SCAN_NOW 10" "wait-enabled IDC_SCAN_NOW 120"

echo "== options are saved as they change"
step "options changed on two tabs" "$work/options.txt" attach "click IDC_NAV_OPTIONS" "tab IDC_OPTIONS_TABS 0" "expect-checked IDC_SCAN_COOKIES 1" \
  "click IDC_SCAN_COOKIES" "expect-checked IDC_SCAN_COOKIES 0" "tab IDC_OPTIONS_TABS 1" \
  "click IDC_MEMORY_SHIELD_OFF" "expect-checked IDC_MEMORY_SHIELD_ON 0"
check "Scan Internet Cookies off is in the registry" \
  "[ \"\$(reg_value '$settings\\OptionAndSettings' chkScanCookies)\" = 0 ]"
check "the memory shield's option pair is in the registry" \
  "[ \"\$(reg_value '$settings\\OptionAndSettings' optMemorySheildOn)\" = False ] && [ \"\$(reg_value '$settings\\OptionAndSettings' optMemorySheildOff)\" = True ]"

echo "== the language window: German at once in every window, saved, and back"
step "Deutsch chosen: the open windows take German captions at once" "$work/german.txt" attach "click IDC_NAV_LANGUAGE" \
  "window Language 10" "select-row IDC_LANGUAGE_LIST text:Deutsch 1" "window Sprache 10" "window main" \
  "wait-text IDC_NAV_RESULTS Ergebnisse 10" "wait-text IDC_OPTIONS_HEADING Optionen 10" "text IDC_NAV_RESULTS"
check "Deutsch is saved" "[ \"\$(reg_value '$settings\\Settings' Language)\" = Deutsch ]"
step "English chosen again, the window closed with OK" "$work/english.txt" attach "window Sprache 10" \
  "select-row IDC_LANGUAGE_LIST text:English 1" "window Language 10" "click IDC_LANGUAGE_OK" "window-gone Language 10" \
  "wait-text IDC_NAV_RESULTS Results 10"
check "English is saved again" "[ \"\$(reg_value '$settings\\Settings' Language)\" = English ]"

echo "== Exit"
step "Exit ends the program" "$work/exit.txt" attach "click IDC_EXIT" "wait-exit 30"
check "the stopped state is recorded" "[ \"\$(reg_value '$settings\\OptionAndSettings' STATUS)\" = STOPPED ]"
check "the results columns' widths are saved" "[ -n \"\$(reg_value '$settings\\Settings' FoundCol23)\" ]"

if [ "$failed" -ne 0 ]; then
  echo "GUI scenario: $failed check(s) failed; the program's output:"
  cat "$work/gui.log" || true
  exit 1
fi
echo "GUI scenario: all checks passed"
