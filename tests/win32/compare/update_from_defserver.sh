#!/usr/bin/env bash
# vedozer.exe (win32 backend, WinInet) under Wine fetches an update from vedozer-defserver running
# natively on 127.0.0.1. Usage: update_from_defserver.sh DEFSERVER WINDOWS_VEDOZER_EXE WINE
set -euo pipefail
SERVER=$1 WIN=$2 WINE=$3
work=$(mktemp -d /tmp/vedozer-update.XXXXXX)
pid=""
data="vedozer-update-$$"
cleanup() {
  set +e  # whatever is already gone, the exit status stays the run's own
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  rm -rf "$work" "${WINEPREFIX:?}/drive_c/$data"
}
trap cleanup EXIT
mkdir -p "$work/repo/changes"
printf 'ADD COOK tracker.wine-test.example\nADD EXE winpop.exe=WinPop|[windir]\n' > "$work/repo/changes/2006-04-01.txt"
"$SERVER" --repo "$work/repo" --port 0 --bind 127.0.0.1 > "$work/server.out" 2> "$work/server.err" &
pid=$!
url=""
for _ in $(seq 100); do
  url=$(grep -o 'http://127\.0\.0\.1:[0-9]*' "$work/server.out" | head -1 || true)
  [ -n "$url" ] && break
  sleep 0.1
done
[ -n "$url" ] || { echo "vedozer-defserver did not start"; cat "$work/server.err"; exit 1; }

failed=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failed=$((failed + 1)); fi; }
"$WINE" "$WIN" --data-dir "C:\\$data" init >/dev/null
set +e
"$WINE" "$WIN" --data-dir "C:\\$data" update --server "$url" > "$work/update.out" 2>&1
rc=$?
"$WINE" "$WIN" --data-dir "C:\\$data" defs decode < "$WINEPREFIX/drive_c/$data/ExeDefinition.dat" > "$work/exe.txt" 2>&1
"$WINE" "$WIN" --data-dir "C:\\$data" update --server "$url" > "$work/again.out" 2>&1
rc2=$?
set -e
cat "$work/update.out"
check "update exits 0" '[ "$rc" = 0 ]'
check "the new definition is installed" 'grep -q "winpop.exe=WinPop" "$work/exe.txt"'
check "the server was asked for the feed" 'grep -q "getDefsNEW.asp" "$work/server.err"'
check "the installed date is the server's" 'grep -q "4/1/2006" "$WINEPREFIX/drive_c/$data/date.dat"'
check "a second update finds nothing newer and exits 0" '[ "$rc2" = 0 ]'
echo "$((5 - failed)) passed, $failed failed"
[ "$failed" = 0 ]
