#!/usr/bin/env bash
# Each row of the quote list in the colour of its own change, rows of both signs in one picture:
# (252,20,79) for a change >= 0, (12,239,80) below. Against a lark-quote-server with its clock
# frozen and three stocks pinned (rising, falling, unchanged) in the first three slots, in each
# interface size; then, through the menu and the settings dialog, a ranking page by code. A row's
# sign comes from its change column in LARK_DUMP_LIST; size 3 has none and takes the signs the
# larger sizes showed for the same codes. Screenshots go to ARTEFACTS.
# Usage: desktop_colours.sh LARK_BINARY QUOTE_SERVER_BINARY ARTEFACTS   (exit 77: tools missing)
# until_within evaluates its condition itself, hence the single quotes.
# shellcheck disable=SC2016
set -euo pipefail

lark=$1
server=$2
artefacts=$3
here=$(dirname "$0")
# shellcheck source=desktop_session.sh
source "$here/desktop_session.sh"
# shellcheck source=../cli/pinned_server.sh
source "$here/../cli/pinned_server.sh"
require_tools import convert curl

declare -A colour=([up]='252,20,79' [down]='12,239,80')
# Fewer than this many pixels of a row's colour is no row of text (a row holds hundreds).
min_pixels=40

fail() {
    echo "FAIL: $*"
    [ -s "$work/counts.txt" ] && sed 's/^/counts: /' "$work/counts.txt"
    [ -s "$work/list.txt" ] && sed 's/^/list: /' "$work/list.txt"
    [ -s "$work/programs.log" ] && sed 's/^/lark: /' "$work/programs.log"
    import -window root "$artefacts/colours-failed.png" 2>/dev/null || true
    exit 1
}

# Glyph edges blended into the background would leave only a few pixels of the exact colour;
# without antialiasing every pixel of a glyph is the text colour.
cat >"$work/fonts.conf" <<'EOF'
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <match target="font"><edit name="antialias" mode="assign"><bool>false</bool></edit></match>
</fontconfig>
EOF

# Per size: the list's left edge and width, its visible rows and the window's size. The list
# starts at y 55; a 16-pixel header, then 13-pixel rows.
declare -A list_x=([1]=29 [2]=25 [3]=30) list_w=([1]=425 [2]=295 [3]=172)
declare -A visible=([1]=16 [2]=8 [3]=3) window_size=([1]=492x350 [2]=352x217 [3]=252x165)
row_top() { echo $((55 + 16 + 13 * ($1 - 1))); }

# The sign (up or down) of each code whose change column has been seen, across sizes.
touch "$work/signs.txt"
learn_signs() {
    awk -F'\t' 'NF > 3 && $NF ~ /[0-9]/ { t = $NF; gsub(/ /, "", t)
        print $1, (t ~ /^-/ ? "down" : "up") }' "$work/list.txt" >>"$work/signs.txt"
}
sign_of() { awk -v c="$1" '$1 == c { s = $2 } END { print s }' "$work/signs.txt"; }

# rows_ok SIZE SHOT: every visible filled row has at least $min_pixels of its sign's colour and
# none of the other, and both signs are among the rows. Writes the counts to $work/counts.txt.
rows_ok() {
    local size=$1 shot=$2 rows i code sign top
    rows=$(filled_rows "$work/list.txt")
    [ "$rows" -le "${visible[$size]}" ] || rows=${visible[$size]}
    : >"$work/expected.txt"
    for i in $(seq "$rows"); do
        code=$(awk -F'\t' -v n="$i" 'NR == n { print $1 }' "$work/list.txt")
        sign=$(sign_of "$code")
        [ -n "$sign" ] || { echo "row $i: no sign known for $code" >"$work/counts.txt"; return 1; }
        echo "$i $code $sign" >>"$work/expected.txt"
    done
    top=$(row_top 1)
    : >"$work/pixels.txt"
    # Each colour's pixels alone, everything else made transparent, listed as x,y,colour.
    for sign in up down; do
        convert "$shot" -crop "${list_w[$size]}x$((13 * rows))+${list_x[$size]}+$top" +repage \
            -alpha set -channel RGBA -fill none +opaque "rgb(${colour[$sign]})" sparse-color:- \
            | tr ' ' '\n' | awk -F, -v s="$sign" 'NF { n[int($2 / 13) + 1]++ }
                END { for (r in n) print r, s, n[r] }' >>"$work/pixels.txt"
    done
    awk -v min="$min_pixels" '
        FNR == NR { n[$1 " " $2] = $3; next }
        { other = $3 == "up" ? "down" : "up"; own = n[$1 " " $3] + 0; wrong = n[$1 " " other] + 0
          printf "row %d %s (%s): %d %s pixels, %d %s\n", $1, $2, $3, own, $3, wrong, other
          if (own < min || wrong > 0) bad = 1; seen[$3] = 1 }
        END { exit bad || !seen["up"] || !seen["down"] }' \
        "$work/pixels.txt" "$work/expected.txt" >"$work/counts.txt"
}

# Polls screenshots of the window until the rows hold; keeps the last as $artefacts/$1.png.
rows_drawn_within() {
    local size=$2 shot="$artefacts/$1.png"
    until_within "import -window root -crop ${window_size[$size]}+0+0 +repage '$shot' 2>/dev/null \
        && rows_ok $size '$shot'" "$3"
}

