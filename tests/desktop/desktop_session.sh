# Sourced by the desktop tests and the window benchmarks: a private X server with a window
# manager, children that end with the script, and the small probes they share.
# A tool that is missing ends the script with 77, which the test runner counts as skipped.

require_tools() {
    local tool
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null; then
            echo "SKIP: '$tool' not found (Debian packages: xvfb icewm xdotool x11-utils imagemagick)"
            exit 77
        fi
    done
}
require_tools Xvfb icewm xdotool xprop

work=$(mktemp -d)
children=()
cleanup() {
    for pid in "${children[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# $EPOCHREALTIME costs no fork, so a tight polling loop stays cheap and precise.
now_ms() { local t=${EPOCHREALTIME/./}; echo $((t / 1000)); }

# Waits up to $2 ms for the command $1 to succeed.
until_within() {
    local deadline=$(($(now_ms) + $2))
    until eval "$1"; do
        [ "$(now_ms)" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# A private sound server playing into a null sink called t, with the sink's further options $1
# (norewinds=1, or none for a sink that buffers seconds as some desktops' do). Exports
# PULSE_SERVER; returns 1, naming the reason, when pulseaudio or pactl is missing or the server
# does not come up.
start_null_sound_server() {
    local tool
    for tool in pulseaudio pactl; do
        command -v "$tool" >/dev/null || { echo "no sound server: $tool is missing"; return 1; }
    done
    printf 'load-module module-null-sink sink_name=t rate=44100 channels=1 %s\n%s\n' "$1" \
        "load-module module-native-protocol-unix auth-anonymous=1 socket=$work/pa-native" \
        >"$work/pa.conf"
    HOME=$work XDG_RUNTIME_DIR=$work pulseaudio -n -F "$work/pa.conf" --daemonize=no \
        --exit-idle-time=-1 --disallow-exit --use-pid-file=no --enable-memfd=no \
        >"$work/pulseaudio.log" 2>&1 &
    children+=($!)
    export PULSE_SERVER="unix:$work/pa-native"
    until_within 'pactl info >/dev/null 2>&1' 5000 \
        || { echo "no sound server: $(cat "$work/pulseaudio.log")"; return 1; }
}

start_desktop() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    children+=($!)
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
    [ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$(head -1 "$work/display")"
    ICEWM_PRIVCFG=$work/icewm icewm >"$work/icewm.log" 2>&1 &
    children+=($!)
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.05
    done
    echo "the window manager did not start" >&2
    exit 1
}

# Pages the programs open are appended to $work/opened.txt instead of reaching a browser: the
# recorder is both $BROWSER and the session's own handler of web links, which the desktop asks
# before $BROWSER whenever a real browser is installed.
browser_env=()
record_opened_pages() {
    mkdir -p "$work/xdg-config" "$work/xdg-data/applications"
    printf '#!/bin/sh\necho "$1" >>"%s/opened.txt"\n' "$work" >"$work/browser"
    chmod +x "$work/browser"
    printf '[Desktop Entry]\nType=Application\nName=Recorder\nExec=%s %%u\nMimeType=%s\n' \
        "$work/browser" "x-scheme-handler/http;x-scheme-handler/https;text/html;" \
        >"$work/xdg-data/applications/lark-test-browser.desktop"
    printf '[Default Applications]\n%s\n%s\n%s\n' "x-scheme-handler/http=lark-test-browser.desktop" \
        "x-scheme-handler/https=lark-test-browser.desktop" "text/html=lark-test-browser.desktop" \
        >"$work/xdg-config/mimeapps.list"
    browser_env=(BROWSER="$work/browser" XDG_CONFIG_HOME="$work/xdg-config"
                 XDG_DATA_HOME="$work/xdg-data")
}

# Runs a program in the background with the desktop's environment and none of Lark's overrides;
# the pid lands in $launched.
launch() {
    env -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE -u LARK_QUOTE_SERVER -u LARK_CHART_SERVER \
        -u LARK_WEB_SITE -u LARK_REGISTRY -u LARK_DUMP_LIST -u LARK_MARKET "${browser_env[@]}" "$@" \
        >>"$work/programs.log" 2>&1 &
    launched=$!
    children+=("$launched")
}

# The first viewable window called $1, polled every 10 ms (xdotool's --sync waits 0.5 s a try).
wait_for_window() {
    local name=$1 deadline=$(($(now_ms) + ${2:-15000})) id
    while [ "$(now_ms)" -lt "$deadline" ]; do
        id=$(xdotool search --onlyvisible --name "^$name\$" 2>/dev/null | head -1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.01
    done
    return 1
}

# Rows of a LARK_DUMP_LIST file whose name and price cells are filled.
filled_rows() {
    awk -F'\t' '$2 != "" && $3 != ""' "$1" 2>/dev/null | wc -l
}
