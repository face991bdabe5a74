#!/usr/bin/env bash
# Lark's window end to end on a private X server with a window manager: a fresh settings tree
# gives a 492x350 window at 0,0 whose 16 rows fill with the simulator's quotes; a double-click
# opens the row's chart page; the process keeps at most 8 threads; closing (window manager, then
# SIGTERM) ends the program within a second and leaves the 66 settings values. The rows are read from LARK_DUMP_LIST, the file the
# view keeps in step with its list; a screenshot is kept in ARTEFACT_DIR.
# Usage: desktop_window.sh LARK_BINARY ARTEFACT_DIR   (exit 77: tools missing, test skipped)
set -euo pipefail

lark=$1
artefacts=$2
# shellcheck source=desktop_session.sh
source "$(dirname "$0")/desktop_session.sh"
require_tools import

fail() {
    echo "FAIL: $*"
    [ -s "$work/programs.log" ] && sed 's/^/lark: /' "$work/programs.log"
    exit 1
}
# A child that has ended stays a zombie until waited for; either counts as gone.
ended_within() {
    local pid=$1 deadline=$2 state
    while [ "$(now_ms)" -lt "$deadline" ]; do
        state=$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null || echo gone)
        if [ "$state" = Z ] || [ "$state" = gone ]; then return 0; fi
        sleep 0.01
    done
    return 1
}

start_desktop
record_opened_pages

start_lark() {
    rm -f "$work/list.txt"
    started=$(now_ms)
    launch env LARK_DUMP_LIST="$work/list.txt" "$lark" \
        --registry "$work/registry"
    lark_pid=$launched
    window=$(wait_for_window Tamberly) || fail "no window appeared"
}

close_and_check() {
    local how=$1 before
    if [ "$how" = "window manager" ]; then
        timeout 5 xdotool windowactivate --sync "$window" || fail "could not activate the window"
    fi
    before=$(now_ms)
    if [ "$how" = "window manager" ]; then
        xdotool key --delay 0 alt+F4
    else
        kill -TERM "$lark_pid"
    fi
    ended_within "$lark_pid" $((before + 1000)) || fail "still running 1 s after closing by $how"
    echo "closed by $how: ended after $(($(now_ms) - before)) ms"
    wait "$lark_pid" || fail "exit code $? after closing by $how"
    local values
    values=$(find "$work/registry/SOFTWARE/halvern/tamberly" -type f | wc -l)
    [ "$values" -eq 66 ] || fail "$values settings values after closing by $how, not 66"
}

mkdir -p "$artefacts"
start_lark
geometry=$(xdotool getwindowgeometry "$window")
grep -q 'Position: 0,0 ' <<<"$geometry" || fail "window not at 0,0: $geometry"
grep -q 'Geometry: 492x350' <<<"$geometry" || fail "window not 492x350: $geometry"

deadline=$(($(now_ms) + 10000))
until [ "$(filled_rows "$work/list.txt")" -ge 16 ]; do
    [ "$(now_ms)" -lt "$deadline" ] || fail "only $(filled_rows "$work/list.txt") rows filled after 10 s"
    sleep 0.05
done
echo "16 rows filled $(($(now_ms) - started)) ms after start"
# The built-in market shares the process: a handful of threads, not a pool per connection.
threads=$(awk '/^Threads:/ {print $2}' "/proc/$lark_pid/status")
[ "$threads" -le 8 ] || fail "$threads threads with the built-in market, more than 8"
sleep 0.3
import -window root "$artefacts/window.png"
echo "screenshot: $artefacts/window.png"

# Row 2 of the list: list at 29,55, a 16-pixel header, 13-pixel rows.
code=$(awk -F'\t' 'NR == 2 {print $1}' "$work/list.txt")
xdotool mousemove 45 90 click --repeat 2 --delay 60 1
for _ in $(seq 100); do [ -s "$work/opened.txt" ] && break; sleep 0.05; done
grep -q "Chart.asp?ZXYHID=&ZXSXID=&STYLE=SSQX&STKNO=$code&MT=GET" "$work/opened.txt" 2>/dev/null \
    || fail "double-click on $code opened: $(cat "$work/opened.txt" 2>/dev/null)"
close_and_check "window manager"

start_lark
close_and_check "SIGTERM"
echo "PASS"
