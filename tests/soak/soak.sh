#!/usr/bin/env bash
# Soak: the engine (text front end) polling 16 stocks at the fastest refresh against the
# substitute. Resident memory, open descriptors and threads must stay flat after the first
# minute. Usage: soak.sh LARK QUOTE_SERVER [SECONDS] (default 600; CI runs a shorter one).
set -euo pipefail
lark="$1"
server="$2"
seconds="${3:-600}"
warmup=60
[ "$seconds" -gt "$warmup" ] || { echo "need more than ${warmup}s"; exit 2; }
work="$(mktemp -d)"
trap 'kill "$lark_pid" "$server_pid" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT

# shellcheck source-path=SCRIPTDIR source=../cli/pinned_server.sh
source "$(dirname "$0")/../cli/pinned_server.sh"
start_control_server "$server" "$work"

# stdin stays open (a fifo nobody writes) so the front end keeps running.
mkfifo "$work/in"
"$lark" --console --quote-server "$address" --registry "$work/registry" < "$work/in" > "$work/out" &
lark_pid=$!
exec 3> "$work/in"

sample() {
  local rss fds threads
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$lark_pid/status")
  threads=$(awk '/Threads/ {print $2}' "/proc/$lark_pid/status")
  fds=$(ls "/proc/$lark_pid/fd" | wc -l)
  echo "$1 $rss $fds $threads"
}

: > "$work/samples"
for ((t = 0; t <= seconds; t += 5)); do
  kill -0 "$lark_pid" 2>/dev/null || { echo "FAIL: lark exited early"; tail "$work/out"; exit 1; }
  sample "$t" >> "$work/samples"
  sleep 5
done
requests=$(curl -sf -X POST -H "X-Control-Token: $token" \
  "http://$address/control/requests?path=GetStkOneHQWithName")
kill -TERM "$lark_pid"
wait "$lark_pid" || true

awk -v warmup="$warmup" -v requests="$requests" '
  $1 >= warmup {
    if (n == 0) { rss0 = $2; fds0 = $3; th0 = $4; rmin = rmax = $2; fmin = fmax = $3; tmin = tmax = $4 }
    n++
    if ($2 < rmin) rmin = $2; if ($2 > rmax) rmax = $2
    if ($3 < fmin) fmin = $3; if ($3 > fmax) fmax = $3
    if ($4 < tmin) tmin = $4; if ($4 > tmax) tmax = $4
  }
  END {
    printf "quote requests: %d\n", requests
    printf "after %ds: RSS %d..%d KiB, fds %d..%d, threads %d..%d (%d samples)\n",
      warmup, rmin, rmax, fmin, fmax, tmin, tmax, n
    ok = (rmax - rmin) <= rmin * 0.05 + 256 && fmax == fmin && tmax == tmin
    if (!ok) { print "FAIL: not flat"; exit 1 }
    print "1 passed, 0 failed"
  }' "$work/samples"
