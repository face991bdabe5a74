#!/usr/bin/env bash
# Signals and instances: SIGHUP saves and ends the text front end and the window as SIGTERM
# does; a second Lark on the same settings says so in one line, exits 1 and changes nothing; a
# save that fails says so once.
# Usage: signals_and_instances.sh LARK QUOTE_SERVER [window]   (window: the window is built)
set -euo pipefail
lark="$1"
server="$2"
with_window="${3:-}"
work="$(mktemp -d)"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$server" --listen 127.0.0.1:0 > "$work/server.out" &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/server.out" ] && break; sleep 0.1; done
address="$(sed -n 's/^listening on //p' "$work/server.out")"

values() { find "$1/SOFTWARE/halvern/tamberly" -type f 2>/dev/null | wc -l; }
# Everything in a settings tree but the lock file, which a second start touches.
snapshot() { (cd "$1" && find . -path ./.lock -prune -o -type f -print0 | sort -z | xargs -0 md5sum); }

# start_first NAME OPTION...: a first Lark on $work/NAME, its pid in $first.
start_first() {
    local name=$1
    shift
    mkfifo "$work/$name.in"
    "$lark" "$@" --quote-server "$address" --registry "$work/$name" \
        < "$work/$name.in" > "$work/$name.out" 2>&1 &
    first=$!
    pids+=("$first")
    exec {hold}> "$work/$name.in" # input stays open: the text front end keeps running
    for _ in $(seq 100); do [ -e "$work/$name/.lock" ] && break; sleep 0.05; done
    sleep 1
}

# second_start_refused NAME: a second Lark on the same tree exits 1 with one line, no change.
second_start_refused() {
    local before status=0
    before="$(snapshot "$work/$1")"
    "$lark" --console --once --quote-server "$address" --registry "$work/$1" \
        > "$work/second.out" 2> "$work/second.err" || status=$?
    [ "$status" -eq 1 ] || fail "$1: second start exited $status"
    [ "$(wc -l < "$work/second.err")" -eq 1 ] || fail "$1: $(cat "$work/second.err")"
    grep -q "already running" "$work/second.err" || fail "$1: $(cat "$work/second.err")"
    [ ! -s "$work/second.out" ] || fail "$1: the second start printed rows"
    [ "$(snapshot "$work/$1")" = "$before" ] || fail "$1: the second start changed the settings"
}

# hangup_saves NAME: SIGHUP ends the first Lark with status 0 and every value saved.
hangup_saves() {
    local status=0
    kill -HUP "$first"
    wait "$first" || status=$?
    [ "$status" -eq 0 ] || fail "$1: exit status $status after SIGHUP: $(tail -3 "$work/$1.out")"
    [ "$(values "$work/$1")" -eq 66 ] || fail "$1: $(values "$work/$1") values saved after SIGHUP"
}

export QT_QPA_PLATFORM=offscreen
start_first console --console
second_start_refused console
hangup_saves console

if [ "$with_window" = window ]; then
    start_first window
    second_start_refused window
    hangup_saves window
fi

# Something that is no value where value 3 belongs: the save fails, and says so once.
mkdir -p "$work/blocked/SOFTWARE/halvern/tamberly/3"
"$lark" --console --once --quote-server "$address" --registry "$work/blocked" \
    > /dev/null 2> "$work/blocked.err" || true
[ "$(grep -c "could not all be saved" "$work/blocked.err")" -eq 1 ] \
    || fail "failed save: $(cat "$work/blocked.err")"
[ -d "$work/blocked/SOFTWARE/halvern/tamberly/3" ] || fail "the blocked value was replaced"
echo "1 passed, 0 failed"
