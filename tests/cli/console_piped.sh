#!/usr/bin/env bash
# lark --console with its output piped: plain text, byte for byte as scripts have always read
# it. Against a frozen, pinned substitute, the first table (status line, column headers, the 16
# rows) must equal tests/cli/console_piped.expected, the alarm on 600061 must print its chart
# line and its alert line saying why it rang (with the bell where no sound server plays the
# tone), and no escape sequence may appear anywhere.
# Usage: console_piped.sh LARK SERVER [--write-expected]
set -euo pipefail
lark="$1"
server="$2"
expected="$(dirname "$0")/console_piped.expected"
work="$(mktemp -d)"
trap 'kill "$server_pid" "${lark_pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; cat -A "$work/out.txt" | head -40; exit 1; }

# shellcheck source=pinned_server.sh
source "$(dirname "$0")/pinned_server.sh"
start_pinned_server "$server" "$work"
store_rise_alarm "$work/registry"

"$lark" --console --quote-server "$address" --registry "$work/registry" < /dev/null > "$work/out.txt" &
lark_pid=$!
for _ in $(seq 100); do
  [ "$(grep -c '^600068' "$work/out.txt" || true)" -ge 1 ] && grep -q '警报!' "$work/out.txt" && break
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
# Why it rang: the stock, its name, the rule, the figure and the threshold.
grep -qx $'\a*警报! 600061 测试股 涨跌幅 2.83% 高于 1.00% — 按回车确认' "$work/out.txt" \
  || fail "alert line"
if grep -q $'\e' "$work/out.txt"; then fail "escape sequence in piped output"; fi
echo "1 passed, 0 failed"
