#!/usr/bin/env bash
# The same definitions (the shipped set) and the same planted traces give the same `--json` scan
# result on the image backend (Linux, the demo image) and on the win32 backend (Wine), apart from
# paths and times. Usage: compare_backends.sh LINUX_VEDOZER WINDOWS_VEDOZER_EXE WINE
# (WINEPREFIX must be set and initialised).
set -euo pipefail
LIN=$1 WIN=$2 WINE=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/vedozer-compare.XXXXXX)
trap 'rm -rf "$work"' EXIT

# Image side: the demo installation, scanned with the shipped definitions.
"$LIN" demo "$work/demo" --build-only >/dev/null
"$LIN" --data-dir "$work/lin-data" --config-dir "$work/lin-config" init >/dev/null
set +e
"$LIN" --target "$work/demo/image/C" --user demo --data-dir "$work/lin-data" --config-dir "$work/lin-config" \
  scan --no-cookies --no-memory --quiet --json "$work/image.json"
lin_rc=$?
set -e

# Windows side: the same traces planted in the Wine prefix through the registry and file APIs.
c="$WINEPREFIX/drive_c"
profile="$c/users/$(whoami)"
reg() { "$WINE" reg add "$@" /f >/dev/null; }
reg 'HKLM\SOFTWARE\AdBuddy' /v Version /t REG_SZ /d 3.2
reg 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run' /v AdBuddyTray /t REG_SZ \
  /d 'C:\Program Files\AdBuddy\adbuddy.exe /tray'
reg 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Browser Helper Objects\{5E1C3A7B-0D2F-4B8A-9C61-ADB0DD1E0001}'
reg 'HKLM\SOFTWARE\Classes\CLSID\{5E1C3A7B-0D2F-4B8A-9C61-ADB0DD1E0001}' /ve /t REG_SZ /d 'AdBuddy Helper'
reg 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\SharedDLLs' /v 'C:\Program Files\AdBuddy\abhook.dll' \
  /t REG_DWORD /d 1
reg 'HKCU\Software\CouponRocket' /v UserId /t REG_SZ /d 8812-33
plant() { mkdir -p "$(dirname "$1")"; printf '%s' "$2" > "$1"; }
plant "$c/Program Files/AdBuddy/adbuddy.exe" "MZ AdBuddy toolbar"
plant "$c/Program Files/AdBuddy/abhook.dll" "MZ AdBuddy browser hook"
plant "$profile/AppData/Roaming/CouponRocket/crocket.exe" "MZ CouponRocket"
plant "$profile/AppData/Roaming/CouponRocket/crupdate.exe" "MZ CouponRocket updater"
plant "$c/windows/system32/popwhirl.dll" "MZ PopWhirl"
plant "$c/windows/spilot.ini" "[SearchPilot]"
plant "$c/KeyShadow/keyshadow.sys" "KeyShadow driver"
plant "$c/Program Files/SearchPilot/spilot.exe" "MZ SearchPilot"
plant "$c/ProgramData/PopWhirl/popwhirl.cfg" "cfg"
plant "$c/Program Files/AdBuddy/hidden.dat" "hidden"
"$WINE" cmd /c attrib +h 'C:\Program Files\AdBuddy\hidden.dat' >/dev/null
# (C:\Windows\System32\userinit.exe is Wine's own here; the safe list spares it on both sides.)

data="vedozer-compare-$$"
"$WINE" "$WIN" --data-dir "C:\\$data" init >/dev/null
set +e
"$WINE" "$WIN" --data-dir "C:\\$data" scan --no-cookies --no-memory --quiet --json - > "$work/win32.json"
win_rc=$?
set -e
# Leave the prefix as it was for whatever runs next.
"$WINE" reg delete 'HKLM\SOFTWARE\AdBuddy' /f >/dev/null 2>&1 || true
"$WINE" reg delete 'HKCU\Software\CouponRocket' /f >/dev/null 2>&1 || true
rm -rf "${c:?}/$data"

python3 "$here/compare_scan_json.py" "$work/image.json" "$work/win32.json" "$lin_rc" "$win_rc"