# Codes 6xxxxx in ascending order, starting elsewhere than the slots' first code: a ranking
# page by code.
ranking_listed() {
    [ "$(filled_rows "$work/list.txt")" -ge "$1" ] || return 1
    awk -F'\t' 'NR == 1 && $1 == "600061" { exit 1 }
        $1 !~ /^6[0-9][0-9][0-9][0-9][0-9]$/ || (NR > 1 && $1 <= last) { exit 1 } { last = $1 }' \
        "$work/list.txt"
}

dialog_open() { xdotool search --onlyvisible --name '^设置$' >/dev/null 2>&1; }
# The popup menu: Lark's only window straight under the root (the window manager frames the main
# window; the tray icon sits in its tray).
menu_open() { xdotool search --onlyvisible --maxdepth 1 --class '^lark$' >/dev/null 2>&1; }

# Ranking on, sorted by code, through the first row's menu and the settings dialog.
choose_ranking_by_code() {
    local size=$1 dialog geometry w h
    xdotool mousemove $((list_x[$size] + 16)) $(($(row_top 1) + 6)) click 3
    until_within menu_open 5000 || fail "size $size: no popup menu"
    xdotool key Down Return
    dialog=$(wait_for_window "设置" 5000) || fail "size $size: the settings dialog did not open"
    # Dialog units to pixels, from the dialog's size against its 194x189 units.
    geometry=$(xdotool getwindowgeometry "$dialog" | awk '/Geometry:/ { print $2 }')
    w=${geometry%x*}
    h=${geometry#*x}
    unit() { echo $(($1 * w / 194)) $(($2 * h / 189)); }
    # The 排行榜 box {5,119,40,10}, then the sort key list {120,141,58,...} turned up to its
    # first entry, 代码, by the wheel; then 确定 {152,162,21,11}.
    # shellcheck disable=SC2046
    xdotool mousemove --window "$dialog" $(unit 9 124) click 1
    # shellcheck disable=SC2046
    xdotool mousemove --window "$dialog" $(unit 150 147) click --repeat 8 --delay 20 4
    # shellcheck disable=SC2046
    xdotool mousemove --window "$dialog" $(unit 162 167) click 1
    until_within '! dialog_open' 5000 || fail "size $size: the settings dialog did not close"
}

mkdir -p "$artefacts"
started=$(now_ms)
start_desktop
# Made here, so that the server's first line is waited for without a missing file.
: >"$work/server.out"
start_control_server "$server" "$work" --seed 7
children+=("$server_pid")
[ -n "$address" ] || fail "the quote server did not start: $(cat "$work/server.out")"
control "freeze?time=1700000000" || fail "could not freeze the server's clock"
control "pin?code=600061&previousClose=12000&last=12340" || fail "could not pin 600061"
control "pin?code=600062&previousClose=10000&last=9500" || fail "could not pin 600062"
control "pin?code=600063&previousClose=10000&last=10000" || fail "could not pin 600063"

for size in 1 2 3; do
    since=$(now_ms)
    registry=$work/registry-$size
    values=$registry/SOFTWARE/halvern/tamberly
    mkdir -p "$values"
    printf '600061\0' >"$values/0"
    printf '600062\0' >"$values/1"
    printf '600063\0' >"$values/2"
    printf '%s\0' "$size" >"$values/48"
    rm -f "$work/list.txt" "$work/counts.txt"
    launch env FONTCONFIG_FILE="$work/fonts.conf" LARK_DUMP_LIST="$work/list.txt" "$lark" \
        --quote-server "$address" --registry "$registry"
    lark_pid=$launched
    wait_for_window Tamberly >/dev/null || fail "size $size: no window appeared"
    until_within '[ "$(filled_rows "$work/list.txt")" -ge "${visible[$size]}" ]' 10000 \
        || fail "size $size: $(filled_rows "$work/list.txt") rows filled after 10 s"
    learn_signs
    rows_drawn_within "colours-size$size" "$size" 5000 || fail "size $size: rows not in their colours"
    [ "$(awk 'NR <= 3 { printf "%s ", $3 }' "$work/expected.txt")" = "up down up " ] \
        || fail "size $size: the pinned rows are not rising, falling, unchanged"
    echo "size $size, slots: $(wc -l <"$work/expected.txt") rows in their colours" \
        "($(grep -c up "$work/expected.txt") rising) after $(($(now_ms) - since)) ms"

    since=$(now_ms)
    choose_ranking_by_code "$size"
    until_within 'ranking_listed "${visible[$size]}"' 10000 || fail "size $size: no ranking page"
    learn_signs
    rows_drawn_within "colours-size$size-ranking" "$size" 5000 \
        || fail "size $size: ranking rows not in their colours"
    echo "size $size, ranking: $(wc -l <"$work/expected.txt") rows in their colours" \
        "($(grep -c up "$work/expected.txt") rising) after $(($(now_ms) - since)) ms"

    kill -TERM "$lark_pid"
    wait "$lark_pid" || fail "size $size: exit code $? after SIGTERM"
done
echo "screenshots: $artefacts/colours-size*.png"
echo "PASS in $(($(now_ms) - started)) ms"
