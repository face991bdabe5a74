#!/usr/bin/env bash
# CPU and memory of Lark watching its 16 stocks (a pass every 4 s) on a private X server with a
# window manager, beside a bare Qt window of the same size and flags from the same build,
# measured in turn in each run. CPU is utime+stime from /proc/PID/stat over the window, as % of
# one core; memory is VmRSS, and smaps_rollup's Pss and Private_Dirty (heap, stacks, written
# library data: the part no other process can share), at the end of the window.
# Subjects: the bare window; Lark on its built-in simulator (the simulator runs in Lark's
# process); with QUOTE_SERVER given, also Lark against that server started as its own process,
# so the figure is Lark alone (the server's CPU is shown beside it).
# The refresh pause is not a stored setting: every refresh loop starts at 5 x 800 ms = 4 s, so a
# fresh settings tree already polls every 4 s.
# Usage: window_footprint.sh LARK BARE_WINDOW [QUOTE_SERVER|-] [SECONDS] [RUNS]
#   e.g. bench/window_footprint.sh build/src/lark build/bench/bare_window \
#            build/src/quoteserver/lark-quote-server 60 3
# Needs: xvfb icewm xdotool x11-utils curl.
set -euo pipefail

if [ $# -lt 2 ]; then
    sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'
    exit 2
fi
lark=$(realpath "$1")
bare=$(realpath "$2")
server=${3:--}
seconds=${4:-60}
runs=${5:-3}
settle=6 # start-up and the first pass are over well within this

# shellcheck source-path=SCRIPTDIR source=desktop_session.sh
source "$(dirname "$0")/desktop_session.sh"
ticks_per_second=$(getconf CLK_TCK)
start_desktop

address=
if [ "$server" != - ]; then
    "$server" --listen 127.0.0.1:0 --control >"$work/server.out" 2>&1 &
    server_pid=$!
    children+=("$server_pid")
    for _ in $(seq 100); do grep -q '^control token' "$work/server.out" && break; sleep 0.05; done
    address=$(sed -n 's/^listening on //p' "$work/server.out")
    token=$(sed -n 's/^control token //p' "$work/server.out")
fi
quote_requests() {
    curl -s -X POST -H "X-Control-Token: $token" "http://$address/control/requests?path=GetStkOneHQ" \
        | tr -dc 0-9
}

# Per-thread ticks, "tid/comm ticks" a line, to say where a process's CPU goes.
thread_ticks() {
    local stat
    for stat in /proc/"$1"/task/*/stat; do
        awk -v pid="$1" '{match($0, /\(.*\) /); comm = substr($0, RSTART + 1, RLENGTH - 3)
              gsub(/ /, "_", comm); if ($1 == pid) comm = "main"
              rest = substr($0, RSTART + RLENGTH); split(rest, f, " ")
              print $1 "/" comm, f[12] + f[13]}' "$stat" 2>/dev/null
    done
}

# measure NAME WINDOW_TITLE COMMAND...: one window's figures, a line appended to results.
measure() {
    local name=$1 title=$2
    shift 2
    launch "$@"
    local pid=$launched
    wait_for_window "$title" >/dev/null || { echo "$name: no window" >&2; exit 1; }
    sleep "$settle"
    local requests_before=0 server_before=0
    [ -n "$address" ] && requests_before=$(quote_requests) && server_before=$(cpu_ticks "$server_pid")
    thread_ticks "$pid" >"$work/threads.before"
    local before
    before=$(cpu_ticks "$pid")
    sleep "$seconds"
    local after rss pss dirty hwm threads
    after=$(cpu_ticks "$pid")
    rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
    hwm=$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status")
    threads=$(awk '/^Threads:/ {print $2}' "/proc/$pid/status")
    pss=$(awk '/^Pss:/ {print $2}' "/proc/$pid/smaps_rollup")
    dirty=$(awk '/^Private_Dirty:/ {print $2}' "/proc/$pid/smaps_rollup")
    thread_ticks "$pid" >"$work/threads.after"
    local extra=
    if [[ $name == *external* ]]; then
        extra="requests=$(($(quote_requests) - requests_before))"
        extra+=" server_cpu=$(awk -v t=$(($(cpu_ticks "$server_pid") - server_before)) \
            -v s="$seconds" -v hz="$ticks_per_second" 'BEGIN {printf "%.3f", 100 * t / hz / s}')"
    fi
    kill -TERM "$pid"
    wait "$pid" 2>/dev/null || true
    local cpu
    cpu=$(awk -v t=$((after - before)) -v s="$seconds" -v hz="$ticks_per_second" \
        'BEGIN {printf "%.3f", 100 * t / hz / s}')
    echo "$name $cpu $rss $pss $dirty $hwm $threads" >>"$work/results"
    printf '  %-14s cpu %6.3f %%  VmRSS %6d kB  Pss %6d kB  Private_Dirty %6d kB  VmHWM %6d kB  threads %2d %s\n' \
        "$name" "$cpu" "$rss" "$pss" "$dirty" "$hwm" "$threads" "$extra"
    # Threads that used CPU in the window.
    LC_ALL=C join <(LC_ALL=C sort "$work/threads.before") <(LC_ALL=C sort "$work/threads.after") \
        | awk '$3 > $2 {printf " %s:%d", $1, $3 - $2}' \
        | awk 'NF {print "      ticks by thread (tid/name:ticks)" $0}'
}

echo "machine: $(nproc) cores, $(. /etc/os-release && echo "$PRETTY_NAME"), load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "window: ${seconds} s after a ${settle} s settle, ${runs} runs, subjects in turn within each run"
for run in $(seq "$runs"); do
    echo "run $run"
    measure bare BareWindow "$bare"
    measure lark Tamberly "$lark" --registry "$work/registry-$run"
    if [ -n "$address" ]; then
        measure lark-external Tamberly "$lark" --registry "$work/registry-ext-$run" \
            --quote-server "$address"
    fi
done

echo "medians over $runs runs (load average now $(cut -d' ' -f1-3 /proc/loadavg)):"
field() { awk -v n="$1" -v f="$2" '$1 == n {print $f}' "$work/results" | median; }
bare_rss=$(field bare 3)
bare_pss=$(field bare 4)
bare_dirty=$(field bare 5)
for name in bare lark lark-external; do
    grep -q "^$name " "$work/results" || continue
    awk -v n="$name" -v c="$(field "$name" 2)" -v r="$(field "$name" 3)" -v p="$(field "$name" 4)" \
        -v u="$(field "$name" 5)" -v br="$bare_rss" -v bp="$bare_pss" -v bd="$bare_dirty" 'BEGIN {
        printf "  %-14s cpu %6.3f %% of one core  VmRSS %6.0f kB (%.2f x)  Pss %6.0f kB (%.2f x)  Private_Dirty %6.0f kB (%.2f x)\n",
            n, c, r, r / br, p, p / bp, u, u / bd }'
done
echo "  (x = ratio to the bare window; Pss splits shared library pages among every process on the"
echo "   machine mapping them, so it moves with what else runs; VmRSS and Private_Dirty do not)"
echo "goals: Lark's cpu at most 0.5 %, memory at most 1.3 x the bare window"
