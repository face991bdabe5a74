#!/usr/bin/env bash
# Start and close latency of Lark's window on a private X server with a window manager, beside a
# bare Qt window of the same size and flags from the same build, in turn within each run.
#   start: process start to window mapped, and (Lark) to all 16 rows filled, read from
#          LARK_DUMP_LIST, which the view writes as soon as the list changes (at most five
#          times a second).
#   close: the close request to process exit, by SIGTERM and by the window manager
#          (_NET_CLOSE_WINDOW through wmctrl; without wmctrl, alt+F4 to the active window).
# Each run starts Lark twice on fresh settings trees (the exit saves all 66 values) and twice on
# those same trees (an exit with nothing new to save), and the bare window twice, closing one of
# each pair by either means; figures are median and max over the runs.
# Usage: start_close_latency.sh LARK BARE_WINDOW [RUNS]
#   e.g. bench/start_close_latency.sh build/src/lark build/bench/bare_window 5
# Needs: xvfb icewm xdotool x11-utils (wmctrl optional).
set -euo pipefail

if [ $# -lt 2 ]; then
    sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'
    exit 2
fi
lark=$(realpath "$1")
bare=$(realpath "$2")
runs=${3:-5}

# shellcheck source-path=SCRIPTDIR source=desktop_session.sh
source "$(dirname "$0")/desktop_session.sh"
start_desktop
if command -v wmctrl >/dev/null; then wm_close=wmctrl; else wm_close=alt+F4; fi

record() { echo "$1 $2" >>"$work/samples"; }

# start NAME TITLE [DUMP_FILE] COMMAND...: records NAME.mapped (and NAME.filled with a dump
# file); leaves the pid in $pid and the window in $window.
start() {
    local name=$1 title=$2 dump=$3 began mapped='' filled='' now
    shift 3
    began=$(now_ms)
    if [ "$dump" = - ]; then launch "$@"; else launch env LARK_DUMP_LIST="$dump" "$@"; fi
    pid=$launched
    window=
    while :; do
        now=$(now_ms)
        [ $((now - began)) -lt 20000 ] || { echo "$name: not ready after 20 s" >&2; exit 1; }
        if [ -z "$window" ]; then
            window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -1 || true)
            [ -n "$window" ] && mapped=$(($(now_ms) - began))
        fi
        if [ "$dump" != - ] && [ -z "$filled" ] && [ "$(filled_rows "$dump")" -ge 16 ]; then
            filled=$(($(now_ms) - began))
        fi
        [ -n "$window" ] && { [ "$dump" = - ] || [ -n "$filled" ]; } && break
        sleep 0.01
    done
    record "$name.mapped" "$mapped"
    [ -n "$filled" ] && record "$name.filled" "$filled"
    return 0
}

# close NAME HOW: times the request to the process's exit; a watchdog ends it after 5 s.
close() {
    local name=$1 how=$2 began status=0
    sleep 0.5 # let the first paint and the window manager's handling settle
    if [ "$how" = wm ] && [ "$wm_close" = alt+F4 ]; then
        xdotool windowactivate --sync "$window"
    fi
    began=$(now_ms)
    if [ "$how" = term ]; then
        kill -TERM "$pid"
    elif [ "$wm_close" = wmctrl ]; then
        wmctrl -i -c "$window"
    else
        xdotool key --delay 0 alt+F4
    fi
    (sleep 5 && kill -KILL "$pid" 2>/dev/null) &
    local watchdog=$!
    wait "$pid" || status=$?
    local took=$(($(now_ms) - began))
    kill "$watchdog" 2>/dev/null || true
    wait "$watchdog" 2>/dev/null || true
    [ "$status" -ne 137 ] || { echo "$name: killed 5 s after closing by $how" >&2; exit 1; }
    record "$name.close-$how" "$took"
}

echo "machine: $(nproc) cores, $(. /etc/os-release && echo "$PRETTY_NAME"), load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "window manager close by: $wm_close; $runs runs"
for run in $(seq "$runs"); do
    start lark Tamberly "$work/list-$run-a" "$lark" --registry "$work/registry-$run-a"
    close lark term
    start bare BareWindow - "$bare"
    close bare term
    start lark Tamberly "$work/list-$run-b" "$lark" --registry "$work/registry-$run-b"
    close lark wm
    start bare BareWindow - "$bare"
    close bare wm
    # Again on the trees the first exits saved: what every later start and exit costs.
    start lark-used Tamberly "$work/list-$run-c" "$lark" --registry "$work/registry-$run-a"
    close lark-used term
    start lark-used Tamberly "$work/list-$run-d" "$lark" --registry "$work/registry-$run-b"
    close lark-used wm
    tail -n 16 "$work/samples" | awk -v r="$run" '{s = s " " $1 "=" $2} END {print "run " r ":" s}'
done

stat_of() { awk -v k="$1" '$1 == k {print $2}' "$work/samples"; }
echo "load average now $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-26s %8s %8s %4s   %-20s %8s %8s   %s\n' figure median max n baseline median max ratio
line() {
    local ours=$1 base=$2 om ox bm bx
    om=$(stat_of "$ours" | median); ox=$(stat_of "$ours" | maximum)
    if [ -n "$base" ]; then
        bm=$(stat_of "$base" | median); bx=$(stat_of "$base" | maximum)
        printf '%-26s %6s ms %6s ms %4d   %-20s %6s ms %6s ms   %s\n' "$ours" "$om" "$ox" \
            "$(stat_of "$ours" | wc -l)" "$base" "$bm" "$bx" \
            "$(awk -v a="$om" -v b="$bm" 'BEGIN {printf (b > 0 ? "%.2f" : "-"), a / b}')"
    else
        printf '%-26s %6s ms %6s ms %4d\n' "$ours" "$om" "$ox" "$(stat_of "$ours" | wc -l)"
    fi
}
line lark.mapped bare.mapped
line lark.filled ""
line lark-used.filled ""
line lark.close-term bare.close-term
line lark.close-wm bare.close-wm
line lark-used.close-term bare.close-term
line lark-used.close-wm bare.close-wm
echo "lark: a fresh settings tree, so the exit saves all 66 values; lark-used: a tree saved before"
echo "goals: start to 16 rows filled at most 300 ms; close to exit at most 50 ms (medians)"
