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

# shellcheck source=../tests/cli/pinned_server.sh
source tests/cli/pinned_server.sh
start_pinned_server "$build/src/quoteserver/lark-quote-server" "$work"
children+=("$server_pid")

start_desktop
launch "$build/src/lark" --quote-server "$address" --registry "$work/window-registry"
window=$(wait_for_window Tamberly) || { echo "no window" >&2; exit 1; }
sleep 3
import -window "$window" "$out/window.png"
kill "$launched"

store_rise_alarm "$work/registry"
launch env BROWSER=true xterm -title lark-console -geometry 68x24 -fs 11 \
    -fa 'DejaVu Sans Mono' -fd 'WenQuanYi Micro Hei Mono' -bg '#101418' -fg '#d8dee4' \
    -e "$build/src/lark" --console --quote-server "$address" --registry "$work/registry"
terminal=$(wait_for_window lark-console) || { echo "no xterm" >&2; exit 1; }
sleep 4
import -window "$terminal" "$out/terminal.png"
echo "wrote $out/window.png $out/terminal.png"
