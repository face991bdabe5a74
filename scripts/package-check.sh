#!/usr/bin/env bash
# Builds the .deb with cpack and checks it the way a clean machine would see it: unpacked into
# a fresh tree, its files in their standard places, its desktop entry, AppStream metadata and
# manual pages valid, lintian finding no error and no missing hardening, the program starting
# from there. With --install (CI's fresh machine) it also installs the package with apt, runs the
# installed program and removes the package again.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${BUILD_DIR:-build}"
(cd "$build_dir" && cpack -G DEB > /dev/null)
deb="$(ls -t "$build_dir"/lark_*.deb | head -1)"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
metainfo=usr/share/metainfo/example.halvern.lark.metainfo.xml
for f in usr/bin/lark usr/bin/lark-quote-server usr/share/applications/lark.desktop \
         usr/share/icons/hicolor/64x64/apps/lark.png usr/share/icons/hicolor/128x128/apps/lark.png \
         usr/share/doc/lark/guide.html usr/share/doc/lark/copyright usr/share/doc/lark/changelog.gz \
         usr/share/man/man1/lark.1.gz usr/share/man/man1/lark-quote-server.1.gz "$metainfo"; do
  [ -e "$root/$f" ] || { echo "FAIL: $f missing from $deb"; exit 1; }
done
for tool in desktop-file-validate appstreamcli lintian man; do
  command -v "$tool" > /dev/null || { echo "FAIL: $tool not found (scripts/install-deps.sh)"; exit 1; }
done

desktop-file-validate "$root/usr/share/applications/lark.desktop"
echo "desktop-file-validate lark.desktop: no message"
echo "appstreamcli validate --no-net $(basename "$metainfo"):"
appstreamcli validate --no-net "$root/$metainfo"
version="$(dpkg-deb -f "$deb" Version)"
grep -q "<release version=\"$version\"" "$root/$metainfo" \
  || { echo "FAIL: no release $version in $(basename "$metainfo")"; exit 1; }
for page in lark lark-quote-server; do
  warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$root/usr/share/man/man1/$page.1.gz" 2>&1 > /dev/null)"
  [ -z "$warnings" ] || { echo "FAIL: $page.1: $warnings"; exit 1; }
done
echo "man --warnings: lark.1 and lark-quote-server.1 render without a warning"
echo "lintian --display-info --display-experimental --pedantic $(basename "$deb")" \
  "(an error or a hardening tag fails the check):"
lintian --display-info --display-experimental --pedantic --fail-on error "$deb" | tee "$root/lintian"
if grep -q ' hardening-' "$root/lintian"; then
  echo "FAIL: the binaries lack Debian's hardening (build with LARK_HARDENING=ON, optimised)"
  exit 1
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
