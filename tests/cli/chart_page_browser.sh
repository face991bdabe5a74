#!/usr/bin/env bash
# The chart page in Debian's headless chromium, loaded from the quote server on loopback, on
# the simulated market and on the live one (its services replayed from recorded replies):
# drawn without a script error, redrawn from the data URL while open, a screenshot of each.
# Usage: chart_page_browser.sh QUOTE_SERVER REPLAY DATA_DIR SHOT_DIR
set -euo pipefail
server="$1"
replay="$2"
data="$3"
shots="$4"
work="$(mktemp -d)"
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT
mkdir -p "$shots"
fail() { echo "FAIL: $*"; exit 1; }

# Starts a program in this shell (so the trap ends it) and sets address to the one it
# announces on its first line.
start() {
  local out="$work/$1.out"
  shift
  "$@" > "$out" &
  pids+=($!)
  for _ in $(seq 100); do
    [ -s "$out" ] && break
    sleep 0.1
  done
  address="$(head -1 "$out" | sed 's/^listening on //')"
}

browse() {
  local flags=(--headless --disable-gpu --disable-background-networking --disable-component-update
    --disable-sync --no-first-run --user-data-dir="$(mktemp -d -p "$work")"
    --enable-logging=stderr --v=0)
  [ "$(id -u)" -eq 0 ] && flags+=(--no-sandbox)
  HOME="$work" timeout 120 chromium "${flags[@]}" "$@"
}

check() { # NAME URL
  local name="$1" url="$2"
  # Fifteen seconds of page time: the drawing from the page, then one refresh.
  browse --virtual-time-budget=15000 --dump-dom "$url" > "$work/$name.html" 2> "$work/$name.log"
  grep -q 'data-state="drawn"' "$work/$name.html" \
    || fail "$name: not drawn: $(grep -o 'data-state="[^"]*"' "$work/$name.html")"
  grep -q 'data-draws="[2-9]' "$work/$name.html" || fail "$name: not redrawn from the data URL"
  grep -q 'id="price-line" [^>]*points="[0-9]' "$work/$name.html" || fail "$name: no price line"
  grep -q 'id="previous-close"' "$work/$name.html" || fail "$name: no previous close"
  if grep -E 'Uncaught|SyntaxError|TypeError|ReferenceError' "$work/$name.log"; then
    fail "$name: script errors"
  fi
  browse --virtual-time-budget=3000 --window-size=700,620 --hide-scrollbars \
    --screenshot="$shots/chart-$name.png" "$url" 2> /dev/null
  [ -s "$shots/chart-$name.png" ] || fail "$name: no screenshot"
}

start simulated "$server" --listen 127.0.0.1:0 --seed 7
check simulated "http://$address/stksrv_curve/Chart.asp?ZXYHID=&ZXSXID=&STYLE=SSQX&STKNO=600061&MT=GET"
grep -q "模拟行情" "$work/simulated.html" || fail "simulated: the market is not named"

start replay "$replay" "$data"
upstream="$address"
export XDG_CACHE_HOME="$work/cache"
unset LARK_MARKET
start live "$server" --listen 127.0.0.1:0 --market live --quotes-upstream "$upstream" \
  --history-upstream "$upstream" --lists-upstream "$upstream" --minutes-upstream "$upstream" \
  --fallback-quotes-upstream "$upstream" --fallback-lists-upstream "$upstream"
check live "http://$address/stksrv_curve/Chart.asp?ZXYHID=&ZXSXID=&STYLE=SSQX&STKNO=600061&MT=GET"
grep -q 'id="finance-page" href="https://quote.eastmoney.com/sh600061.html"' "$work/live.html" \
  || fail "live: no link to the stock's finance page"

# The day's minutes from the minutes service, from the open on, though this server started
# long after it: the price line begins at 09:30 (x = 58) and has the service's points.
chart="http://$address/stksrv_curve/Chart.asp?ZXYHID=&ZXSXID=&STYLE=SSQX&STKNO=001216&MT=GET"
check minutes "$chart"
points="$(grep -o 'id="price-line" [^>]*points="[^"]*"' "$work/minutes.html" | sed 's/.*points="//; s/"$//')"
[ "${points%% *}" != "${points#58.0,}" ] || fail "minutes: the line does not start at the open: $points"
[ "$(wc -w <<< "$points")" -ge 4 ] || fail "minutes: fewer points than the service gave: $points"

# As wide as the window: the chart's black ground reaches the right of a 1000-pixel window.
browse --virtual-time-budget=3000 --window-size=1000,700 --hide-scrollbars \
  --screenshot="$shots/chart-wide.png" "$chart" 2> /dev/null
pixel="$(convert "$shots/chart-wide.png" -crop 1x1+960+300 -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}')"
[ "$pixel" = "#000000" ] || fail "wide: the chart does not fill the window ($pixel at x 960)"

# A code nobody knows: a page in Chinese.
curl -s "http://$address/stksrv_curve/Chart.asp?ZXYHID=&ZXSXID=&STYLE=SSQX&STKNO=777777&MT=GET" \
  | grep -q "没有这只股票" || fail "unknown code: no Chinese page"
echo "1 passed, 0 failed"
