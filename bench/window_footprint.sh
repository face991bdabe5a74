#!/usr/bin/env bash
# CPU and memory of Lark watching its 16 stocks (a pass every 4 s) on a private X server with a
# window manager, beside the list window (bench/list_window: a bare Qt window of the same size
# and flags showing the same 16 x 8 list with Chinese text, every text rewritten every 4 s) from
# the same build, measured in turn in each run. CPU is the run time of every thread, from
# /proc/PID/task/*/schedstat, over the window, as % of one core; wake-ups are the user-interface
# thread's context switches a second;
# memory is VmRSS, and smaps_rollup's Pss and Private_Dirty (heap, stacks, written library data:
# the part no other process can share), at the end of the window.
# Subjects: the list window (the baseline); Lark on its built-in market (the market runs in
# Lark's process); with QUOTE_SERVER given, also Lark against that server started as its own
# process, so the figure is Lark alone (the server's CPU is shown beside it); with REPLAY and
# DATA_DIR given, also Lark on the live market, its public services replayed on loopback, with
# the upstream requests and bytes (bodies) it asked for in the window, and per hour.
# The refresh pause is not a stored setting: every refresh loop starts at 5 x 800 ms = 4 s, so a
# fresh settings tree already polls every 4 s.
# Usage: window_footprint.sh LARK LIST_WINDOW [QUOTE_SERVER|-] [SECONDS] [RUNS] [REPLAY DATA_DIR]
#   e.g. bench/window_footprint.sh build/src/lark build/bench/list_window \
#            build/src/quoteserver/lark-quote-server 60 3 build/tests/lark-upstream-replay \
#            tests/data/live
# Needs: xvfb icewm xdotool x11-utils curl.
set -euo pipefail

if [ $# -lt 2 ]; then
    sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'
    exit 2
fi
lark=$(realpath "$1")
baseline=$(realpath "$2")
server=${3:--}
seconds=${4:-60}
runs=${5:-3}
replay=${6:+$(realpath "$6")}
data=${7:+$(realpath "$7")}
settle=6 # start-up and the first pass are over well within this

# shellcheck source-path=SCRIPTDIR source=desktop_session.sh
source "$(dirname "$0")/desktop_session.sh"
start_desktop

address=
if [ "$server" != - ]; then
    # shellcheck source-path=SCRIPTDIR source=../tests/cli/pinned_server.sh
    source "$(dirname "$0")/../tests/cli/pinned_server.sh"
    start_control_server "$server" "$work"
    children+=("$server_pid")
fi
live=()
if [ -n "$replay" ]; then
    "$replay" "$data" >"$work/replay.out" &
    replay_pid=$!
    children+=("$replay_pid")
    until_within '[ -s "$work/replay.out" ]' 10000 || { echo "the replay did not start" >&2; exit 1; }
    url=$(sed 's/^listening on //' "$work/replay.out")
    live=(--market live --quotes-upstream "$url" --history-upstream "$url" --lists-upstream "$url"
        --minutes-upstream "$url" --fallback-quotes-upstream "$url" --fallback-lists-upstream "$url")
fi
# "REQUESTS BYTES" the replay has answered so far, over every service.
upstream_total() {
    local lines
    lines=$(wc -l <"$work/replay.out")
    kill -USR1 "$replay_pid"
    until_within "[ \$(wc -l <'$work/replay.out') -ge $((lines + 7)) ]" 5000 \
        || { echo "the replay did not answer" >&2; exit 1; }
    tail -7 "$work/replay.out" | awk '{r += $2; b += $3} END {print r, b}'
}
quote_requests() {
    curl -s -X POST -H "X-Control-Token: $token" "http://$address/control/requests?path=GetStkOneHQ" \
        | tr -dc 0-9
}

# Per-thread CPU in microseconds, "tid/comm us" a line, to say where a process's CPU goes.
thread_us() {
    local task comm
    for task in /proc/"$1"/task/*; do
        comm=$(tr ' ' _ <"$task/comm" 2>/dev/null) || continue
        [ "${task##*/}" = "$1" ] && comm=main
        awk -v id="${task##*/}/$comm" '{printf "%s %d\n", id, $1 / 1000}' "$task/schedstat" 2>/dev/null
    done
}
percent() { awk -v ns="$1" -v s="$seconds" 'BEGIN {printf "%.3f", 100 * ns / 1e9 / s}'; }

