#!/usr/bin/env bash
# lark --console --once against a separately started lark-quote-server: 16 rows in the
# watch list's order, each exactly as the row rule writes it, and the settings saved.
set -euo pipefail
lark="$1"
server="$2"
work="$(mktemp -d)"
trap 'kill "$server_pid" 2>/dev/null || true; rm -rf "$work"' EXIT
# shellcheck source=pinned_server.sh
source "$(dirname "$0")/pinned_server.sh"
start_pinned_server "$server" "$work"
# A name holding a line feed and a tab must not break its row.
control "pin?code=600062&name=A%0AB%09C"

"$lark" --console --once --quote-server "$address" --registry "$work/registry" > "$work/rows.txt"

fail() { echo "FAIL: $*"; cat "$work/rows.txt"; exit 1; }
[ "$(wc -l < "$work/rows.txt")" -eq 16 ] || fail "expected 16 rows"
expected_codes="0001 0002 0003 0004 0005 0006 0007 0008 600061 600062 600063 600064 600065 600066 600067 600068"
[ "$(cut -f1 "$work/rows.txt" | tr '\n' ' ' | sed 's/ $//')" = "$expected_codes" ] || fail "codes"
awk -F'\t' 'NF != 8 { exit 1 }' "$work/rows.txt" || fail "every row has 8 columns"
[ "$(sed -n 9p "$work/rows.txt")" = "$(printf '600061\t测试股\t 12.34\t2345\t  0.34\t 12.33\t 12.35\t  2.83')" ] \
  || fail "row 600061"
[ "$(sed -n 2p "$work/rows.txt" | cut -f 3,5,8)" = "$(printf '  9.50\t -0.50\t -5.00')" ] || fail "row 0002"
[ "$(sed -n 10p "$work/rows.txt" | cut -f 2)" = "A?B?C" ] || fail "row 600062 shows its name as text"
values="$(ls "$work/registry/SOFTWARE/halvern/tamberly" | wc -l)"
[ "$values" -eq 66 ] || fail "expected 66 stored values, found $values"
echo "1 passed, 0 failed"
