#!/usr/bin/env bash
# cmake --install into a fresh prefix gives programs that run from their own files: the version,
# the language file found in <prefix>/share/vedozer, the shipped definitions installed and a
# demo scan that finds the planted adware; the files that name paths name the prefix.
# Usage: installed_prefix.sh BUILD_DIR
set -euo pipefail
build=$1
tmp=$(mktemp -d /tmp/vedozer-install.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
export XDG_DATA_HOME=$tmp/data XDG_CONFIG_HOME=$tmp/config HOME=$tmp/home LANG=C LC_ALL=
mkdir -p "$HOME"
fail() { echo "FAIL: $*"; exit 1; }

"$prefix/bin/vedozer" --version | grep -q "^Vedozer Anti-Spyware [0-9]" || fail "vedozer --version"
"$prefix/bin/vedozer-defserver" --version | grep -q "^vedozer-defserver [0-9]" || fail "vedozer-defserver --version"
# German is only in the installed language file: the program found it.
"$prefix/bin/vedozer" language list | grep -q "Deutsch" || fail "the installed Localization.txt was not found"
"$prefix/bin/vedozer" init | grep -q "^installed [1-9][0-9]* definitions into $XDG_DATA_HOME/RozaVedozerEZO" ||
    fail "vedozer init"
"$prefix/bin/vedozer" --version | grep -q "^definitions: .* ([1-9][0-9]*)" || fail "the definitions are not counted"
"$prefix/bin/vedozer" demo >"$tmp/demo.txt" 2>&1 || true
grep -q "FOUND" "$tmp/demo.txt" || { cat "$tmp/demo.txt"; fail "the demo scan found nothing"; }

zcat "$prefix/share/man/man1/vedozer.1.gz" | grep -q "^\.TH VEDOZER 1 \"[0-9-]*\" \"Vedozer [0-9.]*\"" ||
    fail "vedozer.1 header"
zcat "$prefix/share/man/man1/vedozer.1.gz" | grep -q "$prefix/share/vedozer/Localization.txt" || fail "vedozer.1 paths"
unit=$prefix/lib/systemd/system/vedozer-defserver.service
grep -qx "ExecStart=$prefix/bin/vedozer-defserver \$VEDOZER_DEFSERVER_OPTIONS" "$unit" || fail "the unit's ExecStart"
grep -qx "EnvironmentFile=-$prefix/etc/default/vedozer-defserver" "$unit" || fail "the unit's options file"
grep -q -- "--repo $prefix/share/vedozer/defserver-repo " "$prefix/etc/default/vedozer-defserver" || fail "default repo"
# The example repository's language file is a link that must still lead to the installed file.
cmp -s "$prefix/share/vedozer/defserver-repo/Languages/21/Localization.txt" "$prefix/share/vedozer/Localization.txt" ||
    fail "the example repository's language file"
[ -f "$prefix/share/bash-completion/completions/vedozer" ] || fail "completion"
echo "the installed prefix works"
