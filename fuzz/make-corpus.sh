#!/usr/bin/env bash
# Regenerates the seed corpora under fuzz/corpus/: replies saved from the quote server
# substitute (model clock frozen, so the figures repeat) plus hand-made edge cases.
# Usage: fuzz/make-corpus.sh [path/to/lark-quote-server]   (needs curl and xxd)
set -euo pipefail
cd "$(dirname "$0")/.."
server="${1:-build/src/quoteserver/lark-quote-server}"
out=fuzz/corpus
head="/stksrv_curve/JGetHq3.dll?"

log=$(mktemp)
"$server" --listen 127.0.0.1:0 --seed 1 --control >"$log" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null; rm -f "$log"' EXIT
for _ in $(seq 50); do grep -q "^control token" "$log" && break; sleep 0.1; done
address=$(sed -n 's/^listening on //p' "$log" | head -1)
token=$(sed -n 's/^control token //p' "$log" | head -1)
[ -n "$address" ] || { echo "the server did not start" >&2; exit 1; }

get() { curl -sf "http://$address$1"; }
control() { curl -sf -X POST -H "X-Control-Token: $token" "http://$address/control/$1" >/dev/null; }
# hex HEX: the bytes that HEX spells, to stdout
hex() { echo -n "$1" | xxd -r -p; }
# le32 N: a little-endian int32 as hex
le32() { printf '%08x' $(($1 & 0xFFFFFFFF)) | sed 's/\(..\)\(..\)\(..\)\(..\)/\4\3\2\1/'; }

control "freeze?time=1704681000"
# Generated seeds are rewritten in place; the inputs that once failed stay beside them.
mkdir -p "$out"/{fuzz_quote_reply,fuzz_day_history,fuzz_ranking_reply,fuzz_stock_messages}
mkdir -p "$out"/{fuzz_settings_value,fuzz_link_command,fuzz_command_line}

# Real-time quote replies.
q=$out/fuzz_quote_reply
get "${head}GetStkOneHQWithNameSH?507193&600000" >"$q/sh-600000"
get "${head}GetStkOneHQWithNameSZ?507193&0001" >"$q/sz-0001"
control "pin?code=600001&name=%E6%B5%A6%E5%8F%91%E9%93%B6%E8%A1%8C&previousClose=0&last=2147483647&volume=-2147483648"
get "${head}GetStkOneHQWithNameSH?507193&600001" >"$q/no-previous-close"
control "pin?code=600002&name=AB&previousClose=-2147483648&last=2147483647&bid1Price=-1&ask1Price=-2147483648"
get "${head}GetStkOneHQWithNameSH?507193&600002" >"$q/extremes"
control "unpin"
: >"$q/empty"
head -c 96 "$q/sh-600000" >"$q/short-96"
{ cat "$q/sh-600000"; printf 'x'; } >"$q/long-98"
{ printf '\x80\xff\xc6\x00\xd2\xf8\xd0'; tail -c +8 "$q/sh-600000"; } >"$q/bad-gbk-name"

# Day history replies: 10-byte header, 40-byte records, volume at 24.
d=$out/fuzz_day_history
get "${head}GetDayHisSH?507193&600000&1&1&20240101&20240108&96" >"$d/sh-600000"
get "${head}GetDayHisSZ?507193&0001&1&1&20240101&20240108&96" >"$d/sz-0001"
: >"$d/empty"
head -c 10 "$d/sh-600000" >"$d/header-only"
head -c 37 "$d/sh-600000" >"$d/first-volume-cut"
head -c 38 "$d/sh-600000" >"$d/first-volume-whole"
head -c 150 "$d/sh-600000" >"$d/cut-in-record-3"
{ cat "$d/sh-600000"; cat "$d/sh-600000"; } >"$d/ten-records"

# Ranking replies: total and count, then 88-byte records.
r=$out/fuzz_ranking_reply
get "${head}GETORDERHQ?507193&1&0&0&0&16" >"$r/sh-a-full"
get "${head}GETORDERHQ?507193&1&0&0&290&16" >"$r/sh-a-last"
get "${head}GETORDERHQ?507193&0&1&0&0&8" >"$r/sz-b-8"
: >"$r/empty"
head -c 7 "$r/sh-a-full" >"$r/header-cut"
head -c 8 "$r/sh-a-full" >"$r/count-16-no-records"
head -c $((8 + 88 * 3 + 40)) "$r/sh-a-full" >"$r/count-16-short"
for count in 17 -1 2147483647; do
  { printf '\x2c\x01\x00\x00'; hex "$(le32 $count)"; tail -c +9 "$r/sh-a-full"; } \
    >"$r/count-$count"
done
for number in -1 -3 2147483647 -2147483648; do
  { printf '\x2c\x01\x00\x00\x01\x00\x00\x00'; hex "$(le32 "$number")"; \
    head -c 84 /dev/zero; } >"$r/stock-number-$number"
