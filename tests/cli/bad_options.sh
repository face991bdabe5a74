#!/usr/bin/env bash
# Options as a careless or hostile caller gives them: each bad one ends the program with status 2,
# one line naming it and the usual hint; a display that cannot be opened ends it with status 1
# and one line, never a core.
# Usage: bad_options.sh LARK [window]   (window: the window is built)
set -euo pipefail
lark="$1"
with_window="${2:-}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# expect_refused STATUS NAMED COMMAND...: exit STATUS, one line on stderr naming NAMED, then
# for a usage error (2) the hint to --help.
expect_refused() {
    local want=$1 named=$2 status=0 lines=1
    shift 2
    "$@" > "$work/out" 2> "$work/err" || status=$?
    [ "$status" -eq "$want" ] || fail "$*: exit $status, expected $want: $(cat "$work/err")"
    [ "$want" -eq 2 ] && lines=2
    [ "$(wc -l < "$work/err")" -eq "$lines" ] || fail "$*: not $lines lines: $(cat "$work/err")"
    head -1 "$work/err" | grep -qF -- "$named" || fail "$*: does not name $named: $(cat "$work/err")"
    [ "$lines" -eq 1 ] || [ "$(tail -1 "$work/err")" = "Try 'lark --help' for more information." ] \
        || fail "$*: no hint: $(cat "$work/err")"
}

for bad in 'x;id' 'x y' 'http://x' '$(id)' '127.0.0.1:' '::1' 'host:99999'; do
    expect_refused 2 --quote-server "$lark" --console --once --quote-server "$bad"
    expect_refused 2 --chart-server "$lark" --console --chart-server "$bad"
done
expect_refused 2 LARK_WEB_SITE env LARK_WEB_SITE='a/b' "$lark" --console --once
# Every upstream of the live market takes a host and a port as the quote server does.
for bad in 'http://127.0.0.1:0' 'http://127.0.0.1:70000' $'http://a\tb' $'http://x\r\nHost: y' \
           'http://x/path' 'ftp://x' 'http://' 'http://[::1'; do
    for option in --quotes-upstream --minutes-upstream --fallback-lists-upstream; do
        expect_refused 2 "$option" "$lark" --console --once --market live "$option" "$bad"
    done
done
expect_refused 2 LARK_FALLBACK_QUOTES_UPSTREAM env LARK_FALLBACK_QUOTES_UPSTREAM='http://x:0' \
    "$lark" --console --once --market live
expect_refused 2 --frobnicate "$lark" --frobnicate

if [ "$with_window" = window ]; then
    display=
    for n in $(seq 500 599); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
    done
    expect_refused 1 "$display" env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY="$display" \
        "$lark" --registry "$work/registry"
fi
echo "1 passed, 0 failed"
