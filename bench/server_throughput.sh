#!/usr/bin/env bash
# The substitute's real-time quote throughput under wrk (keep-alive), beside nginx serving a
# 97-byte static file on the same machine in the same run. Needs: wrk nginx-light.
# Usage: server_throughput.sh QUOTE_SERVER [SECONDS]
set -euo pipefail
server="$1"
seconds="${2:-10}"
work="$(mktemp -d)"
trap 'kill "$server_pid" 2>/dev/null; [ -f "$work/nginx.pid" ] && kill "$(cat "$work/nginx.pid")"; rm -rf "$work"' EXIT

"$server" --listen 127.0.0.1:0 > "$work/server.out" &
server_pid=$!
for _ in $(seq 50); do [ -s "$work/server.out" ] && break; sleep 0.1; done
address="$(head -1 "$work/server.out" | sed 's/^listening on //')"

head -c 97 /dev/zero > "$work/quote.bin"
cat > "$work/nginx.conf" <<CONF
worker_processes 1;
pid $work/nginx.pid;
error_log $work/error.log;
events { worker_connections 256; }
http {
  access_log off;
  keepalive_requests 1000000;
  server {
    listen 127.0.0.1:18097;
    root $work;
  }
}
CONF
nginx -c "$work/nginx.conf"
sleep 0.5

run() { wrk -t2 -c16 -d"${seconds}s" "$1" | awk '/Requests\/sec/ {print $2}'; }
ours=$(run "http://$address/stksrv_curve/JGetHq3.dll?GetStkOneHQWithNameSH?507193&600061")
baseline=$(run "http://127.0.0.1:18097/quote.bin")
awk -v o="$ours" -v b="$baseline" 'BEGIN {
  printf "substitute: %.0f req/s, nginx 97-byte file: %.0f req/s, ratio %.2f\n", o, b, o / b }'