done

# Stock messages: 2-byte little-endian Shanghai length, Shanghai reply, Shenzhen reply.
s=$out/fuzz_stock_messages
sh=$(mktemp) sz=$(mktemp)
get "${head}getstkmsgsh?507193" >"$sh"
get "${head}getstkmsgsz?507193" >"$sz"
pair() { # pair FILE SH-BYTES SZ-BYTES
  local n; n=$(wc -c <"$2")
  { hex "$(printf '%02x%02x' $((n & 255)) $((n >> 8)))"; cat "$2" "$3"; } >"$1"
}
part=$(mktemp) part2=$(mktemp)
head -c $((16 * 40)) "$sh" >"$part"; head -c $((16 * 30)) "$sz" >"$part2"; pair "$s/first-records" "$part" "$part2"
pair "$s/whole-lists" "$sh" "$sz"
head -c $((16 * 5 + 9)) "$sh" >"$part"; head -c $((16 * 4 + 3)) "$sz" >"$part2"; pair "$s/cut-records" "$part" "$part2"
: >"$part"; pair "$s/no-shanghai" "$part" "$part2"
head -c 16 "$sh" >"$part"; : >"$part2"; pair "$s/no-shenzhen" "$part" "$part2"
printf '\x10%.0s' $(seq 48) | head -c 48 >"$part"
printf '\x20\x30\x30\x30\x31\x00\x00\xb4\xa8\xc1\xd6\xca\xb5\xd2\xb5\x00%.0s' 1 2 >"$part2"
pair "$s/all-markers" "$part" "$part2"
printf '\x10MARKERINDEX    \x00600000STOCK-SH\x00' >"$part"
printf '\x00000001STOCK-SZ\x00' >"$part2"
pair "$s/minimal-negative-number" "$part" "$part2"
: >"$s/empty"
rm -f "$sh" "$sz" "$part" "$part2"

# Settings values: the text and its NUL as the program writes them, and what a hand edit or a
# damaged disk can leave.
v=$out/fuzz_settings_value
printf '600000\0' >"$v/code-sh"
printf '0001\0' >"$v/code-sz"
printf '  2.50\0' >"$v/threshold"
printf '2\0' >"$v/size-2"
printf '1000000\0' >"$v/big-order"
printf '%s\0' "-1e39" >"$v/overflow"
printf 'nan\0' >"$v/nan"
printf '99999999999\0' >"$v/int-overflow"
printf '%064d' 7 >"$v/limit-64"
printf '%065d' 7 >"$v/limit-65"
printf '60\x000001' >"$v/nul-inside"
printf 'abc' >"$v/no-nul"
printf '6000001' >"$v/code-7-bytes-no-nul"
: >"$v/empty"

# Desktop entry command lines of HTML handlers.
l=$out/fuzz_link_command
printf '%s' 'firefox-esr %u' >"$l/firefox"
printf '%s' '/usr/bin/chromium %U' >"$l/chromium"
printf '%s' 'epiphany --new-window "%U"' >"$l/quoted"
printf '%s' '"/opt/My Browser/browser" --profile default %f' >"$l/quoted-program"
# shellcheck disable=SC2016 # the $1 is for the shell the entry starts
printf '%s' 'sh -c "exec browser \"$1\"" sh %F' >"$l/shell"
printf '%s' 'browser --no-placeholder' >"$l/none"
printf '%s' 'browser --fmt=%%u %u' >"$l/escaped-percent"
printf '%s' 'a %u "%u"' >"$l/unquoted-before-quoted"
: >"$l/empty"

# Command lines: NUL-separated arguments, "ENV:NAME=VALUE" for the environment.
c=$out/fuzz_command_line
printf '%s\0%s' --quote-server quotes.example.com:8080 >"$c/quote-server"
printf '%s\0%s\0%s\0%s' --chart-server '[::1]:80' --web-site 127.0.0.1 >"$c/three-hosts"
printf '%s\0%s\0%s' --console --once --registry >"$c/missing-value"
printf '%s\0%s' --quote-server 'x;id' >"$c/shell-host"
printf '%s\0%s' --web-site 'http://x/y' >"$c/scheme"
printf '%s\0%s' --quote-server '127.0.0.1:' >"$c/empty-port"
printf '%s\0%s' --quote-server '::1' >"$c/bare-ipv6"
printf '%s\0%s' 'ENV:LARK_QUOTE_SERVER=a.b:65535' 'ENV:LARK_REGISTRY=relative/path' >"$c/environment"
printf '%s\0%s\0%s' 'ENV:LARK_REGISTRY=/abs' --registry here >"$c/registry"
printf '%s\0a\nb\0--bogus\033[2J' --quote-server >"$c/control-characters"
printf '%s' 'a-b.c-d.example.' >"$c/dns-name"

echo "corpus written to $out"
