#!/usr/bin/env bash
# Load on both ways of serving definitions, on 127.0.0.1: the live vedozer-defserver, and nginx on
# the static export of the same repository. A repository of 30 change sets of 100 changes each;
# 20,000 requests from 200 clients (six date checks, three feeds, one new-date request in ten).
# Usage: bench/fleet_load.sh [BUILD_DIR] [REQUESTS] [CLIENTS]      (BUILD_DIR defaults to build)
# Needs nginx (Debian: nginx-light). Prints one line per server; run it on a quiet machine.
set -euo pipefail
BUILD=$(cd "${1:-build}" && pwd)
REQUESTS=${2:-20000}
CLIENTS=${3:-200}
NGINX=$(command -v nginx || echo /usr/sbin/nginx)
[ -x "$NGINX" ] || { echo "nginx is not installed (Debian: nginx-light)"; exit 1; }
work=$(mktemp -d /tmp/vedozer-fleet-load.XXXXXX)
live_pid="" nginx_pid=""
cleanup() {
  [ -n "$live_pid" ] && kill "$live_pid" 2>/dev/null && wait "$live_pid" 2>/dev/null
  [ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null && wait "$nginx_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
ulimit -n 65536 2>/dev/null || ulimit -n 4096 2>/dev/null || true

# The repository: one change set a day from 2006-04-01, each adding 100 definitions of mixed kinds
# and removing a few of the day before.
mkdir -p "$work/repo/changes"
dates=()
for d in $(seq 0 29); do
  day=$(date -u -d "2006-04-01 + $d days" +%Y-%m-%d)
  {
    for i in $(seq 1 100); do
      case $((i % 4)) in
        0) echo "ADD FILE spy$d-$i.exe=Spy $d $i|[programfiles]\\Spy$d|Adware" ;;
        1) echo "ADD REG 2^Software\\Spy$d\\Key$i=Spy $d $i|Adware" ;;
        2) echo "ADD COOK tracker$d-$i.example" ;;
        3) echo "ADD DIR Spy$d-$i folder=Spy $d $i|[programfiles]\\Spy$d-$i|Adware" ;;
      esac
    done
    [ "$d" -gt 0 ] && for i in 4 8 12; do echo "DEL FILE spy$((d - 1))-$i.exe"; done
  } > "$work/repo/changes/$day.txt"
  dates+=("$(date -u -d "$day" +%-m/%-d/%Y)")
done
dates+=("3/16/2006")

"$BUILD/vedozer-defserver" --repo "$work/repo" --port 0 --quiet > "$work/live.out" 2> "$work/live.err" &
live_pid=$!
for _ in $(seq 100); do grep -q 'http://' "$work/live.out" 2>/dev/null && break; sleep 0.1; done
live_port=$(grep -o '127\.0\.0\.1:[0-9]*' "$work/live.out" | head -1 | cut -d: -f2)
[ -n "$live_port" ] || { echo "vedozer-defserver did not start"; cat "$work/live.err"; exit 1; }

"$BUILD/vedozer-defserver" export --repo "$work/repo" --out "$work/site" --collector "127.0.0.1:$live_port"
nginx_port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
mkdir -p "$work/nginx"
cat > "$work/nginx/nginx.conf" <<CONF
daemon off;
worker_processes auto;
pid $work/nginx/nginx.pid;
error_log $work/nginx/error.log;
events { worker_connections 4096; }
http {
    access_log off;
    client_body_temp_path $work/nginx/client_body;
    proxy_temp_path $work/nginx/proxy;
    fastcgi_temp_path $work/nginx/fastcgi;
    uwsgi_temp_path $work/nginx/uwsgi;
    scgi_temp_path $work/nginx/scgi;
    include $work/site/nginx/vedozer-http.conf;
    server {
        listen 127.0.0.1:$nginx_port backlog=4096;
        root $work/site;
        include $work/site/nginx/vedozer-server.conf;
    }
}
CONF
as_user=()
if [ "$(id -u)" = 0 ]; then
  chmod 755 "$work"
  chown -R nobody "$work/nginx"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
"${as_user[@]}" "$NGINX" -p "$work/nginx" -c "$work/nginx/nginx.conf" -e "$work/nginx/error.log" &
nginx_pid=$!
for _ in $(seq 100); do (exec 3<>"/dev/tcp/127.0.0.1/$nginx_port") 2>/dev/null && break; sleep 0.1; done

echo "$REQUESTS requests, $CLIENTS clients, $(ls "$work/repo/changes" | wc -l) change sets, site $(du -sh "$work/site" | cut -f1)"
printf 'live vedozer-defserver: '
"$BUILD/defserver_load" "$live_port" "$REQUESTS" "$CLIENTS" "${dates[@]}"
printf 'nginx on the export:    '
"$BUILD/defserver_load" "$nginx_port" "$REQUESTS" "$CLIENTS" "${dates[@]}"