# measure NAME WINDOW_TITLE COMMAND...: one window's figures, a line appended to results.
measure() {
    local name=$1 title=$2
    shift 2
    launch "$@"
    local pid=$launched
    wait_for_window "$title" >/dev/null || { echo "$name: no window" >&2; exit 1; }
    sleep "$settle"
    local requests_before=0 server_before=0 upstream_before=
    [[ $name == *external* ]] && requests_before=$(quote_requests) && server_before=$(cpu_ns "$server_pid")
    [[ $name == *live* ]] && upstream_before=$(upstream_total)
    thread_us "$pid" >"$work/threads.before"
    local before switches_before
    before=$(cpu_ns "$pid")
    switches_before=$(context_switches "$pid")
    sleep "$seconds"
    local after rss pss dirty hwm threads wakeups
    after=$(cpu_ns "$pid")
    wakeups=$(awk -v a="$(context_switches "$pid")" -v b="$switches_before" -v s="$seconds" \
        'BEGIN {printf "%.1f", (a - b) / s}')
    rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
    hwm=$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status")
    threads=$(awk '/^Threads:/ {print $2}' "/proc/$pid/status")
    pss=$(awk '/^Pss:/ {print $2}' "/proc/$pid/smaps_rollup")
    dirty=$(awk '/^Private_Dirty:/ {print $2}' "/proc/$pid/smaps_rollup")
    thread_us "$pid" >"$work/threads.after"
    local extra=
    if [[ $name == *external* ]]; then
        extra="requests=$(($(quote_requests) - requests_before))"
        extra+=" server_cpu=$(percent $(($(cpu_ns "$server_pid") - server_before)))"
    fi
    if [[ $name == *live* ]]; then
        extra=$(awk -v a="$(upstream_total)" -v b="$upstream_before" -v s="$seconds" 'BEGIN {
            split(a, x, " "); split(b, y, " "); r = x[1] - y[1]; n = x[2] - y[2]
            printf "upstream %d requests, %d bytes (%.0f requests, %.0f kB an hour)",
                r, n, r * 3600 / s, n * 3.6 / s }')
    fi
    kill -TERM "$pid"
    wait "$pid" 2>/dev/null || true
    local cpu
    cpu=$(percent $((after - before)))
    echo "$name $cpu $rss $pss $dirty $hwm $threads $wakeups" >>"$work/results"
    printf '  %-14s cpu %6.3f %%  VmRSS %6d kB  Pss %6d kB  Private_Dirty %6d kB  VmHWM %6d kB  threads %2d  wake-ups %5.1f/s %s\n' \
        "$name" "$cpu" "$rss" "$pss" "$dirty" "$hwm" "$threads" "$wakeups" "$extra"
    # Threads that used CPU in the window.
    LC_ALL=C join <(LC_ALL=C sort "$work/threads.before") <(LC_ALL=C sort "$work/threads.after") \
        | awk '$3 > $2 {printf " %s:%d", $1, $3 - $2}' \
        | awk 'NF {print "      CPU by thread (tid/name:microseconds)" $0}'
}

echo "machine: $(nproc) cores, $(. /etc/os-release && echo "$PRETTY_NAME"), load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "window: ${seconds} s after a ${settle} s settle, ${runs} runs, subjects in turn within each run"
for run in $(seq "$runs"); do
    echo "run $run"
    measure list ListWindow "$baseline"
    measure lark Tamberly "$lark" --registry "$work/registry-$run"
    if [ -n "$address" ]; then
        measure lark-external Tamberly "$lark" --registry "$work/registry-ext-$run" \
            --quote-server "$address"
    fi
    if [ -n "$replay" ]; then
        measure lark-live Tamberly env XDG_CACHE_HOME="$work/cache-$run" "$lark" \
            --registry "$work/registry-live-$run" "${live[@]}"
    fi
done

echo "medians over $runs runs (load average now $(cut -d' ' -f1-3 /proc/loadavg)):"
field() { awk -v n="$1" -v f="$2" '$1 == n {print $f}' "$work/results" | median; }
base_cpu=$(field list 2)
base_rss=$(field list 3)
base_pss=$(field list 4)
base_dirty=$(field list 5)
for name in list lark lark-external lark-live; do
    grep -q "^$name " "$work/results" || continue
    awk -v n="$name" -v c="$(field "$name" 2)" -v r="$(field "$name" 3)" -v p="$(field "$name" 4)" \
        -v u="$(field "$name" 5)" -v t="$(field "$name" 7)" -v w="$(field "$name" 8)" \
        -v bc="$base_cpu" -v br="$base_rss" -v bp="$base_pss" -v bd="$base_dirty" 'BEGIN {
        printf "  %-14s cpu %6.3f %% (%.2f x)  VmRSS %6.0f kB (%.2f x)  Pss %6.0f kB (%.2f x)  Private_Dirty %6.0f kB (%.2f x)  threads %d  wake-ups %.1f/s\n",
            n, c, (bc > 0 ? c / bc : 0), r, r / br, p, p / bp, u, u / bd, t, w }'
done
echo "  (x = ratio to the list window; Pss splits shared library pages among every process on the"
echo "   machine mapping them, so it moves with what else runs; VmRSS and Private_Dirty do not)"
echo "goals: Lark's cpu at most 1.2 x, VmRSS at most 1.25 x, Private_Dirty at most 1.5 x the list"
echo "window, at most 6 threads and 2 wake-ups a second; on the live market cpu at most 1.5 x"
