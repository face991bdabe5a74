#!/usr/bin/env bash
# lark --console --once on the live market, its three public services replayed on loopback
# from recorded replies: each watched stock's row from the recorded figures, the invalid
# row for a code the market does not know, and the text front end naming the market.
set -euo pipefail
lark="$1"
replay="$2"
data="$3"
work="$(mktemp -d)"
trap 'kill "$replay_pid" 2>/dev/null || true; rm -rf "$work"' EXIT
. "$(dirname "$0")/live_replay.sh"
start_replay "$replay" "$data" "$work"

once() {
  env -u LARK_MARKET XDG_CACHE_HOME="$work/cache" "$lark" --console --once "${live_options[@]}" \
    --registry "$1" > "$work/rows.txt" 2> "$work/err.txt"
}
once "$work/registry"

fail() { echo "FAIL: $*"; cat "$work/rows.txt" "$work/err.txt"; exit 1; }
[ "$(wc -l < "$work/rows.txt")" -eq 16 ] || fail "expected 16 rows"
row() { grep -P "^$1\t" "$work/rows.txt"; }
[ "$(row 600061)" = "$(printf '600061\t国投资本\t  7.48\t213508\t  0.08\t  7.47\t  7.48\t  1.08')" ] \
  || fail "row 600061"
[ "$(row 0002)" = "$(printf '0002\t万  科Ａ\t  7.03\t1204877\t -0.08\t  7.02\t  7.03\t -1.13')" ] \
  || fail "row 0002"
# Limit up: nobody sells.
[ "$(row 0004 | cut -f 3,7,8)" = "$(printf ' 19.87\t  0.00\t 10.02')" ] || fail "row 0004"
for unknown in 0003 600068; do
  [ "$(row $unknown)" = "$(printf '%s\t无效值\t---\t---\t---\t---\t---\t---' $unknown)" ] \
    || fail "row $unknown"
done
grep -q "实时行情" "$work/err.txt" || fail "the market is not named"
[ -s "$work/cache/lark/boards.tsv" ] || fail "no board lists cached"
[ -s "$work/cache/lark/history.tsv" ] || fail "no day bars cached"

# Every kind of instrument by its code: Shanghai's index as 1A0001, Shenzhen's index, a fund, a
# Beijing stock, a STAR stock (its volume counted in shares by the service).
product="$work/watch/SOFTWARE/halvern/tamberly"
mkdir -p "$product"
slot=0
for code in 1A0001 399001 159915 920002 688981; do
  printf '%s\0' "$code" > "$product/$slot"
  slot=$((slot + 1))
done
once "$work/watch"
[ "$(row 1A0001 | cut -f 2,4)" = "$(printf '上证指数\t---')" ] || fail "row 1A0001"
[ "$(row 399001 | cut -f 2,4)" = "$(printf '深证成指\t---')" ] || fail "row 399001"
[ "$(row 159915 | cut -f 3,6)" = "$(printf ' 3.412\t 3.411')" ] || fail "row 159915: three decimals"
[ "$(row 920002 | cut -f 2)" != "无效值" ] || fail "row 920002"
[ "$(row 688981 | cut -f 4)" = "186609" ] || fail "row 688981: shares, not lots"
echo "1 passed, 0 failed"
