#!/usr/bin/env bash
# Installs the Debian 12 packages Lark builds, runs and tests with (only what is missing).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libpulse-dev
  libcurl4-openssl-dev  # the tests' and benchmarks' own HTTP client, not the program's
  nlohmann-json3-dev  # the live market source reads the JSON of the public services
  libicu-dev unicode-data bzip2  # pinyin of the names: ICU, and Unihan's several readings
  chromium  # the chart page is loaded in a headless browser by the tests
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-wqy-microhei
  qt6-translations-l10n  # the toolkit's own dialogs and buttons in Chinese
  xvfb xdotool curl icewm x11-utils imagemagick
  desktop-file-utils appstream lintian man-db  # the package checks: entry, metadata, .deb, manuals
  pulseaudio pulseaudio-utils sox  # the alarm tone, recorded from a private null sink
  dbus  # a private session bus for the notification tests
  clang libclang-rt-14-dev llvm-14  # libFuzzer and sanitizer runtimes; llvm-14 has the symbolizer
  clang-format  # the formatting check in CI
  stress-ng  # scripts/test-under-load.sh keeps the cores busy while the tests run
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
