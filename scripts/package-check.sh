#!/usr/bin/env bash
# Builds the .deb with cpack and checks it the way a clean machine would see it: unpacked into
# a fresh tree, its desktop entry valid, its files in their standard places, the program
# starting from there. With --install (CI's fresh machine) it also installs the package with apt,
# runs the installed program and removes the package again.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${BUILD_DIR:-build}"
(cd "$build_dir" && cpack -G DEB > /dev/null)
deb="$(ls -t "$build_dir"/lark_*.deb | head -1)"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
for f in usr/bin/lark usr/bin/lark-quote-server usr/share/applications/lark.desktop \
         usr/share/icons/hicolor/64x64/apps/lark.png usr/share/icons/hicolor/128x128/apps/lark.png \
         usr/share/doc/lark/guide.html; do
  [ -e "$root/$f" ] || { echo "FAIL: $f missing from $deb"; exit 1; }
done
if command -v desktop-file-validate > /dev/null; then
  desktop-file-validate "$root/usr/share/applications/lark.desktop"
fi
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || { echo "FAIL: no Qt dependency"; exit 1; }
rows="$("$root/usr/bin/lark" --console --once --registry "$root/registry" | wc -l)"
[ "$rows" -eq 16 ] || { echo "FAIL: installed lark printed $rows rows"; exit 1; }
echo "$(basename "$deb"): $(du -h "$deb" | cut -f1), installs and runs"

if [ "${1:-}" = "--install" ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$(realpath "$deb")" > /dev/null
  rows="$(/usr/bin/lark --console --once --registry "$root/installed-registry" | wc -l)"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -qq lark > /dev/null
  [ "$rows" -eq 16 ] || { echo "FAIL: lark installed by apt printed $rows rows"; exit 1; }
  echo "installed with apt-get, ran from /usr/bin, removed"
fi
