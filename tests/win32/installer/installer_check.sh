#!/usr/bin/env bash
# The Windows installer under Wine, silent (/S), in the prefix WINEPREFIX names: what it lays
# down, the installed vedozer.exe scanning with the definitions it found in the data folder, a
# second run that keeps those definitions, and the uninstaller: everything it laid down goes, the
# quarantine stays unless /PURGE asks for it. Usage: installer_check.sh SETUP.EXE DEFINITIONS_DIR WINE
set -euo pipefail
setup=$1 shipped=$2 WINE=$3
: "${WINEPREFIX:?WINEPREFIX must name the Wine prefix}"
product="Vedozer Anti-Spyware"
run_key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Vedozer'
settings_key="HKCU\\Software\\VB and VBA Program Settings\\$product"
fail() { echo "FAIL: $*"; exit 1; }

wine_env() { "$WINE" cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
unix_path() { "$WINE" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
reg_value() {  # key value -> the data, or nothing when the value is not there
  "$WINE" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
reg_key_exists() { "$WINE" reg query "$1" >/dev/null 2>&1; }

prog_win='C:\Program Files\Vedozer'
prog=$(unix_path "$prog_win")
data_win="$(wine_env APPDATA)\\RozaVedozerEZO"
data=$(unix_path "$data_win")
menu=$(unix_path "$(wine_env ProgramData)\\Microsoft\\Windows\\Start Menu\\Programs\\$product")
[ -n "$prog" ] && [ -n "$data" ] && [ -n "$menu" ] || fail "Wine did not name its folders"
definitions="BlockedCookies.dat DirectoryDefinition.dat ExeDefinition.dat FileDefinition.dat RegistryDefinition.dat Safety.dat"

# Whatever the earlier tests left in the data folder is put aside and back at the end.
saved=""
if [ -e "$data" ]; then saved="$data.before-installer"; rm -rf "$saved"; mv "$data" "$saved"; fi
restore_data() { rm -rf "$data"; [ -z "$saved" ] || mv "$saved" "$data"; }
trap restore_data EXIT

# The uninstaller copies itself into a temporary folder (~nsuN.tmp\Un.exe; Au_.exe in older NSIS)
# and returns at once; that copy goes on deleting after uninstall.exe is gone.
uninstaller_running() { pgrep -f '~nsu[^ ]*[.]tmp.(Un[^ ]*|Au_)[.]exe' >/dev/null; }
uninstall() {  # [options]: waits for the end of the uninstaller's copy
  "$WINE" "$prog_win\\uninstall.exe" /S "$@"
  sleep 0.5
  for _ in $(seq 300); do
    if [ ! -e "$prog/uninstall.exe" ] && ! uninstaller_running; then
      sleep 0.5
      return 0
    fi
    sleep 0.2
  done
  fail "the uninstaller did not finish within a minute"
}

echo "== silent install with the start-up option"
"$WINE" "$setup" /S /RUNATSTARTUP || fail "the installer failed"
for f in vedozer.exe vedozer-gui.exe Localization.txt uninstall.exe; do
  [ -f "$prog/$f" ] || fail "$prog_win\\$f is missing"
done
for f in "$product.lnk" "Uninstall $product.lnk"; do [ -f "$menu/$f" ] || fail "Start menu: $f is missing"; done
for f in $definitions; do
  cmp -s "$data/$f" "$shipped/$f" || fail "data folder: $f is not the shipped file"
done
[ "$(reg_value "$run_key" vedozer-gui)" = "\"$prog_win\\vedozer-gui.exe\" /tray" ] ||
  fail "Run value: '$(reg_value "$run_key" vedozer-gui)'"
[ "$(reg_value "$settings_key\\OptionAndSettings" chkRunAtStartup)" = 1 ] || fail "the start-up option is not saved"
[ "$(reg_value "$uninstall_key" DisplayName)" = "$product" ] || fail "no entry in the programs list"
echo "program folder: $(ls -A "$prog" | tr "\n" " ")"
echo "data folder:    $(ls -A "$data" | tr "\n" " ")"

echo "== the installed vedozer.exe"
"$WINE" "$prog_win\\vedozer.exe" --version | tr -d '\r' | tee "$prog/../version.txt"
grep -q "^definitions: .* ([1-9][0-9]*)" "$prog/../version.txt" || fail "the installed program found no definitions"
rm -f "$prog/../version.txt"
# A trace of the shipped definitions, planted, found and removed into the quarantine.
planted=$(unix_path 'C:\Program Files\AdBuddy')
mkdir -p "$planted" && echo "planted" >"$planted/adbuddy.exe"
set +e
"$WINE" "$prog_win\\vedozer.exe" scan --quick --no-cookies --no-memory --no-registry --quiet >"$data.scan.txt" 2>&1
rc=$?
set -e
tr -d '\r' <"$data.scan.txt"; rm -f "$data.scan.txt"
[ "$rc" = 1 ] || fail "the scan should have found the planted file (exit code $rc)"
"$WINE" "$prog_win\\vedozer.exe" scan --quick --no-cookies --no-memory --no-registry --quiet --remove --yes >/dev/null 2>&1 || true
[ ! -e "$planted/adbuddy.exe" ] || fail "the planted file was not removed"
rm -rf "$planted"
[ -d "$data/quarantine" ] || fail "no quarantine"

echo "== a second install keeps the installed definitions"
printf 'kept\r\n' >>"$data/FileDefinition.dat"
cp "$data/FileDefinition.dat" "$data.kept"
"$WINE" "$setup" /S || fail "the second install failed"
cmp -s "$data/FileDefinition.dat" "$data.kept" || fail "the second install replaced the installed definitions"
rm -f "$data.kept"

echo "== silent uninstall"
uninstall
[ ! -e "$prog" ] || fail "left in the program folder: $(ls "$prog")"
[ ! -e "$menu" ] || fail "the Start menu folder is left"
[ -z "$(reg_value "$run_key" vedozer-gui)" ] || fail "the Run value is left"
! reg_key_exists "$uninstall_key" || fail "the programs list entry is left"
for f in $definitions date.dat; do [ ! -e "$data/$f" ] || fail "data folder: $f is left"; done
[ -d "$data/quarantine" ] || fail "the quarantine went without being asked for"
[ "$(reg_value "$settings_key\\OptionAndSettings" chkRunAtStartup)" = 0 ] ||
  fail "the kept settings still claim a start-up entry"
echo "left after uninstalling: data folder $(ls -A "$data" | tr "\n" " "), settings under $settings_key"

echo "== install without the start-up option, uninstall with /PURGE"
"$WINE" "$setup" /S || fail "the third install failed"
[ -z "$(reg_value "$run_key" vedozer-gui)" ] || fail "a Run value without the option"
uninstall /PURGE
[ ! -e "$data" ] || fail "left in the data folder after /PURGE: $(ls -R "$data")"
! reg_key_exists "$settings_key" || fail "the settings are left after /PURGE"
[ ! -e "$prog" ] || fail "the program folder is left"
echo "nothing left after /PURGE"
