#!/usr/bin/env bash
# Takes the pictures the README and the AppStream metadata show, on a private X server, against
# a frozen, pinned substitute: the window (packaging/screenshots/window.png) and the text front
# end in an xterm with an alarm ringing on 600061 (packaging/screenshots/terminal.png).
# Usage: scripts/screenshots.sh [BUILD_DIR]
# Packages: xvfb icewm xdotool x11-utils imagemagick xterm fonts-wqy-microhei
set -euo pipefail
cd "$(dirname "$0")/.."
build="$(realpath "${1:-build}")"
out="$PWD/packaging/screenshots"
# shellcheck source=../tests/desktop/desktop_session.sh
source tests/desktop/desktop_session.sh
require_tools import xterm

"$build/src/quoteserver/lark-quote-server" --listen 127.0.0.1:0 --seed 7 > "$work/server.out" &
children+=($!)
for _ in $(seq 50); do [ -s "$work/server.out" ] && break; sleep 0.1; done
address="$(head -1 "$work/server.out" | sed 's/^listening on //')"
control() { curl -sf "http://$address/control/$1" > /dev/null; }
control "freeze?time=1700000000"
control "pin?code=600061&name=%E6%B5%8B%E8%AF%95%E8%82%A1&previousClose=12000&last=12340&volume=234567&bid1Price=12330&ask1Price=12350"
control "pin?code=0002&previousClose=10000&last=9500"

start_desktop
launch "$build/src/lark" --quote-server "$address" --registry "$work/window-registry"
window=$(wait_for_window Tamberly) || { echo "no window" >&2; exit 1; }
sleep 3
import -window "$window" "$out/window.png"
kill "$launched"

# A rise alarm of 1 % on slot 8 (600061), stored as the program stores it: text and a NUL.
values="$work/registry/SOFTWARE/halvern/tamberly"
mkdir -p "$values"
printf '  1.00\0' > "$values/24"
launch env BROWSER=true xterm -title lark-console -geometry 68x24 -fs 11 \
    -fa 'DejaVu Sans Mono' -fd 'WenQuanYi Micro Hei Mono' -bg '#101418' -fg '#d8dee4' \
    -e "$build/src/lark" --console --quote-server "$address" --registry "$work/registry"
terminal=$(wait_for_window lark-console) || { echo "no xterm" >&2; exit 1; }
sleep 4
import -window "$terminal" "$out/terminal.png"
echo "wrote $out/window.png $out/terminal.png"
