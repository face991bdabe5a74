#!/usr/bin/env bash
# lark --find on the simulated market and on the live one, its public services replayed on
# loopback from recorded replies: the matches best first, tab-separated, at most 20; status 0
# with matches and 1 with none; no display and no settings folder needed.
set -euo pipefail
lark="$1"
replay="$2"
data="$3"
work="$(mktemp -d)"
replay_pid=""
trap '[ -n "$replay_pid" ] && kill "$replay_pid" 2>/dev/null; rm -rf "$work"' EXIT

fail() { echo "FAIL: $*"; cat "$work/out.txt" "$work/err.txt" 2>/dev/null; exit 1; }

# find STATUS EXPECTED ARGS...: the lines printed and the exit status.
find() {
  local status="$1" expected="$2"
  shift 2
  local got=0
  env -u DISPLAY -u WAYLAND_DISPLAY -u LARK_MARKET -u LARK_REGISTRY HOME="$work/no-home" \
    XDG_CACHE_HOME="$work/cache" "$lark" "$@" > "$work/out.txt" 2> "$work/err.txt" || got=$?
  [ "$got" -eq "$status" ] || fail "lark $*: status $got, not $status"
  [ "$(cat "$work/out.txt")" = "$(printf "$expected")" ] || fail "lark $*: printed otherwise"
}

find 0 '1A0001\t上证指数\t上海\t指数\n1A0002\tＡ股指数\t上海\t指数\n1A0003\tＢ股指数\t上海\t指数' \
  --find 1A00
find 0 '510300\t300ETF\t上海\t基金' --find 510300
find 0 '399001\t深证成指\t深圳\t指数\n399002\t深成指Ａ\t深圳\t指数\n399006\t创业板指\t深圳\t指数\n399106\t深证综指\t深圳\t指数' \
  --find 399
# The simulated market's names are its own: nobody there is called 平安银行.
find 1 '' --find payh
"$lark" --find 6 > "$work/many.txt"
[ "$(wc -l < "$work/many.txt")" -eq 20 ] || fail "--find 6 printed $(wc -l < "$work/many.txt") lines"

. "$(dirname "$0")/live_replay.sh"
start_replay "$replay" "$data" "$work"
live=("${live_options[@]}")

find 0 '000001\t平安银行\t深圳\t股票' "${live[@]}" --find payh
find 0 '000002\t万  科Ａ\t深圳\t股票' "${live[@]}" --find wkA
find 0 '600519\t贵州茅台\t上海\t股票' "${live[@]}" --find 贵州
find 0 '1A0001\t上证指数\t上海\t指数' "${live[@]}" --find 1A00
find 1 '' "${live[@]}" --find zzzz
echo "1 passed, 0 failed"
