#!/usr/bin/env bash
# An alarm end to end, as a user sets and answers it: right-click the first row, "设置...",
# a price below the stock's in the dialog, OK. The stock's chart page goes to the browser (a
# recorder set as BROWSER), the tray icon flashes and the 500 Hz tone sounds (recorded from a
# private sound server's null sink when PulseAudio and sox are there); a double-click on the
# tray icon stops both and opens the detail dialog for that stock. Screenshots go to ARTEFACTS.
# Usage: desktop_alarm.sh LARK_BINARY ARTEFACT_DIR   (exit 77: tools missing, test skipped)
set -euo pipefail

lark=$1
artefacts=$2
here=$(dirname "$0")
# shellcheck source=desktop_session.sh
source "$here/desktop_session.sh"
require_tools import identify xwininfo

fail() {
    echo "FAIL: $*"
    [ -s "$work/programs.log" ] && sed 's/^/lark: /' "$work/programs.log"
    import -window root "$artefacts/alarm-failed.png" 2>/dev/null || true
    exit 1
}

# The tray icon's picture, as a hash of its pixels.
tray_picture() { import -window root -crop "$tray_crop" png:- 2>/dev/null | identify -format '%#' -; }
# Distinct tray pictures seen over about a second and a half.
tray_pictures() {
    for _ in $(seq 12); do
        tray_picture
        echo
        sleep 0.12
    done | sort -u | grep -c .
}

start_sound_server() {
    tone_recording=""
    for tool in pulseaudio pactl parecord sox soxi; do
        command -v "$tool" >/dev/null || { echo "no tone check: $tool is missing"; return 0; }
    done
    start_null_sound_server norewinds=1 || fail "the sound server did not start"
    tone_recording=$work/alarm.wav
    parecord -d t.monitor --rate=44100 --channels=1 --format=s16le --file-format=wav \
        "$tone_recording" &
    recorder=$!
    children+=("$recorder")
}

# The first tone of the recording: silence cut before it, and from the first pause after it.
check_tone() {
    [ -n "$tone_recording" ] || return 0
    kill -INT "$recorder"
    wait "$recorder" 2>/dev/null || true
    sox "$tone_recording" "$work/tone.wav" silence 1 0.001 2% 1 0.05 2%
    local seconds hertz
    seconds=$(soxi -D "$work/tone.wav")
    hertz=$(sox "$work/tone.wav" -n stat 2>&1 | awk '/Rough   frequency/ { print $3 }')
    echo "alarm tone: $hertz Hz for $seconds s"
    awk -v h="$hertz" -v s="$seconds" 'BEGIN { exit !(h > 480 && h < 520 && s > 0.27 && s < 0.36) }' \
        || fail "expected a tone of about 500 Hz for about 0.3 s"
}

mkdir -p "$artefacts"
start_desktop
start_sound_server
record_opened_pages

launch env LARK_DUMP_LIST="$work/list.txt" \
    ${PULSE_SERVER:+PULSE_SERVER=$PULSE_SERVER} "$lark" --registry "$work/registry"
lark_pid=$launched
wait_for_window Tamberly >/dev/null || fail "no window appeared"
until_within '[ "$(filled_rows "$work/list.txt")" -ge 16 ]' 10000 || fail "rows not filled"
code=$(awk -F'\t' 'NR == 1 {print $1}' "$work/list.txt")

# The tray icon: the program's own window inside the window manager's notification area.
geometry=$(xwininfo -root -tree | awk '/"Lark": \("lark" "Lark"\)/ && /24x24/ {print $NF; exit}')
[ -n "$geometry" ] || fail "no tray icon"
tray_x=$(cut -d+ -f2 <<<"$geometry")
tray_y=$(cut -d+ -f3 <<<"$geometry")
tray_crop="24x24+$tray_x+$tray_y"
[ "$(tray_pictures)" -eq 1 ] || fail "the tray icon changes before any alarm"

# Row 1 of the list: list at 29,55, a 16-pixel header, 13-pixel rows. The menu's first item.
xdotool mousemove 45 77 click 3
sleep 0.5
xdotool key Down Return
dialog=$(wait_for_window "设置" 5000) || fail "the settings dialog did not open"
# The alarm price field (1003), by its place in the dialog.
xdotool mousemove --window "$dialog" 278 77 click 1
xdotool key ctrl+a type "0.01"
xdotool key Return
until_within '! xdotool search --onlyvisible --name "^设置$" >/dev/null 2>&1' 5000 \
    || fail "the settings dialog did not close"

until_within '[ -s "$work/opened.txt" ]' 10000 || fail "no chart page opened"
grep -q "Chart.asp?ZXYHID=&ZXSXID=&STYLE=SSQX&STKNO=$code&MT=GET" "$work/opened.txt" \
    || fail "chart page for $code expected, got: $(cat "$work/opened.txt")"
[ "$(tray_pictures)" -ge 2 ] || fail "the tray icon does not flash"
import -window root "$artefacts/alarm-ringing.png"

xdotool mousemove $((tray_x + 12)) $((tray_y + 12)) click --repeat 2 --delay 80 1
detail=$(wait_for_window "详细资料:" 5000) || fail "no detail dialog after the double-click"
# The cycle under way when the double-click came ends with the normal picture.
until_within '[ "$(tray_pictures)" -eq 1 ]' 5000 \
    || fail "the tray icon still flashes with the detail dialog open"
import -window root "$artefacts/alarm-detail.png"
check_tone
xdotool windowclose "$detail" 2>/dev/null || xdotool key --window "$detail" Escape
until_within '! xdotool search --onlyvisible --name "^详细资料:$" >/dev/null 2>&1' 5000 \
    || fail "the detail dialog did not close"
[ "$(tray_pictures)" -eq 1 ] || fail "the tray icon flashes again after the acknowledgement"
[ "$(wc -l <"$work/opened.txt")" -eq 1 ] || fail "more chart pages: $(cat "$work/opened.txt")"

kill -TERM "$lark_pid"
wait "$lark_pid" || fail "exit code $? after SIGTERM"
echo "PASS"
