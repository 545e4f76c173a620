#!/usr/bin/env bash
# The demo installation's traces planted in a Wine prefix through the registry and file APIs: the
# shipped definitions find them. Source this file; it needs WINE and WINEPREFIX.
#   plant_demo_traces     plants them
#   unplant_demo_traces   takes the planted registry keys away again

plant_demo_traces() {
  local c="$WINEPREFIX/drive_c"
  local profile
  profile="$c/users/$(whoami)"
  local reg
  reg() {  # reg.exe prints its errors on standard output: shown only when it fails
    local said
    said=$("$WINE" reg add "$@" /f 2>&1) && return 0
    echo "failed: reg add $*: $said" >&2
    return 1
  }
  reg 'HKLM\SOFTWARE\AdBuddy' /v Version /t REG_SZ /d 3.2
  reg 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run' /v AdBuddyTray /t REG_SZ \
    /d 'C:\Program Files\AdBuddy\adbuddy.exe /tray'
  reg 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Browser Helper Objects\{5E1C3A7B-0D2F-4B8A-9C61-ADB0DD1E0001}'
  reg 'HKLM\SOFTWARE\Classes\CLSID\{5E1C3A7B-0D2F-4B8A-9C61-ADB0DD1E0001}' /ve /t REG_SZ /d 'AdBuddy Helper'
  reg 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\SharedDLLs' /v 'C:\Program Files\AdBuddy\abhook.dll' \
    /t REG_DWORD /d 1
  reg 'HKCU\Software\CouponRocket' /v UserId /t REG_SZ /d 8812-33
  local plant
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
  # (C:\Windows\System32\userinit.exe is Wine's own here; the safe list spares it.)
}

unplant_demo_traces() {
  "$WINE" reg delete 'HKLM\SOFTWARE\AdBuddy' /f >/dev/null 2>&1 || true
  "$WINE" reg delete 'HKCU\Software\CouponRocket' /f >/dev/null 2>&1 || true
}
