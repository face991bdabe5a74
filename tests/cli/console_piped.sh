#!/usr/bin/env bash
# lark --console with its output piped: plain text, byte for byte as scripts have always read
# it. Against a frozen, pinned substitute, the first table (status line, column headers, the 16
# rows) must equal tests/cli/console_piped.expected, the alarm on 600061 must print its chart
# line and its alert line with the bell, and no escape sequence may appear anywhere.
# Usage: console_piped.sh LARK SERVER [--write-expected]
set -euo pipefail
lark="$1"
server="$2"
expected="$(dirname "$0")/console_piped.expected"
work="$(mktemp -d)"
trap 'kill "$server_pid" "${lark_pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; cat -A "$work/out.txt" | head -40; exit 1; }

"$server" --listen 127.0.0.1:0 --seed 7 > "$work/server.out" &
server_pid=$!
for _ in $(seq 50); do
  [ -s "$work/server.out" ] && break
  sleep 0.1
done
address="$(head -1 "$work/server.out" | sed 's/^listening on //')"
control() { curl -sf "http://$address/control/$1" > /dev/null; }
control "freeze?time=1700000000"
control "pin?code=600061&name=%E6%B5%8B%E8%AF%95%E8%82%A1&previousClose=12000&last=12340&volume=234567&bid1Price=12330&ask1Price=12350"
control "pin?code=0002&previousClose=10000&last=9500"
# A rise alarm of 1 % on slot 8 (600061), stored as the program stores it: text and a NUL.
values="$work/registry/SOFTWARE/halvern/tamberly"
mkdir -p "$values"
printf '  1.00\0' > "$values/24"

"$lark" --console --quote-server "$address" --registry "$work/registry" < /dev/null > "$work/out.txt" &
lark_pid=$!
for _ in $(seq 100); do
  [ "$(grep -c '^600068' "$work/out.txt" || true)" -ge 1 ] && grep -q $'\a' "$work/out.txt" && break
  sleep 0.1
done
kill -TERM "$lark_pid"
wait "$lark_pid" || true

table="$(grep -A17 -m1 '^Halvern--Orvale$' "$work/out.txt")" || fail "no table"
if [ "${3:-}" = "--write-expected" ]; then
  printf '%s\n' "$table" > "$expected"
  echo "wrote $expected"
  exit 0
fi
[ "$table" = "$(cat "$expected")" ] || fail "table differs: $(diff <(printf '%s\n' "$table") "$expected")"
[ "$(head -1 "$work/out.txt")" = "Lark — 回车确认警报, q 回车退出" ] || fail "title line"
grep -qxF "图表: http://$address/stksrv_curve/Chart.asp?ZXYHID=&ZXSXID=&STYLE=SSQX&STKNO=600061&MT=GET" \
  "$work/out.txt" || fail "chart line"
grep -qx $'\a*警报! 600061 — 按回车确认' "$work/out.txt" || fail "alert line"
if grep -q $'\e' "$work/out.txt"; then fail "escape sequence in piped output"; fi
echo "1 passed, 0 failed"
