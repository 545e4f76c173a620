#!/usr/bin/env bash
# Live Update end to end: vedozer-defserver serving a feed of 50,000 records (ADD and DEL mixed) for
# six definition files of 200,000 lines, "vedozer update" installing it, against copying the six
# files and syncing (cp + sync). Also times the update's parts: the process alone ("info"), the
# feed's download, and the merge with its flushes (bench_merge).
#   bench/merge_end_to_end.sh BUILD_DIR [RUNS]
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd)
runs=${2:-3}
work=$(mktemp -d /tmp/vedozer-merge-e2e.XXXXXX)
trap 'kill $server 2>/dev/null || true; rm -rf "$work"' EXIT

python3 - "$work" <<'PY'
import os, sys
work = sys.argv[1]
off = 64  # the definition line encoding: each byte shifted (kScrambleOffset, LineCodec.h)
def enc(s):
    return bytes(((b + off) if b + off <= 255 else b + off - 255) for b in s.encode('latin-1'))
names = ["FileDefinition.dat", "ExeDefinition.dat", "RegistryDefinition.dat", "BlockedCookies.dat",
         "DirectoryDefinition.dat", "Safety.dat"]
types = ["FILE", "EXE", "REG", "COOK", "DIR", "SFILE"]
os.makedirs(f"{work}/source", exist_ok=True)
for k, n in enumerate(names):
    with open(f"{work}/source/{n}", "wb") as out:
        for i in range(200000):
            line = f"k{k}e{i}.exe=Spyware number {i}|[programfiles]\\Vendor {i % 97}|Adware"
            out.write(enc(line) + b"\r\n")
with open(f"{work}/source/date.dat", "w") as out: out.write("3/16/2006 12:00:00 AM\r\n")
os.makedirs(f"{work}/repo/changes", exist_ok=True)
with open(f"{work}/repo/changes/2006-05-15.txt", "w") as out:
    for i in range(50000):
        k = i % 6
        if i % 5 < 2: out.write(f"DEL {types[k]} k{k}e{(i * 7919) % 200000}.exe\n")
        elif k == 2: out.write(f"ADD REG 2^Software\\New{i}=New {i}|Adware\n")
        elif k == 5: out.write(f"ADD SFILE new{i}.exe|[windir]\\new{i}.exe\n")
        elif k == 3: out.write(f"ADD COOK new{i}.example.com\n")
        else: out.write(f"ADD {types[k]} new{i}.exe=New {i}|[windir]|Adware\n")
PY
"$build/vedozer-defserver" --repo "$work/repo" --port 0 --quiet > "$work/server.out" &
server=$!
for _ in $(seq 100); do grep -q "serving" "$work/server.out" 2>/dev/null && break; sleep 0.05; done
url=$(grep -o 'http://[0-9.:]*' "$work/server.out" | head -1)
echo "server at $url; six files of 200,000 lines ($(du -sh "$work/source" | cut -f1)), feed of 50,000 records"

now() { date +%s.%N; }
vz() { "$build/vedozer" --data-dir "$work/data" --config-dir "$work/config" --machine-config-dir "$work/machine" "$@"; }
for run in $(seq "$runs"); do
    # The copy replaces files of the same size, as the update replaces the old definition files.
    rm -rf "$work/data" "$work/copy" "$work/config"; cp -r "$work/source" "$work/data"; cp -r "$work/source" "$work/copy"; sync
    t0=$(now); vz info > /dev/null; t1=$(now)
    curl -s -o /dev/null "$url/asp/getDefsNEW.asp?prog=x&comp=y&date=3/16/2006%2012:00:00%20AM"; t2=$(now)
    /usr/bin/time -f "%U %S" -o "$work/cpu" "$build/vedozer" --data-dir "$work/data" --config-dir "$work/config" \
        --machine-config-dir "$work/machine" update --server "$url" > "$work/update.out"; t3=$(now)
    cp "$work/source"/*.dat "$work/copy/"; sync; t4=$(now)
    python3 - "$t0" "$t1" "$t2" "$t3" "$t4" "$run" $(cat "$work/cpu") <<'PY'
import sys
t = [float(x) for x in sys.argv[1:6]]
info, feed, update, copy = t[1]-t[0], t[2]-t[1], t[3]-t[2], t[4]-t[3]
cpu = float(sys.argv[7]) + float(sys.argv[8])
print(f"run {sys.argv[6]}: update {update:.3f} s ({cpu:.3f} s processor), cp+sync {copy:.3f} s, ratio {update/copy:.2f}; "
      f"of the update: process start and data folder (info) {info:.3f} s, feed download {feed:.3f} s")
PY
done
tail -2 "$work/update.out"
