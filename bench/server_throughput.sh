#!/usr/bin/env bash
# The substitute's real-time quote throughput under wrk (keep-alive, 2 threads, 16 connections),
# beside nginx serving a 97-byte static file on the same machine, the two taking turns in each
# run; prints each run's figures and the median ratio. Goal: at least 0.5.
# Usage: server_throughput.sh QUOTE_SERVER [SECONDS] [RUNS]
#   e.g. bench/server_throughput.sh build/src/quoteserver/lark-quote-server 10 3
# Needs: wrk nginx-light.
set -euo pipefail

if [ $# -lt 1 ]; then
    sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'
    exit 2
fi
server="$1"
seconds="${2:-10}"
runs="${3:-3}"
for tool in wrk nginx; do
    command -v "$tool" >/dev/null || { echo "missing '$tool' (Debian packages: wrk nginx-light)" >&2; exit 2; }
done
work="$(mktemp -d)"
server_pid=
trap '[ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null; [ -f "$work/nginx.pid" ] && kill "$(cat "$work/nginx.pid")"; rm -rf "$work"' EXIT

"$server" --listen 127.0.0.1:0 > "$work/server.out" &
server_pid=$!
for _ in $(seq 50); do [ -s "$work/server.out" ] && break; sleep 0.1; done
address="$(head -1 "$work/server.out" | sed 's/^listening on //')"

# nginx cannot listen on port 0; borrow a port the kernel says is free.
nginx_port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])' 2>/dev/null || echo 18097)
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
    listen 127.0.0.1:$nginx_port;
    root $work;
  }
}
CONF
nginx -c "$work/nginx.conf"
sleep 0.5

echo "machine: $(nproc) cores, $(. /etc/os-release && echo "$PRETTY_NAME"), load average $(cut -d' ' -f1-3 /proc/loadavg)"
run() { wrk -t2 -c16 -d"${seconds}s" "$1" | awk '/Requests\/sec/ {print $2}'; }
for i in $(seq "$runs"); do
    ours=$(run "http://$address/stksrv_curve/JGetHq3.dll?GetStkOneHQWithNameSH?507193&600061")
    baseline=$(run "http://127.0.0.1:$nginx_port/quote.bin")
    awk -v i="$i" -v o="$ours" -v b="$baseline" 'BEGIN {
      printf "run %d: substitute %.0f req/s, nginx 97-byte file %.0f req/s, ratio %.2f\n", i, o, b, o / b }' \
        | tee -a "$work/runs"
done
awk '{print $NF}' "$work/runs" | sort -n | awk -v n="$runs" '{v[NR] = $1}
    END {printf "median ratio over %d runs: %.2f (goal at least 0.5)\n", n, v[int((NR + 1) / 2)]}'
echo "load average now $(cut -d' ' -f1-3 /proc/loadavg)"
