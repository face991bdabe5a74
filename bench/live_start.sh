#!/usr/bin/env bash
# Start to 16 rows on the live market, its services replayed on loopback: the day's first
# start (no cache: the board lists and every watched stock's day bars are fetched, under the
# ceiling of five requests a second) against the starts after it (both from the disk cache),
# within each run, and the simulated market's start as the baseline. A start is
# `lark --console --once`, which prints the 16 rows after its first pass and ends.
# Usage: live_start.sh LARK REPLAY DATA_DIR [RUNS]
#   e.g. bench/live_start.sh build/src/lark build/tests/lark-upstream-replay tests/data/live 5
set -euo pipefail
if [ $# -lt 3 ]; then
    sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'
    exit 2
fi
lark=$(realpath "$1")
replay=$(realpath "$2")
data=$(realpath "$3")
runs=${4:-5}
work=$(mktemp -d)
trap 'kill "$replay_pid" 2>/dev/null || true; rm -rf "$work"' EXIT

"$replay" "$data" >"$work/replay.out" &
replay_pid=$!
for _ in $(seq 100); do
    [ -s "$work/replay.out" ] && break
    sleep 0.1
done
url=$(sed 's/^listening on //' "$work/replay.out")

now_ms() { date +%s%3N; }
# once NAME CACHE [MARKET OPTIONS...]: one start, its time appended to NAME's samples.
once() {
    local name=$1 cache=$2 began rows
    shift 2
    began=$(now_ms)
    rows=$(env -u LARK_MARKET XDG_CACHE_HOME="$cache" "$lark" --console --once \
        --registry "$work/registry-$name" "$@" 2>/dev/null | wc -l)
    [ "$rows" -eq 16 ] || { echo "FAIL: $name printed $rows rows" >&2; exit 1; }
    echo $(($(now_ms) - began)) >>"$work/$name"
}
live=(--market live --quotes-upstream "$url" --history-upstream "$url" --lists-upstream "$url"
    --minutes-upstream "$url" --fallback-quotes-upstream "$url" --fallback-lists-upstream "$url")
for run in $(seq "$runs"); do
    once simulated "$work/cache-sim-$run"
    once first "$work/cache-$run" "${live[@]}"
    once later "$work/cache-$run" "${live[@]}"
    once later "$work/cache-$run" "${live[@]}"
done

median() { sort -n "$work/$1" | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
most() { sort -n "$work/$1" | tail -1; }
base=$(median simulated)
printf '%-34s %8s %8s %8s\n' "start to 16 rows ($runs runs)" median max "x sim"
for name in simulated first later; do
    printf '%-34s %6s ms %6s ms %8.2f\n' "$name" "$(median "$name")" "$(most "$name")" \
        "$(echo "$(median "$name") / $base" | bc -l)"
done
