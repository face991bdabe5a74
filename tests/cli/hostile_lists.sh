#!/usr/bin/env bash
# A list service that sends 200,000 rows a page: Lark refuses the pages, stays small, goes on
# showing quotes, and keeps the board lists it had on disk as they were.
# Usage: hostile_lists.sh LARK REPLAY DATA_DIR [SANITIZERS]
#   (a sanitized build's memory is the sanitizer's: its peak is shown, not judged)
set -euo pipefail
lark="$1"
replay="$2"
data="$3"
sanitized="${4:-}"
work="$(mktemp -d)"
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# serve NAME [REPLAY OPTIONS]: a replay on a free port; sets url.
serve() {
  local name="$1"
  shift
  "$replay" "$data" "$@" > "$work/$name.out" &
  pids+=($!)
  replay_pid=$!
  for _ in $(seq 100); do
    [ -s "$work/$name.out" ] && break
    sleep 0.1
  done
  url="$(head -1 "$work/$name.out" | sed 's/^listening on //')"
}
live() {
  echo --market live --registry "$work/registry" --quotes-upstream "$url" \
    --history-upstream "$url" --lists-upstream "$url" --minutes-upstream "$url" \
    --fallback-quotes-upstream "$url" --fallback-lists-upstream "$url"
}
export XDG_CACHE_HOME="$work/cache"
unset LARK_MARKET

# Yesterday's lists on disk, so that today's start asks the service for fresh ones.
serve honest
# shellcheck disable=SC2046
"$lark" --console --once $(live) > /dev/null 2>&1
boards="$work/cache/lark/boards.tsv"
[ -s "$boards" ] || fail "no board lists cached"
sed -i '1s/\t[0-9]\{8\}\t/\t20000103\t/' "$boards"
before="$(sha256sum < "$boards")"
kill "$replay_pid"

serve flood --list-flood 200000
# shellcheck disable=SC2046
"$lark" --console $(live) > "$work/rows.txt" 2> "$work/err.txt" < /dev/null &
lark_pid=$!
pids+=("$lark_pid")
# Two passes of the 16 rows, four seconds apart.
for _ in $(seq 300); do
  [ "$(grep -c '^600061' "$work/rows.txt" || true)" -ge 2 ] && break
  sleep 0.1
done
peak="$(awk '/^VmHWM/ {print $2}' "/proc/$lark_pid/status")"
kill "$lark_pid"
wait "$lark_pid" || true
kill "$replay_pid"
wait "$replay_pid" || true

[ "$(grep -c '^600061' "$work/rows.txt")" -ge 2 ] || fail "quotes stopped: $(cat "$work/err.txt")"
grep '^600061' "$work/rows.txt" | tail -1 | grep -q '国投资本' || fail "no figures for 600061"
lists="$(awk '/^lists / {print $2}' "$work/flood.out")"
[ "$lists" -ge 1 ] || fail "the flooded lists were never asked for"
[ -n "$sanitized" ] || [ "$peak" -lt 61440 ] || fail "Lark grew to $peak kB"
[ "$(sha256sum < "$boards")" = "$before" ] || fail "the cached lists changed"
echo "peak $peak kB after $lists flooded list requests; 1 passed, 0 failed"
