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
# shellcheck source=plant_demo_traces.sh
. "$here/plant_demo_traces.sh"
plant_demo_traces
c="$WINEPREFIX/drive_c"

data="vedozer-compare-$$"
"$WINE" "$WIN" --data-dir "C:\\$data" init >/dev/null
set +e
"$WINE" "$WIN" --data-dir "C:\\$data" scan --no-cookies --no-memory --quiet --json - > "$work/win32.json"
win_rc=$?
set -e
# Leave the prefix as it was for whatever runs next.
unplant_demo_traces
rm -rf "${c:?}/$data"

python3 "$here/compare_scan_json.py" "$work/image.json" "$work/win32.json" "$lin_rc" "$win_rc"
