#!/usr/bin/env bash
# Close latency after a long session, on a private X server with a window manager and a sound
# server whose sink buffers seconds (a null sink that rewinds, as some desktops' do). Each run
# starts Lark on its built-in market with a fresh settings tree in which every slot has a
# big-order alarm of 1 lot, so that 16 alarms queue at the first pass; then, for SECONDS, it
# acknowledges the ringing alarm from the tray icon (detail dialog, then closed), turns ranking
# on through the settings dialog, pages on, turns it off again, opens a row's detail dialog
# and waits. It ends the run with an alarm ringing and the settings dialog open, and times
# SIGTERM to the process's exit; figures are median and max over the runs.
# Usage: long_session_close.sh LARK [RUNS] [SECONDS]
#   e.g. bench/long_session_close.sh build/src/lark 5 180
# Needs: xvfb icewm xdotool x11-utils; pulseaudio pulseaudio-utils for the sound server.
set -euo pipefail

if [ $# -lt 1 ]; then
    sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'
    exit 2
fi
lark=$(realpath "$1")
runs=${2:-5}
seconds=${3:-180}

# shellcheck source-path=SCRIPTDIR source=desktop_session.sh
source "$(dirname "$0")/desktop_session.sh"
start_desktop
record_opened_pages

sound=none
start_null_sound_server "" && sound=$PULSE_SERVER

visible() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
# Waits up to $2 ms for the window called $1 to appear (up) or go (down, $3).
await() {
    if [ "${3:-up}" = up ]; then until_within "visible '$1'" "$2"; else until_within "! visible '$1'" "$2"; fi
}
# Right-clicks row $1 of the list (at 29,55, a 16-pixel header, 13-pixel rows) and takes the
# menu's item $2 (1 = 设置..., 2 = 详细资料).
menu_item() {
    xdotool mousemove 45 $((55 + 16 + 13 * ($1 - 1) + 6)) click 3
    sleep 0.3
    xdotool key --delay 50 $(printf 'Down %.0s' $(seq "$2")) Return
}
# The settings dialog, 排行榜 (1021, at 5,119 dialog units) clicked, OK.
toggle_ranking() {
    sleep 1
    menu_item 1 1
    await 设置 5000 || return 0
    sleep 0.5 # placed by the window manager
    xdotool mousemove --window "$(xdotool search --onlyvisible --name '^设置$' | head -1)" \
        24 217 click 1
    xdotool key Return
    await 设置 5000 down || true
}
# The tray icon's middle, in $tray.
find_tray() {
    local geometry
    geometry=$(xwininfo -root -tree | awk '/"Lark": \("lark" "Lark"\)/ && /24x24/ {print $NF; exit}')
    tray="$(($(cut -d+ -f2 <<<"$geometry") + 12)) $(($(cut -d+ -f3 <<<"$geometry") + 12))"
}
# A double-click on the tray icon: its first click hides the window, which a click after the
# detail dialog shows again.
acknowledge() {
    # shellcheck disable=SC2086
    xdotool mousemove $tray click --repeat 2 --delay 80 1
    if await 详细资料: 3000; then
        sleep 1
        xdotool key Escape
        await 详细资料: 3000 down || true
    fi
    for _ in 1 2; do
        visible Tamberly && break
        # shellcheck disable=SC2086
        xdotool mousemove $tray click 1
        await Tamberly 1000 || true
    done
}

echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg); sound server: $sound"
echo "$runs runs, sessions of $seconds s"
for run in $(seq "$runs"); do
    key=$work/registry-$run/SOFTWARE/halvern/tamberly
    mkdir -p "$key"
    for slot in $(seq 32 47); do printf '1\0' >"$key/$slot"; done
    launch env LARK_DUMP_LIST="$work/list-$run" ${sound:+PULSE_SERVER=$sound} "$lark" \
        --registry "$work/registry-$run"
    pid=$launched
    wait_for_window Tamberly >/dev/null || { echo "run $run: no window" >&2; exit 1; }
    sleep 1
    find_tray
    deadline=$(($(now_ms) + seconds * 1000))
    rounds=0
    while [ "$(now_ms)" -lt "$deadline" ]; do
        acknowledge
        toggle_ranking
        xdotool mousemove 472 287 click 1 sleep 0.5 click 1 sleep 0.5 mousemove 472 55 click 1
        sleep 1
        toggle_ranking
        menu_item 2 2
        if await 详细资料: 3000; then sleep 1; xdotool key Escape; await 详细资料: 3000 down || true; fi
        sleep 2
        rounds=$((rounds + 1))
    done
    menu_item 1 1
    await 设置 5000 || echo "run $run: no settings dialog at the end" >&2
    sleep 0.5
    began=$(now_ms)
    kill -TERM "$pid"
    (sleep 5 && kill -KILL "$pid" 2>/dev/null) &
    watchdog=$!
    status=0
    wait "$pid" || status=$?
    took=$(($(now_ms) - began))
    kill "$watchdog" 2>/dev/null || true
    wait "$watchdog" 2>/dev/null || true
    [ "$status" -ne 137 ] || { echo "run $run: killed 5 s after SIGTERM" >&2; exit 1; }
    echo "run $run: $rounds rounds, $(wc -l <"$work/opened.txt" 2>/dev/null || echo 0) pages opened, close $took ms"
    echo "$took" >>"$work/closes"
    rm -f "$work/opened.txt"
    [ -z "${KEEP_LOG:-}" ] || cp "$work/programs.log" "$KEEP_LOG.$run"
done
echo "load average now $(cut -d' ' -f1-3 /proc/loadavg)"
echo "SIGTERM -> exit after a session: median $(median <"$work/closes") ms, max $(maximum <"$work/closes") ms (goal: at most 50 ms)"
