#!/bin/sh
# Measures the alarm tone as the desktop hears it: a private PulseAudio with a null sink, a
# recording of its monitor, and sox for pitch and length. Expects about 500 Hz for about 300 ms.
# Usage: tests/desktop/tone_check.sh [BUILD_DIR]   (needs pulseaudio, pulseaudio-utils, sox)
set -eu
build=${1:-build}
player="$build/tests/ui/test_tone"
for tool in pulseaudio parecord sox; do
    command -v "$tool" >/dev/null || { echo "tone_check: $tool is missing" >&2; exit 77; }
done
[ -x "$player" ] || { echo "tone_check: build $player first" >&2; exit 2; }

dir=$(mktemp -d)
server=""
recorder=""
cleanup() {
    [ -n "$recorder" ] && kill "$recorder" 2>/dev/null || true
    [ -n "$server" ] && kill "$server" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$dir"
}
trap cleanup EXIT

cat >"$dir/pa.conf" <<CONF
load-module module-null-sink sink_name=t rate=44100 channels=1 norewinds=1
load-module module-native-protocol-unix auth-anonymous=1 socket=$dir/native
CONF
HOME=$dir XDG_RUNTIME_DIR=$dir pulseaudio -n -F "$dir/pa.conf" --daemonize=no \
    --exit-idle-time=-1 --disallow-exit --use-pid-file=no --enable-memfd=no \
    >"$dir/pulseaudio.log" 2>&1 &
server=$!
export PULSE_SERVER="unix:$dir/native"
tries=0
until pactl info >/dev/null 2>&1; do
    tries=$((tries + 1))
    [ "$tries" -lt 50 ] || { cat "$dir/pulseaudio.log" >&2; exit 1; }
    sleep 0.1
done

parecord -d t.monitor --rate=44100 --channels=1 --format=s16le --file-format=wav \
    "$dir/recording.wav" &
recorder=$!
sleep 0.3
LARK_TONE_CHECK=1 QT_QPA_PLATFORM=offscreen "$player" playOnCurrentSoundServer >"$dir/player.log" 2>&1 \
    || { cat "$dir/player.log" >&2; exit 1; }
sleep 0.3
kill -INT "$recorder"
wait "$recorder" 2>/dev/null || true
recorder=""

# The tone alone: silence cut from both ends.
sox "$dir/recording.wav" "$dir/tone.wav" silence 1 0.001 2% reverse silence 1 0.001 2% reverse
seconds=$(soxi -D "$dir/tone.wav")
hertz=$(sox "$dir/tone.wav" -n stat 2>&1 | awk '/Rough   frequency/ { print $3 }')
echo "tone: $hertz Hz for $seconds s"
awk -v h="$hertz" -v s="$seconds" 'BEGIN { exit !(h > 480 && h < 520 && s > 0.27 && s < 0.33) }' \
    || { echo "tone_check: expected about 500 Hz for about 0.3 s" >&2; exit 1; }
echo "tone_check: ok"
