#!/usr/bin/env bash
# Soak of Lark's window on its built-in market, on a private X server with a window manager:
# 16 stocks every 4 s for MINUTES minutes, sampled every 10 s. After the first minute, resident
# memory must stay within 1 % of its value at that minute, and the open descriptors and threads
# must not change.
# Usage: window_soak.sh LARK [MINUTES]   (default 30)
#   e.g. bench/window_soak.sh build/src/lark 30
# Needs: xvfb icewm xdotool x11-utils.
set -euo pipefail

if [ $# -lt 1 ]; then
    sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'
    exit 2
fi
lark=$(realpath "$1")
minutes=${2:-30}
warmup=60

# shellcheck source-path=SCRIPTDIR source=desktop_session.sh
source "$(dirname "$0")/desktop_session.sh"
start_desktop
launch "$lark" --registry "$work/registry"
pid=$launched
wait_for_window Tamberly >/dev/null || { echo "no window" >&2; exit 1; }

echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg); $minutes min"
: >"$work/samples"
for ((t = 0; t <= minutes * 60; t += 10)); do
    kill -0 "$pid" 2>/dev/null || { echo "FAIL: lark ended after $t s" >&2; exit 1; }
    echo "$t $(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status") $(ls "/proc/$pid/fd" | wc -l)" \
        "$(awk '/^Threads:/ {print $2}' "/proc/$pid/status")" >>"$work/samples"
    sleep 10
done
kill -TERM "$pid"

awk -v warmup="$warmup" '
    $1 >= warmup {
        if (n++ == 0) { rss0 = $2; fds0 = $3; th0 = $4; rmin = rmax = $2 }
        if ($2 < rmin) rmin = $2
        if ($2 > rmax) rmax = $2
        if ($3 != fds0 || $4 != th0) moved = moved " " $1 "s:" $3 "fds," $4 "threads"
    }
    END {
        printf "after %d s: RSS %d kB at first, %d..%d kB (%+.2f %% .. %+.2f %%), fds %d, threads %d, %d samples\n",
            warmup, rss0, rmin, rmax, 100 * (rmin - rss0) / rss0, 100 * (rmax - rss0) / rss0,
            fds0, th0, n
        if (rmax - rss0 > rss0 / 100 || rss0 - rmin > rss0 / 100 || moved != "") {
            print "FAIL: not flat" moved
            exit 1
        }
        print "flat"
    }' "$work/samples"
